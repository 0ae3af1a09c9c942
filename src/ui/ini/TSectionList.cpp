#include "ui/ini/TSectionList.h"

QString IniUpperCase(QStringView text)
{
    const qsizetype n = text.size();
    qsizetype i = 0;
    // Keys are nearly always ASCII; an ASCII text without lower-case letters needs
    // no mapping at all.
    for (; i < n; ++i) {
        const char16_t c = text[i].unicode();
        if (c >= 0x80 || (c >= 'a' && c <= 'z'))
            break;
    }
    QString out = text.toString();
    if (i == n)
        return out;
    QChar *data = out.data();
    for (; i < n; ++i) {
        const char16_t c = data[i].unicode();
        if (c < 0x80) {
            if (c >= 'a' && c <= 'z')
                data[i] = QChar(char16_t(c - 32));
        } else if (QChar::isHighSurrogate(c) && i + 1 < n && data[i + 1].isLowSurrogate()) {
            const char32_t upper = QChar::toUpper(QChar::surrogateToUcs4(c, data[i + 1].unicode()));
            if (QChar::requiresSurrogates(upper)) {
                data[i] = QChar(QChar::highSurrogate(upper));
                data[i + 1] = QChar(QChar::lowSurrogate(upper));
            }
            ++i;
        } else {
            data[i] = QChar(char16_t(QChar::toUpper(char32_t(c))));
        }
    }
    return out;
}

TIniSection::TIniSection(const QString &name) : m_name(name), m_upperName(IniUpperCase(name)) {}

void TIniSection::Rename(const QString &name)
{
    m_name = name;
    m_upperName = IniUpperCase(name);
}

void TIniSection::AppendLine(const QString &line)
{
    m_lines.append(line);
    if (!m_indexValid)
        return;
    const qsizetype eq = line.indexOf(QLatin1Char('='));
    if (eq < 0)
        return;
    const QString key = IniUpperCase(QStringView(line).left(eq));
    if (!m_keyIndex.contains(key))
        m_keyIndex.insert(key, int(m_lines.size() - 1));
}

void TIniSection::ReplaceLine(int index, const QString &line)
{
    m_lines[index] = line;
    m_indexValid = false;
}

void TIniSection::RemoveLine(int index)
{
    m_lines.removeAt(index);
    m_indexValid = false;
}

void TIniSection::SetLines(const QStringList &lines)
{
    m_lines = lines;
    m_indexValid = false;
}

void TIniSection::BuildIndex() const
{
    m_keyIndex.clear();
    m_keyIndex.reserve(m_lines.size());
    for (int i = 0; i < m_lines.size(); ++i) {
        const QString &line = m_lines[i];
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (eq < 0)
            continue;
        // The first line of a key wins: later duplicates are never seen.
        QString key = IniUpperCase(QStringView(line).left(eq));
        if (!m_keyIndex.contains(key))
            m_keyIndex.insert(std::move(key), i);
    }
    m_indexValid = true;
}

int TIniSection::IndexOfKey(const QString &upperKey) const
{
    if (!m_indexValid)
        BuildIndex();
    return m_keyIndex.value(upperKey, -1);
}

int TSectionList::IndexOf(const QString &name)
{
    return IndexOf(name, m_cursor);
}

int TSectionList::IndexOf(const QString &name, int &cursor) const
{
    const int n = Count();
    if (n == 0)
        return -1;
    if (cursor < 0 || cursor >= n)
        cursor = 0;
    const QString upper = IniUpperCase(name);
    const int start = cursor;
    int i = start;
    do {
        if (m_items[size_t(i)]->UpperName() == upper) {
            cursor = i;
            return i;
        }
        i = (i + 1) % n;
    } while (i != start);
    return -1;
}

TIniSection &TSectionList::Append(const QString &name)
{
    m_items.push_back(std::make_unique<TIniSection>(name));
    return *m_items.back();
}

void TSectionList::Remove(int index)
{
    m_items.erase(m_items.begin() + index);
    m_cursor = 0;
}

void TSectionList::RemoveMarked(const std::vector<bool> &marked)
{
    std::vector<std::unique_ptr<TIniSection>> kept;
    kept.reserve(m_items.size());
    for (size_t i = 0; i < m_items.size(); ++i)
        if (!marked[i])
            kept.push_back(std::move(m_items[i]));
    m_items.swap(kept);
    m_cursor = 0;
}

void TSectionList::Clear()
{
    m_items.clear();
    m_cursor = 0;
}
