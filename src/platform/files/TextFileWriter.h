#pragma once

#include "platform/system/SystemFile.h"

#include <QByteArray>
#include <QFile>
#include <QString>

// Appends lines to a text file in UTF-8, UTF-16 (either byte order) or 8-bit text.
// A new file gets the byte-order mark of its encoding; appending to an existing file
// keeps the encoding its mark names (no mark: 8-bit text).
class TUnicodeFileWriter
{
public:
    TUnicodeFileWriter();
    // The defaults, then the three flags, then Open(path, append).
    TUnicodeFileWriter(const QString &path, bool unicode, bool utf8, bool bigEndian, bool append);
    virtual ~TUnicodeFileWriter();
    TUnicodeFileWriter(const TUnicodeFileWriter &) = delete;
    TUnicodeFileWriter &operator=(const TUnicodeFileWriter &) = delete;

    // Raises HVException("Cannot open file ...") / ("Cannot create file ...").
    void Open(const QString &path, bool append);
    // Raises HVException("Stream write error") when the bytes cannot be written.
    void WriteLine(const QString &text);
    void Close();
    QFile *Stream() { return m_file.isOpen() ? &m_file : nullptr; }

    bool Unicode() const { return m_unicode; }
    void SetUnicode(bool value) { m_unicode = value; }
    bool Utf8() const { return m_utf8; }
    void SetUtf8(bool value) { m_utf8 = value; }
    bool ByteOrderMark() const { return m_byteOrderMark; }
    void SetByteOrderMark(bool value) { m_byteOrderMark = value; }
    bool BigEndian() const { return m_bigEndian; }
    void SetBigEndian(bool value) { m_bigEndian = value; }
    QString LineBreak() const { return m_lineBreak; }
    void SetLineBreak(const QString &value);

private:
    void Write(const QByteArray &bytes);

    SystemFile m_lockedFile; // holds the exclusive lock while the file is open
    QFile m_file;            // writes through the locked file's descriptor
    bool m_unicode = true;
    bool m_utf8 = false;
    bool m_byteOrderMark = true;
    bool m_bigEndian = false;
    QString m_lineBreak = QStringLiteral("\r\n");
    QByteArray m_lineBreak8 = QByteArrayLiteral("\r\n");
};
