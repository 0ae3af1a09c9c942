// The updater: reads its job, shows its window and runs the update from the window's
// start timer. The exit code is 0 only after a complete, successful update.
#include "app/TFormQXUpdater.h"

#include <QApplication>

int main(int argc, char **argv)
{
    // Without a display (silent runs as a service, CI) the window lives off screen.
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("qxupdater"));
    QApplication::setApplicationDisplayName(QStringLiteral("QUORVEX Update"));

    TFormQXUpdater form(QCoreApplication::arguments());
    form.show();
    app.exec();
    return form.State.ExitCode;
}
