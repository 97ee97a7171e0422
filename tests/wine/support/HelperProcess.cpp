#include "tests/wine/support/HelperProcess.h"

#include <cstdlib>

#include "tests/wine/support/TestMode.h"

namespace orvex::test {

THelperProcess::THelperProcess(const std::string& args) : THelperProcess(args, ExeDir() + "orvex_test_helper.exe") {}

THelperProcess::THelperProcess(const std::string& args, const std::string& exePath) {
    SECURITY_ATTRIBUTES sa{sizeof sa, nullptr, TRUE};
    HANDLE readRaw = nullptr, writeRaw = nullptr;
    if (!CreatePipe(&readRaw, &writeRaw, &sa, 0)) return;
    orvex::THandle readEnd(readRaw), writeEnd(writeRaw);
    ::SetHandleInformation(readRaw, HANDLE_FLAG_INHERIT, 0);

    std::string cmd = "\"" + exePath + "\" " + args;
    STARTUPINFOA si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdOutput = writeRaw;
    si.hStdError = writeRaw;
    si.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    PROCESS_INFORMATION pi{};
    if (!CreateProcessA(nullptr, cmd.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi)) return;
    process_.reset(pi.hProcess);
    CloseHandle(pi.hThread);
    pid_ = pi.dwProcessId;
    writeEnd.reset();

    // Read lines until "ready" (the pipe read blocks; the helper reports at once).
    std::string pending;
    char buf[512];
    DWORD got = 0;
    DWORD start = GetTickCount();
    while (!ready_ && GetTickCount() - start < 20000 && ReadFile(readRaw, buf, sizeof buf, &got, nullptr) && got) {
        pending.append(buf, got);
        std::string::size_type nl;
        while ((nl = pending.find('\n')) != std::string::npos) {
            std::string line = pending.substr(0, nl);
            pending.erase(0, nl + 1);
            auto eq = line.find('=');
            if (eq == std::string::npos) continue;
            std::string key = line.substr(0, eq), val = line.substr(eq + 1);
            entries_.emplace(key, val);
            ordered_.emplace_back(key, val);
            if (key == "ready") ready_ = true;
        }
    }
}

THelperProcess::~THelperProcess() {
    if (process_ && WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT) {
        TerminateProcess(process_.get(), 1);
        WaitForSingleObject(process_.get(), 5000);
    }
}

std::string THelperProcess::value(const std::string& key) const {
    auto it = entries_.find(key);
    return it == entries_.end() ? std::string() : it->second;
}

std::vector<std::string> THelperProcess::values(const std::string& key) const {
    std::vector<std::string> out;
    for (const auto& [k, v] : ordered_)
        if (k == key) out.push_back(v);
    return out;
}

unsigned long long THelperProcess::hex(const std::string& key) const {
    return std::strtoull(value(key).c_str(), nullptr, 16);
}

bool THelperProcess::waitForExit(DWORD timeoutMs) const {
    return process_ && WaitForSingleObject(process_.get(), timeoutMs) == WAIT_OBJECT_0;
}

}  // namespace orvex::test
