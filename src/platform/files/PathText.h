#pragma once

#include <QString>

// Path text: pure text operations, no file-system access (except GetOwnFolder).
//
// Paths use "/" as separator; a "\" in a path (written on Windows) counts as a
// separator too. A colon counts as a delimiter only as a drive colon, the second
// character after a letter ("C:"), since a colon is an ordinary character of Linux
// file names. Separators that these functions add are "/".

// Folder of the running program's file, without trailing separator.
QString GetOwnFolder();

// path without any trailing "/" and "\" (all of them).
QString ExcludeTrailingSeparators(const QString &path);

// path up to and including its last character that is one of delimiters or a drive
// colon; empty when there is none. "/" and "\" in delimiters each stand for both.
QString ExtractFilePathUpTo(const QString &path, const QString &delimiters);

// path up to and including its last separator or drive colon.
QString ExtractFilePath(const QString &path);

// Like ExtractFilePath without the trailing separator, unless the character before it
// is a separator or drive colon ("/a.exe" gives "/", "C:\a.exe" gives "C:\").
QString ExtractFileDir(const QString &path);

// Text after the last separator or drive colon.
QString ExtractFileName(const QString &path);

// Text from the last dot, when that dot comes after the last separator; else empty.
QString ExtractFileExt(const QString &path);

// ExtractFileExt without its dot; defaultExt when there is no extension.
QString GetFileExtWithoutDot(const QString &path, const QString &defaultExt = QString());

// path (or only its file name when nameOnly) without the extension.
QString RemoveFileExtension(const QString &path, bool nameOnly = false);

// RemoveFileExtension(path, false) followed by ext (ext brings its own dot).
QString ReplaceExtension(const QString &path, const QString &ext);

// path with a "/" added when it is not empty and does not already end with a separator.
QString AppendBackslash(const QString &path);

// True for "/...", "\..." and the foreign forms "X:..." and "\\...".
bool IsAbsolutePath(const QString &path);

// Contains * or ?.
bool HasWildcards(const QString &text);

// Every line feed, carriage return and " * / : < > ? [ \ ] | replaced by "_".
QString SanitizeFileName(const QString &text);
