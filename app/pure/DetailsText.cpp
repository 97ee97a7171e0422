#include "app/pure/DetailsText.h"

#include <charconv>
#include <cinttypes>
#include <cstdio>

namespace orvex {

std::string FormatDec(std::int64_t value) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%" PRId64, value);
    return buf;
}

std::string FormatUDec(std::uint64_t value) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%" PRIu64, value);
    return buf;
}

std::string FormatHex(std::uint64_t value) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%" PRIX64, value);
    return buf;
}

std::string FormatHex0x(std::uint64_t value) { return "0x" + FormatHex(value); }

std::string FormatPointer(std::uint64_t value, std::size_t bytes) {
    if (bytes == 0 || bytes > 8) bytes = 8;
    if (bytes < 8) value &= (std::uint64_t{1} << (8 * bytes)) - 1;
    char buf[32];
    std::snprintf(buf, sizeof buf, "%0*" PRIX64, static_cast<int>(2 * bytes), value);
    return buf;
}

std::string FormatByteCount(std::uint64_t value) { return FormatUDec(value) + " B"; }

std::string FormatRect(const TRect& r) {
    const std::int64_t width = std::int64_t{r.Right} - r.Left;
    const std::int64_t height = std::int64_t{r.Bottom} - r.Top;
    return "(" + FormatDec(r.Left) + "," + FormatDec(r.Top) + ")-(" + FormatDec(r.Right) + "," + FormatDec(r.Bottom) +
           "), " + FormatDec(width) + "x" + FormatDec(height);
}

std::string FormatProcessId(std::uint32_t id, bool nt) { return nt ? FormatUDec(id) : FormatHex(id); }

std::string FormatPrefixedId(std::uint32_t id, bool nt) { return nt ? FormatUDec(id) : FormatHex0x(id); }

bool ParseProcessId(std::string_view text, bool nt, std::uint32_t& id) {
    if (text.empty()) return false;
    std::uint32_t value = 0;
    const char* first = text.data();
    const char* last = first + text.size();
    const auto [end, ec] = std::from_chars(first, last, value, nt ? 10 : 16);
    if (ec != std::errc() || end != last) return false;
    id = value;
    return true;
}

TPropertyRow PlainRow(std::string caption, std::string value) {
    return {TRowStyle::Plain, std::move(caption), {std::move(value)}};
}

TPropertyRow HeadingRow(std::string caption, std::string value) {
    return {TRowStyle::Heading, std::move(caption), {std::move(value)}};
}

TPropertyRow SeparatorRow() { return {TRowStyle::Separator, {}, {}}; }

void AddImageCheckRows(TPropertyRows& rows, const std::string& signer, const std::string& sha256) {
    if (rows.empty() || rows.back().Style != TRowStyle::Separator) rows.push_back(SeparatorRow());
    rows.push_back(PlainRow(SignerCaption, signer));
    rows.push_back(PlainRow(Sha256Caption, sha256));
}

TPropertyRow CheckBoxRow(std::string caption, bool checked) {
    return {TRowStyle::CheckBox, std::move(caption), {checked ? CheckedValue : UncheckedValue}};
}

void AddVersionRows(TPropertyRows& rows, const TVersionInfo& version) {
    rows.push_back(HeadingRow("Description", version.Description));
    rows.push_back(PlainRow("Version", version.FileVersion));
    rows.push_back(PlainRow("Product Name", version.ProductName));
    rows.push_back(PlainRow("Company Name", version.CompanyName));
    rows.push_back(SeparatorRow());
}

}  // namespace orvex
