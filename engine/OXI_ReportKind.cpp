#include <windows.h>

#include "engine/OXI_Report.h"
#include "engine/OXI_ReportParts.h"
#include "storage/Orvex_ReportFile.h"

namespace orvex {

namespace {

// Whether an opened compound file is a report: it holds one of the lists, or
// a header set with the report's title.
bool IsReportRoot(TStructuredSTorage& root) {
    for (const char* list : {"ProcessList", "DriverList", "ServiceList"})
        if (OpenExistingSubStorage(root, list)) return true;
    // Without lists, the header decides. Other programs keep values in
    // their summary set that no report holds, and the set check refuses
    // them; such a set is no report's header.
    try {
        const auto header = OpenReportSetForReading(root, FMTID_SummaryInformation);
        return header && ReadStrPropID(header->PropertyStorage.get(), 2) == ReportTitle;
    } catch (const TComError& e) {
        if (e.ErrorCode() == STG_E_DOCFILECORRUPT) return false;
        throw;
    }
}

}  // namespace

bool IsInventoryReport(const std::string& fileName) {
    const auto root = OpenReportForReading(fileName);
    return root && IsReportRoot(*root);
}

TLoadedReport ReadInventoryReport(const std::string& fileName) {
    const DWORD attributes = ::GetFileAttributesA(fileName.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) RaiseComError(HRESULT_FROM_WIN32(::GetLastError()));
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) throw TNotAReport();
    const auto root = OpenReportForReading(fileName);
    if (!root || !IsReportRoot(*root)) throw TNotAReport();
    TLoadedReport report;
    ReadReportParts(*root, report);
    return report;
}

}  // namespace orvex
