// Functions of ole32 bound at run time from the system
// (platform/Orvex_LibraryBinding.h), never imported: Windows 95 and NT 4 look
// for an imported ole32 next to the program first, and the first releases of
// the property-set support (Windows 95 before its OLE update, NT 4) do not
// export all of them. Where a function is missing, the COM and storage ones
// answer HRESULT_FROM_WIN32(ERROR_PROC_NOT_FOUND).
#pragma once

#include <windows.h>
#include <objbase.h>
#include <propidl.h>

namespace orvex {

// Fills Name (room for CCH_MAX_PROPSTG_NAME + 1 characters) with the name of
// the stream that holds the simple property set FMTID.
// STG_E_INVALIDFUNCTION where ole32 lacks the function.
HRESULT PropertySetStreamName(REFFMTID fmtid, wchar_t* name) noexcept;

// Frees what a property value holds and empties it. Where ole32 has no
// property sets no value can hold anything, and the value is only emptied.
void ClearPropVariant(PROPVARIANT* value) noexcept;

HRESULT CoInitialize(void* reserved) noexcept;
void CoUninitialize() noexcept;
void CoTaskMemFree(void* memory) noexcept;
HRESULT CreateILockBytesOnHGlobal(HGLOBAL memory, BOOL deleteOnRelease, ILockBytes** bytes) noexcept;
HRESULT StgCreateDocfile(const wchar_t* name, DWORD mode, DWORD reserved, IStorage** storage) noexcept;
HRESULT StgIsStorageFile(const wchar_t* name) noexcept;
HRESULT StgOpenStorage(const wchar_t* name, IStorage* priority, DWORD mode, SNB exclude, DWORD reserved,
                       IStorage** storage) noexcept;
HRESULT StgOpenStorageOnILockBytes(ILockBytes* bytes, IStorage* priority, DWORD mode, SNB exclude, DWORD reserved,
                                   IStorage** storage) noexcept;

}  // namespace orvex
