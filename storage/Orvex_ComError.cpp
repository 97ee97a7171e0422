#include "storage/Orvex_ComError.h"

#include "platform/Orvex_Resources.h"
#include "platform/Orvex_WideText.h"
#include "storage/pure/Orvex_ComErrorText.h"

namespace orvex {

std::string ComErrorMessage(HRESULT code) {
    TLocalMem buffer;
    wchar_t* text = nullptr;
    const DWORD n = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                       FORMAT_MESSAGE_IGNORE_INSERTS,
                                   nullptr, static_cast<DWORD>(code), 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    buffer.reset(text);
    const std::string system = n > 0 && text ? WideToAnsi(std::wstring_view(text, n)) : std::string();
    return ComErrorText(system, static_cast<std::uint32_t>(code));
}

TComError::TComError(HRESULT code) : std::runtime_error(ComErrorMessage(code)), code_(code) {}

void RaiseComError(HRESULT code) { throw TComError(code); }

}  // namespace orvex
