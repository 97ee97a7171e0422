#include "platform/Orvex_VMProbes.h"

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <cstring>

#include "platform/Orvex_Kernel32.h"
#include "platform/Orvex_Resources.h"

namespace orvex {

namespace {

// The probe under way: the thread running it and the bytes of the probe
// instruction. A fault on that thread at exactly these bytes is skipped;
// every other exception is left to the other handlers.
struct TProbe {
    std::atomic<DWORD> thread{0};
    const unsigned char* code = nullptr;
    std::size_t length = 0;
    std::atomic<bool> faulted{false};
};
TProbe g_probe;
TCriticalSection g_probeLock;  // one probe at a time

constexpr unsigned char VMwareCode[] = {0xED};  // in eax, dx
constexpr unsigned char VirtualPCCode[] = {0x0F, 0x3F, 0x07, 0x09};

LONG CALLBACK SkipProbeFault(EXCEPTION_POINTERS* info) {
    if (g_probe.thread.load() != GetCurrentThreadId()) return EXCEPTION_CONTINUE_SEARCH;
    const EXCEPTION_RECORD* rec = info->ExceptionRecord;
    switch (rec->ExceptionCode) {
    case EXCEPTION_PRIV_INSTRUCTION:
    case EXCEPTION_ILLEGAL_INSTRUCTION:
    case EXCEPTION_ACCESS_VIOLATION:
        break;
    default:
        return EXCEPTION_CONTINUE_SEARCH;
    }
    CONTEXT* ctx = info->ContextRecord;
#if defined(__x86_64__) || defined(_M_X64)
    const auto ip = static_cast<std::uintptr_t>(ctx->Rip);
#else
    const auto ip = static_cast<std::uintptr_t>(ctx->Eip);
#endif
    if (ip != reinterpret_cast<std::uintptr_t>(rec->ExceptionAddress) ||
        std::memcmp(reinterpret_cast<const void*>(ip), g_probe.code, g_probe.length) != 0)
        return EXCEPTION_CONTINUE_SEARCH;
#if defined(__x86_64__) || defined(_M_X64)
    ctx->Rip += g_probe.length;
#else
    ctx->Eip += g_probe.length;
#endif
    g_probe.faulted = true;
    return EXCEPTION_CONTINUE_EXECUTION;
}

// Arms the fault handler for one probe on this thread.
class TProbeGuard {
public:
    TProbeGuard(const unsigned char* code, std::size_t length) : lock_(g_probeLock) {
        g_probe.code = code;
        g_probe.length = length;
        g_probe.faulted = false;
        // Without vectored handlers (before XP) a probe cannot run safely.
        if (VectoredHandlersBound()) handler_ = AddVectoredExceptionHandler(1, SkipProbeFault);
        if (handler_) g_probe.thread = GetCurrentThreadId();
    }
    ~TProbeGuard() {
        g_probe.thread = 0;
        if (handler_) RemoveVectoredExceptionHandler(handler_);
    }
    TProbeGuard(const TProbeGuard&) = delete;
    TProbeGuard& operator=(const TProbeGuard&) = delete;
    bool armed() const { return handler_ != nullptr; }
    bool faulted() const { return g_probe.faulted; }

private:
    TLock lock_;
    void* handler_ = nullptr;
};

}  // namespace

bool IsVMwarePresent() {
    TProbeGuard guard(VMwareCode, sizeof VMwareCode);
    if (!guard.armed()) return false;
    std::uint32_t eax = 0x564D5868, ebx = 0, ecx = 10, edx = 0x5658;
    // Registers the monitor may change are outputs.
    asm volatile("inl %%dx, %%eax" : "+a"(eax), "+b"(ebx), "+c"(ecx), "+d"(edx) : : "memory");
    return !guard.faulted() && ebx == 0x564D5868;
}

bool IsVirtualPCPresent() {
    TProbeGuard guard(VirtualPCCode, sizeof VirtualPCCode);
    if (!guard.armed()) return false;
    std::uint32_t eax = 1, ebx = 0;
    asm volatile(".byte 0x0F, 0x3F, 0x07, 0x09" : "+a"(eax), "+b"(ebx) : : "ecx", "edx", "memory");
    return !guard.faulted() && ebx != 0;
}

}  // namespace orvex
