#pragma once

#include "ui/ini/TColor.h"

#include <QFont>

// A font as the documents store it: the Qt font (face name, size in points, bold,
// italic, underline, strike-out) plus what QFont does not carry.
struct TFont
{
    QFont Font;
    TColor Color = clWindowText;
    int Charset = 1; // 1: the default character set
    int Pitch = 0;   // 0 default, 1 variable, 2 fixed
};
