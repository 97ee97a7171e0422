// Where the loader looks for a library that is asked for by name.
#pragma once

namespace orvex {

// What RestrictDllSearch could do on this system.
struct TDllSearch {
    // The default search is the system directory only (SetDefaultDllDirectories).
    bool SystemOnly = false;
    // The working directory is out of the search (SetDllDirectory with an
    // empty text).
    bool WorkingFolderRemoved = false;
};

// Takes the program's folder and the working folder out of the search for
// libraries loaded by name, where the system allows it, so that a system
// library that loads another by name never picks up a file planted next to
// the program or in the working folder. Both programs call it first thing.
// The 9x family, NT 4 and 2000 have neither call: there the program's own
// run-time bindings load every library by its full path.
TDllSearch RestrictDllSearch() noexcept;

}  // namespace orvex
