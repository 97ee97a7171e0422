#include <gtest/gtest.h>

#include "tests/wine/support/ToolRun.h"

#include "platform/Orvex_Resources.h"

namespace orvex::test {

namespace {

// Reads what is waiting in Pipe without blocking.
void Drain(HANDLE pipe, std::string& into) {
    DWORD available = 0;
    while (PeekNamedPipe(pipe, nullptr, 0, nullptr, &available, nullptr) && available > 0) {
        char buffer[8192];
        DWORD got = 0;
        if (!ReadFile(pipe, buffer, available < sizeof buffer ? available : sizeof buffer, &got, nullptr) || got == 0)
            return;
        into.append(buffer, got);
    }
}

}  // namespace

TToolRun RunProgram(const std::string& exe, const std::string& args) {
    TToolRun run;
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE outRead = nullptr, outWrite = nullptr, errRead = nullptr, errWrite = nullptr;
    if (!CreatePipe(&outRead, &outWrite, &inherit, 0)) return run;
    THandle outR(outRead), outW(outWrite);
    if (!CreatePipe(&errRead, &errWrite, &inherit, 0)) return run;
    THandle errR(errRead), errW(errWrite);
    ::SetHandleInformation(outRead, HANDLE_FLAG_INHERIT, 0);
    ::SetHandleInformation(errRead, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOA si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdInput = nullptr;
    si.hStdOutput = outWrite;
    si.hStdError = errWrite;
    std::string commandLine = "\"" + exe + "\" " + args;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessA(exe.c_str(), commandLine.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr, nullptr,
                        &si, &pi)) {
        ADD_FAILURE() << "cannot start " << exe << ": " << GetLastError();
        return run;
    }
    THandle process(pi.hProcess), thread(pi.hThread);
    run.Pid = pi.dwProcessId;
    outW.reset();  // the child holds the write ends now
    errW.reset();
    const DWORD start = GetTickCount();
    for (;;) {
        Drain(outRead, run.Out);
        Drain(errRead, run.Err);
        if (WaitForSingleObject(process.get(), 20) == WAIT_OBJECT_0) break;
        if (GetTickCount() - start > 120'000) {
            TerminateProcess(process.get(), 99);
            WaitForSingleObject(process.get(), 5'000);
            ADD_FAILURE() << exe << " " << args << " did not end";
            return run;
        }
    }
    Drain(outRead, run.Out);
    Drain(errRead, run.Err);
    GetExitCodeProcess(process.get(), &run.ExitCode);
    run.Finished = true;
    return run;
}

}  // namespace orvex::test
