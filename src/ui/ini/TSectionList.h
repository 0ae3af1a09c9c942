#pragma once

#include <QHash>
#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

// Names and keys of INI documents compare by simple Unicode upper-case mapping, one
// character at a time (no special casing: "ß" stays "ß"), then code unit by code unit.
QString IniUpperCase(QStringView text);

// One section of an INI document: its name exactly as written and its lines exactly
// as loaded or written (never empty lines).
class TIniSection
{
public:
    explicit TIniSection(const QString &name);

    const QString &Name() const { return m_name; }
    const QString &UpperName() const { return m_upperName; }
    void Rename(const QString &name);

    const QStringList &Lines() const { return m_lines; }
    // Every change of the lines goes through these so the key index stays right.
    void AppendLine(const QString &line);
    void ReplaceLine(int index, const QString &line);
    void RemoveLine(int index);
    void SetLines(const QStringList &lines);

    // Index of the first line whose text before its first "=" matches key (already
    // upper-cased with IniUpperCase), or -1. Lines without "=" never match.
    int IndexOfKey(const QString &upperKey) const;

private:
    void BuildIndex() const;

    QString m_name;
    QString m_upperName;
    QStringList m_lines;
    // Upper-cased key -> first line with that key. Built on the first lookup, so a
    // section that is never asked costs nothing; later duplicates never enter it.
    mutable QHash<QString, int> m_keyIndex;
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
    int IndexOf(const QString &name, int &cursor) const;

    TIniSection &Append(const QString &name);
    void Remove(int index);
    // Removes every section whose flag is set, keeping the order of the others.
    void RemoveMarked(const std::vector<bool> &marked);
    void Clear();

private:
    std::vector<std::unique_ptr<TIniSection>> m_items;
    int m_cursor = 0;
};
