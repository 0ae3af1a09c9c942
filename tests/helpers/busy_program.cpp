// Test helper: a program whose file is in use while it runs. Prints "ready" and runs
// until its standard input closes (or a signal ends it).
#include <cstdio>
#include <unistd.h>

int main()
{
    std::printf("ready\n");
    std::fflush(stdout);
    char buffer[64];
    while (::read(0, buffer, sizeof buffer) > 0) {
    }
    return 0;
}
