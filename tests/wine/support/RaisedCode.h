// The code of the COM error that a piece of code raises.
#pragma once

#include <windows.h>

#include "storage/Orvex_ComError.h"

namespace orvex::test {

// The result code of what Fn raises, or S_OK when it raises nothing.
template <typename Fn>
HRESULT RaisedCode(Fn&& fn) {
    try {
        fn();
    } catch (const TComError& e) {
        return e.ErrorCode();
    }
    return S_OK;
}

}  // namespace orvex::test
