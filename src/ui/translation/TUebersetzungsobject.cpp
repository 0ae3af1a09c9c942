#include "ui/translation/TUebersetzungsobject.h"

TUebersetzungsobject::TUebersetzungsobject(QObject *owner, const QString &propertyName, int entryNumber,
                                           const QString &sourceText)
    : QObject(owner), m_propertyName(propertyName), m_entryNumber(entryNumber), m_sourceText(sourceText)
{
}
