// Access tokens: enabling a privilege in the program's own token, the
// administrator check, and the user, privileges and groups of a process's
// token. The process handles are the caller's (opened with at least
// PROCESS_QUERY_INFORMATION) and are not closed here.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

#include "platform/pure/Orvex_TokenRecords.h"

namespace orvex {

// Enables a privilege ("SeDebugPrivilege") in the current process's token.
// True only when the token holds it and it is now enabled.
bool EnablePrivilege(std::string_view name);

// Whether the current thread's token (or, without one, the process's token)
// holds the local Administrators group (S-1-5-32-544) other than for denying.
bool IsAdministrator();

// The account of the process's token. An account that cannot be resolved
// gives its SID text as User and an empty Domain. False, with User and
// Domain untouched, when the token cannot be read.
bool ReadTokenUser(HANDLE process, std::string& user, std::string& domain);

// The privileges of the process's token in the token's order, with their
// programmatic and display names. False, with List untouched, when the
// token cannot be read.
bool ReadTokenPrivileges(HANDLE process, TPrivilegeList& list);

// The groups of the process's token in the token's order, with their SID
// text and, when the account resolves, domain and name. False, with List
// untouched, when the token cannot be read.
bool ReadTokenGroups(HANDLE process, TTokenGroupList& list);

// "S-1-5-18"; empty for a null or malformed SID.
std::string SidToText(PSID sid);

// Token information of one class, in a buffer that grows to what the token
// holds (starting with initialSize bytes). False, with Data untouched, when
// the token cannot be queried.
class TTokenInformation {
public:
    bool read(HANDLE token, TOKEN_INFORMATION_CLASS infoClass, DWORD initialSize);
    const void* data() const noexcept { return buffer_.data(); }
    DWORD size() const noexcept { return size_; }

private:
    std::vector<ULONGLONG> buffer_;  // 8-byte alignment for the records inside
    DWORD size_ = 0;
};

}  // namespace orvex
