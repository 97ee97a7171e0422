// Display names of kernel values (the service names are in Orvex_ServiceNames.h,
// included here for the callers that find them through this header).
//
// The tables are indexed directly by the value they name. Callers that hold
// a value read from the system use the lookup functions, which never index
// out of range: a value without a table entry gets a text that shows the
// number, "Unknown (42)" (object types: "Unknown type 42").
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/pure/Orvex_ServiceNames.h"

namespace orvex {

// Thread wait reasons, indexed by the kernel's wait reason value.
inline constexpr std::array<const char*, 28> WaitReasonNames{"Executive",        "FreePage",         "PageIn",
                                                             "PoolAllocation",   "DelayExecution",   "Suspended",
                                                             "UserRequest",      "WrExecutive",      "WrFreePage",
                                                             "WrPageIn",         "WrPoolAllocation", "WrDelayExecution",
                                                             "WrSuspended",      "WrUserRequest",    "WrEventPair",
                                                             "WrQueue",          "WrLpcReceive",     "WrLpcReply",
                                                             "WrVirtualMemory",  "WrPageOut",        "WrRendezvous",
                                                             "Spare2",           "Spare3",           "Spare4",
                                                             "Spare5",           "Spare6",           "WrKernel",
                                                             "MaximumWaitReason"};

// Thread states, indexed by the kernel's thread state value.
inline constexpr std::array<const char*, 8> ThreadStateNames{"Initialized", "Ready", "Running",    "Standby",
                                                             "Terminated",  "Wait",  "Transition", "Unknown"};
inline constexpr int ThreadStateWait = 5;

// Object types, indexed by the type number of a system handle table entry.
inline constexpr std::array<const char*, 27>
    ObjectTypeNames{"Unknown",    "Type",           "Directory",     "Symbolic Link",  "Token",      "Process",
                    "Thread",     "Unknown 7",      "Event",         "Event Pair",     "Mutant",     "Unknown 11",
                    "Semaphore",  "Timer",          "Profile",       "Window Station", "Desktop",    "Section",
                    "Key",        "Port",           "Waitable Port", "Unknown 21",     "Unknown 22", "Unknown 23",
                    "Unknown 24", "I/O Completion", "File"};
inline constexpr int ObjectTypeProcess = 5;
inline constexpr int ObjectTypeThread = 6;
inline constexpr int ObjectTypeFile = 26;

// Lookups that are safe for any value.
std::string WaitReasonName(std::int64_t waitReason);
std::string ThreadStateName(std::int64_t threadState);
std::string ObjectTypeName(std::int64_t typeNumber);  // "Unknown type %d" beyond the table

// Index of an object type name in ObjectTypeNames ("File" gives 26), -1 when
// the table does not hold it. The comparison is exact.
int FindObjectTypeIndex(std::string_view name);
// The same without regard to the case of ASCII letters, as the system's
// type names are compared ("FILE" gives 26).
int FindObjectTypeIndexAnyCase(std::string_view name);

}  // namespace orvex
