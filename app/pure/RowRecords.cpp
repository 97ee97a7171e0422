#include "app/pure/RowRecords.h"

#include <utility>

namespace orvex::app {

TRecordKey ProcessKey(const TProcessInfo& process) { return {process.PID, process.CreateTime, {}}; }

// The driver list is keyed by the value its rows show as "Load Cnt", the
// value the component's FindDriver looks up.
TRecordKey DriverKey(const TDriverInfo& driver) { return {driver.LoadCount, 0, {}}; }

TRecordKey ServiceKey(const TServiceInfo& service) { return {0, 0, service.Name.str()}; }

TRecordKey WindowKey(const TWindowInfo& window) { return {window.Handle, 0, {}}; }

TRecordKey ModuleKey(const TModuleInfo& module) { return {module.Base, 0, module.ImageName.str()}; }

std::intptr_t TRowRecords::Add(int index, TRecordKey key) {
    rows_.push_back({index, std::move(key)});
    return static_cast<std::intptr_t>(rows_.size() - 1);
}

const TRowRecord* TRowRecords::Find(std::intptr_t data) const noexcept {
    if (data < 0 || static_cast<std::size_t>(data) >= rows_.size()) return nullptr;
    return &rows_[static_cast<std::size_t>(data)];
}

const TRowRecord* TRowRecords::FindKey(const TRecordKey& key) const noexcept {
    for (const TRowRecord& row : rows_)
        if (row.Key == key) return &row;
    return nullptr;
}

}  // namespace orvex::app
