#include "platform/process/CommandLine.h"

QStringList SplitCommandLine(const QString &commandLine)
{
    QStringList arguments;
    const qsizetype length = commandLine.size();
    qsizetype i = 0;
    auto isBlank = [](QChar c) { return c == QLatin1Char(' ') || c == QLatin1Char('\t'); };

    while (true) {
        while (i < length && isBlank(commandLine.at(i)))
            ++i;
        if (i >= length)
            break;

        QString argument;
        bool inQuotes = false;
        while (i < length && (inQuotes || !isBlank(commandLine.at(i)))) {
            const QChar c = commandLine.at(i);
            if (c == QLatin1Char('\\')) {
                qsizetype slashes = 0;
                while (i < length && commandLine.at(i) == QLatin1Char('\\')) {
                    ++slashes;
                    ++i;
                }
                if (i < length && commandLine.at(i) == QLatin1Char('"')) {
                    argument += QString(slashes / 2, QLatin1Char('\\'));
                    if (slashes % 2 == 1) {
                        argument += QLatin1Char('"');
                        ++i;
                    }
                    // An even count leaves the quote to the quote rule below.
                } else {
                    argument += QString(slashes, QLatin1Char('\\'));
                }
                continue;
            }
            if (c == QLatin1Char('"')) {
                if (inQuotes && i + 1 < length && commandLine.at(i + 1) == QLatin1Char('"')) {
                    // The current runtime's rule: a doubled quote inside quotes is a literal one.
                    argument += QLatin1Char('"');
                    i += 2;
                    continue;
                }
                inQuotes = !inQuotes;
                ++i;
                continue;
            }
            argument += c;
            ++i;
        }
        arguments.append(argument);
    }
    return arguments;
}
