#pragma once

#include <QString>

struct UpdateState;

// The job can run: a host program is named, the staging folder is not the host's own
// folder (the update would copy files onto themselves) and the host's process id is known.
bool UpdateJobIsValid(const UpdateState &state, const QString &stagingFolder);
