#include "tasks/RestartServiceAfterUpdate.h"

void RestartServiceAfterUpdate(UpdateState &, IUpdateReporter &)
{
}
