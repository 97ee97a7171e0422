#include "engine/OXI_NativeQuery.h"

#include <algorithm>

#include "platform/Orvex_Native.h"

namespace orvex {

namespace {
constexpr std::size_t MaxBuffer = 256u << 20;
constexpr int MaxAttempts = 16;
// The system-process list normally fits into one buffer of this size; it
// doubles (or grows to what the system asks) until it fits.
constexpr std::size_t ProcessBufferStart = 256 * 16568;
}  // namespace

bool QuerySystemInformation(std::uint32_t infoClass, std::size_t initialSize, std::size_t growStep, bool doubleSize,
                            std::vector<std::uint8_t>& buffer) {
    buffer.clear();
    if (!NtQuerySystemInformation) return false;
    std::size_t size = initialSize;
    for (int attempt = 0; attempt < MaxAttempts && size <= MaxBuffer; ++attempt) {
        buffer.assign(size, 0);
        ULONG needed = 0;
        const NTSTATUS status = NtQuerySystemInformation(static_cast<SYSTEM_INFORMATION_CLASS>(infoClass),
                                                         buffer.data(), static_cast<ULONG>(size), &needed);
        if (status == StatusSuccess) {
            if (needed > 0 && needed < size) buffer.resize(needed);
            return true;
        }
        if (!NeedsLargerBuffer(status)) break;
        const std::size_t grown = doubleSize ? size * 2 : size + growStep;
        size = std::max<std::size_t>(grown, needed);
    }
    buffer.clear();
    return false;
}

std::vector<nt::TProcessBlock> QuerySystemProcesses() {
    std::vector<std::uint8_t> buffer;
    if (!QuerySystemInformation(nt::SystemProcessInformation, ProcessBufferStart, 0, true, buffer)) return {};
    return nt::ParseSystemProcesses(buffer.data(), buffer.size());
}

}  // namespace orvex
