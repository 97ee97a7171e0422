// Small owners of Windows resources: each closes what it holds exactly once.
#pragma once

#include <windows.h>
#include <objbase.h>
#include <propidl.h>

#include <utility>

#include "platform/Orvex_Ole32.h"

namespace orvex {

// Generic move-only owner of a value with a close routine and an empty value.
template <typename T, typename Traits>
class TOwned {
public:
    TOwned() noexcept = default;
    explicit TOwned(T value) noexcept : value_(value) {}
    TOwned(const TOwned&) = delete;
    TOwned& operator=(const TOwned&) = delete;
    TOwned(TOwned&& other) noexcept : value_(other.release()) {}
    TOwned& operator=(TOwned&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }
    ~TOwned() { reset(); }

    T get() const noexcept { return value_; }
    explicit operator bool() const noexcept { return Traits::valid(value_); }
    T release() noexcept { return std::exchange(value_, Traits::empty()); }
    void reset(T value = Traits::empty()) noexcept {
        if (Traits::valid(value_)) Traits::close(value_);
        value_ = value;
    }
    // For out-parameters: frees the current value and hands out its slot.
    T* put() noexcept {
        reset();
        return &value_;
    }

private:
    T value_ = Traits::empty();
};

// Traits of a value whose empty value is null, given back with Close.
template <typename T, auto Close>
struct NullEmptyTraits {
    static T empty() noexcept { return nullptr; }
    static bool valid(T h) noexcept { return h != nullptr; }
    static void close(T h) noexcept { Close(h); }
};
// An owner of such a value: one alias a kind, with the kind's own close routine.
template <typename T, auto Close>
using TNullOwned = TOwned<T, NullEmptyTraits<T, Close>>;

struct HandleTraits {
    static HANDLE empty() noexcept { return nullptr; }
    static bool valid(HANDLE h) noexcept { return h != nullptr && h != INVALID_HANDLE_VALUE; }
    static void close(HANDLE h) noexcept { ::CloseHandle(h); }
};
using THandle = TOwned<HANDLE, HandleTraits>;

// A file search of FindFirstFile, whose failure is INVALID_HANDLE_VALUE.
struct FindTraits {
    static HANDLE empty() noexcept { return INVALID_HANDLE_VALUE; }
    static bool valid(HANDLE h) noexcept { return h != nullptr && h != INVALID_HANDLE_VALUE; }
    static void close(HANDLE h) noexcept { ::FindClose(h); }
};
using TFindHandle = TOwned<HANDLE, FindTraits>;

using TRegKey = TNullOwned<HKEY, &::RegCloseKey>;

using TModule = TNullOwned<HMODULE, &::FreeLibrary>;

using TIcon = TNullOwned<HICON, &::DestroyIcon>;

// A GDI object of one kind (font, brush, pen, bitmap), deleted with
// DeleteObject; the alias keeps the handle's own type, so no cast is needed.
template <typename H>
using TGdiOwner = TNullOwned<H, &::DeleteObject>;
using TFont = TGdiOwner<HFONT>;
using TBrush = TGdiOwner<HBRUSH>;
using TPen = TGdiOwner<HPEN>;
using TBitmap = TGdiOwner<HBITMAP>;

using TCoTaskMem = TNullOwned<void*, &orvex::CoTaskMemFree>;

using TLocalMem = TNullOwned<HLOCAL, &::LocalFree>;

using TGlobalMem = TNullOwned<HGLOBAL, &::GlobalFree>;

// SC_HANDLE owner. The close routine is passed in because the service-control
// functions are reached through run-time slots.
class TScHandle {
public:
    using CloseFn = BOOL(WINAPI*)(SC_HANDLE);
    TScHandle() noexcept = default;
    TScHandle(SC_HANDLE h, CloseFn close) noexcept : h_(h), close_(close) {}
    TScHandle(const TScHandle&) = delete;
    TScHandle& operator=(const TScHandle&) = delete;
    TScHandle(TScHandle&& o) noexcept : h_(std::exchange(o.h_, nullptr)), close_(o.close_) {}
    TScHandle& operator=(TScHandle&& o) noexcept {
        if (this != &o) {
            reset();
            h_ = std::exchange(o.h_, nullptr);
            close_ = o.close_;
        }
        return *this;
    }
    ~TScHandle() { reset(); }
    SC_HANDLE get() const noexcept { return h_; }
    explicit operator bool() const noexcept { return h_ != nullptr; }
    void reset() noexcept {
        if (h_ && close_) close_(h_);
        h_ = nullptr;
    }

private:
    SC_HANDLE h_ = nullptr;
    CloseFn close_ = nullptr;
};

// Reference-counted COM interface pointer.
template <typename I>
class TComPtr {
public:
    TComPtr() noexcept = default;
    TComPtr(const TComPtr& o) noexcept : p_(o.p_) {
        if (p_) p_->AddRef();
    }
    TComPtr(TComPtr&& o) noexcept : p_(std::exchange(o.p_, nullptr)) {}
    TComPtr& operator=(TComPtr o) noexcept {
        std::swap(p_, o.p_);
        return *this;
    }
    ~TComPtr() { reset(); }
    I* get() const noexcept { return p_; }
    I* operator->() const noexcept { return p_; }
    explicit operator bool() const noexcept { return p_ != nullptr; }
    void reset() noexcept {
        if (p_) std::exchange(p_, nullptr)->Release();
    }
    I** put() noexcept {
        reset();
        return &p_;
    }

private:
    I* p_ = nullptr;
};

// PROPVARIANT that is cleared when it goes out of scope.
class TPropVariant {
public:
    TPropVariant() noexcept { PropVariantInit(&v_); }
    TPropVariant(const TPropVariant&) = delete;
    TPropVariant& operator=(const TPropVariant&) = delete;
    ~TPropVariant() { ClearPropVariant(&v_); }
    PROPVARIANT* get() noexcept { return &v_; }
    const PROPVARIANT& operator*() const noexcept { return v_; }
    const PROPVARIANT* operator->() const noexcept { return &v_; }
    void clear() noexcept { ClearPropVariant(&v_); }

private:
    PROPVARIANT v_;
};

// A critical section, and the scope that holds it. The program's run-time has
// no mutex of its own (its threads variant uses the system's primitives).
class TCriticalSection {
public:
    TCriticalSection() noexcept { ::InitializeCriticalSection(&cs_); }
    TCriticalSection(const TCriticalSection&) = delete;
    TCriticalSection& operator=(const TCriticalSection&) = delete;
    ~TCriticalSection() { ::DeleteCriticalSection(&cs_); }
    void lock() noexcept { ::EnterCriticalSection(&cs_); }
    void unlock() noexcept { ::LeaveCriticalSection(&cs_); }

private:
    CRITICAL_SECTION cs_;
};

class TLock {
public:
    explicit TLock(TCriticalSection& cs) noexcept : cs_(cs) { cs_.lock(); }
    TLock(const TLock&) = delete;
    TLock& operator=(const TLock&) = delete;
    ~TLock() { cs_.unlock(); }

private:
    TCriticalSection& cs_;
};

// COM initialisation for the current thread, undone when it goes out of scope.
class TComInit {
public:
    TComInit() noexcept : hr_(orvex::CoInitialize(nullptr)) {}
    TComInit(const TComInit&) = delete;
    TComInit& operator=(const TComInit&) = delete;
    ~TComInit() {
        if (SUCCEEDED(hr_)) orvex::CoUninitialize();
    }

private:
    HRESULT hr_;
};

}  // namespace orvex
