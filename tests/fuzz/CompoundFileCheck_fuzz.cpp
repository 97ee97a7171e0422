// The structure check of compound files, on arbitrary files.
#include <cstddef>
#include <cstdint>
#include <span>

#include "storage/pure/Orvex_CompoundFileCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    orvex::IsSoundCompoundFile(std::span<const std::uint8_t>(data, size));
    return 0;
}
