#pragma once

#include <QString>
#include <QStringList>

// A list of text fields stored as one comma-separated value ("comma text"): fields
// joined by ","; a field holding a character of code 0..32, a double quote or a comma
// is enclosed in double quotes with inner quotes doubled; a single empty field is "".
class TCommaSeparatedInfo
{
public:
    TCommaSeparatedInfo() = default;
    explicit TCommaSeparatedInfo(const QString &commaText) { SetCommaText(commaText); }
    virtual ~TCommaSeparatedInfo() = default;

    QString CommaText() const;
    // Unquoted blanks and control characters also separate fields, as in the stored form.
    void SetCommaText(const QString &text);

    int Count() const { return int(m_fields.size()); }
    const QStringList &Fields() const { return m_fields; }
    // Empty beyond the end.
    QString Field(int index) const;
    // Setting a field beyond the end appends empty fields up to it.
    void SetField(int index, const QString &value);
    // The field as an integer, or defaultValue when it is not one.
    qint32 IntegerField(int index, qint32 defaultValue) const;
    void SetIntegerField(int index, qint32 value);
    // Set only when the field is exactly "1"; written as "1" or an empty field.
    bool BoolField(int index) const;
    void SetBoolField(int index, bool value);

private:
    QStringList m_fields;
};
