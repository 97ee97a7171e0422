#include "engine/pure/OXI_ModuleList.h"

#include "platform/pure/Orvex_TextCase.h"

namespace orvex {

bool TModulesSeen::Add(std::uintptr_t base, std::string_view path) {
    return seen_.emplace(base, UpperCase(path)).second;
}

}  // namespace orvex
