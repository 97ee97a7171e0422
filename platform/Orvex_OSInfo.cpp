#include "platform/Orvex_OSInfo.h"

#include <windows.h>

#include <iterator>
#include <string_view>

#include "platform/Orvex_Registry.h"
#include "platform/Orvex_WideText.h"
#include "platform/pure/Orvex_OSKind.h"
#include "platform/pure/Orvex_TextCase.h"

namespace orvex {

namespace {

// Text of a fixed-size character field that need not end in a zero.
std::string FieldText(const char* field, std::size_t capacity) {
    std::size_t n = 0;
    while (n < capacity && field[n] != '\0') ++n;
    return std::string(field, n);
}

// The version values GetOSInfo works from.
struct TVersionValues {
    std::uint32_t Platform = 0, Major = 0, Minor = 0, Build = 0;
    std::uint32_t ProductType = 0, SuiteMask = 0;
    std::string CSD;  // untrimmed
};

// The numbers of an extended version record, of either character width;
// the build number's low 16 bits.
template <typename TRecord>
TVersionValues NumbersOf(const TRecord& vi) {
    TVersionValues v;
    v.Platform = vi.dwPlatformId;
    v.Major = vi.dwMajorVersion;
    v.Minor = vi.dwMinorVersion;
    v.Build = vi.dwBuildNumber & 0xFFFF;
    v.ProductType = vi.wProductType;
    v.SuiteMask = vi.wSuiteMask;
    return v;
}

// What GetVersionExA answers: the extended record where the system knows it,
// else the short one (NT before 4.0 SP6 and the 9x family); all zero when
// both are refused.
TVersionValues ReportedVersion() {
    OSVERSIONINFOEXA vi{};
    vi.dwOSVersionInfoSize = sizeof vi;
    if (!GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(&vi))) {
        vi = OSVERSIONINFOEXA{};
        vi.dwOSVersionInfoSize = sizeof(OSVERSIONINFOA);
        if (!GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(&vi))) vi = OSVERSIONINFOEXA{};
    }
    TVersionValues v = NumbersOf(vi);
    v.CSD = FieldText(vi.szCSDVersion, sizeof vi.szCSDVersion);
    return v;
}

using TRtlGetVersion = LONG(WINAPI*)(OSVERSIONINFOEXW*);

// The version the NT family really runs. From Windows 8.1 on, GetVersionExA
// tells a program without a compatibility manifest 6.2 build 9200; the
// native RtlGetVersion is not subject to that. It is looked up directly in
// NTDLL, which every process of the NT family has mapped from its start:
// the identification runs during static initialisation, long before the
// native binding is made, and must neither load nor free a library. Windows
// 2000 is the first system to export the routine; without it (NT 4) the
// answer is false and the caller keeps what GetVersionExA said.
bool NativeVersion(TVersionValues& out) {
    const HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    if (!ntdll) return false;
    const auto rtlGetVersion = reinterpret_cast<TRtlGetVersion>(
        reinterpret_cast<void*>(GetProcAddress(ntdll, "RtlGetVersion")));
    if (!rtlGetVersion) return false;
    OSVERSIONINFOEXW vi{};
    vi.dwOSVersionInfoSize = sizeof vi;
    if (rtlGetVersion(&vi) != 0 || vi.dwPlatformId != VER_PLATFORM_WIN32_NT) return false;
    out = NumbersOf(vi);
    std::size_t n = 0;
    while (n < std::size(vi.szCSDVersion) && vi.szCSDVersion[n] != L'\0') ++n;
    out.CSD = WideToAnsi(std::wstring_view(vi.szCSDVersion, n));
    return true;
}

struct TOSIdentity {
    std::uint8_t Kind = 0;
    std::uint32_t Platform = 0, Major = 0, Minor = 0, Build = 0;
    std::string CSD;
    std::uint16_t Suite = 0;
    std::uint8_t Edition = 0;
    std::string Name;
    bool NT = false, NT4 = false;
    std::string Machine;

    TOSIdentity() {
        Kind = GetOSInfo(Platform, Major, Minor, Build, CSD, Suite, Edition, Name);
        NT = IsNTKind(Kind);
        NT4 = Kind == osWinNT4;
        Machine = UpperCase(ReadComputerName());
    }
};

const TOSIdentity& Identity() {
    static const TOSIdentity identity;
    return identity;
}

// Identify the system during static initialization, before any window exists.
[[maybe_unused]] const bool g_identified = (Identity(), true);

}  // namespace

std::uint8_t GetOSInfo(std::uint32_t& platform, std::uint32_t& major, std::uint32_t& minor, std::uint32_t& build,
                       std::string& csd, std::uint16_t& suite, std::uint8_t& edition, std::string& name) {
    TVersionValues v = ReportedVersion();
    // Only the NT family has the native routine; it corrects what a
    // compatibility layer made of the numbers.
    if (v.Platform == PlatformNT) NativeVersion(v);
    platform = v.Platform;
    major = v.Major;
    minor = v.Minor;
    build = v.Build;
    csd = TrimText(v.CSD);
    name.clear();
    const std::uint8_t kind = DetectOSKind(platform, v.ProductType, major, minor, build, csd, name);
    if (platform == PlatformNT && HotfixRuleApplies(csd)) csd = ApplyHotfixRule(csd, IsHotfixQ246009Installed());
    const TOSEdition e = DetectEdition(platform, major, v.ProductType, v.SuiteMask);
    suite = e.Suite;
    edition = e.Edition;
    return kind;
}

bool IsHotfixQ246009Installed() {
    std::uint32_t installed = 0;
    return ReadRegistryDword(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Hotfix\\Q246009",
                             "Installed", installed) &&
           installed == 1;
}

std::string ReadComputerName() {
    std::string name;
    char buf[256] = {};
    DWORD size = 255;
    if (GetComputerNameA(buf, &size)) name = FieldText(buf, size < 255 ? size : 255);
    ReadRegistryText(HKEY_LOCAL_MACHINE, "SYSTEM\\CurrentControlSet\\Control\\ComputerName\\ComputerName",
                     "ComputerName", name);
    return name;
}

std::string WindowsDirectory() {
    char windows[MAX_PATH] = {};
    const UINT w = GetWindowsDirectoryA(windows, MAX_PATH);
    // A length of MAX_PATH or more means the directory did not fit.
    return w > 0 && w < MAX_PATH ? std::string(windows, w) : std::string();
}

std::string WindowsSearchPath() {
    char system[MAX_PATH] = {};
    const UINT s = GetSystemDirectoryA(system, MAX_PATH);
    std::string windowsDir = WindowsDirectory().substr(0, 255);
    std::string systemDir = s > 0 && s < MAX_PATH ? std::string(system, s) : std::string();
    return windowsDir + ";" + systemDir + ";";
}

std::uint8_t OSKind() { return Identity().Kind; }
std::uint32_t OSPlatform() { return Identity().Platform; }
std::uint32_t OSMajorVersion() { return Identity().Major; }
std::uint32_t OSMinorVersion() { return Identity().Minor; }
std::uint32_t OSBuildNumber() { return Identity().Build; }
const std::string& OSCSD() { return Identity().CSD; }
std::uint16_t OSSuite() { return Identity().Suite; }
std::uint8_t OSEdition() { return Identity().Edition; }
const std::string& OSName() { return Identity().Name; }
bool IsNT() { return Identity().NT; }
bool IsNT4() { return Identity().NT4; }
const std::string& MachineName() { return Identity().Machine; }

}  // namespace orvex
