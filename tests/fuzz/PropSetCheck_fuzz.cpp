// The layout check of property-set streams, on arbitrary streams.
#include <cstddef>
#include <cstdint>
#include <span>

#include "storage/pure/Orvex_PropSetCheck.h"

namespace {

// The code pages a Western and a Japanese system convert from.
bool UsableCodePage(std::uint32_t codePage) { return codePage == 1252 || codePage == 932; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    orvex::IsSoundPropertySetStream(std::span<const std::uint8_t>(data, size), UsableCodePage);
    return 0;
}
