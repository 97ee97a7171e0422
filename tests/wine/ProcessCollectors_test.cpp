// The process enumerators and the details pass on the live system: the
// tool-help snapshot path (modern and Windows 98 modes), the native process
// block (NT 4 mode), with the helper process as the known subject.
#include <gtest/gtest.h>

#include <windows.h>

#include <memory>
#include <set>
#include <string>

#include "engine/OXI_Collectors.h"
#include "engine/OXI_ProcessPass.h"
#include "platform/Orvex_Native.h"
#include "platform/Orvex_OSInfo.h"
#include "platform/Orvex_PSAPI.h"
#include "platform/Orvex_Resources.h"
#include "platform/Orvex_Token.h"
#include "platform/pure/Orvex_TextCase.h"
#include "tests/wine/support/HelperProcess.h"

using namespace orvex;

namespace {

// What the refresh binds before it collects: the libraries of the NT family.
void BindLikeTheRefresh() {
    if (!IsNT()) return;
    BindNative();
    BindProcessStatus();
}

const TProcessInfo* FindProcess(const TProcList& list, DWORD pid) {
    const TProcessInfo* found = nullptr;
    for (const TProcessInfo& p : list)
        if (p.PID == pid) {
            EXPECT_EQ(found, nullptr) << "pid " << pid << " listed twice";
            found = &p;
        }
    return found;
}

const TModuleInfo* FindModule(const TModuleList& modules, std::string_view name) {
    for (const TModuleInfo& m : modules)
        if (SameText(m.Name, name)) return &m;
    return nullptr;
}

std::string CurrentUser() {
    char buf[256] = {};
    DWORD size = sizeof buf;
    return GetUserNameA(buf, &size) ? buf : "";
}

std::int64_t FileTimeValue(const FILETIME& t) {
    return static_cast<std::int64_t>((static_cast<std::uint64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime);
}

std::int64_t OwnCreateTime() {
    FILETIME create{}, exit{}, kernel{}, user{};
    GetProcessTimes(GetCurrentProcess(), &create, &exit, &kernel, &user);
    return FileTimeValue(create);
}

std::int64_t Now() {
    FILETIME now{};
    GetSystemTimeAsFileTime(&now);
    return FileTimeValue(now);
}

// What every enumerator gives for the helper: name, image, parent, threads
// and modules.
void ExpectHelperRecord(const TProcessInfo& p, const test::THelperProcess& helper) {
    EXPECT_EQ(p.Name, "orvex_test_helper.exe");
    EXPECT_TRUE(SameText(p.ImageName, helper.value("exe"))) << p.ImageName.str();
    EXPECT_EQ(p.ParentPID, GetCurrentProcessId());
    EXPECT_GE(p.ThreadCount, 3u);
    EXPECT_EQ(p.Threads.size(), p.ThreadCount);
    std::set<std::uint32_t> ids;
    for (const TThreadInfo& t : p.Threads) {
        EXPECT_EQ(t.OwnerPID, helper.pid());
        ids.insert(t.TID);
    }
    const auto reported = helper.values("tid");
    EXPECT_EQ(reported.size(), 3u);
    for (const std::string& tid : reported) EXPECT_TRUE(ids.count(std::stoul(tid))) << "thread " << tid;

    const TModuleInfo* exe = FindModule(p.Modules, "orvex_test_helper.exe");
    ASSERT_NE(exe, nullptr);
    EXPECT_TRUE(SameText(exe->ImageName, helper.value("exe")));
    EXPECT_NE(exe->Base, 0u);
    EXPECT_GT(exe->Size, 0u);
    const TModuleInfo* kernel32 = FindModule(p.Modules, "kernel32.dll");
    ASSERT_NE(kernel32, nullptr);
    EXPECT_NE(kernel32->Base, 0u);
    EXPECT_GT(kernel32->Size, 0u);
}

// The details pass's account, privileges and groups, as the token routines
// give them for the same process.
void ExpectTokenData(const TProcessInfo& p) {
    EXPECT_FALSE(p.UserName.empty()) << "pid " << p.PID;
    const std::string user = CurrentUser();
    ASSERT_FALSE(user.empty());
    const std::string& name = p.UserName.str();
    EXPECT_TRUE(SameText(name, user) ||
                (name.size() > user.size() && SameText(name.substr(name.size() - user.size() - 1), "/" + user)))
        << name;
    EXPECT_FALSE(p.Privileges.empty());
    EXPECT_FALSE(p.Groups.empty());
    for (const TTokenGroupInfo& g : p.Groups) EXPECT_EQ(g.SID.str().rfind("S-1-", 0), 0u) << g.SID.str();
}

// A record whose every field the details pass could touch holds a marker.
TProcessInfo MarkedRecord(DWORD pid) {
    TProcessInfo p;
    p.PID = pid;
    p.Name = "marked";
    p.HandleCount = 0xABCD;
    p.CreateTime = 42;
    p.KernelTime = 43;
    p.UserTime = 44;
    p.VMCounters.WorkingSetSize = 45;
    p.IOCounters.ReadOperationCount = 46;
    return p;
}

void ExpectCountersUntouched(const TProcessInfo& p) {
    EXPECT_EQ(p.Name, "marked");
    EXPECT_EQ(p.HandleCount, 0xABCDu);
    EXPECT_EQ(p.CreateTime, 42);
    EXPECT_EQ(p.KernelTime, 43);
    EXPECT_EQ(p.UserTime, 44);
    EXPECT_EQ(p.VMCounters.WorkingSetSize, 45u);
    EXPECT_EQ(p.IOCounters.ReadOperationCount, 46u);
}

// Ends the helper and waits until its identifier names no process any more
// (the system lets go of an ended process a moment after its last handle).
bool EndHelper(std::unique_ptr<test::THelperProcess>& helper) {
    const DWORD pid = helper->pid();
    helper.reset();
    for (int i = 0; i < 100; ++i) {
        THandle process(OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, pid));
        if (!process) return true;
        process.reset();
        Sleep(50);
    }
    return false;
}

DWORD HandleCountOf(HANDLE process) {
    DWORD count = 0;
    return GetProcessHandleCount(process, &count) ? count : 0xFFFFFFFFu;
}

// One refresh's process pass and details pass: each process is opened once
// (the details take the handles the process pass opened), and the helper's
// record holds what a details pass of its own gives: the same account,
// privileges and groups, and the counters of the system's list.
void ExpectOneOpenPerProcess() {
    test::THelperProcess helper("--no-window");
    ASSERT_TRUE(helper.started());
    TImagePathResolver paths;
    TProcessPass pass;
    TProcList list;
    CollectProcesses(list, paths, pass);
    std::set<std::uint32_t> pids;
    for (const TProcessInfo& p : list) pids.insert(p.PID);
    EXPECT_EQ(pass.Asked(), pids.size()) << "the process pass opens every process it lists";
    EXPECT_TRUE(pass.CountersRead) << "the system's list gave the counters";
    TTokenLookupCache lookups;
    CompleteProcessDetails(list, lookups, pass);
    EXPECT_EQ(pass.Asked(), pids.size()) << "the details pass opened no process again";

    const TProcessInfo* p = FindProcess(list, helper.pid());
    ASSERT_NE(p, nullptr);
    ExpectHelperRecord(*p, helper);
    ExpectTokenData(*p);
    // the system list's counters (where Wine's per-process handle count is 0)
    EXPECT_GT(p->HandleCount, 3u);
    EXPECT_GT(p->VMCounters.WorkingSetSize, 0u);

    TProcList own{*p};
    own[0].UserName = std::string();
    own[0].Privileges.clear();
    own[0].Groups.clear();
    CompleteProcessDetails(own);
    EXPECT_EQ(own[0].UserName, p->UserName);
    EXPECT_EQ(own[0].Privileges, p->Privileges);
    EXPECT_EQ(own[0].Groups, p->Groups);
}

class ProcessCollectors : public ::testing::Test {
protected:
    void SetUp() override { BindLikeTheRefresh(); }
};
using Nt40Processes = ProcessCollectors;
using Win98Processes = ProcessCollectors;

}  // namespace

// ---- snapshot path, modern system -------------------------------------

TEST_F(ProcessCollectors, SnapshotListsTheHelperWithThreadsAndModules) {
    test::THelperProcess helper("--no-window");
    ASSERT_TRUE(helper.started());
    TProcList list;
    CollectProcessesSnapshot(list);
    ASSERT_GT(list.size(), 2u);
    const TProcessInfo* p = FindProcess(list, helper.pid());
    ASSERT_NE(p, nullptr);
    ExpectHelperRecord(*p, helper);
    // the snapshot path fills four fields of a thread, the others stay 0
    for (const TThreadInfo& t : p->Threads) {
        EXPECT_EQ(t.StartAddress, 0u);
        EXPECT_EQ(t.ThreadState, 0u);
        EXPECT_EQ(t.WaitReason, 0u);
        EXPECT_EQ(t.ContextSwitches, 0u);
        EXPECT_EQ(t.CreateTime, 0);
    }
    for (const TModuleInfo& m : p->Modules) EXPECT_EQ(m.EntryPoint, 0u);
    // counters come from the details pass only
    EXPECT_EQ(p->HandleCount, 0u);
    EXPECT_EQ(p->VMCounters, TVMCounters{});
    EXPECT_TRUE(p->UserName.empty());

    const TProcessInfo* self = FindProcess(list, GetCurrentProcessId());
    ASSERT_NE(self, nullptr);
    EXPECT_EQ(self->Name, "orvex_wine_tests.exe");
    EXPECT_FALSE(self->Threads.empty());
}

TEST_F(ProcessCollectors, DetailsPassFillsAccountTokenCountersAndTimes) {
    test::THelperProcess helper("--no-window");
    ASSERT_TRUE(helper.started());
    TProcList list;
    CollectProcessesSnapshot(list);
    CompleteProcessDetails(list);
    const std::int64_t now = Now();
    const std::int64_t ownCreate = OwnCreateTime();

    const TProcessInfo* self = FindProcess(list, GetCurrentProcessId());
    ASSERT_NE(self, nullptr);
    ExpectTokenData(*self);
    EXPECT_GT(self->VMCounters.WorkingSetSize, 0u);
    EXPECT_GE(self->VMCounters.PeakWorkingSetSize, self->VMCounters.WorkingSetSize);
    EXPECT_GT(self->VMCounters.VirtualSize, 0u);
    EXPECT_EQ(self->CreateTime, ownCreate);

    const TProcessInfo* p = FindProcess(list, helper.pid());
    ASSERT_NE(p, nullptr);
    ExpectHelperRecord(*p, helper);
    ExpectTokenData(*p);
    EXPECT_GT(p->VMCounters.WorkingSetSize, 0u);
    // the helper is idle: its handles stay as they were, its I/O only grows
    EXPECT_EQ(p->HandleCount, HandleCountOf(helper.process()));
    IO_COUNTERS io{};
    ASSERT_TRUE(GetProcessIoCounters(helper.process(), &io));
    EXPECT_LE(p->IOCounters.ReadOperationCount, io.ReadOperationCount);
    EXPECT_LE(p->IOCounters.ReadTransferCount, io.ReadTransferCount);
    EXPECT_GE(p->CreateTime, ownCreate);
    EXPECT_LE(p->CreateTime, now);
    EXPECT_GE(p->KernelTime, 0);
    EXPECT_GE(p->UserTime, 0);
}

TEST_F(ProcessCollectors, ProcessEndedBeforeTheDetailsPassKeepsItsData) {
    auto helper = std::make_unique<test::THelperProcess>("--no-window");
    ASSERT_TRUE(helper->started());
    const DWORD pid = helper->pid();
    TProcList list;
    CollectProcessesSnapshot(list);
    ASSERT_TRUE(EndHelper(helper));

    ASSERT_NE(FindProcess(list, pid), nullptr);
    const TProcessInfo before = *FindProcess(list, pid);
    CompleteProcessDetails(list);
    const TProcessInfo* p = FindProcess(list, pid);
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->Name, before.Name);
    EXPECT_EQ(p->ImageName, before.ImageName);
    EXPECT_EQ(p->Threads, before.Threads);
    EXPECT_EQ(p->Modules, before.Modules);
    EXPECT_TRUE(p->UserName.empty());
    EXPECT_TRUE(p->Privileges.empty());
    EXPECT_TRUE(p->Groups.empty());
    EXPECT_EQ(p->HandleCount, before.HandleCount);

    // a record of no process at all is left exactly as it is
    TProcList marked{MarkedRecord(pid)};
    CompleteProcessDetails(marked);
    ExpectCountersUntouched(marked[0]);
    EXPECT_TRUE(marked[0].UserName.empty());
}

// The native list (one system process query, modules from the loader data)
// holds what the snapshot holds: per process its name, path, parent, thread
// ids and modules; and the helper as every enumerator gives it.
TEST_F(ProcessCollectors, NativeListHoldsWhatTheSnapshotHolds) {
    test::THelperProcess helper("--no-window");
    ASSERT_TRUE(helper.started());
    TProcList native, snapshot;
    CollectProcessesNative(native);
    CollectProcessesSnapshot(snapshot);
    const TProcessInfo* h = FindProcess(native, helper.pid());
    ASSERT_NE(h, nullptr);
    ExpectHelperRecord(*h, helper);
    EXPECT_NE(h->CreateTime, 0) << "the system's list gives every process its creation time";
    std::size_t compared = 0;
    for (const TProcessInfo& s : snapshot) {
        const TProcessInfo* n = FindProcess(native, s.PID);
        if (!n || !SameText(n->Name, s.Name)) continue;  // started or ended in between
        ++compared;
        EXPECT_TRUE(SameText(n->ImageName, s.ImageName)) << n->ImageName.str() << " / " << s.ImageName.str();
        EXPECT_EQ(n->ParentPID, s.ParentPID) << s.Name.str();
        std::set<std::uint32_t> a, b;
        for (const TThreadInfo& t : n->Threads) a.insert(t.TID);
        for (const TThreadInfo& t : s.Threads) b.insert(t.TID);
        EXPECT_EQ(a, b) << s.Name.str();
        EXPECT_EQ(n->ThreadCount, n->Threads.size()) << s.Name.str();
        ASSERT_EQ(n->Modules.size(), s.Modules.size()) << s.Name.str();
        for (std::size_t i = 0; i < s.Modules.size(); ++i) {
            EXPECT_EQ(n->Modules[i].Base, s.Modules[i].Base) << s.Name.str();
            EXPECT_TRUE(SameText(n->Modules[i].ImageName, s.Modules[i].ImageName)) << s.Name.str();
        }
    }
    EXPECT_GE(compared, snapshot.size() - 2) << "only processes that came or went in between are left out";
}

// A process the details pass cannot open (a service's, unelevated) has its
// creation time from the system's process list, where the id still names a
// process of that name.
TEST_F(ProcessCollectors, CreationTimesFromTheSystemList) {
    test::THelperProcess helper("--no-window");
    ASSERT_TRUE(helper.started());
    FILETIME create{}, exit{}, kernel{}, user{};
    ASSERT_TRUE(GetProcessTimes(helper.process(), &create, &exit, &kernel, &user));
    const std::int64_t created = FileTimeValue(create);
    ASSERT_NE(created, 0);
    struct TCase {
        const char* Name;
        std::int64_t Before, After;
    };
    const TCase cases[] = {
        {"orvex_test_helper.exe", 0, created},
        {"ORVEX_TEST_HELPER.EXE", 0, created},  // names compare without regard to case
        {"another.exe", 0, 0},                  // the id now names another program
        {"orvex_test_helper.exe", 12345, 12345},
    };
    for (const TCase& c : cases) {
        TProcList list(2);
        list[0].PID = helper.pid();
        list[0].Name = c.Name;
        list[0].CreateTime = c.Before;
        list[1].PID = 0xFFFFFFF0;  // no process
        list[1].Name = "orvex_test_helper.exe";
        CompleteCreationTimes(list);
        EXPECT_EQ(list[0].CreateTime, c.After) << c.Name << " " << c.Before;
        EXPECT_EQ(list[1].CreateTime, 0);
    }
}

TEST_F(ProcessCollectors, DetailsPassReplacesTokenLists) {
    TProcList list{MarkedRecord(GetCurrentProcessId())};
    list[0].UserName = "someone else";
    list[0].Privileges.resize(500);
    list[0].Groups.resize(500);
    CompleteProcessDetails(list);
    ExpectTokenData(list[0]);
    EXPECT_LT(list[0].Privileges.size(), 500u);
    EXPECT_LT(list[0].Groups.size(), 500u);
    EXPECT_FALSE(list[0].Privileges.front().Name.empty());
    // counters and times now come from the system
    EXPECT_NE(list[0].HandleCount, 0xABCDu);
    EXPECT_EQ(list[0].CreateTime, OwnCreateTime());
    EXPECT_NE(list[0].VMCounters.WorkingSetSize, 45u);
}

TEST_F(ProcessCollectors, DetailsShareTheProcessPassHandles) { ExpectOneOpenPerProcess(); }

// ---- native process block, Windows NT 4 ------------------------------

TEST_F(Nt40Processes, DetailsShareTheProcessPassHandles) {
    ASSERT_TRUE(IsNT4());
    ExpectOneOpenPerProcess();
}

TEST_F(Nt40Processes, NativeBlockListsTheHelperWithItsThreadBlocks) {
    ASSERT_TRUE(IsNT4());
    ASSERT_NE(orvex::NtQuerySystemInformation, nullptr);
    test::THelperProcess helper("--no-window");
    ASSERT_TRUE(helper.started());
    TProcList list;
    CollectProcessesNt4(list);
    ASSERT_GT(list.size(), 2u);
    const TProcessInfo* p = FindProcess(list, helper.pid());
    ASSERT_NE(p, nullptr);
    ExpectHelperRecord(*p, helper);

    // the block's own data, which the snapshot path does not give
    EXPECT_GT(p->HandleCount, 3u);
    EXPECT_GT(p->VMCounters.WorkingSetSize, 0u);
    EXPECT_GE(p->CreateTime, OwnCreateTime());
    EXPECT_LE(p->CreateTime, Now());
    EXPECT_EQ(p->Usage, 0u);
    EXPECT_EQ(p->HeapID, 0u);
    std::size_t withBlockData = 0;
    for (const TThreadInfo& t : p->Threads) {
        EXPECT_LT(t.ThreadState, 8u);
        if (t.StartAddress != 0 || t.ThreadState != 0 || t.WaitReason != 0 || t.CreateTime != 0) ++withBlockData;
    }
    EXPECT_GT(withBlockData, 0u) << "thread records must come from the native block";
    // the process-status library gives entry points
    const TModuleInfo* exe = FindModule(p->Modules, "orvex_test_helper.exe");
    ASSERT_NE(exe, nullptr);
    EXPECT_GT(exe->EntryPoint, exe->Base);

    const TProcessInfo* self = FindProcess(list, GetCurrentProcessId());
    ASSERT_NE(self, nullptr);
    EXPECT_TRUE(SameText(self->Name, "orvex_wine_tests_nt40.exe")) << self->Name.str();
    EXPECT_EQ(self->CreateTime, OwnCreateTime());
}

TEST_F(Nt40Processes, EveryProcessCarriesItsThreadBlocks) {
    TProcList list;
    CollectProcessesNt4(list);
    ASSERT_FALSE(list.empty());
    for (const TProcessInfo& p : list) {
        EXPECT_EQ(p.Threads.size(), p.ThreadCount) << "pid " << p.PID;
        for (const TThreadInfo& t : p.Threads) EXPECT_EQ(t.OwnerPID, p.PID);
        if (p.PID == 0) {
            EXPECT_EQ(p.Name, "[System Idle Process]");
        }
    }
}

TEST_F(Nt40Processes, DetailsPassReadsTheTokenButNoCounters) {
    TProcList list{MarkedRecord(GetCurrentProcessId())};
    CompleteProcessDetails(list);
    ExpectCountersUntouched(list[0]);
    ExpectTokenData(list[0]);
}

// ---- snapshot path, Windows 98 ---------------------------------------

TEST_F(Win98Processes, SnapshotListsTheHelperWithThreadsAndModules) {
    ASSERT_FALSE(IsNT());
    test::THelperProcess helper("--no-window");
    ASSERT_TRUE(helper.started());
    TProcList list;
    CollectProcessesSnapshot(list);
    const TProcessInfo* p = FindProcess(list, helper.pid());
    ASSERT_NE(p, nullptr);
    ExpectHelperRecord(*p, helper);
    for (const TThreadInfo& t : p->Threads) EXPECT_EQ(t.StartAddress, 0u);
    const TProcessInfo* self = FindProcess(list, GetCurrentProcessId());
    ASSERT_NE(self, nullptr);
    EXPECT_TRUE(SameText(self->Name, "orvex_wine_tests_win98.exe")) << self->Name.str();
}

TEST_F(Win98Processes, DetailsPassTakesNoCounters) {
    TProcList list{MarkedRecord(GetCurrentProcessId())};
    CompleteProcessDetails(list);
    ExpectCountersUntouched(list[0]);
    // the account is whatever the token routines can read here
    std::string user, domain;
    const bool readable = ReadTokenUser(GetCurrentProcess(), user, domain);
    EXPECT_EQ(list[0].UserName.empty(), !readable || user.empty());
}
