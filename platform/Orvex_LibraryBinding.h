// Run-time binding of a system library: one mechanism for ntdll, psapi and
// the service-control functions of advapi32.
//
// A binding maps its library (taking the copy already loaded in the process,
// or loading it from the system directory) and stores the address of every
// name of its table into that name's slot, null for a name the library does
// not export. The binding owns the library only when it loaded it itself; a
// library that was already mapped is never freed by it. Every bind decides
// ownership anew, so a library that this binding loaded is found mapped by
// the next bind and is from then on not owned (it stays loaded until the
// process ends).
#pragma once

#include <windows.h>

#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>
#include <type_traits>

namespace orvex {

// Raised when a library that a binding owns cannot be freed.
class EUnloadError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The message of EUnloadError: "Unload Error: <library> - 0x<handle>", the
// handle in upper-case hexadecimal without leading zeros.
std::string FormatUnloadError(const char* libraryName, std::uintptr_t moduleHandle);

// One entry of a binding table: the exported name and the accessors of its slot.
struct TSlotBinding {
    const char* name;
    void (*assign)(FARPROC address) noexcept;
    FARPROC (*value)() noexcept;
};

template <auto& Slot>
void AssignSlot(FARPROC address) noexcept {
    Slot = reinterpret_cast<std::remove_reference_t<decltype(Slot)>>(address);
}

template <auto& Slot>
FARPROC SlotValue() noexcept {
    return reinterpret_cast<FARPROC>(Slot);
}

// The entry for slot variable Slot, bound to the exported name.
template <auto& Slot>
constexpr TSlotBinding BindSlot(const char* exportedName) noexcept {
    return TSlotBinding{exportedName, &AssignSlot<Slot>, &SlotValue<Slot>};
}

// A library's functions are listed once, one per line, in a list macro:
//     #define ORVEX_<LIBRARY>_FUNCTIONS(F, G) F(Name) G(Slot, Export) ...
// where F(Name) binds the slot Name (declared in a header, with the
// function's type) to the export of that name and G(Slot, Export) binds Slot
// to another export. The list gives the slots' definitions
// (ORVEX_DEFINE_SLOT, ORVEX_DEFINE_SLOT_AS) and the binding table's entries
// (ORVEX_SLOT_ENTRY, ORVEX_SLOT_ENTRY_AS). Functions that the SDK declares
// are listed as F(Name) alone and get a private slot NameSlot of the SDK's
// type (ORVEX_DEFINE_SDK_SLOT, ORVEX_SDK_SLOT_ENTRY).
#define ORVEX_DEFINE_SLOT(name) decltype(name) name = nullptr;
#define ORVEX_DEFINE_SLOT_AS(slot, exported) decltype(slot) slot = nullptr;
#define ORVEX_SLOT_ENTRY(name) ::orvex::BindSlot<name>(#name),
#define ORVEX_SLOT_ENTRY_AS(slot, exported) ::orvex::BindSlot<slot>(#exported),
#define ORVEX_DEFINE_SDK_SLOT(name) decltype(&::name) name##Slot = nullptr;
#define ORVEX_SDK_SLOT_ENTRY(name) ::orvex::BindSlot<name##Slot>(#name),

// Whether a library the binding loaded is freed at program end. Libraries
// whose calls may still run on given-up workers then are kept.
enum class TUnload : bool { AtExit, Never };

class TLibraryBinding {
public:
    constexpr TLibraryBinding(const char* libraryName, std::span<const TSlotBinding> slots,
                              TUnload unload = TUnload::AtExit) noexcept
        : name_(libraryName), slots_(slots), unload_(unload) {}
    TLibraryBinding(const TLibraryBinding&) = delete;
    TLibraryBinding& operator=(const TLibraryBinding&) = delete;
    // At program end an owned library is freed (unless it is kept); a failure
    // there is not reported.
    ~TLibraryBinding();

    // Maps the library and binds every slot (all slots null when the library
    // cannot be mapped). Returns whether a library handle is set.
    bool Bind() noexcept;
    // Frees the library when this binding owns it and clears the handle and
    // the slots. A library that is not owned is left as it is, handle and
    // slots included. Throws EUnloadError when the platform refuses to free it;
    // the handle then stays set.
    void Release();

    HMODULE handle() const noexcept { return handle_; }
    bool owned() const noexcept { return owned_; }
    const char* name() const noexcept { return name_; }
    std::span<const TSlotBinding> slots() const noexcept { return slots_; }

private:
    void ClearSlots() noexcept;

    const char* name_;
    std::span<const TSlotBinding> slots_;
    TUnload unload_;
    HMODULE handle_ = nullptr;
    bool owned_ = false;
};

// Binds Library the first time any of its functions is called.
template <TLibraryBinding& Library>
void BindOnce() noexcept {
    static const bool bound = Library.Bind();
    (void)bound;
}

// Calls the function in Slot, one of Library's, or answers Fallback where the
// library or the function is missing.
template <TLibraryBinding& Library, auto& Slot, typename Result, typename... Args>
Result CallBound(Result fallback, Args... args) noexcept {
    BindOnce<Library>();
    return Slot ? Slot(args...) : fallback;
}

}  // namespace orvex
