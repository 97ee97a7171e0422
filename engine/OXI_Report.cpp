#include "engine/OXI_Report.h"

#include "engine/OXI_ReportParts.h"
#include "storage/Orvex_ReportFile.h"

namespace orvex {

namespace {

// Each call opens the file and closes it again before it returns; the
// wrappers go in the reverse order of their opening.
class TCompoundFileReport final {
public:
    static void SaveHeader(const std::string& fileName) {
        const auto root = OpenReportForWriting(fileName);
        const auto set = OpenReportSetForWriting(*root, FMTID_SummaryInformation);
        WriteReportHeader(set->PropertyStorage.get());
    }

    static bool LoadHeader(const std::string& fileName, TStorageInfoRecord& info) {
        const auto root = OpenReportForReading(fileName);
        if (!root) return false;
        const auto set = OpenReportSetForReading(*root, FMTID_SummaryInformation);
        TStorageInfoRecord read;
        ReadReportHeader(set ? set->PropertyStorage.get() : nullptr, read);
        info = std::move(read);
        return true;
    }

    static void SaveLists(const TOrvex_ProcessList& list, const std::string& fileName) {
        const auto root = OpenReportForWriting(fileName);
        WriteReportLists(*root, list);
    }

    static bool LoadLists(const std::string& fileName, TReportLists& lists) {
        const auto root = OpenReportForReading(fileName);
        if (!root) return false;
        return ReadReportLists(*root, lists);
    }
};

}  // namespace

void SaveReportHeader(const std::string& fileName) { TCompoundFileReport::SaveHeader(fileName); }

bool LoadReportHeader(const std::string& fileName, TStorageInfoRecord& info) {
    return TCompoundFileReport::LoadHeader(fileName, info);
}

void SaveReportLists(const TOrvex_ProcessList& list, const std::string& fileName) {
    TCompoundFileReport::SaveLists(list, fileName);
}

bool LoadReportLists(const std::string& fileName, TReportLists& lists) {
    return TCompoundFileReport::LoadLists(fileName, lists);
}

}  // namespace orvex
