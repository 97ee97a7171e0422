#include "app/pure/MainRows.h"

#include <cstdio>
#include <stdexcept>

#include "platform/pure/Orvex_Datetime.h"
#include "platform/pure/Orvex_ServiceNames.h"

namespace orvex::app {

namespace {

std::string Decimal(unsigned long long v) { return std::to_string(v); }

std::string UpperHex(unsigned long long v) {
    char text[32];
    std::snprintf(text, sizeof text, "%llX", v);
    return text;
}

int DigitValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return 99;
}

}  // namespace

std::string FormatPid(std::uint32_t pid, bool nt) { return nt ? Decimal(pid) : UpperHex(pid); }

std::vector<std::string> ProcessRowTexts(const TProcessInfo& p, bool nt) {
    if (nt)
        return {p.Name.str(), FormatPid(p.PID, true), FormatCpuTime(p.UserTime + p.KernelTime),
                Decimal(static_cast<unsigned long long>(p.VMCounters.WorkingSetSize / 1024)) + " KB"};
    return {p.Name.str(), FormatPid(p.PID, false), Decimal(p.ThreadCount), Decimal(p.Usage)};
}

std::string PathFileName(std::string_view path) {
    const std::size_t cut = path.find_last_of("\\:");
    return std::string(cut == std::string_view::npos ? path : path.substr(cut + 1));
}

std::vector<std::string> DriverRowTexts(const TDriverInfo& d) {
    return {PathFileName(d.Name.str()), "0x" + UpperHex(static_cast<std::uint64_t>(d.Size)), Decimal(d.LoadCount),
            d.Name.str()};
}

std::vector<std::string> ServiceRowTexts(const TServiceInfo& s) {
    return {s.DisplayName.str(), ServiceStateName(s.Status), ServiceStartTypeName(s.Startup)};
}

std::string CountCaption(std::string_view label, int count) {
    return " " + std::string(label) + " (" + std::to_string(count) + ")";
}

std::string StatusPanelText(std::string_view label, int count) {
    return std::string(label) + ": " + std::to_string(count);
}

std::string UnreadNamesNotice(int count) {
    if (count <= 0) return {};
    if (count == 1) return "1 handle name not read: its query does not return";
    return std::to_string(count) + " handle names not read: their queries do not return";
}

std::string JoinNotices(std::initializer_list<std::string_view> notices) {
    std::string text;
    for (std::string_view notice : notices) {
        if (notice.empty()) continue;
        if (!text.empty()) text += "; ";
        text += notice;
    }
    return text;
}

std::uint32_t CellTextToInteger(std::string_view text, int base) {
    const auto fail = [&] { return std::invalid_argument("'" + std::string(text) + "' is not a valid integer value"); };
    if (text.empty()) throw fail();
    unsigned long long value = 0;
    for (char c : text) {
        const int digit = DigitValue(c);
        if (digit >= base) throw fail();
        value = value * static_cast<unsigned>(base) + static_cast<unsigned>(digit);
        if (value > 0xFFFFFFFFull) throw fail();
    }
    return static_cast<std::uint32_t>(value);
}

}  // namespace orvex::app
