#pragma once

#include <QByteArray>
#include <QString>
#include <functional>

class IZavConfigNat;

// The whole text of a key's element (type letter included), "" when it has none.
using ZavElementText = std::function<QString(const QString &key)>;

// The two seals of a configuration section: "Pruefsumme" (IDEA, CFB-8, the seal
// Base64) over the sorted entries, and "PruefsummeINET" (Blowfish ECB, PKCS#7,
// upper-case hex) over the entries in document order.
enum TZavSealVariant { zsvPruefsumme = 0, zsvPruefsummeINET = 1 };

// The 8-bit seal text of a section: the salt, then "|" + path + "->" + value per entry.
// Entries and attributes come from config, the element texts from elementText.
QByteArray ZavSealText(IZavConfigNat &config, const ZavElementText &elementText, const QString &section, int variant);
QString ComputeZavSeal(IZavConfigNat &config, const ZavElementText &elementText, const QString &section, int variant);
bool VerifyZavSeal(IZavConfigNat &config, const ZavElementText &elementText, const QString &section);
bool WriteZavSeal(IZavConfigNat &config, const ZavElementText &elementText, const QString &section, const QString &sealKey);

// Base64 whose last group of one or two bytes takes the missing bits from the bytes at
// the same positions of the preceding three-byte group instead of zeros.
QString EncodeSealBase64(const QByteArray &data);
