// Inputs for the fuzz targets of tests/fuzz, kept by the tests that build
// them: the buffers the host tests lay out, the reports the Wine tests save.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace orvex::test {

// When the environment variable ORVEX_FUZZ_SEEDS names a directory, writes
// the bytes into its sub-directory Target (which must exist), named by
// their hash, so that equal inputs are kept once; empty inputs and those
// over 64 KB are not kept (seeds stay small). Otherwise does nothing.
// tools/fuzz-seeds.sh uses it to renew the seed corpora.
inline void KeepFuzzSeed(const char* target, const std::uint8_t* data, std::size_t size) {
    const char* dir = std::getenv("ORVEX_FUZZ_SEEDS");
    if (!dir || !*dir || size == 0 || size > 64 * 1024) return;
    std::uint64_t hash = 14695981039346656037ull;
    for (std::size_t i = 0; i < size; ++i) hash = (hash ^ data[i]) * 1099511628211ull;
    char name[24];
    std::snprintf(name, sizeof name, "%016llx", static_cast<unsigned long long>(hash));
    const std::string path = std::string(dir) + "/" + target + "/" + name;
    if (std::FILE* f = std::fopen(path.c_str(), "wb")) {
        std::fwrite(data, 1, size, f);
        std::fclose(f);
    }
}

}  // namespace orvex::test
