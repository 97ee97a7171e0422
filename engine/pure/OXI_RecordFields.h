// The field tables of the records an inventory holds. To add a field to
// reports, JSON, the console's lists and the comparison, add one line to its
// record's table in OXI_RecordFields.cpp.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "engine/pure/OXI_Fields.h"
#include "engine/pure/OXI_Records.h"
#include "engine/pure/OXI_StorageInfo.h"

namespace orvex {

// The fields of each record, in the order reports and JSON write them: of
// processes, threads, modules, drivers, services and the header
// (TStorageInfoRecord).
template <typename TRecord>
std::span<const TField<TRecord>> FieldsOf();

// A number as a list or a comparison shows it (addresses as "0x0000ABCD",
// times in ISO 8601, service values by their names).
std::string ShownNumber(TShow show, std::int64_t value);
// A text as it is shown (a path's file-name part for FileName).
std::string ShownText(TShow show, const std::string& text);

// A date-time as it is shown (ISO 8601).
std::string ShownReal(TShow show, double value);

// One field's value of record as it is shown.
template <typename TRecord>
std::string ShownValue(const TField<TRecord>& field, const TRecord& record) {
    if (field.Real) return ShownReal(field.Show, field.Real(record));
    if (field.Number) return ShownNumber(field.Show, field.Number(record));
    return ShownText(field.Show, field.Text(record));
}

// The fields of a record that have a column, in column order.
template <typename TRecord>
std::vector<const TField<TRecord>*> ColumnsOf() {
    std::vector<const TField<TRecord>*> columns;
    for (const TField<TRecord>& f : FieldsOf<TRecord>())
        if (f.Column > 0) {
            if (columns.size() < static_cast<std::size_t>(f.Column)) columns.resize(static_cast<std::size_t>(f.Column));
            columns[static_cast<std::size_t>(f.Column - 1)] = &f;
        }
    return columns;
}

}  // namespace orvex
