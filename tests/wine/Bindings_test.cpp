// The run-time bindings of ntdll, psapi and the service-control functions,
// against the libraries of the Wine prefix.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "platform/Orvex_AdvAPI.h"
#include "platform/Orvex_LibraryBinding.h"
#include "platform/Orvex_Native.h"
#include "platform/Orvex_PSAPI.h"
#include "platform/Orvex_Resources.h"
#include "tests/wine/support/TestMode.h"

namespace {

using orvex::TLibraryBinding;
using orvex::TSlotBinding;

std::vector<std::string> SlotNames(const TLibraryBinding& binding) {
    std::vector<std::string> names;
    for (const TSlotBinding& slot : binding.slots()) names.emplace_back(slot.name);
    return names;
}

// Every slot holds what the library exports under the slot's name.
void ExpectSlotsMatchExports(const TLibraryBinding& binding) {
    HMODULE module = GetModuleHandleA(binding.name());
    ASSERT_NE(module, nullptr) << binding.name();
    for (const TSlotBinding& slot : binding.slots())
        EXPECT_EQ(slot.value(), GetProcAddress(module, slot.name)) << slot.name;
}

void ExpectAllSlotsNull(const TLibraryBinding& binding) {
    for (const TSlotBinding& slot : binding.slots()) EXPECT_EQ(slot.value(), nullptr) << slot.name;
}

// --- the shared mechanism, on a library that nothing else in the process loads

using TCardsInit = BOOL(WINAPI*)(int* width, int* height);
TCardsInit g_cardsInit = nullptr;
FARPROC g_cardsAbsent = nullptr;
constexpr TSlotBinding CardsSlots[] = {
    orvex::BindSlot<g_cardsInit>("cdtInit"),
    orvex::BindSlot<g_cardsAbsent>("NoSuchExportOfCards"),
};
constexpr char CardsDll[] = "cards.dll";

TEST(AllModesLibraryBinding, OwnedLibraryIsFreedAndItsSlotsCleared) {
    ASSERT_EQ(GetModuleHandleA(CardsDll), nullptr) << "nothing else may hold the test library";
    TLibraryBinding cards(CardsDll, CardsSlots);
    ASSERT_TRUE(cards.Bind());
    EXPECT_TRUE(cards.owned());
    EXPECT_EQ(cards.handle(), GetModuleHandleA(CardsDll));
    EXPECT_NE(g_cardsInit, nullptr);
    EXPECT_EQ(reinterpret_cast<FARPROC>(g_cardsInit), GetProcAddress(cards.handle(), "cdtInit"));
    EXPECT_EQ(g_cardsAbsent, nullptr) << "a name the library does not export leaves its slot null";

    cards.Release();
    EXPECT_EQ(cards.handle(), nullptr);
    EXPECT_FALSE(cards.owned());
    EXPECT_EQ(GetModuleHandleA(CardsDll), nullptr) << "the owned library must be unloaded";
    EXPECT_EQ(g_cardsInit, nullptr) << "slots must not point into a freed library";
    EXPECT_NO_THROW(cards.Release()) << "a second release has nothing to free";
}

TEST(AllModesLibraryBinding, SecondBindFindsTheLibraryMappedAndStopsOwningIt) {
    ASSERT_EQ(GetModuleHandleA(CardsDll), nullptr);
    TLibraryBinding cards(CardsDll, CardsSlots);
    ASSERT_TRUE(cards.Bind());
    ASSERT_TRUE(cards.owned());
    const HMODULE first = cards.handle();
    ASSERT_TRUE(cards.Bind());
    EXPECT_FALSE(cards.owned());
    EXPECT_EQ(cards.handle(), first);

    cards.Release();  // not owned: nothing changes
    EXPECT_EQ(cards.handle(), first);
    EXPECT_NE(g_cardsInit, nullptr);
    EXPECT_EQ(GetModuleHandleA(CardsDll), first);

    // The library was loaded once: one free unloads it.
    ASSERT_TRUE(FreeLibrary(first));
    EXPECT_EQ(GetModuleHandleA(CardsDll), nullptr);
}

TEST(AllModesLibraryBinding, FailedFreeRaisesUnloadErrorAndKeepsTheHandle) {
    ASSERT_EQ(GetModuleHandleA(CardsDll), nullptr);
    TLibraryBinding cards(CardsDll, CardsSlots);
    ASSERT_TRUE(cards.Bind());
    ASSERT_TRUE(cards.owned());
    const HMODULE handle = cards.handle();
    // Unload it behind the binding's back: its own free then fails.
    ASSERT_TRUE(FreeLibrary(handle));
    ASSERT_EQ(GetModuleHandleA(CardsDll), nullptr);
    try {
        cards.Release();
        ADD_FAILURE() << "releasing an unloaded library must raise";
    } catch (const orvex::EUnloadError& e) {
        EXPECT_STREQ(e.what(), "Unload Error: cards.dll - 0x0");
    }
    EXPECT_EQ(cards.handle(), handle);
    EXPECT_TRUE(cards.owned());
}

FARPROC g_staleSlot = nullptr;
constexpr TSlotBinding StaleSlots[] = {orvex::BindSlot<g_staleSlot>("AnyName")};

TEST(AllModesLibraryBinding, MissingLibraryLeavesEverySlotNull) {
    g_staleSlot = reinterpret_cast<FARPROC>(&GetTickCount);  // as if left by an earlier bind
    TLibraryBinding absent("orvex_no_such_library.dll", StaleSlots);
    EXPECT_FALSE(absent.Bind());
    EXPECT_EQ(absent.handle(), nullptr);
    EXPECT_FALSE(absent.owned());
    EXPECT_EQ(g_staleSlot, nullptr);
    EXPECT_NO_THROW(absent.Release());
}

TEST(AllModesUnloadError, MessageNamesTheLibraryAndTheHandleInUpperCaseHex) {
    static_assert(std::is_base_of_v<std::runtime_error, orvex::EUnloadError>);
    EXPECT_EQ(orvex::FormatUnloadError("psapi.dll", 0x7FFE0000u), "Unload Error: psapi.dll - 0x7FFE0000");
    EXPECT_EQ(orvex::FormatUnloadError("NTDLL.DLL", 0), "Unload Error: NTDLL.DLL - 0x0");
    EXPECT_EQ(orvex::FormatUnloadError("advapi32.dll", 0xabcdef), "Unload Error: advapi32.dll - 0xABCDEF");
    EXPECT_EQ(orvex::FormatUnloadError("vdmdbg.dll", 0x10), "Unload Error: vdmdbg.dll - 0x10");
    if constexpr (sizeof(std::uintptr_t) == 8) {
        EXPECT_EQ(orvex::FormatUnloadError("x.dll", static_cast<std::uintptr_t>(0x00007FF812340000ull)),
                  "Unload Error: x.dll - 0x7FF812340000");
    }
}

// --- ntdll

TEST(Bindings, NativeBindsAllSixteenServicesInOrder) {
    const std::vector<std::string> expected{"NtQueryInformationToken",
                                            "NtOpenProcessToken",
                                            "NtOpenSection",
                                            "NtClose",
                                            "NtOpenProcess",
                                            "NtQuerySystemInformation",
                                            "NtCreateSection",
                                            "NtMapViewOfSection",
                                            "NtUnmapViewOfSection",
                                            "NtOpenFile",
                                            "NtCreateFile",
                                            "NtQueryObject",
                                            "NtQueryInformationProcess",
                                            "NtQueryInformationThread",
                                            "NtQueryInformationFile",
                                            "NtDuplicateObject"};
    EXPECT_EQ(SlotNames(orvex::NativeLibrary()), expected);

    ASSERT_TRUE(orvex::BindNative());
    const TLibraryBinding& native = orvex::NativeLibrary();
    EXPECT_EQ(native.handle(), GetModuleHandleA("ntdll.dll"));
    EXPECT_FALSE(native.owned()) << "ntdll is always mapped";
    for (const TSlotBinding& slot : native.slots()) EXPECT_NE(slot.value(), nullptr) << slot.name;
    ExpectSlotsMatchExports(native);
    EXPECT_EQ(reinterpret_cast<FARPROC>(orvex::NtQueryObject), GetProcAddress(native.handle(), "NtQueryObject"));
    EXPECT_EQ(reinterpret_cast<FARPROC>(orvex::NtDuplicateObject),
              GetProcAddress(native.handle(), "NtDuplicateObject"));
}

TEST(Bindings, NativeSlotsAnswerWithTheStatusValuesCallersRelyOn) {
    ASSERT_TRUE(orvex::BindNative());
    // A process list never fits into 16 bytes: the caller is told to grow.
    std::vector<unsigned char> buffer(16);
    ULONG needed = 0;
    NTSTATUS status = orvex::NtQuerySystemInformation(orvex::InfoClassProcesses, buffer.data(),
                                                      static_cast<ULONG>(buffer.size()), &needed);
    EXPECT_TRUE(orvex::NeedsLargerBuffer(status)) << std::hex << status;
    for (int attempt = 0; attempt < 20 && orvex::NeedsLargerBuffer(status); ++attempt) {
        buffer.resize(std::max<std::size_t>(buffer.size() * 2, needed));
        status = orvex::NtQuerySystemInformation(orvex::InfoClassProcesses, buffer.data(),
                                                 static_cast<ULONG>(buffer.size()), &needed);
    }
    EXPECT_EQ(status, orvex::StatusSuccess);

    PROCESS_BASIC_INFORMATION basic{};
    ULONG length = 0;
    EXPECT_EQ(orvex::NtQueryInformationProcess(GetCurrentProcess(), orvex::ProcessInfoBasic, &basic, sizeof basic,
                                               &length),
              orvex::StatusSuccess);
    EXPECT_EQ(length, sizeof basic);
    EXPECT_EQ(basic.UniqueProcessId, GetCurrentProcessId());
    EXPECT_NE(basic.PebBaseAddress, nullptr);

    // A handle duplicated through the slot is closed through the slot.
    orvex::THandle event(CreateEventA(nullptr, TRUE, FALSE, nullptr));
    ASSERT_TRUE(event);
    HANDLE copy = nullptr;
    ASSERT_EQ(orvex::NtDuplicateObject(GetCurrentProcess(), event.get(), GetCurrentProcess(), &copy, 0, 0,
                                       DUPLICATE_SAME_ACCESS),
              orvex::StatusSuccess);
    DWORD flags = 0;
    EXPECT_TRUE(GetHandleInformation(copy, &flags));
    EXPECT_EQ(orvex::NtClose(copy), orvex::StatusSuccess);
    EXPECT_FALSE(GetHandleInformation(copy, &flags));
}

// The fixed-size queries ask with their structure's exact length and read
// what this process's own Win32 calls report.
TEST(Bindings, FixedSizeQueriesOfThisProcessAndThread) {
    ASSERT_TRUE(orvex::BindNative());
    orvex::TNativeBlock block;
    ASSERT_TRUE(orvex::QueryProcessBlock(GetCurrentProcess(), orvex::ProcessInfoBasic, block));
    EXPECT_EQ(block.Size, sizeof(PROCESS_BASIC_INFORMATION));
    const auto basic = orvex::nt::ParseProcessBasicInfo(orvex::nt::NativeWidth, block.Bytes, block.Size);
    ASSERT_TRUE(basic);
    EXPECT_EQ(basic->ProcessId, GetCurrentProcessId());

    ASSERT_TRUE(orvex::QueryProcessBlock(GetCurrentProcess(), orvex::ProcessInfoHandleCount, block));
    EXPECT_EQ(block.Size, sizeof(ULONG));
    ULONG handles = 0;
    std::memcpy(&handles, block.Bytes, sizeof handles);
    DWORD win32Handles = 0xFFFFFFFFu;
    ASSERT_TRUE(GetProcessHandleCount(GetCurrentProcess(), &win32Handles));
    EXPECT_EQ(handles, win32Handles);

    ASSERT_TRUE(orvex::QueryProcessBlock(GetCurrentProcess(), orvex::ProcessInfoTimes, block));
    const auto times = orvex::nt::ParseKernelUserTimes(block.Bytes, block.Size);
    ASSERT_TRUE(times);
    FILETIME create{}, exit{}, kernel{}, user{};
    ASSERT_TRUE(GetProcessTimes(GetCurrentProcess(), &create, &exit, &kernel, &user));
    EXPECT_EQ(times->CreateTime,
              static_cast<std::int64_t>((std::uint64_t{create.dwHighDateTime} << 32) | create.dwLowDateTime));

    ASSERT_TRUE(orvex::QueryProcessBlock(GetCurrentProcess(), orvex::ProcessInfoVmCounters, block));
    EXPECT_EQ(block.Size, sizeof(VM_COUNTERS));
    ASSERT_TRUE(orvex::QueryProcessBlock(GetCurrentProcess(), orvex::ProcessInfoIoCounters, block));
    EXPECT_EQ(block.Size, sizeof(IO_COUNTERS));

    ASSERT_TRUE(orvex::QueryThreadBlock(GetCurrentThread(), orvex::ThreadInfoBasic, block));
    EXPECT_EQ(block.Size, orvex::nt::LayoutSizes(orvex::nt::NativeWidth).ThreadBasicInfo);
    const auto thread = orvex::nt::ParseThreadBasicInfo(orvex::nt::NativeWidth, block.Bytes, block.Size);
    ASSERT_TRUE(thread);
    EXPECT_EQ(thread->ThreadId, GetCurrentThreadId());
    EXPECT_EQ(thread->ProcessId, GetCurrentProcessId());

    // a class of no known length is not asked, and a failed query leaves the block as it was
    block.Size = 12345;
    EXPECT_FALSE(orvex::QueryProcessBlock(GetCurrentProcess(), static_cast<PROCESSINFOCLASS>(7), block));
    EXPECT_FALSE(orvex::QueryThreadBlock(GetCurrentThread(), static_cast<THREADINFOCLASS>(1), block));
    EXPECT_FALSE(orvex::QueryProcessBlock(nullptr, orvex::ProcessInfoBasic, block));
    EXPECT_EQ(block.Size, 12345u);
}

TEST(Bindings, NativeReleaseLeavesAMappedLibraryAndItsSlots) {
    ASSERT_TRUE(orvex::BindNative());
    const HMODULE handle = orvex::NativeLibrary().handle();
    EXPECT_NO_THROW(orvex::ReleaseNative());
    EXPECT_NO_THROW(orvex::ReleaseNative());
    EXPECT_EQ(orvex::NativeLibrary().handle(), handle);
    EXPECT_NE(orvex::NtQuerySystemInformation, nullptr);
    ExpectSlotsMatchExports(orvex::NativeLibrary());
    EXPECT_EQ(GetModuleHandleA("ntdll.dll"), handle);
}

TEST(Nt40Bindings, NativeBindsOnNt4) {
    ASSERT_TRUE(orvex::BindNative());
    EXPECT_NE(orvex::NtQueryObject, nullptr);
    EXPECT_NE(orvex::NtQuerySystemInformation, nullptr);
    EXPECT_FALSE(orvex::NativeLibrary().owned());
}

TEST(Win98Bindings, NativeIsNotBoundOff9xAndNoLibraryIsTouched) {
    EXPECT_FALSE(orvex::BindNative());
    EXPECT_EQ(orvex::NativeLibrary().handle(), nullptr);
    ExpectAllSlotsNull(orvex::NativeLibrary());
    EXPECT_NO_THROW(orvex::ReleaseNative());
}

// --- psapi

TEST(Bindings, ProcessStatusBindsAllFourteenFunctionsInOrder) {
    const std::vector<std::string> expected{"EnumProcesses",
                                            "EnumProcessModules",
                                            "GetModuleBaseNameA",
                                            "GetModuleFileNameExA",
                                            "GetModuleInformation",
                                            "EmptyWorkingSet",
                                            "QueryWorkingSet",
                                            "InitializeProcessForWsWatch",
                                            "GetWsChanges",
                                            "GetMappedFileNameA",
                                            "EnumDeviceDrivers",
                                            "GetDeviceDriverBaseNameA",
                                            "GetDeviceDriverFileNameA",
                                            "GetProcessMemoryInfo"};
    EXPECT_EQ(SlotNames(orvex::ProcessStatusLibrary()), expected);

    ASSERT_TRUE(orvex::BindProcessStatus());
    for (const TSlotBinding& slot : orvex::ProcessStatusLibrary().slots())
        EXPECT_NE(slot.value(), nullptr) << slot.name;
    ExpectSlotsMatchExports(orvex::ProcessStatusLibrary());

    // The module slots work on this process.
    HMODULE modules[256] = {};
    DWORD needed = 0;
    ASSERT_TRUE(orvex::EnumProcessModules(GetCurrentProcess(), modules, sizeof modules, &needed));
    ASSERT_GE(needed, sizeof(HMODULE));
    EXPECT_EQ(modules[0], GetModuleHandleA(nullptr));
    char name[MAX_PATH] = {};
    ASSERT_GT(orvex::GetModuleBaseNameA(GetCurrentProcess(), modules[0], name, MAX_PATH), 0u);
    EXPECT_NE(std::string(name).find("orvex_wine_tests"), std::string::npos) << name;
    MODULEINFO info{};
    ASSERT_TRUE(orvex::GetModuleInformation(GetCurrentProcess(), modules[0], &info, sizeof info));
    EXPECT_EQ(info.lpBaseOfDll, modules[0]);
}

TEST(Bindings, ProcessStatusOwnershipFollowsWhoLoadedIt) {
    orvex::ReleaseProcessStatus();  // frees it if an earlier bind of this unit loaded it
    const bool mappedBefore = GetModuleHandleA("psapi.dll") != nullptr;
    ASSERT_TRUE(orvex::BindProcessStatus());
    EXPECT_EQ(orvex::ProcessStatusLibrary().owned(), !mappedBefore);
    EXPECT_EQ(orvex::ProcessStatusLibrary().handle(), GetModuleHandleA("psapi.dll"));
    if (!mappedBefore) {
        orvex::ReleaseProcessStatus();
        EXPECT_EQ(GetModuleHandleA("psapi.dll"), nullptr);
        EXPECT_EQ(orvex::ProcessStatusLibrary().handle(), nullptr);
        ExpectAllSlotsNull(orvex::ProcessStatusLibrary());
        ASSERT_TRUE(orvex::BindProcessStatus());
    }
    // Binding again finds the library mapped: from now on it is not owned,
    // and releasing it changes nothing.
    const HMODULE handle = orvex::ProcessStatusLibrary().handle();
    ASSERT_TRUE(orvex::BindProcessStatus());
    EXPECT_FALSE(orvex::ProcessStatusLibrary().owned());
    EXPECT_EQ(orvex::ProcessStatusLibrary().handle(), handle);
    orvex::ReleaseProcessStatus();
    EXPECT_EQ(orvex::ProcessStatusLibrary().handle(), handle);
    EXPECT_EQ(GetModuleHandleA("psapi.dll"), handle);
    EXPECT_NE(orvex::EnumProcesses, nullptr);
}

// In a fresh process nothing has mapped psapi yet, so the first bind owns it.
int ProcessStatusInFreshProcess() {
    if (GetModuleHandleA("psapi.dll")) return 2;
    if (!orvex::BindProcessStatus() || !orvex::ProcessStatusLibrary().owned()) return 3;
    orvex::ReleaseProcessStatus();
    if (GetModuleHandleA("psapi.dll") || orvex::EnumProcesses || orvex::ProcessStatusLibrary().handle()) return 4;
    if (!orvex::BindProcessStatus() || !orvex::ProcessStatusLibrary().owned()) return 5;
    if (!orvex::BindProcessStatus() || orvex::ProcessStatusLibrary().owned()) return 6;
    orvex::ReleaseProcessStatus();
    if (!GetModuleHandleA("psapi.dll") || !orvex::EnumProcesses) return 7;
    return 0;
}

TEST(BindingsFreshProcess, ProcessStatusLoadedByThisUnitIsOwnedUntilBoundAgain) {
    EXPECT_EXIT(std::exit(ProcessStatusInFreshProcess()), ::testing::ExitedWithCode(0), "");
}

TEST(AllModesBindings, VdmDebugReleaseNeverRaises) {
    EXPECT_EQ(orvex::VdmDebugLibrary().handle(), nullptr);
    EXPECT_STREQ(orvex::VdmDebugLibrary().name(), "vdmdbg.dll");
    EXPECT_NO_THROW(orvex::ReleaseVdmDebug());
    EXPECT_EQ(GetModuleHandleA("vdmdbg.dll"), nullptr);
}

TEST(Win98Bindings, ProcessStatusBindsWhereverItIsCalled) {
    EXPECT_TRUE(orvex::BindProcessStatus());
    EXPECT_NE(orvex::EnumProcesses, nullptr);
}

// --- service control

TEST(Bindings, ServiceControlBindsFortyNineSlotsInOrder) {
    const std::vector<std::string> expected{"ChangeServiceConfigA",
                                            "ChangeServiceConfigW",
                                            "ChangeServiceConfigA",
                                            "CloseServiceHandle",
                                            "ControlService",
                                            "CreateServiceA",
                                            "CreateServiceW",
                                            "CreateService",
                                            "DeleteService",
                                            "EnumDependentServicesA",
                                            "EnumDependentServicesW",
                                            "EnumDependentServicesA",
                                            "EnumServicesStatusA",
                                            "EnumServicesStatusW",
                                            "EnumServicesStatusA",
                                            "GetServiceKeyNameA",
                                            "GetServiceKeyNameW",
                                            "GetServiceKeyNameA",
                                            "GetServiceDisplayNameA",
                                            "GetServiceDisplayNameW",
                                            "GetServiceDisplayNameA",
                                            "LockServiceDatabase",
                                            "NotifyBootConfigStatus",
                                            "OpenSCManagerA",
                                            "OpenSCManagerW",
                                            "OpenSCManagerA",
                                            "OpenServiceA",
                                            "OpenServiceW",
                                            "OpenServiceA",
                                            "QueryServiceConfigA",
                                            "QueryServiceConfigW",
                                            "QueryServiceConfigA",
                                            "QueryServiceLockStatusA",
                                            "QueryServiceLockStatusW",
                                            "QueryServiceLockStatusA",
                                            "QueryServiceObjectSecurity",
                                            "QueryServiceStatus",
                                            "RegisterServiceCtrlHandlerA",
                                            "RegisterServiceCtrlHandlerW",
                                            "RegisterServiceCtrlHandlerA",
                                            "SetServiceObjectSecurity",
                                            "SetServiceStatus",
                                            "StartServiceCtrlDispatcherA",
                                            "StartServiceCtrlDispatcherW",
                                            "StartServiceCtrlDispatcherA",
                                            "StartServiceA",
                                            "StartServiceW",
                                            "StartServiceA",
                                            "UnlockServiceDatabase"};
    EXPECT_EQ(SlotNames(orvex::ServiceControlLibrary()), expected);
    EXPECT_EQ(expected.size(), 49u);

    ASSERT_TRUE(orvex::BindServiceControl());
    const TLibraryBinding& advapi = orvex::ServiceControlLibrary();
    EXPECT_FALSE(advapi.owned()) << "the program imports advapi32";
    EXPECT_EQ(advapi.handle(), GetModuleHandleA("advapi32.dll"));
    for (const TSlotBinding& slot : advapi.slots())
        if (std::string(slot.name) != "CreateService") {
            EXPECT_NE(slot.value(), nullptr) << slot.name;
        }
    ExpectSlotsMatchExports(advapi);
}

TEST(Bindings, GenericServiceSlotsAreTheAnsiEntriesExceptCreateService) {
    ASSERT_TRUE(orvex::BindServiceControl());
    EXPECT_EQ(orvex::CreateServiceGeneric, nullptr);
    EXPECT_NE(orvex::CreateServiceA, nullptr);
    EXPECT_NE(orvex::CreateServiceW, nullptr);
    EXPECT_EQ(orvex::OpenSCManagerGeneric, orvex::OpenSCManagerA);
    EXPECT_EQ(orvex::OpenServiceGeneric, orvex::OpenServiceA);
    EXPECT_EQ(orvex::StartServiceGeneric, orvex::StartServiceA);
    EXPECT_EQ(orvex::EnumServicesStatusGeneric, orvex::EnumServicesStatusA);
    EXPECT_EQ(orvex::GetServiceKeyNameGeneric, orvex::GetServiceKeyNameA);
    EXPECT_EQ(orvex::QueryServiceConfigGeneric, orvex::QueryServiceConfigA);
    EXPECT_NE(reinterpret_cast<FARPROC>(orvex::OpenSCManagerA), reinterpret_cast<FARPROC>(orvex::OpenSCManagerW));

    // The slots reach the service control manager.
    SC_HANDLE manager = orvex::OpenSCManagerGeneric(nullptr, nullptr, SC_MANAGER_CONNECT);
    ASSERT_NE(manager, nullptr);
    orvex::TScHandle owner(manager, orvex::CloseServiceHandle);
    SERVICE_STATUS status{};
    orvex::TScHandle service(orvex::OpenServiceGeneric(manager, "nonexistent_orvex_service", SERVICE_QUERY_STATUS),
                             orvex::CloseServiceHandle);
    EXPECT_FALSE(service);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SERVICE_DOES_NOT_EXIST));
    EXPECT_FALSE(orvex::QueryServiceStatus(nullptr, &status));
}

TEST(Bindings, ServiceControlReleaseNeverFreesTheImportedLibrary) {
    ASSERT_TRUE(orvex::BindServiceControl());
    const HMODULE handle = orvex::ServiceControlLibrary().handle();
    EXPECT_NO_THROW(orvex::ReleaseServiceControl());
    EXPECT_EQ(orvex::ServiceControlLibrary().handle(), handle);
    EXPECT_NE(orvex::OpenSCManagerGeneric, nullptr);
    EXPECT_EQ(GetModuleHandleA("advapi32.dll"), handle);
}

}  // namespace
