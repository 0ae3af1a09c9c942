#pragma once

#include <QStringList>

class IUpdateReporter;
struct UpdateState;

// Runs the external installers that came with the update; false when one of them failed.
// Runs nothing yet (the installer run is not built) and so reports success.
bool RunExternalInstallers(UpdateState &state, IUpdateReporter &reporter, const QStringList &updatedFiles);
