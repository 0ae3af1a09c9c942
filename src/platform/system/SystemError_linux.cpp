#include "platform/system/SystemError.h"

#include <cstring>
#include <string.h>

namespace {
thread_local int t_lastSystemError = 0;
} // namespace

int LastSystemError()
{
    return t_lastSystemError;
}

void SetLastSystemError(int nativeError)
{
    t_lastSystemError = nativeError;
}

QString SystemErrorMessage(int nativeError)
{
    char buffer[256] = {};
    // The GNU strerror_r returns a pointer that may or may not be the buffer.
    const char *text = strerror_r(nativeError, buffer, sizeof buffer);
    if (!text || !*text)
        return QString();
    const QString message = QString::fromLocal8Bit(text);
    // glibc answers unknown numbers with "Unknown error N": that is no message.
    if (message.startsWith(QLatin1String("Unknown error")))
        return QString();
    return message;
}
