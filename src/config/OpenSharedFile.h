#pragma once

#include <QByteArray>
#include <QString>
#include <string>

// Opening configuration documents while other programs may hold them. Read access
// lets others read but not write; update and rewrite want the file for themselves.
// A locked file is retried every 100 ms, with the application's windows repainted in
// between, for up to 20 seconds; then the open fails with a message naming the file.
enum TSharedFileMode { sfmRead = 0, sfmUpdate = 1, sfmRewrite = 2 };

#include "platform/system/SystemFile.h"

constexpr int kSharedFileWaitMs = 20000;
constexpr int kSharedFileRetryMs = 100;

// The open file carries the lock; closing it (or its destruction) releases both.
// Raises the file name as error text when the folder is missing, the translated
// "gelesen"/"geschrieben" message after the wait.
SystemFile OpenSharedFile(const QString &fileName, int accessMode);

// The whole content of a file, read under read access.
QByteArray ReadSharedFile(const QString &fileName);

// Replaces the file's content without ever leaving it damaged: the exclusive lock on
// the existing file is taken first (waiting as above), the new bytes go to a temporary
// file in the same folder, are flushed to disk and renamed over the file while the lock
// is held (also the owner and permissions carry over). When backupPath is given, the previous content is first copied there
// (replacing an earlier copy). Any failure raises and leaves the previous file as it was.
void ReplaceSharedFile(const QString &fileName, const std::string &content, const QString &backupPath = QString());
