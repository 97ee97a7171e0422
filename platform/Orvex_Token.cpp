#include "platform/Orvex_Token.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>

#include "platform/Orvex_Resources.h"
#include "platform/pure/Orvex_SidText.h"

namespace orvex {

namespace {

constexpr int ExtraLookups = 10;
constexpr DWORD NameCapacity = 256;

THandle OpenProcessTokenFor(HANDLE process, DWORD access) {
    THandle token;
    if (!process || !OpenProcessToken(process, access, token.put())) token.release();
    return token;
}

// Name and domain of an account SID. The look-up is repeated while the name
// comes back empty, but not when the system knows no account for the SID.
// Calls counts the look-ups made.
bool LookupAccount(PSID sid, std::string& name, std::string& domain, int& calls) {
    char nameBuf[NameCapacity + 1], domainBuf[NameCapacity + 1];
    for (int attempt = 0; attempt <= ExtraLookups; ++attempt) {
        std::memset(nameBuf, 0, sizeof nameBuf);
        std::memset(domainBuf, 0, sizeof domainBuf);
        DWORD nameLen = NameCapacity, domainLen = NameCapacity;
        SID_NAME_USE use;
        ++calls;
        const BOOL ok = LookupAccountSidA(nullptr, sid, nameBuf, &nameLen, domainBuf, &domainLen, &use);
        if (ok && nameBuf[0] != '\0') {
            name = nameBuf;
            domain = domainBuf;
            return true;
        }
        if (!ok && GetLastError() == ERROR_NONE_MAPPED) break;
    }
    return false;
}

// Whether [p, p + length) lies inside the information buffer.
bool Inside(const TTokenInformation& info, const void* p, std::size_t length) {
    const auto begin = reinterpret_cast<std::uintptr_t>(info.data());
    const auto end = begin + info.size();
    const auto at = reinterpret_cast<std::uintptr_t>(p);
    return at >= begin && at <= end && length <= end - at;
}

// A SID that the buffer holds completely and that is well formed.
bool SidInside(const TTokenInformation& info, PSID sid) {
    // Revision and sub-authority count come first; the rest follows from the count.
    if (!Inside(info, sid, 8)) return false;
    const std::size_t length = 8 + 4 * static_cast<std::size_t>(static_cast<const BYTE*>(sid)[1]);
    return Inside(info, sid, length) && IsValidSid(sid);
}

std::string PrivilegeName(LUID luid, int& calls) {
    char buf[NameCapacity + 1];
    for (int attempt = 0; attempt <= ExtraLookups; ++attempt) {
        std::memset(buf, 0, sizeof buf);
        DWORD len = NameCapacity;
        ++calls;
        if (LookupPrivilegeNameA(nullptr, &luid, buf, &len)) return buf;
    }
    return std::string();
}

std::string PrivilegeDisplayName(const std::string& name, int& calls) {
    if (name.empty()) return std::string();
    char buf[NameCapacity + 1] = {};
    DWORD len = NameCapacity, language = 0;
    ++calls;
    if (!LookupPrivilegeDisplayNameA(nullptr, name.c_str(), buf, &len, &language)) return std::string();
    return buf;
}

// The look-ups of the readers: through the cache when there is one, else
// straight to the system.
bool AccountOf(TTokenLookupCache* lookups, PSID sid, std::string& name, std::string& domain) {
    if (lookups) return lookups->Account(sid, name, domain);
    int calls = 0;
    return LookupAccount(sid, name, domain, calls);
}

std::string PrivilegeNameOf(TTokenLookupCache* lookups, const LUID& luid) {
    if (lookups) return lookups->PrivilegeName(luid);
    int calls = 0;
    return PrivilegeName(luid, calls);
}

std::string DisplayNameOf(TTokenLookupCache* lookups, const std::string& name) {
    if (lookups) return lookups->PrivilegeDisplayName(name);
    int calls = 0;
    return PrivilegeDisplayName(name, calls);
}

bool UserOfToken(HANDLE token, TTokenLookupCache* lookups, std::string& user, std::string& domain) {
    if (!token) return false;
    TTokenInformation info;
    if (!info.read(token, TokenUser, 4096)) return false;
    const auto* tu = static_cast<const TOKEN_USER*>(info.data());
    if (!Inside(info, tu, sizeof *tu) || !SidInside(info, tu->User.Sid)) return false;
    std::string name, dom;
    if (!AccountOf(lookups, tu->User.Sid, name, dom)) {
        name = SidToText(tu->User.Sid);
        dom.clear();
    }
    user = std::move(name);
    domain = std::move(dom);
    return true;
}

bool PrivilegesOfToken(HANDLE token, TTokenLookupCache* lookups, TPrivilegeList& list) {
    if (!token) return false;
    TTokenInformation info;
    if (!info.read(token, TokenPrivileges, 4096)) return false;
    const auto* tp = static_cast<const TOKEN_PRIVILEGES*>(info.data());
    if (!Inside(info, tp, offsetof(TOKEN_PRIVILEGES, Privileges))) return false;
    TPrivilegeList result;
    for (DWORD i = 0; i < tp->PrivilegeCount; ++i) {
        const LUID_AND_ATTRIBUTES* entry = &tp->Privileges[i];
        if (!Inside(info, entry, sizeof *entry)) break;
        TPrivilegeInfo p;
        const std::string name = PrivilegeNameOf(lookups, entry->Luid);
        p.Name = name;
        p.DisplayName = DisplayNameOf(lookups, name);
        p.Attributes = entry->Attributes;
        result.push_back(std::move(p));
    }
    list = std::move(result);
    return true;
}

bool GroupsOfToken(HANDLE token, TTokenLookupCache* lookups, TTokenGroupList& list) {
    if (!token) return false;
    TTokenInformation info;
    if (!info.read(token, TokenGroups, 4096)) return false;
    const auto* groups = static_cast<const TOKEN_GROUPS*>(info.data());
    if (!Inside(info, groups, offsetof(TOKEN_GROUPS, Groups))) return false;
    TTokenGroupList result;
    for (DWORD i = 0; i < groups->GroupCount; ++i) {
        const SID_AND_ATTRIBUTES* entry = &groups->Groups[i];
        if (!Inside(info, entry, sizeof *entry)) break;
        TTokenGroupInfo g;
        g.Attributes = entry->Attributes;
        if (SidInside(info, entry->Sid)) {
            g.SID = SidToText(entry->Sid);
            std::string name, domain;
            if (AccountOf(lookups, entry->Sid, name, domain)) {
                g.Name = name;
                g.Domain = domain;
            }
        }
        result.push_back(std::move(g));
    }
    list = std::move(result);
    return true;
}

}  // namespace

bool TTokenInformation::read(HANDLE token, TOKEN_INFORMATION_CLASS infoClass, DWORD initialSize) {
    DWORD capacity = initialSize ? initialSize : 64;
    // The contents may grow between calls; a few rounds are enough.
    for (int round = 0; round < 8; ++round) {
        std::vector<ULONGLONG> buffer((capacity + sizeof(ULONGLONG) - 1) / sizeof(ULONGLONG));
        DWORD needed = 0;
        if (GetTokenInformation(token, infoClass, buffer.data(), capacity, &needed)) {
            buffer_ = std::move(buffer);
            size_ = needed && needed <= capacity ? needed : capacity;
            return true;
        }
        const DWORD err = GetLastError();
        if (err != ERROR_INSUFFICIENT_BUFFER && err != ERROR_MORE_DATA) return false;
        if (needed <= capacity) {
            if (capacity > 0x100000) return false;
            needed = capacity * 2;
        }
        capacity = needed;
    }
    return false;
}

bool EnablePrivilege(std::string_view name) {
    THandle token = OpenProcessTokenFor(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES);
    if (!token) return false;
    const std::string privilege(name);
    TOKEN_PRIVILEGES tp{};
    if (!LookupPrivilegeValueA(nullptr, privilege.c_str(), &tp.Privileges[0].Luid)) return false;
    tp.PrivilegeCount = 1;
    tp.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    if (!AdjustTokenPrivileges(token.get(), FALSE, &tp, 0, nullptr, nullptr)) return false;
    // A privilege the token does not hold is reported as ERROR_NOT_ALL_ASSIGNED.
    return GetLastError() == ERROR_SUCCESS;
}

bool IsAdministrator() {
    THandle token;
    if (!OpenThreadToken(GetCurrentThread(), TOKEN_QUERY, TRUE, token.put())) {
        token.release();
        if (GetLastError() != ERROR_NO_TOKEN) return false;
        token = OpenProcessTokenFor(GetCurrentProcess(), TOKEN_QUERY);
        if (!token) return false;
    }
    TTokenInformation info;
    if (!info.read(token.get(), TokenGroups, 1024)) return false;
    token.reset();

    SID_IDENTIFIER_AUTHORITY nt = SECURITY_NT_AUTHORITY;
    PSID adminsRaw = nullptr;
    if (!AllocateAndInitializeSid(&nt, 2, SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_ADMINS, 0, 0, 0, 0, 0, 0,
                                  &adminsRaw))
        return false;
    const std::unique_ptr<void, PVOID(WINAPI*)(PSID)> admins(adminsRaw, FreeSid);

    const auto* groups = static_cast<const TOKEN_GROUPS*>(info.data());
    if (!Inside(info, groups, offsetof(TOKEN_GROUPS, Groups))) return false;
    for (DWORD i = 0; i < groups->GroupCount; ++i) {
        const SID_AND_ATTRIBUTES* entry = &groups->Groups[i];
        if (!Inside(info, entry, sizeof *entry)) break;
        if (!SidInside(info, entry->Sid)) continue;
        // A group kept only for denying access grants nothing (a filtered token).
        if (entry->Attributes & SE_GROUP_USE_FOR_DENY_ONLY) continue;
        if (EqualSid(entry->Sid, admins.get())) return true;
    }
    return false;
}

bool ReadTokenUser(HANDLE process, std::string& user, std::string& domain) {
    const THandle token = OpenTokenForQuery(process);
    return UserOfToken(token.get(), nullptr, user, domain);
}

bool ReadTokenPrivileges(HANDLE process, TPrivilegeList& list) {
    const THandle token = OpenTokenForQuery(process);
    return PrivilegesOfToken(token.get(), nullptr, list);
}

bool ReadTokenGroups(HANDLE process, TTokenGroupList& list) {
    const THandle token = OpenTokenForQuery(process);
    return GroupsOfToken(token.get(), nullptr, list);
}

THandle OpenTokenForQuery(HANDLE process) { return OpenProcessTokenFor(process, TOKEN_QUERY); }

bool ReadTokenUser(HANDLE token, TTokenLookupCache& lookups, std::string& user, std::string& domain) {
    return UserOfToken(token, &lookups, user, domain);
}

bool ReadTokenPrivileges(HANDLE token, TTokenLookupCache& lookups, TPrivilegeList& list) {
    return PrivilegesOfToken(token, &lookups, list);
}

bool ReadTokenGroups(HANDLE token, TTokenLookupCache& lookups, TTokenGroupList& list) {
    return GroupsOfToken(token, &lookups, list);
}

void TTokenLookupCache::Count(int calls, bool first) noexcept {
    if (first) lookups_ += calls;
    uncachedLookups_ += calls;
}

bool TTokenLookupCache::Account(PSID sid, std::string& name, std::string& domain) {
    if (!sid || !IsValidSid(sid)) return false;
    const std::string key(static_cast<const char*>(sid), GetLengthSid(sid));
    auto [it, first] = accounts_.try_emplace(key);
    TAccount& a = it->second;
    if (first) a.Resolved = LookupAccount(sid, a.Name, a.Domain, a.Calls);
    Count(a.Calls, first);
    if (!a.Resolved) return false;
    name = a.Name;
    domain = a.Domain;
    return true;
}

const std::string& TTokenLookupCache::PrivilegeName(const LUID& luid) {
    const std::uint64_t key = (static_cast<std::uint64_t>(static_cast<std::uint32_t>(luid.HighPart)) << 32) |
                              luid.LowPart;
    auto [it, first] = privilegeNames_.try_emplace(key);
    if (first) it->second.Value = orvex::PrivilegeName(luid, it->second.Calls);
    Count(it->second.Calls, first);
    return it->second.Value;
}

const std::string& TTokenLookupCache::PrivilegeDisplayName(const std::string& name) {
    auto [it, first] = displayNames_.try_emplace(name);
    if (first) it->second.Value = orvex::PrivilegeDisplayName(name, it->second.Calls);
    Count(it->second.Calls, first);
    return it->second.Value;
}

std::string SidToText(PSID sid) {
    if (!sid || !IsValidSid(sid)) return std::string();
    const SID_IDENTIFIER_AUTHORITY* authority = GetSidIdentifierAuthority(sid);
    TSidAuthority bytes{};
    std::memcpy(bytes.data(), authority->Value, bytes.size());
    const BYTE count = *GetSidSubAuthorityCount(sid);
    std::vector<std::uint32_t> subs;
    subs.reserve(count);
    for (BYTE i = 0; i < count; ++i) subs.push_back(*GetSidSubAuthority(sid, i));
    return SidText(static_cast<const SID*>(sid)->Revision, bytes, subs);
}

}  // namespace orvex
