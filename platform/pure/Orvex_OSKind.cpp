#include "platform/pure/Orvex_OSKind.h"

#include <iterator>

namespace orvex {

namespace {

constexpr const char* KindNames[] = {
    "",
    "Windows NT 3.x",
    "Windows 95",
    "Windows NT 4.x",
    "Windows 95 OSR 1",
    "Windows 95 OSR 2",
    "Windows 95 OSR 2.5",
    "Windows 98",
    "Windows 98 Second Edition",
    "Windows Millenium Edition",
    "Windows 2000",
    "Windows XP",
    "Windows XP64",
    "Windows Server 2003",
    "Windows Vista",
    "Windows Server 2008",
    "Windows 7",
    "Windows Server 2008 R2",
    "Windows 8",
    "Windows Server 2012",
    "Windows 8.1",
    "Windows Server 2012 R2",
    "Windows 10",
    "Windows Server 2016",
    "Windows Server 2019",
    "Windows Server 2022",
    "Windows 11",
    "Windows Server 2025",
};
static_assert(std::size(KindNames) == osLastKind + 1);

constexpr std::uint32_t ProductWorkstation = 1;
constexpr std::uint32_t ProductDomainController = 2;
constexpr std::uint32_t ProductServer = 3;

// First builds of the 10.0 systems that the version numbers do not tell apart.
constexpr std::uint32_t BuildWin11 = 22000;
constexpr std::uint32_t BuildServer2019 = 17763;
constexpr std::uint32_t BuildServer2022 = 20348;
constexpr std::uint32_t BuildServer2025 = 26100;

std::uint8_t Version6Kind(bool workstation, std::uint32_t minor) {
    switch (minor) {
    case 0:
        return workstation ? osWinVista : osWinServer2008;
    case 1:
        return workstation ? osWin7 : osWinServer2008R2;
    case 2:
        return workstation ? osWin8 : osWinServer2012;
    default:
        return workstation ? osWin81 : osWinServer2012R2;
    }
}

std::uint8_t Version10Kind(bool workstation, std::uint32_t build) {
    if (workstation) return build >= BuildWin11 ? osWin11 : osWin10;
    if (build >= BuildServer2025) return osWinServer2025;
    if (build >= BuildServer2022) return osWinServer2022;
    if (build >= BuildServer2019) return osWinServer2019;
    return osWinServer2016;
}

std::uint8_t NTKind(std::uint32_t productType, std::uint32_t major, std::uint32_t minor, std::uint32_t build) {
    const bool workstation = productType == ProductWorkstation;
    switch (major) {
    case 3:
        return osWinNT3;
    case 4:
        return osWinNT4;
    case 5:
        if (minor == 1) return osWinXP;
        if (minor == 2) return productType == ProductWorkstation ? osWinXP64 : osWinServer2003;
        return osWin2000;
    case 6:
        return Version6Kind(workstation, minor);
    case 10:
        if (minor == 0) return Version10Kind(workstation, build);
        [[fallthrough]];
    default:
        // Systems newer than the table count as the newest kind of their line.
        if (major < 7) return osUnknown;
        return workstation ? osWin11 : osWinServer2025;
    }
}

std::uint8_t NonNTKind(std::uint32_t major, std::uint32_t minor, std::uint32_t build, std::string_view csd) {
    if (major != 4) return osUnknown;
    if (minor == 0) {
        const std::string letter = TrimText(csd);
        if (letter == "A") return osWin95OSR1;
        if (letter == "B") return osWin95OSR2;
        if (letter == "C") return osWin95OSR25;
        return osWin95;
    }
    if (minor == 10) return build == 2222 ? osWin98SE : osWin98;
    if (minor == 90) return osWinME;
    return osUnknown;
}

}  // namespace

std::string OSKindName(std::uint8_t kind) { return kind < std::size(KindNames) ? KindNames[kind] : ""; }

std::uint8_t DetectOSKind(std::uint32_t platform, std::uint32_t productType, std::uint32_t major, std::uint32_t minor,
                          std::uint32_t build, std::string_view csd, std::string& name) {
    const std::uint8_t kind = platform == PlatformNT ? NTKind(productType, major, minor, build)
                                                     : NonNTKind(major, minor, build, csd);
    if (kind != osUnknown) name = OSKindName(kind);
    return kind;
}

bool IsNTKind(std::uint8_t kind) noexcept {
    return kind == osWinNT3 || kind == osWinNT4 || (kind >= osWin2000 && kind <= osLastKind);
}

bool MayRunWow64(std::uint8_t kind) noexcept { return kind == osUnknown || (kind >= osWinXP && kind <= osLastKind); }

TOSEdition DetectEdition(std::uint32_t platform, std::uint32_t major, std::uint32_t productType,
                         std::uint32_t suiteMask) noexcept {
    TOSEdition r;
    if (platform != PlatformNT) return r;
    switch (productType) {
    case ProductWorkstation:
        r.Edition = edWorkstation;
        break;
    case ProductDomainController:
        r.Edition = edEnterprise;
        break;
    case ProductServer:
        r.Edition = edServer;
        break;
    default:
        break;
    }
    if (major >= 5 && productType == ProductDomainController) r.Edition = edServer;
    r.Suite = static_cast<std::uint16_t>(suiteMask & SuiteMaskBits);
    // Tested in this order: the last suite found wins.
    if (r.Suite & SuiteEnterprise) r.Edition = edEnterprise;
    if (r.Suite & SuiteDatacenter) r.Edition = edDatacenter;
    if (r.Suite & SuiteBlade) r.Edition = edWeb;
    return r;
}

std::string EditionName(std::uint8_t kind, std::uint8_t edition, std::uint16_t suite) {
    switch (kind) {
    case osWinNT3:
    case osWinNT4:
        switch (edition) {
        case edWorkstation:
            return "Workstation";
        case edServer:
            return "Server";
        case edEnterprise:
            return "Enterprise Server";
        default:
            return "";
        }
    case osWin2000:
        switch (edition) {
        case edWorkstation:
            return "Professional";
        case edServer:
            return "Server";
        case edEnterprise:
            return "Advanced Server";
        case edDatacenter:
            return "Datacenter Server";
        default:
            return "";
        }
    case osWinXP:
    case osWinXP64:
        return (suite & SuitePersonal) ? "Home Edition" : "Professional";
    case osWinServer2003:
        switch (edition) {
        case edServer:
            return "Standard Edition";
        case edEnterprise:
            return "Enterprise Edition";
        case edDatacenter:
            return "Datacenter Edition";
        case edWeb:
            return "Web Edition";
        default:
            return "";
        }
    default:
        return "";
    }
}

bool HotfixRuleApplies(std::string_view csd) noexcept { return csd == "Service Pack 6"; }

std::string ApplyHotfixRule(std::string_view csd, bool hotfixInstalled) {
    if (HotfixRuleApplies(csd) && hotfixInstalled) return "Service Pack 6a";
    return std::string(csd);
}

}  // namespace orvex
