#include "common/TMapStrToStr.h"

#include <algorithm>

int TMapStrToStr::LowerBound(const QString &key) const
{
    return int(std::lower_bound(m_keys.cbegin(), m_keys.cend(), key) - m_keys.cbegin());
}

void TMapStrToStr::Set(const QString &key, const QString &value)
{
    const int pos = LowerBound(key);
    if (pos < m_keys.size() && m_keys.at(pos) == key) {
        m_values[pos] = value;
        return;
    }
    m_keys.insert(pos, key);
    m_values.insert(pos, value);
}

QString TMapStrToStr::Get(const QString &key, bool *found) const
{
    const int index = IndexOfKey(key);
    if (found)
        *found = index >= 0;
    return index >= 0 ? m_values.at(index) : QString();
}

QString TMapStrToStr::GetDefault(const QString &key, const QString &defaultValue) const
{
    const int index = IndexOfKey(key);
    return index >= 0 ? m_values.at(index) : defaultValue;
}

int TMapStrToStr::IndexOfKey(const QString &key) const
{
    const int pos = LowerBound(key);
    return (pos < m_keys.size() && m_keys.at(pos) == key) ? pos : -1;
}

bool TMapStrToStr::Delete(const QString &key)
{
    const int index = IndexOfKey(key);
    if (index < 0)
        return false;
    DeleteAt(index);
    return true;
}

void TMapStrToStr::DeleteAt(int index)
{
    m_keys.removeAt(index);
    m_values.removeAt(index);
}

void TMapStrToStr::Clear()
{
    m_keys.clear();
    m_values.clear();
}
