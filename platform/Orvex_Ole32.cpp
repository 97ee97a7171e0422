#include "platform/Orvex_Ole32.h"

#include "platform/Orvex_LibraryBinding.h"

namespace orvex {

namespace {

decltype(&::FmtIdToPropStgName) FmtIdToPropStgNameSlot = nullptr;
decltype(&::PropVariantClear) PropVariantClearSlot = nullptr;
decltype(&::CoInitialize) CoInitializeSlot = nullptr;
decltype(&::CoUninitialize) CoUninitializeSlot = nullptr;
decltype(&::CoTaskMemFree) CoTaskMemFreeSlot = nullptr;
decltype(&::CreateILockBytesOnHGlobal) LockBytesSlot = nullptr;
decltype(&::StgCreateDocfile) CreateDocfileSlot = nullptr;
decltype(&::StgIsStorageFile) IsStorageFileSlot = nullptr;
decltype(&::StgOpenStorage) OpenStorageSlot = nullptr;
decltype(&::StgOpenStorageOnILockBytes) OpenOnLockBytesSlot = nullptr;

constexpr TSlotBinding Ole32Slots[] = {
    BindSlot<FmtIdToPropStgNameSlot>("FmtIdToPropStgName"),
    BindSlot<PropVariantClearSlot>("PropVariantClear"),
    BindSlot<CoInitializeSlot>("CoInitialize"),
    BindSlot<CoUninitializeSlot>("CoUninitialize"),
    BindSlot<CoTaskMemFreeSlot>("CoTaskMemFree"),
    BindSlot<LockBytesSlot>("CreateILockBytesOnHGlobal"),
    BindSlot<CreateDocfileSlot>("StgCreateDocfile"),
    BindSlot<IsStorageFileSlot>("StgIsStorageFile"),
    BindSlot<OpenStorageSlot>("StgOpenStorage"),
    BindSlot<OpenOnLockBytesSlot>("StgOpenStorageOnILockBytes"),
};
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
    return CallBound<Ole32, LockBytesSlot>(Missing, memory, deleteOnRelease, bytes);
}

HRESULT StgCreateDocfile(const wchar_t* name, DWORD mode, DWORD reserved, IStorage** storage) noexcept {
    return CallBound<Ole32, CreateDocfileSlot>(Missing, name, mode, reserved, storage);
}

HRESULT StgIsStorageFile(const wchar_t* name) noexcept { return CallBound<Ole32, IsStorageFileSlot>(Missing, name); }

HRESULT StgOpenStorage(const wchar_t* name, IStorage* priority, DWORD mode, SNB exclude, DWORD reserved,
                       IStorage** storage) noexcept {
    return CallBound<Ole32, OpenStorageSlot>(Missing, name, priority, mode, exclude, reserved, storage);
}

HRESULT StgOpenStorageOnILockBytes(ILockBytes* bytes, IStorage* priority, DWORD mode, SNB exclude, DWORD reserved,
                                   IStorage** storage) noexcept {
    return CallBound<Ole32, OpenOnLockBytesSlot>(Missing, bytes, priority, mode, exclude, reserved, storage);
}

}  // namespace orvex
