// Files of the main window's commands: the system's open and save dialogs,
// list views as CSV text, and writing a file so that a failure leaves none
// behind.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace orvex::app {

inline constexpr const char* CsvFilter = "CSV files (*.csv)\0*.csv\0All files\0*.*\0";
inline constexpr const char* CsvExtension = "csv";

// The size of OPENFILENAMEA that the system's file dialogs take: Windows 95,
// 98, Me and NT 4 refuse the larger structure of Windows 2000 and later.
DWORD OpenFileNameSize() noexcept;

// The open dialog (the file must exist) and the save dialog (asks before
// replacing a file; DefaultExtension, when given, is added to a name typed
// without one). True with the chosen name in FileName; false when cancelled.
bool AskOpenFileName(HWND owner, const char* title, const char* filter, std::string& fileName);
bool AskSaveFileName(HWND owner, const char* title, const char* filter, const char* defaultExtension,
                     std::string& fileName);

// The CSV text of a report-style list view as it shows: the UTF-8 byte-order
// mark, a header line of the column captions, then one line per row in the
// order shown, with each cell's text converted to UTF-8.
std::string ListViewCsv(HWND list);

// Writes Contents as the whole file FileName (see WriteWholeFile); raises
// std::runtime_error naming the file and the system's reason when it cannot.
void SaveFileContents(const std::string& fileName, std::string_view contents);

}  // namespace orvex::app
