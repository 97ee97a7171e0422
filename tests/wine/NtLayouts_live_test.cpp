// The buffer readers on what the real native services return: the process
// and thread list, the kernel module table, both handle tables, the basic
// information blocks, the environment block and object names.
#include <gtest/gtest.h>

#include <windows.h>
#include <tlhelp32.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "platform/Orvex_Resources.h"
#include "platform/pure/Orvex_NtLayouts.h"
#include "tests/wine/support/HelperProcess.h"

using namespace orvex::nt;

namespace {

using TQuerySystem = LONG(WINAPI*)(ULONG, PVOID, ULONG, PULONG);
using TQueryByHandle = LONG(WINAPI*)(HANDLE, ULONG, PVOID, ULONG, PULONG);

template <class F>
F Ntdll(const char* name) {
    return reinterpret_cast<F>(GetProcAddress(GetModuleHandleA("ntdll.dll"), name));
}

// The whole buffer of one system information class, grown until it fits.
std::vector<std::uint8_t> QuerySystem(ULONG infoClass) {
    const auto query = Ntdll<TQuerySystem>("NtQuerySystemInformation");
    std::vector<std::uint8_t> buf(64 * 1024);
    if (!query) return {};
    for (int attempt = 0; attempt < 16; ++attempt) {
        ULONG needed = 0;
        const auto status = static_cast<std::uint32_t>(
            query(infoClass, buf.data(), static_cast<ULONG>(buf.size()), &needed));
        if (status == StatusSuccess) {
            if (needed != 0 && needed < buf.size()) buf.resize(needed);
            return buf;
        }
        if (status != StatusInfoLengthMismatch && status != StatusBufferOverflow) return {};
        buf.resize(std::max<std::size_t>(buf.size() * 2, needed + 4096));
    }
    return {};
}

std::string Narrow(const std::u16string& s) {
    std::string out;
    for (char16_t c : s) out.push_back(c < 0x80 ? static_cast<char>(c) : '?');
    return out;
}

std::string Lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
}

const TProcessBlock* FindProcess(const std::vector<TProcessBlock>& list, DWORD pid) {
    for (const auto& p : list)
        if (p.ProcessId == pid) return &p;
    return nullptr;
}

std::set<std::uint64_t> ThreadIds(const TProcessBlock& p) {
    std::set<std::uint64_t> ids;
    for (const auto& t : p.Threads) ids.insert(t.ThreadId);
    return ids;
}

std::set<DWORD> SnapshotThreadIds(DWORD pid) {
    std::set<DWORD> ids;
    orvex::THandle snap(CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0));
    if (!snap || snap.get() == INVALID_HANDLE_VALUE) return ids;
    THREADENTRY32 te{};
    te.dwSize = sizeof te;
    for (BOOL ok = Thread32First(snap.get(), &te); ok; ok = Thread32Next(snap.get(), &te))
        if (te.th32OwnerProcessID == pid) ids.insert(te.th32ThreadID);
    return ids;
}

bool HasHandle(const std::vector<THandleEntry>& table, DWORD pid, std::uint64_t value, std::uint64_t* object) {
    for (const auto& h : table) {
        if (h.ProcessId == pid && h.HandleValue == value) {
            if (object) *object = h.Object;
            return true;
        }
    }
    return false;
}

}  // namespace

TEST(NtLayoutsLive, OwnProcessAndItsThreads) {
    const std::set<DWORD> before = SnapshotThreadIds(GetCurrentProcessId());
    const auto buf = QuerySystem(SystemProcessInformation);
    // The threads that ran before and after the query (a worker of an
    // earlier test may end in between).
    std::set<DWORD> snapshot;
    for (DWORD tid : SnapshotThreadIds(GetCurrentProcessId()))
        if (before.count(tid)) snapshot.insert(tid);
    ASSERT_FALSE(buf.empty());
    const auto list = ParseSystemProcesses(buf.data(), buf.size());
    ASSERT_GT(list.size(), 1u);

    const TProcessBlock* self = FindProcess(list, GetCurrentProcessId());
    ASSERT_NE(self, nullptr);
    EXPECT_NE(Lower(Narrow(self->ImageName)).find("orvex_wine_tests"), std::string::npos) << Narrow(self->ImageName);
    EXPECT_EQ(self->ThreadCount, self->Threads.size());
    EXPECT_GT(self->HandleCount, 0u);
    EXPECT_GT(self->VMCounters.WorkingSetSize, 0u);
    EXPECT_GT(self->CreateTime, 0);

    const auto ids = ThreadIds(*self);
    EXPECT_TRUE(ids.count(GetCurrentThreadId()));
    for (DWORD tid : snapshot) EXPECT_TRUE(ids.count(tid)) << "thread " << tid << " of the tool-help snapshot";
    for (const auto& t : self->Threads) EXPECT_EQ(t.ProcessId, GetCurrentProcessId());

    // every entry's thread array was read whole
    for (const auto& p : list) EXPECT_EQ(p.ThreadCount, p.Threads.size()) << "pid " << p.ProcessId;
}

TEST(NtLayoutsLive, HelperProcessWithItsThreads) {
    orvex::test::THelperProcess helper("--no-window");
    ASSERT_TRUE(helper.started());
    const auto buf = QuerySystem(SystemProcessInformation);
    const auto list = ParseSystemProcesses(buf.data(), buf.size());
    const TProcessBlock* p = FindProcess(list, helper.pid());
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(Lower(Narrow(p->ImageName)), "orvex_test_helper.exe");
    EXPECT_EQ(p->ParentProcessId, GetCurrentProcessId());
    EXPECT_GE(p->Threads.size(), 3u);
    const auto ids = ThreadIds(*p);
    const auto reported = helper.values("tid");
    ASSERT_EQ(reported.size(), 3u);
    for (const auto& tid : reported) EXPECT_TRUE(ids.count(std::stoull(tid))) << "thread " << tid;
    for (const auto& t : p->Threads) {
        EXPECT_EQ(t.ProcessId, helper.pid());
        EXPECT_LT(t.ThreadState, 8u);
    }
}

TEST(NtLayoutsLive, KernelModules) {
    const auto buf = QuerySystem(SystemModuleInformation);
    ASSERT_FALSE(buf.empty());
    const auto list = ParseKernelModules(NativeWidth, buf.data(), buf.size());
    ASSERT_FALSE(list.empty());
    EXPECT_EQ(list.size(), *reinterpret_cast<const ULONG*>(buf.data()));
    for (const auto& m : list) {
        EXPECT_FALSE(m.FullPath.empty());
        EXPECT_LT(m.FileNameOffset, m.FullPath.size()) << m.FullPath;
        EXPECT_NE(m.ImageBase, 0u) << m.FullPath;
    }
}

TEST(NtLayoutsLive, HelperHandlesInBothHandleTables) {
    orvex::test::THelperProcess helper("--no-window");
    ASSERT_TRUE(helper.started());
    const std::uint64_t event = helper.hex("event");
    const std::uint64_t mutex = helper.hex("mutex");
    ASSERT_NE(event, 0u);
    ASSERT_NE(mutex, 0u);
    orvex::THandle own(CreateEventA(nullptr, FALSE, FALSE, nullptr));
    const auto ownValue = static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(own.get()));

    const auto b16 = QuerySystem(SystemHandleInformation);
    ASSERT_FALSE(b16.empty());
    const auto t16 = ParseHandleTable(NativeWidth, b16.data(), b16.size());
    EXPECT_EQ(t16.size(), *reinterpret_cast<const ULONG*>(b16.data()));
    std::uint64_t eventObj16 = 0, mutexObj16 = 0;
    EXPECT_TRUE(HasHandle(t16, helper.pid(), event, &eventObj16));
    EXPECT_TRUE(HasHandle(t16, helper.pid(), mutex, &mutexObj16));
    EXPECT_TRUE(HasHandle(t16, GetCurrentProcessId(), ownValue, nullptr));
    EXPECT_FALSE(HasHandle(t16, GetCurrentProcessId() + 1, ownValue + 0x100000, nullptr));

    const auto b64 = QuerySystem(SystemExtendedHandleInformation);
    ASSERT_FALSE(b64.empty());
    const auto t64 = ParseExtendedHandleTable(NativeWidth, b64.data(), b64.size());
    EXPECT_EQ(t64.size(), *reinterpret_cast<const ULONG_PTR*>(b64.data()));
    std::uint64_t eventObj64 = 0, mutexObj64 = 0;
    EXPECT_TRUE(HasHandle(t64, helper.pid(), event, &eventObj64));
    EXPECT_TRUE(HasHandle(t64, helper.pid(), mutex, &mutexObj64));
    EXPECT_TRUE(HasHandle(t64, GetCurrentProcessId(), ownValue, nullptr));
    // both tables describe the same objects
    EXPECT_EQ(eventObj16, eventObj64);
    EXPECT_EQ(mutexObj16, mutexObj64);
    for (const auto& h : t64) {
        if (h.ProcessId == helper.pid() && h.HandleValue == event) {
            EXPECT_EQ(h.GrantedAccess & 0x1F0003u, 0x1F0003u);
        }
    }
}

TEST(NtLayoutsLive, BasicInformationAndCommandLine) {
    orvex::test::THelperProcess helper("--no-window");
    ASSERT_TRUE(helper.started());
    const auto queryProcess = Ntdll<TQueryByHandle>("NtQueryInformationProcess");
    ASSERT_NE(queryProcess, nullptr);

    std::vector<std::uint8_t> pbi(LayoutSizes(NativeWidth).ProcessBasicInfo);
    ULONG got = 0;
    ASSERT_EQ(queryProcess(helper.process(), 0, pbi.data(), static_cast<ULONG>(pbi.size()), &got), 0);
    const auto basic = ParseProcessBasicInfo(NativeWidth, pbi.data(), pbi.size());
    ASSERT_TRUE(basic);
    EXPECT_EQ(basic->ProcessId, helper.pid());
    EXPECT_EQ(basic->ParentProcessId, GetCurrentProcessId());
    ASSERT_NE(basic->PebBaseAddress, 0u);

    auto readAt = [&](std::uint64_t address, std::size_t size) {
        std::vector<std::uint8_t> out(size);
        SIZE_T read = 0;
        if (!ReadProcessMemory(helper.process(), reinterpret_cast<LPCVOID>(static_cast<std::uintptr_t>(address)),
                               out.data(), size, &read) ||
            read != size)
            out.clear();
        return out;
    };
    const auto peb = readAt(basic->PebBaseAddress, PebReadSize(NativeWidth));
    const auto paramsAddress = ParsePebProcessParameters(NativeWidth, peb.data(), peb.size());
    ASSERT_TRUE(paramsAddress);
    const auto params = readAt(*paramsAddress, ParamsReadSize(NativeWidth));
    const auto cmd = ParseParamsCommandLine(NativeWidth, params.data(), params.size());
    const auto image = ParseParamsImagePath(NativeWidth, params.data(), params.size());
    ASSERT_TRUE(cmd);
    ASSERT_TRUE(image);
    const auto cmdText = readAt(cmd->Buffer, cmd->Length);
    const auto imageText = readAt(image->Buffer, image->Length);
    const std::string cmdLine = Narrow(Utf16UpToZero(cmdText.data(), cmdText.size()));
    EXPECT_NE(cmdLine.find("orvex_test_helper.exe\" --no-window"), std::string::npos) << cmdLine;
    EXPECT_EQ(Lower(Narrow(Utf16UpToZero(imageText.data(), imageText.size()))), Lower(helper.value("exe")));

    const auto queryThread = Ntdll<TQueryByHandle>("NtQueryInformationThread");
    ASSERT_NE(queryThread, nullptr);
    std::vector<std::uint8_t> tbi(LayoutSizes(NativeWidth).ThreadBasicInfo);
    ASSERT_EQ(queryThread(GetCurrentThread(), 0, tbi.data(), static_cast<ULONG>(tbi.size()), &got), 0);
    const auto thread = ParseThreadBasicInfo(NativeWidth, tbi.data(), tbi.size());
    ASSERT_TRUE(thread);
    EXPECT_EQ(thread->ProcessId, GetCurrentProcessId());
    EXPECT_EQ(thread->ThreadId, GetCurrentThreadId());

    std::vector<std::uint8_t> counters(LayoutSizes(NativeWidth).VMCounters);
    ASSERT_EQ(queryProcess(helper.process(), 3, counters.data(), static_cast<ULONG>(counters.size()), &got), 0);
    const auto vm = ParseVMCounters(NativeWidth, counters.data(), counters.size());
    ASSERT_TRUE(vm);
    EXPECT_GT(vm->WorkingSetSize, 0u);
    EXPECT_GE(vm->PeakWorkingSetSize, vm->WorkingSetSize);
    EXPECT_GE(vm->PeakVirtualSize, vm->VirtualSize);

    std::vector<std::uint8_t> times(32);
    ASSERT_EQ(queryProcess(helper.process(), 4, times.data(), 32, &got), 0);
    const auto kut = ParseKernelUserTimes(times.data(), times.size());
    ASSERT_TRUE(kut);
    FILETIME c{}, e{}, k{}, u{};
    ASSERT_TRUE(GetProcessTimes(helper.process(), &c, &e, &k, &u));
    EXPECT_EQ(kut->CreateTime, static_cast<std::int64_t>((std::uint64_t{c.dwHighDateTime} << 32) | c.dwLowDateTime));
}

TEST(NtLayoutsLive, ObjectNameOfTheHelpersMutex) {
    orvex::test::THelperProcess helper("--no-window");
    ASSERT_TRUE(helper.started());
    HANDLE dup = nullptr;
    ASSERT_TRUE(DuplicateHandle(helper.process(),
                                reinterpret_cast<HANDLE>(static_cast<std::uintptr_t>(helper.hex("mutex"))),
                                GetCurrentProcess(), &dup, 0, FALSE, DUPLICATE_SAME_ACCESS));
    orvex::THandle owned(dup);
    const auto queryObject = Ntdll<TQueryByHandle>("NtQueryObject");
    ASSERT_NE(queryObject, nullptr);
    std::vector<std::uint8_t> buf(1024);
    ULONG got = 0;
    ASSERT_EQ(queryObject(dup, 1, buf.data(), static_cast<ULONG>(buf.size()), &got), 0);
    const std::string name = Narrow(ParseObjectInfoName(NativeWidth, buf.data(), buf.size(), AddressOf(buf.data())));
    EXPECT_NE(name.find("\\" + helper.value("mutexname")), std::string::npos) << name;
    ASSERT_EQ(queryObject(dup, 2, buf.data(), static_cast<ULONG>(buf.size()), &got), 0);
    EXPECT_EQ(Narrow(ParseObjectInfoName(NativeWidth, buf.data(), buf.size(), AddressOf(buf.data()))), "Mutant");
}

// Every fixed-size query answers with as many bytes as the layout says,
// whether it is given exactly that length or more room (which the real
// system refuses for most classes, Wine not), and a process query is refused
// a buffer one byte short.
TEST(NtLayoutsLive, QueryLengthsAreWhatTheSystemAnswers) {
    orvex::test::THelperProcess helper("--no-window");
    ASSERT_TRUE(helper.started());
    const auto queryProcess = Ntdll<TQueryByHandle>("NtQueryInformationProcess");
    const auto queryThread = Ntdll<TQueryByHandle>("NtQueryInformationThread");
    ASSERT_NE(queryProcess, nullptr);
    ASSERT_NE(queryThread, nullptr);
    for (const std::uint32_t infoClass : {ProcessClassBasic, ProcessClassIoCounters, ProcessClassVmCounters,
                                          ProcessClassTimes, ProcessClassHandleCount}) {
        const std::size_t length = ProcessQueryLength(NativeWidth, infoClass);
        ASSERT_GT(length, 0u) << "class " << infoClass;
        alignas(8) std::uint8_t buffer[MaxQueryLength] = {};
        ULONG got = 0;
        EXPECT_EQ(queryProcess(helper.process(), infoClass, buffer, static_cast<ULONG>(length), &got), 0)
            << "class " << infoClass;
        EXPECT_EQ(got, length) << "class " << infoClass;
        got = 0;
        // the memory counters come in an extended form too, with the private
        // bytes added, when there is room for it
        const std::size_t extended = infoClass == ProcessClassVmCounters ? length + sizeof(SIZE_T) : length;
        if (queryProcess(helper.process(), infoClass, buffer, MaxQueryLength, &got) == 0)
            EXPECT_TRUE(got == length || got == extended) << "class " << infoClass << " given more room: " << got;
        EXPECT_NE(queryProcess(helper.process(), infoClass, buffer, static_cast<ULONG>(length - 1), &got), 0)
            << "class " << infoClass;
    }

    orvex::THandle worker(OpenThread(THREAD_QUERY_INFORMATION, FALSE, std::stoul(helper.values("tid").at(1))));
    ASSERT_TRUE(worker);
    const std::size_t length = ThreadQueryLength(NativeWidth, ThreadClassBasic);
    alignas(8) std::uint8_t buffer[MaxQueryLength] = {};
    ULONG got = 0;
    EXPECT_EQ(queryThread(worker.get(), ThreadClassBasic, buffer, static_cast<ULONG>(length), &got), 0);
    EXPECT_EQ(got, length);
    got = 0;
    if (queryThread(worker.get(), ThreadClassBasic, buffer, MaxQueryLength, &got) == 0)
        EXPECT_EQ(got, length) << "given more room";
    ASSERT_EQ(queryThread(worker.get(), ThreadClassBasic, buffer, static_cast<ULONG>(length), &got), 0);
    const auto basic = ParseThreadBasicInfo(NativeWidth, buffer, length);
    ASSERT_TRUE(basic);
    EXPECT_EQ(basic->ProcessId, helper.pid());
    EXPECT_EQ(std::to_string(basic->ThreadId), helper.values("tid").at(1));
}
