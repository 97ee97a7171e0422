// The process, driver, service, handle and window inventory of this system.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/OXI_Common.h"
#include "engine/pure/OXI_Records.h"

// The Windows headers map these names to their A/W functions; here they are
// members of the component.
#ifdef FindWindow
#undef FindWindow
#endif
#ifdef GetServiceDisplayName
#undef GetServiceDisplayName
#endif

namespace orvex {

struct TLoadedReport;

class TOrvex_ProcessList : public TOrvex_OXIC_Component {
public:
    TOrvex_ProcessList();
    ~TOrvex_ProcessList() override;

    // Rebuilds every list of the detection range from the running system.
    void RefreshData() override;
    void SaveToStorage(const std::string& FileName) override;
    // Replaces the inventory with the report's processes, drivers and
    // services (handles and windows end up empty) and its description; true
    // when at least one item was read. A file that is not a report container
    // empties every list and gives false. A failure raises and leaves the
    // component as it was.
    bool LoadFromStorage(const std::string& FileName) override;
    // Takes the report in FileName (see ReadInventoryReport, whose errors it
    // raises); a file that cannot be read leaves the component as it was.
    void LoadReport(const std::string& FileName);

    // Published properties.
    int ProcessCount() const noexcept { return static_cast<int>(processes_.size()); }
    int HandleCount() const noexcept { return static_cast<int>(handles_.size()); }
    int DriverCount() const noexcept { return static_cast<int>(drivers_.size()); }
    int ThreadCount() const noexcept;
    int ServiceCount() const noexcept { return static_cast<int>(services_.size()); }
    int WindowCount() const noexcept { return static_cast<int>(windows_.size()); }
    // File handles of process pid (of every process when pid is AnyProcess)
    // whose names were not read because name queries do not return.
    static constexpr std::uint32_t AnyProcess = 0xFFFFFFFF;
    int UnreadHandleNames(std::uint32_t pid = AnyProcess) const noexcept;
    TDetectionRange DetectionRange;

    // Copies of single records; an index beyond the end gives an empty record.
    void GetProcess(std::uint32_t index, TProcessInfo& info) const;
    void GetDriver(std::uint32_t index, TDriverInfo& info) const;
    void GetService(std::uint32_t index, TServiceInfo& info) const;
    void GetHandle(std::uint32_t index, THandleInfo& info) const;
    void GetWindow(std::uint32_t index, TWindowInfo& info) const;

    // Index of the first matching record, or -1.
    int FindProcess(std::uint32_t pid) const noexcept;
    int FindDriver(std::uint32_t value) const noexcept;
    int FindService(std::string_view name) const noexcept;
    int FindWindow(std::uintptr_t handle) const noexcept;

    std::string GetServiceDisplayName(std::string_view name) const;
    void GetDependentServices(std::string_view name, std::vector<std::string>& list) const;

    // Appending, for the report reader.
    void AddProcess(const TProcessInfo& info) { processes_.push_back(info); }
    void AddDriver(const TDriverInfo& info) { drivers_.push_back(info); }
    void AddService(const TServiceInfo& info) { services_.push_back(info); }

    // Fills the signer and SHA-256 of every process image and driver (see
    // AddImageChecks).
    void CheckImages();

    // Empties all five lists.
    void Clear() noexcept;

private:
    // Empties the lists and takes the report read from FileName (none: the
    // file was no compound file).
    void TakeReport(const std::string& FileName, TLoadedReport* report);

    TProcList processes_;
    TDriverList drivers_;
    THandleList handles_;
    TServiceList services_;
    TWindowList windows_;
};

}  // namespace orvex
