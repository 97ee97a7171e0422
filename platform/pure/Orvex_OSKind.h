// Identification of the running Windows from its version numbers: the
// operating-system kind with its display name, the edition and suite flags,
// and the service-pack correction for NT 4 SP6a.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/pure/Orvex_StrUtils.h"  // TrimText

namespace orvex {

// Operating-system kinds. 0 is "not identified".
enum : std::uint8_t {
    osUnknown = 0,
    osWinNT3 = 1,
    osWin95 = 2,
    osWinNT4 = 3,
    osWin95OSR1 = 4,
    osWin95OSR2 = 5,
    osWin95OSR25 = 6,
    osWin98 = 7,
    osWin98SE = 8,
    osWinME = 9,
    osWin2000 = 10,
    osWinXP = 11,
    osWinXP64 = 12,
    osWinServer2003 = 13,
    osWinVista = 14,
    // Kinds of the NT systems after Vista. 6.0 with a workstation product
    // type stays osWinVista; everything else of version 6.0 and newer is
    // told apart here by version, build and product type.
    osWinServer2008 = 15,
    osWin7 = 16,
    osWinServer2008R2 = 17,
    osWin8 = 18,
    osWinServer2012 = 19,
    osWin81 = 20,
    osWinServer2012R2 = 21,
    osWin10 = 22,
    osWinServer2016 = 23,
    osWinServer2019 = 24,
    osWinServer2022 = 25,
    osWin11 = 26,
    osWinServer2025 = 27,
    osLastKind = osWinServer2025,
};

// Edition codes (NT family only).
enum : std::uint8_t {
    edNone = 0,
    edWorkstation = 1,
    edServer = 2,
    edEnterprise = 3,
    edDatacenter = 4,
    edWeb = 5,
};

// Platform identifier of the NT family (VER_PLATFORM_WIN32_NT).
inline constexpr std::uint32_t PlatformNT = 2;

// Suite flags: the low twelve bits of the platform's suite mask.
inline constexpr std::uint16_t SuiteMaskBits = 0x0FFF;
inline constexpr std::uint16_t SuiteEnterprise = 0x0002;
inline constexpr std::uint16_t SuiteDatacenter = 0x0080;
inline constexpr std::uint16_t SuitePersonal = 0x0200;
inline constexpr std::uint16_t SuiteBlade = 0x0400;

// Display name of a kind: "Windows XP" for 11, "Windows 11" for osWin11;
// empty for 0 and unknown kinds.
std::string OSKindName(std::uint8_t kind);

// Kind of the system with these version values; Build is the low 16 bits of
// the build number and CSD the service-pack text (trimmed here). Name gets
// the kind's display name; it is left as it was when the kind is 0.
// On the NT family a product type of 1 is a workstation, any other a server:
//   6.0 Vista / Server 2008, 6.1 Windows 7 / Server 2008 R2,
//   6.2 Windows 8 / Server 2012, 6.3 (and later 6.x) Windows 8.1 / 2012 R2,
//   10.0 workstation: Windows 11 from build 22000, Windows 10 below;
//   10.0 server: 2016 below build 17763, 2019 below 20348, 2022 below 26100,
//   2025 from there on.
// Any other NT version from 7 on (10.1, 11.0, ...) counts as the newest kind
// of its product family, Windows 11 or Server 2025.
std::uint8_t DetectOSKind(std::uint32_t platform, std::uint32_t productType, std::uint32_t major, std::uint32_t minor,
                          std::uint32_t build, std::string_view csd, std::string& name);

// Whether a kind belongs to the NT family (drivers, handles and services can
// be listed): 1, 3 and 10 to osLastKind.
bool IsNTKind(std::uint8_t kind) noexcept;

// Whether a kind may be a 64-bit Windows that runs 32-bit programs in WoW64:
// XP and later, and a system that was not identified (0). The 9x family, NT 3
// and 4 and Windows 2000 never are.
bool MayRunWow64(std::uint8_t kind) noexcept;

struct TOSEdition {
    std::uint8_t Edition = edNone;
    std::uint16_t Suite = 0;
};

// Edition code and suite flags from the product type and the suite mask;
// both are zero outside the NT family.
TOSEdition DetectEdition(std::uint32_t platform, std::uint32_t major, std::uint32_t productType,
                         std::uint32_t suiteMask) noexcept;

// Display name of an edition for a kind ("Professional", "Web Edition");
// empty when the kind has no edition names or the edition is not named.
// Only kinds up to Server 2003 have edition names; Vista and every later
// kind give an empty text (their display names already say workstation or
// server, and the product line is not told by the suite bits any more).
std::string EditionName(std::uint8_t kind, std::uint8_t edition, std::uint16_t suite);

// NT 4 reports SP6a as "Service Pack 6"; the hotfix Q246009 marks the "a".
// True when CSD is exactly "Service Pack 6" (the hotfix marker is worth reading).
bool HotfixRuleApplies(std::string_view csd) noexcept;
// CSD as corrected by the hotfix marker.
std::string ApplyHotfixRule(std::string_view csd, bool hotfixInstalled);

}  // namespace orvex
