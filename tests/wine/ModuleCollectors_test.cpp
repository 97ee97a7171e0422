// The module collectors (process-status library and module snapshot) and
// the grouped thread snapshot, on the helper process and on this one.
#include <gtest/gtest.h>

#include <windows.h>

#include <memory>
#include <set>
#include <string>

#include "engine/OXI_ModuleCollectors.h"
#include "engine/OXI_ThreadCollectors.h"
#include "platform/Orvex_PSAPI.h"
#include "platform/Orvex_Resources.h"
#include "platform/pure/Orvex_TextCase.h"
#include "tests/wine/support/HelperProcess.h"
#include "tests/wine/support/TestMode.h"

using namespace orvex;

namespace {

const TModuleInfo* FindModule(const TModuleList& modules, std::string_view name) {
    for (const TModuleInfo& m : modules)
        if (SameText(m.Name, name)) return &m;
    return nullptr;
}

// A process identifier that named a process which has ended.
DWORD EndedProcessId() {
    auto helper = std::make_unique<test::THelperProcess>("--no-window");
    if (!helper->started()) return 0;
    const DWORD pid = helper->pid();
    helper.reset();
    // the system lets go of an ended process a moment after its last handle
    for (int i = 0; i < 100; ++i) {
        THandle process(OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, pid));
        if (!process) return pid;
        process.reset();
        Sleep(50);
    }
    return 0;
}

DWORD WINAPI WaitForEvent(LPVOID event) { return WaitForSingleObject(static_cast<HANDLE>(event), INFINITE); }

class ModuleCollectors : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(BindProcessStatus()); }
};

}  // namespace

TEST_F(ModuleCollectors, ProcessStatusListsTheHelpersExeFirstAndKernel32) {
    test::THelperProcess helper("--no-window");
    ASSERT_TRUE(helper.started());
    TModuleList modules(1);  // replaced, not appended to
    CollectModulesProcessStatus(helper.pid(), modules);
    ASSERT_GE(modules.size(), 3u);

    const TModuleInfo& exe = modules.front();
    EXPECT_TRUE(SameText(exe.ImageName, helper.value("exe"))) << exe.ImageName.str();
    EXPECT_EQ(exe.Name, "orvex_test_helper.exe");
    EXPECT_NE(exe.Base, 0u);
    EXPECT_GT(exe.Size, 0u);
    EXPECT_GT(exe.EntryPoint, exe.Base);
    EXPECT_LT(exe.EntryPoint, exe.Base + exe.Size);

    const TModuleInfo* kernel32 = FindModule(modules, "kernel32.dll");
    ASSERT_NE(kernel32, nullptr);
    EXPECT_NE(kernel32->Base, 0u);
    EXPECT_GT(kernel32->Size, 0u);
    EXPECT_TRUE(SameText(kernel32->ImageName.str().substr(kernel32->ImageName.size() - 13), "\\kernel32.dll"));
    for (const TModuleInfo& m : modules) {
        EXPECT_FALSE(m.Name.empty());
        EXPECT_FALSE(m.ImageName.empty()) << m.Name.str();
    }
}

TEST_F(ModuleCollectors, ProcessStatusMatchesTheLibrarysOwnAnswer) {
    // this process, asked directly of the library
    HMODULE handles[1024];
    DWORD needed = 0;
    ASSERT_TRUE(orvex::EnumProcessModules(GetCurrentProcess(), handles, sizeof handles, &needed));
    const std::size_t count = needed / sizeof(HMODULE);
    ASSERT_LE(count, 1024u);
    TModuleList modules;
    CollectModulesProcessStatus(GetCurrentProcessId(), modules);
    ASSERT_EQ(modules.size(), count);
    for (std::size_t i = 0; i < count; ++i) {
        EXPECT_EQ(modules[i].Base, reinterpret_cast<std::uintptr_t>(handles[i]));
        char path[MAX_PATH] = {};
        GetModuleFileNameA(handles[i], path, MAX_PATH);
        EXPECT_TRUE(SameText(modules[i].ImageName, path)) << modules[i].ImageName.str() << " vs " << path;
    }
}

TEST_F(ModuleCollectors, ProcessStatusOfAnEndedProcessIsEmpty) {
    const DWORD pid = EndedProcessId();
    ASSERT_NE(pid, 0u);
    TModuleList modules(2);
    CollectModulesProcessStatus(pid, modules);
    EXPECT_TRUE(modules.empty());
}

// A module whose file was renamed after loading: the system still reports
// the old path, which names no file now.
class TMovedModule {
public:
    TMovedModule() {
        char temp[MAX_PATH] = {};
        const DWORD n = GetTempPathA(MAX_PATH, temp);
        const std::string dir(temp, n);
        loadedAs_ = dir + "orvex_moved_module_" + std::to_string(GetCurrentProcessId()) + ".dll";
        movedTo_ = dir + "orvex_moved_away_" + std::to_string(GetCurrentProcessId()) + ".dll";
        if (!CopyFileA((test::ExeDir() + "orvex_test_module.dll").c_str(), loadedAs_.c_str(), FALSE)) return;
        module_.reset(LoadLibraryA(loadedAs_.c_str()));
        if (module_) moved_ = MoveFileA(loadedAs_.c_str(), movedTo_.c_str()) != FALSE;
    }
    ~TMovedModule() {
        module_.reset();
        DeleteFileA(movedTo_.c_str());
        DeleteFileA(loadedAs_.c_str());
    }
    TMovedModule(const TMovedModule&) = delete;
    TMovedModule& operator=(const TMovedModule&) = delete;

    bool ready() const { return moved_; }
    std::uintptr_t base() const { return reinterpret_cast<std::uintptr_t>(module_.get()); }
    std::string name() const { return loadedAs_.substr(loadedAs_.find_last_of('\\') + 1); }

private:
    std::string loadedAs_, movedTo_;
    TModule module_;
    bool moved_ = false;
};

const TModuleInfo* FindBase(const TModuleList& modules, std::uintptr_t base) {
    for (const TModuleInfo& m : modules)
        if (m.Base == base) return &m;
    return nullptr;
}

TEST_F(ModuleCollectors, ModuleWhosePathNamesNoFileKeepsItsName) {
    const TMovedModule moved;
    ASSERT_TRUE(moved.ready());
    TModuleList modules;
    CollectModulesProcessStatus(GetCurrentProcessId(), modules);
    const TModuleInfo* m = FindBase(modules, moved.base());
    ASSERT_NE(m, nullptr);
    EXPECT_EQ(m->ImageName, "");
    EXPECT_TRUE(SameText(m->Name, moved.name())) << m->Name.str();
    EXPECT_GT(m->Size, 0u);

    const std::string image = CollectModulesSnapshot(moved.name(), GetCurrentProcessId(), modules);
    EXPECT_NE(image, "") << "the snapshot's own path, unresolved";
    m = FindBase(modules, moved.base());
    ASSERT_NE(m, nullptr);
    EXPECT_EQ(m->ImageName, "");
    EXPECT_TRUE(SameText(m->Name, moved.name())) << m->Name.str();
}

TEST(ModuleSnapshot, HelpersModulesAndItsImagePathMatchedWithoutCase) {
    test::THelperProcess helper("--no-window");
    ASSERT_TRUE(helper.started());
    TModuleList modules(1);
    const std::string image = CollectModulesSnapshot("ORVEX_Test_Helper.EXE", helper.pid(), modules);
    EXPECT_TRUE(SameText(image, helper.value("exe"))) << image;
    ASSERT_GE(modules.size(), 3u);
    const TModuleInfo* exe = FindModule(modules, "orvex_test_helper.exe");
    ASSERT_NE(exe, nullptr);
    EXPECT_TRUE(SameText(exe->ImageName, helper.value("exe")));
    EXPECT_NE(exe->Base, 0u);
    EXPECT_GT(exe->Size, 0u);
    const TModuleInfo* kernel32 = FindModule(modules, "KERNEL32.DLL");
    ASSERT_NE(kernel32, nullptr);
    EXPECT_NE(kernel32->Base, 0u);
    EXPECT_GT(kernel32->Size, 0u);
    for (const TModuleInfo& m : modules) {
        EXPECT_EQ(m.EntryPoint, 0u) << "the snapshot gives no entry points";
        EXPECT_FALSE(m.ImageName.empty()) << m.Name.str();
    }
}

TEST(ModuleSnapshot, NoModuleOfTheGivenNameGivesNoImagePath) {
    TModuleList modules;
    EXPECT_EQ(CollectModulesSnapshot("not_a_module.exe", GetCurrentProcessId(), modules), "");
    EXPECT_NE(FindModule(modules, "kernel32.dll"), nullptr);
}

TEST(ModuleSnapshot, EndedProcessGivesNothing) {
    const DWORD pid = EndedProcessId();
    ASSERT_NE(pid, 0u);
    TModuleList modules(2);
    EXPECT_EQ(CollectModulesSnapshot("orvex_test_helper.exe", pid, modules), "");
    EXPECT_TRUE(modules.empty());
}

// Each module once: no two records with the same base and path.
static void ExpectEachModuleOnce(const TModuleList& modules, const std::string& what) {
    std::set<std::pair<std::uintptr_t, std::string>> seen;
    for (const TModuleInfo& m : modules)
        EXPECT_TRUE(seen.emplace(m.Base, UpperCase(m.ImageName.str() + "|" + m.Name.str())).second)
            << what << ": " << m.Name.str() << " at " << std::hex << m.Base << " listed twice";
}

TEST(ModuleSnapshot, IdleProcessHasNoModules) {
    // a module query for process 0 would describe this process
    TModuleList modules(2);
    EXPECT_EQ(CollectModulesSnapshot("orvex_wine_tests.exe", 0, modules), "");
    EXPECT_TRUE(modules.empty());
    ASSERT_TRUE(BindProcessStatus());
    modules.resize(2);
    CollectModulesProcessStatus(0, modules);
    EXPECT_TRUE(modules.empty());
}

TEST(ModuleSnapshot, EachModuleOnceForThisProcessAndTheHelper) {
    ASSERT_TRUE(BindProcessStatus());
    test::THelperProcess helper("--no-window");
    ASSERT_TRUE(helper.started());
    for (const DWORD pid : {GetCurrentProcessId(), helper.pid()}) {
        TModuleList modules;
        CollectModulesSnapshot("", pid, modules);
        EXPECT_GE(modules.size(), 3u);
        ExpectEachModuleOnce(modules, "snapshot of " + std::to_string(pid));
        CollectModulesProcessStatus(pid, modules);
        EXPECT_GE(modules.size(), 3u);
        ExpectEachModuleOnce(modules, "process status of " + std::to_string(pid));
    }
}

#ifdef _WIN64
// A 32-bit process seen from this 64-bit one: its module snapshot holds both
// views of the process, which share the executable. The 32-bit helper is the
// one of the neighbouring 32-bit build tree, when that has been built.
TEST(ModuleSnapshot, A32BitProcessListsEachModuleOnce) {
    const std::string helper32 = test::ExeDir() + "..\\..\\..\\i686\\tests\\wine\\orvex_test_helper.exe";
    if (GetFileAttributesA(helper32.c_str()) == INVALID_FILE_ATTRIBUTES)
        GTEST_SKIP() << "no 32-bit build of the helper at " << helper32;
    test::THelperProcess helper("--no-window", helper32);
    ASSERT_TRUE(helper.started());
    BOOL wow64 = FALSE;
    ASSERT_TRUE(::IsWow64Process(helper.process(), &wow64));
    ASSERT_TRUE(wow64) << "the helper runs as a 32-bit process";
    TModuleList modules;
    const std::string image = CollectModulesSnapshot("orvex_test_helper.exe", helper.pid(), modules);
    // Wine 8 gives a 64-bit program no module snapshot of a 32-bit process.
    if (modules.empty()) GTEST_SKIP() << "the platform gives no module snapshot of a 32-bit process";
    EXPECT_TRUE(SameText(image, helper.value("exe"))) << image;
    ExpectEachModuleOnce(modules, "snapshot of the 32-bit helper");
    int executables = 0;
    for (const TModuleInfo& m : modules) executables += SameText(m.Name, "orvex_test_helper.exe") ? 1 : 0;
    EXPECT_EQ(executables, 1);
    EXPECT_NE(FindModule(modules, "kernel32.dll"), nullptr);
}
#endif

TEST(ThreadSnapshot, PriorityIsBasePlusDelta) {
    THREADENTRY32 entry{};
    entry.dwSize = sizeof entry;
    entry.th32ThreadID = 0x44;
    entry.th32OwnerProcessID = 0x88;
    entry.tpBasePri = 8;
    entry.tpDeltaPri = -2;
    const TThreadInfo t = ThreadFromSnapshotEntry(entry);
    EXPECT_EQ(t.Priority, 6);
    EXPECT_EQ(t.BasePriority, 8);
    EXPECT_EQ(t.TID, 0x44u);
    EXPECT_EQ(t.OwnerPID, 0x88u);
    TThreadInfo expected;
    expected.Priority = 6;
    expected.BasePriority = 8;
    expected.TID = 0x44;
    expected.OwnerPID = 0x88;
    EXPECT_EQ(t, expected) << "every other field stays 0";
}

TEST(ThreadSnapshot, HelpersThreadsUnderItsOwner) {
    test::THelperProcess helper("--no-window");
    ASSERT_TRUE(helper.started());
    const TThreadsByOwner threads = CollectThreadsSnapshot();
    const auto own = threads.find(helper.pid());
    ASSERT_NE(own, threads.end());
    std::set<std::uint32_t> ids;
    for (const TThreadInfo& t : own->second) {
        EXPECT_EQ(t.OwnerPID, helper.pid());
        ids.insert(t.TID);
    }
    const auto reported = helper.values("tid");
    ASSERT_EQ(reported.size(), 3u);
    for (const std::string& tid : reported) EXPECT_TRUE(ids.count(std::stoul(tid))) << "thread " << tid;
    for (const auto& [owner, list] : threads)
        for (const TThreadInfo& t : list) EXPECT_EQ(t.OwnerPID, owner);
}

TEST(ThreadSnapshot, ThreadPriorityShowsInTheRecord) {
    HANDLE stop = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    ASSERT_NE(stop, nullptr);
    DWORD tid = 0;
    HANDLE worker = CreateThread(nullptr, 0, WaitForEvent, stop, 0, &tid);
    ASSERT_NE(worker, nullptr);
    const auto recordOfWorker = [tid]() {
        const TThreadsByOwner threads = CollectThreadsSnapshot();
        TThreadInfo found;
        if (auto own = threads.find(GetCurrentProcessId()); own != threads.end())
            for (const TThreadInfo& t : own->second)
                if (t.TID == tid) found = t;
        return found;
    };
    const TThreadInfo normal = recordOfWorker();
    SetThreadPriority(worker, THREAD_PRIORITY_LOWEST);
    const TThreadInfo lowest = recordOfWorker();
    SetEvent(stop);
    WaitForSingleObject(worker, 5000);
    CloseHandle(worker);
    CloseHandle(stop);

    ASSERT_EQ(normal.TID, tid);
    ASSERT_EQ(lowest.TID, tid);
    EXPECT_EQ(lowest.Priority, normal.Priority + THREAD_PRIORITY_LOWEST);
}
