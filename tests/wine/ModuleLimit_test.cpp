// A process with more modules than the process-status collector asks for:
// it lists the first ones, in the library's order, and no more.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "engine/OXI_ModuleCollectors.h"
#include "platform/Orvex_PSAPI.h"
#include "platform/Orvex_Resources.h"
#include "tests/wine/support/TestMode.h"

using namespace orvex;

namespace {

// A directory of numbered copies of one file, removed with its files.
class TCopies {
public:
    TCopies(const std::string& source, std::size_t count) {
        char temp[MAX_PATH] = {};
        const DWORD n = GetTempPathA(MAX_PATH, temp);
        dir_ = std::string(temp, n) + "orvex_modules_" + std::to_string(GetCurrentProcessId());
        if (!CreateDirectoryA(dir_.c_str(), nullptr)) return;
        for (std::size_t i = 0; i < count; ++i) {
            char name[32];
            std::snprintf(name, sizeof name, "\\m%04u.dll", static_cast<unsigned>(i));
            std::string path = dir_ + name;
            if (!CopyFileA(source.c_str(), path.c_str(), TRUE)) return;
            paths_.push_back(std::move(path));
        }
    }
    ~TCopies() {
        for (const std::string& path : paths_) DeleteFileA(path.c_str());
        RemoveDirectoryA(dir_.c_str());
    }
    TCopies(const TCopies&) = delete;
    TCopies& operator=(const TCopies&) = delete;
    const std::vector<std::string>& paths() const { return paths_; }

private:
    std::string dir_;
    std::vector<std::string> paths_;
};

std::vector<HMODULE> OwnModules() {
    std::vector<HMODULE> handles(4096);
    DWORD needed = 0;
    if (!orvex::EnumProcessModules(GetCurrentProcess(), handles.data(),
                                   static_cast<DWORD>(handles.size() * sizeof(HMODULE)), &needed))
        return {};
    handles.resize(std::min<std::size_t>(needed / sizeof(HMODULE), handles.size()));
    return handles;
}

}  // namespace

// Loading a thousand libraries and reading their names takes Wine about a
// minute, so this runs in one mode only: the one whose enumerator uses this
// collector.
TEST(Nt40ModuleLimit, ProcessWithMoreModulesListsItsFirst1024) {
    ASSERT_TRUE(BindProcessStatus());
    const std::size_t wanted = MaxModuleHandles + 16;
    const std::size_t present = OwnModules().size();
    ASSERT_GT(present, 0u);
    ASSERT_LT(present, wanted);
    const TCopies copies(test::ExeDir() + "orvex_test_module.dll", wanted - present);
    ASSERT_EQ(copies.paths().size(), wanted - present);
    std::vector<TModule> loaded;  // freed before the copies are deleted
    for (const std::string& path : copies.paths()) {
        loaded.emplace_back(LoadLibraryA(path.c_str()));
        ASSERT_TRUE(loaded.back()) << path << " error " << GetLastError();
    }

    const std::vector<HMODULE> all = OwnModules();
    ASSERT_GE(all.size(), wanted);
    TModuleList modules;
    CollectModulesProcessStatus(GetCurrentProcessId(), modules);
    ASSERT_EQ(modules.size(), MaxModuleHandles);
    for (std::size_t i = 0; i < modules.size(); ++i)
        ASSERT_EQ(modules[i].Base, reinterpret_cast<std::uintptr_t>(all[i])) << "module " << i;
    EXPECT_EQ(modules.back().Name.str().substr(0, 1), "m");
}
