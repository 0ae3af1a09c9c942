// Test helper: a program file that carries a version text in its ELF section
// ".qxversion", as the updater and its language plugins do.
#include <cstdio>

__attribute__((section(".qxversion"), used)) static const char kVersion[] = "FileVersion=4.12.0.7";

int main()
{
    std::printf("%s\n", kVersion);
    return 0;
}
