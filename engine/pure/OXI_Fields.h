// The fields of a record, each declared once: where it goes in a report, its
// JSON member, its column in the lists the console writes, whether the
// comparison of inventories compares it, and how its value is shown. The
// report writer and reader, the JSON, the console's tables and CSV and the
// comparison all walk these tables (see OXI_RecordFields.h).
#pragma once

#include <cstdint>
#include <string>
#include <type_traits>

#include "platform/pure/Orvex_ShortString.h"

namespace orvex {

// How a value is shown.
enum class TShow : std::uint8_t {
    Decimal,
    Address,           // hexadecimal, "0x" first
    Time,              // a point in time in 100-ns units since 1601 (UTC)
    DateTime,          // a date-time in days since 1899-12-30 (the header's)
    Text,              // the record's ANSI text
    Bool,              // stored as 1 or 0
    CpuTime,           // a duration in 100-ns units, as the lists show CPU time
    FileName,          // the file-name part of a path text
    ServiceState,      // a service state by its name
    ServiceStartType,  // a start type by its name
    ServiceType        // a service type (its index) by its name
};

// How a value is widened to the report's 64-bit integer: as its type is
// (unsigned zero-extended, signed sign-extended), or its low 32 bits
// zero- or sign-extended whatever its type.
enum class TWiden : std::uint8_t { Natural, Zero, Sign };

template <typename TRecord>
struct TField {
    // The report's property: by name, or by id in the header's set (0: by
    // name). Where both are null the field is not stored.
    const char* Property = nullptr;
    std::uint32_t PropertyId = 0;
    // A name read first where a file has it (an older spelling).
    const char* PreferredProperty = nullptr;
    const char* Json = nullptr;      // member of the JSON object; null: none
    const char* Caption = nullptr;   // column caption in the console's lists
    int Column = 0;                  // 1-based column position; 0: no column
    const char* Compared = nullptr;  // field name of a comparison row; null: not compared
    bool FoldCase = false;           // compared without regard to case
    // A text that may be unknown (empty), or a number that may be (zero):
    // then neither stored nor written to JSON, and compared only where both
    // sides know it.
    bool WhenKnown = false;
    TShow Show = TShow::Decimal;
    TWiden Widen = TWiden::Natural;
    // The value: a number (integers, times, flags), a real (date-times) or a
    // text; the setters put back what a report holds.
    std::int64_t (*Number)(const TRecord&) = nullptr;
    void (*SetNumber)(TRecord&, std::int64_t) = nullptr;
    double (*Real)(const TRecord&) = nullptr;
    void (*SetReal)(TRecord&, double) = nullptr;
    std::string (*Text)(const TRecord&) = nullptr;
    void (*SetText)(TRecord&, const std::string&) = nullptr;

    constexpr TField InColumn(int column, const char* caption) const {
        TField f = *this;
        f.Column = column;
        f.Caption = caption;
        return f;
    }
    constexpr TField ComparedAs(const char* name, bool foldCase = false) const {
        TField f = *this;
        f.Compared = name;
        f.FoldCase = foldCase;
        return f;
    }
    constexpr TField OnlyWhenKnown() const {
        TField f = *this;
        f.WhenKnown = true;
        return f;
    }
    constexpr TField ShownAs(TShow show) const {
        TField f = *this;
        f.Show = show;
        return f;
    }
    constexpr TField StoredAs(TWiden widen) const {
        TField f = *this;
        f.Widen = widen;
        return f;
    }
    constexpr TField ReadFirst(const char* property) const {
        TField f = *this;
        f.PreferredProperty = property;
        return f;
    }
    bool IsText() const noexcept { return Text != nullptr && Number == nullptr; }
    // Whether record holds no value of a WhenKnown field.
    bool Unknown(const TRecord& record) const {
        if (!WhenKnown) return false;
        return Text ? Text(record).empty() : Number && Number(record) == 0;
    }
};

namespace fields {

template <typename T>
struct TMember;
template <typename R, typename M>
struct TMember<M R::*> {
    using Record = R;
    using Type = M;
};
template <auto Member>
using RecordOf = typename TMember<decltype(Member)>::Record;
template <auto Member>
using TypeOf = typename TMember<decltype(Member)>::Type;

template <typename T>
concept BoundedText = requires(const T& t) {
    { t.str() } -> std::convertible_to<const std::string&>;
};

template <auto Member>
std::int64_t GetNumber(const RecordOf<Member>& r) {
    return static_cast<std::int64_t>(r.*Member);
}

// A report's value back into the field: a bool is true only for 1; a
// narrower field takes the low bits of the value.
template <auto Member>
void PutNumber(RecordOf<Member>& r, std::int64_t v) {
    using T = TypeOf<Member>;
    if constexpr (std::is_same_v<T, bool>)
        r.*Member = v == 1;
    else
        r.*Member = static_cast<T>(static_cast<std::make_unsigned_t<T>>(v));
}

template <auto Member>
std::string GetText(const RecordOf<Member>& r) {
    if constexpr (BoundedText<TypeOf<Member>>)
        return (r.*Member).str();
    else
        return r.*Member;
}

// Texts hold at most 255 characters in a report, as the records' own
// bounded texts do.
template <auto Member>
void PutText(RecordOf<Member>& r, const std::string& v) {
    if constexpr (BoundedText<TypeOf<Member>>)
        r.*Member = v;
    else
        r.*Member = TShortString(v).str();
}

template <auto Member>
double GetReal(const RecordOf<Member>& r) {
    return r.*Member;
}
template <auto Member>
void PutReal(RecordOf<Member>& r, double v) {
    r.*Member = v;
}

}  // namespace fields

// A field of the record member Member, stored under property (null: not
// stored) and written to JSON as json (null: not written).
template <auto Member>
constexpr TField<fields::RecordOf<Member>> Field(const char* property, const char* json) {
    using T = fields::TypeOf<Member>;
    TField<fields::RecordOf<Member>> f;
    f.Property = property;
    f.Json = json;
    if constexpr (std::is_floating_point_v<T>) {
        f.Show = TShow::DateTime;
        f.Real = &fields::GetReal<Member>;
        f.SetReal = &fields::PutReal<Member>;
    } else if constexpr (std::is_same_v<T, bool>) {
        f.Show = TShow::Bool;
        f.Number = &fields::GetNumber<Member>;
        f.SetNumber = &fields::PutNumber<Member>;
    } else if constexpr (std::is_integral_v<T>) {
        f.Number = &fields::GetNumber<Member>;
        f.SetNumber = &fields::PutNumber<Member>;
    } else {
        f.Show = TShow::Text;
        f.Text = &fields::GetText<Member>;
        f.SetText = &fields::PutText<Member>;
    }
    return f;
}

// A field of the header's set, by property id.
template <auto Member>
constexpr TField<fields::RecordOf<Member>> FieldWithId(std::uint32_t id, const char* json) {
    auto f = Field<Member>(nullptr, json);
    f.PropertyId = id;
    return f;
}

// A value computed from the record, never stored: shown in the lists, in
// the comparison, and under json (where not null) in JSON.
template <typename TRecord, typename TValue>
constexpr TField<TRecord> Shown(TShow show, TValue (*value)(const TRecord&), const char* json = nullptr) {
    TField<TRecord> f;
    f.Json = json;
    f.Show = show;
    if constexpr (std::is_same_v<TValue, std::string>)
        f.Text = value;
    else
        f.Number = value;
    return f;
}

}  // namespace orvex
