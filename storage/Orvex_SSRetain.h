// A new owning reference to an interface the caller already holds.
#pragma once

#include "platform/Orvex_Resources.h"

namespace orvex {

template <typename I>
TComPtr<I> RetainInterface(I* p) {
    TComPtr<I> owner;
    if (p) {
        p->AddRef();
        *owner.put() = p;
    }
    return owner;
}

}  // namespace orvex
