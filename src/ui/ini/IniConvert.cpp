#include "ui/ini/IniConvert.h"

bool TryStrToInt(QStringView text, qint32 &value)
{
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n && text[i] == QLatin1Char(' '))
        ++i;
    bool negative = false;
    if (i < n && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-'))) {
        negative = text[i] == QLatin1Char('-');
        ++i;
    }
    bool hex = false;
    if (i < n && (text[i] == QLatin1Char('$') || text[i] == QLatin1Char('x') || text[i] == QLatin1Char('X'))) {
        hex = true;
        ++i;
    } else if (i + 1 < n && text[i] == QLatin1Char('0')
               && (text[i + 1] == QLatin1Char('x') || text[i + 1] == QLatin1Char('X'))) {
        hex = true;
        i += 2;
    }
    if (i >= n)
        return false;
    const quint64 limit = hex ? 0xFFFFFFFFull : (negative ? 0x80000000ull : 0x7FFFFFFFull);
    quint64 magnitude = 0;
    for (; i < n; ++i) {
        const char16_t c = text[i].unicode();
        int digit;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (hex && c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else if (hex && c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        else
            return false;
        magnitude = magnitude * (hex ? 16 : 10) + quint64(digit);
        if (magnitude > limit)
            return false;
    }
    const auto bits = static_cast<quint32>(magnitude);
    value = static_cast<qint32>(negative ? 0u - bits : bits);
    return true;
}

QString IntToHex(qint32 value, int digits)
{
    return QStringLiteral("%1").arg(static_cast<quint32>(value), digits, 16, QLatin1Char('0')).toUpper();
}
