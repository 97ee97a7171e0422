// Access tokens: enabling a privilege in the program's own token, the
// administrator check, and the user, privileges and groups of a process's
// token. The process handles are the caller's (opened with at least
// PROCESS_QUERY_INFORMATION) and are not closed here.
#pragma once

#include <windows.h>

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Orvex_Resources.h"
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

// The answers of the account and privilege look-ups, remembered for one pass
// over many tokens: the processes of a system share a handful of accounts
// and privileges. A look-up that failed is remembered too (the system would
// give the same answer again); each first look-up keeps its own repetitions.
class TTokenLookupCache {
public:
    // Name and domain of an account SID; false when it does not resolve.
    bool Account(PSID sid, std::string& name, std::string& domain);
    // Programmatic name of a privilege; empty when unknown.
    const std::string& PrivilegeName(const LUID& luid);
    // Descriptive name of a programmatic privilege name; empty when unknown.
    const std::string& PrivilegeDisplayName(const std::string& name);

    // Look-up calls made to the system, and those that asking the system for
    // every answer would have made.
    long Lookups() const noexcept { return lookups_; }
    long UncachedLookups() const noexcept { return uncachedLookups_; }

private:
    struct TAccount {
        bool Resolved = false;
        std::string Name, Domain;
        int Calls = 0;
    };
    template <class T>
    struct TAnswer {
        T Value;
        int Calls = 0;
    };
    void Count(int calls, bool first) noexcept;

    std::map<std::string, TAccount> accounts_;                      // by the SID's bytes
    std::map<std::uint64_t, TAnswer<std::string>> privilegeNames_;  // by the LUID
    std::map<std::string, TAnswer<std::string>> displayNames_;
    long lookups_ = 0;
    long uncachedLookups_ = 0;
};

// Opens a process's token for reading (TOKEN_QUERY); an empty handle when it
// cannot be opened.
THandle OpenTokenForQuery(HANDLE process);

// The readers above for a token the caller opened with TOKEN_QUERY, taking
// the look-up answers from the cache. Same results and failures.
bool ReadTokenUser(HANDLE token, TTokenLookupCache& lookups, std::string& user, std::string& domain);
bool ReadTokenPrivileges(HANDLE token, TTokenLookupCache& lookups, TPrivilegeList& list);
bool ReadTokenGroups(HANDLE token, TTokenLookupCache& lookups, TTokenGroupList& list);

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
