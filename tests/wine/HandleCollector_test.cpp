// The handle list against a helper process whose handles are known.
#include <windows.h>

#include <algorithm>
#include <gtest/gtest.h>

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

TEST_F(HandleCollector, EveryRecordHasAnOwnerAHandleAndATypeName) {
    THandleList list;
    orvex::CollectHandles(list);
    for (const THandleInfo& h : list) {
        EXPECT_NE(h.Handle, 0u);
        EXPECT_FALSE(h.TypeName.empty()) << h.ProcessID << " " << h.Handle << " type " << h.ObjectType;
    }
}

}  // namespace
