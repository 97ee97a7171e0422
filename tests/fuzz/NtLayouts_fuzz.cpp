// Every reader of the native system buffers, on arbitrary buffers of one
// layout (ORVEX_FUZZ_BITS is 32 or 64).
#include <cstddef>
#include <cstdint>

#include "platform/pure/Orvex_NtLayouts.h"

namespace {

using namespace orvex::nt;

constexpr TWidth Width = ORVEX_FUZZ_BITS == 64 ? TWidth::Bits64 : TWidth::Bits32;
// The address the buffer pretends to live at: the one the host tests give
// their buffers, so that the seeds' strings point inside them.
constexpr std::uint64_t BufferAddress = Width == TWidth::Bits64 ? 0x7FF612340000ull : 0x00A40000ull;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    ParseSystemProcesses(Width, data, size, BufferAddress);
    ParseKernelModules(Width, data, size);
    ParseHandleTable(Width, data, size);
    ParseExtendedHandleTable(Width, data, size);
    ParseVMCounters(Width, data, size);
    ParseIOCounters(data, size);
    ParseKernelUserTimes(data, size);
    ParseProcessBasicInfo(Width, data, size);
    ParseThreadBasicInfo(Width, data, size);
    for (std::size_t offset : {std::size_t{0}, size / 2, size})
        if (const auto s = ParseCountedString(Width, data, size, offset))
            CountedStringText(*s, data, size, BufferAddress);
    ParseObjectInfoName(Width, data, size, BufferAddress);
    ParsePebProcessParameters(Width, data, size);
    ParsePebLoaderData(Width, data, size);
    if (const auto e = ParseLoaderEntry(Width, data, size)) CountedStringText(e->FullName, data, size, BufferAddress);
    if (const auto s = ParseParamsCommandLine(Width, data, size)) CountedStringText(*s, data, size, BufferAddress);
    if (const auto s = ParseParamsImagePath(Width, data, size)) CountedStringText(*s, data, size, BufferAddress);
    Utf16UpToZero(data, size);
    return 0;
}
