#include "config/ZavSeal.h"

#include "config/IZavConfigNat.h"
#include "config/SealCipher.h"
#include "config/SealConstants.h"
#include "platform/system/CodePage.h"

#include <algorithm>

namespace {

QString ChildKey(const QString &section, const QString &path)
{
    return section.isEmpty() ? path : section + QLatin1Char('\\') + path;
}

QByteArray SealVariant0(const QByteArray &text)
{
    const QByteArray key = Sha1Digest(SealIdeaKeyPhrase()).left(16);
    const QByteArray iv = IdeaEncryptBlock(key, QByteArray(8, '\xFF'));
    return IdeaCfb8Encrypt(key, iv, text);
}

QByteArray SealVariant1(const QByteArray &text)
{
    QByteArray data = Windows1252ToWide(text).toUtf8();
    const int pad = 8 - int(data.size() % 8);
    data.append(QByteArray(pad, char(pad)));
    return BlowfishEcbEncrypt(SealBlowfishKey(), data);
}

} // namespace

QByteArray ZavSealText(IZavConfigNat &config, const ZavElementText &elementText, const QString &section, int variant)
{
    QStringList entries;
    config.ReadAllSubKeys(section, entries);
    entries.removeOne(QStringLiteral("Pruefsumme"));
    if (variant == zsvPruefsumme)
        std::sort(entries.begin(), entries.end()); // QString's operator< is ordinal UTF-16

    QByteArray text = SealSalt();
    for (const QString &entry : entries) {
        const QString key = ChildKey(section, entry);
        // The text after its first character, whatever letter that is.
        QString value = elementText(key).mid(1);
        QStringList attributes;
        config.ReadValues(key, attributes);
        if (!attributes.isEmpty())
            value = (variant == zsvPruefsumme ? QString() : value) + attributes.join(QString());
        text += '|';
        text += WideToWindows1252(entry);
        text += "->";
        text += WideToWindows1252(value);
    }
    return text;
}

QString ComputeZavSeal(IZavConfigNat &config, const ZavElementText &elementText, const QString &section, int variant)
{
    const QByteArray text = ZavSealText(config, elementText, section, variant);
    if (variant == zsvPruefsumme)
        return EncodeSealBase64(SealVariant0(text));
    return QString::fromLatin1(SealVariant1(text).toHex().toUpper());
}

bool VerifyZavSeal(IZavConfigNat &config, const ZavElementText &elementText, const QString &section)
{
    const QByteArray computed = ComputeZavSeal(config, elementText, section, zsvPruefsummeINET).toLatin1();
    return WideToWindows1252(config.ReadValue(section, QStringLiteral("PruefsummeINET"))) == computed;
}

bool WriteZavSeal(IZavConfigNat &config, const ZavElementText &elementText, const QString &section, const QString &sealKey)
{
    config.WriteString(sealKey, ComputeZavSeal(config, elementText, section, zsvPruefsumme));
    config.WriteValue(section, QStringLiteral("PruefsummeINET"), ComputeZavSeal(config, elementText, section, zsvPruefsummeINET));
    return VerifyZavSeal(config, elementText, section);
}

QString EncodeSealBase64(const QByteArray &data)
{
    static const char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    const auto byte = [&data](qsizetype i) { return static_cast<unsigned char>(data[i]); };
    QString out;
    out.reserve((data.size() + 2) / 3 * 4);
    const qsizetype full = data.size() / 3 * 3;
    for (qsizetype i = 0; i < full; i += 3) {
        const unsigned v = (byte(i) << 16) | (byte(i + 1) << 8) | byte(i + 2);
        for (int shift = 18; shift >= 0; shift -= 6)
            out += QLatin1Char(kAlphabet[(v >> shift) & 0x3F]);
    }
    const qsizetype rest = data.size() - full;
    if (rest > 0) {
        // The missing bytes are those of the preceding group (when there is one).
        const unsigned b0 = byte(full);
        const unsigned b1 = rest == 2 ? byte(full + 1) : (full >= 3 ? byte(full - 2) : 0);
        const unsigned b2 = full >= 3 ? byte(full - 1) : 0;
        const unsigned v = (b0 << 16) | (b1 << 8) | b2;
        out += QLatin1Char(kAlphabet[(v >> 18) & 0x3F]);
        out += QLatin1Char(kAlphabet[(v >> 12) & 0x3F]);
        out += rest == 2 ? QLatin1Char(kAlphabet[(v >> 6) & 0x3F]) : QLatin1Char('=');
        out += QLatin1Char('=');
    }
    return out;
}
