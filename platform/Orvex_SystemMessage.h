// The system's texts for error codes.
#pragma once

#include <windows.h>

#include <string>

namespace orvex {

// The system's message for Code in the ANSI code page, without trailing
// blanks and line breaks; "" when the system has none.
std::string SystemMessage(DWORD code);

// SystemMessage followed by the code in parentheses: "Access denied. (5)";
// "Error 1234" when the system has no message.
std::string SystemErrorText(DWORD code);

// SystemMessage, or where the system has none the code itself: "error
// 0x80096010" for a status code (its top bit set), "error 1234" otherwise.
std::string SystemReason(DWORD code);

}  // namespace orvex
