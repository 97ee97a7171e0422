#include "storage/Orvex_ComError.h"

#include "platform/Orvex_SystemMessage.h"
#include "storage/pure/Orvex_ComErrorText.h"

namespace orvex {

std::string ComErrorMessage(HRESULT code) {
    return ComErrorText(SystemMessage(static_cast<DWORD>(code)), static_cast<std::uint32_t>(code));
}

TComError::TComError(HRESULT code) : std::runtime_error(ComErrorMessage(code)), code_(code) {}

void RaiseComError(HRESULT code) { throw TComError(code); }

}  // namespace orvex
