#include "ui/ini/TCommaSeparatedInfo.h"

#include "ui/ini/IniConvert.h"

namespace {

bool NeedsQuotes(const QString &field)
{
    for (const QChar ch : field)
        if (ch.unicode() <= 32 || ch == QLatin1Char('"') || ch == QLatin1Char(','))
            return true;
    return false;
}

bool IsSeparatorBlank(QChar ch)
{
    return ch.unicode() >= 1 && ch.unicode() <= 32;
}

} // namespace

QString TCommaSeparatedInfo::CommaText() const
{
    if (m_fields.size() == 1 && m_fields.first().isEmpty())
        return QStringLiteral("\"\"");
    QStringList out;
    out.reserve(m_fields.size());
    for (const QString &field : m_fields) {
        if (NeedsQuotes(field))
            out.append(QLatin1Char('"') + QString(field).replace(QLatin1String("\""), QLatin1String("\"\"")) + QLatin1Char('"'));
        else
            out.append(field);
    }
    return out.join(QLatin1Char(','));
}

void TCommaSeparatedInfo::SetCommaText(const QString &text)
{
    m_fields.clear();
    // A NUL ends the text, as it ends the stored string.
    const qsizetype n = text.contains(QChar(0)) ? text.indexOf(QChar(0)) : text.size();
    qsizetype i = 0;
    while (i < n && IsSeparatorBlank(text[i]))
        ++i;
    while (i < n) {
        QString field;
        if (text[i] == QLatin1Char('"')) {
            ++i;
            while (i < n) {
                if (text[i] == QLatin1Char('"')) {
                    if (i + 1 < n && text[i + 1] == QLatin1Char('"')) {
                        field.append(QLatin1Char('"'));
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                field.append(text[i++]);
            }
        } else {
            const qsizetype start = i;
            while (i < n && text[i].unicode() > 32 && text[i] != QLatin1Char(','))
                ++i;
            field = text.mid(start, i - start);
        }
        m_fields.append(field);
        while (i < n && IsSeparatorBlank(text[i]))
            ++i;
        if (i < n && text[i] == QLatin1Char(',')) {
            if (i + 1 == n)
                m_fields.append(QString()); // a trailing comma ends with an empty field
            do {
                ++i;
            } while (i < n && IsSeparatorBlank(text[i]));
        }
    }
}

QString TCommaSeparatedInfo::Field(int index) const
{
    return index >= 0 && index < m_fields.size() ? m_fields[index] : QString();
}

void TCommaSeparatedInfo::SetField(int index, const QString &value)
{
    if (index < 0)
        return;
    while (m_fields.size() <= index)
        m_fields.append(QString());
    m_fields[index] = value;
}

qint32 TCommaSeparatedInfo::IntegerField(int index, qint32 defaultValue) const
{
    qint32 value;
    return TryStrToInt(Field(index), value) ? value : defaultValue;
}

void TCommaSeparatedInfo::SetIntegerField(int index, qint32 value)
{
    SetField(index, QString::number(value));
}

bool TCommaSeparatedInfo::BoolField(int index) const
{
    return Field(index) == QLatin1String("1");
}

void TCommaSeparatedInfo::SetBoolField(int index, bool value)
{
    SetField(index, value ? QStringLiteral("1") : QString());
}
