#include "platform/Orvex_LibraryBinding.h"

#include <algorithm>
#include <cctype>
#include <charconv>

namespace orvex {

namespace {

// Loads a system library from the system directory only, so that a file of
// the same name next to the program or in the working directory is never
// picked up instead.
HMODULE LoadSystemLibrary(const char* name) noexcept {
    char dir[MAX_PATH] = {};
    const UINT len = ::GetSystemDirectoryA(dir, MAX_PATH);
    if (len == 0 || len >= MAX_PATH) return nullptr;
    std::string path(dir, len);
    if (path.back() != '\\') path += '\\';
    path += name;
    return ::LoadLibraryA(path.c_str());
}

}  // namespace

std::string FormatUnloadError(const char* libraryName, std::uintptr_t moduleHandle) {
    char hex[2 * sizeof moduleHandle + 1] = {};
    const auto end = std::to_chars(hex, hex + sizeof hex - 1, moduleHandle, 16).ptr;
    std::transform(hex, end, hex,
                   [](char c) { return static_cast<char>(std::toupper(static_cast<unsigned char>(c))); });
    std::string message = "Unload Error: ";
    message += libraryName ? libraryName : "";
    message += " - 0x";
    message.append(hex, end);
    return message;
}

TLibraryBinding::~TLibraryBinding() {
    if (handle_ && owned_) ::FreeLibrary(handle_);
}

bool TLibraryBinding::Bind() noexcept {
    HMODULE module = ::GetModuleHandleA(name_);
    owned_ = module == nullptr;
    if (!module) module = LoadSystemLibrary(name_);
    handle_ = module;
    if (!handle_) {
        owned_ = false;
        ClearSlots();
        return false;
    }
    for (const TSlotBinding& slot : slots_) slot.assign(::GetProcAddress(handle_, slot.name));
    return true;
}

void TLibraryBinding::Release() {
    if (!handle_ || !owned_) return;
    if (!::FreeLibrary(handle_))
        throw EUnloadError(FormatUnloadError(name_, reinterpret_cast<std::uintptr_t>(::GetModuleHandleA(name_))));
    handle_ = nullptr;
    owned_ = false;
    // The addresses pointed into the library that is now gone.
    ClearSlots();
}

void TLibraryBinding::ClearSlots() noexcept {
    for (const TSlotBinding& slot : slots_) slot.assign(nullptr);
}

}  // namespace orvex
