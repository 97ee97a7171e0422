// The collectors of the process-list component. Each fills the list it is
// given (which the refresh has just emptied) and reports nothing: a failed
// system call gives a shorter list.
#pragma once

#include <string>
#include <string_view>

#include "engine/OXI_ImagePath.h"
#include "engine/pure/OXI_Records.h"
#include "platform/Orvex_BoundedQuery.h"

namespace orvex {

class TProcessPass;
class TTokenLookupCache;

// Processes from the native system-process block (Windows NT 4). The
// executable and module paths are completed through paths, and each process
// is opened through pass, which the details pass then shares; without them,
// through a resolver and a pass of this one call.
void CollectProcessesNt4(TProcList& list, TImagePathResolver& paths, TProcessPass& pass);
void CollectProcessesNt4(TProcList& list);
// Processes from the tool-help snapshots (the 9x family), paths as above.
void CollectProcessesSnapshot(TProcList& list, TImagePathResolver& paths, TProcessPass& pass);
void CollectProcessesSnapshot(TProcList& list);
// Processes and their threads from one system process query (the NT family
// from 2000 on), modules from each process's loader data; the snapshot where
// the query is refused.
void CollectProcessesNative(TProcList& list, TImagePathResolver& paths, TProcessPass& pass);
void CollectProcessesNative(TProcList& list);
// The collector of this system: NT 4's, the native one, or the snapshot.
void CollectProcesses(TProcList& list, TImagePathResolver& paths, TProcessPass& pass);
void CollectProcesses(TProcList& list);
// Account, token, counters and times of every process, in place. The account
// and privilege look-ups are remembered for the pass (or in the given cache).
// With the process pass of the refresh, each process is the handle that pass
// opened, and counters that came with the process list are not asked again.
void CompleteProcessDetails(TProcList& list);
void CompleteProcessDetails(TProcList& list, TTokenLookupCache& lookups);
void CompleteProcessDetails(TProcList& list, TTokenLookupCache& lookups, TProcessPass& pass);
// The creation time of each process in list that has none, from the
// system's process list, where the entry of that id has the same name: the
// snapshot's processes that the details pass cannot open (services' and other
// users' processes, unelevated). The native collector has them all already.
void CompleteCreationTimes(TProcList& list);

void CollectDrivers(TDriverList& list);
// Handles, with file objects named through fileQuery run on a worker with a
// time limit (see TBoundedQuery); the first form asks AskFileObjectName.
void CollectHandles(THandleList& list);
void CollectHandles(THandleList& list, TObjectQuery fileQuery);
void CollectServices(TServiceList& list);
// The desktop window and all its descendants in pre-order.
void CollectWindows(TWindowList& list);

// The path unchanged when a file of that name exists, otherwise the full path
// of the file found in the path's own directory, the Windows directory or the
// system directory, or "" when there is none.
std::string ResolveImagePath(std::string_view path);

}  // namespace orvex
