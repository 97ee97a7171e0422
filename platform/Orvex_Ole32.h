// Functions of ole32 bound at run time: the first releases of the
// property-set support (Windows 95 before its OLE update, NT 4) do not export
// all of them, and the program must still load there.
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

}  // namespace orvex
