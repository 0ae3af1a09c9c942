// Stands in for the catalogue application in tests and in the demo.
//   sample_host [--run-ms N] [--observe FILE OUT]
//                                     runs until SIGTERM/SIGINT or for N ms (default 60000);
//                                     with --observe copies FILE's content to OUT as it ends,
//                                     so a test sees whether FILE was replaced while it ran
//   sample_host --record FILE ARGS... writes ARGS to FILE, each followed by a NUL byte, and ends
//   sample_host --record-cwd FILE     writes its current folder to FILE and ends
// A running sample_host keeps its program file busy, as a running host does.
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>
#include <unistd.h>

namespace {
volatile std::sig_atomic_t g_stop = 0;
void OnSignal(int) { g_stop = 1; }
} // namespace

int main(int argc, char **argv)
{
    if (argc >= 3 && std::strcmp(argv[1], "--record") == 0) {
        FILE *out = std::fopen(argv[2], "wb");
        if (!out)
            return 2;
        for (int i = 3; i < argc; ++i)
            std::fwrite(argv[i], 1, std::strlen(argv[i]) + 1, out);
        return std::fclose(out) == 0 ? 0 : 2;
    }
    if (argc >= 3 && std::strcmp(argv[1], "--record-cwd") == 0) {
        char cwd[4096];
        FILE *out = std::fopen(argv[2], "wb");
        if (!out || !getcwd(cwd, sizeof cwd))
            return 2;
        std::fputs(cwd, out);
        return std::fclose(out) == 0 ? 0 : 2;
    }
    long runMs = 60000;
    const char *observed = nullptr;
    const char *observation = nullptr;
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::strcmp(argv[i], "--run-ms") == 0) {
            runMs = std::atol(argv[++i]);
        } else if (std::strcmp(argv[i], "--observe") == 0 && i + 2 < argc) {
            observed = argv[++i];
            observation = argv[++i];
        }
    }
    std::signal(SIGTERM, OnSignal);
    std::signal(SIGINT, OnSignal);
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(runMs);
    while (!g_stop && std::chrono::steady_clock::now() < end)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    if (observed) {
        FILE *in = std::fopen(observed, "rb");
        FILE *out = std::fopen(observation, "wb");
        if (!in || !out)
            return 3;
        char buffer[4096];
        size_t n;
        while ((n = std::fread(buffer, 1, sizeof buffer, in)) > 0)
            std::fwrite(buffer, 1, n, out);
        std::fclose(in);
        std::fclose(out);
    }
    return 0;
}
