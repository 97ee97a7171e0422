// Text routines shared by the platform layer and the user interface.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace orvex {

// Tells whether a byte starts a double-byte character of the active code page.
using TLeadBytePredicate = bool (*)(unsigned char);

// Removes leading and trailing blanks and control characters, then every
// space, then every CR LF pair.
std::string StripBlanks(std::string_view s);

// Removes leading and trailing blanks and control characters.
std::string TrimText(std::string_view s);

// True when the 1-based Index names a "\" of s that is a single-byte
// character (not the trail byte of a double-byte character).
bool IsBackslashAt(std::string_view s, int index, TLeadBytePredicate isLeadByte = nullptr);

// s with a trailing "\" (unchanged when it already ends in one).
std::string AddTrailingBackslash(std::string_view s, TLeadBytePredicate isLeadByte = nullptr);

// Separators of the user's number notation, "." and "," in German.
struct TNumberFormat {
    std::string ThousandSeparator;
    std::string DecimalSeparator;
};

// Lenient reading of a number shown in a list ("12 KB", "1.234,5"): only the
// part before the first space counts. The text is read in the invariant
// notation ("." decimal point, optional exponent) and, when that fails, again
// with the locale's thousands separators removed and its decimal separator
// taken for ".". Value is set only when the text is a number.
bool TextToFloat(std::string_view s, const TNumberFormat& format, long double& value);

// Separators of the user's date and time notation.
struct TDateTimeFormat {
    std::string DateSeparator;
    std::string TimeSeparator;
};

enum class TDateTimeKind { Date, Time, DateAndTime };

// Converts a text by the locale's rules into a date-time value (days since
// 1899-12-30, the time as the fraction); false when it cannot.
using TDateTimeConverter = std::function<bool(std::string_view s, TDateTimeKind kind, double& value)>;

// Which conversion a text calls for: a date when the date separator occurs
// twice or ends the text, a time when the time separator occurs.
// Returns false when the text is neither.
bool DateTimeKindOf(std::string_view s, const TDateTimeFormat& format, TDateTimeKind& kind);

// Lenient reading of a date, a time or both. A text that is neither leaves
// Value untouched and gives false; one that the converter rejects sets Value
// to 0 and gives false.
bool TextToDateTime(std::string_view s, const TDateTimeFormat& format, const TDateTimeConverter& convert,
                    double& value);

}  // namespace orvex
