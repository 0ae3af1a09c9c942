// Fonts of the document router: stored below key\TFont as six element values.
#include "config/TZavConfigNat.h"

#include "ui/ini/TFont.h"

namespace {

enum FontStyleBits { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };

QString FontKey(const QString &key, const char *value)
{
    const QString font = key.isEmpty() ? QStringLiteral("TFont") : key + QStringLiteral("\\TFont");
    return font + QLatin1Char('\\') + QLatin1String(value);
}

int StyleBits(const QFont &font)
{
    return (font.bold() ? fsBold : 0) | (font.italic() ? fsItalic : 0) | (font.underline() ? fsUnderline : 0) |
           (font.strikeOut() ? fsStrikeOut : 0);
}

} // namespace

void TZavConfigNat::WriteFont(const QString &key, const TFont &font)
{
    WriteKeyInteger(FontKey(key, "CharSet"), font.Charset);
    WriteString(FontKey(key, "Color"), ColorToString(font.Color));
    WriteString(FontKey(key, "Name"), font.Font.family());
    WriteKeyInteger(FontKey(key, "Pitch"), font.Pitch);
    WriteKeyInteger(FontKey(key, "Size"), qRound(font.Font.pointSizeF()));
    WriteKeyInteger(FontKey(key, "Style"), StyleBits(font.Font));
}

void TZavConfigNat::ReadFont(const QString &key, TFont &font, const TFont *defaultFont)
{
    if (defaultFont) {
        font = *defaultFont;
    } else {
        font.Charset = 1;
        font.Color = clBlack;
        font.Font.setFamily(QStringLiteral("Arial"));
        font.Pitch = 0;
        font.Font.setPointSize(8);
        font.Font.setBold(false);
        font.Font.setItalic(false);
        font.Font.setUnderline(false);
        font.Font.setStrikeOut(false);
    }
    font.Charset = ReadKeyInteger(FontKey(key, "CharSet"), font.Charset);
    TColor color = font.Color;
    if (TryStringToColor(ReadString(FontKey(key, "Color"), ColorToString(font.Color)), color))
        font.Color = color;
    font.Font.setFamily(ReadString(FontKey(key, "Name"), font.Font.family()));
    font.Pitch = ReadKeyInteger(FontKey(key, "Pitch"), font.Pitch);
    const int size = ReadKeyInteger(FontKey(key, "Size"), qRound(font.Font.pointSizeF()));
    if (size > 0)
        font.Font.setPointSize(size);
    const int style = ReadKeyInteger(FontKey(key, "Style"), StyleBits(font.Font));
    font.Font.setBold(style & fsBold);
    font.Font.setItalic(style & fsItalic);
    font.Font.setUnderline(style & fsUnderline);
    font.Font.setStrikeOut(style & fsStrikeOut);
}
