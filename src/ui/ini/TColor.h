#pragma once

#include <QString>

// A colour as INI documents and fonts store it: 0x00BBGGRR for a plain colour, or
// 0xFF0000nn for system colour nn. Stored as text it is a name such as "clWindowText"
// or "$" with 8 hexadecimal digits.
using TColor = qint32;

constexpr TColor clSystemColor = TColor(0xFF000000u);
constexpr TColor clBlack = 0x000000;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clWindowText = clSystemColor | 8;
constexpr TColor clNone = 0x1FFFFFFF;
constexpr TColor clDefault = 0x20000000;

// The colour's name when it has one, otherwise "$" and 8 upper-case hexadecimal digits.
QString ColorToString(TColor color);
// A colour name (any letter case) or an integer text ("$FF0000", "255"). Returns false
// when the text is neither.
bool TryStringToColor(const QString &text, TColor &color);
