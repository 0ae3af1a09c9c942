#pragma once

#include <QString>

// Gives the open file (native descriptor) the owner and permission bits of the file at
// path, so that a document rewritten through a new file keeps belonging to its user
// (the updater may run as the administrator). Nothing to do when path does not exist.
// Changing the owner needs privileges; without them only the permissions are copied.
bool SystemCopyOwnerAndMode(const QString &path, int handle);
