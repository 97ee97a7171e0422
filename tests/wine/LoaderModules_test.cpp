// The modules read from a process's loader data against the tool-help view of
// the same process: the same records (base, size, path, name), each once, and
// the same executable path; a 64-bit program reads both widths of modules of
// a 32-bit process.
#include <gtest/gtest.h>

#include <windows.h>

#include <set>
#include <string>
#include <tuple>

#include "engine/OXI_ImagePath.h"
#include "engine/OXI_ModuleCollectors.h"
#include "platform/Orvex_Native.h"
#include "platform/Orvex_PSAPI.h"
#include "platform/Orvex_Resources.h"
#include "platform/pure/Orvex_TextCase.h"
#include "tests/wine/support/HelperProcess.h"

using namespace orvex;

namespace {

using TKey = std::tuple<std::uintptr_t, std::uint32_t, std::string, std::string>;

std::multiset<TKey> Keys(const TModuleList& modules) {
    std::multiset<TKey> keys;
    for (const TModuleInfo& m : modules)
        keys.emplace(m.Base, m.Size, UpperCase(m.ImageName.str()), UpperCase(m.Name.str()));
    return keys;
}

// The loader's view of pid equals the snapshot's; returns the loader's.
TModuleList ExpectSameAsSnapshot(DWORD pid, const std::string& exeName) {
    TImagePathResolver paths;
    TModuleList loader, snapshot;
    std::string loaderImage;
    EXPECT_TRUE(CollectModulesLoader(exeName, pid, loader, paths, loaderImage)) << exeName;
    const std::string snapshotImage = CollectModulesSnapshot(exeName, pid, snapshot, paths);
    EXPECT_FALSE(snapshot.empty()) << exeName;
    const std::multiset<TKey> keys = Keys(loader);
    EXPECT_EQ(keys, Keys(snapshot)) << exeName;
    EXPECT_EQ(std::set<TKey>(keys.begin(), keys.end()).size(), loader.size()) << "each once";
    EXPECT_FALSE(loaderImage.empty());
    EXPECT_TRUE(SameText(loaderImage, snapshotImage)) << loaderImage << " / " << snapshotImage;
    return loader;
}

class LoaderModules : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(BindNative());
        BindProcessStatus();
    }
    void TearDown() override {
        ReleaseProcessStatus();
        ReleaseNative();
    }
};

void HelperAndThisProcessAsTheSnapshotSeesThem() {
    test::THelperProcess helper;
    ASSERT_TRUE(helper.started());
    const TModuleList modules = ExpectSameAsSnapshot(helper.pid(), "orvex_test_helper.exe");
    bool library = false;
    for (const TModuleInfo& m : modules) library = library || SameText(m.Name, "orvex_test_module.dll");
    EXPECT_TRUE(library) << "a library the helper loaded at run time";

    char self[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, self, MAX_PATH);
    const std::string selfName = std::string(ExecutableFileName(self));
    const TModuleList own = ExpectSameAsSnapshot(::GetCurrentProcessId(), selfName);
    ASSERT_FALSE(own.empty());
    EXPECT_EQ(own.front().Base, reinterpret_cast<std::uintptr_t>(::GetModuleHandleA(nullptr)))
        << "the executable comes first, in load order";
}

TEST_F(LoaderModules, TheHelperAndThisProcessAsTheSnapshotSeesThem) { HelperAndThisProcessAsTheSnapshotSeesThem(); }
// The 32-bit program on 64-bit Windows reads 32-bit processes' own loader data.
class Wow64LoaderModules : public LoaderModules {};
TEST_F(Wow64LoaderModules, TheHelperAndThisProcessAsTheSnapshotSeesThem) {
    HelperAndThisProcessAsTheSnapshotSeesThem();
}

// Process 0 has no modules; a process that cannot be read leaves the lists
// as they were for the snapshot to answer.
TEST_F(LoaderModules, NoProcessNoList) {
    TImagePathResolver paths;
    TModuleList modules(1);
    std::string image = "kept";
    EXPECT_TRUE(CollectModulesLoader("System Idle Process", 0, modules, paths, image));
    EXPECT_TRUE(modules.empty());
    EXPECT_TRUE(image.empty());
    modules.resize(1);
    modules[0].Name = "kept.dll";
    image = "kept";
    EXPECT_FALSE(CollectModulesLoader("none.exe", 0xFFFFFFF0u, modules, paths, image));
    ASSERT_EQ(modules.size(), 1u);
    EXPECT_EQ(modules[0].Name, "kept.dll");
    EXPECT_EQ(image, "kept");
}

// A 32-bit process read by this 64-bit program: its 32-bit modules (its
// executable among them) and its 64-bit ones, as the snapshot of both widths
// lists them.
TEST_F(LoaderModules, BothWidthsOfAThirtyTwoBitProcess) {
#ifndef _WIN64
    GTEST_SKIP() << "a 64-bit program's view";
#else
    char windows[MAX_PATH] = {};
    ::GetWindowsDirectoryA(windows, MAX_PATH);
    const std::string program = std::string(windows) + "\\syswow64\\notepad.exe";
    if (::GetFileAttributesA(program.c_str()) == INVALID_FILE_ATTRIBUTES)
        GTEST_SKIP() << "no 32-bit side in this prefix";
    STARTUPINFOA si{sizeof si};
    si.dwFlags = STARTF_USESHOWWINDOW;
    si.wShowWindow = SW_HIDE;
    PROCESS_INFORMATION pi{};
    std::string line = "\"" + program + "\"";
    ASSERT_TRUE(::CreateProcessA(program.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi));
    const THandle process(pi.hProcess), thread(pi.hThread);
    ::WaitForInputIdle(process.get(), 10000);
    BOOL wow64 = FALSE;
    ASSERT_TRUE(::IsWow64Process(process.get(), &wow64));
    EXPECT_TRUE(wow64);
    TModuleList probe;
    if (CollectModulesSnapshot("notepad.exe", pi.dwProcessId, probe).empty()) {
        ::TerminateProcess(process.get(), 0);
        GTEST_SKIP() << "this system's 64-bit side reads no module of a 32-bit process (Wine's separate 32-bit "
                        "loader): neither view has anything to compare";
    }
    const TModuleList modules = ExpectSameAsSnapshot(pi.dwProcessId, "notepad.exe");
    bool exe32 = false;
    for (const TModuleInfo& m : modules)
        exe32 = exe32 ||
                (SameText(m.Name, "notepad.exe") && UpperCase(m.ImageName.str()).find("SYSWOW64") != std::string::npos);
    EXPECT_TRUE(exe32);
    ::TerminateProcess(process.get(), 0);
    ::WaitForSingleObject(process.get(), 5000);
#endif
}

}  // namespace
