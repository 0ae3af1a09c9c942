#pragma once

// The file and path services in one include.
#include "platform/files/DeleteFilesLater.h"
#include "platform/files/FileChanges.h"
#include "platform/files/FileListing.h"
#include "platform/files/FileQueries.h"
#include "platform/files/PathText.h"
#include "platform/files/TempNames.h"
#include "platform/files/Versions.h"
#include "platform/files/WaitCursor.h"
