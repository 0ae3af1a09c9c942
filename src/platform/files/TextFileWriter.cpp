#include "platform/files/TextFileWriter.h"

#include "common/HVException.h"
#include "platform/files/FileChanges.h"
#include "platform/files/TextFileEncoding.h"
#include "platform/system/SystemError.h"
#include "platform/system/CodePage.h"

#include <QFileInfo>

namespace {

QByteArray Utf16Bytes(const QString &text, bool bigEndian)
{
    QByteArray out(text.size() * 2, Qt::Uninitialized);
    char *dst = out.data();
    for (const QChar ch : text) {
        const char16_t unit = ch.unicode();
        const char hi = char(unit >> 8);
        const char lo = char(unit & 0xFF);
        *dst++ = bigEndian ? hi : lo;
        *dst++ = bigEndian ? lo : hi;
    }
    return out;
}

} // namespace

TUnicodeFileWriter::TUnicodeFileWriter() = default;

TUnicodeFileWriter::TUnicodeFileWriter(const QString &path, bool unicode, bool utf8, bool bigEndian,
                                       bool append)
    : m_unicode(unicode), m_utf8(utf8), m_bigEndian(bigEndian)
{
    Open(path, append);
}

TUnicodeFileWriter::~TUnicodeFileWriter()
{
    Close();
}

void TUnicodeFileWriter::SetLineBreak(const QString &value)
{
    m_lineBreak = value;
    m_lineBreak8 = WideToSystemCodePage(value);
}

void TUnicodeFileWriter::Open(const QString &path, bool append)
{
    Close();
    const QString folder = QFileInfo(path).path();
    if (!folder.isEmpty())
        ForceFolders(folder); // a failure shows as the create error below
    // Appending takes the file as it is, exclusively; only a missing file is created.
    if (append) {
        int error = 0;
        if (m_lockedFile.Open(path, SystemFile::Mode::ReadWrite, &error)) {
            if (!m_file.open(m_lockedFile.Handle(), QIODevice::ReadWrite, QFileDevice::DontCloseHandle)) {
                Close();
                throw HVException(CannotOpenFileMessage(path));
            }
            switch (DetectTextEncoding(m_file)) {
            case TTextEncoding::Utf8:
                m_unicode = true;
                m_utf8 = true;
                break;
            case TTextEncoding::Utf16LE:
                m_unicode = true;
                m_utf8 = false;
                m_bigEndian = false;
                break;
            case TTextEncoding::Utf16BE:
                m_unicode = true;
                m_utf8 = false;
                m_bigEndian = true;
                break;
            case TTextEncoding::None:
                m_unicode = false;
                break;
            }
            m_file.seek(m_file.size());
            return;
        }
        if (error != SystemErrorCode::FileNotFound)
            throw HVException(CannotOpenFileMessage(path));
    }
    if (!m_lockedFile.Open(path, SystemFile::Mode::CreateTruncate)
        || !m_file.open(m_lockedFile.Handle(), QIODevice::ReadWrite, QFileDevice::DontCloseHandle)) {
        Close();
        throw HVException(CannotCreateFileMessage(path));
    }
    if (m_unicode && !m_utf8)
        Write(m_bigEndian ? QByteArrayLiteral("\xFE\xFF") : QByteArrayLiteral("\xFF\xFE"));
    else if (m_unicode && m_byteOrderMark)
        Write(QByteArrayLiteral("\xEF\xBB\xBF"));
}

void TUnicodeFileWriter::WriteLine(const QString &text)
{
    if (!m_file.isOpen())
        throw HVException(QStringLiteral("Stream write error"));
    if (m_unicode && m_utf8)
        Write(WideToSystemCodePage(text) + m_lineBreak8);
    else if (m_unicode)
        Write(Utf16Bytes(text + m_lineBreak, m_bigEndian));
    else
        Write(WideToSystemCodePage(text) + m_lineBreak8);
}

void TUnicodeFileWriter::Close()
{
    m_file.close();
    m_lockedFile.Close();
}

void TUnicodeFileWriter::Write(const QByteArray &bytes)
{
    if (m_file.write(bytes) != bytes.size() || !m_file.flush())
        throw HVException(QStringLiteral("Stream write error"));
}
