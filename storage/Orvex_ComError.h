// Failures of the compound-file interfaces, raised as one exception type.
#pragma once

#include <windows.h>

#include <stdexcept>
#include <string>

namespace orvex {

// A COM failure: the result code and the system's message for it (what()).
class TComError : public std::runtime_error {
public:
    explicit TComError(HRESULT code);
    HRESULT ErrorCode() const noexcept { return code_; }

private:
    HRESULT code_;
};

// The error report's text for a result code: the system's message read
// without filling its inserts, and the code (see ComErrorText).
std::string ComErrorMessage(HRESULT code);

// The one routine through which the storage wrapper raises.
[[noreturn]] void RaiseComError(HRESULT code);

// Raises for a failure code; hands any success code back.
inline HRESULT ComCheck(HRESULT code) {
    if (FAILED(code)) RaiseComError(code);
    return code;
}

}  // namespace orvex
