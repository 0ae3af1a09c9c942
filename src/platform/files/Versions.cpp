#include "platform/files/Versions.h"

#include <limits>
#include <optional>

namespace {

// The integer syntax of the run-time library the version texts were written for:
// optional sign, then decimal digits, or hexadecimal digits led by "$", "x" or "0x".
std::optional<qint32> ParseInteger(const QString &text)
{
    qsizetype i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == QLatin1Char('-') || text[i] == QLatin1Char('+')))
        negative = text[i++] == QLatin1Char('-');
    int base = 10;
    if (i < text.size() && (text[i] == QLatin1Char('$') || text[i].toLower() == QLatin1Char('x'))) {
        base = 16;
        ++i;
    } else if (i + 1 < text.size() && text[i] == QLatin1Char('0') && text[i + 1].toLower() == QLatin1Char('x')) {
        base = 16;
        i += 2;
    }
    if (i >= text.size())
        return std::nullopt;
    qint64 value = 0;
    for (; i < text.size(); ++i) {
        const int digit = text[i].isDigit() && text[i].unicode() < 128 ? text[i].unicode() - '0'
            : (base == 16 && text[i].toLower() >= QLatin1Char('a') && text[i].toLower() <= QLatin1Char('f'))
            ? text[i].toLower().unicode() - 'a' + 10
            : -1;
        if (digit < 0 || digit >= base)
            return std::nullopt;
        value = value * base + digit;
        if (value > qint64(std::numeric_limits<quint32>::max()))
            return std::nullopt;
    }
    if (base == 10) {
        const qint64 signedValue = negative ? -value : value;
        if (signedValue < std::numeric_limits<qint32>::min() || signedValue > std::numeric_limits<qint32>::max())
            return std::nullopt;
        return qint32(signedValue);
    }
    // Hexadecimal texts cover the full 32 bits, "$FFFFFFFF" being -1.
    const qint32 bits = qint32(quint32(value));
    return negative ? -bits : bits;
}

QString BeforeFirstDot(const QString &text)
{
    const qsizetype dot = text.indexOf(QLatin1Char('.'));
    return dot < 0 ? text : text.left(dot);
}

} // namespace

int CompareVersionParts(const QString &x, const QString &y)
{
    const QString a = x.trimmed();
    const QString b = y.trimmed();
    const std::optional<qint32> numberA = ParseInteger(a);
    const std::optional<qint32> numberB = ParseInteger(b);
    if (numberA && numberB)
        return *numberA < *numberB ? -1 : (*numberA > *numberB ? 1 : 0);
    const QByteArray bytesA = a.toUtf8();
    const QByteArray bytesB = b.toUtf8();
    return bytesA.compare(bytesB);
}

int CompareVersions(const QString &a, const QString &b)
{
    QString restA = QString(a).replace(QLatin1Char(','), QLatin1Char('.'));
    QString restB = QString(b).replace(QLatin1Char(','), QLatin1Char('.'));
    int result = 0;
    while (result == 0 && restA.contains(QLatin1Char('.')) && restB.contains(QLatin1Char('.'))) {
        const qsizetype dotA = restA.indexOf(QLatin1Char('.'));
        const qsizetype dotB = restB.indexOf(QLatin1Char('.'));
        result = CompareVersionParts(restA.left(dotA), restB.left(dotB));
        restA.remove(0, dotA + 1);
        restB.remove(0, dotB + 1);
    }
    if (result == 0)
        result = CompareVersionParts(BeforeFirstDot(restA), BeforeFirstDot(restB));
    return result;
}
