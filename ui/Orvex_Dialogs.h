// One-call message boxes, the shell's properties sheet of a file and an
// input box.
#pragma once

#include <windows.h>

#include <string>

#include "ui/Orvex_Application.h"

namespace orvex {

// Titles used when the caller passes none.
inline constexpr const char* ConfirmationTitle = "Confirmation";
inline constexpr const char* WarningTitle = "Warning";

// A question with Yes and No; true exactly when the answer is Yes.
bool AskConfirmation(const std::string& msg, const std::string& title = {});
// A warning with OK.
void ShowWarning(const std::string& msg, const std::string& title = {});
// A warning with Yes and No; true exactly when the answer is Yes.
bool AskWarning(const std::string& msg, const std::string& title = {});

// Opens the shell's properties sheet of the file Path (one file name, blanks
// and all), owned by Owner. True when the shell accepted the request.
bool ShowFileProperties(HWND owner, const std::string& path);

// An input box titled Caption with the prompt Prompt and an edit field that
// starts with Value. On OK, Value receives the text and the result is true;
// Cancel leaves Value as it was and gives false.
bool InputQuery(HWND owner, const std::string& caption, const std::string& prompt, std::string& value);

// Control identifiers of the input box.
inline constexpr int InputQueryPromptId = 100;
inline constexpr int InputQueryEditId = 101;

}  // namespace orvex
