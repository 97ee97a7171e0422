// Programs of the tests' own: a console program run as a child with its
// standard output and error on pipes, and temporary folders.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "tests/wine/support/TempFile.h"

namespace orvex::test {

struct TToolRun {
    bool Finished = false;
    DWORD ExitCode = 0xFFFFFFFF;
    DWORD Pid = 0;
    std::string Out, Err;
};

// Runs Exe with Args (CREATE_NO_WINDOW, no standard input) and collects its
// output; gives up (and ends the child) after two minutes.
TToolRun RunProgram(const std::string& exe, const std::string& args);
// The same with names the ANSI code page may not hold.
TToolRun RunProgram(const std::wstring& exe, const std::wstring& args);

inline std::string Quoted(const std::string& path) { return "\"" + path + "\""; }

// Runs the test named fullName ("Suite.Test"; a suite named DISABLED_... is
// run only this way) in a new process of this test program, in this run's
// mode: for tests that leave state behind for the life of the process.
TToolRun RunTestApart(const std::string& fullName);

// A new empty folder in the temporary directory, removed with what it holds.
class TTempFolder {
public:
    TTempFolder() {
        char dir[MAX_PATH] = {};
        GetTempPathA(MAX_PATH, dir);
        for (int i = 0; i < 100 && path_.empty(); ++i) {
            std::string p = std::string(dir) + "oxinv" + std::to_string(GetCurrentProcessId()) + "_" +
                            std::to_string(GetTickCount() + i);
            if (CreateDirectoryA(p.c_str(), nullptr)) path_ = p + "\\";
        }
    }
    ~TTempFolder() {
        if (path_.empty()) return;
        for (const std::string& name : Files()) {
            const std::string full = path_ + name;
            if (!DeleteFileA(full.c_str())) RemoveDirectoryA(full.c_str());
        }
        RemoveDirectoryA(path_.c_str());
    }
    TTempFolder(const TTempFolder&) = delete;
    TTempFolder& operator=(const TTempFolder&) = delete;

    const std::string& path() const { return path_; }
    // The names of the entries in the folder.
    std::vector<std::string> Files() const { return FolderEntries(path_); }

private:
    std::string path_;
};

}  // namespace orvex::test
