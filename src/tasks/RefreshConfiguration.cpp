#include "tasks/RefreshConfiguration.h"

void RefreshConfiguration(UpdateState &, IUpdateReporter &, const QStringList &, bool)
{
}
