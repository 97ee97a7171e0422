#include <gtest/gtest.h>

#include <windows.h>
#include <sddl.h>

#include <algorithm>
#include <string>

#include "engine/OXI_Collectors.h"
#include "platform/Orvex_Resources.h"
#include "platform/Orvex_Token.h"
#include "tests/wine/support/HelperProcess.h"

using namespace orvex;

namespace {

// A well-known SID in a buffer of its own.
struct TWellKnownSid {
    explicit TWellKnownSid(WELL_KNOWN_SID_TYPE type) {
        DWORD size = sizeof buf;
        ok = CreateWellKnownSid(type, nullptr, buf, &size) != FALSE;
    }
    PSID get() { return buf; }
    BYTE buf[SECURITY_MAX_SID_SIZE] = {};
    bool ok = false;
};

std::string PlatformSidText(PSID sid) {
    char* text = nullptr;
    if (!ConvertSidToStringSidA(sid, &text)) return "(none)";
    const std::string s = text;
    LocalFree(text);
    return s;
}

std::string CurrentUserName() {
    char buf[256] = {};
    DWORD size = sizeof buf;
    return GetUserNameA(buf, &size) ? buf : "";
}

std::string DomainOfAccount(const std::string& account) {
    BYTE sid[SECURITY_MAX_SID_SIZE];
    DWORD sidSize = sizeof sid;
    char domain[256] = {};
    DWORD domainSize = sizeof domain;
    SID_NAME_USE use;
    return LookupAccountNameA(nullptr, account.c_str(), sid, &sidSize, domain, &domainSize, &use) ? domain : "";
}

THandle OpenQuery(DWORD pid, DWORD access = PROCESS_QUERY_INFORMATION) {
    return THandle(OpenProcess(access, FALSE, pid));
}

THandle OwnToken(DWORD access) {
    THandle token;
    if (!OpenProcessToken(GetCurrentProcess(), access, token.put())) token.release();
    return token;
}

const TPrivilegeInfo* FindPrivilege(const TPrivilegeList& list, const char* name) {
    auto it = std::find_if(list.begin(), list.end(), [&](const TPrivilegeInfo& p) { return p.Name == name; });
    return it == list.end() ? nullptr : &*it;
}

// The groups of a process compared entry by entry with the token itself.
void ExpectGroupsOfToken(HANDLE process) {
    TTokenGroupList groups;
    ASSERT_TRUE(ReadTokenGroups(process, groups));
    THandle token;
    ASSERT_TRUE(OpenProcessToken(process, TOKEN_QUERY, token.put()));
    TTokenInformation info;
    ASSERT_TRUE(info.read(token.get(), TokenGroups, 4096));
    const auto* tg = static_cast<const TOKEN_GROUPS*>(info.data());
    ASSERT_EQ(groups.size(), tg->GroupCount);
    for (DWORD i = 0; i < tg->GroupCount; ++i) {
        EXPECT_EQ(groups[i].SID.str(), PlatformSidText(tg->Groups[i].Sid)) << i;
        EXPECT_EQ(groups[i].Attributes, tg->Groups[i].Attributes) << i;
    }
    auto admins = std::find_if(groups.begin(), groups.end(), [](auto& g) { return g.SID == "S-1-5-32-544"; });
    ASSERT_NE(admins, groups.end());
    EXPECT_EQ(admins->Name, "Administrators");
    EXPECT_EQ(admins->Domain, "BUILTIN");
    auto everyone = std::find_if(groups.begin(), groups.end(), [](auto& g) { return g.SID == "S-1-1-0"; });
    ASSERT_NE(everyone, groups.end());
    EXPECT_EQ(everyone->Name, "Everyone");
    // The logon session's SID names no account.
    auto logon = std::find_if(groups.begin(), groups.end(), [](auto& g) { return g.Attributes & SE_GROUP_LOGON_ID; });
    ASSERT_NE(logon, groups.end());
    EXPECT_EQ(logon->SID.str().rfind("S-1-5-5-", 0), 0u) << logon->SID.str();
    EXPECT_TRUE(logon->Name.empty());
    EXPECT_TRUE(logon->Domain.empty());
}

void ExpectPrivilegesOfToken(HANDLE process) {
    TPrivilegeList privileges;
    ASSERT_TRUE(ReadTokenPrivileges(process, privileges));
    THandle token;
    ASSERT_TRUE(OpenProcessToken(process, TOKEN_QUERY, token.put()));
    TTokenInformation info;
    ASSERT_TRUE(info.read(token.get(), TokenPrivileges, 4096));
    const auto* tp = static_cast<const TOKEN_PRIVILEGES*>(info.data());
    ASSERT_EQ(privileges.size(), tp->PrivilegeCount);
    ASSERT_GT(privileges.size(), 0u);
    for (DWORD i = 0; i < tp->PrivilegeCount; ++i) {
        // Each name stands for the privilege at its place.
        LUID luid{};
        ASSERT_TRUE(LookupPrivilegeValueA(nullptr, privileges[i].Name.c_str(), &luid)) << privileges[i].Name.str();
        EXPECT_EQ(luid.LowPart, tp->Privileges[i].Luid.LowPart) << privileges[i].Name.str();
        EXPECT_EQ(luid.HighPart, tp->Privileges[i].Luid.HighPart);
        EXPECT_EQ(privileges[i].Attributes, tp->Privileges[i].Attributes);
        char display[256] = {};
        DWORD size = sizeof display, language = 0;
        const bool known = LookupPrivilegeDisplayNameA(nullptr, privileges[i].Name.c_str(), display, &size, &language);
        EXPECT_EQ(privileges[i].DisplayName, known ? display : "");
    }
    EXPECT_NE(FindPrivilege(privileges, "SeChangeNotifyPrivilege"), nullptr);
    EXPECT_NE(FindPrivilege(privileges, "SeDebugPrivilege"), nullptr);
}

}  // namespace

TEST(TokenSidText, WellKnownSids) {
    struct {
        WELL_KNOWN_SID_TYPE type;
        const char* text;
    } cases[] = {{WinWorldSid, "S-1-1-0"},
                 {WinLocalSystemSid, "S-1-5-18"},
                 {WinBuiltinAdministratorsSid, "S-1-5-32-544"},
                 {WinBuiltinUsersSid, "S-1-5-32-545"},
                 {WinInteractiveSid, "S-1-5-4"}};
    for (auto& c : cases) {
        TWellKnownSid sid(c.type);
        ASSERT_TRUE(sid.ok) << c.text;
        EXPECT_EQ(SidToText(sid.get()), c.text);
        EXPECT_EQ(SidToText(sid.get()), PlatformSidText(sid.get()));
    }
}

TEST(TokenSidText, DomainAccountWithLargeSubAuthorities) {
    PSID raw = nullptr;
    SID_IDENTIFIER_AUTHORITY nt = SECURITY_NT_AUTHORITY;
    ASSERT_TRUE(AllocateAndInitializeSid(&nt, 5, 21, 3000000000u, 4294967295u, 2147483648u, 1001, 0, 0, 0, &raw));
    EXPECT_EQ(SidToText(raw), "S-1-5-21-3000000000-4294967295-2147483648-1001");
    EXPECT_EQ(SidToText(raw), PlatformSidText(raw));
    FreeSid(raw);
}

TEST(TokenSidText, MultiByteAuthority) {
    PSID raw = nullptr;
    SID_IDENTIFIER_AUTHORITY a{{0, 0, 0, 0, 1, 0}};
    ASSERT_TRUE(AllocateAndInitializeSid(&a, 1, 7, 0, 0, 0, 0, 0, 0, 0, &raw));
    EXPECT_EQ(SidToText(raw), "S-1-256-7");
    EXPECT_EQ(SidToText(raw), PlatformSidText(raw));
    FreeSid(raw);
}

TEST(TokenSidText, NullAndMalformedSids) {
    EXPECT_EQ(SidToText(nullptr), "");
    BYTE bad[16] = {7, 1, 0, 0, 0, 0, 0, 5, 18, 0, 0, 0};  // revision 7
    EXPECT_EQ(SidToText(bad), "");
}

TEST(TokenUser, OwnProcess) {
    std::string user, domain;
    ASSERT_TRUE(ReadTokenUser(GetCurrentProcess(), user, domain));
    EXPECT_FALSE(user.empty());
    EXPECT_EQ(user, CurrentUserName());
    EXPECT_EQ(domain, DomainOfAccount(user));
    EXPECT_FALSE(domain.empty());
}

TEST(TokenUser, HelperProcess) {
    test::THelperProcess helper("--no-window");
    ASSERT_TRUE(helper.started());
    THandle process = OpenQuery(helper.pid());
    ASSERT_TRUE(process);
    std::string user = "keep", domain = "keep";
    ASSERT_TRUE(ReadTokenUser(process.get(), user, domain));
    EXPECT_EQ(user, CurrentUserName());
    EXPECT_EQ(domain, DomainOfAccount(user));
}

TEST(TokenUser, UnreadableTokenLeavesOutputs) {
    // Handles that name no process: an event, and none at all.
    THandle event(CreateEventA(nullptr, TRUE, FALSE, nullptr));
    ASSERT_TRUE(event);
    for (HANDLE notAProcess : {event.get(), static_cast<HANDLE>(nullptr)}) {
        std::string user = "keep", domain = "keep";
        EXPECT_FALSE(ReadTokenUser(notAProcess, user, domain));
        EXPECT_EQ(user, "keep");
        EXPECT_EQ(domain, "keep");

        TPrivilegeList privileges(1);
        privileges[0].Name = "keep";
        EXPECT_FALSE(ReadTokenPrivileges(notAProcess, privileges));
        ASSERT_EQ(privileges.size(), 1u);
        EXPECT_EQ(privileges[0].Name, "keep");

        TTokenGroupList groups(2);
        EXPECT_FALSE(ReadTokenGroups(notAProcess, groups));
        EXPECT_EQ(groups.size(), 2u);

        // Nor a token: the readers of an opened token.
        TTokenLookupCache lookups;
        EXPECT_FALSE(ReadTokenUser(notAProcess, lookups, user, domain));
        EXPECT_EQ(user, "keep");
        EXPECT_FALSE(ReadTokenPrivileges(notAProcess, lookups, privileges));
        EXPECT_EQ(privileges.size(), 1u);
        EXPECT_FALSE(ReadTokenGroups(notAProcess, lookups, groups));
        EXPECT_EQ(groups.size(), 2u);
        EXPECT_FALSE(OpenTokenForQuery(notAProcess));
    }
}

TEST(TokenGroups, OwnProcess) { ExpectGroupsOfToken(GetCurrentProcess()); }

TEST(TokenGroups, HelperProcess) {
    test::THelperProcess helper("--no-window");
    ASSERT_TRUE(helper.started());
    THandle process = OpenQuery(helper.pid());
    ASSERT_TRUE(process);
    ExpectGroupsOfToken(process.get());
}

TEST(TokenGroups, ListIsReplaced) {
    TTokenGroupList groups(40);
    ASSERT_TRUE(ReadTokenGroups(GetCurrentProcess(), groups));
    TTokenGroupList fresh;
    ASSERT_TRUE(ReadTokenGroups(GetCurrentProcess(), fresh));
    EXPECT_EQ(groups.size(), fresh.size());
}

TEST(TokenPrivileges, OwnProcess) { ExpectPrivilegesOfToken(GetCurrentProcess()); }

TEST(TokenPrivileges, HelperProcess) {
    test::THelperProcess helper("--no-window");
    ASSERT_TRUE(helper.started());
    THandle process = OpenQuery(helper.pid());
    ASSERT_TRUE(process);
    ExpectPrivilegesOfToken(process.get());
}

TEST(TokenInformation, BufferGrowsToTheContents) {
    THandle token = OwnToken(TOKEN_QUERY);
    ASSERT_TRUE(token);
    TTokenInformation small, large;
    ASSERT_TRUE(small.read(token.get(), TokenGroups, 8));
    ASSERT_TRUE(large.read(token.get(), TokenGroups, 4096));
    const auto* a = static_cast<const TOKEN_GROUPS*>(small.data());
    const auto* b = static_cast<const TOKEN_GROUPS*>(large.data());
    ASSERT_EQ(a->GroupCount, b->GroupCount);
    ASSERT_GT(a->GroupCount, 0u);
    for (DWORD i = 0; i < a->GroupCount; ++i) EXPECT_TRUE(EqualSid(a->Groups[i].Sid, b->Groups[i].Sid));
    EXPECT_LE(small.size(), large.size());

    TTokenInformation none;
    EXPECT_FALSE(none.read(nullptr, TokenGroups, 64));
    EXPECT_EQ(none.size(), 0u);
}

TEST(TokenEnablePrivilege, DebugPrivilegeBecomesEnabled) {
    ASSERT_TRUE(EnablePrivilege("SeDebugPrivilege"));
    TPrivilegeList privileges;
    ASSERT_TRUE(ReadTokenPrivileges(GetCurrentProcess(), privileges));
    const TPrivilegeInfo* debug = FindPrivilege(privileges, "SeDebugPrivilege");
    ASSERT_NE(debug, nullptr);
    EXPECT_TRUE(debug->Attributes & SE_PRIVILEGE_ENABLED);
    EXPECT_TRUE(EnablePrivilege("SeDebugPrivilege"));  // already enabled
}

TEST(TokenEnablePrivilege, PrivilegeNotHeldOrUnknown) {
    TPrivilegeList before;
    ASSERT_TRUE(ReadTokenPrivileges(GetCurrentProcess(), before));
    ASSERT_EQ(FindPrivilege(before, "SeCreateTokenPrivilege"), nullptr) << "the token holds it";
    EXPECT_FALSE(EnablePrivilege("SeCreateTokenPrivilege"));
    EXPECT_FALSE(EnablePrivilege("SeNoSuchPrivilege"));
    EXPECT_FALSE(EnablePrivilege(""));
    TPrivilegeList after;
    ASSERT_TRUE(ReadTokenPrivileges(GetCurrentProcess(), after));
    ASSERT_EQ(after.size(), before.size());
    for (std::size_t i = 0; i < after.size(); ++i) {
        EXPECT_EQ(after[i].Name, before[i].Name);
        EXPECT_EQ(after[i].Attributes, before[i].Attributes);
    }
}

TEST(TokenAdministrator, ProcessAndThreadTokens) {
    TWellKnownSid admins(WinBuiltinAdministratorsSid);
    ASSERT_TRUE(admins.ok);
    BOOL member = FALSE;
    ASSERT_TRUE(CheckTokenMembership(nullptr, admins.get(), &member));
    ASSERT_TRUE(member) << "Wine's user is an administrator";
    EXPECT_TRUE(IsAdministrator());

    THandle token = OwnToken(TOKEN_ALL_ACCESS);
    ASSERT_TRUE(token);
    // An impersonated full token still counts.
    THandle full;
    ASSERT_TRUE(DuplicateToken(token.get(), SecurityImpersonation, full.put()));
    ASSERT_TRUE(SetThreadToken(nullptr, full.get()));
    EXPECT_TRUE(IsAdministrator());
    RevertToSelf();

    // A token whose Administrators group only denies access does not.
    SID_AND_ATTRIBUTES disable{admins.get(), 0};
    THandle restricted, impersonation;
    ASSERT_TRUE(CreateRestrictedToken(token.get(), 0, 1, &disable, 0, nullptr, 0, nullptr, restricted.put()));
    ASSERT_TRUE(DuplicateToken(restricted.get(), SecurityImpersonation, impersonation.put()));
    ASSERT_TRUE(SetThreadToken(nullptr, impersonation.get()));
    EXPECT_FALSE(IsAdministrator());
    RevertToSelf();
    EXPECT_TRUE(IsAdministrator());
}

// The details pass opens each token once and remembers the account and
// privilege look-ups across the processes of one refresh; every record must
// read exactly as the readers that ask the system each time give it.
TEST(TokenLookupCache, DetailsPassMatchesUncachedReaders) {
    test::THelperProcess helper("--no-window");
    ASSERT_TRUE(helper.started());
    TProcList list(2);
    list[0].PID = helper.pid();
    list[1].PID = GetCurrentProcessId();
    TTokenLookupCache lookups;
    CompleteProcessDetails(list, lookups);
    for (const TProcessInfo& p : list) {
        SCOPED_TRACE(p.PID);
        THandle process = OpenQuery(p.PID);
        ASSERT_TRUE(process);
        std::string user, domain;
        ASSERT_TRUE(ReadTokenUser(process.get(), user, domain));
        EXPECT_EQ(p.UserName, domain.empty() ? user : domain + "/" + user);

        TPrivilegeList privileges;
        ASSERT_TRUE(ReadTokenPrivileges(process.get(), privileges));
        ASSERT_EQ(p.Privileges.size(), privileges.size());
        for (std::size_t i = 0; i < privileges.size(); ++i) {
            EXPECT_EQ(p.Privileges[i].Name, privileges[i].Name) << i;
            EXPECT_EQ(p.Privileges[i].DisplayName, privileges[i].DisplayName) << i;
            EXPECT_EQ(p.Privileges[i].Attributes, privileges[i].Attributes) << i;
        }

        TTokenGroupList groups;
        ASSERT_TRUE(ReadTokenGroups(process.get(), groups));
        ASSERT_EQ(p.Groups.size(), groups.size());
        for (std::size_t i = 0; i < groups.size(); ++i) {
            EXPECT_EQ(p.Groups[i].SID, groups[i].SID) << i;
            EXPECT_EQ(p.Groups[i].Domain, groups[i].Domain) << groups[i].SID.str();
            EXPECT_EQ(p.Groups[i].Name, groups[i].Name) << groups[i].SID.str();
            EXPECT_EQ(p.Groups[i].Attributes, groups[i].Attributes) << i;
        }
    }
    // The two tokens share their accounts and privileges: the second is read
    // mostly from what the first asked.
    EXPECT_GT(lookups.Lookups(), 0);
    EXPECT_LT(lookups.Lookups(), lookups.UncachedLookups());
}
