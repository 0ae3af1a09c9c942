#include "platform/files/FileListing.h"

#include "platform/files/FileChanges.h"
#include "platform/files/FileQueries.h"
#include "platform/files/PathText.h"
#include "platform/system/SystemFileSystem.h"

#include <QCoreApplication>
#include <QThread>

#include <algorithm>
#include <utility>
#include <vector>

namespace {

void ProcessPendingMessages()
{
    if (QCoreApplication::instance() && QThread::currentThread() == QCoreApplication::instance()->thread())
        QCoreApplication::processEvents();
}

bool IsHidden(const QString &name)
{
    return name.startsWith(QLatin1Char('.'));
}

// Wildcard match as the Windows file search does it: "*" any run, "?" one character,
// letter case ignored.
bool MatchesPattern(QStringView pattern, QStringView name)
{
    qsizetype p = 0;
    qsizetype n = 0;
    qsizetype starP = -1;
    qsizetype starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() && (pattern[p] == QLatin1Char('?') || pattern[p].toCaseFolded() == name[n].toCaseFolded())) {
            ++p;
            ++n;
        } else if (p < pattern.size() && pattern[p] == QLatin1Char('*')) {
            starP = p++;
            starN = n;
        } else if (starP >= 0) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == QLatin1Char('*'))
        ++p;
    return p == pattern.size();
}

bool MatchesMask(const QString &pattern, const QString &name)
{
    if (MatchesPattern(pattern, name))
        return true;
    // A pattern ending in ".*" also matches names without any dot ("*.*" matches all).
    return pattern.endsWith(QLatin1String(".*")) && !name.contains(QLatin1Char('.'))
        && MatchesPattern(QStringView(pattern).chopped(2), name);
}

struct Walk
{
    QStringList &list;
    QString folderPart; // of the mask, without trailing separators
    QString pattern;
    bool processMessages;
    bool recursive;

    void Run(const QString &base)
    {
        const QString stem = ExcludeTrailingSeparators(base);
        const QString searchFolder = folderPart.isEmpty() ? base : stem + QLatin1Char('/') + folderPart;
        const QString prefix = folderPart.isEmpty() ? stem + QLatin1Char('/')
                                                    : stem + QLatin1Char('/') + folderPart + QLatin1Char('/');
        QList<SystemFolderEntry> entries;
        if (SystemListFolder(searchFolder, entries)) {
            for (const SystemFolderEntry &entry : entries) {
                if (entry.kind == SystemEntryKind::File && MatchesMask(pattern, entry.name))
                    list.append(prefix + entry.name);
                if (processMessages)
                    ProcessPendingMessages();
            }
        }
        if (!recursive)
            return;
        if (!folderPart.isEmpty() && !SystemListFolder(base, entries))
            return;
        for (const SystemFolderEntry &entry : std::as_const(entries)) {
            if (entry.kind == SystemEntryKind::Folder && !entry.isLink && !IsHidden(entry.name))
                Run(stem + QLatin1Char('/') + entry.name + QLatin1Char('/'));
            if (processMessages)
                ProcessPendingMessages();
        }
    }
};

} // namespace

void ListFiles(QStringList &list, const QString &folder, const QString &mask, bool processMessages, bool recursive,
               bool fullPaths)
{
    const QString start = folder.isEmpty() ? GetCurrentFolder() : folder;
    if (start.isEmpty())
        return;
    // One separator exactly, so that cutting the base off leaves clean relative paths.
    const QString base = ExcludeTrailingSeparators(start) + QLatin1Char('/');
    if (!FolderExists(base))
        return;
    const QString effectiveMask = mask.isEmpty() ? QStringLiteral("*.*") : mask;
    Walk walk{list, ExcludeTrailingSeparators(ExtractFilePath(effectiveMask)), ExtractFileName(effectiveMask),
              processMessages, recursive};
    const qsizetype first = list.size();
    walk.Run(base);
    if (!fullPaths) {
        for (qsizetype i = first; i < list.size(); ++i)
            list[i] = list[i].mid(base.size());
    }
}

void ListFilesByKind(QStringList &list, const QString &folder, const QString &mask, int kind)
{
    switch (kind) {
    case 0:
        ListFiles(list, folder, mask, false, true, true);
        break;
    case 1:
        ListFiles(list, folder, mask, false, true, false);
        break;
    case 2:
        ListFiles(list, folder, mask, false, false, false);
        break;
    case 3:
        ListFiles(list, folder, mask, false, false, true);
        break;
    default:
        break;
    }
}

void ClearAndListFiles(QStringList &list, const QString &folder, const QString &mask)
{
    list.clear();
    ListFilesByKind(list, folder, mask, 3);
}

void SortFilesByDate(QStringList &list, bool newestFirst)
{
    std::vector<std::pair<QString, QString>> keyed; // upper-case key and path
    keyed.reserve(size_t(list.size()));
    for (const QString &path : std::as_const(list)) {
        QDateTime time;
        const QString key = GetFileDateTime(path, time) ? time.toString(QStringLiteral("yyyy-MM-dd hh:mm:ss")) : QString();
        keyed.emplace_back(key, path);
    }
    std::stable_sort(keyed.begin(), keyed.end(), [](const auto &a, const auto &b) {
        const int byKey = a.first.toUpper().compare(b.first.toUpper());
        if (byKey != 0)
            return byKey < 0;
        return a.second.toUpper().compare(b.second.toUpper()) < 0;
    });
    list.clear();
    for (const auto &item : keyed)
        list.append(item.second);
    if (newestFirst)
        std::reverse(list.begin(), list.end());
}

bool DeleteFolderContents(const QString &folder, const QString &mask, bool removeFolders, bool recursive)
{
    // An empty text would mean the current folder: never delete there by accident.
    if (folder.isEmpty())
        return false;
    QStringList files;
    ListFiles(files, folder, mask, true, recursive, true);
    for (const QString &file : std::as_const(files)) {
        DeleteFile(file);
        if (removeFolders)
            RemoveFolder(ExtractFileDir(file));
    }
    if (removeFolders)
        RemoveFolder(folder);
    return true;
}

bool DeleteFolderTree(const QString &folder, bool removeFolder, bool keepFiles, QStringList *errors)
{
    if (folder.isEmpty())
        return false;
    auto noteError = [errors] {
        const QString text = GetLastErrorText();
        if (errors && !text.isEmpty())
            errors->append(text);
    };
    const QString stem = ExcludeTrailingSeparators(folder);
    QList<SystemFolderEntry> entries;
    SystemListFolder(folder, entries);
    for (const SystemFolderEntry &entry : std::as_const(entries)) {
        if (IsHidden(entry.name))
            continue;
        const QString path = stem + QLatin1Char('/') + entry.name;
        if (entry.kind == SystemEntryKind::Folder && !entry.isLink) {
            DeleteFolderTree(path, true, keepFiles, errors);
        } else if (!keepFiles) {
            if (!DeleteFile(path))
                noteError();
            ProcessPendingMessages();
        }
        ProcessPendingMessages();
    }
    if (!removeFolder)
        return false;
    RemoveFolder(folder);
    if (FolderExists(folder)) {
        noteError();
        return true;
    }
    return false;
}
