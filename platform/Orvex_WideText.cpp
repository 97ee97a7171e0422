#include "platform/Orvex_WideText.h"

#include <windows.h>

#include <climits>
#include <cwchar>

#include "platform/pure/Orvex_Utf8.h"

namespace orvex {

std::wstring AnsiToWide(std::string_view s) {
    if (s.empty() || s.size() > static_cast<std::size_t>(INT_MAX)) return {};
    const int len = static_cast<int>(s.size());
    const int n = MultiByteToWideChar(CP_ACP, 0, s.data(), len, nullptr, 0);
    if (n <= 0) return {};
    std::wstring out(static_cast<std::size_t>(n), L'\0');
    if (MultiByteToWideChar(CP_ACP, 0, s.data(), len, out.data(), n) != n) return {};
    return out;
}

std::string WideToAnsi(std::wstring_view s) {
    if (s.empty() || s.size() > static_cast<std::size_t>(INT_MAX)) return {};
    const int len = static_cast<int>(s.size());
    const int n = WideCharToMultiByte(CP_ACP, 0, s.data(), len, nullptr, 0, nullptr, nullptr);
    if (n <= 0) return {};
    std::string out(static_cast<std::size_t>(n), '\0');
    if (WideCharToMultiByte(CP_ACP, 0, s.data(), len, out.data(), n, nullptr, nullptr) != n) return {};
    return out;
}

std::string WideToAnsi(std::u16string_view s) {
    static_assert(sizeof(wchar_t) == sizeof(char16_t));
    return WideToAnsi(std::wstring_view(reinterpret_cast<const wchar_t*>(s.data()), s.size()));
}

std::string WideToAnsi(const wchar_t* s) {
    return s ? WideToAnsi(std::wstring_view(s, std::wcslen(s))) : std::string();
}

std::string AnsiToUtf8(std::string_view s) {
    static_assert(sizeof(wchar_t) == sizeof(char16_t));
    const std::wstring wide = AnsiToWide(s);
    return Utf16ToUtf8(std::u16string_view(reinterpret_cast<const char16_t*>(wide.data()), wide.size()));
}

}  // namespace orvex
