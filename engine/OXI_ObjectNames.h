// Names of file objects and their DOS form, for the handle list.
#pragma once

#include <windows.h>

#include <string>

#include "engine/pure/OXI_DosNames.h"
#include "platform/Orvex_BoundedQuery.h"

namespace orvex {

// The object name of a file object, asked on the worker of a TBoundedQuery.
// A pipe opened for synchronous I/O is not asked at all (its name query
// waits for the I/O of other threads on it): false, as for a failed query.
bool AskFileObjectName(HANDLE object, std::wstring& name);

// The devices the drive letters stand for, read from the system now.
TDosNames ReadDosDevices();

}  // namespace orvex
