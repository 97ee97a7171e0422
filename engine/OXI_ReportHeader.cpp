#include <cstdint>
#include <string>

#include "engine/OXI_Inventory.h"
#include "engine/OXI_ReportParts.h"
#include "platform/Orvex_FileTime.h"
#include "platform/Orvex_OSInfo.h"
#include "platform/Orvex_Token.h"
#include "platform/Orvex_UserNames.h"
#include "platform/Orvex_VMProbes.h"
#include "platform/pure/Orvex_OSKind.h"
#include "platform/pure/Orvex_ShortString.h"
#include "platform/pure/Orvex_StrUtils.h"

namespace orvex {

namespace {

constexpr const char* SuiteCopyright = "Copyright (c) The Orvex Inventory Component Suite authors";

// Ids of the summary-information set that no field of the header holds
// (the fields' own are in their table).
constexpr PROPID TitleId = 2;   // PIDSI_TITLE
constexpr PROPID AuthorId = 4;  // PIDSI_AUTHOR: copyright line

TDateTime LocalNow() {
    SYSTEMTIME st{};
    GetLocalTime(&st);
    FILETIME ft{};
    if (!SystemTimeToFileTime(&st, &ft)) return 0;
    return FileTimeToDateTime(ft);
}

std::string SystemDescription() {
    const std::string edition = EditionName(OSKind(), OSEdition(), OSSuite());
    return edition.empty() ? OSName() : OSName() + " " + edition;
}

std::string LoggedUser() {
    std::string alt = ReadAltDefaultUserName();
    return alt.empty() ? ReadUserName() : alt;
}

// Texts of the description hold at most 255 characters, as record texts do.
std::string Cut(const std::string& s) { return TShortString(s).str(); }

}  // namespace

TStorageInfoRecord DescribeThisSystem() {
    TStorageInfoRecord info;
    info.Machine = Cut(MachineName());
    info.Application = std::string(SuiteName) + " " + SuiteVersion;
    info.OSName = Cut(SystemDescription());
    info.Platform = static_cast<std::int32_t>(OSPlatform());
    info.MajorVersion = static_cast<std::int32_t>(OSMajorVersion());
    info.MinorVersion = static_cast<std::int32_t>(OSMinorVersion());
    info.BuildNumber = static_cast<std::int32_t>(OSBuildNumber());
    info.CSDVersion = Cut(TrimText(OSCSD()));
    info.Timestamp = LocalNow();
    info.TimestampUtc = UtcNow();
    info.Rights = IsAdministrator() ? "Admin" : "NON-Admin";
    info.LoggedUser = Cut(LoggedUser());
    info.Account = Cut(ReadUserName());
    info.VMWare = IsVMwarePresent();
    info.VPC = IsVirtualPCPresent();
    return info;
}

void WriteReportHeader(IPropertyStorage* set) {
    // The fixed ids first, as the fields' own writer keeps them.
    WriteStrPropID(set, TitleId, ReportTitle);
    WriteStrPropID(set, AuthorId, SuiteCopyright);
    WriteHeaderFields(set, DescribeThisSystem());
}

void ReadReportHeader(IPropertyStorage* set, TStorageInfoRecord& info) { ReadHeaderFields(set, info); }

}  // namespace orvex
