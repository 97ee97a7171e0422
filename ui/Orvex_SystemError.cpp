#include "ui/Orvex_SystemError.h"

#include "platform/Orvex_Resources.h"

namespace orvex {

namespace {

// The system's text for Code without its trailing line break, "" when the
// system has none.
std::string SystemText(DWORD code) {
    TLocalMem buffer;
    char* text = nullptr;
    const DWORD n = ::FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                         FORMAT_MESSAGE_IGNORE_INSERTS,
                                     nullptr, code, 0, reinterpret_cast<char*>(&text), 0, nullptr);
    buffer.reset(text);
    std::string s = n > 0 && text ? std::string(text, n) : std::string();
    while (!s.empty() && static_cast<unsigned char>(s.back()) <= ' ') s.pop_back();
    return s;
}

std::string Describe(const std::string& action, DWORD code) {
    if (code == ERROR_SUCCESS) return action;
    std::string message = action;
    if (const std::string text = SystemText(code); !text.empty()) message += " " + text;
    return message + " (error " + std::to_string(code) + ")";
}

}  // namespace

TSystemError::TSystemError(const std::string& action, DWORD code)
    : std::runtime_error(Describe(action, code)), code_(code) {}

}  // namespace orvex
