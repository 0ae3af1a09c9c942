// Writes pictures of the updater's window and of each kind of dialog as PNG files, so
// that their look can be reviewed without running an update.
//   qxscreenshots [output folder]     (default: build/screenshots next to build/bin)
#include "app/TFormQXUpdater.h"
#include "common/HVException.h"
#include "ui/controls/THVButtonPanel.h"
#include "ui/controls/THVProgressBar.h"
#include "ui/controls/THVTitle.h"
#include "ui/dialogs/ModalDialogHook.h"
#include "ui/dialogs/ShowMessageDialog.h"
#include "ui/dialogs/THVCustomTaskDialog.h"
#include "ui/dialogs/THVTaskDialog.h"
#include "ui/translation/Translation.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QTextStream>
#include <functional>

namespace {

// Pictures the tool takes; fewer written files mean a failure.
constexpr int kShotCount = 12;
QString g_folder;
QStringList g_written;

void Save(QWidget &widget, const QString &name)
{
    const QString path = g_folder + QLatin1Char('/') + name + QStringLiteral(".png");
    if (widget.grab().save(path))
        g_written << path;
    else
        QTextStream(stderr) << "cannot write " << path << "\n";
}

// Shows a dialog through `show`, takes its picture under `name` and closes it.
void ShotOfDialog(const QString &name, const std::function<void()> &show)
{
    SetModalDialogHook([name](QDialog &dialog) {
        QCoreApplication::processEvents();
        Save(dialog, name);
        dialog.done(0);
    });
    show();
    SetModalDialogHook({});
}

void MainWindow()
{
    TFormQXUpdater form(QStringList{QStringLiteral("qxupdater")});
    form.StartJobOnShow = false;
    form.setWindowTitle(QStringLiteral("Katalog 7"));
    form.HVTitle->SetCaption(QStringLiteral("Katalog 7 - ") +
                             TranslateText("!!Aktualisierung der Anwendung wird durchgeführt..."));
    form.show();
    const char *lines[] = {
        "Dienst HalvrenZAV wird beendet...",
        "Warte auf das Ende von katalog.exe (PID 4711)...",
        "Sicherung nach C:/Programme/Katalog/backup/progupdate",
        "Kopiere katalog.exe",
        "Kopiere lang_de.DLL",
        "Kopiere plugins/halvren_plugin_viewer.jar",
        "Kopiere Zav.hvk wird übersprungen",
        "Konfiguration wird aktualisiert",
    };
    for (const char *line : lines)
        form.AddProgressLine(QString::fromUtf8(line), 0);
    form.SetProgressMax(100);
    form.SetProgressPosition(57);
    QCoreApplication::processEvents();
    Save(form, QStringLiteral("main-window"));

    form.AddProgressLine(QStringLiteral("Ein sehr langer Fortschrittstext, der nicht in eine Zeile der Liste passt: ") +
                             QString(200, QLatin1Char('x')),
                         1);
    form.SetProgressPosition(100);
    QCoreApplication::processEvents();
    Save(form, QStringLiteral("main-window-long-line"));

    ShotOfDialog(QStringLiteral("dialog-cancel-question"),
                 [&] { form.ButtonPanel->FindButton(btAbbrechen)->click(); });
}

void MessageDialogs()
{
    QGuiApplication::setApplicationDisplayName(QStringLiteral("Katalog 7"));
    ShotOfDialog(QStringLiteral("dialog-warning"),
                 [] { ShowWarning(QStringLiteral("Die Datei katalog.exe wird noch benutzt.")); });
    ShotOfDialog(QStringLiteral("dialog-error"), [] {
        ShowError(QStringLiteral("Fehler beim Kopieren der Datei lang_de.DLL!\r\nDie vorherige Version wird "
                                 "wiederhergestellt."));
    });
    ShotOfDialog(QStringLiteral("dialog-information"),
                 [] { ShowInformation(QStringLiteral("Die Aktualisierung wurde erfolgreich durchgeführt.")); });
    ShotOfDialog(QStringLiteral("dialog-confirmation"),
                 [] { ShowMessageDialog(QStringLiteral("Wollen Sie das Update abbrechen?"), 3, 3); });
    ShotOfDialog(QStringLiteral("dialog-custom-buttons"), [] {
        ShowMessageDialog(QStringLiteral("Die Datei <Zav.hvk> existiert bereits & ist neuer."), 4,
                          (1u << 5) | (1u << 6) | (1u << 4));
    });
    ShotOfDialog(QStringLiteral("dialog-exception"),
                 [] { ShowExceptionMessage(HVException(QStringLiteral("Zugriff verweigert: /opt/katalog/x.dll"))); });
    ShotOfDialog(QStringLiteral("dialog-long-message"), [] {
        ShowError(QString(QStringLiteral("Ein sehr langer Meldungstext ohne Zeilenumbruch. ")).repeated(12));
    });
}

void TaskDialog()
{
    ShotOfDialog(QStringLiteral("dialog-task-full"), [] {
        THVTaskDialog dialog;
        dialog.Title = QStringLiteral("Katalog 7");
        dialog.MainInstruction = QStringLiteral("Installationsprogramme ausführen?");
        dialog.Content = QStringLiteral("Mit dem Update wurden <b>zwei</b> Installationsprogramme geliefert.");
        dialog.MainIcon = tdiShield;
        dialog.CommonButtons = {tdcbOk, tdcbCancel};
        dialog.Flags = {tdfShowProgressBar, tdfExpandedByDefault, tdfAllowDialogCancellation};
        dialog.ProgressBar.Position = 40;
        dialog.VerificationText = QStringLiteral("Nicht mehr fragen");
        dialog.ExpandedInformation = QStringLiteral("viewer_setup.exe /S\nruntime_setup.exe /quiet");
        dialog.ExpandedControlText = QStringLiteral("Details ausblenden");
        dialog.CollapsedControlText = QStringLiteral("Details einblenden");
        dialog.FooterText = QStringLiteral("Die Programme laufen mit Administratorrechten.");
        dialog.FooterIcon = tdiInformation;
        THVTaskDlgRadioButton first;
        first.ButtonId = 100;
        first.Caption = QStringLiteral("Alle ausführen");
        first.IsDefault = true;
        THVTaskDlgRadioButton second;
        second.ButtonId = 101;
        second.Caption = QStringLiteral("Nur das erste ausführen");
        dialog.RadioButtons = {first, second};
        dialog.Execute();
    });
    ShotOfDialog(QStringLiteral("dialog-task-command-links"), [] {
        THVTaskDialog dialog;
        dialog.Title = QStringLiteral("Katalog 7");
        dialog.MainInstruction = QStringLiteral("Wie soll fortgefahren werden?");
        dialog.MainIcon = tdiQuestion;
        dialog.CommonButtons = {tdcbCancel};
        dialog.Flags = {tdfUseCommandLinks};
        THVTaskDlgButton retry;
        retry.ButtonId = 200;
        retry.Caption = QStringLiteral("Erneut versuchen\nDie Datei wird noch einmal kopiert.");
        THVTaskDlgButton skip;
        skip.ButtonId = 201;
        skip.Caption = QStringLiteral("Überspringen\nDie alte Version bleibt erhalten.");
        dialog.Buttons = {retry, skip};
        dialog.Execute();
    });
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationDisplayName(QStringLiteral("QUORVEX Update"));
    g_folder = argc > 1 ? QString::fromLocal8Bit(argv[1])
                        : QDir(QCoreApplication::applicationDirPath() + QStringLiteral("/../screenshots")).absolutePath();
    if (!QDir().mkpath(g_folder)) {
        QTextStream(stderr) << "cannot create " << g_folder << "\n";
        return 1;
    }
    MainWindow();
    MessageDialogs();
    TaskDialog();
    QTextStream out(stdout);
    for (const QString &path : g_written)
        out << path << "\n";
    return g_written.size() == kShotCount ? 0 : 1;
}
