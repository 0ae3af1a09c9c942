#pragma once

#include "platform/system/SystemFile.h"

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QStringList>

// Reads a text file line by line: 8-bit (system code page), UTF-8 or UTF-16 in either
// byte order, chosen by the byte-order mark. LF ends a line; CR and NUL are dropped
// wherever they stand. A derived reader can change that unit by unit.
class TUnicodeFileReader
{
public:
    TUnicodeFileReader();
    // Opens path at once; raises HVException("Cannot open file ...") on failure.
    explicit TUnicodeFileReader(const QString &path);
    virtual ~TUnicodeFileReader();
    TUnicodeFileReader(const TUnicodeFileReader &) = delete;
    TUnicodeFileReader &operator=(const TUnicodeFileReader &) = delete;

    void Open(const QString &path);
    void Close();

    // True without a file, or when no whole unit is left to read.
    bool Eof();
    bool IsUnicode() const { return m_charSize == 2; }
    // The open file (null when closed), positioned right after the last line read.
    QFile *Stream();

    // The next line without its line end. An invalid UTF-8 line comes back empty and
    // is recorded in Errors(); reading goes on.
    virtual void ReadLine(QString &line);

    const QStringList &Errors() const { return m_errors; }
    int LineCount() const { return m_lineCount; }
    int CharSize() const { return m_charSize; }
    bool BigEndian() const { return m_bigEndian; }
    bool Utf8() const { return m_utf8; }

protected:
    virtual bool IsLineEnd8(unsigned char unit) const { return unit == 10; }
    virtual bool IsLineEnd16(char16_t unit) const { return unit == 10; }
    virtual bool IsSkipped8(unsigned char unit) const { return unit == 13 || unit == 0; }
    virtual bool IsSkipped16(char16_t unit) const { return unit == 13 || unit == 0; }
    virtual unsigned char MapChar8(unsigned char unit) const { return unit; }
    virtual char16_t MapChar16(char16_t unit) const { return unit; }

private:
    bool FillBuffer();

    SystemFile m_lockedFile; // holds the shared lock while the file is open
    QFile m_file;            // reads through the locked file's descriptor
    QStringList m_errors;
    int m_lineCount = 0;
    int m_charSize = 1;
    bool m_bigEndian = false;
    bool m_utf8 = false;
    qint64 m_size = 0;
    qint64 m_pos = 0;        // next byte to read
    QByteArray m_buffer;     // bytes from m_bufferStart on
    qint64 m_bufferStart = 0;
};
