#pragma once

#include <QList>
#include <cstdint>

// Ordered list of 32-bit integers.
class TIntList
{
public:
    int Add(int32_t value)
    {
        m_items.append(value);
        return int(m_items.size()) - 1;
    }
    void Insert(int index, int32_t value) { m_items.insert(index, value); }
    void Put(int index, int32_t value) { m_items[index] = value; }
    int32_t Get(int index) const { return m_items.at(index); }
    int IndexOf(int32_t value) const { return int(m_items.indexOf(value)); }
    int Count() const { return int(m_items.size()); }
    void Clear() { m_items.clear(); }

private:
    QList<int32_t> m_items;
};
