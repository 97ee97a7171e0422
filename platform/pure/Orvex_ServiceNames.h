// Display names of service configuration and status values.
//
// The tables are indexed as the service control manager's values require
// (states from 1, hence minus 1; types through ServiceTypeIndex). The lookup
// functions accept any value and never index out of range: a value without
// a table entry gets "Unknown (<value>)".
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace orvex {

// Service start types, indexed by the start type value.
inline constexpr std::array<const char*, 5> ServiceStartTypeNames{"Boot", "System", "Automatic", "Manual", "Disabled"};

// Service states, indexed by the current state value minus 1.
inline constexpr std::array<const char*, 7> ServiceStateNames{"Stopped", "Start/Pending",    "Stop/Pending",
                                                              "Running", "Continue/Pending", "Pause/Pending",
                                                              "Paused"};

// Error control, indexed by the error control value (0 and 1 only).
inline constexpr std::array<const char*, 2> ServiceErrorControlNames{"Ignore", "Normal"};

// Service types, indexed by a type index; ServiceTypeValues holds the type
// value of each index.
inline constexpr std::array<const char*, 7> ServiceTypeNames{"Kernel Driver",
                                                             "File System Driver",
                                                             "Adapter",
                                                             "Recognizer Driver",
                                                             "Own Process",
                                                             "Shared Process",
                                                             "Desktop Interactive Driver"};
inline constexpr std::array<std::uint32_t, 7> ServiceTypeValues{0x1, 0x2, 0x4, 0x8, 0x10, 0x20, 0x100};

std::string ServiceStartTypeName(std::int64_t startType);
std::string ServiceStateName(std::int64_t state);                // the state value, 1 to 7
std::string ServiceErrorControlName(std::int64_t errorControl);  // also 2 "Severe" and 3 "Critical"
std::string ServiceTypeName(std::int64_t typeIndex);             // the type index, 0 to 6

// The type index of a service type value: exactly one of the values of
// ServiceTypeValues gives its index; any other value, a combination of bits
// included, gives 0.
int ServiceTypeIndex(std::uint32_t serviceType);

}  // namespace orvex
