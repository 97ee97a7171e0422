#include "engine/OXI_ProcessPass.h"

#include <windows.h>

namespace orvex {

HANDLE TProcessPass::Open(std::uint32_t pid) {
    auto [it, first] = open_.try_emplace(pid);
    if (first) it->second = THandle(::OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid));
    return it->second.get();
}

}  // namespace orvex
