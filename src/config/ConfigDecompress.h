#pragma once

#include <QByteArray>
#include <QString>

// True when the bytes start with a gzip signature or a zlib header (0x78 followed by
// 0x01, 0x9C or 0xDA).
bool IsCompressedConfig(const QByteArray &bytes);

// Inflates gzip or zlib data in place. On failure (damaged data, or more than
// kMaxInflatedConfigSize bytes of output) returns false with a reason in error and
// leaves bytes unchanged.
constexpr qint64 kMaxInflatedConfigSize = qint64(1) << 30;
bool InflateConfig(QByteArray &bytes, QString &error);
