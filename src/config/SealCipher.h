#pragma once

#include <QByteArray>

// The published algorithms the seals use, from libgcrypt. Failures of the library
// raise an HVException naming the step.

QByteArray Sha1Digest(const QByteArray &data);
// One 8-byte block under a 16-byte IDEA key (ECB).
QByteArray IdeaEncryptBlock(const QByteArray &key, const QByteArray &block);
// IDEA in CFB mode with 8-bit feedback: each byte is XORed with the first byte of the
// encrypted shift register, which then takes in the ciphertext byte.
QByteArray IdeaCfb8Encrypt(const QByteArray &key, const QByteArray &iv, const QByteArray &data);
// Blowfish in ECB mode; data must be a multiple of 8 bytes long.
QByteArray BlowfishEcbEncrypt(const QByteArray &key, const QByteArray &data);
