#include "ui/ini/TSectionList.h"

namespace {

inline char32_t UpperOf(char32_t c)
{
    if (c < 0x80)
        return (c >= 'a' && c <= 'z') ? c - 32 : c;
    return QChar::toUpper(c);
}

// The code point at text[i]; i moves past it. An unpaired surrogate stands for itself.
inline char32_t NextCodePoint(QStringView text, qsizetype &i)
{
    const char16_t c = text[i].unicode();
    ++i;
    if (QChar::isHighSurrogate(c) && i < text.size() && text[i].isLowSurrogate())
        return QChar::surrogateToUcs4(c, text[i++].unicode());
    return c;
}

inline quint32 UpperHash(QStringView text)
{
    quint32 hash = 2166136261u; // FNV-1a
    for (qsizetype i = 0; i < text.size();) {
        // ASCII (nearly every key) skips the surrogate and Unicode table checks.
        char32_t upper = text[i].unicode();
        if (upper < 0x80) {
            upper = UpperOf(upper);
            ++i;
        } else {
            upper = UpperOf(NextCodePoint(text, i));
        }
        hash ^= quint32(upper);
        hash *= 16777619u;
    }
    return hash;
}

} // namespace

QString IniUpperCase(QStringView text)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size();) {
        const char32_t upper = UpperOf(NextCodePoint(text, i));
        if (QChar::requiresSurrogates(upper)) {
            out.append(QChar(QChar::highSurrogate(upper)));
            out.append(QChar(QChar::lowSurrogate(upper)));
        } else {
            out.append(QChar(char16_t(upper)));
        }
    }
    return out;
}

bool IniSameText(QStringView a, QStringView b)
{
    // Simple upper-case mapping keeps the number of code units.
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0, j = 0; i < a.size();) {
        const char16_t ca = a[i].unicode(), cb = b[j].unicode();
        if (ca < 0x80 && cb < 0x80) {
            if (ca != cb && UpperOf(ca) != UpperOf(cb))
                return false;
            ++i;
            ++j;
            continue;
        }
        if (UpperOf(NextCodePoint(a, i)) != UpperOf(NextCodePoint(b, j)))
            return false;
    }
    return true;
}

TIniSection::TIniSection(const QString &name, const QString &text)
    : m_name(name), m_upperName(IniUpperCase(name)), m_text(text)
{
}

void TIniSection::Rename(const QString &name)
{
    m_name = name;
    m_upperName = IniUpperCase(name);
}

QStringView TIniSection::LineView(int index) const
{
    const LineRef &ref = m_lines[size_t(index)];
    if (ref.start >= 0)
        return QStringView(m_text).mid(ref.start, ref.length);
    return m_own[-(ref.start + 1)];
}

QStringList TIniSection::Lines() const
{
    QStringList lines;
    lines.reserve(qsizetype(m_lines.size()));
    for (int i = 0; i < LineCount(); ++i)
        lines.append(Line(i));
    return lines;
}

void TIniSection::AppendTextLine(qsizetype start, qsizetype length)
{
    m_lines.push_back({start, length});
    if (m_indexValid)
        IndexLine(LineCount() - 1);
}

void TIniSection::AppendLine(const QString &line)
{
    m_own.append(line);
    m_lines.push_back({-qsizetype(m_own.size()), line.size()});
    if (m_indexValid)
        IndexLine(LineCount() - 1);
}

void TIniSection::ReplaceLine(int index, const QString &line)
{
    // The index stays right when the key keeps its upper-case form (a value written
    // under an existing key), so repeated writes never rebuild it.
    const QStringView old = LineView(index);
    const qsizetype oldEq = IniIndexOfEquals(old);
    const qsizetype newEq = IniIndexOfEquals(line);
    const bool sameKey = oldEq >= 0 && newEq >= 0 && IniSameText(old.left(oldEq), QStringView(line).left(newEq));
    LineRef &ref = m_lines[size_t(index)];
    if (ref.start < 0) {
        m_own[-(ref.start + 1)] = line;
        ref.length = line.size();
    } else {
        m_own.append(line);
        ref = {-qsizetype(m_own.size()), line.size()};
    }
    if (!sameKey)
        m_indexValid = false;
}

void TIniSection::RemoveLine(int index)
{
    m_lines.erase(m_lines.begin() + index);
    m_indexValid = false;
}

void TIniSection::SetLines(const QStringList &lines)
{
    m_own = lines;
    m_lines.clear();
    for (qsizetype i = 0; i < lines.size(); ++i)
        m_lines.push_back({-(i + 1), lines[i].size()});
    m_indexValid = false;
}

void TIniSection::BuildIndex() const
{
    size_t capacity = 16;
    while (capacity < m_lines.size() * 2)
        capacity *= 2;
    m_index.assign(capacity, Slot{0, -1});
    m_indexed = 0;
    m_indexValid = true;
    for (int i = 0; i < LineCount(); ++i)
        IndexLine(i);
}

void TIniSection::IndexLine(int index) const
{
    const QStringView line = LineView(index);
    const qsizetype eq = IniIndexOfEquals(line);
    if (eq < 0)
        return;
    if (size_t(m_indexed + 1) * 2 > m_index.size()) {
        BuildIndex(); // grows the table; indexes this line too
        return;
    }
    const QStringView key = line.left(eq);
    const quint32 hash = UpperHash(key);
    const size_t mask = m_index.size() - 1;
    for (size_t slot = hash & mask;; slot = (slot + 1) & mask) {
        Slot &entry = m_index[slot];
        if (entry.line < 0) {
            entry = {hash, index};
            ++m_indexed;
            return;
        }
        // The first line of a key wins: a later duplicate is not entered.
        if (entry.hash == hash) {
            const QStringView other = LineView(entry.line);
            if (IniSameText(other.left(IniIndexOfEquals(other)), key))
                return;
        }
    }
}

int TIniSection::IndexOfKey(QStringView key) const
{
    if (!m_indexValid)
        BuildIndex();
    const quint32 hash = UpperHash(key);
    const size_t mask = m_index.size() - 1;
    for (size_t slot = hash & mask;; slot = (slot + 1) & mask) {
        const Slot &entry = m_index[slot];
        if (entry.line < 0)
            return -1;
        if (entry.hash == hash) {
            const QStringView line = LineView(entry.line);
            if (IniSameText(line.left(IniIndexOfEquals(line)), key))
                return entry.line;
        }
    }
}

int TSectionList::IndexOf(const QString &name)
{
    return IndexOf(name, m_cursor);
}

int TSectionList::IndexOf(QStringView name, int &cursor) const
{
    const int n = Count();
    if (n == 0)
        return -1;
    if (cursor < 0 || cursor >= n)
        cursor = 0;
    const int start = cursor;
    int i = start;
    do {
        if (m_items[size_t(i)]->NameMatches(name)) {
            cursor = i;
            return i;
        }
        i = (i + 1) % n;
    } while (i != start);
    return -1;
}

TIniSection &TSectionList::Append(const QString &name, const QString &text)
{
    m_items.push_back(std::make_unique<TIniSection>(name, text));
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
