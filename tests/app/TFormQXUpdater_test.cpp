#include "app/TFormQXUpdater.h"

#include "common/HVException.h"
#include "support/TestSupport.h"
#include "ui/controls/THVButtonPanel.h"
#include "ui/controls/THVProgressBar.h"
#include "ui/controls/THVTitle.h"
#include "ui/dialogs/DialogProbe.h"
#include "ui/translation/Translation.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QLabel>
#include <QListWidget>
#include <QTimer>
#include <gtest/gtest.h>

using testsupport::TempFolder;
using testsupport::WriteBytes;

namespace {

QStringList Lines(const TFormQXUpdater &form)
{
    QStringList lines;
    for (int i = 0; i < form.lbxMain->count(); ++i)
        lines << form.lbxMain->item(i)->text();
    return lines;
}

// Runs the event loop until the window has closed itself; bounded so a fault shows
// as a failure, not as a hanging test.
bool WaitUntilClosed(const TFormQXUpdater &form)
{
    QDeadlineTimer deadline(30000);
    while (form.isVisible() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    return !form.isVisible();
}

class FormTest : public ::testing::Test
{
protected:
    void TearDown() override
    {
        SetLanguage(QStringLiteral("DE"));
        QGuiApplication::setApplicationDisplayName(QString());
    }

    // A window whose job is the given file (two arguments, so the first one counts).
    std::unique_ptr<TFormQXUpdater> FormFor(const QString &jobFile, bool silent)
    {
        auto form = std::make_unique<TFormQXUpdater>(QStringList{"qxupdater", jobFile, "x"});
        form->State.RunningAsSystemAccount = silent;
        return form;
    }

    TempFolder temp;
    DialogProbe probe;
};

TEST_F(FormTest, LayoutFromTopToBottom)
{
    TFormQXUpdater form(QStringList{"qxupdater"});
    form.StartJobOnShow = false;
    form.show();
    QCoreApplication::processEvents();

    EXPECT_EQ(form.size(), QSize(614, 341));
    EXPECT_EQ(form.minimumSize(), form.maximumSize());
    EXPECT_EQ(form.windowTitle(), QStringLiteral("QUORVEX Update"));
    EXPECT_EQ(form.pnlHeader->geometry(), QRect(0, 0, 614, 41));
    EXPECT_EQ(form.imgHeader->geometry(), QRect(0, 0, 614, 41));
    EXPECT_EQ(form.imgHeader->pixmap().size(), QSize(614, 41));
    EXPECT_EQ(form.HVTitle->geometry(), QRect(0, 41, 614, 50));
    EXPECT_EQ(form.HVTitle->TitleStyle(), tsFlat);
    EXPECT_EQ(form.HVTitle->Glyph().size(), QSize(49, 40));
    EXPECT_EQ(form.HVTitle->Caption(), QStringLiteral("QUORVEX program update in Progress..."));
    EXPECT_EQ(form.ElPanel1->geometry(), QRect(0, 91, 614, 210));
    EXPECT_EQ(form.lbxMain->geometry(), QRect(8, 8, 598, 166));
    EXPECT_EQ(form.ElPanel2->geometry(), QRect(8, 174, 598, 8));
    EXPECT_EQ(form.ProgressBar->geometry(), QRect(8, 182, 598, 20));
    EXPECT_EQ(form.ProgressBar->Step(), 1);
    EXPECT_EQ(form.ButtonPanel->geometry(), QRect(0, 301, 614, 40));
    EXPECT_EQ(form.lbxMain->currentRow(), -1);

    THVControlButton *cancel = form.ButtonPanel->FindButton(btAbbrechen);
    ASSERT_NE(cancel, nullptr);
    EXPECT_TRUE(cancel->isVisible());
    EXPECT_EQ(cancel->text(), QStringLiteral("Abbruch"));
    EXPECT_EQ(cancel->geometry().right() + 1, form.ButtonPanel->InnerPanel()->width() - 8);
    EXPECT_FALSE(form.ButtonPanel->FindButton(btOK)->isVisible());

    EXPECT_EQ(form.tmrStart->interval(), 100);
    EXPECT_FALSE(form.tmrStart->isActive());
}

TEST_F(FormTest, ProgressLinesKeepTheNewestSelected)
{
    TFormQXUpdater form(QStringList{"qxupdater"});
    QStringList logged;
    form.RunLogSink = [&](const QString &text, int level) { logged << QStringLiteral("%1:%2").arg(level).arg(text); };
    form.State.RunningAsSystemAccount = false;
    for (int i = 1; i <= 5; ++i)
        form.AddProgressLine(QStringLiteral("Zeile %1").arg(i), 0);
    EXPECT_EQ(form.lbxMain->count(), 5);
    EXPECT_EQ(form.lbxMain->currentRow(), 4);
    EXPECT_TRUE(form.lbxMain->item(4)->isSelected());
    EXPECT_TRUE(logged.isEmpty()) << "the run log is written only in silent mode";

    form.State.RunningAsSystemAccount = true;
    form.AddProgressLine(QStringLiteral("Warnung"), 1);
    EXPECT_EQ(logged, QStringList{QStringLiteral("1:Warnung")});
}

TEST_F(FormTest, ReportsAddLinesAndAskOnlyWhenNotSilent)
{
    TFormQXUpdater form(QStringList{"qxupdater"});
    form.State.RunningAsSystemAccount = true;
    form.ReportResult(true, QStringLiteral("Fehler A"));
    form.ReportResult(false, QStringLiteral("Fertig B"));
    form.ReportException(HVException(QStringLiteral("kaputt")));
    EXPECT_TRUE(probe.Shown.isEmpty());

    form.State.RunningAsSystemAccount = false;
    probe.Then([](THVCustomTaskDialog &dialog) {
        EXPECT_EQ(dialog.MainIconLabel()->property("TaskDialogIcon").toInt(), int(tdiError));
        dialog.PushButtons().at(0)->click();
    });
    form.ReportResult(true, QStringLiteral("Fehler C"));
    probe.Then([](THVCustomTaskDialog &dialog) {
        EXPECT_EQ(dialog.MainIconLabel()->property("TaskDialogIcon").toInt(), int(tdiInformation));
        dialog.PushButtons().at(0)->click();
    });
    form.ReportResult(false, QStringLiteral("Fertig D"));
    probe.Then([](THVCustomTaskDialog &dialog) { dialog.PushButtons().at(0)->click(); });
    form.ReportException(std::runtime_error("plain"));

    EXPECT_EQ(probe.Shown, (QStringList{"Fehler C", "Fertig D", "plain"}));
    EXPECT_EQ(Lines(form), (QStringList{"Fehler A", "Fertig B", "Meldung: kaputt", "Fehler C", "Fertig D",
                                        "Meldung: plain"}));
    EXPECT_EQ(probe.Unanswered, 0);
}

TEST_F(FormTest, CancelAsksAndOnlyYesSetsTheFlag)
{
    TFormQXUpdater form(QStringList{"qxupdater"});
    form.StartJobOnShow = false;
    form.show();
    probe.Then([](THVCustomTaskDialog &dialog) {
        EXPECT_EQ(DialogProbe::PlainInstruction(dialog), QStringLiteral("Wollen Sie das Update abbrechen?"));
        PressButton(dialog, QStringLiteral("Nein"));
    });
    form.ButtonPanel->FindButton(btAbbrechen)->click();
    EXPECT_FALSE(form.State.CancelRequested);

    probe.Then([](THVCustomTaskDialog &dialog) { PressButton(dialog, QStringLiteral("Ja")); });
    form.ButtonPanel->FindButton(btAbbrechen)->click();
    EXPECT_TRUE(form.State.CancelRequested);
    EXPECT_EQ(probe.Shown.size(), 2);
}

TEST_F(FormTest, CloseUpdaterWritesClosingLinesThenCloses)
{
    TFormQXUpdater form(QStringList{"qxupdater"});
    form.StartJobOnShow = false;
    form.show();
    form.CloseUpdater();
    EXPECT_EQ(Lines(form), (QStringList{"Close", ""}));
    EXPECT_TRUE(WaitUntilClosed(form));
}

TEST_F(FormTest, ShowReadsTheJobAndSetsCaptions)
{
    const QString job = temp.File(QStringLiteral("job.ini"));
    WriteBytes(job, "[COMMON]\r\nORGEXECAPTION=Katalog 7\r\nORGEXE=/opt/host/katalog\r\nPROGID=0x10\r\n");
    auto form = FormFor(job, true);
    form->show();
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Katalog 7"));
    EXPECT_EQ(QGuiApplication::applicationDisplayName(), QStringLiteral("Katalog 7"));
    EXPECT_EQ(form->HVTitle->Caption(),
              QStringLiteral("Katalog 7 - Aktualisierung der Anwendung wird durchgeführt..."));
    EXPECT_EQ(form->State.HostProgram, QStringLiteral("/opt/host/katalog"));
    EXPECT_EQ(form->State.HostProcessId, 16);
    EXPECT_EQ(GetLanguage(), QStringLiteral("EN"));
    EXPECT_TRUE(form->tmrStart->isActive());
    form->tmrStart->stop();
}

TEST_F(FormTest, EmptyHostCaptionKeepsTheDefaultTexts)
{
    const QString job = temp.File(QStringLiteral("job.ini"));
    WriteBytes(job, "[COMMON]\r\nORGEXECAPTION=\r\nLANGUAGE=DE\r\n");
    auto form = FormFor(job, true);
    form->show();
    EXPECT_EQ(form->windowTitle(), QStringLiteral("QUORVEX Update"));
    EXPECT_EQ(form->HVTitle->Caption(), QStringLiteral("QUORVEX program update in Progress..."));
    EXPECT_EQ(GetLanguage(), QStringLiteral("DE"));
    form->tmrStart->stop();
}

TEST_F(FormTest, MissingOrInvalidJobEndsWithExitCodeOne)
{
    struct Case {
        const char *name;
        QByteArray job; // empty: no job file at all
    };
    const Case cases[] = {
        {"no job file", QByteArray()},
        {"no host program", "[COMMON]\r\nPROGID=12\r\n"},
        {"no process id", "[COMMON]\r\nORGEXE=/opt/host/prog\r\n"},
    };
    for (bool silent : {true, false}) {
        for (const Case &c : cases) {
            const QString job = temp.File(QStringLiteral("job%1.ini").arg(silent));
            QFile::remove(job);
            if (!c.job.isEmpty())
                WriteBytes(job, c.job);
            probe.Shown.clear();
            auto form = FormFor(job, silent);
            form->show();
            ASSERT_TRUE(WaitUntilClosed(*form)) << c.name;
            EXPECT_EQ(form->State.ExitCode, 1) << c.name;
            EXPECT_EQ(Lines(*form), (QStringList{"Kein Updateinformationen gefunden!", "Close", ""})) << c.name;
            EXPECT_EQ(probe.Shown, silent ? QStringList() : QStringList{"Kein Updateinformationen gefunden!"})
                << c.name;
        }
    }
}

TEST_F(FormTest, UnreadableJobFileIsReportedAndEndsTheRun)
{
    const QString folder = temp.File(QStringLiteral("job.ini"));
    QDir().mkpath(folder);
    for (bool silent : {true, false}) {
        probe.Shown.clear();
        auto form = FormFor(folder, silent);
        form->show();
        ASSERT_TRUE(WaitUntilClosed(*form));
        EXPECT_EQ(form->State.ExitCode, 1);
        const QStringList lines = Lines(*form);
        ASSERT_EQ(lines.size(), 3);
        EXPECT_TRUE(lines[0].startsWith(QStringLiteral("Meldung: "))) << lines[0].toStdString();
        EXPECT_TRUE(lines[0].contains(folder)) << lines[0].toStdString();
        EXPECT_EQ(probe.Shown.size(), silent ? 0 : 1);
        EXPECT_FALSE(form->tmrStart->isActive());
    }
}

TEST_F(FormTest, HostileTextsFromTheJobAndTheLines)
{
    QByteArray caption(10000, 'C');
    caption += "<b>&amp;\x01\x1b";
    const QString job = temp.File(QStringLiteral("job.ini"));
    WriteBytes(job, "[COMMON]\r\nORGEXECAPTION=" + caption + "\r\n");
    auto form = FormFor(job, true);
    form->show();
    EXPECT_TRUE(form->windowTitle().startsWith(QStringLiteral("CCCC")));
    QString line = QString(10000, QLatin1Char('L')) + QStringLiteral("<i>\r\n\t") + QChar(0xD800) + QChar(0);
    form->AddProgressLine(line, 2);
    form->AddProgressLine(QString(), 0);
    EXPECT_FALSE(form->grab().isNull());
    // Control characters become blanks in the list row; the rest stays as it was.
    EXPECT_EQ(form->lbxMain->item(0)->text().size(), line.size());
    EXPECT_FALSE(form->lbxMain->item(0)->text().contains(QLatin1Char('\n')));
    ASSERT_TRUE(WaitUntilClosed(*form));
    EXPECT_EQ(form->State.ExitCode, 1);
}

TEST_F(FormTest, ProgressOperationsDriveTheBar)
{
    TFormQXUpdater form(QStringList{"qxupdater"});
    form.SetProgressMax(200);
    form.SetProgressPosition(50);
    EXPECT_EQ(form.ProgressBar->Caption(), QStringLiteral("25 %"));
    form.SetProgressPosition(500);
    EXPECT_EQ(form.ProgressBar->Caption(), QStringLiteral("100 %"));
}

} // namespace
