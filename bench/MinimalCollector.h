// The benchmark's yardstick: the records of a refresh gathered with the
// fewest calls any documented method needs, by code of its own. It shares
// with the program only the records, their text forms (the name tables and
// the service texts) and the comparison of counts; every system call and
// every walk of a system buffer here is its own.
#pragma once

#include "engine/pure/OXI_Records.h"

namespace orvex::bench {

// Processes with threads, counters and times from one system process query
// (class 5); per process one open and its loader data read directly (a
// 64-bit program reads a 32-bit process's 32-bit loader data too), a module
// snapshot only where that cannot be read and on the 9x family; each path
// completed once.
void MinimalProcesses(TProcList& list);
// Account, privileges and groups: one process handle and one token handle
// per process, one read per token class, one look-up per distinct account
// and privilege. The counters came with the process list.
void MinimalDetails(TProcList& list);
// The kernel module table in one read.
void MinimalDrivers(TDriverList& list);
// The handle table in one read (class 64 where this width has it); each
// owner opened once, each type index named once.
void MinimalHandles(THandleList& list);
// One enumeration, then open, configuration and close per service.
void MinimalServices(TServiceList& list);
// The desktop and its descendants in pre-order from one enumeration; the
// visibility from the parent's, class data once per class.
void MinimalWindows(TWindowList& list);

// All kinds, in the order of the program's refresh; each process opened once
// for its modules and its token.
struct TMinimalInventory {
    TProcList Processes;
    TDriverList Drivers;
    THandleList Handles;
    TServiceList Services;
    TWindowList Windows;
};
void MinimalRefresh(TMinimalInventory& inventory);

}  // namespace orvex::bench
