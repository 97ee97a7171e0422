// The property sets of the report's items and header, written and read as
// the records' field tables say. Texts are cut to 255 characters by the
// record fields themselves; integers are stored as 64-bit values, widened as
// each field says, and read back from as many low bits as the field has.
#include <cstdint>

#include "engine/OXI_ReportParts.h"
#include "engine/pure/OXI_RecordFields.h"

namespace orvex {

namespace {

std::int64_t Widened(TWiden widen, std::int64_t v) {
    switch (widen) {
    case TWiden::Zero:
        return static_cast<std::int64_t>(static_cast<std::uint32_t>(v));
    case TWiden::Sign:
        return static_cast<std::int32_t>(static_cast<std::uint32_t>(v));
    case TWiden::Natural:
        break;
    }
    return v;
}

// The fields of record stored by id (fixed ids first: see the header
// writer) or by name.
template <typename TRecord>
void WriteFields(IPropertyStorage* set, const TRecord& record, bool byId) {
    for (const TField<TRecord>& f : FieldsOf<TRecord>()) {
        if (byId != (f.PropertyId != 0) || (!byId && !f.Property) || f.Unknown(record)) continue;
        if (f.Real)
            WriteDateTimePropID(set, f.PropertyId, f.Real(record));
        else if (f.Number)
            WriteIntProp(set, f.Property, Widened(f.Widen, f.Number(record)));
        else if (byId)
            WriteStrPropID(set, f.PropertyId, f.Text(record));
        else
            WriteStrProp(set, f.Property, f.Text(record));
    }
}

template <typename TRecord>
void ReadFields(IPropertyStorage* set, TRecord& record) {
    for (const TField<TRecord>& f : FieldsOf<TRecord>()) {
        if (f.PropertyId != 0) {
            if (f.SetReal)
                f.SetReal(record, ReadDateTimePropID(set, f.PropertyId));
            else if (f.SetText)
                f.SetText(record, ReadStrPropID(set, f.PropertyId));
        } else if (f.Property) {
            if (f.SetNumber) {
                f.SetNumber(record, ReadIntProp(set, f.Property));
            } else if (f.SetText) {
                std::string text = f.PreferredProperty ? ReadStrProp(set, f.PreferredProperty) : std::string();
                if (text.empty()) text = ReadStrProp(set, f.Property);
                f.SetText(record, text);
            }
        }
    }
}

}  // namespace

void WriteItem(IPropertyStorage* set, const TProcessInfo& p) { WriteFields(set, p, false); }
void WriteItem(IPropertyStorage* set, const TDriverInfo& d) { WriteFields(set, d, false); }
void WriteItem(IPropertyStorage* set, const TServiceInfo& s) { WriteFields(set, s, false); }
void ReadItem(IPropertyStorage* set, TProcessInfo& p) { ReadFields(set, p); }
void ReadItem(IPropertyStorage* set, TDriverInfo& d) { ReadFields(set, d); }
void ReadItem(IPropertyStorage* set, TServiceInfo& s) { ReadFields(set, s); }

void WriteHeaderFields(IPropertyStorage* set, const TStorageInfoRecord& info) {
    // Every property with a fixed id goes in before the first named one. A
    // set chooses the ids of new names itself, from 2 up, and may choose one
    // that a fixed id written later takes over: Wine numbers new names on
    // from the highest id in use, so with the rights (id 19) written after
    // the names, "OS.LoggedUser" would receive 19 (the application name has
    // 18) and then read back as the rights text.
    WriteFields(set, info, true);
    WriteFields(set, info, false);
}

void ReadHeaderFields(IPropertyStorage* set, TStorageInfoRecord& info) { ReadFields(set, info); }

}  // namespace orvex
