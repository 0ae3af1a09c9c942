#include "common/HVException.h"

HVException::HVException(const QString &message)
    : m_message(message), m_narrow(message.toUtf8())
{
}

QString ExceptionMessageText(const std::exception &e)
{
    if (const auto *hv = dynamic_cast<const HVException *>(&e))
        return hv->WideMessage();
    return QString::fromUtf8(e.what());
}
