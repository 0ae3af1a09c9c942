#include "ui/ini/TColor.h"

#include "ui/ini/IniConvert.h"

#include <array>

namespace {

struct NamedColor
{
    TColor color;
    const char *name;
};

// The names colours are stored under, in the order they are looked up.
constexpr std::array<NamedColor, 52> kNamedColors = {{
    {0x000000, "clBlack"}, {0x000080, "clMaroon"}, {0x008000, "clGreen"}, {0x008080, "clOlive"},
    {0x800000, "clNavy"}, {0x800080, "clPurple"}, {0x808000, "clTeal"}, {0x808080, "clGray"},
    {0xC0C0C0, "clSilver"}, {0x0000FF, "clRed"}, {0x00FF00, "clLime"}, {0x00FFFF, "clYellow"},
    {0xFF0000, "clBlue"}, {0xFF00FF, "clFuchsia"}, {0xFFFF00, "clAqua"}, {0xFFFFFF, "clWhite"},
    {0xC0DCC0, "clMoneyGreen"}, {0xF0CAA6, "clSkyBlue"}, {0xF0FBFF, "clCream"}, {0xA4A0A0, "clMedGray"},
    {clSystemColor | 10, "clActiveBorder"}, {clSystemColor | 2, "clActiveCaption"},
    {clSystemColor | 12, "clAppWorkSpace"}, {clSystemColor | 1, "clBackground"},
    {clSystemColor | 15, "clBtnFace"}, {clSystemColor | 20, "clBtnHighlight"},
    {clSystemColor | 16, "clBtnShadow"}, {clSystemColor | 18, "clBtnText"},
    {clSystemColor | 9, "clCaptionText"}, {clDefault, "clDefault"},
    {clSystemColor | 27, "clGradientActiveCaption"}, {clSystemColor | 28, "clGradientInactiveCaption"},
    {clSystemColor | 17, "clGrayText"}, {clSystemColor | 13, "clHighlight"},
    {clSystemColor | 14, "clHighlightText"}, {clSystemColor | 26, "clHotLight"},
    {clSystemColor | 11, "clInactiveBorder"}, {clSystemColor | 3, "clInactiveCaption"},
    {clSystemColor | 19, "clInactiveCaptionText"}, {clSystemColor | 24, "clInfoBk"},
    {clSystemColor | 23, "clInfoText"}, {clSystemColor | 4, "clMenu"}, {clSystemColor | 30, "clMenuBar"},
    {clSystemColor | 29, "clMenuHighlight"}, {clSystemColor | 7, "clMenuText"}, {clNone, "clNone"},
    {clSystemColor | 0, "clScrollBar"}, {clSystemColor | 21, "cl3DDkShadow"},
    {clSystemColor | 22, "cl3DLight"}, {clSystemColor | 5, "clWindow"},
    {clSystemColor | 6, "clWindowFrame"}, {clWindowText, "clWindowText"},
}};

} // namespace

QString ColorToString(TColor color)
{
    for (const NamedColor &named : kNamedColors)
        if (named.color == color)
            return QString::fromLatin1(named.name);
    return QLatin1Char('$') + IntToHex(color, 8);
}

bool TryStringToColor(const QString &text, TColor &color)
{
    for (const NamedColor &named : kNamedColors) {
        if (text.compare(QLatin1String(named.name), Qt::CaseInsensitive) == 0) {
            color = named.color;
            return true;
        }
    }
    return TryStrToInt(text, color);
}
