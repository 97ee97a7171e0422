#include "engine/OXI_Common.h"

#include "engine/OXI_Report.h"
#include "platform/Orvex_OSInfo.h"

namespace orvex {

TOrvex_OXIC_Component::TOrvex_OXIC_Component()
    : about_(std::string(SuiteName) + " " + SuiteVersion + " - native Windows inventory for Orvex Process Viewer"),
      refreshHint_("Double-click to get data") {}

void TOrvex_OXIC_Component::RefreshData() {
    liveData_ = true;
    StorageInfo.Platform = static_cast<std::int32_t>(OSPlatform());
    StorageInfo.MajorVersion = static_cast<std::int32_t>(OSMajorVersion());
    StorageInfo.MinorVersion = static_cast<std::int32_t>(OSMinorVersion());
    StorageInfo.BuildNumber = static_cast<std::int32_t>(OSBuildNumber());
    StorageInfo.CSDVersion = OSCSD();
}

void TOrvex_OXIC_Component::SaveToStorage(const std::string& FileName) { SaveReportHeader(FileName); }

bool TOrvex_OXIC_Component::LoadFromStorage(const std::string& FileName) {
    TStorageInfoRecord info;
    const bool isReport = LoadReportHeader(FileName, info);
    TakeLoadedHeader(FileName, isReport ? &info : nullptr);
    return isReport;
}

void TOrvex_OXIC_Component::TakeLoadedHeader(const std::string& FileName, const TStorageInfoRecord* info) {
    StorageFileName = FileName;
    liveData_ = false;
    if (info) StorageInfo = *info;
}

}  // namespace orvex
