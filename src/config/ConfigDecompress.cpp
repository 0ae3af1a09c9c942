#include "config/ConfigDecompress.h"

#include <zlib.h>

bool IsCompressedConfig(const QByteArray &bytes)
{
    if (bytes.size() < 2)
        return false;
    const auto b0 = static_cast<unsigned char>(bytes[0]);
    const auto b1 = static_cast<unsigned char>(bytes[1]);
    if (b0 == 0x1F && b1 == 0x8B)
        return true;
    return b0 == 0x78 && (b1 == 0x01 || b1 == 0x9C || b1 == 0xDA);
}

bool InflateConfig(QByteArray &bytes, QString &error)
{
    z_stream stream{};
    // 15 + 32: the largest window, with automatic detection of the gzip or zlib header.
    if (inflateInit2(&stream, 15 + 32) != Z_OK) {
        error = QStringLiteral("zlib: inflateInit2 failed");
        return false;
    }
    QByteArray out;
    out.resize(qMax<qsizetype>(4096, bytes.size() * 4));
    stream.next_in = reinterpret_cast<Bytef *>(bytes.data());
    stream.avail_in = uInt(bytes.size());
    int rc = Z_OK;
    while (rc != Z_STREAM_END) {
        if (qint64(stream.total_out) == out.size()) {
            if (out.size() >= kMaxInflatedConfigSize) {
                error = QStringLiteral("Dekomprimierte Datei zu groß");
                inflateEnd(&stream);
                return false;
            }
            out.resize(qMin<qint64>(out.size() * 2, kMaxInflatedConfigSize));
        }
        stream.next_out = reinterpret_cast<Bytef *>(out.data()) + stream.total_out;
        stream.avail_out = uInt(out.size() - qsizetype(stream.total_out));
        rc = inflate(&stream, Z_NO_FLUSH);
        if (rc == Z_BUF_ERROR && stream.avail_in == 0) {
            error = QStringLiteral("zlib: unerwartetes Ende der komprimierten Daten");
            inflateEnd(&stream);
            return false;
        }
        if (rc != Z_OK && rc != Z_STREAM_END && rc != Z_BUF_ERROR) {
            error = QStringLiteral("zlib: %1").arg(QString::fromLatin1(stream.msg ? stream.msg : "inflate failed"));
            inflateEnd(&stream);
            return false;
        }
    }
    out.resize(qsizetype(stream.total_out));
    inflateEnd(&stream);
    bytes = out;
    return true;
}
