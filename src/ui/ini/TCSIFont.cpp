#include "ui/ini/TCSIFont.h"

#include "ui/ini/IniConvert.h"

void TCSIFont::SetFont(const TFont &font)
{
    SetField(Name, font.Font.family());
    SetIntegerField(Size, font.Font.pointSize());
    SetBoolField(Bold, font.Font.bold());
    SetBoolField(Italic, font.Font.italic());
    SetBoolField(Underline, font.Font.underline());
    SetBoolField(StrikeOut, font.Font.strikeOut());
    SetField(Color, ColorToString(font.Color));
    SetIntegerField(Charset, font.Charset);
    SetIntegerField(Pitch, font.Pitch);
}

void TCSIFont::ApplyTo(TFont &font) const
{
    if (!Field(Name).isEmpty())
        font.Font.setFamily(Field(Name));
    const qint32 size = IntegerField(Size, font.Font.pointSize());
    if (size > 0)
        font.Font.setPointSize(size);
    font.Font.setBold(BoolField(Bold));
    font.Font.setItalic(BoolField(Italic));
    font.Font.setUnderline(BoolField(Underline));
    font.Font.setStrikeOut(BoolField(StrikeOut));

    // Hexadecimal digits first (as if led by "$"); -1 or no number: a colour text.
    const QString colorText = Field(Color);
    TColor color = 0;
    if (!TryStrToInt(QLatin1Char('$') + colorText, color) || color == -1) {
        if (!TryStringToColor(colorText, color))
            color = 0;
    }
    font.Color = color;

    font.Charset = IntegerField(Charset, font.Charset);
    font.Pitch = IntegerField(Pitch, font.Pitch);
    font.Font.setFixedPitch(font.Pitch == 2);
}
