// The texts the main window shows for the component's records: list rows,
// tab captions and status-bar panels, and the reading back of identifiers
// from a row's cells.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "engine/pure/OXI_Records.h"

namespace orvex::app {

// Name, PID, CPU time and memory use on the NT family ("1234", "01:02:05",
// "1234 KB"); name, hexadecimal PID, thread count and usage on the 9x family.
std::vector<std::string> ProcessRowTexts(const TProcessInfo& process, bool nt);

// File name of the driver's path (after the last "\" or ":"), its Size
// field as "0x<hex>", its load count and its whole path.
std::vector<std::string> DriverRowTexts(const TDriverInfo& driver);

// Display name, state name and start-type name.
std::vector<std::string> ServiceRowTexts(const TServiceInfo& service);

// The part of a path after its last "\" or ":".
std::string PathFileName(std::string_view path);

// " Processes (3)" and its kin, "Threads: 5" and its kin.
std::string CountCaption(std::string_view label, int count);
std::string StatusPanelText(std::string_view label, int count);
// What the live data lack because handle name queries do not return:
// "3 handle names not read: their queries do not return", empty for none.
std::string UnreadNamesNotice(int count);
// The non-empty notices, joined with "; ".
std::string JoinNotices(std::initializer_list<std::string_view> notices);

// A cell's text as a number of the base the list wrote it in (10 or 16).
// Throws std::invalid_argument ("'<text>' is not a valid integer value")
// for a text that is not one, or one that does not fit 32 bits.
std::uint32_t CellTextToInteger(std::string_view text, int base);

// The process identifier as a list writes it: decimal on the NT family,
// upper-case hexadecimal on the 9x family.
std::string FormatPid(std::uint32_t pid, bool nt);

}  // namespace orvex::app
