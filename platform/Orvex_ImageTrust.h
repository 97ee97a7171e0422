// Who signed an image file, by the system's Authenticode verification: the
// file's embedded signature, or else the system's catalogs (how the system's
// own files are signed). Offline: no revocation check and no retrieval of
// anything from the network. The trust functions are bound at run time; a
// system without them (Windows 95 and NT 4 without the Internet Explorer
// components) answers NotChecked.
#pragma once

#include <windows.h>

#include <array>
#include <cstdint>
#include <string>

#include "platform/pure/Orvex_TrustText.h"

namespace orvex {

struct TTrustVerdict {
    TTrustState State = TTrustState::NotChecked;
    std::wstring Detail;
    // The system's answer (0 for Signed), for NotTrusted and catalog lookups.
    LONG Code = 0;
};

// Verifies the file at path, open as file with read access. May take long
// (it reads the whole file, perhaps twice): callers run it on a worker.
TTrustVerdict VerifyImageTrust(HANDLE file, const std::wstring& path);

// How a file's SHA-256 is computed: by the system's crypto provider where it
// has SHA-256 (XP SP3 and later), else by the program's own implementation.
enum class THashMethod : std::uint8_t { Best, SystemProvider, OwnCode };

// The SHA-256 of the whole file open as file (read access), read from its
// start. False, with digest untouched, when a read fails or the method asked
// for is not available.
bool Sha256OfFile(HANDLE file, std::array<std::uint8_t, 32>& digest, THashMethod method = THashMethod::Best);

}  // namespace orvex
