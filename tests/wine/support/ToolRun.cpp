#include <gtest/gtest.h>

#include "tests/wine/support/ToolRun.h"

#include "platform/Orvex_Resources.h"
#include "tests/wine/support/TestMode.h"

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

std::wstring Wide(const std::string& s, UINT codePage) {
    std::wstring out(s.size() + 1, L'\0');
    const int n = MultiByteToWideChar(codePage, 0, s.c_str(), static_cast<int>(s.size()), out.data(),
                                      static_cast<int>(out.size()));
    out.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
    return out;
}

std::string Utf8(const std::wstring& s) {
    std::string out(s.size() * 3 + 1, '\0');
    const int n = WideCharToMultiByte(CP_UTF8, 0, s.c_str(), static_cast<int>(s.size()), out.data(),
                                      static_cast<int>(out.size()), nullptr, nullptr);
    out.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
    return out;
}

}  // namespace

TToolRun RunTestApart(const std::string& fullName) {
    wchar_t self[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    return RunProgram(self,
                      Wide("--gtest_also_run_disabled_tests --gtest_filter=" + fullName + " --orvex-mode=" + Mode(),
                           CP_ACP));
}

TToolRun RunProgram(const std::string& exe, const std::string& args) {
    return RunProgram(Wide(exe, CP_ACP), Wide(args, CP_ACP));
}

TToolRun RunProgram(const std::wstring& exe, const std::wstring& args) {
    TToolRun run;
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE outRead = nullptr, outWrite = nullptr, errRead = nullptr, errWrite = nullptr;
    if (!CreatePipe(&outRead, &outWrite, &inherit, 0)) return run;
    THandle outR(outRead), outW(outWrite);
    if (!CreatePipe(&errRead, &errWrite, &inherit, 0)) return run;
    THandle errR(errRead), errW(errWrite);
    ::SetHandleInformation(outRead, HANDLE_FLAG_INHERIT, 0);
    ::SetHandleInformation(errRead, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdInput = nullptr;
    si.hStdOutput = outWrite;
    si.hStdError = errWrite;
    std::wstring commandLine = L"\"" + exe + L"\" " + args;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr, nullptr,
                        &si, &pi)) {
        ADD_FAILURE() << "cannot start " << Utf8(exe) << ": " << GetLastError();
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
            ADD_FAILURE() << Utf8(exe) << " " << Utf8(args) << " did not end";
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
