// Test helper: calls DeleteFilesLater(folder, files...) and exits at once, as the
// updater does at its end. Usage: delete_later_runner <folder> <file>...
// Exit code 0 when the deletion script was started.
#include "platform/files/DeleteFilesLater.h"

#include <QCoreApplication>
#include <QStringList>

int main(int argc, char **argv)
{
    if (argc < 2)
        return 2;
    QStringList files;
    for (int i = 2; i < argc; ++i)
        files.append(QString::fromLocal8Bit(argv[i]));
    return DeleteFilesLater(QString::fromLocal8Bit(argv[1]), files) ? 0 : 1;
}
