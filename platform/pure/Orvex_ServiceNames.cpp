#include "platform/pure/Orvex_ServiceNames.h"

namespace orvex {

namespace {

std::string Unknown(std::int64_t value) { return "Unknown (" + std::to_string(value) + ")"; }

template <std::size_t N>
std::string Lookup(const std::array<const char*, N>& table, std::int64_t index) {
    if (index >= 0 && static_cast<std::uint64_t>(index) < N) return table[static_cast<std::size_t>(index)];
    return Unknown(index);
}

}  // namespace

std::string ServiceStartTypeName(std::int64_t startType) { return Lookup(ServiceStartTypeNames, startType); }

std::string ServiceStateName(std::int64_t state) {
    if (state < 1) return Unknown(state);
    return state <= static_cast<std::int64_t>(ServiceStateNames.size())
               ? ServiceStateNames[static_cast<std::size_t>(state - 1)]
               : Unknown(state);
}

std::string ServiceErrorControlName(std::int64_t errorControl) {
    // The table stops at "Normal"; the two stricter levels have their own names.
    if (errorControl == 2) return "Severe";
    if (errorControl == 3) return "Critical";
    return Lookup(ServiceErrorControlNames, errorControl);
}

std::string ServiceTypeName(std::int64_t typeIndex) { return Lookup(ServiceTypeNames, typeIndex); }

int ServiceTypeIndex(std::uint32_t serviceType) {
    for (std::size_t i = 0; i < ServiceTypeValues.size(); ++i)
        if (serviceType == ServiceTypeValues[i]) return static_cast<int>(i);
    return 0;
}

}  // namespace orvex
