#include <algorithm>
#include <exception>
#include <utility>

#include "engine/OXI_Collectors.h"
#include "engine/OXI_ImageChecks.h"
#include "engine/OXI_ProcessPass.h"
#include "engine/OXI_Report.h"
#include "platform/Orvex_AdvAPI.h"
#include "platform/Orvex_Native.h"
#include "platform/Orvex_OSInfo.h"
#include "platform/Orvex_PSAPI.h"
#include "platform/Orvex_Token.h"
#include "platform/pure/Orvex_ScopeExit.h"
#include "platform/pure/Orvex_TextCase.h"
// Last: it undoes the Windows headers' macros of its member names.
#include "engine/OXI_Processes.h"

namespace orvex {

namespace {

template <typename List, typename Record>
void CopyAt(const List& list, std::uint32_t index, Record& out) {
    out = Record{};
    if (index < list.size()) out = list[index];
}

bool PlatformIsNT() { return OSPlatform() == 2; }

}  // namespace

TOrvex_ProcessList::TOrvex_ProcessList() {
    DetectionRange = TDetectionRange{dtProcesses, dtServices, dtDrivers};
    if (PlatformIsNT()) {
        EnablePrivilege("SeDebugPrivilege");
        EnablePrivilege("SeSecurityPrivilege");
        BindProcessStatus();
        BindNative();
        BindServiceControl();
    }
}

TOrvex_ProcessList::~TOrvex_ProcessList() { Clear(); }

void TOrvex_ProcessList::CheckImages() { AddImageChecks(processes_, drivers_, false); }

void TOrvex_ProcessList::Clear() noexcept {
    windows_.clear();
    processes_.clear();
    drivers_.clear();
    handles_.clear();
    services_.clear();
}

int TOrvex_ProcessList::ThreadCount() const noexcept {
    long long sum = 0;
    for (const auto& p : processes_) sum += p.ThreadCount;
    return static_cast<int>(sum);
}

int TOrvex_ProcessList::UnreadHandleNames(std::uint32_t pid) const noexcept {
    return static_cast<int>(std::count_if(handles_.begin(), handles_.end(), [pid](const THandleInfo& h) {
        return h.NameNotRead && (pid == AnyProcess || h.ProcessID == pid);
    }));
}

void TOrvex_ProcessList::RefreshData() {
    TOrvex_OXIC_Component::RefreshData();
    if (PlatformIsNT()) {
        BindNative();
        BindProcessStatus();
    }
    // The libraries are released however the collection ends; when it fails,
    // its failure is the one reported.
    TScopeExit release([] {
        ReleaseNative();
        ReleaseProcessStatus();
    });
    Clear();
    if (DetectionRange.contains(dtWindows)) CollectWindows(windows_);
    if (DetectionRange.contains(dtProcesses)) {
        // The processes share most of their modules: each path is
        // completed once per refresh.
        TImagePathResolver imagePaths;
        // Each process is opened once for its modules and its details.
        TProcessPass pass;
        CollectProcesses(processes_, imagePaths, pass);
        TTokenLookupCache lookups;
        CompleteProcessDetails(processes_, lookups, pass);
    }
    if (IsNT()) {
        if (DetectionRange.contains(dtDrivers)) CollectDrivers(drivers_);
        if (DetectionRange.contains(dtHandles)) CollectHandles(handles_);
        if (DetectionRange.contains(dtServices)) CollectServices(services_);
    }
}

void TOrvex_ProcessList::SaveToStorage(const std::string& FileName) {
    // A list too long for a report is refused before the file changes.
    CheckReportListSizes(*this);
    TOrvex_OXIC_Component::SaveToStorage(FileName);
    SaveReportLists(*this, FileName);
}

bool TOrvex_ProcessList::LoadFromStorage(const std::string& FileName) {
    // Everything is read, in one opening of the file, before anything of the
    // component changes.
    TLoadedReport report;
    const bool isReport = LoadReportParts(FileName, report);
    TakeReport(FileName, isReport ? &report : nullptr);
    return report.AnyItem;
}

void TOrvex_ProcessList::LoadReport(const std::string& FileName) {
    TLoadedReport report = ReadInventoryReport(FileName);
    TakeReport(FileName, &report);
}

void TOrvex_ProcessList::TakeReport(const std::string& FileName, TLoadedReport* report) {
    Clear();
    TakeLoadedHeader(FileName, report ? &report->Info : nullptr);
    if (!report) return;
    processes_ = std::move(report->Lists.Processes);
    drivers_ = std::move(report->Lists.Drivers);
    services_ = std::move(report->Lists.Services);
}

void TOrvex_ProcessList::GetProcess(std::uint32_t index, TProcessInfo& info) const { CopyAt(processes_, index, info); }
void TOrvex_ProcessList::GetDriver(std::uint32_t index, TDriverInfo& info) const { CopyAt(drivers_, index, info); }
void TOrvex_ProcessList::GetService(std::uint32_t index, TServiceInfo& info) const { CopyAt(services_, index, info); }
void TOrvex_ProcessList::GetHandle(std::uint32_t index, THandleInfo& info) const { CopyAt(handles_, index, info); }
void TOrvex_ProcessList::GetWindow(std::uint32_t index, TWindowInfo& info) const { CopyAt(windows_, index, info); }

int TOrvex_ProcessList::FindProcess(std::uint32_t pid) const noexcept {
    auto it = std::find_if(processes_.begin(), processes_.end(), [pid](const auto& p) { return p.PID == pid; });
    return it == processes_.end() ? -1 : static_cast<int>(it - processes_.begin());
}

int TOrvex_ProcessList::FindDriver(std::uint32_t value) const noexcept {
    auto it = std::find_if(drivers_.begin(), drivers_.end(), [value](const auto& d) { return d.LoadCount == value; });
    return it == drivers_.end() ? -1 : static_cast<int>(it - drivers_.begin());
}

int TOrvex_ProcessList::FindService(std::string_view name) const noexcept {
    for (std::size_t i = 0; i < services_.size(); ++i)
        if (SameText(services_[i].Name, name) || SameText(services_[i].DisplayName, name)) return static_cast<int>(i);
    return -1;
}

int TOrvex_ProcessList::FindWindow(std::uintptr_t handle) const noexcept {
    auto it = std::find_if(windows_.begin(), windows_.end(), [handle](const auto& w) { return w.Handle == handle; });
    return it == windows_.end() ? -1 : static_cast<int>(it - windows_.begin());
}

std::string TOrvex_ProcessList::GetServiceDisplayName(std::string_view name) const {
    for (const auto& s : services_)
        if (SameText(s.Name, name)) return s.DisplayName;
    return {};
}

void TOrvex_ProcessList::GetDependentServices(std::string_view name, std::vector<std::string>& list) const {
    list.clear();
    const std::string key = UpperCase(name);
    for (const auto& s : services_)
        if (UpperCase(s.DependOnService).find(key) != std::string::npos) list.push_back(s.Name);
}

}  // namespace orvex
