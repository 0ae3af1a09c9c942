#include "app/UpdateGuard.h"

#include "app/UpdateState.h"

QString HostFolderOf(const QString &hostProgram)
{
    int end = hostProgram.size();
    while (end > 0) {
        const QChar c = hostProgram[end - 1];
        if (c == QLatin1Char('/') || c == QLatin1Char('\\') || c == QLatin1Char(':'))
            break;
        --end;
    }
    QString folder = hostProgram.left(end);
    // Trailing separators go; a drive colon stays ("C:").
    while (folder.endsWith(QLatin1Char('/')) || folder.endsWith(QLatin1Char('\\')))
        folder.chop(1);
    return folder;
}

bool UpdateJobIsValid(const UpdateState &state, const QString &stagingFolder)
{
    if (state.HostProgram.isEmpty())
        return false;
    // Exact, case-sensitive text comparison.
    if (stagingFolder == HostFolderOf(state.HostProgram))
        return false;
    return state.HostProcessId != 0;
}
