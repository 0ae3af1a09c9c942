#include "platform/files/TextFileReader.h"

#include "common/HVException.h"
#include "platform/files/TextFileEncoding.h"
#include "platform/system/CodePage.h"


namespace {
// Read-ahead size. Lines are assembled across blocks, so a line of any length reads.
constexpr qint64 kBlockSize = 64 * 1024;
} // namespace

TUnicodeFileReader::TUnicodeFileReader() = default;

TUnicodeFileReader::TUnicodeFileReader(const QString &path)
{
    Open(path);
}

TUnicodeFileReader::~TUnicodeFileReader() = default;

void TUnicodeFileReader::Open(const QString &path)
{
    Close();
    // Shared lock: others may read meanwhile, not write. Only regular files open (a
    // FIFO or device would block or never end).
    if (!m_lockedFile.Open(path, SystemFile::Mode::Read)
        || !m_file.open(m_lockedFile.Handle(), QIODevice::ReadOnly, QFileDevice::DontCloseHandle)) {
        m_lockedFile.Close();
        throw HVException(CannotOpenFileMessage(path));
    }
    m_size = m_file.size();
    m_charSize = 1;
    m_bigEndian = false;
    const TTextEncoding encoding = DetectTextEncoding(m_file);
    m_utf8 = encoding == TTextEncoding::Utf8;
    if (encoding == TTextEncoding::Utf16LE || encoding == TTextEncoding::Utf16BE) {
        m_charSize = 2;
        m_bigEndian = encoding == TTextEncoding::Utf16BE;
    }
    m_pos = m_file.pos();
    m_buffer.clear();
    m_bufferStart = m_pos;
}

void TUnicodeFileReader::Close()
{
    m_file.close();
    m_lockedFile.Close();
    m_buffer.clear();
    m_pos = 0;
    m_size = 0;
    m_bufferStart = 0;
}

bool TUnicodeFileReader::Eof()
{
    if (!m_file.isOpen())
        return true;
    // A trailing odd byte of a UTF-16 file is no unit; it counts as the end.
    return m_size - m_pos < m_charSize;
}

QFile *TUnicodeFileReader::Stream()
{
    if (!m_file.isOpen())
        return nullptr;
    m_file.seek(m_pos);
    m_buffer.clear();
    m_bufferStart = m_pos;
    return &m_file;
}

bool TUnicodeFileReader::FillBuffer()
{
    if (!m_file.seek(m_pos))
        return false;
    m_buffer = m_file.read(kBlockSize);
    m_bufferStart = m_pos;
    return !m_buffer.isEmpty();
}

void TUnicodeFileReader::ReadLine(QString &line)
{
    line.clear();
    if (!m_file.isOpen())
        return;
    QByteArray bytes;
    QString units;
    bool ended = false;
    while (!ended) {
        qint64 offset = m_pos - m_bufferStart;
        if (offset < 0 || offset + m_charSize > m_buffer.size()) {
            if (!FillBuffer())
                break;
            offset = 0;
            if (m_buffer.size() < m_charSize) {
                m_pos += m_buffer.size(); // odd trailing byte: consumed, no unit
                break;
            }
        }
        const auto *data = reinterpret_cast<const unsigned char *>(m_buffer.constData());
        const qint64 size = m_buffer.size();
        qint64 i = offset;
        if (m_charSize == 1) {
            for (; i < size; ++i) {
                const unsigned char unit = data[i];
                if (IsSkipped8(unit))
                    continue;
                if (IsLineEnd8(unit)) {
                    ++i;
                    ended = true;
                    break;
                }
                bytes.append(char(MapChar8(unit)));
            }
        } else {
            for (; i + 1 < size; i += 2) {
                const char16_t unit = m_bigEndian ? char16_t(data[i] << 8 | data[i + 1])
                                                  : char16_t(data[i + 1] << 8 | data[i]);
                if (IsSkipped16(unit))
                    continue;
                if (IsLineEnd16(unit)) {
                    i += 2;
                    ended = true;
                    break;
                }
                units.append(QChar(MapChar16(unit)));
            }
        }
        m_pos = m_bufferStart + i;
    }

    if (m_charSize == 2) {
        line = units;
    } else if (m_utf8) {
        if (!DecodeUtf8Strict(bytes, line)) {
            line.clear();
            m_errors.append(QStringLiteral("%1 in Line %2: [%3]")
                                .arg(QStringLiteral("Error in UTF8-Coding"), QString::number(m_lineCount + 1),
                                     SystemCodePageToWide(bytes)));
        }
    } else {
        line = SystemCodePageToWide(bytes);
    }
    ++m_lineCount;
}
