// Completing executable and module paths against the real file system of
// the prefix.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "engine/OXI_Collectors.h"
#include "engine/OXI_ModuleCollectors.h"
#include "platform/pure/Orvex_TextCase.h"

using orvex::ResolveImagePath;
using orvex::TImagePathResolver;

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

// A file of its own in the temporary directory, deleted when it goes.
class TScratchFile {
public:
    explicit TScratchFile(const char* name) {
        char dir[MAX_PATH] = {};
        const DWORD n = GetTempPathA(MAX_PATH, dir);
        if (n == 0 || n >= MAX_PATH) return;
        path_ = WithBackslash(std::string(dir, n)) + name;
        const HANDLE file = CreateFileA(path_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        if (file == INVALID_HANDLE_VALUE) {
            path_.clear();
            return;
        }
        CloseHandle(file);
    }
    ~TScratchFile() {
        if (!path_.empty()) DeleteFileA(path_.c_str());
    }
    TScratchFile(const TScratchFile&) = delete;
    TScratchFile& operator=(const TScratchFile&) = delete;
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

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

TEST(ImagePath, ResolverAnswersLikeTheDirectCompletion) {
    const std::string windows = WithBackslash(WindowsDir());
    const std::string system = WithBackslash(SystemDir());
    const std::vector<std::string> paths = {OwnExe(),
                                            orvex::UpperCase(OwnExe()),
                                            "kernel32.dll",
                                            "KERNEL32.DLL",
                                            "Kernel32.Dll",
                                            "notepad.exe",
                                            "NotePad.EXE",
                                            system + "kernel32.dll",
                                            system + "KERNEL32.dll",
                                            system.substr(windows.size()) + "user32.dll",
                                            "",
                                            "Q:\\no\\such\\directory\\program.exe",
                                            "no_such_program_8d1f.exe",
                                            "NO_SUCH_PROGRAM_8D1F.EXE",
                                            "\\SystemRoot\\System32\\kernel32.dll",
                                            WindowsDir(),
                                            "system32",
                                            "kernel3?.dll",
                                            std::string("kernel32.dll\0.txt", 17)};
    TImagePathResolver resolver;
    // the second round takes every answer from what the first remembered
    for (int round = 0; round < 2; ++round)
        for (const std::string& path : paths) EXPECT_EQ(resolver.Resolve(path), ResolveImagePath(path)) << path;
    // a name found under another case keeps the spelling it was asked with
    EXPECT_EQ(resolver.Resolve("KERNEL32.DLL"), system + "KERNEL32.DLL");
}

TEST(ImagePath, ResolverAsksTheFileSystemOncePerName) {
    ASSERT_FALSE(IsFile("kernel32.dll")) << "the current directory must not hold one";
    TImagePathResolver resolver;
    EXPECT_EQ(resolver.FileChecks(), 0u);
    // the name itself, in the Windows directory, in the system directory
    resolver.Resolve("kernel32.dll");
    EXPECT_EQ(resolver.FileChecks(), 3u);
    resolver.Resolve("kernel32.dll");
    EXPECT_EQ(resolver.FileChecks(), 3u);
    // names that differ only in case share the answers
    resolver.Resolve("KERNEL32.DLL");
    resolver.Resolve(WithBackslash(SystemDir()) + "Kernel32.dll");
    EXPECT_EQ(resolver.FileChecks(), 3u);
    resolver.Resolve("no_such_program_8d1f.exe");
    EXPECT_EQ(resolver.FileChecks(), 6u);
    resolver.Resolve("No_Such_Program_8D1F.exe");
    EXPECT_EQ(resolver.FileChecks(), 6u);
    // texts that name no file at all are not asked about
    resolver.Resolve("");
    resolver.Resolve(std::string("kernel32.dll\0.txt", 17));
    EXPECT_EQ(resolver.FileChecks(), 6u);
}

TEST(ImagePath, ResolverKeepsItsAnswersForItsLifetime) {
    TImagePathResolver resolver;
    std::string path;
    {
        const TScratchFile file("orvex_resolver_8d1f.dll");
        ASSERT_FALSE(file.path().empty());
        path = file.path();
        EXPECT_EQ(resolver.Resolve(path), path);
    }
    ASSERT_FALSE(IsFile(path));
    // the file is gone: the direct completion and a new resolver see that,
    // the resolver that saw the file still answers from memory
    EXPECT_EQ(ResolveImagePath(path), "");
    EXPECT_EQ(TImagePathResolver().Resolve(path), "");
    EXPECT_EQ(resolver.Resolve(path), path);
}

TEST(ImagePath, CollectorsShareOneResolver) {
    // this process's modules, twice through one resolver: the second list
    // is the same and needs no file-system check
    const DWORD pid = GetCurrentProcessId();
    const std::string name(orvex::ExecutableFileName(OwnExe()));
    TImagePathResolver resolver;
    orvex::TModuleList first, second, direct;
    const std::string image = orvex::CollectModulesSnapshot(name, pid, first, resolver);
    ASSERT_FALSE(first.empty());
    const std::size_t checks = resolver.FileChecks();
    EXPECT_GT(checks, 0u);
    EXPECT_EQ(orvex::CollectModulesSnapshot(name, pid, second, resolver), image);
    EXPECT_EQ(resolver.FileChecks(), checks);
    orvex::CollectModulesSnapshot(name, pid, direct);
    ASSERT_EQ(second.size(), first.size());
    ASSERT_EQ(direct.size(), first.size());
    for (std::size_t i = 0; i < first.size(); ++i) {
        EXPECT_EQ(second[i].ImageName, first[i].ImageName);
        EXPECT_EQ(direct[i].ImageName, first[i].ImageName);
        EXPECT_EQ(first[i].ImageName, ResolveImagePath(first[i].ImageName));
    }
}
