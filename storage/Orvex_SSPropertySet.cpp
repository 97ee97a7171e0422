#include "platform/Orvex_WideText.h"
#include "storage/Orvex_SS.h"
#include "storage/Orvex_SSRetain.h"

namespace orvex {

namespace {

IPropertyStorage* CheckedPropertyStorage(IPropertyStorage* storage) {
    if (!storage) RaiseComError(E_POINTER);
    return storage;
}

bool IsBlankText(std::string_view s) {
    for (char c : s)
        if (static_cast<unsigned char>(c) > ' ') return false;
    return true;
}

}  // namespace

TStoragePropertySet::TStoragePropertySet(IPropertyStorage* propertyStorage, TStructuredSTorage* owner)
    : PropertyStorage(RetainInterface(CheckedPropertyStorage(propertyStorage))), Owner(owner) {}

TStoragePropertySet::~TStoragePropertySet() = default;

std::unique_ptr<TStoragePropertySet> TStructuredSTorage::OpenPropertySet(REFFMTID fmtid, DWORD mode, bool create,
                                                                         std::string_view name) {
    TComPtr<IPropertySetStorage> sets;
    TComPtr<IPropertyStorage> set;
    // Absence is not a failure here: only whether a set came back counts.
    if (SUCCEEDED(Storage->QueryInterface(IID_IPropertySetStorage, reinterpret_cast<void**>(sets.put()))) && sets)
        sets->Open(fmtid, mode, set.put());
    if (set) return std::make_unique<TStoragePropertySet>(set.get(), this);
    if (create) return CreatePropertySet(name, fmtid, CLSID_NULL, 0, mode | STGM_CREATE);
    return nullptr;
}

std::unique_ptr<TStoragePropertySet> TStructuredSTorage::CreatePropertySet(std::string_view name, REFFMTID fmtid,
                                                                           REFCLSID clsid, DWORD flags, DWORD mode) {
    TComPtr<IPropertySetStorage> sets;
    ComCheck(Storage->QueryInterface(IID_IPropertySetStorage, reinterpret_cast<void**>(sets.put())));
    if (!sets) RaiseComError(E_NOINTERFACE);
    TComPtr<IPropertyStorage> set;
    ComCheck(sets->Create(fmtid, &clsid, flags, mode, set.put()));
    auto wrapper = std::make_unique<TStoragePropertySet>(set.get(), this);
    if (!IsBlankText(name)) {
        std::wstring wide = AnsiToWide(name);
        PROPID id = PID_DICTIONARY;
        LPOLESTR names[] = {wide.data()};
        ComCheck(wrapper->PropertyStorage->WritePropertyNames(1, &id, names));
    }
    return wrapper;
}

}  // namespace orvex
