#include "ui/dialogs/DialogProbe.h"

#include "common/HVException.h"
#include "ui/dialogs/ShowMessageDialog.h"
#include "ui/dialogs/THVCustomTaskDialog.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QScreen>
#include <QTextBrowser>
#include <gtest/gtest.h>

namespace {

void SendKey(QWidget &widget, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QKeyEvent press(QEvent::KeyPress, key, modifiers);
    QApplication::sendEvent(&widget, &press);
}

QStringList Captions(const THVCustomTaskDialog &dialog)
{
    QStringList captions;
    for (QPushButton *button : dialog.PushButtons())
        captions << button->text();
    return captions;
}

int InstructionLines(const THVCustomTaskDialog &dialog)
{
    const QTextBrowser *label = dialog.MainInstructionLabel();
    const int lineHeight = QFontMetrics(label->document()->defaultFont()).lineSpacing();
    return qRound(label->document()->size().height() / lineHeight);
}

class ShowMessageDialogTest : public ::testing::Test
{
protected:
    void SetUp() override { QGuiApplication::setApplicationDisplayName(QStringLiteral("QUORVEX Update")); }
    DialogProbe probe;
};

TEST_F(ShowMessageDialogTest, YesNoQuestionShowsJaThenNeinWithoutDefault)
{
    probe.Then([](THVCustomTaskDialog &dialog) {
        EXPECT_EQ(Captions(dialog), (QStringList{QStringLiteral("&Ja"), QStringLiteral("&Nein")}));
        for (QPushButton *button : dialog.PushButtons())
            EXPECT_FALSE(button->isDefault()) << button->text().toStdString();
        EXPECT_EQ(dialog.MainIconLabel()->property("TaskDialogIcon").toInt(), int(tdiQuestion));
        EXPECT_FALSE(dialog.MainIconLabel()->pixmap().isNull());
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("QUORVEX Update"));
        dialog.PushButtons().at(0)->click();
    });
    EXPECT_EQ(ShowMessageDialog(QStringLiteral("Wollen Sie das Update abbrechen?"), 3, 3), 6);

    probe.Then([](THVCustomTaskDialog &dialog) { dialog.PushButtons().at(1)->click(); });
    EXPECT_EQ(ShowMessageDialog(QStringLiteral("Wollen Sie das Update abbrechen?"), 3, 3), 7);

    probe.Then([](THVCustomTaskDialog &dialog) { SendKey(dialog, Qt::Key_Escape); });
    EXPECT_EQ(ShowMessageDialog(QStringLiteral("Wollen Sie das Update abbrechen?"), 3, 3), 7);
    EXPECT_EQ(probe.Unanswered, 0);
}

TEST_F(ShowMessageDialogTest, OkOnlyIsDefaultAndEscapePressesIt)
{
    probe.Then([](THVCustomTaskDialog &dialog) {
        ASSERT_EQ(Captions(dialog), QStringList{QStringLiteral("OK")});
        EXPECT_TRUE(dialog.PushButtons().at(0)->isDefault());
        SendKey(dialog, Qt::Key_Escape);
    });
    EXPECT_EQ(ShowMessageDialog(QStringLiteral("Fertig."), 2, 4), 1);
}

TEST_F(ShowMessageDialogTest, EveryButtonBitInOrderWithItsResult)
{
    const QStringList expected{"&Ja",          "&Nein",         "OK",    "Abbrechen",  "&Abbruch",
                               "&Wiederholen", "&Ignorieren",   "&Alle", "&Alle Nein", "A&lle Ja"};
    const int results[] = {6, 7, 1, 2, 3, 4, 5, 8, 9, 10};
    for (int bit = 0; bit < 10; ++bit) {
        probe.Then([&, bit](THVCustomTaskDialog &dialog) {
            // Bit 10 (Hilfe) is never shown.
            EXPECT_EQ(Captions(dialog), expected);
            dialog.PushButtons().at(bit)->click();
        });
        EXPECT_EQ(ShowMessageDialog(QStringLiteral("?"), 4, 0x07FF), results[bit]) << "bit " << bit;
    }
}

TEST_F(ShowMessageDialogTest, NoShownButtonStillGivesAnOkButton)
{
    for (uint16_t buttons : {uint16_t(0), uint16_t(1u << 10)}) {
        probe.Then([](THVCustomTaskDialog &dialog) {
            EXPECT_EQ(Captions(dialog), QStringList{QStringLiteral("OK")});
            SendKey(dialog, Qt::Key_Escape);
        });
        EXPECT_EQ(ShowMessageDialog(QStringLiteral("x"), 2, buttons), 1);
    }
}

TEST_F(ShowMessageDialogTest, CtrlCAndCtrlInsertCopyTitleQuestionAndButtons)
{
    const QString expected = QStringLiteral("[Window Title]\r\nQUORVEX Update\r\n\r\n[Content]\r\n"
                                            "Wollen Sie das Update abbrechen?\r\n\r\n[Ja] [Nein] ");
    for (auto modifiersAndKey : {std::pair{Qt::ControlModifier, int(Qt::Key_C)},
                                 std::pair{Qt::ControlModifier, int(Qt::Key_Insert)}}) {
        QGuiApplication::clipboard()->setText(QStringLiteral("old"));
        probe.Then([&](THVCustomTaskDialog &dialog) {
            SendKey(dialog, modifiersAndKey.second, modifiersAndKey.first);
            dialog.PushButtons().at(1)->click();
        });
        ShowMessageDialog(QStringLiteral("Wollen Sie das Update abbrechen?"), 3, 3);
        EXPECT_EQ(QGuiApplication::clipboard()->text(), expected);
    }
}

TEST_F(ShowMessageDialogTest, TextIsShownLiterallyWithItsLineBreaks)
{
    struct Case {
        const char *name;
        QString text;
        QString shown;
    };
    const Case cases[] = {
        {"markup tag", QStringLiteral("<b>fett</b> <a href=\"x\">Link</a>"),
         QStringLiteral("<b>fett</b> <a href=\"x\">Link</a>")},
        {"ampersand and entity", QStringLiteral("A & B &amp; C"), QStringLiteral("A & B &amp; C")},
        {"umlauts", QStringLiteral("Größe ändern"), QStringLiteral("Größe ändern")},
        {"CR LF in the middle", QStringLiteral("Zeile 1\r\nZeile 2"), QStringLiteral("Zeile 1\nZeile 2")},
        {"final CR LF adds no line", QStringLiteral("Zeile 1\r\n"), QStringLiteral("Zeile 1")},
        {"lone LF and CR dropped", QStringLiteral("a\nb\rc"), QStringLiteral("abc")},
        {"several blanks kept", QStringLiteral("a   b"), QStringLiteral("a   b")},
    };
    for (const Case &c : cases) {
        probe.Then([&](THVCustomTaskDialog &dialog) {
            EXPECT_EQ(DialogProbe::PlainInstruction(dialog), c.shown) << c.name;
            dialog.PushButtons().at(0)->click();
        });
        ShowMessageDialog(c.text, 2, 4);
    }
}

TEST_F(ShowMessageDialogTest, LongLineWidensTheWindowUpToTheScreenLessHundred)
{
    const int screenWidth = QGuiApplication::primaryScreen()->availableGeometry().width();
    int mediumWidth = 0;
    probe.Then([&](THVCustomTaskDialog &dialog) {
        mediumWidth = dialog.width();
        EXPECT_EQ(InstructionLines(dialog), 1);
        dialog.PushButtons().at(0)->click();
    });
    ShowMessageDialog(QStringLiteral("Die Datei konnte nicht kopiert werden, sie wird noch benutzt."), 1, 4);
    EXPECT_GT(mediumWidth, 444);
    EXPECT_LE(mediumWidth, screenWidth - 100);

    probe.Then([&](THVCustomTaskDialog &dialog) {
        EXPECT_EQ(dialog.width(), screenWidth - 100);
        // Too long for one line even then: it wraps instead of being cut off.
        EXPECT_GT(InstructionLines(dialog), 1);
        dialog.PushButtons().at(0)->click();
    });
    ShowMessageDialog(QString(QStringLiteral("Wort ")).repeated(80), 1, 4);

    probe.Then([&](THVCustomTaskDialog &dialog) {
        EXPECT_EQ(dialog.width(), 444);
        dialog.PushButtons().at(0)->click();
    });
    ShowMessageDialog(QStringLiteral("Kurz."), 1, 4);
}

TEST_F(ShowMessageDialogTest, HostileTextsStayInsideTheScreenAndCanBeAnswered)
{
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    QString controls;
    for (ushort code = 0; code < 32; ++code)
        controls += QChar(code);
    const QString texts[] = {
        QString(10000, QLatin1Char('x')),
        QString(QStringLiteral("<table><tr><td>")).repeated(2000),
        QString(QStringLiteral("Zeile\r\n")).repeated(2000),
        controls.repeated(300),
        QString(QChar(0xD800)) + QStringLiteral("mitte") + QChar(0xDC00) + QString(5000, QChar(0xDBFF)),
    };
    for (const QString &text : texts) {
        probe.Then([&](THVCustomTaskDialog &dialog) {
            EXPECT_LE(dialog.width(), screen.width());
            EXPECT_LE(dialog.height(), screen.height());
            SendKey(dialog, Qt::Key_Escape);
        });
        EXPECT_EQ(ShowMessageDialog(text, 1, 4), 1);
    }
    EXPECT_EQ(probe.Unanswered, 0);
}

TEST_F(ShowMessageDialogTest, ShortcutsShowTheirKindWithOneOkButton)
{
    struct Case {
        const char *name;
        std::function<void()> show;
        TLMDTaskDlgIcon icon;
        QString text;
    };
    const Case cases[] = {
        {"information", [] { ShowInformation(QStringLiteral("info")); }, tdiInformation, QStringLiteral("info")},
        {"warning", [] { EXPECT_EQ(ShowWarning(QStringLiteral("warn")), 1); }, tdiWarning, QStringLiteral("warn")},
        {"error", [] { ShowError(QStringLiteral("err")); }, tdiError, QStringLiteral("err")},
        {"error from 8-bit", [] { ShowError("Größe"); }, tdiError, QStringLiteral("Größe")},
        {"exception", [] { ShowExceptionMessage(HVException(QStringLiteral("Zugriff verweigert"))); }, tdiError,
         QStringLiteral("Zugriff verweigert")},
    };
    for (const Case &c : cases) {
        probe.Then([&](THVCustomTaskDialog &dialog) {
            EXPECT_EQ(dialog.MainIconLabel()->property("TaskDialogIcon").toInt(), int(c.icon)) << c.name;
            EXPECT_EQ(Captions(dialog), QStringList{QStringLiteral("OK")}) << c.name;
            EXPECT_EQ(DialogProbe::PlainInstruction(dialog), c.text) << c.name;
            dialog.PushButtons().at(0)->click();
        });
        c.show();
    }
    EXPECT_EQ(probe.Unanswered, 0);
}

TEST(MessageDialogTitle, CutsATrailingExistingFileName)
{
    const QString program = QCoreApplication::applicationFilePath();
    QGuiApplication::setApplicationDisplayName(QStringLiteral("Katalog - ") + program);
    EXPECT_EQ(MessageDialogTitle(), QStringLiteral("Katalog"));
    QGuiApplication::setApplicationDisplayName(QStringLiteral("Katalog - /no/such/file"));
    EXPECT_EQ(MessageDialogTitle(), QStringLiteral("Katalog - /no/such/file"));
}

TEST(EscapeMessageText, ProducesCharacterReferencesAndBreaks)
{
    EXPECT_EQ(EscapeMessageText(QStringLiteral("a b")), QStringLiteral("a&#160;b"));
    EXPECT_EQ(EscapeMessageText(QStringLiteral("<\"&>")), QStringLiteral("&#60;&#34;&#38;&#62;"));
    EXPECT_EQ(EscapeMessageText(QStringLiteral("ä\r\nb\r\n")), QStringLiteral("&#228;<br>b"));
    EXPECT_EQ(EscapeMessageText(QString::fromUtf8("\xF0\x9F\x98\x80")), QStringLiteral("&#128512;"));
    EXPECT_EQ(EscapeMessageText(QString(QChar(0xDC00))), QStringLiteral("&#65533;"));
}

} // namespace
