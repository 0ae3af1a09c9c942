// Loads an INI document and reports the outcome, so a test can try it as another user.
// Prints "loaded <value of [S] k>" (exit 0) or the exception message (exit 2).
#include "common/HVException.h"
#include "ui/ini/TBigIniFile.h"

#include <cstdio>

int main(int argc, char **argv)
{
    if (argc < 2)
        return 1;
    try {
        TBigIniFile ini(QString::fromLocal8Bit(argv[1]), false);
        std::printf("loaded %s\n", ini.ReadString("S", "k", "-").toUtf8().constData());
        return 0;
    } catch (const std::exception &e) {
        std::printf("%s\n", ExceptionMessageText(e).toUtf8().constData());
        return 2;
    }
}
