// The error the user interface raises when a system call fails: it carries
// the call's last error and names it in its message.
#pragma once

#include <windows.h>

#include <stdexcept>
#include <string>

namespace orvex {

class TSystemError : public std::runtime_error {
public:
    // Action says what failed ("Cannot create the window X."); the message
    // adds the system's text for Code and the code itself, or nothing when
    // the call left no code.
    TSystemError(const std::string& action, DWORD code);
    DWORD ErrorCode() const noexcept { return code_; }

private:
    DWORD code_;
};

}  // namespace orvex
