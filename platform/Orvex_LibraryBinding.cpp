#include "platform/Orvex_LibraryBinding.h"

#include <algorithm>
#include <cctype>
#include <charconv>

namespace orvex {

namespace {

using TFindActCtxSectionString = BOOL(WINAPI*)(DWORD flags, const GUID* extension, ULONG section, LPCSTR name,
                                               PACTCTX_SECTION_KEYED_DATA data);

// Whether the program's activation context (its manifest) names where the
// library comes from, as it does for the common controls of version 6: the
// system then loads the named assembly's copy, never a file of that name next
// to the program. Systems before XP have no activation contexts.
bool RedirectedByManifest(const char* name) noexcept {
    const HMODULE kernel = ::GetModuleHandleA("KERNEL32.DLL");
    const auto find = kernel ? reinterpret_cast<TFindActCtxSectionString>(
                                   ::GetProcAddress(kernel, "FindActCtxSectionStringA"))
                             : nullptr;
    if (!find) return false;
    ACTCTX_SECTION_KEYED_DATA data{};
    data.cbSize = sizeof data;
    return find(0, nullptr, ACTIVATION_CONTEXT_SECTION_DLL_REDIRECTION, name, &data) != FALSE;
}

// What the binding asks the loader for: the library's name where the manifest
// redirects it, its full path in the system directory otherwise, so that a
// file of the same name next to the program or in the working directory is
// never picked up instead (and a copy of such a file that something else
// already mapped is never taken). Empty when the system directory is unknown.
std::string SystemLibraryPath(const char* name) {
    if (RedirectedByManifest(name)) return name;
    char dir[MAX_PATH] = {};
    const UINT len = ::GetSystemDirectoryA(dir, MAX_PATH);
    if (len == 0 || len >= MAX_PATH) return {};
    std::string path(dir, len);
    if (path.back() != '\\') path += '\\';
    path += name;
    return path;
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
    if (handle_ && owned_ && unload_ == TUnload::AtExit) ::FreeLibrary(handle_);
}

bool TLibraryBinding::Bind() noexcept {
    HMODULE module = nullptr;
    try {
        const std::string path = SystemLibraryPath(name_);
        if (!path.empty()) {
            module = ::GetModuleHandleA(path.c_str());
            owned_ = module == nullptr;
            if (!module) module = ::LoadLibraryA(path.c_str());
        }
    } catch (const std::bad_alloc&) {
        module = nullptr;
    }
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
