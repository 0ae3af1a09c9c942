#include "platform/system/Accounts.h"

#include <unistd.h>

bool ProcessRunsAsSystemAccount()
{
    return geteuid() == 0;
}
