#pragma once

// One run of the configuration loader on arbitrary bytes, shared by the libFuzzer
// target and the regression test that replays the saved inputs. Besides not
// crashing, it checks that whatever the store writes parses again and writes the
// same bytes a second time. Returns an empty text, or what went wrong.

#include "common/HVException.h"
#include "config/ConfigHooks.h"
#include "config/TZavConfigXMLFast.h"

#include <QByteArray>
#include <QStringList>
#include <string>

inline std::string RunConfigLoaderCase(const char *data, size_t size)
{
    SetConfigParseErrorHook([](const QStringList &) {});
    TZavConfigXMLFast doc;
    try {
        doc.ParseBytes(QByteArray(data, qsizetype(size)));
    } catch (const HVException &) {
        return std::string();
    }
    if (!doc.HasTree())
        return std::string();
    QStringList keys;
    doc.ReadAllSubKeys(QString(), keys);
    int budget = 200;
    for (const QString &key : keys) {
        if (--budget < 0)
            break;
        QStringList values;
        doc.ReadValues(key, values);
        QStringList list;
        doc.ReadStringList(key, list);
        (void)doc.ReadString(key, QString());
    }
    const std::string first = doc.SerializedContent();
    TZavConfigXMLFast again;
    try {
        again.ParseBytes(QByteArray(first.data(), qsizetype(first.size())));
    } catch (const HVException &) {
        return "written document does not parse again: " + again.ErrorList().join(QLatin1Char(';')).toStdString() + "\n" + first;
    }
    if (again.SerializedContent() != first)
        return "second write differs from the first:\n" + first + "\n----\n" + again.SerializedContent();
    return std::string();
}
