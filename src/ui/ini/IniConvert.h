#pragma once

#include <QString>
#include <QStringView>

// Text to 32-bit integer as INI values are read: optional leading blanks, an optional
// "+" or "-", then decimal digits, or hexadecimal digits after "$", "x", "X" or "0x".
// Nothing may follow. Decimal values must fit the signed 32-bit range; hexadecimal
// ones may use all 32 bits ("$FFFFFFFF" is -1), so every written 8-digit value reads
// back. Returns false for anything else.
bool TryStrToInt(QStringView text, qint32 &value);

// value as upper-case hexadecimal digits, at least digits of them (two's complement
// for negative values).
QString IntToHex(qint32 value, int digits);
