// Base of the inventory components: live or loaded data, and the description
// of the machine the data came from.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "engine/pure/OXI_StorageInfo.h"

namespace orvex {

inline constexpr const char* SuiteName = "Orvex Inventory Component Suite";
inline constexpr const char* SuiteVersion = "10.2.0";

class TOrvex_OXIC_Component {
public:
    using TOnDebugEvent = std::function<void(TOrvex_OXIC_Component& sender, const std::string& msg)>;

    TOrvex_OXIC_Component();
    virtual ~TOrvex_OXIC_Component() = default;
    TOrvex_OXIC_Component(const TOrvex_OXIC_Component&) = delete;
    TOrvex_OXIC_Component& operator=(const TOrvex_OXIC_Component&) = delete;

    virtual void RefreshData();
    virtual void SaveToStorage(const std::string& FileName);
    virtual bool LoadFromStorage(const std::string& FileName);

    // Published properties.
    const std::string& _About() const noexcept { return about_; }
    const std::string& _Refresh() const noexcept { return refreshHint_; }
    void Set_About(const std::string&) noexcept {}    // writes are ignored
    void Set_Refresh(const std::string&) noexcept {}  // writes are ignored
    bool LiveData() const noexcept { return liveData_; }
    TOnDebugEvent OnDebug;

    std::string StorageFileName;
    TStorageInfoRecord StorageInfo;

protected:
    void SetLiveData(bool live) noexcept { liveData_ = live; }
    // What every load does once the file has been read: the data is no
    // longer live and comes from FileName; Info, when given, becomes the
    // storage description.
    void TakeLoadedHeader(const std::string& FileName, const TStorageInfoRecord* info);

private:
    std::string about_;
    std::string refreshHint_;
    bool liveData_ = true;
};

}  // namespace orvex
