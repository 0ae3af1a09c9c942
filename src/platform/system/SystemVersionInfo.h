#pragma once

#include <QByteArray>
#include <QString>

// Reads the contents of the named section of an ELF file as data (nothing of the file
// runs). Empty when the file is no ELF file, has no such section, or the section holds
// no data. Sections larger than maxSize bytes are not read.
QByteArray ReadElfSection(const QString &path, const char *sectionName, qint64 maxSize = 1 << 20);
