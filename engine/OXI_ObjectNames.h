// Names of file objects and their DOS form, for the handle list.
#pragma once

#include <windows.h>
#include <winternl.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "engine/pure/OXI_DosNames.h"
#include "platform/Orvex_BoundedQuery.h"
#include "platform/pure/Orvex_NtLayouts.h"

namespace orvex {

// The counted string that object information of class infoClass starts
// with (an object's name or its type's name), read into work, which grows to
// what the query asks for as long as that is at most maxSize bytes. False
// when the query fails; the text may be empty on success.
bool QueryObjectText(HANDLE object, OBJECT_INFORMATION_CLASS infoClass, std::vector<std::uint8_t>& work,
                     std::size_t maxSize, std::u16string& text);

// The object name of a file object, asked on the worker of a TBoundedQuery.
// A pipe opened for synchronous I/O is not asked at all (its name query
// waits for the I/O of other threads on it): false, as for a failed query.
bool AskFileObjectName(HANDLE object, std::wstring& name);

// The system's object types by their number in the handle tables, read from
// the system now; empty when it does not tell. The number is the one the
// system gives each type (8.1 and later), or else the type's position from
// the system's first number. That first number is told by the type of one of
// this process's handles in handles (the handle table), or else guessed
// from the version (1 before Windows 7, 2 from then on).
std::vector<std::pair<std::uint16_t, std::string>> ReadObjectTypeTable(const std::vector<nt::THandleEntry>& handles);

// The devices the drive letters stand for, read from the system now.
TDosNames ReadDosDevices();

}  // namespace orvex
