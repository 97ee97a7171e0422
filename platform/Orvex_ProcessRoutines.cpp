#include "platform/Orvex_ProcessRoutines.h"

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "platform/Orvex_Native.h"
#include "platform/Orvex_Resources.h"
#include "platform/pure/Orvex_NtLayouts.h"

namespace orvex {

namespace {

constexpr DWORD WaitAndTerminate = SYNCHRONIZE | PROCESS_TERMINATE;          // 0x100001
constexpr DWORD QueryAndRead = PROCESS_QUERY_INFORMATION | PROCESS_VM_READ;  // 0x410
// How long a forced end may take to complete before the caller goes on.
constexpr DWORD TerminationWaitMs = 2000;

BOOL CALLBACK PostCloseToProcessWindow(HWND hwnd, LPARAM pid) {
    DWORD owner = 0;
    GetWindowThreadProcessId(hwnd, &owner);
    if (owner == static_cast<DWORD>(pid)) PostMessageA(hwnd, WM_CLOSE, 0, 0);
    return TRUE;
}

int Terminate(HANDLE process) {
    if (!TerminateProcess(process, 0)) return tpFailed;
    WaitForSingleObject(process, TerminationWaitMs);
    return tpTerminated;
}

std::string ToAnsi(const std::u16string& text) {
    if (text.empty()) return std::string();
    const auto* wide = reinterpret_cast<const wchar_t*>(text.data());
    const int len = static_cast<int>(text.size());
    const int n = WideCharToMultiByte(CP_ACP, 0, wide, len, nullptr, 0, nullptr, nullptr);
    if (n <= 0) return std::string();
    std::string out(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_ACP, 0, wide, len, out.data(), n, nullptr, nullptr);
    return out;
}

}  // namespace

int TerminateProcessGently(std::uint32_t pid, std::int32_t timeoutMs) {
    if (pid == GetCurrentProcessId()) return tpFailed;
    THandle process(OpenProcess(WaitAndTerminate, FALSE, pid));
    if (!process) return tpFailed;
    if (timeoutMs < 0) return Terminate(process.get());
    EnumWindows(PostCloseToProcessWindow, static_cast<LPARAM>(pid));
    if (WaitForSingleObject(process.get(), static_cast<DWORD>(timeoutMs)) == WAIT_OBJECT_0) return tpClosed;
    return Terminate(process.get());
}

std::string ReadProcessCommandLine(std::uint32_t pid) {
    if (!orvex::NtQueryInformationProcess) return std::string();
    THandle process(OpenProcess(QueryAndRead, FALSE, pid));
    if (!process) return std::string();

    constexpr nt::TWidth width = nt::NativeWidth;
    TNativeBlock basic;
    if (!QueryProcessBlock(process.get(), ProcessInfoBasic, basic)) return std::string();
    const auto info = nt::ParseProcessBasicInfo(width, basic.Bytes, basic.Size);
    if (!info) return std::string();

    std::vector<std::uint8_t> peb, params, chars;
    if (!ReadProcessBytes(process.get(), info->PebBaseAddress, nt::PebReadSize(width), peb)) return std::string();
    const auto paramsAddress = nt::ParsePebProcessParameters(width, peb.data(), peb.size());
    if (!paramsAddress || !ReadProcessBytes(process.get(), *paramsAddress, nt::ParamsReadSize(width), params))
        return std::string();
    const auto commandLine = nt::ParseParamsCommandLine(width, params.data(), params.size());
    if (!commandLine) return std::string();
    // Only the characters the string counts, and no more than the longest text returned.
    const std::size_t bytes = std::min<std::size_t>(commandLine->Length & ~1u, 2 * CommandLineMaxChars);
    if (bytes == 0) return std::string();
    if (!ReadProcessBytes(process.get(), commandLine->Buffer, bytes, chars)) return std::string();
    return ToAnsi(nt::Utf16UpToZero(chars.data(), chars.size()));
}

}  // namespace orvex
