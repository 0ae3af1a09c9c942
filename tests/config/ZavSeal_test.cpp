// Seals of a configuration section, checked against published cipher test vectors and
// against a second, independent cipher implementation (Crypto++).
#include "config/ConfigTestSupport.h"
#include "config/SealCipher.h"
#include "config/SealConstants.h"
#include "config/TZavConfigNat.h"
#include "config/ZavSeal.h"
#include "platform/system/CodePage.h"
#include "support/TestSupport.h"

#include <crypto++/base64.h>
#include <crypto++/blowfish.h>
#include <crypto++/filters.h>
#include <crypto++/hex.h>
#include <crypto++/idea.h>
#include <crypto++/modes.h>
#include <crypto++/sha.h>
#include <gtest/gtest.h>

using namespace testsupport;

namespace {

const CryptoPP::byte *Bytes(const QByteArray &b)
{
    return reinterpret_cast<const CryptoPP::byte *>(b.constData());
}

// Both seals of a seal text, computed with Crypto++ alone.
QString CryptoppSeal0(const QByteArray &text)
{
    CryptoPP::SHA1 sha;
    QByteArray digest(CryptoPP::SHA1::DIGESTSIZE, '\0');
    sha.CalculateDigest(reinterpret_cast<CryptoPP::byte *>(digest.data()), Bytes(SealIdeaKeyPhrase()), size_t(SealIdeaKeyPhrase().size()));
    const QByteArray key = digest.left(16);
    CryptoPP::IDEA::Encryption block(Bytes(key), 16);
    QByteArray iv(8, '\xFF');
    block.ProcessBlock(reinterpret_cast<CryptoPP::byte *>(iv.data()));
    CryptoPP::CFB_Mode<CryptoPP::IDEA>::Encryption cfb(Bytes(key), 16, Bytes(iv), 1);
    QByteArray cipher(text.size(), '\0');
    cfb.ProcessData(reinterpret_cast<CryptoPP::byte *>(cipher.data()), Bytes(text), size_t(text.size()));
    return EncodeSealBase64(cipher);
}

QString CryptoppSeal1(const QByteArray &text)
{
    const QByteArray utf8 = Windows1252ToWide(text).toUtf8();
    CryptoPP::ECB_Mode<CryptoPP::Blowfish>::Encryption ecb(Bytes(SealBlowfishKey()), 16);
    std::string hex;
    CryptoPP::StringSource(std::string(utf8.constData(), size_t(utf8.size())), true,
                           new CryptoPP::StreamTransformationFilter(ecb, new CryptoPP::HexEncoder(new CryptoPP::StringSink(hex), true),
                                                                    CryptoPP::StreamTransformationFilter::PKCS_PADDING));
    return QString::fromStdString(hex);
}

std::string StandardBase64(const QByteArray &data)
{
    std::string out;
    CryptoPP::StringSource(std::string(data.constData(), size_t(data.size())), true,
                           new CryptoPP::Base64Encoder(new CryptoPP::StringSink(out), false));
    return out;
}

class SealTest : public ::testing::Test
{
protected:
    TempFolder folder;
    TZavConfigNat router;
    ZavElementText text = [this](const QString &key) { return router.DocumentFor(key).ReadText(key); };

    void SetUp() override
    {
        ASSERT_TRUE(router.LoadFromFile(folder.File(QStringLiteral("seal.hvk")), true));
        router.BeginUpdate();
        router.WriteString(QStringLiteral("Security\\CatalogLastUpdateDate"), QString::fromUtf8("11.12.2026 Größe"));
        router.WriteValue(QStringLiteral("Security\\Plugin"), QStringLiteral("Count"), QStringLiteral("1"));
        router.WriteString(QStringLiteral("Security\\Plugin\\Plug1\\PluginName"), QStringLiteral("viewer"));
        router.WriteValue(QStringLiteral("Security\\Plugin\\Plug1"), QStringLiteral("Id"), QStringLiteral("{A-1}"));
        router.WriteString(QStringLiteral("Security\\Plugin\\Plug1"), QStringLiteral("x"));
        router.WriteKeyInteger(QStringLiteral("Security\\Aaa"), 7);
        router.EndUpdate();
    }
};

TEST(SealCipherTest, PublishedVectors)
{
    EXPECT_EQ(IdeaEncryptBlock(QByteArray::fromHex("00010002000300040005000600070008"), QByteArray::fromHex("0000000100020003")).toHex(),
              QByteArray("11fbed2b01986de5"));
    EXPECT_EQ(BlowfishEcbEncrypt(QByteArray(8, '\0'), QByteArray(8, '\0')).toHex(), QByteArray("4ef997456198dd78"));
    EXPECT_EQ(Sha1Digest("abc").toHex(), QByteArray("a9993e364706816aba3e25717850c26c9cd0d89d"));
}

TEST(SealCipherTest, ConstantsHaveTheirFixedForm)
{
    EXPECT_EQ(SealSalt().size(), 24);
    EXPECT_EQ(SealIdeaKeyPhrase().size(), 83);
    EXPECT_EQ(SealBlowfishKey().size(), 16);
    EXPECT_EQ(Windows1252ToWide(SealSalt()), QString::fromUtf8("qx7!mörtel#hvk2;äsche*9ß"));
}

TEST(SealBase64Test, LastGroupTakesItsBitsFromThePrecedingGroup)
{
    const struct { const char *data; const char *expected; } cases[] = {
        {"abc", "YWJj"},       // no final group: standard
        {"abcd", "YWJjZG=="},  // one byte: second character from the preceding group's second byte
        {"abcde", "YWJjZGV="}, // two bytes: third character from the preceding group's third byte
        {"abcdef", "YWJjZGVm"},
    };
    for (const auto &c : cases) {
        const QByteArray data(c.data);
        EXPECT_EQ(EncodeSealBase64(data), QString::fromLatin1(c.expected)) << c.data;
        const std::string standard = StandardBase64(data);
        EXPECT_EQ(EncodeSealBase64(data).toStdString() == standard, data.size() % 3 == 0) << c.data;
    }
}

TEST_F(SealTest, BothSealsMatchAnIndependentImplementation)
{
    const QByteArray text0 = ZavSealText(router, text, QStringLiteral("Security"), zsvPruefsumme);
    const QByteArray text1 = ZavSealText(router, text, QStringLiteral("Security"), zsvPruefsummeINET);
    EXPECT_TRUE(text0.startsWith(SealSalt() + "|Aaa->7|CatalogLastUpdateDate->11.12.2026 Gr\xF6\xDF" "e|Plugin->Count|1|Plugin\\Plug1->Id|{A-1}"))
        << text0.toStdString();
    EXPECT_TRUE(text1.startsWith(SealSalt() + "|CatalogLastUpdateDate->11.12.2026 Gr\xF6\xDF" "e|Plugin->Count|1|Plugin\\Plug1->xId|{A-1}|"))
        << text1.toStdString();
    EXPECT_EQ(router.ComputeSeal(QStringLiteral("Security"), zsvPruefsumme), CryptoppSeal0(text0));
    EXPECT_EQ(router.ComputeSeal(QStringLiteral("Security"), zsvPruefsummeINET), CryptoppSeal1(text1));
}

TEST_F(SealTest, SealOfAFixedSectionNeverChanges)
{
    // Guards the three constants: a document sealed once must verify in every later version.
    TZavConfigNat fixed;
    const QString path = folder.File(QStringLiteral("fixed.hvk"));
    WriteBytes(path, "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<HALVREN Version=\"1.1\">\r\n<Security>\r\n"
                     "<CatalogLastUpdateDate>s2026-12-11</CatalogLastUpdateDate>\r\n</Security>\r\n</HALVREN>\r\n");
    ASSERT_TRUE(fixed.LoadFromFile(path, true));
    EXPECT_EQ(fixed.ComputeSeal(QStringLiteral("Security"), zsvPruefsummeINET),
              QStringLiteral("211475AD1DC38F064F0B51A0B8A73D58741A425CA433E107DAC53B5A3D3BDECB"
                             "646CC8478656614549FF716DE4879C6E8C93923797C6D4DDBC40EBE516D21E5D"));
    EXPECT_EQ(fixed.ComputeSeal(QStringLiteral("Security"), zsvPruefsumme),
              QStringLiteral("Fr+/q44w+q2Sy2RopdI7ZDyew/hsEMnO20vP7vmbOEJaB9G1Kesu6ALZ+SwFLqPrZFaC73FXpJxhap=="));
}

TEST_F(SealTest, WhatChangesWhichSeal)
{
    const QString s = QStringLiteral("Security");
    const QString seal0 = router.ComputeSeal(s, zsvPruefsumme);
    const QString seal1 = router.ComputeSeal(s, zsvPruefsummeINET);
    auto seals = [&] { return std::make_pair(router.ComputeSeal(s, zsvPruefsumme), router.ComputeSeal(s, zsvPruefsummeINET)); };

    // Reordering two children: only the document-order seal changes.
    router.DeleteKey(QStringLiteral("Security\\CatalogLastUpdateDate"));
    router.WriteString(QStringLiteral("Security\\CatalogLastUpdateDate"), QString::fromUtf8("11.12.2026 Größe"));
    EXPECT_EQ(seals().first, seal0);
    EXPECT_NE(seals().second, seal1);
    const auto reordered = seals();

    // Only the text of an element that also has attributes: INET only.
    router.WriteString(QStringLiteral("Security\\Plugin\\Plug1"), QStringLiteral("y"));
    EXPECT_EQ(seals().first, reordered.first);
    EXPECT_NE(seals().second, reordered.second);
    const auto textChanged = seals();

    // Only an attribute of that element: both.
    router.WriteValue(QStringLiteral("Security\\Plugin\\Plug1"), QStringLiteral("Id"), QStringLiteral("{A-2}"));
    EXPECT_NE(seals().first, textChanged.first);
    EXPECT_NE(seals().second, textChanged.second);

    // A character outside Windows-1252 seals like "?".
    router.WriteString(QStringLiteral("Security\\Aaa"), QString::fromUtf8("a\u20AC\u4E2D"));
    const auto withChinese = seals();
    router.WriteString(QStringLiteral("Security\\Aaa"), QString::fromUtf8("a\u20AC?"));
    EXPECT_EQ(seals(), withChinese);
}

TEST_F(SealTest, WriteSealThenVerify)
{
    const QString s = QStringLiteral("Security");
    const QString k = QStringLiteral("Security\\Pruefsumme");
    EXPECT_TRUE(router.WriteSeal(s, k));
    EXPECT_TRUE(router.VerifySeal(s));
    // The seal entry itself and attributes of the section element are not covered.
    router.WriteString(k, QStringLiteral("tampered"));
    router.WriteValue(s, QStringLiteral("Other"), QStringLiteral("1"));
    EXPECT_TRUE(router.VerifySeal(s));
    router.WriteString(QStringLiteral("Security\\CatalogLastUpdateDate"), QStringLiteral("changed"));
    EXPECT_FALSE(router.VerifySeal(s));

    // An empty, missing section: the salt alone, and both seals are written.
    EXPECT_TRUE(router.WriteSeal(QStringLiteral("Empty"), QStringLiteral("Empty\\Pruefsumme")));
    EXPECT_EQ(ZavSealText(router, text, QStringLiteral("Empty"), zsvPruefsummeINET), SealSalt());
    EXPECT_FALSE(router.ReadValue(QStringLiteral("Empty"), QStringLiteral("PruefsummeINET")).isEmpty());
}

} // namespace
