#include "bench/MinimalCollector.h"

#include <windows.h>
#include <tlhelp32.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <map>
#include <optional>
#include <string>
#include <tuple>
#include <unordered_map>
#include <vector>

#include "engine/OXI_ImagePath.h"
#include "engine/OXI_ObjectNames.h"
#include "engine/pure/OXI_FileNameKey.h"
#include "engine/pure/OXI_ModuleList.h"
#include "engine/pure/OXI_NativeRecords.h"
#include "engine/pure/OXI_ProcessNames.h"
#include "engine/pure/OXI_ServiceText.h"
#include "platform/Orvex_Locale.h"
#include "platform/Orvex_Native.h"
#include "platform/Orvex_OSInfo.h"
#include "platform/Orvex_Resources.h"
#include "platform/Orvex_Token.h"
#include "platform/Orvex_WideText.h"
#include "platform/Orvex_Wow64.h"
#include "platform/pure/Orvex_NameTables.h"
#include "platform/pure/Orvex_NtLayouts.h"
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

std::string Bounded(const char* text, std::size_t capacity) { return BoundedText(text, capacity, capacity); }

// Path completion with every answer remembered: one existence check per
// distinct name (without regard to case), the directory list read once.
class TPaths {
public:
    const std::string& Resolve(const std::string& path) {
        if (auto it = done_.find(path); it != done_.end()) return it->second;
        std::string result;
        if (!path.empty() && path.find('\0') == std::string::npos) {
            if (Exists(path)) {
                result = path;
            } else {
                if (!search_) search_ = WindowsSearchPath();
                const auto names = ImagePathCandidates(path, *search_, IsAnsiLeadByte);
                for (std::size_t i = 1; i < names.size(); ++i)
                    if (Exists(names[i])) {
                        char full[MAX_PATH * 2];
                        const DWORD n = ::GetFullPathNameA(names[i].c_str(), sizeof full, full, nullptr);
                        if (n > 0 && n < sizeof full) result.assign(full, n);
                        break;
                    }
            }
        }
        return done_.emplace(path, std::move(result)).first->second;
    }

private:
    bool Exists(const std::string& name) {
        std::string key = FileNameKey(name, IsAnsiLeadByte);
        if (auto it = exists_.find(key); it != exists_.end()) return it->second;
        const DWORD a = ::GetFileAttributesA(name.c_str());
        const bool yes = a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY) == 0;
        exists_.emplace(std::move(key), yes);
        return yes;
    }

    std::unordered_map<std::string, std::string> done_;
    std::unordered_map<std::string, bool> exists_;
    std::optional<std::string> search_;
};

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
    TModulesSeen seen;
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
bool WalkLoader(HANDLE process, std::uint64_t peb, TModulesSeen& seen, std::string_view processName,
                TModuleList& modules, TPaths& paths, std::string& image) {
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
        const std::string name = path.substr(path.find_last_of('\\') + 1);
        if (seen.Add(static_cast<std::uintptr_t>(base), path)) {
            TModuleInfo& m = modules.emplace_back();
            m.Name = name;
            m.ImageName = paths.Resolve(path);
            m.Base = static_cast<std::uintptr_t>(base);
            m.Size = size;
            if (SameText(name, processName)) image = path;
        }
        std::memcpy(&next, entry, sizeof next);
    }
    return true;
}

// The modules of one process: the loader data on the NT family, a module
// snapshot elsewhere and where the loader data cannot be read.
std::string Modules(std::uint32_t pid, std::string_view processName, TModuleList& modules, TPaths& paths) {
    std::string image;
    if (!ProcessHasModules(pid)) return image;
    if (IsNT() && NtQueryInformationProcess) {
        const THandle process(::OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid));
        PROCESS_BASIC_INFORMATION basic{};
        ULONG_PTR wow64 = 0;
        TModuleList found;
        TModulesSeen seen;
        bool ok = process &&
                  NtQueryInformationProcess(process.get(), ProcessBasicInformation, &basic, sizeof basic, nullptr) ==
                      0 &&
                  NtQueryInformationProcess(process.get(), static_cast<PROCESSINFOCLASS>(26), &wow64, sizeof wow64,
                                            nullptr) == 0;
        // A 64-bit process is left to the snapshot when this program is 32-bit.
        ok = ok && !(sizeof(void*) == 4 && IsWow64Program() && wow64 == 0);
        using TNativePointer = std::conditional_t<sizeof(void*) == 8, std::uint64_t, std::uint32_t>;
        ok = ok && WalkLoader<TNativePointer>(process.get(), reinterpret_cast<std::uintptr_t>(basic.PebBaseAddress),
                                              seen, processName, found, paths, image);
        if (sizeof(void*) == 8 && ok && wow64 != 0)
            ok = WalkLoader<std::uint32_t>(process.get(), wow64, seen, processName, found, paths, image);
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

void Counters(HANDLE process, TProcessInfo& p) {
    TNativeBlock block;
    if (QueryProcessBlock(process, ProcessInfoVmCounters, block))
        if (const auto vm = nt::ParseVMCounters(nt::NativeWidth, block.Bytes, block.Size))
            p.VMCounters = VMCountersFromBlock(*vm);
    if (QueryProcessBlock(process, ProcessInfoIoCounters, block))
        if (const auto io = nt::ParseIOCounters(block.Bytes, block.Size)) p.IOCounters = *io;
    if (QueryProcessBlock(process, ProcessInfoHandleCount, block)) {
        ULONG handles = 0;
        std::memcpy(&handles, block.Bytes, sizeof handles);
        p.HandleCount = handles;
    }
    if (QueryProcessBlock(process, ProcessInfoTimes, block))
        if (const auto t = nt::ParseKernelUserTimes(block.Bytes, block.Size)) {
            p.CreateTime = t->CreateTime;
            p.KernelTime = t->KernelTime;
            p.UserTime = t->UserTime;
        }
}

void Token(HANDLE token, TProcessInfo& p, TLookups& lookups, std::vector<ULONGLONG>& buffer) {
    DWORD size = 0;
    p.UserName = std::string();
    if (token && TokenInfo(token, TokenUser, buffer, size)) {
        const auto* tu = reinterpret_cast<const TOKEN_USER*>(buffer.data());
        std::string name, domain;
        if (!lookups.Account(tu->User.Sid, name, domain)) {
            name = SidToText(tu->User.Sid);
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
            g.SID = SidToText(sid);
            std::string name, domain;
            if (lookups.Account(sid, name, domain)) {
                g.Name = name;
                g.Domain = domain;
            }
        }
    }
}

// One read of a system information class into a buffer kept between calls.
bool SystemInfo(std::uint32_t infoClass, std::vector<std::uint8_t>& buffer, ULONG& filled) {
    if (!NtQuerySystemInformation) return false;
    for (int attempt = 0; attempt < 4; ++attempt) {
        ULONG needed = 0;
        const NTSTATUS s = NtQuerySystemInformation(static_cast<SYSTEM_INFORMATION_CLASS>(infoClass), buffer.data(),
                                                    static_cast<ULONG>(buffer.size()), &needed);
        if (s == 0) {
            filled = needed && needed <= buffer.size() ? needed : static_cast<ULONG>(buffer.size());
            return true;
        }
        if (static_cast<std::uint32_t>(s) != nt::StatusInfoLengthMismatch &&
            static_cast<std::uint32_t>(s) != nt::StatusBufferOverflow)
            return false;
        buffer.resize(std::max<std::size_t>(buffer.size() * 2, needed + 65536));
    }
    return false;
}

std::vector<std::uint8_t>& TableBuffer() {
    static std::vector<std::uint8_t> buffer(8u << 20);
    return buffer;
}

bool ObjectText(HANDLE h, int infoClass, std::vector<std::uint8_t>& work, std::string& text) {
    ULONG needed = 0;
    NTSTATUS s = NtQueryObject(h, static_cast<OBJECT_INFORMATION_CLASS>(infoClass), work.data(),
                               static_cast<ULONG>(work.size()), &needed);
    if (s != 0) {
        if (needed <= work.size() || needed > (1u << 20)) return false;
        work.resize(needed);
        s = NtQueryObject(h, static_cast<OBJECT_INFORMATION_CLASS>(infoClass), work.data(),
                          static_cast<ULONG>(work.size()), &needed);
        if (s != 0) return false;
    }
    text = WideToAnsi(nt::ParseObjectInfoName(nt::NativeWidth, work.data(), work.size(), nt::AddressOf(work.data())));
    return true;
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

}  // namespace

// The NT family: processes and their threads from one system process query
// (class 5), read through the SDK's own declarations of its entries.
void NativeProcesses(TProcList& list) {
    static std::vector<std::uint8_t> buffer(1u << 20);
    ULONG filled = 0;
    if (!SystemInfo(nt::SystemProcessInformation, buffer, filled)) return;
    TPaths paths;
    for (std::size_t offset = 0; offset + sizeof(SYSTEM_PROCESS_INFORMATION) <= filled;) {
        SYSTEM_PROCESS_INFORMATION e;
        std::memcpy(&e, buffer.data() + offset, sizeof e);
        TProcessInfo& p = list.emplace_back();
        p.PID = static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(e.UniqueProcessId));
        p.ParentPID = static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(e.InheritedFromUniqueProcessId));
        p.Priority = e.BasePriority;
        p.ThreadCount = e.NumberOfThreads;
        if (e.ImageName.Buffer && e.ImageName.Length > 0)
            p.Name = WideToAnsi(std::wstring_view(e.ImageName.Buffer, e.ImageName.Length / 2));
        for (ULONG i = 0; i < e.NumberOfThreads; ++i) {
            const std::size_t at = offset + sizeof e + i * sizeof(SYSTEM_THREADS);
            if (at + sizeof(SYSTEM_THREADS) > filled) break;
            SYSTEM_THREADS t;
            std::memcpy(&t, buffer.data() + at, sizeof t);
            TThreadInfo& thread = p.Threads.emplace_back();
            thread.OwnerPID = p.PID;
            thread.TID = static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(t.ClientId.UniqueThread));
            thread.BasePriority = t.BasePriority;
            thread.Priority = t.Priority;
        }
        const std::string image = Modules(p.PID, p.Name, p.Modules, paths);
        if (p.Name.empty()) p.Name = FallbackProcessName(p.PID);
        p.ImageName = paths.Resolve(image);
        if (e.NextEntryOffset == 0) break;
        offset += e.NextEntryOffset;
    }
}

void MinimalProcesses(TProcList& list) {
    if (IsNT() && !IsNT4()) {
        NativeProcesses(list);
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
        p.Name = ExecutableFileName(Bounded(e.szExeFile, sizeof e.szExeFile));
        p.PID = e.th32ProcessID;
        p.Priority = e.pcPriClassBase;
        p.ParentPID = e.th32ParentProcessID;
        p.Usage = e.cntUsage;
        p.ThreadCount = e.cntThreads;
        p.HeapID = e.th32DefaultHeapID;
        p.ModuleID = e.th32ModuleID;
        const std::string image = Modules(p.PID, p.Name, p.Modules, paths);
        if (auto own = threads.find(p.PID); own != threads.end()) p.Threads = std::move(own->second);
        if (p.Name.empty()) p.Name = FallbackProcessName(p.PID);
        p.ImageName = paths.Resolve(image);
    }
}

void MinimalDetails(TProcList& list) {
    const bool counters = IsNT() && !IsNT4();
    TLookups lookups;
    std::vector<ULONGLONG> buffer(512);
    for (TProcessInfo& p : list) {
        const THandle process(::OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, p.PID));
        if (!process) continue;
        if (counters) Counters(process.get(), p);
        THandle token;
        if (!::OpenProcessToken(process.get(), TOKEN_QUERY, token.put())) token.release();
        Token(token.get(), p, lookups, buffer);
    }
}

void MinimalDrivers(TDriverList& list) {
    static std::vector<std::uint8_t> buffer(256u << 10);
    ULONG filled = 0;
    if (!SystemInfo(nt::SystemModuleInformation, buffer, filled)) return;
    for (const nt::TKernelModuleEntry& e : nt::ParseKernelModules(nt::NativeWidth, buffer.data(), filled)) {
        TDriverInfo& d = list.emplace_back();
        d.Name = e.FullPath;
        d.Base = static_cast<std::uintptr_t>(e.MappedBase);
        d.Size = static_cast<std::int64_t>(static_cast<std::uintptr_t>(e.ImageBase));
        d.Flags = e.ImageSize;
        d.LoadCount = e.LoadOrderIndex;
    }
}

void MinimalHandles(THandleList& list) {
    constexpr std::uint16_t TypeProcess = 5, TypeThread = 6, TypeFile = 26;
    std::vector<std::uint8_t>& buffer = TableBuffer();
    ULONG filled = 0;
    std::vector<nt::THandleEntry> table;
#ifdef _WIN64
    if (SystemInfo(nt::SystemExtendedHandleInformation, buffer, filled))
        table = nt::ParseExtendedHandleTable(nt::NativeWidth, buffer.data(), filled);
    else
#endif
        if (SystemInfo(nt::SystemHandleInformation, buffer, filled))
        table = nt::ParseHandleTable(nt::NativeWidth, buffer.data(), filled);
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
    for (const nt::THandleEntry& e : table) {
        if (e.HandleValue == 0) continue;
        const auto typeFlags = static_cast<std::uint16_t>((e.ObjectTypeIndex & 0xFF) |
                                                          ((e.HandleAttributes & 0xFF) << 8));
        if (nt4 && e.ProcessId == 2 && typeFlags == 16) continue;
        THandleInfo& info = list.emplace_back();
        info.ProcessID = static_cast<std::uint32_t>(e.ProcessId);
        info.Handle = static_cast<std::uintptr_t>(e.HandleValue);
        info.GrantedAccess = e.GrantedAccess;
        info.ObjectAddress = static_cast<std::uintptr_t>(e.Object);
        info.ObjectType = typeFlags;
        info.TypeName = ObjectTypeName(typeFlags);
        TType& type = types[e.ObjectTypeIndex];
        const bool own = info.ProcessID == self;
        HANDLE owner = nullptr;
        if (!own) {
            auto it = owners.find(info.ProcessID);
            if (it == owners.end())
                it = owners.emplace(info.ProcessID, THandle(::OpenProcess(0x0040, FALSE, info.ProcessID))).first;
            owner = it->second.get();
            if (!owner) continue;
        }
        THandle duplicate;
        HANDLE object = reinterpret_cast<HANDLE>(info.Handle);
        if (!own) {
            HANDLE copy = nullptr;
            if (NtDuplicateObject(owner, object, ::GetCurrentProcess(), &copy, 0, 0, DUPLICATE_SAME_ACCESS) != 0 ||
                !copy)
                continue;
            duplicate.reset(copy);
            object = copy;
        }
        if (!type.Known && type.Failures < 3) {
            std::string name;
            if (ObjectText(object, 2, work, name) && !name.empty()) {
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
        TNativeBlock basic;
        if (info.ObjectType == TypeProcess) {
            if (QueryProcessBlock(object, ProcessInfoBasic, basic))
                if (auto b = nt::ParseProcessBasicInfo(nt::NativeWidth, basic.Bytes, basic.Size)) {
                    std::snprintf(text, sizeof text, "PID: %u", static_cast<unsigned>(b->ProcessId));
                    info.Name = text;
                }
        } else if (info.ObjectType == TypeThread) {
            if (QueryThreadBlock(object, ThreadInfoBasic, basic))
                if (auto b = nt::ParseThreadBasicInfo(nt::NativeWidth, basic.Bytes, basic.Size)) {
                    std::snprintf(text, sizeof text, "TID: %u (PID: %u)", static_cast<unsigned>(b->ThreadId),
                                  static_cast<unsigned>(b->ProcessId));
                    info.Name = text;
                }
        } else if (info.ObjectType == TypeFile) {
            // The program's query of a file's name, asked here directly.
            std::wstring name;
            if (AskFileObjectName(object, name)) info.Name = WideToAnsi(name);
        } else {
            std::string name;
            if (ObjectText(object, 1, work, name) && !name.empty()) info.Name = name;
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
    MinimalProcesses(inventory.Processes);
    MinimalDetails(inventory.Processes);
    MinimalDrivers(inventory.Drivers);
    MinimalHandles(inventory.Handles);
    MinimalServices(inventory.Services);
}

}  // namespace orvex::bench
