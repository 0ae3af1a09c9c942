#include "config/OpenSharedFile.h"

#include "common/HVException.h"
#include "ui/translation/Translation.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QSaveFile>
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
    if (!backupPath.isEmpty()) {
        QByteArray previous;
        if (!lock.ReadAll(previous))
            throw HVException(backupPath);
        QSaveFile backup(backupPath);
        if (!backup.open(QIODevice::WriteOnly) || backup.write(previous) != previous.size() || !backup.commit())
            throw HVException(backupPath + QStringLiteral(": ") + backup.errorString());
    }
    // QSaveFile writes a temporary file in the same folder, flushes it to disk and
    // renames it over the document on commit; on any failure the document stays.
    QSaveFile target(fileName);
    target.setDirectWriteFallback(false);
    if (!target.open(QIODevice::WriteOnly))
        throw HVException(TranslateText("!!Datei %s wird von anderer Anwendung gesperrt und kann nicht geschrieben werden")
                              .replace(QStringLiteral("%s"), fileName) + QStringLiteral(" (") + target.errorString() + QLatin1Char(')'));
    if (target.write(content.data(), qint64(content.size())) != qint64(content.size()) || !target.commit())
        throw HVException(fileName + QStringLiteral(": ") + target.errorString());
}
