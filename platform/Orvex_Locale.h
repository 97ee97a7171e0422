// The user's locale applied to the text routines: number and date-time
// separators, locale date-time conversion and the ANSI code page's lead bytes.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

#include "platform/pure/Orvex_StrUtils.h"

namespace orvex {

// The user's thousands and decimal separators (LOCALE_STHOUSAND,
// LOCALE_SDECIMAL); a separator that cannot be read stays empty.
TNumberFormat UserNumberFormat();

// The user's date and time separators (LOCALE_SDATE, LOCALE_STIME).
TDateTimeFormat UserDateTimeFormat();

// Converts by the user's locale rules (VarDateFromStr): a date only, a time
// only, or both. Value receives days since 1899-12-30 with the time of day
// as the fraction; it is untouched on failure.
bool LocaleConvertDateTime(std::string_view s, TDateTimeKind kind, double& value);

// TextToFloat and TextToDateTime with the user's separators and rules.
bool TextToFloat(std::string_view s, long double& value);
bool TextToDateTime(std::string_view s, double& value);

// Bytes of an ANSI buffer that holds any path of MAX_PATH characters in the
// widest code page a program runs in (UTF-8: up to 3 bytes per character).
inline constexpr DWORD AnsiPathCapacity = 3 * MAX_PATH;

// Whether a byte starts a double-byte character of the ANSI code page.
bool IsAnsiLeadByte(unsigned char c);

// IsBackslashAt and AddTrailingBackslash for texts of the ANSI code page.
bool AnsiIsBackslashAt(std::string_view s, int index);
std::string AnsiAddTrailingBackslash(std::string_view s);

}  // namespace orvex
