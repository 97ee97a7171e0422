// Records filled field by field through their own field tables, every field
// with a value of its own: field i (from 1) holds base + i, "text <i>", a
// date-time of its own, or true.
#pragma once

#include <cstdint>
#include <string>

#include "engine/pure/OXI_RecordFields.h"

namespace orvex::test {

template <typename TRecord>
TRecord Filled(std::int64_t base = 100) {
    TRecord r{};
    int i = 0;
    for (const TField<TRecord>& f : FieldsOf<TRecord>()) {
        ++i;
        if (f.SetNumber) f.SetNumber(r, f.Show == TShow::Bool ? 1 : base + i);
        if (f.SetReal) f.SetReal(r, 40'000.5 + i);
        if (f.SetText) f.SetText(r, "text " + std::to_string(i));
    }
    return r;
}

}  // namespace orvex::test
