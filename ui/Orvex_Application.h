// The application's title and its error report.
#pragma once

#include <windows.h>

#include <exception>
#include <string>

namespace orvex {

// The title set at program start; shown in the error report's caption.
const std::string& ApplicationTitle();
void SetApplicationTitle(const std::string& title);

// The application's error report: a message box with the error's text,
// titled with the application's title, owned by Owner.
void ShowErrorReport(HWND owner, const std::exception& error) noexcept;

// The text the error report shows for an exception of no known kind.
inline constexpr const char* UnknownErrorText = "An unknown error occurred.";

}  // namespace orvex
