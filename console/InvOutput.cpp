#include "console/InvOutput.h"

#include <windows.h>

#include <climits>

namespace orvex::console {

namespace {

HANDLE StdHandle(TStdStream stream) {
    return GetStdHandle(stream == TStdStream::Out ? STD_OUTPUT_HANDLE : STD_ERROR_HANDLE);
}

bool IsConsole(HANDLE h) {
    DWORD mode = 0;
    return GetConsoleMode(h, &mode) != FALSE;
}

}  // namespace

bool WriteBytes(TStdStream stream, std::string_view bytes) {
    const HANDLE h = StdHandle(stream);
    if (h == nullptr || h == INVALID_HANDLE_VALUE) return false;
    while (!bytes.empty()) {
        const DWORD chunk = static_cast<DWORD>(bytes.size() < 65536 ? bytes.size() : 65536);
        DWORD written = 0;
        if (!WriteFile(h, bytes.data(), chunk, &written, nullptr) || written == 0) return false;
        bytes.remove_prefix(written);
    }
    return true;
}

bool WriteText(TStdStream stream, std::string_view text) {
    const HANDLE h = StdHandle(stream);
    if (h == nullptr || h == INVALID_HANDLE_VALUE || !IsConsole(h) || text.size() > static_cast<std::size_t>(INT_MAX))
        return WriteBytes(stream, text);
    std::string oem(text);
    if (!oem.empty()) CharToOemBuffA(oem.data(), oem.data(), static_cast<DWORD>(oem.size()));
    return WriteBytes(stream, oem);
}

}  // namespace orvex::console
