#include "platform/system/CodePage.h"

#include <array>
#include <cstring>

namespace {

// Bytes 80..9F of Windows-1252; the rest of the page equals ISO 8859-1.
// 0 marks the five undefined positions, which map to the C1 control of that number.
constexpr std::array<char16_t, 32> kHighControls = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

char16_t Windows1252Char(unsigned char byte)
{
    if (byte < 0x80 || byte > 0x9F)
        return byte;
    const char16_t mapped = kHighControls[byte - 0x80];
    return mapped ? mapped : char16_t(byte);
}

// The byte for a BMP character, or -1 when Windows-1252 has none.
int Windows1252Byte(char16_t ch)
{
    if (ch < 0x80 || (ch >= 0xA0 && ch <= 0xFF))
        return ch;
    for (int i = 0; i < 32; ++i) {
        const char16_t mapped = kHighControls[i] ? kHighControls[i] : char16_t(0x80 + i);
        if (mapped == ch)
            return 0x80 + i;
    }
    return -1;
}

// Length of the valid UTF-8 sequence at p (at most n bytes available), or 0 when the
// bytes there do not form one. The code point goes to cp.
int Utf8SequenceAt(const unsigned char *p, qsizetype n, char32_t &cp)
{
    const unsigned char b0 = p[0];
    if (b0 < 0x80) {
        cp = b0;
        return 1;
    }
    int len;
    char32_t min;
    if (b0 >= 0xC2 && b0 <= 0xDF) {
        len = 2;
        cp = b0 & 0x1F;
        min = 0x80;
    } else if (b0 >= 0xE0 && b0 <= 0xEF) {
        len = 3;
        cp = b0 & 0x0F;
        min = 0x800;
    } else if (b0 >= 0xF0 && b0 <= 0xF4) {
        len = 4;
        cp = b0 & 0x07;
        min = 0x10000;
    } else {
        return 0;
    }
    if (n < len)
        return 0;
    for (int i = 1; i < len; ++i) {
        if ((p[i] & 0xC0) != 0x80)
            return 0;
        cp = (cp << 6) | (p[i] & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
        return 0;
    return len;
}

void AppendCodePoint(QString &out, char32_t cp)
{
    if (cp < 0x10000) {
        out.append(QChar(char16_t(cp)));
    } else {
        const char32_t v = cp - 0x10000;
        out.append(QChar(char16_t(0xD800 + (v >> 10))));
        out.append(QChar(char16_t(0xDC00 + (v & 0x3FF))));
    }
}

bool IsAscii(QByteArrayView bytes)
{
    // Eight bytes at a time: whole documents pass through here.
    const char *p = bytes.data();
    const qsizetype n = bytes.size();
    qsizetype i = 0;
    for (; i + 8 <= n; i += 8) {
        quint64 word;
        std::memcpy(&word, p + i, 8);
        if (word & 0x8080808080808080ull)
            return false;
    }
    for (; i < n; ++i)
        if (static_cast<unsigned char>(p[i]) >= 0x80)
            return false;
    return true;
}

} // namespace

QString SystemCodePageToWide(QByteArrayView bytes)
{
    // Most lines of the files read here are plain ASCII.
    if (IsAscii(bytes))
        return QString::fromLatin1(bytes.data(), bytes.size());
    QString out;
    out.reserve(bytes.size());
    const auto *p = reinterpret_cast<const unsigned char *>(bytes.data());
    const qsizetype n = bytes.size();
    for (qsizetype i = 0; i < n;) {
        char32_t cp;
        const int len = Utf8SequenceAt(p + i, n - i, cp);
        if (len > 0) {
            AppendCodePoint(out, cp);
            i += len;
        } else {
            out.append(QChar(Windows1252Char(p[i])));
            ++i;
        }
    }
    return out;
}

QByteArray WideToSystemCodePage(QStringView text)
{
    QByteArray out;
    out.reserve(text.size());
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        char32_t cp = text[i].unicode();
        if (QChar::isHighSurrogate(cp) && i + 1 < n && text[i + 1].isLowSurrogate()) {
            cp = QChar::surrogateToUcs4(char16_t(cp), text[i + 1].unicode());
            ++i;
        } else if (QChar::isSurrogate(cp)) {
            out.append('?');
            continue;
        }
        if (cp < 0x80) {
            out.append(char(cp));
        } else if (cp < 0x800) {
            out.append(char(0xC0 | (cp >> 6)));
            out.append(char(0x80 | (cp & 0x3F)));
        } else if (cp < 0x10000) {
            out.append(char(0xE0 | (cp >> 12)));
            out.append(char(0x80 | ((cp >> 6) & 0x3F)));
            out.append(char(0x80 | (cp & 0x3F)));
        } else {
            out.append(char(0xF0 | (cp >> 18)));
            out.append(char(0x80 | ((cp >> 12) & 0x3F)));
            out.append(char(0x80 | ((cp >> 6) & 0x3F)));
            out.append(char(0x80 | (cp & 0x3F)));
        }
    }
    return out;
}

QString Windows1252ToWide(QByteArrayView bytes)
{
    QString out(bytes.size(), Qt::Uninitialized);
    QChar *dst = out.data();
    for (qsizetype i = 0; i < bytes.size(); ++i)
        dst[i] = QChar(Windows1252Char(static_cast<unsigned char>(bytes[i])));
    return out;
}

QByteArray WideToWindows1252(QStringView text)
{
    QByteArray out;
    out.reserve(text.size());
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar ch = text[i];
        if (ch.isHighSurrogate() && i + 1 < n && text[i + 1].isLowSurrogate()) {
            ++i;
            out.append('?');
            continue;
        }
        const int byte = Windows1252Byte(ch.unicode());
        out.append(byte < 0 ? '?' : char(byte));
    }
    return out;
}

bool IsAsciiText(QByteArrayView bytes)
{
    return IsAscii(bytes);
}

bool DecodeUtf8Strict(QByteArrayView bytes, QString &out)
{
    if (IsAscii(bytes)) {
        out = QString::fromLatin1(bytes.data(), bytes.size());
        return true;
    }
    QString result;
    result.reserve(bytes.size());
    const auto *p = reinterpret_cast<const unsigned char *>(bytes.data());
    const qsizetype n = bytes.size();
    for (qsizetype i = 0; i < n;) {
        char32_t cp;
        const int len = Utf8SequenceAt(p + i, n - i, cp);
        if (len == 0)
            return false;
        AppendCodePoint(result, cp);
        i += len;
    }
    out = result;
    return true;
}
