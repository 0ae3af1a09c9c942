#include "ui/translation/TZavMultiSprache.h"

namespace {

QString NormalizedCode(const QString &code)
{
    return code.toUpper();
}

} // namespace

void TZavMultiSprache::Clear()
{
    m_default.clear();
    m_codes.clear();
    m_texts.clear();
    Changed();
}

void TZavMultiSprache::SetDefault(const QString &text)
{
    m_default = text;
    Changed();
}

void TZavMultiSprache::SetIsFile(bool isFile)
{
    m_isFile = isFile;
    Changed();
}

int TZavMultiSprache::IndexOfCode(const QString &code) const
{
    return int(m_codes.indexOf(NormalizedCode(code)));
}

QString TZavMultiSprache::GetText(const QString &code) const
{
    const int index = IndexOfCode(code);
    return index >= 0 ? m_texts[index] : QString();
}

void TZavMultiSprache::SetText(const QString &code, const QString &text)
{
    const int index = IndexOfCode(code);
    if (index >= 0) {
        m_texts[index] = text;
    } else {
        m_codes.append(NormalizedCode(code));
        m_texts.append(text);
    }
    Changed();
}

void TZavMultiSprache::Assign(const TZavMultiSprache *other)
{
    if (other == this)
        return;
    if (other) {
        m_default = other->m_default;
        m_isFile = other->m_isFile;
        m_codes = other->m_codes;
        m_texts = other->m_texts;
    } else {
        m_codes.clear();
        m_texts.clear();
    }
    Changed();
}

void TZavMultiSprache::Merge(const TZavMultiSprache &other, bool skipEmpty)
{
    // Copies first: other may be this object.
    const QStringList codes = other.m_codes;
    const QStringList texts = other.m_texts;
    m_default = other.m_default;
    for (qsizetype i = 0; i < codes.size(); ++i) {
        if (skipEmpty && texts[i].isEmpty())
            continue;
        const int index = IndexOfCode(codes[i]);
        if (index >= 0) {
            m_texts[index] = texts[i];
        } else {
            m_codes.append(codes[i]);
            m_texts.append(texts[i]);
        }
    }
    Changed();
}

void TZavMultiSprache::MergeFrom(const TZavMultiSprache &other)
{
    Merge(other, false);
}

void TZavMultiSprache::MergeNonEmpty(const TZavMultiSprache &other)
{
    Merge(other, true);
}

void TZavMultiSprache::Changed()
{
    if (OnChange)
        OnChange(this);
}
