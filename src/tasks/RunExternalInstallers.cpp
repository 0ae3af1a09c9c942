#include "tasks/RunExternalInstallers.h"

bool RunExternalInstallers(UpdateState &, IUpdateReporter &, const QStringList &)
{
    return true;
}
