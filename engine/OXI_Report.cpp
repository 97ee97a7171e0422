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
        TStorageInfoRecord read;
        ReadReportRootHeader(*root, read);
        info = std::move(read);
        return true;
    }

    static void SaveLists(const TOrvex_ProcessList& list, const std::string& fileName) {
        const auto root = OpenReportForWriting(fileName);
        WriteReportLists(*root, list);
    }

    static bool LoadParts(const std::string& fileName, TLoadedReport& report) {
        const auto root = OpenReportForReading(fileName);
        if (!root) return false;
        TLoadedReport read;
        ReadReportParts(*root, read);
        report = std::move(read);
        return true;
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

bool LoadReportParts(const std::string& fileName, TLoadedReport& report) {
    return TCompoundFileReport::LoadParts(fileName, report);
}

void ReadReportRootHeader(TStructuredSTorage& root, TStorageInfoRecord& info) {
    const auto set = OpenReportSetForReading(root, FMTID_SummaryInformation);
    ReadReportHeader(set ? set->PropertyStorage.get() : nullptr, info);
}

void ReadReportParts(TStructuredSTorage& root, TLoadedReport& report) {
    ReadReportRootHeader(root, report.Info);
    report.AnyItem = ReadReportLists(root, report.Lists);
}

}  // namespace orvex
