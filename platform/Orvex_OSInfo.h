// Identification of the running Windows, computed once at program start, the
// computer name and the directory list for completing executable names.
#pragma once

#include <cstdint>
#include <string>

namespace orvex {

// Asks the platform for its version and fills every output: platform id,
// version numbers, the low 16 bits of the build number, the trimmed service
// pack text (corrected by the NT 4 SP6a hotfix marker), suite flags, edition
// code and the kind's display name. Returns the kind. A failed version query
// gives kind 0, zero numbers and empty texts. The version is GetVersionExA's;
// on the NT family the numbers, service pack, product type and suite of
// NTDLL's RtlGetVersion replace it where that routine exists (from Windows
// 2000 on), so that a system from Windows 8.1 on is not taken for the 6.2
// that GetVersionExA tells programs without a compatibility manifest.
std::uint8_t GetOSInfo(std::uint32_t& platform, std::uint32_t& major, std::uint32_t& minor, std::uint32_t& build,
                       std::string& csd, std::uint16_t& suite, std::uint8_t& edition, std::string& name);

// Whether HKLM\SOFTWARE\Microsoft\Windows NT\CurrentVersion\Hotfix\Q246009
// holds "Installed" = 1 (NT 4 Service Pack 6a).
bool IsHotfixQ246009Installed();

// The computer name: the registry's
// HKLM\SYSTEM\CurrentControlSet\Control\ComputerName\ComputerName value
// "ComputerName" when present, otherwise GetComputerNameA; empty when neither.
std::string ReadComputerName();

// "<Windows directory>;<system directory>;", the list searched to complete a
// bare executable name.
std::string WindowsSearchPath();
// The Windows directory ("C:\\Windows"); "" when it does not fit MAX_PATH.
std::string WindowsDirectory();

// The identification values of this run, computed before main() and
// constant afterwards.
std::uint8_t OSKind();
std::uint32_t OSPlatform();
std::uint32_t OSMajorVersion();
std::uint32_t OSMinorVersion();
std::uint32_t OSBuildNumber();
const std::string& OSCSD();
std::uint16_t OSSuite();
std::uint8_t OSEdition();
const std::string& OSName();
bool IsNT();
bool IsNT4();
// The computer name with a to z in upper case.
const std::string& MachineName();

}  // namespace orvex
