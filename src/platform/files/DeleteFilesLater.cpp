#include "platform/files/DeleteFilesLater.h"

#include "common/HVException.h"
#include "platform/files/FileChanges.h"
#include "platform/files/PathText.h"
#include "platform/files/TempNames.h"
#include "platform/system/SystemFile.h"
#include "platform/system/SystemProcess.h"

#include <QFile>

namespace {

// 2000 rounds of 0.3 s: the script waits about ten minutes for files still in use,
// then leaves them. The pause keeps it from spinning on a file that stays busy.
constexpr int kMaxRounds = 2000;
constexpr const char *kPauseSeconds = "0.3";

QString Absolute(const QString &path)
{
    QString slashed = path;
    slashed.replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (slashed.startsWith(QLatin1Char('/')))
        return slashed;
    return ExcludeTrailingSeparators(GetCurrentFolder()) + QLatin1Char('/') + slashed;
}

// A shell literal that stands for exactly these bytes: inside single quotes nothing is
// special but the single quote itself, which is closed, escaped and reopened.
QByteArray Quoted(const QString &path)
{
    QByteArray bytes = QFile::encodeName(path);
    bytes.replace("'", "'\\''");
    return "'" + bytes + "'";
}

} // namespace

QByteArray DeleteFilesLaterScript(const QString &folder, const QStringList &files, const QString &scriptPath)
{
    QByteArray script;
    script += "#!/bin/sh\n"
              "# Deletes files that were in use when the updater ended, each as soon as it can go.\n"
              "gone() { [ ! -e \"$1\" ] && [ ! -L \"$1\" ]; }\n"
              "try_delete() { rm -f -- \"$1\" 2>/dev/null; gone \"$1\"; }\n"
              "round=0\n"
              "while :; do\n"
              "  pending=0\n";
    int index = 0;
    for (const QString &file : files) {
        if (file.isEmpty() || file.contains(QChar(0)))
            continue;
        // Each file is deleted once: a file created later under the same name stays.
        const QByteArray done = "done" + QByteArray::number(index++);
        script += "  [ -n \"${" + done + ":-}\" ] || { if try_delete " + Quoted(Absolute(file)) + "; then " + done
            + "=1; else pending=1; fi; }\n";
    }
    script += "  [ \"$pending\" -eq 0 ] && break\n"
              "  round=$((round + 1))\n"
              "  [ \"$round\" -ge " + QByteArray::number(kMaxRounds) + " ] && break\n"
              "  sleep " + QByteArray(kPauseSeconds) + "\n"
              "done\n";
    script += "rmdir -- " + Quoted(Absolute(folder)) + " 2>/dev/null\n";
    script += "rm -f -- " + Quoted(scriptPath) + "\n";
    return script;
}

bool DeleteFilesLater(const QString &folder, const QStringList &files)
{
    if (folder.isEmpty() || folder.contains(QChar(0)))
        return false;
    QString tempFolder;
    try {
        tempFolder = GetTempFolder();
    } catch (const HVException &) {
        return false;
    }
    SystemFile file;
    const QString scriptPath = CreateUniqueFile(tempFolder, QStringLiteral("sh"), file);
    if (scriptPath.isEmpty())
        return false;
    const bool written = file.Write(DeleteFilesLaterScript(folder, files, scriptPath));
    file.Close();
    if (!written || !StartDetachedProgram(QStringLiteral("/bin/sh"), {scriptPath}, tempFolder)) {
        DeleteFile(scriptPath);
        return false;
    }
    return true;
}
