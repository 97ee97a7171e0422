#include "app/pure/CompareRows.h"

#include "app/pure/MainRows.h"
#include "platform/pure/Orvex_Csv.h"

namespace orvex::app {

namespace {

// "MACHINE, saved 2026-12-08 10:15:00", without the time when it is unknown.
std::string Described(const TCompareSide& side) {
    std::string text = side.Machine.empty() ? std::string("unknown machine") : side.Machine;
    std::string time = side.Saved;
    if (const std::size_t t = time.find('T'); t != std::string::npos) time[t] = ' ';
    if (!time.empty()) text += ", saved " + time;
    return text;
}

}  // namespace

std::string CompareCaption(std::string_view reportPath) { return "Compare with " + PathFileName(reportPath); }

std::string CompareSummary(const TCompareSide& before, const TCompareSide& after, std::size_t differences) {
    auto side = [](const TCompareSide& s, const char* report) {
        if (s.Live) return "live data of " + (s.Machine.empty() ? std::string("this machine") : s.Machine);
        return report + PathFileName(s.FileName) + " (" + Described(s) + ")";
    };
    std::string text = side(before, "Report ") + " compared with " + side(after, "report ") + ": ";
    if (before.Live) text[0] = 'L';
    if (differences == 0) return text + "no differences";
    return text + std::to_string(differences) + (differences == 1 ? " difference" : " differences");
}

std::string CsvDocument(const std::vector<std::vector<std::string>>& rows) {
    std::string text(Utf8Bom);
    for (const auto& row : rows) text += CsvRow(row);
    return text;
}

}  // namespace orvex::app
