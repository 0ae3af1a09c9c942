#pragma once

#include <QString>

class QIODevice;

// Encoding of a text file as its byte-order mark tells.
enum class TTextEncoding {
    None,      // no mark: 8-bit text in the system code page
    Utf8,      // EF BB BF
    Utf16LE,   // FF FE
    Utf16BE,   // FE FF
};

// Looks at the start of stream. With the UTF-8 mark the position is left after it;
// with a UTF-16 mark after the two bytes; without a mark at 0.
TTextEncoding DetectTextEncoding(QIODevice &stream);

// True when stream has at least 3 bytes and starts with EF BB BF; the position is
// then after the mark, otherwise 0.
bool IsUtf8Bom(QIODevice &stream);

// The encoding of a whole file's bytes and the length of its mark (0 without one).
TTextEncoding DetectTextEncoding(const char *data, qint64 size, int &markLength);

// The exact messages for files that cannot be opened or created.
QString CannotOpenFileMessage(const QString &path);
QString CannotCreateFileMessage(const QString &path);
