// Test helper: holds a file locked the way another program holding a configuration
// document open would. Usage: config_lock_holder FILE shared|exclusive HOLD_MS
// Prints "locked" once the lock is taken, then holds it for HOLD_MS milliseconds.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

int main(int argc, char **argv)
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: config_lock_holder FILE shared|exclusive HOLD_MS\n");
        return 2;
    }
    const bool exclusive = std::strcmp(argv[2], "exclusive") == 0;
    const int fd = open(argv[1], exclusive ? O_RDWR : O_RDONLY);
    if (fd < 0 || flock(fd, exclusive ? LOCK_EX : LOCK_SH) != 0) {
        std::perror("config_lock_holder");
        return 1;
    }
    std::printf("locked\n");
    std::fflush(stdout);
    usleep(useconds_t(std::atol(argv[3])) * 1000);
    close(fd);
    return 0;
}
