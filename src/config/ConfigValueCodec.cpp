#include "config/ConfigValueCodec.h"

#include <cmath>

QChar ValueTypeLetter(int valueType)
{
    switch (valueType) {
    case zvtString: return QLatin1Char('s');
    case zvtInteger: return QLatin1Char('i');
    case zvtBoolean: return QLatin1Char('b');
    case zvtList: return QLatin1Char('l');
    default: return QChar();
    }
}

int ValueTypeOfLetter(QChar letter)
{
    switch (letter.unicode()) {
    case 's': return zvtString;
    case 'i': return zvtInteger;
    case 'b': return zvtBoolean;
    case 'l': return zvtList;
    default: return -1;
    }
}

QString EncodeConfigList(const QStringList &items)
{
    QString out(QLatin1Char('l'));
    for (qsizetype i = 0; i < items.size(); ++i) {
        if (i > 0)
            out += QLatin1Char('|');
        out += QLatin1Char('s');
        for (QChar c : items[i]) {
            if (c == QLatin1Char('|'))
                out += QStringLiteral("#007C");
            else if (c == QLatin1Char('#'))
                out += QStringLiteral("#0023");
            else
                out += c;
        }
    }
    return out;
}

namespace {

int HexDigit(QChar c)
{
    const ushort u = c.unicode();
    if (u >= '0' && u <= '9')
        return u - '0';
    if (u >= 'a' && u <= 'f')
        return u - 'a' + 10;
    if (u >= 'A' && u <= 'F')
        return u - 'A' + 10;
    return -1;
}

QString DecodeListItem(const QString &item)
{
    // The first character is the item's type letter, whatever it is.
    QString out;
    out.reserve(item.size());
    for (qsizetype i = 1; i < item.size(); ++i) {
        if (item[i] == QLatin1Char('#') && i + 4 < item.size()) {
            int code = 0;
            bool hex = true;
            for (int k = 1; k <= 4 && hex; ++k) {
                const int d = HexDigit(item[i + k]);
                hex = d >= 0;
                code = code * 16 + d;
            }
            if (hex) {
                out += QChar(ushort(code));
                i += 4;
                continue;
            }
        }
        out += item[i];
    }
    return out;
}

} // namespace

QStringList DecodeConfigList(const QString &payload)
{
    QStringList items;
    if (payload.isEmpty())
        return items;
    QStringList parts = payload.split(QLatin1Char('|'));
    // A "|" at the very end gives no empty last item.
    if (parts.size() > 1 && parts.last().isEmpty())
        parts.removeLast();
    items.reserve(parts.size());
    for (const QString &part : parts)
        items.append(DecodeListItem(part));
    return items;
}

QString DecodeElementEntities(const QString &text)
{
    if (!text.contains(QLatin1Char('&')))
        return text;
    // The order matters: "&amp;" goes last so that "&amp;lt;" becomes "&lt;", not "<".
    static const struct { const char16_t *from; const char16_t *to; } kReplacements[] = {
        {u"&lt;", u"<"},     {u"&gt;", u">"},     {u"&apos;", u"'"},  {u"&quot;", u"\""},
        {u"&#x0D;", u"\r"},  {u"&#x0A;", u"\n"},  {u"&#xD;", u"\r"},  {u"&#xA;", u"\n"},
        {u"&#x09;", u"\t"},  {u"&amp;", u"&"},
    };
    QString out = text;
    for (const auto &r : kReplacements)
        out.replace(QString::fromUtf16(r.from), QString::fromUtf16(r.to));
    return out;
}

QString TrimControls(const QString &text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text[begin].unicode() <= 0x20)
        ++begin;
    while (end > begin && text[end - 1].unicode() <= 0x20)
        --end;
    if (begin == 0 && end == text.size())
        return text;
    return text.mid(begin, end - begin);
}

QString SanitizeAttributeValue(const QString &value)
{
    QString out;
    out.reserve(value.size());
    for (QChar c : value) {
        const ushort u = c.unicode();
        if ((u >= 0x01 && u <= 0x08) || u == 0x0B || u == 0x0C || (u >= 0x0E && u <= 0x1F) || u == 0)
            continue;
        if (u == 0xFFFE || u == 0xFFFF)
            out += QChar(0x00BF);
        else
            out += c;
    }
    return out;
}

QString BoolValueText(bool value)
{
    return value ? QStringLiteral("1") : QStringLiteral("0");
}

bool BoolFromValueText(const QString &text)
{
    if (text.isEmpty())
        return false;
    return QStringLiteral("1JTWXYjtwxy").contains(text[0]);
}

QString FormatConfigFloat(double value)
{
    return QString::number(value, 'g', 15);
}

bool ParseConfigFloat(const QString &text, double &value)
{
    QString t = text.trimmed();
    t.replace(QLatin1Char(','), QLatin1Char('.'));
    bool ok = false;
    const double v = t.toDouble(&ok);
    if (!ok || !std::isfinite(v))
        return false;
    value = v;
    return true;
}

bool ParseConfigInteger(const QString &text, int &value)
{
    if (text.isEmpty() || text[0].unicode() <= 0x20 || text.back().unicode() <= 0x20)
        return false;
    bool ok = false;
    const int v = text.toInt(&ok, 10);
    if (!ok)
        return false;
    value = v;
    return true;
}
