// Completing executable and module paths against the real file system of
// the prefix.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "engine/OXI_Collectors.h"
#include "platform/pure/Orvex_TextCase.h"

using orvex::ResolveImagePath;

namespace {

std::string WindowsDir() {
    char buf[MAX_PATH] = {};
    const UINT n = GetWindowsDirectoryA(buf, MAX_PATH);
    return std::string(buf, n);
}

std::string SystemDir() {
    char buf[MAX_PATH] = {};
    const UINT n = GetSystemDirectoryA(buf, MAX_PATH);
    return std::string(buf, n);
}

std::string OwnExe() {
    char buf[MAX_PATH] = {};
    const DWORD n = GetModuleFileNameA(nullptr, buf, MAX_PATH);
    return std::string(buf, n);
}

bool IsFile(const std::string& path) {
    const DWORD a = GetFileAttributesA(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

std::string WithBackslash(std::string dir) {
    if (dir.empty() || dir.back() != '\\') dir += '\\';
    return dir;
}

}  // namespace

TEST(ImagePath, ExistingPathStaysExactly) {
    const std::string exe = OwnExe();
    ASSERT_TRUE(IsFile(exe));
    EXPECT_EQ(ResolveImagePath(exe), exe);
    // the file system finds it in any case; the text stays as given
    std::string upper = orvex::UpperCase(exe);
    ASSERT_TRUE(IsFile(upper));
    EXPECT_EQ(ResolveImagePath(upper), upper);
    // a relative path to an existing file stays relative
    char cwd[MAX_PATH] = {};
    ASSERT_GT(GetCurrentDirectoryA(MAX_PATH, cwd), 0u);
    const std::string dir = WithBackslash(cwd);
    if (orvex::SameText(exe.substr(0, dir.size()), dir)) {
        const std::string relative = exe.substr(dir.size());
        EXPECT_EQ(ResolveImagePath(relative), relative);
    }
}

TEST(ImagePath, BareNameFoundInTheWindowsDirectoryFirst) {
    const std::string inWindows = WithBackslash(WindowsDir()) + "notepad.exe";
    const std::string inSystem = WithBackslash(SystemDir()) + "notepad.exe";
    ASSERT_TRUE(IsFile(inWindows) || IsFile(inSystem)) << "the prefix has no notepad.exe";
    ASSERT_FALSE(IsFile("notepad.exe")) << "the current directory must not hold one";
    EXPECT_EQ(ResolveImagePath("notepad.exe"), IsFile(inWindows) ? inWindows : inSystem);
}

TEST(ImagePath, BareNameFoundInTheSystemDirectory) {
    const std::string inSystem = WithBackslash(SystemDir()) + "kernel32.dll";
    ASSERT_TRUE(IsFile(inSystem));
    ASSERT_FALSE(IsFile(WithBackslash(WindowsDir()) + "kernel32.dll"));
    EXPECT_EQ(ResolveImagePath("kernel32.dll"), inSystem);
}

TEST(ImagePath, RelativePathBelowTheWindowsDirectory) {
    // "system32\kernel32.dll" exists below the Windows directory only
    const std::string system = SystemDir();
    const std::string windows = WithBackslash(WindowsDir());
    ASSERT_TRUE(orvex::SameText(system.substr(0, windows.size()), windows));
    const std::string relative = system.substr(windows.size()) + "\\kernel32.dll";
    ASSERT_FALSE(IsFile(relative));
    EXPECT_EQ(ResolveImagePath(relative), windows + relative);
}

TEST(ImagePath, NamesOfNoFileBecomeEmpty) {
    EXPECT_EQ(ResolveImagePath(""), "");
    EXPECT_EQ(ResolveImagePath("Q:\\no\\such\\directory\\program.exe"), "");
    EXPECT_EQ(ResolveImagePath("no_such_program_8d1f.exe"), "");
    // the kernel's own form of a path
    EXPECT_EQ(ResolveImagePath("\\SystemRoot\\System32\\no_such_program_8d1f.exe"), "");
    EXPECT_EQ(ResolveImagePath("\\??\\C:\\no_such_program_8d1f.exe"), "");
    // a directory is not a file, not even the Windows directory itself
    EXPECT_EQ(ResolveImagePath(WindowsDir()), "");
    EXPECT_EQ(ResolveImagePath("system32"), "");
    // wildcards and a zero inside the text name no file
    EXPECT_EQ(ResolveImagePath("kernel3?.dll"), "");
    EXPECT_EQ(ResolveImagePath(std::string("kernel32.dll\0.txt", 17)), "");
}
