// Points in time of the system's clock and of files, as counts of 100-ns
// units since 1601-01-01 (UTC).
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

namespace orvex {

inline std::int64_t FileTimeCount(const FILETIME& t) noexcept {
    return static_cast<std::int64_t>((static_cast<std::uint64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime);
}

// The present moment.
std::int64_t UtcNow() noexcept;

// The last write of the file fileName names (a name without wildcards), as
// its folder lists it: the file is not opened, so no sharing mode of its
// owner stands in the way. The system's error, and written left as it is, on
// failure.
DWORD FileWriteTime(const std::string& fileName, std::int64_t& written);

}  // namespace orvex
