#pragma once

#include <QObject>
#include <QString>

// Remembers, as a child of a translated object, which plugin entry supplied the text of
// one of its properties, so the property can be translated again after it already
// holds a translated text.
class TUebersetzungsobject : public QObject
{
    Q_OBJECT
public:
    TUebersetzungsobject(QObject *owner, const QString &propertyName, int entryNumber, const QString &sourceText);

    QString PropertyName() const { return m_propertyName; }
    int EntryNumber() const { return m_entryNumber; }
    // The marked German text the property held before its first translation.
    QString SourceText() const { return m_sourceText; }

private:
    QString m_propertyName;
    int m_entryNumber;
    QString m_sourceText;
};
