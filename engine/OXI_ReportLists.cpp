#include <string>
#include <utility>

#include "engine/OXI_Report.h"
#include "engine/OXI_ReportParts.h"
#include "engine/pure/OXI_ItemOrder.h"
#include "platform/Orvex_WideText.h"
#include "storage/Orvex_ReportFile.h"

namespace orvex {

namespace {

constexpr const char* ProcessListName = "ProcessList";
constexpr const char* DriverListName = "DriverList";
constexpr const char* ServiceListName = "ServiceList";

// Item storages are named by their index in decimal, without leading zeros.
std::string ItemName(std::size_t index) { return std::to_string(index); }

// A new item storage Name in List. The list was created empty just before,
// so no element of that name exists and the storage is created without
// looking for one first (the look-up enumerates the whole list, which
// made saving quadratic in the item count).
std::unique_ptr<TStructuredSTorage> CreateItemStorage(TStructuredSTorage& list, const std::string& name) {
    const std::wstring wide = AnsiToWide(name);
    TComPtr<IStorage> item;
    ComCheck(list.Storage->CreateStorage(wide.c_str(), StorageWriteMode | STGM_CREATE, 0, 0, item.put()));
    return std::make_unique<TStructuredSTorage>(&list, item.get());
}

// Replaces the list Name of Root with Count items; Copy(i, record) fetches
// the record of item i. The items are created in ItemCreationOrder, which
// keeps the look-ups of Wine's compound files short.
template <typename Record, typename CopyFn>
void WriteList(TStructuredSTorage& root, const char* name, int count, CopyFn copy) {
    // Whatever an earlier save left under this name goes first; an absent
    // element is fine.
    const std::wstring wide = AnsiToWide(name);
    root.Storage->DestroyElement(wide.c_str());
    const auto list = root.OpenSubStorage(name, StorageWriteMode, true);
    for (std::size_t i : ItemCreationOrder(count < 0 ? 0 : static_cast<std::size_t>(count))) {
        Record record;
        copy(static_cast<std::uint32_t>(i), record);
        const auto item = CreateItemStorage(*list, ItemName(i));
        const auto set = OpenReportSetForWriting(*item, FMTID_DocSummaryInformation);
        WriteItem(set->PropertyStorage.get(), record);
    }
}

// Appends the items of the list Name of Root to Out, from "0" up to the
// first missing number; true when any was read. A missing list reads as
// empty.
template <typename List>
bool ReadList(TStructuredSTorage& root, const char* name, List& out) {
    const auto list = OpenExistingSubStorage(root, name);
    if (!list) return false;
    if (OpenExistingSubStorage(*list, ItemName(ReportListLimit))) RaiseComError(STG_E_DOCFILETOOLARGE);
    bool any = false;
    for (std::size_t n = 0; n < ReportListLimit; ++n) {
        const auto item = OpenExistingSubStorage(*list, ItemName(n));
        if (!item) break;
        const auto set = OpenReportSetForReading(*item, FMTID_DocSummaryInformation);
        if (!set) break;
        typename List::value_type record;
        ReadItem(set->PropertyStorage.get(), record);
        out.push_back(std::move(record));
        any = true;
    }
    return any;
}

}  // namespace

void CheckReportListSizes(const TOrvex_ProcessList& component) {
    for (int count : {component.ProcessCount(), component.DriverCount(), component.ServiceCount()})
        if (count < 0 || static_cast<std::size_t>(count) > ReportListLimit) RaiseComError(STG_E_DOCFILETOOLARGE);
}

void WriteReportLists(TStructuredSTorage& root, const TOrvex_ProcessList& component) {
    CheckReportListSizes(component);
    WriteList<TProcessInfo>(root, ProcessListName, component.ProcessCount(),
                            [&](std::uint32_t i, TProcessInfo& r) { component.GetProcess(i, r); });
    WriteList<TDriverInfo>(root, DriverListName, component.DriverCount(),
                           [&](std::uint32_t i, TDriverInfo& r) { component.GetDriver(i, r); });
    WriteList<TServiceInfo>(root, ServiceListName, component.ServiceCount(),
                            [&](std::uint32_t i, TServiceInfo& r) { component.GetService(i, r); });
}

bool ReadReportLists(TStructuredSTorage& root, TReportLists& lists) {
    const bool processes = ReadList(root, ProcessListName, lists.Processes);
    const bool drivers = ReadList(root, DriverListName, lists.Drivers);
    const bool services = ReadList(root, ServiceListName, lists.Services);
    return processes || drivers || services;
}

}  // namespace orvex
