#include "platform/Orvex_WindowText.h"

#include "platform/Orvex_LibraryBinding.h"

namespace orvex {

namespace {

using TInternalGetWindowText = int(WINAPI*)(HWND window, LPWSTR text, int capacity);
TInternalGetWindowText InternalGetWindowText = nullptr;

// Absent on Windows 95, 98 and Me: bound at run time.
constexpr TSlotBinding User32Slots[] = {
    BindSlot<InternalGetWindowText>("InternalGetWindowText"),
};

constinit TLibraryBinding User32("USER32.DLL", User32Slots);

// Binds on first use; the window manager's library is always mapped.
void EnsureBound() noexcept {
    static const bool bound = User32.Bind();
    (void)bound;
}

// The longest prefix of Text of at most Capacity bytes that ends on a
// character boundary of the ANSI code page.
std::string CutToCapacity(std::string text, std::size_t capacity) {
    if (text.size() <= capacity) return text;
    std::size_t end = 0;
    while (end < capacity) {
        const std::size_t next = end + (::IsDBCSLeadByte(static_cast<BYTE>(text[end])) ? 2 : 1);
        if (next > capacity) break;
        end = next;
    }
    text.resize(end);
    return text;
}

std::string ToAnsi(const wchar_t* text, int length) {
    if (length <= 0) return std::string();
    const int bytes = ::WideCharToMultiByte(CP_ACP, 0, text, length, nullptr, 0, nullptr, nullptr);
    if (bytes <= 0) return std::string();
    std::string out(static_cast<std::size_t>(bytes), '\0');
    if (::WideCharToMultiByte(CP_ACP, 0, text, length, out.data(), bytes, nullptr, nullptr) != bytes)
        return std::string();
    return CutToCapacity(std::move(out), WindowTextCapacity);
}

}  // namespace

bool InternalWindowTextBound() noexcept {
    EnsureBound();
    return InternalGetWindowText != nullptr;
}

std::optional<std::string> ReadStoredWindowText(HWND handle) {
    if (!InternalWindowTextBound() || !::IsWindow(handle)) return std::nullopt;
    wchar_t text[WindowTextCapacity + 1] = {};
    const int length = InternalGetWindowText(handle, text, WindowTextCapacity + 1);
    if (length < 0 || length > WindowTextCapacity) return std::nullopt;
    return ToAnsi(text, length);
}

std::optional<std::string> SendForWindowText(HWND handle, UINT timeoutMs) {
    char text[WindowTextCapacity + 1] = {};
    DWORD_PTR copied = 0;
    if (!::SendMessageTimeoutA(handle, WM_GETTEXT, WindowTextCapacity + 1, reinterpret_cast<LPARAM>(text),
                               SMTO_ABORTIFHUNG | SMTO_BLOCK, timeoutMs, &copied))
        return std::nullopt;
    // The answer is the window's: only what lies inside the buffer counts.
    text[WindowTextCapacity] = '\0';
    return std::string(text);
}

std::string TWindowTextReader::Read(HWND handle, DWORD threadId) {
    char text[WindowTextCapacity + 1] = {};
    if (threadId == ::GetCurrentThreadId())
        return ::GetWindowTextA(handle, text, WindowTextCapacity + 1) > 0 ? std::string(text) : std::string();
    if (source_ == TSource::Stored) return ReadStoredWindowText(handle).value_or(std::string());
    if (silentThreads_.count(threadId)) return std::string();
    std::optional<std::string> answer = SendForWindowText(handle, WindowTextWaitMs);
    if (!answer) {
        // Gone windows fail at once; only a thread that is still there is
        // remembered as not answering.
        if (::IsWindow(handle)) silentThreads_.insert(threadId);
        return std::string();
    }
    return std::move(*answer);
}

}  // namespace orvex
