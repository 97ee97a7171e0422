// Read-only access to single registry values.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

namespace orvex {

// The text of a REG_SZ or REG_EXPAND_SZ value (not expanded) of the key
// below root, opened for reading. Value is untouched when the key or the
// value is missing or holds another type.
bool ReadRegistryText(HKEY root, const char* keyPath, const char* valueName, std::string& value);

// A REG_DWORD value, with the same rules.
bool ReadRegistryDword(HKEY root, const char* keyPath, const char* valueName, std::uint32_t& value);

}  // namespace orvex
