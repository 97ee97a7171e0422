#include <gtest/gtest.h>

#include "app/pure/SvcDetailsRows.h"

using namespace orvex;
using Names = std::vector<std::string>;

TEST(ServiceDetailsRows, GeneralPage) {
    TServiceInfo s;
    s.Name = "Dhcp";
    s.DisplayName = "DHCP Client";
    s.ImageName = "C:\\windows\\system32\\svchost.exe -k netsvcs";
    s.ObjectName = "LocalSystem";
    s.Group = "TDI";
    s.Typ = 5;
    s.Status = 4;
    s.Startup = 2;
    s.ErrCtrl = 1;
    TVersionInfo v;
    v.Description = "Host Process";
    v.CompanyName = "Vendor";
    const TPropertyRows expected{
        HeadingRow("Description", "Host Process"),
        PlainRow("Version", ""),
        PlainRow("Product Name", ""),
        PlainRow("Company Name", "Vendor"),
        SeparatorRow(),
        HeadingRow("Service Name", "Dhcp"),
        PlainRow("Image Name", "C:\\windows\\system32\\svchost.exe -k netsvcs"),
        PlainRow("Log On As ", "LocalSystem"),
        PlainRow("Load Order Group", "TDI"),
        PlainRow("Type", "Shared Process"),
        SeparatorRow(),
        HeadingRow("Status", "Running"),
        PlainRow("Startup Mode", "Automatic"),
        PlainRow("Error Control", "Normal"),
    };
    EXPECT_EQ(ServiceGeneralRows(s, v), expected);
}

TEST(ServiceDetailsRows, ValuesOutsideTheNameTablesShowTheirNumber) {
    TServiceInfo s;
    s.Status = -1;  // state unknown
    s.Startup = 9;
    s.ErrCtrl = 3;
    s.Typ = 7;
    const TPropertyRows rows = ServiceGeneralRows(s, {});
    EXPECT_EQ(rows[9], PlainRow("Type", "Unknown (7)"));
    EXPECT_EQ(rows[11], HeadingRow("Status", "Unknown (-1)"));
    EXPECT_EQ(rows[12], PlainRow("Startup Mode", "Unknown (9)"));
    EXPECT_EQ(rows[13], PlainRow("Error Control", "Critical"));
    s.ErrCtrl = 2;
    EXPECT_EQ(ServiceGeneralRows(s, {})[13], PlainRow("Error Control", "Severe"));
}

TEST(ServiceNames, SplitAtBlanksAndCommas) {
    EXPECT_EQ(SplitServiceNames("Tcpip Afd"), (Names{"Tcpip", "Afd"}));
    EXPECT_EQ(SplitServiceNames("  RpcSs,,  +TDI ,LanmanWorkstation "), (Names{"RpcSs", "+TDI", "LanmanWorkstation"}));
    EXPECT_EQ(SplitServiceNames(""), Names{});
    EXPECT_EQ(SplitServiceNames(" , "), Names{});
    EXPECT_EQ(SplitServiceNames("a\tb\r\nc"), (Names{"a", "b", "c"}));
}

TEST(ServiceNames, QuotedNamesKeepTheirBlanks) {
    EXPECT_EQ(SplitServiceNames("\"My Service\" Other"), (Names{"My Service", "Other"}));
    EXPECT_EQ(SplitServiceNames("\"a, b\",c"), (Names{"a, b", "c"}));
    EXPECT_EQ(SplitServiceNames("\"say \"\"hi\"\"\""), (Names{"say \"hi\""}));
    EXPECT_EQ(SplitServiceNames("\"unterminated name"), (Names{"unterminated name"}));
}

TEST(ServiceNames, DependencyIsAWholeEntry) {
    EXPECT_TRUE(DependsOnService("Tcpip Afd", "tcpip"));
    EXPECT_TRUE(DependsOnService("RpcSs,Tcpip", "TCPIP"));
    // A longer name that contains the name is another service.
    EXPECT_FALSE(DependsOnService("Tcpip6", "Tcpip"));
    EXPECT_FALSE(DependsOnService("NetBT", "Net"));
    EXPECT_FALSE(DependsOnService("", ""));
    EXPECT_FALSE(DependsOnService("Tcpip", ""));
}
