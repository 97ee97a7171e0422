#include "platform/pure/Orvex_NameTables.h"

namespace orvex {

namespace {

template <std::size_t N>
std::string LookupOrUnknown(const std::array<const char*, N>& table, std::int64_t index) {
    if (index >= 0 && static_cast<std::uint64_t>(index) < N) return table[static_cast<std::size_t>(index)];
    return "Unknown (" + std::to_string(index) + ")";
}

}  // namespace

std::string WaitReasonName(std::int64_t waitReason) { return LookupOrUnknown(WaitReasonNames, waitReason); }

std::string ThreadStateName(std::int64_t threadState) { return LookupOrUnknown(ThreadStateNames, threadState); }

std::string ObjectTypeName(std::int64_t typeNumber) {
    if (typeNumber >= 0 && typeNumber < static_cast<std::int64_t>(ObjectTypeNames.size()))
        return ObjectTypeNames[static_cast<std::size_t>(typeNumber)];
    return "Unknown type " + std::to_string(typeNumber);
}

std::string ServiceStartTypeName(std::int64_t startType) { return LookupOrUnknown(ServiceStartTypeNames, startType); }

std::string ServiceStateName(std::int64_t state) {
    if (state >= 1 && state <= static_cast<std::int64_t>(ServiceStateNames.size()))
        return ServiceStateNames[static_cast<std::size_t>(state - 1)];
    return "Unknown (" + std::to_string(state) + ")";
}

std::string ServiceErrorControlName(std::int64_t errorControl) {
    // The table stops at "Normal"; the two stricter levels have their own names.
    if (errorControl == 2) return "Severe";
    if (errorControl == 3) return "Critical";
    return LookupOrUnknown(ServiceErrorControlNames, errorControl);
}

std::string ServiceTypeName(std::int64_t typeIndex) { return LookupOrUnknown(ServiceTypeNames, typeIndex); }

int FindObjectTypeIndex(std::string_view name) {
    for (std::size_t i = 0; i < ObjectTypeNames.size(); ++i)
        if (name == ObjectTypeNames[i]) return static_cast<int>(i);
    return -1;
}

int ServiceTypeIndex(std::uint32_t serviceType) {
    for (std::size_t i = 0; i < ServiceTypeValues.size(); ++i)
        if (serviceType == ServiceTypeValues[i]) return static_cast<int>(i);
    return 0;
}

}  // namespace orvex
