#include "config/OpenSharedFile.h"

#include "common/HVException.h"
#include "platform/system/SystemError.h"
#include "platform/system/SystemReplaceFile.h"
#include "ui/translation/Translation.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QThread>
#include <QWidget>

namespace {

SystemFile::Mode SystemModeOf(int accessMode)
{
    switch (accessMode) {
    case sfmRead: return SystemFile::Mode::Read;
    case sfmUpdate: return SystemFile::Mode::OpenOrCreate;
    default: return SystemFile::Mode::CreateTruncate;
    }
}

// Repaints every visible window at once, without handling input or other events:
// the user sees a live window while the open waits, but nothing else runs meanwhile.
void RepaintWindows()
{
    if (!qobject_cast<QApplication *>(QCoreApplication::instance()))
        return;
    for (QWidget *window : QApplication::topLevelWidgets())
        if (window->isVisible())
            window->repaint();
}

QString LockMessage(const QString &fileName, int accessMode)
{
    const QString format = accessMode == sfmRead
        ? TranslateText("!!Datei %s wird von anderer Anwendung gesperrt und kann nicht gelesen werden")
        : TranslateText("!!Datei %s wird von anderer Anwendung gesperrt und kann nicht geschrieben werden");
    QString text = format;
    return text.replace(QStringLiteral("%s"), fileName);
}

} // namespace

SystemFile OpenSharedFile(const QString &fileName, int accessMode)
{
    if (!QFileInfo(QFileInfo(fileName).absolutePath()).isDir())
        throw HVException(fileName);
    QElapsedTimer started;
    started.start();
    for (;;) {
        SystemFile file;
        // Every failed attempt counts alike, whatever its reason.
        if (file.Open(fileName, SystemModeOf(accessMode)))
            return file;
        if (started.elapsed() > kSharedFileWaitMs)
            throw HVException(LockMessage(fileName, accessMode));
        QThread::msleep(kSharedFileRetryMs);
        RepaintWindows();
    }
}

QByteArray ReadSharedFile(const QString &fileName)
{
    SystemFile file = OpenSharedFile(fileName, sfmRead);
    QByteArray bytes;
    if (!file.ReadAll(bytes))
        throw HVException(TranslateText("!!Datei %s wird von anderer Anwendung gesperrt und kann nicht gelesen werden")
                              .replace(QStringLiteral("%s"), fileName));
    return bytes;
}

void ReplaceSharedFile(const QString &fileName, const std::string &content, const QString &backupPath)
{
    // Mode 1 (update): the exclusive lock on the existing document without emptying it.
    SystemFile lock = OpenSharedFile(fileName, sfmUpdate);
    QString error;
    if (!backupPath.isEmpty()) {
        QByteArray previous;
        if (!lock.ReadAll(previous))
            throw HVException(backupPath + QStringLiteral(": ") + SystemErrorMessage(LastSystemError()));
        if (!SystemReplaceFileContent(backupPath, previous.constData(), previous.size(), &error))
            throw HVException(error);
    }
    if (!SystemReplaceFileContent(fileName, content.data(), qint64(content.size()), &error))
        throw HVException(TranslateText("!!Datei %s konnte nicht gespeichert werden").replace(QStringLiteral("%s"), fileName) +
                          QStringLiteral(" (") + error + QLatin1Char(')'));
}
