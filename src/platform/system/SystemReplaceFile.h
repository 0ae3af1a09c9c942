#pragma once

#include <QString>

// Replaces a file's content so that a reader sees either the old or the new content,
// never a mix or an empty file: the bytes go to a new file created exclusively in the
// same folder, are flushed to disk, get the old file's owner and permissions (a
// document rewritten by the administrator stays writable for its user), and the new
// file is renamed over the old one; then the folder entry is flushed too.
// On any failure the temporary file is removed, the old file is untouched, false is
// returned and *error (when given) says which step failed and why.
// A missing target is created with mode 0666 minus the umask.
bool SystemReplaceFileContent(const QString &target, const char *data, qint64 size, QString *error = nullptr);
