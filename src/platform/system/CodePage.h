#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

// The two 8-bit code pages of the program.
//
// The system code page is UTF-8. Text files written on Windows carry Windows-1252
// bytes instead, so a byte that does not start a valid UTF-8 sequence is read on its
// own as Windows-1252; valid UTF-8 around it still decodes as UTF-8.
//
// Windows-1252 is needed explicitly where a byte-exact form matters (seal texts).

// 8-bit text in the system code page to wide text (never fails).
QString SystemCodePageToWide(QByteArrayView bytes);
// Wide text to the system code page (UTF-8). An unpaired surrogate becomes "?".
QByteArray WideToSystemCodePage(QStringView text);

// Windows-1252 by its published table. The five bytes the table leaves undefined
// (81, 8D, 8F, 90, 9D) map to the control characters of the same number, both ways,
// as the Windows conversion does, so every byte survives a round trip.
QString Windows1252ToWide(QByteArrayView bytes);
// Characters outside Windows-1252 become "?" (one per character, a surrogate pair
// counting as one character).
QByteArray WideToWindows1252(QStringView text);

// True when every byte is below 0x80 (the text reads the same in every code page here).
bool IsAsciiText(QByteArrayView bytes);

// Strict UTF-8 decoding: shortest forms only, no surrogate code points, nothing
// above U+10FFFF. Returns false (and leaves out untouched) on any invalid sequence.
bool DecodeUtf8Strict(QByteArrayView bytes, QString &out);
