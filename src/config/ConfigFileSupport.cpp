#include "config/ConfigFileSupport.h"

#include "common/HVException.h"

#include <QDir>
#include <QFileInfo>

void CreateConfigFolders(const QString &fileName)
{
    const QString folder = QFileInfo(fileName).absolutePath();
    if (!QDir().mkpath(folder))
        throw HVException(folder);
}
