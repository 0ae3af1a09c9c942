#include "platform/files/TextFileEncoding.h"

#include <QDir>
#include <QIODevice>

TTextEncoding DetectTextEncoding(const char *data, qint64 size, int &markLength)
{
    const auto *p = reinterpret_cast<const unsigned char *>(data);
    markLength = 0;
    if (size >= 3 && p[0] == 0xEF && p[1] == 0xBB && p[2] == 0xBF) {
        markLength = 3;
        return TTextEncoding::Utf8;
    }
    if (size >= 2 && p[0] == 0xFF && p[1] == 0xFE) {
        markLength = 2;
        return TTextEncoding::Utf16LE;
    }
    if (size >= 2 && p[0] == 0xFE && p[1] == 0xFF) {
        markLength = 2;
        return TTextEncoding::Utf16BE;
    }
    return TTextEncoding::None;
}

TTextEncoding DetectTextEncoding(QIODevice &stream)
{
    if (!stream.seek(0))
        return TTextEncoding::None;
    const QByteArray head = stream.read(3);
    int markLength = 0;
    const TTextEncoding encoding = DetectTextEncoding(head.constData(), head.size(), markLength);
    stream.seek(markLength);
    return encoding;
}

bool IsUtf8Bom(QIODevice &stream)
{
    if (!stream.seek(0))
        return false;
    const QByteArray head = stream.read(3);
    if (head == QByteArrayLiteral("\xEF\xBB\xBF"))
        return true;
    stream.seek(0);
    return false;
}

QString CannotOpenFileMessage(const QString &path)
{
    return QStringLiteral("Cannot open file %1").arg(QDir::toNativeSeparators(path));
}

QString CannotCreateFileMessage(const QString &path)
{
    return QStringLiteral("Cannot create file %1").arg(QDir::toNativeSeparators(path));
}
