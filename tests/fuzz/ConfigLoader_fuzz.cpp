// libFuzzer target for the configuration document loader.
#include "ConfigLoaderFuzzCase.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const std::string fault = RunConfigLoaderCase(reinterpret_cast<const char *>(data), size);
    if (!fault.empty()) {
        std::fprintf(stderr, "%s\n", fault.c_str());
        std::abort();
    }
    return 0;
}
