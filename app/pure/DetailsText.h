// Number and identifier texts of the details dialogs, and the rows of their
// two-column property lists.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "engine/pure/OXI_Records.h"
#include "platform/pure/Orvex_VersionData.h"

namespace orvex {

// Decimal, as "%d" shows it.
std::string FormatDec(std::int64_t value);
// Decimal of an unsigned count or size (never shown negative).
std::string FormatUDec(std::uint64_t value);
// "%x": upper-case hexadecimal digits, no leading zeros, no prefix.
std::string FormatHex(std::uint64_t value);
// "0x%x".
std::string FormatHex0x(std::uint64_t value);
// "%p": two upper-case hexadecimal digits per byte of a pointer of Bytes bytes
// (the program's own pointer width unless told otherwise).
std::string FormatPointer(std::uint64_t value, std::size_t bytes = sizeof(std::uintptr_t));
// A byte count: "%d B".
std::string FormatByteCount(std::uint64_t value);
// "(left,top)-(right,bottom), widthxheight".
std::string FormatRect(const TRect& rect);

// A process identifier as the lists of processes show it: decimal on the NT
// family, hexadecimal without prefix on the 9x family.
std::string FormatProcessId(std::uint32_t id, bool nt);
// A process or thread identifier as the window and thread lists show it:
// decimal on the NT family, "0x%x" on the 9x family.
std::string FormatPrefixedId(std::uint32_t id, bool nt);
// Reads back what FormatProcessId wrote, in the same base. False for a text
// that is not a whole number of that base or does not fit 32 bits.
bool ParseProcessId(std::string_view text, bool nt, std::uint32_t& id);

// How a row of a property list is drawn.
enum class TRowStyle { Plain, Heading, Separator, CheckBox };

// One row of a property list: a caption and its values (one for the lists
// without headers, two for the performance list). Separator rows have an
// empty caption and no values.
struct TPropertyRow {
    TRowStyle Style = TRowStyle::Plain;
    std::string Caption;
    std::vector<std::string> Values;
    friend bool operator==(const TPropertyRow&, const TPropertyRow&) = default;
};
using TPropertyRows = std::vector<TPropertyRow>;

// Row builders.
TPropertyRow PlainRow(std::string caption, std::string value);
TPropertyRow HeadingRow(std::string caption, std::string value = {});
TPropertyRow SeparatorRow();
TPropertyRow CheckBoxRow(std::string caption, bool checked);

// The rows of an image file's check: its signer and its SHA-256.
inline constexpr const char* SignerCaption = "Signer";
inline constexpr const char* Sha256Caption = "SHA-256";
// What a check's cells show while it runs.
inline constexpr const char* CheckingText = "Checking...";
// A separator (unless the rows end in one), then the signer and SHA-256 rows.
void AddImageCheckRows(TPropertyRows& rows, const std::string& signer, const std::string& sha256);

// The text of a ticked check-box value.
inline constexpr const char* CheckedValue = "1";
inline constexpr const char* UncheckedValue = "0";

// One row of a column list: the caption cell first, then one cell per further
// column.
using TListRow = std::vector<std::string>;
using TListRows = std::vector<TListRow>;

enum class TColumnAlign { Left, Right };

// A column of a list: header, width in pixels, alignment.
struct TColumnDef {
    const char* Caption;
    int Width;
    TColumnAlign Align = TColumnAlign::Left;
};

// The four version rows and the separator that open the General pages of
// the process, service and driver dialogs.
void AddVersionRows(TPropertyRows& rows, const TVersionInfo& version);

}  // namespace orvex
