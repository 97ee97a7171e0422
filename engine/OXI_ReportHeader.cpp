#include <cstdint>
#include <string>

#include "engine/OXI_Inventory.h"
#include "engine/OXI_ReportParts.h"
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

// Ids of the summary-information set used by the header.
constexpr PROPID TitleId = 2;     // PIDSI_TITLE
constexpr PROPID SubjectId = 3;   // PIDSI_SUBJECT: machine
constexpr PROPID AuthorId = 4;    // PIDSI_AUTHOR: copyright line
constexpr PROPID KeywordsId = 5;  // PIDSI_KEYWORDS: system name
constexpr PROPID CreatedId = 12;  // PIDSI_CREATE_DTM: time of the save
constexpr PROPID AppNameId = 18;  // PIDSI_APPNAME: suite and version
constexpr PROPID RightsId = 19;   // the user's rights

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

// 32-bit values are stored sign-extended; the reader keeps the low 32 bits.
std::int64_t SignExtended(std::uint32_t v) { return static_cast<std::int32_t>(v); }
std::int32_t Low32(std::int64_t v) { return static_cast<std::int32_t>(static_cast<std::uint32_t>(v)); }

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
    info.Rights = IsAdministrator() ? "Admin" : "NON-Admin";
    info.LoggedUser = Cut(LoggedUser());
    info.Account = Cut(ReadUserName());
    info.VMWare = IsVMwarePresent();
    info.VPC = IsVirtualPCPresent();
    return info;
}

void WriteReportHeader(IPropertyStorage* set) {
    // Every property with a fixed id goes in before the first named one. A
    // set chooses the ids of new names itself, from 2 up, and may choose one
    // that a fixed id written later takes over: Wine numbers new names on
    // from the highest id in use, so with the rights (id 19) written after
    // the names, "OS.LoggedUser" would receive 19 (the application name has
    // 18) and then read back as the rights text.
    WriteStrPropID(set, TitleId, ReportTitle);
    WriteStrPropID(set, AppNameId, std::string(SuiteName) + " " + SuiteVersion);
    WriteStrPropID(set, AuthorId, SuiteCopyright);
    WriteStrPropID(set, KeywordsId, SystemDescription());
    WriteStrPropID(set, SubjectId, MachineName());
    WriteDateTimePropID(set, CreatedId, LocalNow());
    WriteStrPropID(set, RightsId, IsAdministrator() ? "Admin" : "NON-Admin");
    WriteStrProp(set, "OS.LoggedUser", LoggedUser());
    WriteStrProp(set, "OS.Account", ReadUserName());
    WriteIntProp(set, "OS.Platform", SignExtended(OSPlatform()));
    WriteIntProp(set, "OS.MajorVersion", SignExtended(OSMajorVersion()));
    WriteIntProp(set, "OS.MinorVersion", SignExtended(OSMinorVersion()));
    WriteIntProp(set, "OS.BuildNumber", SignExtended(OSBuildNumber()));
    WriteStrProp(set, "OS.CSD", TrimText(OSCSD()));
    WriteIntProp(set, "VMWare", IsVMwarePresent() ? 1 : 0);
    WriteIntProp(set, "VPC", IsVirtualPCPresent() ? 1 : 0);
}

void ReadReportHeader(IPropertyStorage* set, TStorageInfoRecord& info) {
    info.Machine = Cut(ReadStrPropID(set, SubjectId));
    info.Application = Cut(ReadStrPropID(set, AppNameId));
    info.OSName = Cut(ReadStrPropID(set, KeywordsId));
    info.Timestamp = ReadDateTimePropID(set, CreatedId);
    info.Rights = Cut(ReadStrPropID(set, RightsId));
    info.LoggedUser = Cut(ReadStrProp(set, "OS.LoggedUser"));
    info.Account = Cut(ReadStrProp(set, "OS.Account"));
    info.Platform = Low32(ReadIntProp(set, "OS.Platform"));
    info.MajorVersion = Low32(ReadIntProp(set, "OS.MajorVersion"));
    info.MinorVersion = Low32(ReadIntProp(set, "OS.MinorVersion"));
    info.BuildNumber = Low32(ReadIntProp(set, "OS.BuildNumber"));
    // Reports name the service pack "OS.CSD"; "OS.CSDVersion" is taken first
    // where a file has it.
    info.CSDVersion = Cut(ReadStrProp(set, "OS.CSDVersion"));
    if (info.CSDVersion.empty()) info.CSDVersion = Cut(ReadStrProp(set, "OS.CSD"));
    info.VMWare = ReadIntProp(set, "VMWare") == 1;
    info.VPC = ReadIntProp(set, "VPC") == 1;
}

}  // namespace orvex
