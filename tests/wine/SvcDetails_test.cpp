// The service details dialog: the test service as the service manager holds
// it, and dependency trees that grow as their nodes are expanded. Wine's
// manager reports no dependency lists, so the trees are grown on records as
// a loaded report holds them.
#include <gtest/gtest.h>

#include "app/SvcDetails.h"

#include <algorithm>

#include "app/SvcDetailsLayout.h"
#include "app/pure/DetailsText.h"
#include "engine/OXI_Processes.h"
#include "platform/Orvex_AdvAPI.h"
#include "platform/Orvex_Services.h"
#include "tests/wine/DetailsProbe.h"
#include "tests/wine/support/GuiDriver.h"
#include "tests/wine/support/TestService.h"
#include "ui/pure/Orvex_OwnerDraw.h"

namespace {

using orvex::test::ListRows;
using orvex::test::TDialogProbe;
using orvex::test::TTreeNodeView;
using orvex::test::WindowText;
using Rows = std::vector<std::vector<std::string>>;
using Strings = std::vector<std::string>;

std::string Value(const Rows& rows, const std::string& caption) {
    for (const auto& r : rows)
        if (!r.empty() && r[0] == caption) return r.size() > 1 ? r[1] : "";
    return "<none>";
}

// Text and depth of every node.
std::vector<std::pair<std::string, int>> Shape(const std::vector<TTreeNodeView>& nodes) {
    std::vector<std::pair<std::string, int>> shape;
    for (const auto& n : nodes) shape.emplace_back(n.Text, n.Depth);
    return shape;
}

const TTreeNodeView* Node(const std::vector<TTreeNodeView>& nodes, const std::string& text) {
    for (const auto& n : nodes)
        if (n.Text == text) return &n;
    return nullptr;
}

TEST(SvcDetails, TheTestServiceAsTheManagerHoldsIt) {
    orvex::test::TInstalledTestService service("_details");
    ASSERT_TRUE(service.installed()) << service.error();
    orvex::TOrvex_ProcessList list;
    list.RefreshData();
    const int index = list.FindService(service.key());
    ASSERT_GE(index, 0);
    orvex::TServiceInfo record;
    list.GetService(index, record);

    std::string caption, name;
    Strings tabs, texts;
    Rows general;
    std::vector<int> images, widths;
    std::vector<TTreeNodeView> dep1, dep2;
    HICON icon = nullptr;
    TDialogProbe probe("Service Details", [&](HWND d) {
        caption = WindowText(d);
        name = WindowText(GetDlgItem(d, orvex::IdDetailsName));
        tabs = orvex::test::TabCaptions(GetDlgItem(d, orvex::IdDetailsPages));
        const HWND gen = GetDlgItem(d, orvex::IdSvcGenList);
        // The service program's check answers on the dialog's job.
        orvex::test::WaitUntil([&] { return ListRows(gen).back()[1] != orvex::CheckingText; }, 30000);
        general = ListRows(gen);
        widths = orvex::test::ListColumnWidths(gen);
        for (std::size_t i = 0; i < general.size(); ++i) images.push_back(orvex::test::ListRowImage(gen, int(i)));
        for (int id : {orvex::IdSvcDepText, orvex::IdSvcDep1Label, orvex::IdSvcDep2Label})
            texts.push_back(WindowText(GetDlgItem(d, id)));
        dep1 = orvex::test::TreeNodes(GetDlgItem(d, orvex::IdSvcDep1Tree));
        dep2 = orvex::test::TreeNodes(GetDlgItem(d, orvex::IdSvcDep2Tree));
        icon = orvex::test::ShownIcon(GetDlgItem(d, orvex::IdDetailsIcon));
        orvex::test::SaveScreenshot(d, "service_details_general");
    });
    orvex::ShowServiceDetails(nullptr, list, index);
    ASSERT_TRUE(probe.Finish());

    EXPECT_EQ(caption, "Service Details");
    EXPECT_EQ(name, service.display());
    EXPECT_EQ(tabs, (Strings{" General ", " Dependencies "}));
    EXPECT_EQ(widths, (std::vector<int>{150, 200}));
    EXPECT_NE(icon, nullptr);  // a command line names no file: the service picture
    ASSERT_EQ(general.size(), 17u);
    Strings captions;
    for (const auto& r : general) captions.push_back(r[0]);
    EXPECT_EQ(captions, (Strings{"Description", "Version", "Product Name", "Company Name", "", "Service Name",
                                 "Image Name", "Log On As ", "Load Order Group", "Type", "", "Status", "Startup Mode",
                                 "Error Control", "", "Signer", "SHA-256"}));
    EXPECT_EQ(images, (std::vector<int>{orvex::rsHeading, 0, 0, 0, orvex::rsSeparator, orvex::rsHeading, 0, 0, 0, 0,
                                        orvex::rsSeparator, orvex::rsHeading, 0, 0, orvex::rsSeparator, 0, 0}));
    // The program the command line starts (its arguments cut off), checked.
    EXPECT_EQ(Value(general, "Signer"), "Unsigned");
    EXPECT_EQ(Value(general, "SHA-256").size(), 64u);
    EXPECT_EQ(Value(general, "Description"), "");  // the path has arguments: no version data
    EXPECT_EQ(Value(general, "Service Name"), service.key());
    EXPECT_EQ(Value(general, "Image Name"), record.ImageName.str());
    EXPECT_EQ(Value(general, "Log On As "), "LocalSystem");
    EXPECT_EQ(Value(general, "Type"), "Own Process");
    EXPECT_EQ(Value(general, "Status"), "Stopped");
    EXPECT_EQ(Value(general, "Startup Mode"), "Manual");
    EXPECT_EQ(Value(general, "Error Control"), "Normal");
    EXPECT_EQ(texts, (Strings{"Some services depend on other services. If a service is stopped or is not running "
                              "properly, dependent service can be affected.",
                              "This service depends on  these services:", "These services depend on this service:"}));
    // What the manager reported: PlugPlay on Windows, nothing on Wine.
    Strings expected1;
    if (!record.DependOnService.empty()) expected1.push_back(list.GetServiceDisplayName("PlugPlay"));
    Strings shown1;
    for (const auto& n : dep1) shown1.push_back(n.Text);
    EXPECT_EQ(shown1, expected1);
    EXPECT_TRUE(dep2.empty());
}

TEST(SvcDetails, RunningServiceShowsRunning) {
    orvex::test::TInstalledTestService service("_running");
    ASSERT_TRUE(service.installed()) << service.error();
    ASSERT_TRUE(orvex::BindServiceControl());
    ASSERT_TRUE(orvex::StartNamedService("", service.key(), ""));
    orvex::TOrvex_ProcessList list;
    list.RefreshData();
    const int index = list.FindService(service.key());
    ASSERT_GE(index, 0);
    Rows general;
    TDialogProbe probe("Service Details", [&](HWND d) { general = ListRows(GetDlgItem(d, orvex::IdSvcGenList)); });
    orvex::ShowServiceDetails(nullptr, list, index);
    ASSERT_TRUE(probe.Finish());
    EXPECT_EQ(Value(general, "Status"), "Running");
    EXPECT_TRUE(orvex::StopNamedService("", service.key()));
}

orvex::TServiceInfo Service(const char* key, const char* display, const char* dependOn) {
    orvex::TServiceInfo s;
    s.Name = key;
    s.DisplayName = display;
    s.DependOnService = dependOn;
    s.ImageName = "C:\\no such dir\\svc.exe";
    s.Status = 1;
    s.Startup = 3;
    s.Typ = 5;
    return s;
}

class SvcDetailsTrees : public ::testing::Test {
protected:
    void SetUp() override {
        // Alpha -> Beta -> Gamma; Delta -> Alpha; Eta -> Gamma, Beta;
        // Zeta names "SvcBX", which contains Beta's key but is no service.
        for (const auto& s :
             {Service("SvcA", "Alpha Service", "SvcB +NetworkProvider"), Service("SvcB", "Beta Service", "SvcC"),
              Service("SvcC", "Gamma Service", ""), Service("SvcD", "Delta Service", "SvcA"),
              Service("SvcE", "Eta Service", "SvcC SvcB"), Service("SvcZ", "Zeta Service", "SvcBX")})
            list.AddService(s);
    }
    orvex::TOrvex_ProcessList list;
};

TEST_F(SvcDetailsTrees, BothTreesGrowOncePerNode) {
    std::vector<TTreeNodeView> dep1Start, dep1Grown, dep1Again, dep2Start, dep2Grown;
    TDialogProbe probe("Service Details", [&](HWND d) {
        orvex::test::SelectTab(d, GetDlgItem(d, orvex::IdDetailsPages), " Dependencies ");
        const HWND dep1 = GetDlgItem(d, orvex::IdSvcDep1Tree);
        const HWND dep2 = GetDlgItem(d, orvex::IdSvcDep2Tree);
        dep1Start = orvex::test::TreeNodes(dep1);
        dep2Start = orvex::test::TreeNodes(dep2);
        if (dep1Start.size() != 1 || dep2Start.size() != 1) return;
        orvex::test::ExpandByKey(dep1, dep1Start[0].Item);  // Beta: Gamma under it
        const auto beta = orvex::test::TreeNodes(dep1);
        if (beta.size() != 2) return;
        orvex::test::ExpandByKey(dep1, beta[1].Item);  // Gamma depends on nothing
        dep1Grown = orvex::test::TreeNodes(dep1);
        orvex::test::CollapseByKey(dep1, beta[0].Item);
        orvex::test::ExpandByKey(dep1, beta[0].Item);  // a second expansion adds nothing
        dep1Again = orvex::test::TreeNodes(dep1);
        orvex::test::ExpandByKey(dep2, dep2Start[0].Item);  // nothing depends on Delta
        dep2Grown = orvex::test::TreeNodes(dep2);
        orvex::test::SaveScreenshot(d, "service_details_dependencies");
    });
    orvex::ShowServiceDetails(nullptr, list, 0);
    ASSERT_TRUE(probe.Finish());

    using Shape_t = std::vector<std::pair<std::string, int>>;
    // The load-order group is no service and is left out.
    EXPECT_EQ(Shape(dep1Start), (Shape_t{{"Beta Service", 0}}));
    ASSERT_FALSE(dep1Start.empty());
    EXPECT_EQ(dep1Start[0].ChildrenMark, 1);
    EXPECT_EQ(dep1Start[0].Image, 0);
    EXPECT_EQ(Shape(dep1Grown), (Shape_t{{"Beta Service", 0}, {"Gamma Service", 1}}));
    ASSERT_EQ(dep1Grown.size(), 2u);
    EXPECT_EQ(dep1Grown[0].ChildrenMark, 1);
    EXPECT_EQ(dep1Grown[1].ChildrenMark, 0);  // lost its expansion button
    EXPECT_EQ(Shape(dep1Again), Shape(dep1Grown));
    EXPECT_EQ(Shape(dep2Start), (Shape_t{{"Delta Service", 0}}));
    ASSERT_EQ(dep2Grown.size(), 1u);
    EXPECT_EQ(dep2Grown[0].ChildrenMark, 0);
}

TEST_F(SvcDetailsTrees, DependentsAreWholeEntriesAndGrowUpwards) {
    std::vector<TTreeNodeView> dep2Start, dep2Grown;
    TDialogProbe probe("Service Details", [&](HWND d) {
        const HWND dep2 = GetDlgItem(d, orvex::IdSvcDep2Tree);
        dep2Start = orvex::test::TreeNodes(dep2);
        if (const TTreeNodeView* alpha = Node(dep2Start, "Alpha Service")) orvex::test::ExpandByKey(dep2, alpha->Item);
        dep2Grown = orvex::test::TreeNodes(dep2);
    });
    orvex::ShowServiceDetails(nullptr, list, 1);  // Beta
    ASSERT_TRUE(probe.Finish());
    using Shape_t = std::vector<std::pair<std::string, int>>;
    // Sorted by text; Zeta's "SvcBX" is another name, not Beta's.
    EXPECT_EQ(Shape(dep2Start), (Shape_t{{"Alpha Service", 0}, {"Eta Service", 0}}));
    EXPECT_EQ(Shape(dep2Grown), (Shape_t{{"Alpha Service", 0}, {"Delta Service", 1}, {"Eta Service", 0}}));
}

TEST_F(SvcDetailsTrees, FirstTreeIsSortedByText) {
    std::vector<TTreeNodeView> dep1;
    Rows general;
    TDialogProbe probe("Service Details", [&](HWND d) {
        dep1 = orvex::test::TreeNodes(GetDlgItem(d, orvex::IdSvcDep1Tree));
        general = ListRows(GetDlgItem(d, orvex::IdSvcGenList));
    });
    orvex::ShowServiceDetails(nullptr, list, 4);  // Eta: "SvcC SvcB"
    ASSERT_TRUE(probe.Finish());
    using Shape_t = std::vector<std::pair<std::string, int>>;
    EXPECT_EQ(Shape(dep1), (Shape_t{{"Beta Service", 0}, {"Gamma Service", 0}}));
    EXPECT_EQ(Value(general, "Type"), "Shared Process");
    EXPECT_EQ(Value(general, "Startup Mode"), "Manual");
}

TEST_F(SvcDetailsTrees, ServiceWithoutDependenciesHasEmptyTrees) {
    list.AddService(Service("SvcL", "Lonely Service", ""));
    std::size_t dep1 = 99, dep2 = 99;
    TDialogProbe probe("Service Details", [&](HWND d) {
        dep1 = orvex::test::TreeNodes(GetDlgItem(d, orvex::IdSvcDep1Tree)).size();
        dep2 = orvex::test::TreeNodes(GetDlgItem(d, orvex::IdSvcDep2Tree)).size();
    });
    orvex::ShowServiceDetails(nullptr, list, list.ServiceCount() - 1);
    ASSERT_TRUE(probe.Finish());
    EXPECT_EQ(dep1, 0u);
    EXPECT_EQ(dep2, 0u);
}

}  // namespace
