#include "ui/Orvex_SystemError.h"

#include "platform/Orvex_SystemMessage.h"

namespace orvex {

namespace {

std::string Describe(const std::string& action, DWORD code) {
    if (code == ERROR_SUCCESS) return action;
    std::string message = action;
    if (const std::string text = SystemMessage(code); !text.empty()) message += " " + text;
    return message + " (error " + std::to_string(code) + ")";
}

}  // namespace

TSystemError::TSystemError(const std::string& action, DWORD code)
    : std::runtime_error(Describe(action, code)), code_(code) {}

}  // namespace orvex
