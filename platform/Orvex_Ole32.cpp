#include "platform/Orvex_Ole32.h"

#include "platform/Orvex_LibraryBinding.h"

namespace orvex {

// Each function of the library once.
#define ORVEX_OLE32_FUNCTIONS(F) \
    F(FmtIdToPropStgName)        \
    F(PropVariantClear)          \
    F(CoInitialize)              \
    F(CoUninitialize)            \
    F(CoTaskMemFree)             \
    F(CreateILockBytesOnHGlobal) \
    F(StgCreateDocfile)          \
    F(StgIsStorageFile)          \
    F(StgOpenStorage)            \
    F(StgOpenStorageOnILockBytes)

namespace {

ORVEX_OLE32_FUNCTIONS(ORVEX_DEFINE_SDK_SLOT)

constexpr TSlotBinding Ole32Slots[] = {ORVEX_OLE32_FUNCTIONS(ORVEX_SDK_SLOT_ENTRY)};
constinit TLibraryBinding Ole32("OLE32.DLL", Ole32Slots);

const HRESULT Missing = HRESULT_FROM_WIN32(ERROR_PROC_NOT_FOUND);

}  // namespace

HRESULT PropertySetStreamName(REFFMTID fmtid, wchar_t* name) noexcept {
    return CallBound<Ole32, FmtIdToPropStgNameSlot>(STG_E_INVALIDFUNCTION, &fmtid, name);
}

void ClearPropVariant(PROPVARIANT* value) noexcept {
    BindOnce<Ole32>();
    if (PropVariantClearSlot)
        PropVariantClearSlot(value);
    else
        PropVariantInit(value);
}

HRESULT CoInitialize(void* reserved) noexcept { return CallBound<Ole32, CoInitializeSlot>(Missing, reserved); }

void CoUninitialize() noexcept {
    BindOnce<Ole32>();
    if (CoUninitializeSlot) CoUninitializeSlot();
}

void CoTaskMemFree(void* memory) noexcept {
    BindOnce<Ole32>();
    if (CoTaskMemFreeSlot) CoTaskMemFreeSlot(memory);
}

HRESULT CreateILockBytesOnHGlobal(HGLOBAL memory, BOOL deleteOnRelease, ILockBytes** bytes) noexcept {
    return CallBound<Ole32, CreateILockBytesOnHGlobalSlot>(Missing, memory, deleteOnRelease, bytes);
}

HRESULT StgCreateDocfile(const wchar_t* name, DWORD mode, DWORD reserved, IStorage** storage) noexcept {
    return CallBound<Ole32, StgCreateDocfileSlot>(Missing, name, mode, reserved, storage);
}

HRESULT StgIsStorageFile(const wchar_t* name) noexcept { return CallBound<Ole32, StgIsStorageFileSlot>(Missing, name); }

HRESULT StgOpenStorage(const wchar_t* name, IStorage* priority, DWORD mode, SNB exclude, DWORD reserved,
                       IStorage** storage) noexcept {
    return CallBound<Ole32, StgOpenStorageSlot>(Missing, name, priority, mode, exclude, reserved, storage);
}

HRESULT StgOpenStorageOnILockBytes(ILockBytes* bytes, IStorage* priority, DWORD mode, SNB exclude, DWORD reserved,
                                   IStorage** storage) noexcept {
    return CallBound<Ole32, StgOpenStorageOnILockBytesSlot>(Missing, bytes, priority, mode, exclude, reserved, storage);
}

}  // namespace orvex
