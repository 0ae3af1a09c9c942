#pragma once

// Private helpers of the Linux backend of the OS layer; included only by *_linux.cpp.

#include <QByteArray>
#include <QString>

namespace systemnative {

// The path as the kernel takes it: "\" read as "/", encoded like Qt encodes file
// names. Returns false (and leaves native empty) for an empty path or one holding a
// NUL character, which the kernel would silently cut short.
bool EncodePath(const QString &path, QByteArray &native);

QString DecodeName(const char *name);

// The Windows-style code for a native error met on path (ENOENT tells a missing file
// from a missing folder by looking at the path's folder).
int ErrorCodeFor(int nativeError, const QByteArray &nativePath);

} // namespace systemnative
