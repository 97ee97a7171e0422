// The handle list against a helper process whose handles are known.
#include <windows.h>

#include <algorithm>
#include <gtest/gtest.h>
#include <map>
#include <string>

#include "engine/OXI_Collectors.h"
#include "platform/Orvex_Native.h"
#include "platform/Orvex_OSInfo.h"
#include "platform/Orvex_Resources.h"
#include "tests/wine/support/HelperProcess.h"

namespace {

using orvex::THandleInfo;
using orvex::THandleList;

class HandleCollector : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(orvex::BindNative()); }
    void TearDown() override { orvex::ReleaseNative(); }

    static const THandleInfo* Find(const THandleList& list, DWORD pid, unsigned long long handle) {
        auto it = std::find_if(list.begin(), list.end(),
                               [&](const THandleInfo& h) { return h.ProcessID == pid && h.Handle == handle; });
        return it == list.end() ? nullptr : &*it;
    }
};

TEST_F(HandleCollector, NamesTheHelpersObjectsByType) {
    orvex::test::THelperProcess helper;
    ASSERT_TRUE(helper.started());
    THandleList list;
    orvex::CollectHandles(list);
    ASSERT_FALSE(list.empty());

    const THandleInfo* mutex = Find(list, helper.pid(), helper.hex("mutex"));
    ASSERT_NE(mutex, nullptr);
    EXPECT_EQ(mutex->TypeName, "Mutant");
    EXPECT_EQ(mutex->ObjectType, 10);
    const std::string& name = mutex->Name.str();
    const std::string expected = "\\" + helper.value("mutexname");
    ASSERT_GE(name.size(), expected.size());
    EXPECT_EQ(name.substr(name.size() - expected.size()), expected) << name;
    EXPECT_EQ(name.front(), '\\') << "the full object name, with its directory";

    const THandleInfo* event = Find(list, helper.pid(), helper.hex("event"));
    ASSERT_NE(event, nullptr);
    EXPECT_EQ(event->TypeName, "Event");
    EXPECT_EQ(event->ObjectType, 8);
    EXPECT_TRUE(event->Name.empty());

    const THandleInfo* file = Find(list, helper.pid(), helper.hex("file"));
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(file->TypeName, "File");
    EXPECT_EQ(file->ObjectType, 26);
    EXPECT_TRUE(file->Name.empty());

    const THandleInfo* process = Find(list, helper.pid(), helper.hex("process"));
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
        const THandleInfo* t = Find(list, helper.pid(), std::stoull(threads[i], nullptr, 16));
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
    const THandleInfo* t = Find(list, ::GetCurrentProcessId(), reinterpret_cast<std::uintptr_t>(thread.get()));
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(t->Name, "TID: " + std::to_string(::GetCurrentThreadId()) + " (PID: " + self + ")");
    const THandleInfo* p = Find(list, ::GetCurrentProcessId(), reinterpret_cast<std::uintptr_t>(process.get()));
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->Name, "PID: " + self);
}

TEST_F(HandleCollector, OwnHandlesAreNamedWithoutDuplicationAndStayOpen) {
    HANDLE event = ::CreateEventA(nullptr, TRUE, FALSE, "OrvexHandleCollectorOwnEvent");
    ASSERT_NE(event, nullptr);
    THandleList list;
    orvex::CollectHandles(list);
    const THandleInfo* mine = Find(list, ::GetCurrentProcessId(), reinterpret_cast<std::uintptr_t>(event));
    ASSERT_NE(mine, nullptr);
    EXPECT_EQ(mine->TypeName, "Event");
    EXPECT_NE(mine->Name.str().find("OrvexHandleCollectorOwnEvent"), std::string::npos);
    // The collector must not have closed our handle.
    EXPECT_TRUE(::SetEvent(event));
    EXPECT_TRUE(::CloseHandle(event));
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
    const int n = ::WideCharToMultiByte(CP_ACP, 0, name->Buffer, name->Length / 2, text, sizeof text - 1,
                                        nullptr, nullptr);
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
        if (!::DuplicateHandle(owner.get(), reinterpret_cast<HANDLE>(h.Handle), ::GetCurrentProcess(), &copy, 0,
                               FALSE, DUPLICATE_SAME_ACCESS))
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
    for (const char* type : {"Event", "File", "Mutant", "Process", "Thread"})
        EXPECT_GT(checked[type], 0) << type;
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

}  // namespace
