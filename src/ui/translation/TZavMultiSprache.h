#pragma once

#include <QString>
#include <QStringList>
#include <functional>

// One text in several languages: a default text and one text per two-letter language
// code. Codes match without regard to letter case (they are stored upper-cased).
class TZavMultiSprache
{
public:
    using TChangeEvent = std::function<void(TZavMultiSprache *)>;

    TZavMultiSprache() = default;
    virtual ~TZavMultiSprache() = default;
    TZavMultiSprache(const TZavMultiSprache &) = delete;
    TZavMultiSprache &operator=(const TZavMultiSprache &) = delete;

    void Clear();
    const QString &Default() const { return m_default; }
    void SetDefault(const QString &text);
    bool IsFile() const { return m_isFile; }
    void SetIsFile(bool isFile);
    int Count() const { return int(m_codes.size()); }
    // The codes in the order they were added (upper-cased).
    const QStringList &Codes() const { return m_codes; }

    // The text stored for code, or empty when the code is not present (never the
    // default text).
    QString GetText(const QString &code) const;
    // Replaces the text of a present code, else appends code and text.
    void SetText(const QString &code, const QString &text);

    // Copies default text, file flag, codes and texts; with null, empties codes and texts.
    void Assign(const TZavMultiSprache *other);
    // Default text := other's; SetText for every language of other.
    void MergeFrom(const TZavMultiSprache &other);
    // As MergeFrom, but only languages whose text is not empty.
    void MergeNonEmpty(const TZavMultiSprache &other);

    // Called after every change.
    TChangeEvent OnChange;

private:
    int IndexOfCode(const QString &code) const;
    void Merge(const TZavMultiSprache &other, bool skipEmpty);
    void Changed();

    QString m_default;
    QStringList m_codes;
    QStringList m_texts;
    bool m_isFile = false;
};
