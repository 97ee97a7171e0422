// The name of the stream that holds a simple property set, from ole32 bound
// at run time: the function is not exported by the first releases of the
// property-set support of Windows 95 and NT 4.
#pragma once

#include <windows.h>
#include <objbase.h>

namespace orvex {

// Fills Name (room for CCH_MAX_PROPSTG_NAME + 1 characters) with the stream
// name of the set FMTID. STG_E_INVALIDFUNCTION where ole32 lacks the function.
HRESULT PropertySetStreamName(REFFMTID fmtid, wchar_t* name) noexcept;

}  // namespace orvex
