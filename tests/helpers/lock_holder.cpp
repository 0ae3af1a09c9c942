// Test helper: holds an advisory lock on a file until its standard input closes or it
// receives a signal. Usage: lock_holder <path> shared|exclusive
// Prints "locked" once the lock is held, "failed <errno>" when it cannot be taken.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

int main(int argc, char **argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: lock_holder <path> shared|exclusive\n");
        return 2;
    }
    const bool shared = std::strcmp(argv[2], "shared") == 0;
    const int fd = ::open(argv[1], shared ? O_RDONLY : O_RDWR);
    if (fd < 0 || ::flock(fd, (shared ? LOCK_SH : LOCK_EX) | LOCK_NB) != 0) {
        std::printf("failed %d\n", errno);
        return 1;
    }
    std::printf("locked\n");
    std::fflush(stdout);
    char buffer[64];
    while (::read(0, buffer, sizeof buffer) > 0) {
    }
    return 0;
}
