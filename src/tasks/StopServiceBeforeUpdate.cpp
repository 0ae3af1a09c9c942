#include "tasks/StopServiceBeforeUpdate.h"

void StopServiceBeforeUpdate(UpdateState &, IUpdateReporter &)
{
}
