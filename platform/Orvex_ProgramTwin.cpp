#include "platform/Orvex_ProgramTwin.h"

#include <string>
#include <vector>

#include "platform/Orvex_Kernel32.h"
#include "platform/Orvex_Resources.h"
#include "platform/Orvex_Wow64.h"
#include "platform/pure/Orvex_CommandLine.h"

namespace orvex {

namespace {

// Long enough for any path the system hands (32,767 characters).
constexpr DWORD LongestPath = 32768;

bool OwnProgramPath(std::u16string& path) {
    std::vector<wchar_t> buffer(LongestPath);
    const DWORD length = GetModuleFileNameW(nullptr, buffer.data(), LongestPath);
    if (length == 0 || length >= LongestPath) return false;
    path.assign(reinterpret_cast<const char16_t*>(buffer.data()), length);
    return true;
}

// Makes a standard handle one the twin inherits; a console's pseudo-handle
// of Windows 7 and earlier cannot be marked and reaches the twin all the same.
HANDLE InheritedStdHandle(DWORD which) {
    const HANDLE h = ::GetStdHandle(which);
    if (h && h != INVALID_HANDLE_VALUE) SetHandleInformation(h, HANDLE_FLAG_INHERIT, HANDLE_FLAG_INHERIT);
    return h;
}

TTwinResult Launch(bool console) {
    TTwinResult result;
    if (!IsWow64Program()) return result;
    result.Start = TTwinStart::Unavailable;
    BindKernel32();
    std::u16string self;
    if (!GetModuleFileNameW || !GetCommandLineW || !CreateProcessW || !SetHandleInformation) {
        result.Error = ERROR_CALL_NOT_IMPLEMENTED;
        return result;
    }
    if (!OwnProgramPath(self)) {
        result.Error = ::GetLastError();
        return result;
    }
    const std::u16string twin = TwinProgramPath(self);
    std::u16string arguments;
    if (console) arguments = CommandLineArguments(reinterpret_cast<const char16_t*>(GetCommandLineW()));
    std::u16string line = ProgramCommandLine(twin, arguments);

    STARTUPINFOA own{};
    own.cb = sizeof own;
    ::GetStartupInfoA(&own);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = own.dwFlags & STARTF_USESHOWWINDOW;
    startup.wShowWindow = own.wShowWindow;
    if (console) {
        startup.dwFlags |= STARTF_USESTDHANDLES;
        startup.hStdInput = InheritedStdHandle(STD_INPUT_HANDLE);
        startup.hStdOutput = InheritedStdHandle(STD_OUTPUT_HANDLE);
        startup.hStdError = InheritedStdHandle(STD_ERROR_HANDLE);
    }
    PROCESS_INFORMATION info{};
    // The working folder (null) and the environment are this program's.
    if (!CreateProcessW(reinterpret_cast<LPCWSTR>(twin.c_str()), reinterpret_cast<LPWSTR>(line.data()), nullptr,
                        nullptr, console ? TRUE : FALSE, 0, nullptr, nullptr, &startup, &info)) {
        result.Error = ::GetLastError();
        return result;
    }
    const THandle process(info.hProcess);
    const THandle thread(info.hThread);
    result.Start = TTwinStart::Started;
    if (!console) {
        ::WaitForInputIdle(process.get(), TwinInputIdleBoundMs);
        return result;
    }
    // Ctrl+C and Ctrl+Break reach both programs; the twin decides. (Set
    // after the start: the twin would inherit it.)
    ::SetConsoleCtrlHandler(nullptr, TRUE);
    // The twin is this program's own work: the wait lasts as long as the
    // command does, as a shell's wait for a command would.
    ::WaitForSingleObject(process.get(), INFINITE);
    DWORD code = 0;
    result.ExitCode = ::GetExitCodeProcess(process.get(), &code) ? code : 2;
    return result;
}

}  // namespace

TTwinResult StartTwin() { return Launch(false); }

TTwinResult RunTwin() { return Launch(true); }

}  // namespace orvex
