#pragma once

#include <QString>

// File services the configuration store needs beside the shared-file access.
// Creates the folders of a file's path that are missing; raises with the folder name
// when that is not possible.
void CreateConfigFolders(const QString &fileName);
