// Prints 1 when the process counts as the system account (silent mode), else 0.
#include "platform/system/Accounts.h"

#include <cstdio>

int main()
{
    std::printf("%d\n", ProcessRunsAsSystemAccount() ? 1 : 0);
    return 0;
}
