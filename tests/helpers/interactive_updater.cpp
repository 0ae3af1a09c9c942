// The updater's window in interactive mode with a user stand-in, for end-to-end tests:
// the same start as the program, but every dialog is written to the file named by
// QX_DIALOG_LOG (one line each) and answered at once: "Ja" for the cancel question, the
// only button otherwise. With QX_PRESS_CANCEL=1 the user presses Cancel as the window
// appears. The window is interactive even for root, so tests under root see the dialogs.
#include "app/TFormQXUpdater.h"
#include "ui/dialogs/ModalDialogHook.h"
#include "ui/dialogs/THVCustomTaskDialog.h"

#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QPushButton>
#include <QTextBrowser>
#include <QTimer>

namespace {

void RecordAndAnswer(QDialog &dialog)
{
    auto *task = qobject_cast<THVCustomTaskDialog *>(&dialog);
    const QString text = task ? task->MainInstructionLabel()->document()->toPlainText()
                              : QStringLiteral("<dialog %1>").arg(QLatin1String(dialog.metaObject()->className()));
    QFile log(qEnvironmentVariable("QX_DIALOG_LOG"));
    if (log.open(QIODevice::Append))
        log.write(text.simplified().toUtf8() + '\n');
    if (task) {
        for (QPushButton *button : task->PushButtons()) {
            if (button->text().remove(QLatin1Char('&')) == QStringLiteral("Ja")) {
                button->click();
                return;
            }
        }
        const QList<QPushButton *> buttons = task->PushButtons();
        if (buttons.size() == 1) {
            buttons.first()->click();
            return;
        }
    }
    dialog.done(0);
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    SetModalDialogHook(RecordAndAnswer);

    TFormQXUpdater form(QCoreApplication::arguments());
    form.State.RunningAsSystemAccount = false;
    form.show();
    if (qEnvironmentVariable("QX_PRESS_CANCEL") == QStringLiteral("1"))
        form.ButtonPanelClickAbbrechen(nullptr);
    app.exec();
    return form.State.ExitCode;
}
