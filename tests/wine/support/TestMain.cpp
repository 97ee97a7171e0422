#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>

#include "tests/wine/support/TestMode.h"

namespace orvex::test {
namespace {
std::string g_mode = "modern";
}

const std::string& Mode() { return g_mode; }

std::string ExeDir() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string s(path);
    return s.substr(0, s.find_last_of('\\') + 1);
}

}  // namespace orvex::test

int main(int argc, char** argv) {
    // DPI-aware as the viewer's manifest declares it, so that the screen's
    // DPI is not hidden behind 96.
    if (const HMODULE user32 = GetModuleHandleA("user32.dll"))
        if (const auto aware = reinterpret_cast<BOOL(WINAPI*)()>(GetProcAddress(user32, "SetProcessDPIAware"))) aware();
    ::testing::InitGoogleTest(&argc, argv);
    const char prefix[] = "--orvex-mode=";
    for (int i = 1; i < argc; ++i)
        if (std::strncmp(argv[i], prefix, sizeof prefix - 1) == 0)
            orvex::test::g_mode.assign(argv[i] + sizeof prefix - 1);
    // Tests whose suite names carry a mode run only in that mode.
    std::string filter = ::testing::GTEST_FLAG(filter);
    if (filter == "*") {
        const std::string& m = orvex::test::g_mode;
        filter = m == "win98"           ? "Win98*:AllModes*"
                 : m == "nt40"          ? "Nt40*:AllModes*"
                 : m == "win10"         ? "Win10*:AllModes*"
                 : m == "wow64"         ? "Wow64*"
                 : m == "cp932"         ? "Cp932*"
                 : m == "utf8"          ? "Utf8*"
                 : m.starts_with("dpi") ? "AnyDpi*"
                                        : "-Win98*:Nt40*:Win10*:Wow64*:Cp932*:Utf8*";
        ::testing::GTEST_FLAG(filter) = filter;
    }
    return RUN_ALL_TESTS();
}
