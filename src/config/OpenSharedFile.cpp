#include "config/OpenSharedFile.h"

#include "common/HVException.h"
#include "platform/system/SystemError.h"
#include "platform/system/SystemFileOwner.h"
#include "platform/system/SystemFileSystem.h"
#include "ui/translation/Translation.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QRandomGenerator>
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
    // One read of the known size (documents can be large), then whatever follows it.
    QByteArray bytes(qMax<qint64>(file.Size(), 0), Qt::Uninitialized);
    const qint64 n = bytes.isEmpty() ? 0 : file.Read(bytes.data(), bytes.size());
    QByteArray rest;
    if (n < 0 || (n == bytes.size() && !file.ReadAll(rest)))
        throw HVException(TranslateText("!!Datei %s wird von anderer Anwendung gesperrt und kann nicht gelesen werden")
                              .replace(QStringLiteral("%s"), fileName));
    bytes.truncate(n);
    bytes += rest;
    return bytes;
}

namespace {

// The save step proper: a new file created exclusively beside target, written, given
// target's owner and permissions, flushed to disk and renamed over target; then the
// folder entry is flushed. On any failure the new file is removed, target is untouched
// and the error text says which step failed.
bool ReplaceFileContent(const QString &target, const char *data, qint64 size, QString &error)
{
    const QFileInfo info(target);
    const QString folder = info.absolutePath();
    SystemFile temp;
    QString tempPath;
    int code = 0;
    for (int attempt = 0; attempt < 100 && !temp.IsOpen(); ++attempt) {
        tempPath = folder + QStringLiteral("/.") + info.fileName() +
                   QStringLiteral(".%1.tmp").arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0'));
        if (!temp.Open(tempPath, SystemFile::Mode::CreateNew, &code, SystemFile::Locking::None) && code != SystemErrorCode::FileExists)
            break;
    }
    auto fail = [&](const QString &step) {
        error = step + QStringLiteral(": ") + SystemErrorMessage(LastSystemError());
        if (temp.IsOpen()) {
            temp.Close();
            SystemDeleteFile(tempPath);
        }
        return false;
    };
    if (!temp.IsOpen())
        return fail(QStringLiteral("create ") + tempPath);
    if (!temp.Write(data, size))
        return fail(QStringLiteral("write ") + tempPath);
    if (!SystemCopyOwnerAndMode(target, temp.Handle()))
        return fail(QStringLiteral("owner and permissions of ") + tempPath);
    if (!temp.Sync())
        return fail(QStringLiteral("fsync ") + tempPath);
    temp.Close();
    if (!SystemReplaceFile(tempPath, target)) {
        error = QStringLiteral("rename to ") + target + QStringLiteral(": ") + SystemErrorMessage(LastSystemError());
        SystemDeleteFile(tempPath);
        return false;
    }
    SystemSyncFolder(folder);
    return true;
}

// Makes the document's current file the backup without copying it: a second name for
// the same file, moved over the backup in one step. The document itself is then
// replaced by a new file, so the backup keeps the previous contents. False where the
// file system has no hard links or the document is a link; the caller copies then.
bool LinkAsBackup(const QString &fileName, const QString &backupPath)
{
    const QFileInfo info(backupPath);
    const QString folder = info.absolutePath();
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QString tempPath = folder + QStringLiteral("/.") + info.fileName() +
                                 QStringLiteral(".%1.tmp").arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0'));
        int code = 0;
        if (!SystemLinkFile(fileName, tempPath, &code)) {
            if (code == SystemErrorCode::FileExists)
                continue;
            return false;
        }
        if (SystemReplaceFile(tempPath, backupPath))
            return true;
        SystemDeleteFile(tempPath);
        return false;
    }
    return false;
}

} // namespace

void ReplaceSharedFile(const QString &fileName, const std::string &content, const QString &backupPath)
{
    // Mode 1 (update): the exclusive lock on the existing document without emptying it.
    SystemFile lock = OpenSharedFile(fileName, sfmUpdate);
    QString error;
    if (!backupPath.isEmpty() && !LinkAsBackup(fileName, backupPath)) {
        QByteArray previous;
        if (!lock.ReadAll(previous))
            throw HVException(backupPath + QStringLiteral(": ") + SystemErrorMessage(LastSystemError()));
        if (!ReplaceFileContent(backupPath, previous.constData(), previous.size(), error))
            throw HVException(error);
    }
    if (!ReplaceFileContent(fileName, content.data(), qint64(content.size()), error))
        throw HVException(TranslateText("!!Datei %s konnte nicht gespeichert werden").replace(QStringLiteral("%s"), fileName) +
                          QStringLiteral(" (") + error + QLatin1Char(')'));
}
