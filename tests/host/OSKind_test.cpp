#include <gtest/gtest.h>

#include <utility>

#include "platform/pure/Orvex_OSKind.h"

using namespace orvex;

namespace {

constexpr std::uint32_t Win9x = 1;
constexpr std::uint32_t NT = 2;
constexpr std::uint32_t Workstation = 1, DomainController = 2, Server = 3;

struct TDetected {
    std::uint8_t kind;
    std::string name;
};

TDetected Detect(std::uint32_t platform, std::uint32_t product, std::uint32_t major, std::uint32_t minor,
                 std::uint32_t build = 0, std::string_view csd = "") {
    TDetected d{0, "unchanged"};
    d.kind = DetectOSKind(platform, product, major, minor, build, csd, d.name);
    return d;
}

}  // namespace

TEST(DetectOSKind, NTFamilyByVersion) {
    EXPECT_EQ(Detect(NT, Workstation, 3, 51).kind, osWinNT3);
    EXPECT_EQ(Detect(NT, Workstation, 3, 51).name, "Windows NT 3.x");
    EXPECT_EQ(Detect(NT, Workstation, 4, 0, 1381, "Service Pack 6").name, "Windows NT 4.x");
    EXPECT_EQ(Detect(NT, Server, 5, 0).kind, osWin2000);
    EXPECT_EQ(Detect(NT, Server, 5, 0).name, "Windows 2000");
    EXPECT_EQ(Detect(NT, Workstation, 5, 1).kind, osWinXP);
    EXPECT_EQ(Detect(NT, Workstation, 5, 1).name, "Windows XP");
    EXPECT_EQ(Detect(NT, Workstation, 5, 2).kind, osWinXP64);
    EXPECT_EQ(Detect(NT, Workstation, 5, 2).name, "Windows XP64");
    EXPECT_EQ(Detect(NT, Server, 5, 2).kind, osWinServer2003);
    EXPECT_EQ(Detect(NT, DomainController, 5, 2).name, "Windows Server 2003");
    EXPECT_EQ(Detect(NT, Workstation, 6, 0, 6002, "Service Pack 2").kind, osWinVista);
    EXPECT_EQ(Detect(NT, Workstation, 6, 0, 6002).name, "Windows Vista");
    // A minor version 5 does not know stays Windows 2000.
    EXPECT_EQ(Detect(NT, Workstation, 5, 3).kind, osWin2000);
}

TEST(DetectOSKind, Version6ByProductType) {
    struct {
        std::uint32_t minor, build;
        std::uint8_t workstation, server;
        const char *workstationName, *serverName;
    } const rows[] = {
        {0, 6002, osWinVista, osWinServer2008, "Windows Vista", "Windows Server 2008"},
        {1, 7601, osWin7, osWinServer2008R2, "Windows 7", "Windows Server 2008 R2"},
        {2, 9200, osWin8, osWinServer2012, "Windows 8", "Windows Server 2012"},
        {3, 9600, osWin81, osWinServer2012R2, "Windows 8.1", "Windows Server 2012 R2"},
    };
    for (const auto& r : rows) {
        EXPECT_EQ(Detect(NT, Workstation, 6, r.minor, r.build).kind, r.workstation) << r.minor;
        EXPECT_EQ(Detect(NT, Workstation, 6, r.minor, r.build).name, r.workstationName);
        EXPECT_EQ(Detect(NT, Server, 6, r.minor, r.build).kind, r.server) << r.minor;
        EXPECT_EQ(Detect(NT, Server, 6, r.minor, r.build).name, r.serverName);
        // A domain controller is a server; so is an unknown product type.
        EXPECT_EQ(Detect(NT, DomainController, 6, r.minor, r.build).kind, r.server) << r.minor;
        EXPECT_EQ(Detect(NT, 0, 6, r.minor, r.build).kind, r.server) << r.minor;
    }
    // The build does not matter within 6.x.
    EXPECT_EQ(Detect(NT, Workstation, 6, 1, 7600).kind, osWin7);
    EXPECT_EQ(Detect(NT, Server, 6, 0, 6001).kind, osWinServer2008);
    // A later minor version of 6 (the previews of 10 said 6.4) stays in 8.1.
    EXPECT_EQ(Detect(NT, Workstation, 6, 4, 9841).kind, osWin81);
    EXPECT_EQ(Detect(NT, Server, 6, 4, 9841).kind, osWinServer2012R2);
}

TEST(DetectOSKind, Version10WorkstationByBuild) {
    EXPECT_EQ(Detect(NT, Workstation, 10, 0, 10240).kind, osWin10);
    EXPECT_EQ(Detect(NT, Workstation, 10, 0, 19045).name, "Windows 10");
    EXPECT_EQ(Detect(NT, Workstation, 10, 0, 21999).kind, osWin10);
    EXPECT_EQ(Detect(NT, Workstation, 10, 0, 22000).kind, osWin11);
    EXPECT_EQ(Detect(NT, Workstation, 10, 0, 22000).name, "Windows 11");
    EXPECT_EQ(Detect(NT, Workstation, 10, 0, 26100).kind, osWin11);
    EXPECT_EQ(Detect(NT, Workstation, 10, 0, 65535).kind, osWin11);
}

TEST(DetectOSKind, Version10ServerByBuild) {
    EXPECT_EQ(Detect(NT, Server, 10, 0, 14393).kind, osWinServer2016);
    EXPECT_EQ(Detect(NT, Server, 10, 0, 14393).name, "Windows Server 2016");
    EXPECT_EQ(Detect(NT, Server, 10, 0, 17762).kind, osWinServer2016);
    EXPECT_EQ(Detect(NT, Server, 10, 0, 17763).kind, osWinServer2019);
    EXPECT_EQ(Detect(NT, DomainController, 10, 0, 17763).name, "Windows Server 2019");
    EXPECT_EQ(Detect(NT, Server, 10, 0, 20347).kind, osWinServer2019);
    EXPECT_EQ(Detect(NT, Server, 10, 0, 20348).kind, osWinServer2022);
    EXPECT_EQ(Detect(NT, Server, 10, 0, 20348).name, "Windows Server 2022");
    EXPECT_EQ(Detect(NT, Server, 10, 0, 26099).kind, osWinServer2022);
    EXPECT_EQ(Detect(NT, Server, 10, 0, 26100).kind, osWinServer2025);
    EXPECT_EQ(Detect(NT, Server, 10, 0, 26100).name, "Windows Server 2025");
    EXPECT_EQ(Detect(NT, Server, 10, 0, 30000).kind, osWinServer2025);
    // A Windows 11 build number on a server is still a server.
    EXPECT_EQ(Detect(NT, Server, 10, 0, 22000).kind, osWinServer2022);
}

TEST(DetectOSKind, FutureNTIsTheNewestOfItsLine) {
    for (auto [major, minor] : {std::pair{10u, 1u}, std::pair{11u, 0u}, std::pair{7u, 0u}, std::pair{12u, 5u}}) {
        EXPECT_EQ(Detect(NT, Workstation, major, minor, 100).kind, osWin11) << major << "." << minor;
        EXPECT_EQ(Detect(NT, Workstation, major, minor, 100).name, "Windows 11");
        EXPECT_EQ(Detect(NT, Server, major, minor, 100).kind, osWinServer2025) << major << "." << minor;
        EXPECT_EQ(Detect(NT, Server, major, minor, 100).name, "Windows Server 2025");
    }
}

TEST(DetectOSKind, UnknownVersionsKeepTheName) {
    EXPECT_EQ(Detect(NT, Workstation, 2, 0).kind, osUnknown);
    EXPECT_EQ(Detect(NT, Workstation, 2, 0).name, "unchanged");
    // A failed version query: everything 0.
    EXPECT_EQ(Detect(0, 0, 0, 0).kind, osUnknown);
    EXPECT_EQ(Detect(0, 0, 0, 0).name, "unchanged");
    EXPECT_EQ(Detect(Win9x, 0, 4, 20).kind, osUnknown);
    EXPECT_EQ(Detect(Win9x, 0, 5, 0).kind, osUnknown);
}

TEST(DetectOSKind, Windows95ByServicePackLetter) {
    EXPECT_EQ(Detect(Win9x, 0, 4, 0, 950, "").kind, osWin95);
    EXPECT_EQ(Detect(Win9x, 0, 4, 0, 950, "").name, "Windows 95");
    EXPECT_EQ(Detect(Win9x, 0, 4, 0, 950, "A").kind, osWin95OSR1);
    EXPECT_EQ(Detect(Win9x, 0, 4, 0, 1111, " B ").kind, osWin95OSR2);
    EXPECT_EQ(Detect(Win9x, 0, 4, 0, 1111, " B ").name, "Windows 95 OSR 2");
    EXPECT_EQ(Detect(Win9x, 0, 4, 0, 1212, "C").name, "Windows 95 OSR 2.5");
    EXPECT_EQ(Detect(Win9x, 0, 4, 0, 950, "b").kind, osWin95);  // letters are case-sensitive
    EXPECT_EQ(Detect(Win9x, 0, 4, 0, 950, "AB").kind, osWin95);
    // Platform 0 (Win32s) follows the same rules as the 9x family.
    EXPECT_EQ(Detect(0, 0, 4, 0, 950, "A").kind, osWin95OSR1);
}

TEST(DetectOSKind, Windows98AndMillennium) {
    EXPECT_EQ(Detect(Win9x, 0, 4, 10, 2222).kind, osWin98SE);
    EXPECT_EQ(Detect(Win9x, 0, 4, 10, 2222).name, "Windows 98 Second Edition");
    EXPECT_EQ(Detect(Win9x, 0, 4, 10, 1998).kind, osWin98);
    EXPECT_EQ(Detect(Win9x, 0, 4, 10, 1998).name, "Windows 98");
    EXPECT_EQ(Detect(Win9x, 0, 4, 90, 3000).kind, osWinME);
    EXPECT_EQ(Detect(Win9x, 0, 4, 90, 3000).name, "Windows Millenium Edition");
}

TEST(OSKindName, EveryKindNamedAndNoOther) {
    EXPECT_EQ(OSKindName(0), "");
    for (int k = 1; k <= osLastKind; ++k) EXPECT_FALSE(OSKindName(static_cast<std::uint8_t>(k)).empty()) << k;
    // Names are unique: a report shows which system it was saved on.
    for (int a = 1; a <= osLastKind; ++a)
        for (int b = a + 1; b <= osLastKind; ++b)
            EXPECT_NE(OSKindName(static_cast<std::uint8_t>(a)), OSKindName(static_cast<std::uint8_t>(b)))
                << a << " " << b;
    // The names of the first kinds are those older reports carry.
    EXPECT_EQ(OSKindName(osWinVista), "Windows Vista");
    EXPECT_EQ(OSKindName(osWinServer2003), "Windows Server 2003");
    EXPECT_EQ(OSKindName(osWinME), "Windows Millenium Edition");
    EXPECT_EQ(OSKindName(osLastKind + 1), "");
    EXPECT_EQ(OSKindName(255), "");
}

TEST(IsNTKind, NTFamilyKinds) {
    for (std::uint8_t k : {1, 3, 10, 11, 12, 13, 14}) EXPECT_TRUE(IsNTKind(k)) << int(k);
    for (int k = 15; k <= osLastKind; ++k) EXPECT_TRUE(IsNTKind(static_cast<std::uint8_t>(k))) << k;
    for (std::uint8_t k : {0, 2, 4, 5, 6, 7, 8, 9}) EXPECT_FALSE(IsNTKind(k)) << int(k);
    EXPECT_FALSE(IsNTKind(osLastKind + 1));
    EXPECT_FALSE(IsNTKind(255));
}

TEST(DetectEdition, FromProductType) {
    EXPECT_EQ(DetectEdition(NT, 4, Workstation, 0).Edition, edWorkstation);
    EXPECT_EQ(DetectEdition(NT, 4, DomainController, 0).Edition, edEnterprise);
    EXPECT_EQ(DetectEdition(NT, 4, Server, 0).Edition, edServer);
    EXPECT_EQ(DetectEdition(NT, 4, 0, 0).Edition, edNone);
    EXPECT_EQ(DetectEdition(NT, 4, 7, 0).Edition, edNone);
    // From Windows 2000 on a domain controller is a plain server.
    EXPECT_EQ(DetectEdition(NT, 5, DomainController, 0).Edition, edServer);
    EXPECT_EQ(EditionName(osWin2000, DetectEdition(NT, 5, DomainController, 0).Edition, 0), "Server");
}

TEST(DetectEdition, SuiteBitsOverrideInOrder) {
    EXPECT_EQ(DetectEdition(NT, 5, Server, 0x2).Edition, edEnterprise);
    EXPECT_EQ(DetectEdition(NT, 5, Server, 0x80).Edition, edDatacenter);
    EXPECT_EQ(DetectEdition(NT, 5, Server, 0x2 | 0x80).Edition, edDatacenter);
    EXPECT_EQ(DetectEdition(NT, 5, Server, 0x2 | 0x80 | 0x400).Edition, edWeb);
    EXPECT_EQ(DetectEdition(NT, 5, Workstation, 0x400).Edition, edWeb);
    EXPECT_EQ(DetectEdition(NT, 5, Workstation, 0x200).Edition, edWorkstation);
}

TEST(DetectEdition, SuiteKeepsTheLowTwelveBits) {
    EXPECT_EQ(DetectEdition(NT, 5, Workstation, 0xFFFF).Suite, 0x0FFF);
    EXPECT_EQ(DetectEdition(NT, 5, Workstation, 0x1000 | 0x10 | 0x100).Suite, 0x110);
    EXPECT_EQ(DetectEdition(NT, 6, Workstation, 0x300).Suite, 0x300);
}

TEST(DetectEdition, NothingOutsideNT) {
    const TOSEdition e = DetectEdition(Win9x, 4, Server, 0xFFFF);
    EXPECT_EQ(e.Edition, edNone);
    EXPECT_EQ(e.Suite, 0);
}

TEST(EditionName, NT3AndNT4) {
    for (std::uint8_t kind : {osWinNT3, osWinNT4}) {
        EXPECT_EQ(EditionName(kind, edWorkstation, 0), "Workstation");
        EXPECT_EQ(EditionName(kind, edServer, 0), "Server");
        EXPECT_EQ(EditionName(kind, edEnterprise, 0), "Enterprise Server");
        EXPECT_EQ(EditionName(kind, edDatacenter, 0), "");
        EXPECT_EQ(EditionName(kind, edNone, 0), "");
    }
}

TEST(EditionName, Windows2000) {
    EXPECT_EQ(EditionName(osWin2000, edWorkstation, 0), "Professional");
    EXPECT_EQ(EditionName(osWin2000, edServer, 0), "Server");
    EXPECT_EQ(EditionName(osWin2000, edEnterprise, 0), "Advanced Server");
    EXPECT_EQ(EditionName(osWin2000, edDatacenter, 0), "Datacenter Server");
    EXPECT_EQ(EditionName(osWin2000, edWeb, 0), "");
}

TEST(EditionName, XPByPersonalSuiteOnly) {
    for (std::uint8_t kind : {osWinXP, osWinXP64}) {
        EXPECT_EQ(EditionName(kind, edWorkstation, 0x200), "Home Edition");
        EXPECT_EQ(EditionName(kind, edWorkstation, 0), "Professional");
        EXPECT_EQ(EditionName(kind, edNone, 0x100), "Professional");
        EXPECT_EQ(EditionName(kind, edWeb, 0x200 | 0x400), "Home Edition");
    }
}

TEST(EditionName, Server2003) {
    EXPECT_EQ(EditionName(osWinServer2003, edServer, 0), "Standard Edition");
    EXPECT_EQ(EditionName(osWinServer2003, edEnterprise, 0), "Enterprise Edition");
    EXPECT_EQ(EditionName(osWinServer2003, edDatacenter, 0), "Datacenter Edition");
    EXPECT_EQ(EditionName(osWinServer2003, edWeb, 0), "Web Edition");
    EXPECT_EQ(EditionName(osWinServer2003, edWorkstation, 0), "");
}

TEST(EditionName, OtherKindsHaveNone) {
    EXPECT_EQ(EditionName(osWinVista, edWorkstation, 0x200), "");
    for (int k = osWinServer2008; k <= osLastKind; ++k) {
        EXPECT_EQ(EditionName(static_cast<std::uint8_t>(k), edWorkstation, 0x200), "") << k;
        EXPECT_EQ(EditionName(static_cast<std::uint8_t>(k), edDatacenter, 0x80), "") << k;
    }
    EXPECT_EQ(EditionName(osWinVista, edServer, 0), "");
    EXPECT_EQ(EditionName(osWin98SE, edWorkstation, 0), "");
    EXPECT_EQ(EditionName(osUnknown, edWorkstation, 0), "");
}

TEST(HotfixRule, OnlyTheExactServicePack6Text) {
    EXPECT_TRUE(HotfixRuleApplies("Service Pack 6"));
    EXPECT_EQ(ApplyHotfixRule("Service Pack 6", true), "Service Pack 6a");
    EXPECT_EQ(ApplyHotfixRule("Service Pack 6", false), "Service Pack 6");
    EXPECT_FALSE(HotfixRuleApplies("service pack 6"));
    EXPECT_EQ(ApplyHotfixRule("service pack 6", true), "service pack 6");
    EXPECT_EQ(ApplyHotfixRule("Service Pack 6a", true), "Service Pack 6a");
    EXPECT_EQ(ApplyHotfixRule("Service Pack 5", true), "Service Pack 5");
    EXPECT_EQ(ApplyHotfixRule("", true), "");
}

TEST(TrimText, BlanksAndControlCharacters) {
    EXPECT_EQ(TrimText("  Service Pack 3 \t"), "Service Pack 3");
    EXPECT_EQ(TrimText(" B "), "B");
    EXPECT_EQ(TrimText("\r\n"), "");
    EXPECT_EQ(TrimText(""), "");
    EXPECT_EQ(TrimText("a b"), "a b");
}

// Only systems that can be 64-bit ask whether this program runs in WoW64.
TEST(MayRunWow64, NeverOnSystemsThatAreNever64Bit) {
    for (std::uint8_t kind :
         {osWinNT3, osWin95, osWinNT4, osWin95OSR1, osWin95OSR2, osWin95OSR25, osWin98, osWin98SE, osWinME, osWin2000})
        EXPECT_FALSE(MayRunWow64(kind)) << OSKindName(kind);
    for (std::uint8_t kind = osWinXP; kind <= osLastKind; ++kind) EXPECT_TRUE(MayRunWow64(kind)) << OSKindName(kind);
    EXPECT_TRUE(MayRunWow64(osUnknown)) << "a system not identified may be anything";
}
