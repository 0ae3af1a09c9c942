#pragma once

#include <QString>
#include <QStringList>

// Map from wide-string keys to wide-string values, kept sorted by key (ordinal order),
// so that keys and values can also be addressed by index.
class TMapStrToStr
{
public:
    void Set(const QString &key, const QString &value);
    QString Get(const QString &key, bool *found = nullptr) const;
    QString GetDefault(const QString &key, const QString &defaultValue) const;
    int IndexOfKey(const QString &key) const;
    QString KeyAt(int index) const { return m_keys.at(index); }
    QString ValueAt(int index) const { return m_values.at(index); }
    bool Delete(const QString &key);
    void DeleteAt(int index);
    int Count() const { return int(m_keys.size()); }
    void Clear();

private:
    // Position where key is or would be inserted.
    int LowerBound(const QString &key) const;

    QStringList m_keys;
    QStringList m_values;
};
