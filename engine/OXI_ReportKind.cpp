#include "engine/OXI_Report.h"
#include "engine/OXI_ReportParts.h"
#include "storage/Orvex_ReportFile.h"

namespace orvex {

bool IsInventoryReport(const std::string& fileName) {
    const auto root = OpenReportForReading(fileName);
    if (!root) return false;
    for (const char* list : {"ProcessList", "DriverList", "ServiceList"})
        if (OpenExistingSubStorage(*root, list)) return true;
    // Without lists, the header decides. Other programs keep values in
    // their summary set that no report holds, and the set check refuses
    // them; such a set is no report's header.
    try {
        const auto header = OpenReportSetForReading(*root, FMTID_SummaryInformation);
        return header && ReadStrPropID(header->PropertyStorage.get(), 2) == ReportTitle;
    } catch (const TComError& e) {
        if (e.ErrorCode() == STG_E_DOCFILECORRUPT) return false;
        throw;
    }
}

}  // namespace orvex
