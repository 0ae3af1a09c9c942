#include "config/SealCipher.h"

#include "common/HVException.h"

#include <gcrypt.h>
#include <mutex>

namespace {

void InitGcrypt()
{
    static std::once_flag once;
    std::call_once(once, [] {
        if (!gcry_check_version(GCRYPT_VERSION))
            throw HVException(QStringLiteral("libgcrypt: Version passt nicht"));
        // Only public data is processed here; no secure memory is needed.
        gcry_control(GCRYCTL_DISABLE_SECMEM, 0);
        gcry_control(GCRYCTL_INITIALIZATION_FINISHED, 0);
    });
}

void Check(gcry_error_t err, const char *step)
{
    if (err)
        throw HVException(QStringLiteral("libgcrypt %1: %2").arg(QString::fromLatin1(step), QString::fromUtf8(gcry_strerror(err))));
}

QByteArray Encrypt(int algo, int mode, const QByteArray &key, const QByteArray &iv, const QByteArray &data)
{
    InitGcrypt();
    gcry_cipher_hd_t handle = nullptr;
    Check(gcry_cipher_open(&handle, algo, mode, 0), "cipher_open");
    QByteArray out(data.size(), '\0');
    gcry_error_t err = gcry_cipher_setkey(handle, key.constData(), size_t(key.size()));
    if (!err && !iv.isEmpty())
        err = gcry_cipher_setiv(handle, iv.constData(), size_t(iv.size()));
    if (!err && !data.isEmpty())
        err = gcry_cipher_encrypt(handle, out.data(), size_t(out.size()), data.constData(), size_t(data.size()));
    gcry_cipher_close(handle);
    Check(err, "encrypt");
    return out;
}

} // namespace

QByteArray Sha1Digest(const QByteArray &data)
{
    InitGcrypt();
    QByteArray digest(int(gcry_md_get_algo_dlen(GCRY_MD_SHA1)), '\0');
    gcry_md_hash_buffer(GCRY_MD_SHA1, digest.data(), data.constData(), size_t(data.size()));
    return digest;
}

QByteArray IdeaEncryptBlock(const QByteArray &key, const QByteArray &block)
{
    return Encrypt(GCRY_CIPHER_IDEA, GCRY_CIPHER_MODE_ECB, key, QByteArray(), block);
}

QByteArray IdeaCfb8Encrypt(const QByteArray &key, const QByteArray &iv, const QByteArray &data)
{
    return Encrypt(GCRY_CIPHER_IDEA, GCRY_CIPHER_MODE_CFB8, key, iv, data);
}

QByteArray BlowfishEcbEncrypt(const QByteArray &key, const QByteArray &data)
{
    return Encrypt(GCRY_CIPHER_BLOWFISH, GCRY_CIPHER_MODE_ECB, key, QByteArray(), data);
}
