#pragma once

#include <QStringList>

class IUpdateReporter;
struct UpdateState;

// Brings the host's configuration document up to date after the files were replaced;
// with recordUpdate also records the installed update number. Does nothing yet: the
// configuration refresh is not built.
void RefreshConfiguration(UpdateState &state, IUpdateReporter &reporter, const QStringList &updatedFiles,
                          bool recordUpdate);
