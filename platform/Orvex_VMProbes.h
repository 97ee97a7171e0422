// Presence checks for two virtual machine monitors. Each executes an
// instruction that only the monitor answers; on any other system the
// processor faults, the fault is caught and the answer is false.
#pragma once

namespace orvex {

// VMware's backdoor: "in" from port 0x5658 with the magic number in EAX.
bool IsVMwarePresent();

// Virtual PC's undefined opcode 0F 3F 07 09.
bool IsVirtualPCPresent();

}  // namespace orvex
