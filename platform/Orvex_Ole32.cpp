#include "platform/Orvex_Ole32.h"

#include "platform/Orvex_LibraryBinding.h"

namespace orvex {

namespace {

using TFmtIdToPropStgName = HRESULT(WINAPI*)(const FMTID* fmtid, LPOLESTR name);
using TPropVariantClear = HRESULT(WINAPI*)(PROPVARIANT* value);
TFmtIdToPropStgName FmtIdToPropStgNameSlot = nullptr;
TPropVariantClear PropVariantClearSlot = nullptr;

constexpr TSlotBinding Ole32Slots[] = {
    BindSlot<FmtIdToPropStgNameSlot>("FmtIdToPropStgName"),
    BindSlot<PropVariantClearSlot>("PropVariantClear"),
};
constinit TLibraryBinding Ole32("OLE32.DLL", Ole32Slots);

// Binds on first use. The program links ole32, so the binding finds it
// mapped and never owns it.
void EnsureBound() noexcept {
    static const bool bound = Ole32.Bind();
    (void)bound;
}

}  // namespace

HRESULT PropertySetStreamName(REFFMTID fmtid, wchar_t* name) noexcept {
    EnsureBound();
    if (!FmtIdToPropStgNameSlot) return STG_E_INVALIDFUNCTION;
    return FmtIdToPropStgNameSlot(&fmtid, name);
}

void ClearPropVariant(PROPVARIANT* value) noexcept {
    EnsureBound();
    if (PropVariantClearSlot)
        PropVariantClearSlot(value);
    else
        PropVariantInit(value);
}

}  // namespace orvex
