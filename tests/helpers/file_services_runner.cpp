// Test helper: runs one file service in a process of its own (for example as an
// unprivileged user) and prints its outcome.
//   file_services_runner copy <source> <target>      prints "ok" or the error message
//   file_services_runner locked <path> 0|1           prints "locked" or "free"
//   file_services_runner writable <folder>           prints "writable" or "not writable"
//   file_services_runner waitcursor                  uses a WaitCursor without any application
#include "common/HVException.h"
#include "platform/files/FileChanges.h"
#include "platform/files/FileQueries.h"
#include "platform/files/TempNames.h"
#include "platform/files/WaitCursor.h"

#include <QString>
#include <cstdio>
#include <cstring>

int main(int argc, char **argv)
{
    if (argc == 4 && std::strcmp(argv[1], "copy") == 0) {
        try {
            CopyFileContents(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]));
            std::printf("ok\n");
        } catch (const HVException &e) {
            std::printf("%s\n", e.what());
        }
        return 0;
    }
    if (argc == 4 && std::strcmp(argv[1], "locked") == 0) {
        const bool locked = IsFileLocked(QString::fromLocal8Bit(argv[2]), std::strcmp(argv[3], "1") == 0);
        std::printf(locked ? "locked\n" : "free\n");
        return 0;
    }
    if (argc == 3 && std::strcmp(argv[1], "writable") == 0) {
        std::printf(IsFolderWritable(QString::fromLocal8Bit(argv[2])) ? "writable\n" : "not writable\n");
        return 0;
    }
    if (argc == 2 && std::strcmp(argv[1], "waitcursor") == 0) {
        {
            WaitCursor cursor(Qt::BusyCursor);
        }
        std::printf("ok\n");
        return 0;
    }
    return 2;
}
