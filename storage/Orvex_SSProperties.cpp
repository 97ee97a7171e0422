#include "platform/Orvex_WideText.h"
#include "storage/Orvex_SS.h"

namespace orvex {

namespace {

// New names receive ids from here on, chosen by the property set.
constexpr PROPID FirstNamedId = 2;

// A property specification by name; keeps the UTF-16 name alive.
class TNameSpec {
public:
    explicit TNameSpec(std::string_view name) : name_(AnsiToWide(name)) {
        spec_.ulKind = PRSPEC_LPWSTR;
        spec_.lpwstr = name_.data();
    }
    // Null for a name that is empty (or cannot be converted): such a name
    // addresses no property.
    PROPSPEC* get() { return name_.empty() ? nullptr : &spec_; }

private:
    std::wstring name_;
    PROPSPEC spec_{};
};

class TIdSpec {
public:
    explicit TIdSpec(PROPID id) {
        spec_.ulKind = PRSPEC_PROPID;
        spec_.propid = id;
    }
    PROPSPEC* get() { return &spec_; }

private:
    PROPSPEC spec_{};
};

IPropertyStorage* Writable(IPropertyStorage* storage, const PROPSPEC* spec) {
    if (!storage) RaiseComError(E_POINTER);
    if (!spec) RaiseComError(STG_E_INVALIDPARAMETER);
    return storage;
}

// The variant points into Text, which outlives the write; it is not cleared.
void WriteText(IPropertyStorage* storage, PROPSPEC* spec, std::string_view value) {
    std::wstring text = AnsiToWide(value);
    PROPVARIANT var;
    PropVariantInit(&var);
    var.vt = VT_LPWSTR;
    var.pwszVal = text.data();
    ComCheck(Writable(storage, spec)->WriteMultiple(1, spec, &var, FirstNamedId));
}

void WriteInt(IPropertyStorage* storage, PROPSPEC* spec, std::int64_t value) {
    PROPVARIANT var;
    PropVariantInit(&var);
    var.vt = VT_I8;
    var.hVal.QuadPart = value;
    ComCheck(Writable(storage, spec)->WriteMultiple(1, spec, &var, FirstNamedId));
}

void WriteFileTime(IPropertyStorage* storage, PROPSPEC* spec, TDateTime value) {
    IPropertyStorage* target = Writable(storage, spec);
    std::uint64_t ticks = 0;
    if (!DateTimeToFileTimeTicks(value, ticks)) RaiseComError(E_INVALIDARG);
    PROPVARIANT var;
    PropVariantInit(&var);
    var.vt = VT_FILETIME;
    var.filetime.dwLowDateTime = static_cast<DWORD>(ticks);
    var.filetime.dwHighDateTime = static_cast<DWORD>(ticks >> 32);
    ComCheck(target->WriteMultiple(1, spec, &var, FirstNamedId));
}

// Reads one property into Var; true only for S_OK with the expected type.
bool ReadTyped(IPropertyStorage* storage, PROPSPEC* spec, VARTYPE type, TPropVariant& var) {
    if (!storage || !spec) return false;
    return storage->ReadMultiple(1, spec, var.get()) == S_OK && var->vt == type;
}

// Texts are written as VT_LPWSTR; a set in an 8-bit code page may also hold
// VT_LPSTR texts (another program's, or this one's in an older form), which
// the platform hands out in the system ANSI code page.
std::string ReadText(IPropertyStorage* storage, PROPSPEC* spec) {
    TPropVariant var;
    if (!storage || !spec || storage->ReadMultiple(1, spec, var.get()) != S_OK) return {};
    if (var->vt == VT_LPWSTR) return WideToAnsi(var->pwszVal);
    if (var->vt == VT_LPSTR && var->pszVal) return var->pszVal;
    return {};
}

std::int64_t ReadInt(IPropertyStorage* storage, PROPSPEC* spec) {
    TPropVariant var;
    return ReadTyped(storage, spec, VT_I8, var) ? var->hVal.QuadPart : 0;
}

TDateTime ReadDateTime(IPropertyStorage* storage, PROPSPEC* spec) {
    TPropVariant var;
    return ReadTyped(storage, spec, VT_FILETIME, var) ? FileTimeToDateTime(var->filetime) : 0;
}

}  // namespace

void WriteStrProp(IPropertyStorage* storage, std::string_view name, std::string_view value) {
    TNameSpec spec(name);
    WriteText(storage, spec.get(), value);
}

void WriteIntProp(IPropertyStorage* storage, std::string_view name, std::int64_t value) {
    TNameSpec spec(name);
    WriteInt(storage, spec.get(), value);
}

void WriteStrPropID(IPropertyStorage* storage, PROPID id, std::string_view value) {
    TIdSpec spec(id);
    WriteText(storage, spec.get(), value);
}

void WriteDateTimePropID(IPropertyStorage* storage, PROPID id, TDateTime value) {
    TIdSpec spec(id);
    WriteFileTime(storage, spec.get(), value);
}

std::string ReadStrProp(IPropertyStorage* storage, std::string_view name) {
    TNameSpec spec(name);
    return ReadText(storage, spec.get());
}

std::int64_t ReadIntProp(IPropertyStorage* storage, std::string_view name) {
    TNameSpec spec(name);
    return ReadInt(storage, spec.get());
}

std::string ReadStrPropID(IPropertyStorage* storage, PROPID id) {
    TIdSpec spec(id);
    return ReadText(storage, spec.get());
}

TDateTime ReadDateTimePropID(IPropertyStorage* storage, PROPID id) {
    TIdSpec spec(id);
    return ReadDateTime(storage, spec.get());
}

FILETIME DateTimeToFileTime(TDateTime value) {
    std::uint64_t ticks = 0;
    FILETIME ft{};
    if (DateTimeToFileTimeTicks(value, ticks)) {
        ft.dwLowDateTime = static_cast<DWORD>(ticks);
        ft.dwHighDateTime = static_cast<DWORD>(ticks >> 32);
    }
    return ft;
}

TDateTime FileTimeToDateTime(const FILETIME& value) {
    return FileTimeTicksToDateTime((static_cast<std::uint64_t>(value.dwHighDateTime) << 32) | value.dwLowDateTime);
}

}  // namespace orvex
