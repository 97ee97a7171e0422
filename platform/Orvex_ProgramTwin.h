// The 64-bit twin: on 64-bit Windows a 32-bit program cannot read the
// modules of 64-bit processes, handle values above 0xFFFF of the classic
// table or the real System32, so the 32-bit programs hand their work to the
// 64-bit build that lies beside them ("orvexpv64.exe" beside "orvexpv.exe").
// No file is written to start it; where it is missing or cannot start, the
// 32-bit program goes on by itself.
#pragma once

#include <windows.h>

namespace orvex {

enum class TTwinStart {
    NotNeeded,    // not a 32-bit program on 64-bit Windows
    Started,      // the twin runs (or ran): this program has nothing more to do
    Unavailable,  // in WoW64, but the twin is missing or could not start
};

struct TTwinResult {
    TTwinStart Start = TTwinStart::NotNeeded;
    DWORD ExitCode = 0;  // the twin's, when this program waited for its end
    DWORD Error = 0;     // why the twin did not start
};

// How long the viewer waits for its twin to take input before it ends.
inline constexpr DWORD TwinInputIdleBoundMs = 10000;

// The viewer: starts the twin with this program's working folder and show
// state, and waits until it takes input (at most TwinInputIdleBoundMs).
TTwinResult StartTwin();

// The console tool: runs the twin with this program's arguments as they were
// given and its standard handles, waits for its end and hands back its exit
// code. While it waits, this program leaves Ctrl+C to the twin.
TTwinResult RunTwin();

}  // namespace orvex
