#include "platform/pure/Orvex_NameTables.h"

#include "platform/pure/Orvex_TextCase.h"

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

int FindObjectTypeIndex(std::string_view name) {
    for (std::size_t i = 0; i < ObjectTypeNames.size(); ++i)
        if (name == ObjectTypeNames[i]) return static_cast<int>(i);
    return -1;
}

int FindObjectTypeIndexAnyCase(std::string_view name) {
    for (std::size_t i = 0; i < ObjectTypeNames.size(); ++i)
        if (SameText(name, ObjectTypeNames[i])) return static_cast<int>(i);
    return -1;
}

}  // namespace orvex
