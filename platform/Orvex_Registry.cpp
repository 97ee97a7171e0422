#include "platform/Orvex_Registry.h"

#include <vector>

#include "platform/Orvex_Resources.h"

namespace orvex {

namespace {

TRegKey OpenForReading(HKEY root, const char* keyPath) {
    TRegKey key;
    if (RegOpenKeyExA(root, keyPath, 0, KEY_READ, key.put()) != ERROR_SUCCESS) key.release();
    return key;
}

}  // namespace

bool ReadRegistryText(HKEY root, const char* keyPath, const char* valueName, std::string& value) {
    TRegKey key = OpenForReading(root, keyPath);
    if (!key) return false;
    // The value may change between the size query and the read: retry a few times.
    for (int attempt = 0; attempt < 4; ++attempt) {
        DWORD type = 0, size = 0;
        if (RegQueryValueExA(key.get(), valueName, nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return false;
        if (type != REG_SZ && type != REG_EXPAND_SZ) return false;
        std::vector<char> buf(static_cast<std::size_t>(size) + 1, '\0');
        DWORD got = size;
        const LONG rc = RegQueryValueExA(key.get(), valueName, nullptr, &type, reinterpret_cast<BYTE*>(buf.data()),
                                         &got);
        if (rc == ERROR_MORE_DATA) continue;
        if (rc != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ)) return false;
        // The stored text need not end in a zero; it ends at the first one.
        got = got < size ? got : size;
        std::size_t len = 0;
        while (len < got && buf[len] != '\0') ++len;
        value.assign(buf.data(), len);
        return true;
    }
    return false;
}

bool ReadRegistryDword(HKEY root, const char* keyPath, const char* valueName, std::uint32_t& value) {
    TRegKey key = OpenForReading(root, keyPath);
    if (!key) return false;
    DWORD type = 0, data = 0, size = sizeof data;
    if (RegQueryValueExA(key.get(), valueName, nullptr, &type, reinterpret_cast<BYTE*>(&data), &size) != ERROR_SUCCESS)
        return false;
    if (type != REG_DWORD || size != sizeof data) return false;
    value = data;
    return true;
}

}  // namespace orvex
