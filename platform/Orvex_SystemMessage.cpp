#include "platform/Orvex_SystemMessage.h"

#include <cstdio>

#include "platform/Orvex_Resources.h"
#include "platform/Orvex_WideText.h"

namespace orvex {

namespace {

constexpr DWORD MessageFlags = FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                               FORMAT_MESSAGE_IGNORE_INSERTS;

// The UTF-16 message converted (messages of other languages than the code
// page's survive where they can); the 9x family has only the ANSI form.
std::string RawMessage(DWORD code) {
    TLocalMem buffer;
    wchar_t* wide = nullptr;
    DWORD n = ::FormatMessageW(MessageFlags, nullptr, code, 0, reinterpret_cast<wchar_t*>(&wide), 0, nullptr);
    buffer.reset(wide);
    if (n > 0 && wide) return WideToAnsi(std::wstring_view(wide, n));
    TLocalMem ansiBuffer;
    char* ansi = nullptr;
    n = ::FormatMessageA(MessageFlags, nullptr, code, 0, reinterpret_cast<char*>(&ansi), 0, nullptr);
    ansiBuffer.reset(ansi);
    return n > 0 && ansi ? std::string(ansi, n) : std::string();
}

}  // namespace

std::string SystemMessage(DWORD code) {
    std::string message = RawMessage(code);
    while (!message.empty() && static_cast<unsigned char>(message.back()) <= ' ') message.pop_back();
    return message;
}

std::string SystemReason(DWORD code) {
    std::string message = SystemMessage(code);
    if (!message.empty()) return message;
    char text[32] = {};
    std::snprintf(text, sizeof text, (code & 0x80000000u) != 0 ? "error 0x%08lX" : "error %lu",
                  static_cast<unsigned long>(code));
    return text;
}

std::string SystemErrorText(DWORD code) {
    const std::string message = SystemMessage(code);
    if (message.empty()) return "Error " + std::to_string(code);
    return message + " (" + std::to_string(code) + ")";
}

}  // namespace orvex
