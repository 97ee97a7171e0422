// The handle list against a helper process whose handles are known.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "engine/OXI_Collectors.h"
#include "engine/OXI_NativeQuery.h"
#include "engine/OXI_ObjectNames.h"
#include "platform/Orvex_BoundedQuery.h"
#include "platform/Orvex_Native.h"
#include "platform/Orvex_OSInfo.h"
#include "platform/Orvex_Resources.h"
#include "tests/wine/support/HandleLists.h"
#include "tests/wine/support/HelperProcess.h"
#include "tests/wine/support/TestMode.h"
#include "tests/wine/support/TestThread.h"

namespace {

using orvex::THandleInfo;
using orvex::THandleList;
using orvex::test::CollectOnThread;
using orvex::test::FindHandle;
using orvex::test::OpenSharedTestFile;
using orvex::test::SamePath;
using orvex::test::TestFile;

class HandleCollector : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(orvex::BindNative()); }
    void TearDown() override { orvex::ReleaseNative(); }
};

TEST_F(HandleCollector, NamesTheHelpersObjectsByType) {
    orvex::test::THelperProcess helper;
    ASSERT_TRUE(helper.started());
    THandleList list;
    orvex::CollectHandles(list);
    ASSERT_FALSE(list.empty());

    const THandleInfo* mutex = FindHandle(list, helper.pid(), helper.hex("mutex"));
    ASSERT_NE(mutex, nullptr);
    EXPECT_EQ(mutex->TypeName, "Mutant");
    EXPECT_EQ(mutex->ObjectType, 10);
    const std::string& name = mutex->Name.str();
    const std::string expected = "\\" + helper.value("mutexname");
    ASSERT_GE(name.size(), expected.size());
    EXPECT_EQ(name.substr(name.size() - expected.size()), expected) << name;
    EXPECT_EQ(name.front(), '\\') << "the full object name, with its directory";

    const THandleInfo* event = FindHandle(list, helper.pid(), helper.hex("event"));
    ASSERT_NE(event, nullptr);
    EXPECT_EQ(event->TypeName, "Event");
    EXPECT_EQ(event->ObjectType, 8);
    EXPECT_TRUE(event->Name.empty());

    const THandleInfo* file = FindHandle(list, helper.pid(), helper.hex("file"));
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(file->TypeName, "File");
    EXPECT_EQ(file->ObjectType, 26);

    const THandleInfo* process = FindHandle(list, helper.pid(), helper.hex("process"));
    ASSERT_NE(process, nullptr);
    EXPECT_EQ(process->TypeName, "Process");
    EXPECT_EQ(process->Name, "PID: " + std::to_string(helper.pid()));

    // The helper reports its main thread's identifier first, then each
    // worker's identifier before its handle.
    const auto threads = helper.values("thread");
    const auto tids = helper.values("tid");
    ASSERT_EQ(threads.size(), 2u);
    ASSERT_EQ(tids.size(), 3u);
    for (std::size_t i = 0; i < threads.size(); ++i) {
        const THandleInfo* t = FindHandle(list, helper.pid(), std::stoull(threads[i], nullptr, 16));
        ASSERT_NE(t, nullptr);
        EXPECT_EQ(t->TypeName, "Thread");
        EXPECT_EQ(t->Name, "TID: " + tids[i + 1] + " (PID: " + std::to_string(helper.pid()) + ")");
    }
}

TEST_F(HandleCollector, NamesThisProcesssOwnThreadAndProcessHandles) {
    orvex::THandle thread(::OpenThread(THREAD_QUERY_INFORMATION, FALSE, ::GetCurrentThreadId()));
    orvex::THandle process(::OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, ::GetCurrentProcessId()));
    ASSERT_TRUE(thread);
    ASSERT_TRUE(process);
    THandleList list;
    orvex::CollectHandles(list);
    const std::string self = std::to_string(::GetCurrentProcessId());
    const THandleInfo* t = FindHandle(list, ::GetCurrentProcessId(), reinterpret_cast<std::uintptr_t>(thread.get()));
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(t->Name, "TID: " + std::to_string(::GetCurrentThreadId()) + " (PID: " + self + ")");
    const THandleInfo* p = FindHandle(list, ::GetCurrentProcessId(), reinterpret_cast<std::uintptr_t>(process.get()));
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->Name, "PID: " + self);
}

TEST_F(HandleCollector, OwnHandlesAreNamedWithoutDuplicationAndStayOpen) {
    HANDLE event = ::CreateEventA(nullptr, TRUE, FALSE, "OrvexHandleCollectorOwnEvent");
    ASSERT_NE(event, nullptr);
    THandleList list;
    orvex::CollectHandles(list);
    const THandleInfo* mine = FindHandle(list, ::GetCurrentProcessId(), reinterpret_cast<std::uintptr_t>(event));
    ASSERT_NE(mine, nullptr);
    EXPECT_EQ(mine->TypeName, "Event");
    EXPECT_NE(mine->Name.str().find("OrvexHandleCollectorOwnEvent"), std::string::npos);
    // The collector must not have closed our handle.
    EXPECT_TRUE(::SetEvent(event));
    EXPECT_TRUE(::CloseHandle(event));
}

// Handle values above 16 bits (a process with more than 16,383 handles):
// the classic table, which a 32-bit program read before, holds only the low
// 16 bits of a value, so such a handle was listed under a wrong value.
TEST_F(HandleCollector, HandleValuesAboveSixteenBitsKeepTheirValue) {
    const orvex::THandle event(::CreateEventA(nullptr, TRUE, FALSE, "OrvexHandleAboveSixteenBits"));
    ASSERT_TRUE(event);
    std::vector<orvex::THandle> copies;
    HANDLE high = nullptr;
    // Bounded: values grow by 4, so 0x10000 is passed within 16,384 copies.
    for (int i = 0; i < 20000 && !high; ++i) {
        HANDLE copy = nullptr;
        ASSERT_TRUE(::DuplicateHandle(::GetCurrentProcess(), event.get(), ::GetCurrentProcess(), &copy, 0, FALSE,
                                      DUPLICATE_SAME_ACCESS));
        copies.emplace_back(copy);
        if (reinterpret_cast<std::uintptr_t>(copy) > 0xFFFF) high = copy;
    }
    ASSERT_NE(high, nullptr) << "no handle value above 0xFFFF after " << copies.size() << " copies";
    THandleList list;
    orvex::CollectHandles(list);
    const THandleInfo* mine = FindHandle(list, ::GetCurrentProcessId(), reinterpret_cast<std::uintptr_t>(high));
    ASSERT_NE(mine, nullptr) << "handle 0x" << std::hex << reinterpret_cast<std::uintptr_t>(high);
    EXPECT_EQ(mine->TypeName, "Event");
    EXPECT_NE(mine->Name.str().find("OrvexHandleAboveSixteenBits"), std::string::npos) << mine->Name.str();
    // Every copy is listed once, under its own value.
    std::size_t listed = 0;
    for (const THandleInfo& h : list)
        if (h.ProcessID == ::GetCurrentProcessId() &&
            h.Name.str().find("OrvexHandleAboveSixteenBits") != std::string::npos)
            ++listed;
    EXPECT_EQ(listed, copies.size() + 1);
}

// The type name the system gives for one handle of this process, asked
// directly; "" when the query fails or gives no name.
std::string AskTypeName(HANDLE h) {
    alignas(8) unsigned char buffer[4096] = {};
    ULONG needed = 0;
    if (!orvex::NtQueryObject ||
        orvex::NtQueryObject(h, static_cast<OBJECT_INFORMATION_CLASS>(2), buffer, sizeof buffer, &needed) != 0)
        return "";
    const auto* name = reinterpret_cast<const UNICODE_STRING*>(buffer);
    if (!name->Buffer || name->Length == 0) return "";
    char text[512] = {};
    const int n = ::WideCharToMultiByte(CP_ACP, 0, name->Buffer, name->Length / 2, text, sizeof text - 1, nullptr,
                                        nullptr);
    return std::string(text, n > 0 ? n : 0);
}

// Each type is asked once per collection (and file handles are not
// duplicated once their type is known): every record of the helper's handles
// still carries the type name and index that asking its own handle gives.
TEST_F(HandleCollector, EachRecordHasTheTypeItsOwnHandleGives) {
    orvex::test::THelperProcess helper;
    ASSERT_TRUE(helper.started());
    THandleList list;
    orvex::CollectHandles(list);
    orvex::THandle owner(::OpenProcess(PROCESS_DUP_HANDLE, FALSE, helper.pid()));
    ASSERT_TRUE(owner);
    std::map<std::string, int> checked;  // records per type name
    for (const THandleInfo& h : list) {
        if (h.ProcessID != helper.pid()) continue;
        HANDLE copy = nullptr;
        if (!::DuplicateHandle(owner.get(), reinterpret_cast<HANDLE>(h.Handle), ::GetCurrentProcess(), &copy, 0, FALSE,
                               DUPLICATE_SAME_ACCESS))
            continue;
        orvex::THandle own(copy);
        const std::string type = AskTypeName(copy);
        if (type.empty()) continue;  // the record keeps the table's name
        EXPECT_EQ(h.TypeName, type) << "handle " << std::hex << h.Handle;
        int index = -1;
        for (std::size_t i = 0; i < orvex::ObjectTypeNames.size(); ++i)
            if (::lstrcmpiA(type.c_str(), std::string(orvex::ObjectTypeNames[i]).c_str()) == 0)
                index = static_cast<int>(i);
        if (index >= 0) {
            EXPECT_EQ(h.ObjectType, index) << type;
        }
        ++checked[type];
    }
    for (const char* type : {"Event", "File", "Mutant", "Process", "Thread"}) EXPECT_GT(checked[type], 0) << type;
    EXPECT_GE(checked["Thread"], 2);
}

TEST_F(HandleCollector, EveryRecordHasAnOwnerAHandleAndATypeName) {
    THandleList list;
    orvex::CollectHandles(list);
    for (const THandleInfo& h : list) {
        EXPECT_NE(h.Handle, 0u);
        EXPECT_FALSE(h.TypeName.empty()) << h.ProcessID << " " << h.Handle << " type " << h.ObjectType;
    }
}

// File names: asked on a worker with a time limit, shown in DOS form.
class HandleNames : public HandleCollector {
protected:
    void HelpersFilesAndPipes();
    void TypeTableAgreesWithDuplicatedHandles();
    void StuckWorkersEndWithTheProcess();
};

void HandleNames::HelpersFilesAndPipes() {
    orvex::test::THelperProcess helper("--pipe-waiter");
    ASSERT_TRUE(helper.started());
    const orvex::THandle own(OpenSharedTestFile(TestFile("orvex_handle_names_own.txt")));
    ASSERT_TRUE(own);
    const THandleList list = CollectOnThread();

    const THandleInfo* file = FindHandle(list, helper.pid(), helper.hex("file"));
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(file->TypeName, "File");
    EXPECT_TRUE(SamePath(file->Name.str(), helper.value("exe"))) << file->Name.str() << " / " << helper.value("exe");

    const THandleInfo* mine = FindHandle(list, ::GetCurrentProcessId(), reinterpret_cast<std::uintptr_t>(own.get()));
    ASSERT_NE(mine, nullptr);
    EXPECT_TRUE(SamePath(mine->Name.str(), TestFile("orvex_handle_names_own.txt"))) << mine->Name.str();

    // A pipe for overlapped I/O is named; one for synchronous I/O with a
    // thread waiting on it may be left unnamed, but never holds up the pass.
    ASSERT_FALSE(helper.value("pipewaiter").empty());
    const std::string pipe = helper.value("pipename");
    const THandleInfo* overlapped = FindHandle(list, helper.pid(), helper.hex("overlappedpipe"));
    ASSERT_NE(overlapped, nullptr);
    EXPECT_NE(overlapped->Name.str().find(pipe + "_overlapped"), std::string::npos) << overlapped->Name.str();
    const THandleInfo* sync = FindHandle(list, helper.pid(), helper.hex("syncpipe"));
    ASSERT_NE(sync, nullptr);
    EXPECT_EQ(sync->TypeName, "File");
    if (!sync->Name.empty()) {
        EXPECT_NE(sync->Name.str().find(pipe + "_sync"), std::string::npos) << sync->Name.str();
    }
}

// The system's type table gives each type number the name that asking a
// duplicate of a handle of that type gives.
void HandleNames::TypeTableAgreesWithDuplicatedHandles() {
    orvex::test::THelperProcess helper;
    ASSERT_TRUE(helper.started());
    std::vector<std::uint8_t> buffer;
    ASSERT_TRUE(orvex::QuerySystemInformation(orvex::nt::SystemHandleInformation, 4096, 0, true, buffer));
    const auto entries = orvex::nt::ParseHandleTable(orvex::nt::NativeWidth, buffer.data(), buffer.size());
    const auto table = orvex::ReadObjectTypeTable(entries);
    ASSERT_FALSE(table.empty());
    std::map<std::uint16_t, std::string> byNumber(table.begin(), table.end());
    EXPECT_EQ(byNumber.size(), table.size()) << "each number once";
    orvex::THandle owner(::OpenProcess(PROCESS_DUP_HANDLE, FALSE, helper.pid()));
    ASSERT_TRUE(owner);
    std::map<std::string, int> checked;
    for (const auto& e : entries) {
        if (e.ProcessId != helper.pid()) continue;
        HANDLE copy = nullptr;
        if (!::DuplicateHandle(owner.get(), reinterpret_cast<HANDLE>(e.HandleValue), ::GetCurrentProcess(), &copy, 0,
                               FALSE, DUPLICATE_SAME_ACCESS))
            continue;
        orvex::THandle own(copy);
        const std::string type = AskTypeName(copy);
        if (type.empty()) continue;
        EXPECT_EQ(byNumber[e.ObjectTypeIndex], type) << "type number " << e.ObjectTypeIndex;
        ++checked[type];
    }
    for (const char* type : {"Event", "File", "Mutant", "Process", "Thread"}) EXPECT_GT(checked[type], 0) << type;
}

void HandleNames::StuckWorkersEndWithTheProcess() {
    orvex::test::THelperProcess helper("--stuck-query");
    ASSERT_TRUE(helper.started());
    const std::vector<std::string> expected = {"timedout", "timedout", "timedout", "timedout", "unavailable"};
    EXPECT_EQ(helper.values("stuck"), expected);
    EXPECT_EQ(helper.value("stuckworkers"), std::to_string(orvex::TBoundedQuery::MaxStuckWorkers));
    ASSERT_TRUE(helper.waitForExit(20000));
    DWORD code = 0;
    ASSERT_TRUE(::GetExitCodeProcess(helper.process(), &code));
    EXPECT_EQ(code, 7u);
}

TEST_F(HandleNames, HelpersFilesAndPipes) { HelpersFilesAndPipes(); }
TEST_F(HandleNames, TypeTableAgreesWithDuplicatedHandles) { TypeTableAgreesWithDuplicatedHandles(); }
TEST_F(HandleNames, StuckWorkersEndWithTheProcess) { StuckWorkersEndWithTheProcess(); }

class Nt40HandleNames : public HandleNames {};
TEST_F(Nt40HandleNames, HelpersFilesAndPipes) { HelpersFilesAndPipes(); }
TEST_F(Nt40HandleNames, TypeTableAgreesWithDuplicatedHandles) { TypeTableAgreesWithDuplicatedHandles(); }
TEST_F(Nt40HandleNames, StuckWorkersEndWithTheProcess) { StuckWorkersEndWithTheProcess(); }

}  // namespace
