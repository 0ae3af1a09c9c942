#pragma once

#include <QByteArray>
#include <QString>
#include <exception>

// The one exception class of the program. It carries the wide message that is
// shown to the user; what() gives the same text as UTF-8 for generic handlers.
class HVException : public std::exception
{
public:
    explicit HVException(const QString &message);

    const QString &WideMessage() const noexcept { return m_message; }
    const char *what() const noexcept override { return m_narrow.constData(); }

private:
    QString m_message;
    QByteArray m_narrow;
};

// The wide text of an HVException, otherwise the exception's 8-bit message widened.
QString ExceptionMessageText(const std::exception &e);
