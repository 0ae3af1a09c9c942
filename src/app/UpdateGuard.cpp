#include "app/UpdateGuard.h"

#include "app/UpdateState.h"
#include "platform/files/PathText.h"

bool UpdateJobIsValid(const UpdateState &state, const QString &stagingFolder)
{
    if (state.HostProgram.isEmpty())
        return false;
    // The host's folder: its path up to the last separator (or drive colon), without
    // trailing separators; compared as exact, case-sensitive text.
    const QString hostFolder = ExcludeTrailingSeparators(ExtractFilePath(state.HostProgram));
    if (stagingFolder == hostFolder)
        return false;
    return state.HostProcessId != 0;
}
