#pragma once

#include "ui/ini/TCommaSeparatedInfo.h"
#include "ui/ini/TFont.h"

// A font as comma text: face name, size, bold, italic, underline, strike-out, colour,
// character set, pitch.
class TCSIFont : public TCommaSeparatedInfo
{
public:
    enum FieldIndex { Name = 0, Size, Bold, Italic, Underline, StrikeOut, Color, Charset, Pitch };

    TCSIFont() = default;
    explicit TCSIFont(const QString &commaText) : TCommaSeparatedInfo(commaText) {}
    explicit TCSIFont(const TFont &font) { SetFont(font); }

    void SetFont(const TFont &font);
    // Sets every part of font from the fields. A missing or malformed size, character
    // set or pitch and an empty face name keep the font's own value; a colour that is
    // neither hexadecimal digits nor a colour text gives 0.
    void ApplyTo(TFont &font) const;
};
