#include "engine/pure/OXI_InventoryJson.h"

#include "engine/pure/OXI_JsonWriter.h"

namespace orvex {

namespace {

template <typename TRecord>
void Object(TJsonWriter& w, const TRecord& r) {
    w.BeginObject();
    Members(w, r);
    w.EndObject();
}

template <typename TRecord>
void Array(TJsonWriter& w, const char* name, const std::vector<TRecord>& list) {
    w.BeginArray(name);
    for (const TRecord& r : list) Object(w, r);
    w.EndArray();
}

void Header(TJsonWriter& w, const char* name, const TStorageInfoRecord& h, const std::string* viewLimit = nullptr) {
    w.BeginObject(name);
    Members(w, h);
    if (viewLimit) w.Text("viewLimit", *viewLimit);
    w.EndObject();
}

void Process(TJsonWriter& w, const TProcessInfo& p, bool live) {
    w.BeginObject();
    Members(w, p);
    if (live) {
        Array(w, "threads", p.Threads);
        Array(w, "modules", p.Modules);
    }
    w.EndObject();
}

}  // namespace

std::string InventoryJson(const TInventory& inventory, const TTextToUtf8& toUtf8) {
    TJsonWriter w(toUtf8);
    w.BeginObject();
    Header(w, "header", inventory.Info, &inventory.ViewLimit);
    w.Bool("live", inventory.Live);
    w.BeginArray("processes");
    for (const TProcessInfo& p : inventory.Processes) Process(w, p, inventory.Live);
    w.EndArray();
    Array(w, "drivers", inventory.Drivers);
    Array(w, "services", inventory.Services);
    w.EndObject();
    return w.Take();
}

std::string DiffJson(const std::vector<TDiffRow>& rows, const TStorageInfoRecord& before,
                     const TStorageInfoRecord& after, const TTextToUtf8& toUtf8) {
    TJsonWriter w(toUtf8);
    w.BeginObject();
    Header(w, "before", before);
    Header(w, "after", after);
    w.BeginArray("differences");
    for (const TDiffRow& r : rows) {
        w.BeginObject();
        w.Ascii("kind", DiffKindText(r.Kind));
        w.Text("key", r.Key);
        w.Ascii("change", DiffChangeText(r.Change));
        w.Ascii("field", r.Field);
        w.Text("oldValue", r.OldValue);
        w.Text("newValue", r.NewValue);
        w.EndObject();
    }
    w.EndArray();
    w.EndObject();
    return w.Take();
}

}  // namespace orvex
