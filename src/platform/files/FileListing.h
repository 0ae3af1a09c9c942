#pragma once

#include <QString>
#include <QStringList>

// Listing and deleting the files of folders.
//
// Hidden entries are those whose names start with ".". Symbolic links are never
// followed into folders: a link to a file is listed as a file; a link to a folder is
// neither listed nor entered, and deleting removes the link, never what it points to.

// Appends to list (without clearing it) the files of folder (the current folder when
// empty) whose names match mask ("*" and "?" wildcards, letter case ignored, "*.*" when
// empty; a mask may lead with a folder part, "sub/*.dll"), hidden files included. With
// recursive, then the files of each subfolder, hidden subfolders left out, so a
// folder's own files come before those of its subfolders. Entries are full paths, or
// paths relative to folder when fullPaths is false. With processMessages, pending
// window messages are processed after each entry. A folder that does not exist lists
// nothing.
void ListFiles(QStringList &list, const QString &folder, const QString &mask, bool processMessages,
               bool recursive, bool fullPaths);

// kind 0: recursive, full paths; 1: recursive, relative; 2: this folder only, relative;
// 3: this folder only, full paths; any other kind lists nothing.
void ListFilesByKind(QStringList &list, const QString &folder, const QString &mask, int kind);
// Clears list, then ListFilesByKind(list, folder, mask, 3).
void ClearAndListFiles(QStringList &list, const QString &folder, const QString &mask);

// Sorts the paths of list by last-write time (files that cannot be read first), then by
// path, letter case ignored; oldest first, or newest first.
void SortFilesByDate(QStringList &list, bool newestFirst);

// Deletes the files ListFiles finds (failures ignored). With removeFolders, each
// deleted file's folder and then folder itself are removed when they have become
// empty. An empty folder text deletes nothing and gives false; otherwise true.
bool DeleteFolderContents(const QString &folder, const QString &mask, bool removeFolders, bool recursive);

// Deletes the tree below folder, leaving hidden entries (and so the folders holding
// them) alone; with keepFiles only empty folders go. With removeFolder, folder itself
// is removed too. Each failure adds GetLastErrorText() to errors (when given). The
// result is true when folder was to be removed and still exists; otherwise false.
bool DeleteFolderTree(const QString &folder, bool removeFolder, bool keepFiles, QStringList *errors = nullptr);
