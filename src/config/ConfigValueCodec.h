#pragma once

#include <QString>
#include <QStringList>

// Text forms of the values kept in a configuration document: the type letters of
// element values, the list encoding, named values (attributes) and numbers.

// Value types of element text, by their leading letter.
enum TZavValueType { zvtString = 0, zvtInteger = 1, zvtBoolean = 2, zvtList = 3 };

// The type letter of a value type ("s", "i", "b", "l"); a null char for an unknown type.
QChar ValueTypeLetter(int valueType);
// The value type of a letter, or -1 when the letter is not a type letter.
int ValueTypeOfLetter(QChar letter);

// "l" followed by the items, each "s" + item with "|" and "#" written as "#" + 4 hex digits.
QString EncodeConfigList(const QStringList &items);
// Items of a list payload (the text after the letter "l").
QStringList DecodeConfigList(const QString &payload);

// The text of an element value after its second entity decoding and trimming.
QString DecodeElementEntities(const QString &text);
// Removes characters up to U+0020 from both ends.
QString TrimControls(const QString &text);

// The value an attribute holds in memory: control characters other than TAB, LF and CR
// dropped, U+FFFE and U+FFFF replaced by an inverted question mark.
QString SanitizeAttributeValue(const QString &value);

// Named values: "1"/"0" on writing; true when the first character is one of 1JTWXYjtwxy.
QString BoolValueText(bool value);
bool BoolFromValueText(const QString &text);

// Floating-point text with "." as separator (at most 15 significant digits); reading
// also accepts "," in place of ".".
QString FormatConfigFloat(double value);
bool ParseConfigFloat(const QString &text, double &value);

// Decimal integer text with an optional leading "-" (or "+"); false for anything else.
bool ParseConfigInteger(const QString &text, int &value);
