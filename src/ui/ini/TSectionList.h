#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>
#include <memory>
#include <vector>

// Names and keys of INI documents compare by simple Unicode upper-case mapping, one
// character at a time (no special casing: "ß" stays "ß"), then code unit by code unit.
QString IniUpperCase(QStringView text);
bool IniSameText(QStringView a, QStringView b);

// Position of the first "=" in text, or -1. An inline scan: keys are short, and the
// general QStringView::indexOf costs more in its call than in its search here.
inline qsizetype IniIndexOfEquals(QStringView text)
{
    const char16_t *p = text.utf16();
    for (qsizetype i = 0; i < text.size(); ++i)
        if (p[i] == u'=')
            return i;
    return -1;
}

// One section of an INI document: its name exactly as written and its lines exactly
// as loaded or written (never empty lines from a file).
//
// Lines read from a file stay in the document's one decoded text and are referred to
// by position, so loading a large document allocates nothing per line; lines written
// later are held on their own.
class TIniSection
{
public:
    TIniSection(const QString &name, const QString &text);

    const QString &Name() const { return m_name; }
    // True when name is this section's name, compared by upper case.
    // Callers mostly ask with the name as written, so an exact match is tried first.
    bool NameMatches(QStringView name) const
    {
        return QStringView(m_name) == name || IniSameText(m_upperName, name);
    }
    void Rename(const QString &name);

    int LineCount() const { return int(m_lines.size()); }
    QStringView LineView(int index) const;
    QString Line(int index) const { return LineView(index).toString(); }
    QStringList Lines() const;

    // A line of the document's text, from start on, length characters long.
    void AppendTextLine(qsizetype start, qsizetype length);
    // Every change of the lines goes through these so that the key index stays right.
    void AppendLine(const QString &line);
    void ReplaceLine(int index, const QString &line);
    void RemoveLine(int index);
    void SetLines(const QStringList &lines);

    // Index of the first line whose text before its first "=" matches key by upper
    // case, or -1. Lines without "=" never match.
    int IndexOfKey(QStringView key) const;

private:
    struct LineRef
    {
        qsizetype start;  // in m_text, or -(index + 1) into m_own
        qsizetype length;
    };
    struct Slot
    {
        quint32 hash;
        qint32 line; // -1: free
    };

    void BuildIndex() const;
    void IndexLine(int index) const;

    QString m_name;
    QString m_upperName;
    QString m_text; // the document text shared by all sections (one reference)
    QStringList m_own;
    std::vector<LineRef> m_lines;
    // Open-addressing table: upper-case key hash -> first line with that key. Built
    // on the first lookup; later lines with the same key never enter it.
    mutable std::vector<Slot> m_index;
    mutable qsizetype m_indexed = 0;
    mutable bool m_indexValid = false;
};

// The sections of a document in file order. IndexOf searches from the section found
// last, wrapping around, so reading sections in order costs one comparison each.
class TSectionList
{
public:
    int Count() const { return int(m_items.size()); }
    TIniSection &At(int index) const { return *m_items[size_t(index)]; }

    // Case-insensitive search from the list's own cursor; -1 when absent.
    int IndexOf(const QString &name);
    // The same search from a cursor held by the caller.
    int IndexOf(QStringView name, int &cursor) const;

    // A new section whose text lines refer to text.
    TIniSection &Append(const QString &name, const QString &text = QString());
    void Remove(int index);
    // Removes every section whose flag is set, keeping the order of the others.
    void RemoveMarked(const std::vector<bool> &marked);
    void Clear();

private:
    std::vector<std::unique_ptr<TIniSection>> m_items;
    int m_cursor = 0;
};
