#pragma once

#include <QString>

class QObject;

// Translates the texts of an object and, recursively, of every object it owns (its Qt
// children): window captions, button and label texts, tool tips, dialog titles, table
// and tree headers, file type lists. The property names are those of the product's
// windows ("Caption", "Hint", "Title", ...); each is mapped onto the Qt property that
// shows that text. Widgets placed on a parent also get the interface font.
void TranslateComponent(QObject *component);

// The property hook: the translated value of one property of a component. Remembers the
// plugin entry in a TUebersetzungsobject child so a later call translates again from it.
using PropertyHook = QString (*)(QObject *component, const QString &propertyName, const QString &value);
PropertyHook CurrentPropertyHook();
