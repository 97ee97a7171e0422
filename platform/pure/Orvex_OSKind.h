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

// Display name of a kind: "Windows XP" for 11; empty for 0 and unknown kinds.
std::string OSKindName(std::uint8_t kind);

// Kind of the system with these version values; Build is the low 16 bits of
// the build number and CSD the service-pack text (trimmed here). Name gets
// the kind's display name; it is left as it was when the kind is 0.
// An NT version newer than 6 counts as the newest kind known, 14.
std::uint8_t DetectOSKind(std::uint32_t platform, std::uint32_t productType, std::uint32_t major,
                          std::uint32_t minor, std::uint32_t build, std::string_view csd, std::string& name);

// Whether a kind belongs to the NT family (drivers, handles and services can
// be listed): 1, 3 and 10 to 14.
bool IsNTKind(std::uint8_t kind) noexcept;

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
std::string EditionName(std::uint8_t kind, std::uint8_t edition, std::uint16_t suite);

// NT 4 reports SP6a as "Service Pack 6"; the hotfix Q246009 marks the "a".
// True when CSD is exactly "Service Pack 6" (the hotfix marker is worth reading).
bool HotfixRuleApplies(std::string_view csd) noexcept;
// CSD as corrected by the hotfix marker.
std::string ApplyHotfixRule(std::string_view csd, bool hotfixInstalled);


}  // namespace orvex
