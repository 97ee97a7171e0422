// The benchmark's yardstick: the records of a refresh (the tool-help path of
// every system but NT 4) produced with as few system calls as this build can
// make for them. Each kind is read from the same sources as the program's
// collectors, so that both give the same records; what differs is only how
// often the system is asked.
#pragma once

#include "platform/pure/Orvex_Records.h"

namespace orvex::bench {

// Processes with threads and modules: one snapshot of processes and threads
// together, one module snapshot per process, each path completed once.
void MinimalProcesses(TProcList& list);
// Counters, times, account, privileges and groups: one process handle and
// one token handle per process, one read per token class, one look-up per
// distinct account and privilege.
void MinimalDetails(TProcList& list);
// The kernel module table in one read.
void MinimalDrivers(TDriverList& list);
// The handle table in one read; each owner opened once, each type named
// once, file handles duplicated only until their type is known.
void MinimalHandles(THandleList& list);
// One enumeration, then open, configuration and close per service.
void MinimalServices(TServiceList& list);
// The desktop and its descendants in pre-order from one enumeration; the
// visibility from the parent's, class data once per class.
void MinimalWindows(TWindowList& list);

// All kinds, in the order of the program's refresh.
struct TMinimalInventory {
    TProcList Processes;
    TDriverList Drivers;
    THandleList Handles;
    TServiceList Services;
    TWindowList Windows;
};
void MinimalRefresh(TMinimalInventory& inventory);

}  // namespace orvex::bench
