// Privileges and groups of a process token, in the token's own order.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/pure/Orvex_ShortString.h"

namespace orvex {

struct TPrivilegeInfo {
    TShortString Name;             // programmatic name, "SeDebugPrivilege"
    TShortString DisplayName;      // descriptive name in the user's language
    std::uint32_t Attributes = 0;  // 0x1 enabled by default, 0x2 enabled, 0x80000000 used for access
    friend bool operator==(const TPrivilegeInfo&, const TPrivilegeInfo&) = default;
};
using TPrivilegeList = std::vector<TPrivilegeInfo>;

struct TTokenGroupInfo {
    TShortString SID;     // "S-1-5-32-544"
    TShortString Domain;  // empty when the account cannot be resolved
    TShortString Name;    // empty when the account cannot be resolved
    std::uint32_t Attributes = 0;
    friend bool operator==(const TTokenGroupInfo&, const TTokenGroupInfo&) = default;
};
using TTokenGroupList = std::vector<TTokenGroupInfo>;

}  // namespace orvex
