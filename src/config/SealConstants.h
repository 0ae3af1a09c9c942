#pragma once

#include <QByteArray>

// The three constants of the section seals. Every program that writes or checks
// the seals of a document must use exactly these bytes: a document sealed by one
// version has to verify in every later one. NEVER CHANGE THEM.
//
// Both texts are Windows-1252 bytes, written as hexadecimal escapes so that the
// encoding of this source file cannot alter them.

// 24 characters: "qx7!mörtel#hvk2;äsche*9ß"
inline QByteArray SealSalt()
{
    return QByteArray::fromHex("717837216df67274656c2368766b323be4736368652a39df");
}

// 83 characters: "Halvren-Zav/Prüfsumme:Konfiguration&Sektion=Siegel;Größe%42!Öffnung~Übung@Çà7Ñ+Ææ#9"
inline QByteArray SealIdeaKeyPhrase()
{
    return QByteArray::fromHex("48616c7672656e2d5a61762f5072fc6673756d6d653a4b6f6e66696775726174696f6e2653656b7469"
                               "6f6e3d53696567656c3b4772f6df6525343221d666666e756e677edc62756e6740c7e037d12bc6e62339");
}

// 16 bytes of the Blowfish key of "PruefsummeINET".
inline QByteArray SealBlowfishKey()
{
    return QByteArray::fromHex("7eadb8452b64f9adfd1f2444ddf4f72c");
}
