// The icon of a file.
#pragma once

#include <cstdint>
#include <string>

#include "platform/Orvex_Resources.h"

namespace orvex {

// The icon at Index of a file that holds icons, otherwise (or when that icon
// cannot be had) the icon the shell associates with the file, or else the
// shell's generic icon for the file's type. Empty when there is none at all.
TIcon ExtractFileIcon(const std::string& fileName, std::uint16_t index);

}  // namespace orvex
