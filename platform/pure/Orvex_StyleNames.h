// Names of the window, extended window and window class style bits.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace orvex {

// The WS_ names of the bits set in a window style, in a fixed order. The
// bits 0x00010000 and 0x00020000 carry two names each (WS_MAXIMIZEBOX and
// WS_TABSTOP, WS_GROUP and WS_MINIMIZEBOX); both are listed.
std::vector<std::string> WindowStyleNames(std::uint32_t style);

// The WS_EX_ names of an extended style. Three bits name their clear state
// too (WS_EX_LEFT, WS_EX_LTRREADING, WS_EX_RIGHTSCROLLBAR). Empty when the
// style, read as a signed 32-bit number, is 0 or negative.
std::vector<std::string> ExStyleNames(std::uint32_t exStyle);

// The CS_ names of the bits set in a window class style.
std::vector<std::string> ClassStyleNames(std::uint32_t classStyle);

}  // namespace orvex
