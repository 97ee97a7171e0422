#include "bench/MinimalCollector.h"

#include <windows.h>
#include <sddl.h>
#include <tlhelp32.h>
#include <winternl.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <tuple>
#include <unordered_map>
#include <vector>

#include "engine/pure/OXI_ServiceText.h"
#include "platform/Orvex_OSInfo.h"
#include "platform/Orvex_Resources.h"
#include "platform/Orvex_WideText.h"
#include "platform/pure/Orvex_NameTables.h"
#include "platform/pure/Orvex_ServiceNames.h"
#include "platform/pure/Orvex_StyleNames.h"
#include "platform/pure/Orvex_TextCase.h"

namespace orvex::bench {

namespace {

class TScOwner {
public:
    explicit TScOwner(SC_HANDLE h = nullptr) noexcept : h_(h) {}
    ~TScOwner() {
        if (h_) ::CloseServiceHandle(h_);
    }
    TScOwner(const TScOwner&) = delete;
    TScOwner& operator=(const TScOwner&) = delete;
    SC_HANDLE get() const noexcept { return h_; }
    explicit operator bool() const noexcept { return h_ != nullptr; }

private:
    SC_HANDLE h_;
};

// The native calls, bound here from ntdll by name.
using TQuerySystem = NTSTATUS(NTAPI*)(ULONG, PVOID, ULONG, PULONG);
using TQueryInformation = NTSTATUS(NTAPI*)(HANDLE, ULONG, PVOID, ULONG, PULONG);
using TQueryFile = NTSTATUS(NTAPI*)(HANDLE, PIO_STATUS_BLOCK, PVOID, ULONG, ULONG);
using TDuplicate = NTSTATUS(NTAPI*)(HANDLE, HANDLE, HANDLE, PHANDLE, ACCESS_MASK, ULONG, ULONG);
struct TNtCalls {
    TQuerySystem QuerySystem = nullptr;
    TQueryInformation QueryProcess = nullptr, QueryThread = nullptr, QueryObject = nullptr;
    TQueryFile QueryFile = nullptr;
    TDuplicate Duplicate = nullptr;
};

template <typename T>
void Bind(HMODULE dll, T& call, const char* name) {
    call = reinterpret_cast<T>(reinterpret_cast<void*>(::GetProcAddress(dll, name)));
}

const TNtCalls& Nt() {
    static const TNtCalls calls = [] {
        TNtCalls c;
        const HMODULE dll = ::GetModuleHandleA("ntdll.dll");
        if (!dll) return c;
        Bind(dll, c.QuerySystem, "NtQuerySystemInformation");
        Bind(dll, c.QueryProcess, "NtQueryInformationProcess");
        Bind(dll, c.QueryThread, "NtQueryInformationThread");
        Bind(dll, c.QueryObject, "NtQueryObject");
        Bind(dll, c.QueryFile, "NtQueryInformationFile");
        Bind(dll, c.Duplicate, "NtDuplicateObject");
        return c;
    }();
    return calls;
}

constexpr ULONG ClassProcesses = 5, ClassModules = 11, ClassHandles = 16, ClassHandlesEx = 64;
constexpr ULONG ProcessBasic = 0, ProcessWow64 = 26, ThreadBasic = 0, ObjectName = 1, ObjectType = 2;
constexpr ULONG FileMode = 16, SynchronousIo = 0x30;
constexpr std::uint32_t LengthMismatch = 0xC0000004, Overflow = 0x80000005;

std::string Bounded(const char* text, std::size_t capacity) {
    return std::string(text, std::find(text, text + capacity, '\0'));
}

// The part after the last backslash; a trail byte equal to the backslash
// is not one.
std::string FilePart(const std::string& path) {
    std::size_t after = 0;
    for (std::size_t i = 0; i < path.size(); ++i) {
        if (::IsDBCSLeadByte(static_cast<BYTE>(path[i])) && i + 1 < path.size())
            ++i;
        else if (path[i] == '\\' || path[i] == ':')
            after = i + 1;
    }
    return path.substr(after);
}

// A path's key without regard to case, in the code page in force.
std::string CaseKey(const std::string& text) {
    std::string key = text;
    if (!key.empty()) ::CharUpperBuffA(key.data(), static_cast<DWORD>(key.size()));
    return key;
}

// Path completion with every answer remembered: the path itself when it
// names a file, else the first of its own directory, the Windows and the
// system directory that holds it; one existence check per distinct name.
class TPaths {
public:
    const std::string& Resolve(const std::string& path) {
        if (auto it = done_.find(path); it != done_.end()) return it->second;
        std::string result;
        if (!path.empty() && path.find('\0') == std::string::npos) {
            if (Exists(path)) {
                result = path;
            } else {
                for (const std::string& dir : Directories(path)) {
                    const std::string name = dir + path;
                    if (!Exists(name)) continue;
                    char full[MAX_PATH * 2];
                    const DWORD n = ::GetFullPathNameA(name.c_str(), sizeof full, full, nullptr);
                    if (n > 0 && n < sizeof full) result.assign(full, n);
                    break;
                }
            }
        }
        return done_.emplace(path, std::move(result)).first->second;
    }

private:
    std::vector<std::string> Directories(const std::string& path) {
        if (system_.empty()) {
            char windows[MAX_PATH] = {}, system[MAX_PATH] = {};
            const UINT w = ::GetWindowsDirectoryA(windows, MAX_PATH);
            const UINT s = ::GetSystemDirectoryA(system, MAX_PATH);
            for (std::string dir :
                 {std::string(windows, w < MAX_PATH ? w : 0), std::string(system, s < MAX_PATH ? s : 0)})
                if (!dir.empty()) system_.push_back(dir.back() == '\\' ? dir : dir + '\\');
        }
        std::vector<std::string> dirs;
        if (const std::string own = path.substr(0, path.size() - FilePart(path).size()); !own.empty())
            dirs.push_back(own.back() == '\\' || own.back() == ':' ? own : own + '\\');
        dirs.insert(dirs.end(), system_.begin(), system_.end());
        return dirs;
    }

    bool Exists(const std::string& name) {
        auto [it, first] = exists_.try_emplace(CaseKey(name));
        if (first) {
            const DWORD a = ::GetFileAttributesA(name.c_str());
            it->second = a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY) == 0;
        }
        return it->second;
    }

    std::unordered_map<std::string, std::string> done_;
    std::unordered_map<std::string, bool> exists_;
    std::vector<std::string> system_;
};

// Each module once, by base and path without regard to case.
class TSeen {
public:
    bool Add(std::uintptr_t base, const std::string& path) { return seen_.emplace(base, CaseKey(path)).second; }

private:
    std::set<std::pair<std::uintptr_t, std::string>> seen_;
};

// The name of a process whose executable cannot be read.
std::string KernelProcessName(std::uint32_t pid) {
    if (pid == 0) return "[System Idle Process]";
    return pid < 10 ? "System" : "";
}

TThreadInfo Thread(const THREADENTRY32& e) {
    TThreadInfo t;
    t.OwnerPID = e.th32OwnerProcessID;
    t.TID = e.th32ThreadID;
    t.BasePriority = e.tpBasePri;
    t.Priority = e.tpBasePri + e.tpDeltaPri;
    return t;
}

#ifdef _WIN64
constexpr DWORD ModuleKinds = TH32CS_SNAPMODULE | TH32CS_SNAPMODULE32;
#else
constexpr DWORD ModuleKinds = TH32CS_SNAPMODULE;
#endif

// The modules of one process from a module snapshot; the path of the module
// named like the process.
std::string SnapshotModules(std::uint32_t pid, std::string_view processName, TModuleList& modules, TPaths& paths) {
    std::string image;
    THandle snap;
    for (int attempt = 0; attempt < 3 && !snap; ++attempt) {
        snap = THandle(::CreateToolhelp32Snapshot(ModuleKinds, pid));
        if (!snap && ::GetLastError() != ERROR_BAD_LENGTH) break;
    }
    if (!snap) return image;
    MODULEENTRY32 e{};
    e.dwSize = sizeof e;
    TSeen seen;
    for (BOOL ok = ::Module32First(snap.get(), &e); ok; ok = ::Module32Next(snap.get(), &e)) {
        std::string name = Bounded(e.szModule, sizeof e.szModule);
        std::string path = Bounded(e.szExePath, sizeof e.szExePath);
        if (!seen.Add(reinterpret_cast<std::uintptr_t>(e.modBaseAddr), path)) continue;
        TModuleInfo& m = modules.emplace_back();
        m.Name = name;
        m.ImageName = paths.Resolve(path);
        m.Base = reinterpret_cast<std::uintptr_t>(e.modBaseAddr);
        m.Size = e.modBaseSize;
        if (SameText(name, processName)) image = std::move(path);
    }
    return image;
}

// The loader data read directly, per module its entry and its path: the
// offsets of the PEB's loader address, the load-order head in the loader
// data, and the base, size and path of an entry, for one pointer width.
template <typename TPtr>
struct TLoaderOffsets;
template <>
struct TLoaderOffsets<std::uint32_t> {
    static constexpr std::size_t Ldr = 0x0C, Head = 0x0C, Base = 0x18, Size = 0x20, Path = 0x24, Entry = 0x2C;
};
template <>
struct TLoaderOffsets<std::uint64_t> {
    static constexpr std::size_t Ldr = 0x18, Head = 0x10, Base = 0x30, Size = 0x40, Path = 0x48, Entry = 0x58;
};

template <typename T>
bool ReadAt(HANDLE process, std::uint64_t address, T* into, std::size_t count = 1) {
    SIZE_T got = 0;
    return address != 0 && address <= UINTPTR_MAX &&
           ::ReadProcessMemory(process, reinterpret_cast<LPCVOID>(static_cast<std::uintptr_t>(address)), into,
                               sizeof(T) * count, &got) &&
           got == sizeof(T) * count;
}

template <typename TPtr>
bool WalkLoader(HANDLE process, std::uint64_t peb, TSeen& seen, std::string_view processName, TModuleList& modules,
                TPaths& paths, std::string& image) {
    using O = TLoaderOffsets<TPtr>;
    TPtr ldr = 0, next = 0;
    if (!ReadAt(process, peb + O::Ldr, &ldr) || ldr == 0) return false;
    const std::uint64_t head = static_cast<std::uint64_t>(ldr) + O::Head;
    if (!ReadAt(process, head, &next)) return false;
    std::uint8_t entry[O::Entry];
    std::wstring wide;
    for (int count = 0; next != head; ++count) {
        if (count > 16384 || !ReadAt(process, next, entry, sizeof entry)) return false;
        TPtr base = 0, buffer = 0;
        std::uint32_t size = 0;
        std::uint16_t bytes = 0;
        std::memcpy(&base, entry + O::Base, sizeof base);
        std::memcpy(&size, entry + O::Size, sizeof size);
        std::memcpy(&bytes, entry + O::Path, sizeof bytes);
        std::memcpy(&buffer, entry + O::Path + sizeof(TPtr), sizeof buffer);
        wide.assign(bytes / 2, L'\0');
        if (bytes / 2 > 0 && !ReadAt(process, buffer, wide.data(), bytes / 2)) return false;
        std::string path = WideToAnsi(wide);
        if (seen.Add(static_cast<std::uintptr_t>(base), path)) {
            TModuleInfo& m = modules.emplace_back();
            m.Name = FilePart(path);
            m.ImageName = paths.Resolve(path);
            m.Base = static_cast<std::uintptr_t>(base);
            m.Size = size;
            if (SameText(m.Name, processName)) image = path;
        }
        std::memcpy(&next, entry, sizeof next);
    }
    return true;
}

bool IsWow64Self() {
    using TIsWow64 = BOOL(WINAPI*)(HANDLE, PBOOL);
    static const bool wow64 = [] {
        TIsWow64 ask = nullptr;
        if (const HMODULE k = ::GetModuleHandleA("kernel32.dll")) Bind(k, ask, "IsWow64Process");
        BOOL yes = FALSE;
        return ask && ask(::GetCurrentProcess(), &yes) && yes;
    }();
    return wow64;
}

// The modules of one process: the loader data on the NT family, a module
// snapshot elsewhere and where the loader data cannot be read.
std::string Modules(std::uint32_t pid, HANDLE process, std::string_view processName, TModuleList& modules,
                    TPaths& paths) {
    std::string image;
    if (pid == 0) return image;
    if (process && IsNT() && Nt().QueryProcess) {
        PROCESS_BASIC_INFORMATION basic{};
        ULONG_PTR wow64 = 0;
        TModuleList found;
        TSeen seen;
        bool ok = Nt().QueryProcess(process, ProcessBasic, &basic, sizeof basic, nullptr) == 0 &&
                  Nt().QueryProcess(process, ProcessWow64, &wow64, sizeof wow64, nullptr) == 0;
        // A 64-bit process is left to the snapshot when this program is 32-bit.
        ok = ok && !(sizeof(void*) == 4 && IsWow64Self() && wow64 == 0);
        using TNativePointer = std::conditional_t<sizeof(void*) == 8, std::uint64_t, std::uint32_t>;
        ok = ok && WalkLoader<TNativePointer>(process, reinterpret_cast<std::uintptr_t>(basic.PebBaseAddress), seen,
                                              processName, found, paths, image);
        if (sizeof(void*) == 8 && ok && wow64 != 0)
            ok = WalkLoader<std::uint32_t>(process, wow64, seen, processName, found, paths, image);
        if (ok) {
            modules = std::move(found);
            return image;
        }
        image.clear();
    }
    return SnapshotModules(pid, processName, modules, paths);
}

// The remembered look-ups of one details pass.
class TLookups {
public:
    bool Account(PSID sid, std::string& name, std::string& domain) {
        const std::string key(static_cast<const char*>(sid), ::GetLengthSid(sid));
        auto [it, first] = accounts_.try_emplace(key);
        if (first) {
            char n[257] = {}, d[257] = {};
            DWORD nl = 256, dl = 256;
            SID_NAME_USE use;
            it->second.Ok = ::LookupAccountSidA(nullptr, sid, n, &nl, d, &dl, &use) && n[0];
            it->second.Name = n;
            it->second.Domain = d;
        }
        if (!it->second.Ok) return false;
        name = it->second.Name;
        domain = it->second.Domain;
        return true;
    }
    const std::string& Privilege(const LUID& luid) {
        const std::uint64_t key = (static_cast<std::uint64_t>(static_cast<std::uint32_t>(luid.HighPart)) << 32) |
                                  luid.LowPart;
        auto [it, first] = privileges_.try_emplace(key);
        if (first) {
            char n[257] = {};
            DWORD nl = 256;
            LUID copy = luid;
            if (::LookupPrivilegeNameA(nullptr, &copy, n, &nl)) it->second = n;
        }
        return it->second;
    }
    const std::string& Display(const std::string& name) {
        auto [it, first] = displays_.try_emplace(name);
        if (first && !name.empty()) {
            char n[257] = {};
            DWORD nl = 256, language = 0;
            if (::LookupPrivilegeDisplayNameA(nullptr, name.c_str(), n, &nl, &language)) it->second = n;
        }
        return it->second;
    }

private:
    struct TAccount {
        bool Ok = false;
        std::string Name, Domain;
    };
    std::map<std::string, TAccount> accounts_;
    std::map<std::uint64_t, std::string> privileges_;
    std::map<std::string, std::string> displays_;
};

// One token class into a buffer of the token's size (one call when it fits).
bool TokenInfo(HANDLE token, TOKEN_INFORMATION_CLASS c, std::vector<ULONGLONG>& buffer, DWORD& size) {
    DWORD needed = 0;
    if (::GetTokenInformation(token, c, buffer.data(), static_cast<DWORD>(buffer.size() * 8), &needed)) {
        size = needed ? needed : static_cast<DWORD>(buffer.size() * 8);
        return true;
    }
    if (::GetLastError() != ERROR_INSUFFICIENT_BUFFER || needed <= buffer.size() * 8) return false;
    buffer.resize((needed + 7) / 8);
    if (!::GetTokenInformation(token, c, buffer.data(), static_cast<DWORD>(buffer.size() * 8), &needed)) return false;
    size = needed;
    return true;
}

// A security identifier in its text form ("S-1-5-18").
std::string SidText(PSID sid) {
    std::string text;
    LPSTR converted = nullptr;
    if (::ConvertSidToStringSidA(sid, &converted) && converted) {
        text = converted;
        ::LocalFree(converted);
    }
    return text;
}

void Token(HANDLE token, TProcessInfo& p, TLookups& lookups, std::vector<ULONGLONG>& buffer) {
    DWORD size = 0;
    p.UserName = std::string();
    if (token && TokenInfo(token, TokenUser, buffer, size)) {
        const auto* tu = reinterpret_cast<const TOKEN_USER*>(buffer.data());
        std::string name, domain;
        if (!lookups.Account(tu->User.Sid, name, domain)) {
            name = SidText(tu->User.Sid);
            domain.clear();
        }
        p.UserName = domain.empty() ? name : domain + "/" + name;
    }
    p.Privileges.clear();
    if (token && TokenInfo(token, TokenPrivileges, buffer, size)) {
        const auto* tp = reinterpret_cast<const TOKEN_PRIVILEGES*>(buffer.data());
        p.Privileges.reserve(tp->PrivilegeCount);
        for (DWORD i = 0; i < tp->PrivilegeCount; ++i) {
            TPrivilegeInfo& v = p.Privileges.emplace_back();
            const std::string& name = lookups.Privilege(tp->Privileges[i].Luid);
            v.Name = name;
            v.DisplayName = lookups.Display(name);
            v.Attributes = tp->Privileges[i].Attributes;
        }
    }
    p.Groups.clear();
    if (token && TokenInfo(token, TokenGroups, buffer, size)) {
        const auto* tg = reinterpret_cast<const TOKEN_GROUPS*>(buffer.data());
        p.Groups.reserve(tg->GroupCount);
        for (DWORD i = 0; i < tg->GroupCount; ++i) {
            TTokenGroupInfo& g = p.Groups.emplace_back();
            g.Attributes = tg->Groups[i].Attributes;
            PSID sid = tg->Groups[i].Sid;
            if (!sid || !::IsValidSid(sid)) continue;
            g.SID = SidText(sid);
            std::string name, domain;
            if (lookups.Account(sid, name, domain)) {
                g.Name = name;
                g.Domain = domain;
            }
        }
    }
}

// One read of a system information class into a buffer kept between calls.
bool SystemInfo(ULONG infoClass, std::vector<std::uint8_t>& buffer, ULONG& filled) {
    if (!Nt().QuerySystem) return false;
    for (int attempt = 0; attempt < 4; ++attempt) {
        ULONG needed = 0;
        const auto s = static_cast<std::uint32_t>(
            Nt().QuerySystem(infoClass, buffer.data(), static_cast<ULONG>(buffer.size()), &needed));
        if (s == 0) {
            filled = needed && needed <= buffer.size() ? needed : static_cast<ULONG>(buffer.size());
            return true;
        }
        if (s != LengthMismatch && s != Overflow) return false;
        buffer.resize(std::max<std::size_t>(buffer.size() * 2, needed + 65536));
    }
    return false;
}

std::vector<std::uint8_t>& TableBuffer() {
    static std::vector<std::uint8_t> buffer(8u << 20);
    return buffer;
}

// The counted text at the start of an object query's answer, whose
// characters must lie within the answer.
std::string CountedText(const std::vector<std::uint8_t>& work) {
    UNICODE_STRING u{};
    std::memcpy(&u, work.data(), sizeof u);
    const auto* begin = reinterpret_cast<const std::uint8_t*>(u.Buffer);
    if (!begin || begin < work.data() || begin + u.Length > work.data() + work.size()) return {};
    std::wstring text(u.Length / 2, L'\0');
    std::memcpy(text.data(), begin, text.size() * 2);
    return WideToAnsi(text);
}

bool ObjectText(HANDLE h, ULONG infoClass, std::vector<std::uint8_t>& work, std::string& text) {
    ULONG needed = 0;
    NTSTATUS s = Nt().QueryObject(h, infoClass, work.data(), static_cast<ULONG>(work.size()), &needed);
    if (s != 0) {
        if (needed <= work.size() || needed > (1u << 20)) return false;
        work.resize(needed);
        s = Nt().QueryObject(h, infoClass, work.data(), static_cast<ULONG>(work.size()), &needed);
        if (s != 0) return false;
    }
    text = CountedText(work);
    return true;
}

// A file object's name, except for a pipe opened for synchronous I/O, whose
// name query waits for the pipe's pending read.
bool FileObjectName(HANDLE file, std::vector<std::uint8_t>& work, std::string& text) {
    if (::GetFileType(file) == FILE_TYPE_PIPE) {
        IO_STATUS_BLOCK status{};
        ULONG mode = 0;
        if (!Nt().QueryFile || Nt().QueryFile(file, &status, &mode, sizeof mode, FileMode) != 0 ||
            (mode & SynchronousIo) != 0)
            return false;
    }
    return ObjectText(file, ObjectName, work, text);
}

int TypeIndex(const std::string& name) {
    int found = -1;
    for (std::size_t i = 0; i < ObjectTypeNames.size(); ++i)
        if (SameText(name, ObjectTypeNames[i])) found = static_cast<int>(i);
    return found;
}

std::uintptr_t WindowPtr(HWND h, int i) { return static_cast<std::uintptr_t>(::GetWindowLongPtrA(h, i)); }
std::uintptr_t ClassPtr(HWND h, int i) { return static_cast<std::uintptr_t>(::GetClassLongPtrA(h, i)); }
std::uint32_t ClassWord(HWND h, int i) { return static_cast<std::uint32_t>(::GetClassLongA(h, i)); }
TRect Rect(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

struct TClass {
    TShortString Name;
    std::uint32_t ClassExtra = 0, WindowExtra = 0;
    std::uintptr_t WndProc = 0, Background = 0, Cursor = 0, Icon = 0;
    TStringList StyleNames;
};
using TClassKey = std::tuple<std::uint32_t, std::uint32_t, std::uintptr_t, std::uint32_t>;

void Describe(HWND h, TWindowInfo& w, std::map<TClassKey, TClass>& classes) {
    char text[256] = {};
    if (::GetWindowTextA(h, text, sizeof text) > 0) w.Text = text;
    w.Handle = reinterpret_cast<std::uintptr_t>(h);
    DWORD pid = 0;
    w.ThreadID = ::GetWindowThreadProcessId(h, &pid);
    w.ProcessID = pid;
    w.ParentWindow = WindowPtr(h, GWLP_HWNDPARENT);
    w.WndProc = WindowPtr(h, GWLP_WNDPROC);
    w.Instance = WindowPtr(h, GWLP_HINSTANCE);
    w.ID = WindowPtr(h, GWLP_ID);
    w.UserData = WindowPtr(h, GWLP_USERDATA);
    w.Style = static_cast<std::uint32_t>(::GetWindowLongA(h, GWL_STYLE));
    w.ExStyle = static_cast<std::uint32_t>(::GetWindowLongA(h, GWL_EXSTYLE));
    RECT r{};
    if (::GetWindowRect(h, &r)) w.Rect = Rect(r);
    r = RECT{};
    if (::GetClientRect(h, &r)) w.ClientRect = Rect(r);
    w.Atom = ClassWord(h, GCW_ATOM);
    w.Module = ClassPtr(h, GCLP_HMODULE);
    w.ClassStyle = ClassWord(h, GCL_STYLE);
    auto [it, first] = classes.try_emplace(TClassKey{w.ProcessID, w.Atom, w.Module, w.ClassStyle});
    TClass& c = it->second;
    if (first) {
        char name[256] = {};
        if (::GetClassNameA(h, name, sizeof name) > 0) c.Name = name;
        c.ClassExtra = ClassWord(h, GCL_CBCLSEXTRA);
        c.WindowExtra = ClassWord(h, GCL_CBWNDEXTRA);
        c.WndProc = ClassPtr(h, GCLP_WNDPROC);
        c.Background = ClassPtr(h, GCLP_HBRBACKGROUND);
        c.Cursor = ClassPtr(h, GCLP_HCURSOR);
        c.Icon = ClassPtr(h, GCLP_HICON);
        c.StyleNames = ClassStyleNames(w.ClassStyle);
    }
    w.ClassName = c.Name;
    w.ClassExtra = c.ClassExtra;
    w.WindowExtra = c.WindowExtra;
    w.ClassWndProc = c.WndProc;
    w.Background = c.Background;
    w.Cursor = c.Cursor;
    w.Icon = c.Icon;
    w.ClassStyleNames = c.StyleNames;
    w.StyleNames = WindowStyleNames(w.Style);
    w.ExStyleNames = ExStyleNames(w.ExStyle);
}

BOOL CALLBACK AddWindow(HWND h, LPARAM lp) {
    reinterpret_cast<std::vector<HWND>*>(lp)->push_back(h);
    return TRUE;
}

// The processes one pass opened: each once, for its modules and then its
// token.
class TOpenProcesses {
public:
    HANDLE Open(std::uint32_t pid) {
        auto [it, first] = open_.try_emplace(pid);
        if (first) it->second = THandle(::OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid));
        return it->second.get();
    }

private:
    std::unordered_map<std::uint32_t, THandle> open_;
};

TVMCounters Counters(const VM_COUNTERS& c) {
    return {c.PeakVirtualSize,        c.VirtualSize,
            c.PageFaultCount,         c.PeakWorkingSetSize,
            c.WorkingSetSize,         c.QuotaPeakPagedPoolUsage,
            c.QuotaPagedPoolUsage,    c.QuotaPeakNonPagedPoolUsage,
            c.QuotaNonPagedPoolUsage, c.PagefileUsage,
            c.PeakPagefileUsage};
}

std::int64_t Value(const LARGE_INTEGER& v) { return v.QuadPart; }

// The NT family: processes, their threads, counters and times from one
// system process query (class 5), read through the SDK's own declarations
// of its entries; per process one open for the loader data.
void NativeProcesses(TProcList& list, TOpenProcesses& open) {
    static std::vector<std::uint8_t> buffer(1u << 20);
    ULONG filled = 0;
    if (!SystemInfo(ClassProcesses, buffer, filled)) return;
    TPaths paths;
    for (std::size_t offset = 0; offset + sizeof(SYSTEM_PROCESS_INFORMATION) <= filled;) {
        SYSTEM_PROCESS_INFORMATION e;
        std::memcpy(&e, buffer.data() + offset, sizeof e);
        TProcessInfo& p = list.emplace_back();
        p.PID = static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(e.UniqueProcessId));
        p.ParentPID = static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(e.InheritedFromUniqueProcessId));
        p.Priority = e.BasePriority;
        p.ThreadCount = e.NumberOfThreads;
        p.HandleCount = e.HandleCount;
        p.CreateTime = Value(e.CreateTime);
        p.UserTime = Value(e.UserTime);
        p.KernelTime = Value(e.KernelTime);
        p.VMCounters = Counters(e.VirtualMemoryCounters);
        p.IOCounters = {e.IoCounters.ReadOperationCount,  e.IoCounters.WriteOperationCount,
                        e.IoCounters.OtherOperationCount, e.IoCounters.ReadTransferCount,
                        e.IoCounters.WriteTransferCount,  e.IoCounters.OtherTransferCount};
        if (e.ImageName.Buffer && e.ImageName.Length > 0)
            p.Name = WideToAnsi(std::wstring_view(e.ImageName.Buffer, e.ImageName.Length / 2));
        for (ULONG i = 0; i < e.NumberOfThreads; ++i) {
            const std::size_t at = offset + sizeof e + i * sizeof(SYSTEM_THREAD_INFORMATION);
            if (at + sizeof(SYSTEM_THREAD_INFORMATION) > filled) break;
            SYSTEM_THREAD_INFORMATION t;
            std::memcpy(&t, buffer.data() + at, sizeof t);
            TThreadInfo& thread = p.Threads.emplace_back();
            thread.OwnerPID = p.PID;
            thread.TID = static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(t.ClientId.UniqueThread));
            thread.BasePriority = t.BasePriority;
            thread.Priority = t.Priority;
        }
        const std::string image = Modules(p.PID, open.Open(p.PID), p.Name, p.Modules, paths);
        if (p.Name.empty()) p.Name = KernelProcessName(p.PID);
        p.ImageName = paths.Resolve(image);
        if (e.NextEntryOffset == 0) break;
        offset += e.NextEntryOffset;
    }
}

void MinimalProcesses(TProcList& list, TOpenProcesses& open) {
    if (IsNT() && !IsNT4()) {
        NativeProcesses(list, open);
        return;
    }
    const THandle snap(::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS | TH32CS_SNAPTHREAD, 0));
    if (!snap) return;
    std::unordered_map<std::uint32_t, TThreadList> threads;
    THREADENTRY32 t{};
    t.dwSize = sizeof t;
    for (BOOL ok = ::Thread32First(snap.get(), &t); ok; ok = ::Thread32Next(snap.get(), &t))
        threads[t.th32OwnerProcessID].push_back(Thread(t));
    TPaths paths;
    PROCESSENTRY32 e{};
    e.dwSize = sizeof e;
    for (BOOL ok = ::Process32First(snap.get(), &e); ok; ok = ::Process32Next(snap.get(), &e)) {
        TProcessInfo& p = list.emplace_back();
        p.Name = FilePart(Bounded(e.szExeFile, sizeof e.szExeFile));
        p.PID = e.th32ProcessID;
        p.Priority = e.pcPriClassBase;
        p.ParentPID = e.th32ParentProcessID;
        p.Usage = e.cntUsage;
        p.ThreadCount = e.cntThreads;
        p.HeapID = e.th32DefaultHeapID;
        p.ModuleID = e.th32ModuleID;
        const std::string image = Modules(p.PID, open.Open(p.PID), p.Name, p.Modules, paths);
        if (auto own = threads.find(p.PID); own != threads.end()) p.Threads = std::move(own->second);
        if (p.Name.empty()) p.Name = KernelProcessName(p.PID);
        p.ImageName = paths.Resolve(image);
    }
}

// Account, privileges and groups through one token open per process; the
// counters came with the process list.
void MinimalDetails(TProcList& list, TOpenProcesses& open) {
    TLookups lookups;
    std::vector<ULONGLONG> buffer(512);
    for (TProcessInfo& p : list) {
        const HANDLE process = open.Open(p.PID);
        if (!process) continue;
        THandle token;
        if (!::OpenProcessToken(process, TOKEN_QUERY, token.put())) token.release();
        Token(token.get(), p, lookups, buffer);
    }
}

// One entry of the kernel module table (class 11).
struct TKernelModule {
    HANDLE Section;
    PVOID MappedBase;
    PVOID ImageBase;
    ULONG ImageSize;
    ULONG Flags;
    USHORT LoadOrderIndex, InitOrderIndex, LoadCount, OffsetToFileName;
    char FullPathName[256];
};

// One entry of the handle table, class 16 and the extended class 64.
struct THandleEntry {
    USHORT UniqueProcessId, CreatorBackTraceIndex;
    UCHAR ObjectTypeIndex, HandleAttributes;
    USHORT HandleValue;
    PVOID Object;
    ULONG GrantedAccess;
};
struct THandleEntryEx {
    PVOID Object;
    ULONG_PTR UniqueProcessId, HandleValue;
    ULONG GrantedAccess;
    USHORT CreatorBackTraceIndex, ObjectTypeIndex;
    ULONG HandleAttributes, Reserved;
};
struct TEntry {
    std::uint32_t ProcessId;
    std::uintptr_t Handle, Object;
    std::uint32_t Access;
    std::uint16_t Type;
    std::uint32_t Attributes;
};

// The entries of a table that starts with its count (a word of type TCount
// in a head of head bytes), the entries after the head at their alignment.
template <typename TCount, typename TRow, typename TTake>
void Rows(const std::vector<std::uint8_t>& buffer, ULONG filled, std::size_t head, TTake take) {
    if (filled < sizeof(TCount)) return;
    TCount count = 0;
    std::memcpy(&count, buffer.data(), sizeof count);
    const std::size_t first = (head + alignof(TRow) - 1) / alignof(TRow) * alignof(TRow);
    const std::size_t fits = filled < first ? 0 : (filled - first) / sizeof(TRow);
    for (std::size_t i = 0; i < std::min<std::size_t>(count, fits); ++i) {
        TRow row;
        std::memcpy(&row, buffer.data() + first + i * sizeof row, sizeof row);
        take(row);
    }
}

// The table of all handles: the extended class where this width has it.
std::vector<TEntry> HandleTable() {
    std::vector<std::uint8_t>& buffer = TableBuffer();
    ULONG filled = 0;
    std::vector<TEntry> table;
    if (sizeof(void*) == 8 && SystemInfo(ClassHandlesEx, buffer, filled)) {
        // The count and a reserved word.
        Rows<ULONG_PTR, THandleEntryEx>(buffer, filled, 2 * sizeof(ULONG_PTR), [&](const THandleEntryEx& e) {
            table.push_back({static_cast<std::uint32_t>(e.UniqueProcessId), e.HandleValue,
                             reinterpret_cast<std::uintptr_t>(e.Object), e.GrantedAccess, e.ObjectTypeIndex,
                             e.HandleAttributes});
        });
    } else if (SystemInfo(ClassHandles, buffer, filled)) {
        Rows<ULONG, THandleEntry>(buffer, filled, sizeof(ULONG), [&](const THandleEntry& e) {
            table.push_back({e.UniqueProcessId, e.HandleValue, reinterpret_cast<std::uintptr_t>(e.Object),
                             e.GrantedAccess, e.ObjectTypeIndex, e.HandleAttributes});
        });
    }
    return table;
}

struct TThreadBasic {
    NTSTATUS ExitStatus;
    PVOID TebBaseAddress;
    CLIENT_ID ClientId;
    ULONG_PTR AffinityMask;
    LONG Priority, BasePriority;
};

}  // namespace

void MinimalProcesses(TProcList& list) {
    TOpenProcesses open;
    MinimalProcesses(list, open);
}

void MinimalDetails(TProcList& list) {
    TOpenProcesses open;
    MinimalDetails(list, open);
}

void MinimalDrivers(TDriverList& list) {
    static std::vector<std::uint8_t> buffer(256u << 10);
    ULONG filled = 0;
    if (!SystemInfo(ClassModules, buffer, filled)) return;
    Rows<ULONG, TKernelModule>(buffer, filled, sizeof(ULONG), [&](const TKernelModule& e) {
        TDriverInfo& d = list.emplace_back();
        d.Name = Bounded(e.FullPathName, sizeof e.FullPathName);
        d.Base = reinterpret_cast<std::uintptr_t>(e.MappedBase);
        d.Size = static_cast<std::int64_t>(reinterpret_cast<std::uintptr_t>(e.ImageBase));
        d.Flags = e.ImageSize;
        d.LoadCount = e.LoadOrderIndex;
    });
}

void MinimalHandles(THandleList& list) {
    constexpr std::uint16_t TypeProcess = 5, TypeThread = 6, TypeFile = 26;
    const std::vector<TEntry> table = HandleTable();
    list.reserve(table.size());
    const DWORD self = ::GetCurrentProcessId();
    const bool nt4 = IsNT4();
    std::unordered_map<std::uint32_t, THandle> owners;
    struct TType {
        TShortString Name;
        int Index = -1;
        int Failures = 0;
        bool Known = false;
    };
    std::unordered_map<std::uint16_t, TType> types;
    std::vector<std::uint8_t> work(4096);
    for (const TEntry& e : table) {
        if (e.Handle == 0) continue;
        const auto typeFlags = static_cast<std::uint16_t>((e.Type & 0xFF) | ((e.Attributes & 0xFF) << 8));
        if (nt4 && e.ProcessId == 2 && typeFlags == 16) continue;
        THandleInfo& info = list.emplace_back();
        info.ProcessID = e.ProcessId;
        info.Handle = e.Handle;
        info.GrantedAccess = e.Access;
        info.ObjectAddress = e.Object;
        info.ObjectType = typeFlags;
        info.TypeName = ObjectTypeName(typeFlags);
        TType& type = types[e.Type];
        const bool own = info.ProcessID == self;
        HANDLE owner = nullptr;
        if (!own) {
            auto it = owners.find(info.ProcessID);
            if (it == owners.end())
                it = owners.emplace(info.ProcessID, THandle(::OpenProcess(PROCESS_DUP_HANDLE, FALSE, info.ProcessID)))
                         .first;
            owner = it->second.get();
            if (!owner || !Nt().Duplicate) continue;
        }
        THandle duplicate;
        HANDLE object = reinterpret_cast<HANDLE>(info.Handle);
        if (!own) {
            HANDLE copy = nullptr;
            if (Nt().Duplicate(owner, object, ::GetCurrentProcess(), &copy, 0, 0, DUPLICATE_SAME_ACCESS) != 0 || !copy)
                continue;
            duplicate.reset(copy);
            object = copy;
        }
        if (!Nt().QueryObject) continue;
        if (!type.Known && type.Failures < 3) {
            std::string name;
            if (ObjectText(object, ObjectType, work, name) && !name.empty()) {
                type.Known = true;
                type.Name = name;
                type.Index = TypeIndex(type.Name);
            } else {
                ++type.Failures;
            }
        }
        if (type.Known) {
            info.TypeName = type.Name;
            if (type.Index >= 0) info.ObjectType = static_cast<std::uint16_t>(type.Index);
        } else if (const int index = TypeIndex(info.TypeName); index >= 0) {
            info.ObjectType = static_cast<std::uint16_t>(index);
        }
        char text[64];
        std::string name;
        if (info.ObjectType == TypeProcess) {
            PROCESS_BASIC_INFORMATION b{};
            if (Nt().QueryProcess && Nt().QueryProcess(object, ProcessBasic, &b, sizeof b, nullptr) == 0) {
                std::snprintf(text, sizeof text, "PID: %u", static_cast<unsigned>(b.UniqueProcessId));
                info.Name = text;
            }
        } else if (info.ObjectType == TypeThread) {
            TThreadBasic b{};
            if (Nt().QueryThread && Nt().QueryThread(object, ThreadBasic, &b, sizeof b, nullptr) == 0) {
                std::snprintf(text, sizeof text, "TID: %u (PID: %u)",
                              static_cast<unsigned>(reinterpret_cast<std::uintptr_t>(b.ClientId.UniqueThread)),
                              static_cast<unsigned>(reinterpret_cast<std::uintptr_t>(b.ClientId.UniqueProcess)));
                info.Name = text;
            }
        } else if (info.ObjectType == TypeFile) {
            if (FileObjectName(object, work, name) && !name.empty()) info.Name = name;
        } else if (ObjectText(object, ObjectName, work, name) && !name.empty()) {
            info.Name = name;
        }
    }
}

void MinimalServices(TServiceList& list) {
    const TScOwner manager(::OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CONNECT | SC_MANAGER_ENUMERATE_SERVICE));
    if (!manager) return;
    // The size the last answer needed: one request when nothing was added since.
    static DWORD hint = 16384;
    std::vector<ULONGLONG> buffer((hint + 7) / 8);
    DWORD resume = 0, used = 0;
    for (int request = 0; request < 16; ++request) {
        const DWORD bytes = static_cast<DWORD>(buffer.size() * 8);
        DWORD needed = 0, count = 0;
        const BOOL ok = ::EnumServicesStatusA(manager.get(), SERVICE_WIN32, SERVICE_STATE_ALL,
                                              reinterpret_cast<ENUM_SERVICE_STATUSA*>(buffer.data()), bytes, &needed,
                                              &count, &resume);
        const DWORD err = ok ? 0 : ::GetLastError();
        const auto* entries = reinterpret_cast<const ENUM_SERVICE_STATUSA*>(buffer.data());
        list.reserve(list.size() + count);
        for (DWORD i = 0; i < count; ++i) {
            TServiceInfo& s = list.emplace_back();
            s.DisplayName = entries[i].lpDisplayName ? entries[i].lpDisplayName : "";
            s.Name = entries[i].lpServiceName ? entries[i].lpServiceName : "";
            s.Status = static_cast<std::int32_t>(entries[i].ServiceStatus.dwCurrentState);
        }
        if (ok) {
            hint = std::max<DWORD>(hint, used + bytes);
            break;
        }
        // Both answers mean: ask again, from where the platform says, with
        // the size it named.
        if (err != ERROR_MORE_DATA && err != ERROR_INSUFFICIENT_BUFFER) break;
        if (count) used += bytes;
        if (needed > bytes)
            buffer.resize((needed + 4096 + 7) / 8);
        else if (!count)
            buffer.resize(buffer.size() * 2);
    }
    alignas(8) unsigned char config[1024];
    for (TServiceInfo& s : list) {
        const TScOwner service(::OpenServiceA(manager.get(), s.Name.c_str(), SERVICE_QUERY_CONFIG));
        if (!service) continue;
        std::memset(config, 0, sizeof config);
        auto* c = reinterpret_cast<QUERY_SERVICE_CONFIGA*>(config);
        DWORD needed = 0;
        if (!::QueryServiceConfigA(service.get(), c, sizeof config, &needed)) continue;
        auto text = [](const char* t) { return t ? t : ""; };
        s.ImageName = WithoutQuotes(text(c->lpBinaryPathName));
        s.ObjectName = text(c->lpServiceStartName);
        s.Group = text(c->lpLoadOrderGroup);
        s.Typ = ServiceTypeIndex(c->dwServiceType);
        s.Startup = static_cast<std::int32_t>(c->dwStartType);
        s.Tag = c->dwTagId;
        s.ErrCtrl = c->dwErrorControl;
        if (c->lpDependencies)
            s.DependOnService = JoinDependencies(
                std::string_view(c->lpDependencies, static_cast<std::size_t>(reinterpret_cast<const char*>(config) +
                                                                             sizeof config - c->lpDependencies)));
    }
}

void MinimalWindows(TWindowList& list) {
    const HWND desktop = ::GetDesktopWindow();
    std::vector<HWND> all;
    all.reserve(4096);
    ::EnumChildWindows(desktop, AddWindow, reinterpret_cast<LPARAM>(&all));
    list.reserve(all.size() + 1);
    std::map<TClassKey, TClass> classes;
    std::unordered_map<HWND, bool> shown;
    shown.reserve(all.size() + 1);
    TWindowInfo& top = list.emplace_back();
    Describe(desktop, top, classes);
    top.Visible = ::IsWindowVisible(desktop) != FALSE;
    for (HWND h : all) {
        TWindowInfo& w = list.emplace_back();
        Describe(h, w, classes);
        // Pre-order: the parent came first. A top-level window's parent is
        // the desktop, whose own style does not count.
        const HWND parent = (w.Style & WS_CHILD) ? reinterpret_cast<HWND>(w.ParentWindow) : desktop;
        bool parentShown = true;
        if (parent != desktop) {
            auto it = shown.find(parent);
            parentShown = it != shown.end() ? it->second : ::IsWindowVisible(parent) != FALSE;
        }
        w.Visible = parentShown && (w.Style & WS_VISIBLE) != 0;
        shown.emplace(h, w.Visible);
    }
}

void MinimalRefresh(TMinimalInventory& inventory) {
    inventory = TMinimalInventory{};
    MinimalWindows(inventory.Windows);
    {
        // The process handles are closed before the handle table is read.
        TOpenProcesses open;
        MinimalProcesses(inventory.Processes, open);
        MinimalDetails(inventory.Processes, open);
    }
    MinimalDrivers(inventory.Drivers);
    MinimalHandles(inventory.Handles);
    MinimalServices(inventory.Services);
}

}  // namespace orvex::bench
