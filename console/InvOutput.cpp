#include "console/InvOutput.h"

#include <windows.h>

#include "console/pure/InvPieces.h"
#include "platform/Orvex_Kernel32.h"
#include "platform/Orvex_Locale.h"
#include "platform/Orvex_OSInfo.h"
#include "platform/Orvex_WideText.h"
#include "platform/pure/Orvex_CodePageRule.h"

namespace orvex::console {

namespace {

// The stream's handle; null, with ERROR_INVALID_HANDLE, when it has none.
HANDLE StdHandle(TStdStream stream) {
    const HANDLE h = GetStdHandle(stream == TStdStream::Out ? STD_OUTPUT_HANDLE : STD_ERROR_HANDLE);
    if (h != INVALID_HANDLE_VALUE && h != nullptr) return h;
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
}

bool IsConsole(HANDLE h) {
    DWORD mode = 0;
    return GetConsoleMode(h, &mode) != FALSE;
}

// Writes one piece (at most MaxWriteBytes) with WriteFile, going on after a
// write that took part of it.
bool WriteAll(HANDLE h, std::string_view piece) {
    while (!piece.empty()) {
        DWORD written = 0;
        if (!WriteFile(h, piece.data(), static_cast<DWORD>(piece.size()), &written, nullptr)) return false;
        if (written == 0) {
            SetLastError(ERROR_WRITE_FAULT);
            return false;
        }
        piece.remove_prefix(written);
    }
    return true;
}

// Writes Bytes in the pieces that PieceLength(bytes, limit) cuts.
template <typename TPieceLength>
bool WritePieces(HANDLE h, std::string_view bytes, TPieceLength pieceLength) {
    while (!bytes.empty()) {
        const std::size_t piece = pieceLength(bytes, MaxWriteBytes);
        if (!WriteAll(h, bytes.substr(0, piece))) return false;
        bytes.remove_prefix(piece);
    }
    return true;
}

// The console shows UTF-16 as it is, whatever its code page (chcp 65001
// included), where the 8-bit forms would be read in that code page.
// WriteConsoleW is bound at run time: Windows 95 has only a stub of it.
bool WriteConsoleText(HANDLE h, std::string_view text) {
    BindKernel32();
    if (!WriteConsoleW) {
        SetLastError(ERROR_CALL_NOT_IMPLEMENTED);
        return false;
    }
    const std::wstring converted = AnsiToWide(text);
    if (converted.empty() && !text.empty()) return false;
    std::wstring_view wide = converted;
    while (!wide.empty()) {
        const std::size_t piece = Utf16PieceLength(wide, MaxWriteBytes / sizeof(wchar_t));
        DWORD written = 0;
        if (!WriteConsoleW(h, wide.data(), static_cast<DWORD>(piece), &written, nullptr)) return false;
        if (written == 0) {
            SetLastError(ERROR_WRITE_FAULT);
            return false;
        }
        wide.remove_prefix(written);
    }
    return true;
}

}  // namespace

bool WriteBytes(TStdStream stream, std::string_view bytes) {
    const HANDLE h = StdHandle(stream);
    if (!h) return false;
    return WritePieces(h, bytes, Utf8PieceLength);
}

namespace {

// Text of the ANSI code page in the console's output code page (the OEM
// code page unless changed), through UTF-16: the two may differ in how many
// bytes a character takes. The console's own code page, not the process's
// OEM one: where a manifest's UTF-8 is honoured the process's OEM code page
// is UTF-8 too, which a 9x console does not read.
std::string ConsoleText(std::string_view ansi) {
    const std::wstring wide = AnsiToWide(ansi);
    const UINT codePage = ::GetConsoleOutputCP();
    const int length = static_cast<int>(wide.size());
    const int n = ::WideCharToMultiByte(codePage, 0, wide.data(), length, nullptr, 0, nullptr, nullptr);
    std::string out(n > 0 ? static_cast<std::size_t>(n) : 0, '\0');
    if (n > 0 && ::WideCharToMultiByte(codePage, 0, wide.data(), length, out.data(), n, nullptr, nullptr) != n)
        out.clear();
    return out;
}

}  // namespace

bool WriteText(TStdStream stream, std::string_view text) {
    const HANDLE h = StdHandle(stream);
    if (!h) return false;
    // Pieces end at characters of the code page in force (UTF-8 where the
    // manifest's active code page is honoured).
    const auto ansiPieces = [](std::string_view s, std::size_t limit) {
        return CharacterCutLength(s, limit, ProcessCodePageRule());
    };
    if (!IsConsole(h)) return WritePieces(h, text, ansiPieces);
    if (IsNT()) return WriteConsoleText(h, text);
    // The 9x console reads bytes in its code page (the OEM one). Each piece is cut at a
    // character of the ANSI code page before its conversion, so that it
    // converts whole.
    while (!text.empty()) {
        const std::size_t piece = ansiPieces(text, MaxWriteBytes);
        if (!WriteAll(h, ConsoleText(text.substr(0, piece)))) return false;
        text.remove_prefix(piece);
    }
    return true;
}

}  // namespace orvex::console
