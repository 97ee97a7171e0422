// Command lines and program names of the 64-bit twin: the 32-bit programs
// start the 64-bit build beside them with the arguments they were given.
// Text here is UTF-16, as the system's wide calls take it, so that no code
// page can change a path or an argument on the way.
#pragma once

#include <string>
#include <string_view>

namespace orvex {

// The arguments of a command line: what follows the program's name, split
// off as the C run-time's start-up code does for argv[0] (a quote opens or
// closes a quoted part, an unquoted blank or tab ends the name), so the twin
// gets exactly the arguments this program's main() got; without the blanks
// after the name. The arguments themselves are returned as they stand.
std::u16string_view CommandLineArguments(std::u16string_view commandLine);

// The twin beside a program: "C:\dir\orvexpv.exe" -> "C:\dir\orvexpv64.exe"
// ("64" before the last extension of the file name; appended when the name
// has none).
std::u16string TwinProgramPath(std::u16string_view programPath);

// The command line that starts program with arguments: the program's name in
// quotes, then a blank and the arguments when there are any.
std::u16string ProgramCommandLine(std::u16string_view programPath, std::u16string_view arguments);

}  // namespace orvex
