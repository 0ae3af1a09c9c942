// qxconfig: inspect and change a configuration document from the command line,
// through the same access object the updater uses. Errors go to standard error with
// exit code 2; "verify" exits 1 when the seal does not match.
#include "common/HVException.h"
#include "config/ConfigHooks.h"
#include "config/TZavConfigExe.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QStringList>
#include <cstdio>

namespace {

const char kUsage[] =
    "usage: qxconfig read FILE KEY [DEFAULT]      print a string value\n"
    "       qxconfig write FILE KEY TEXT          store a string value\n"
    "       qxconfig value FILE KEY NAME          print a named value\n"
    "       qxconfig set-value FILE KEY NAME TEXT store a named value\n"
    "       qxconfig list FILE KEY                print a list value, one item per line\n"
    "       qxconfig keys FILE KEY                print all keys below KEY\n"
    "       qxconfig seal FILE SECTION            write both seals of SECTION\n"
    "       qxconfig verify FILE SECTION          exit 0 when the seal matches, 1 when not\n"
    "Keys use backslashes, as in the document (A\\B\\C).\n";

struct Command
{
    const char *name;
    int minArgs; // after FILE
    int maxArgs;
    bool writes; // may create the document
};

const Command kCommands[] = {
    {"read", 1, 2, false},  {"write", 2, 2, true}, {"value", 2, 2, false}, {"set-value", 3, 3, true},
    {"list", 1, 1, false},  {"keys", 1, 1, false}, {"seal", 1, 1, true},   {"verify", 1, 1, false},
};

void PrintLine(const QString &text)
{
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
    std::fputc('\n', stdout);
}

int Fail(const QString &message)
{
    std::fprintf(stderr, "qxconfig: %s\n", message.toUtf8().constData());
    return 2;
}

void ReportParseErrors(const QStringList &lines)
{
    for (const QString &line : lines)
        std::fprintf(stderr, "qxconfig: %s\n", line.toUtf8().constData());
}

void ReportMessage(ConfigMessageKind, const QString &text)
{
    std::fprintf(stderr, "qxconfig: %s\n", text.toUtf8().constData());
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    SetConfigParseErrorHook(&ReportParseErrors);
    SetConfigMessageHook(&ReportMessage);

    const QStringList args = app.arguments().mid(1);
    if (args.size() < 3) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    const Command *command = nullptr;
    for (const Command &c : kCommands)
        if (args[0] == QLatin1String(c.name))
            command = &c;
    const int rest = int(args.size()) - 2;
    if (!command || rest < command->minArgs || rest > command->maxArgs) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    const QString file = args[1];
    const QString key = args[2];
    // Reading never creates a document that is not there.
    if (!command->writes && !QFileInfo::exists(file))
        return Fail(QStringLiteral("Datei nicht gefunden: ") + file);

    try {
        TZavConfigExe config;
        config.LoadFromFile(file, true);
        const QString name = args[0];
        if (name == QLatin1String("read")) {
            PrintLine(config.ReadString(key, rest > 1 ? args[3] : QString()));
        } else if (name == QLatin1String("write")) {
            config.WriteString(key, args[3]);
        } else if (name == QLatin1String("value")) {
            PrintLine(config.ReadValue(key, args[3]));
        } else if (name == QLatin1String("set-value")) {
            config.WriteValue(key, args[3], args[4]);
        } else if (name == QLatin1String("list") || name == QLatin1String("keys")) {
            QStringList items;
            if (name == QLatin1String("list"))
                config.ReadStringList(key, items);
            else
                config.ReadAllSubKeys(key, items);
            for (const QString &item : std::as_const(items))
                PrintLine(item);
        } else if (name == QLatin1String("seal")) {
            config.BeginUpdate();
            try {
                config.WriteSeal(key, key + QStringLiteral("\\Pruefsumme"));
            } catch (...) {
                config.EndUpdate();
                throw;
            }
            config.EndUpdate();
        } else {
            return config.VerifySeal(key) ? 0 : 1;
        }
    } catch (const std::exception &e) {
        return Fail(ExceptionMessageText(e));
    }
    return std::fflush(stdout) == 0 ? 0 : 2;
}
