#include "storage/Orvex_Report.h"

#include "storage/Orvex_ReportFile.h"
#include "storage/Orvex_ReportParts.h"

namespace orvex {

namespace {

// Each call opens the file and closes it again before it returns; the
// wrappers go in the reverse order of their opening.
class TCompoundFileReport final : public TReportFormat {
public:
    void SaveHeader(const TOrvex_OXIC_Component& component, const std::string& fileName) override {
        // A list too long for a report is refused before the file changes.
        if (const auto* list = dynamic_cast<const TOrvex_ProcessList*>(&component)) CheckReportListSizes(*list);
        const auto root = OpenReportForWriting(fileName);
        const auto set = OpenReportSetForWriting(*root, FMTID_SummaryInformation);
        WriteReportHeader(set->PropertyStorage.get());
    }

    bool LoadHeader(const std::string& fileName, TStorageInfoRecord& info) override {
        const auto root = OpenReportForReading(fileName);
        if (!root) return false;
        const auto set = OpenReportSetForReading(*root, FMTID_SummaryInformation);
        TStorageInfoRecord read;
        ReadReportHeader(set ? set->PropertyStorage.get() : nullptr, read);
        info = std::move(read);
        return true;
    }

    void SaveLists(const TOrvex_ProcessList& list, const std::string& fileName) override {
        const auto root = OpenReportForWriting(fileName);
        WriteReportLists(*root, list);
    }

    bool LoadLists(const std::string& fileName, TReportLists& lists) override {
        const auto root = OpenReportForReading(fileName);
        if (!root) return false;
        return ReadReportLists(*root, lists);
    }
};

}  // namespace

void InstallCompoundFileReports() {
    static TCompoundFileReport format;
    SetReportFormat(&format);
}

}  // namespace orvex
