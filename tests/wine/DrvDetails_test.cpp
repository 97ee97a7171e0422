// The driver details dialog on the loaded kernel modules and on driver
// records as a loaded report holds them.
#include <gtest/gtest.h>

#include "app/DrvDetails.h"

#include <stdexcept>

#include "app/DrvDetailsLayout.h"
#include "app/pure/DetailsText.h"
#include "engine/OXI_Processes.h"
#include "platform/Orvex_VersionInfo.h"
#include "tests/wine/DetailsProbe.h"
#include "tests/wine/support/GuiDriver.h"
#include "tests/wine/support/Signing.h"
#include "tests/wine/support/TestMode.h"
#include "ui/Orvex_Application.h"
#include "ui/pure/Orvex_OwnerDraw.h"

namespace {

using orvex::test::ListRows;
using orvex::test::TDialogProbe;
using orvex::test::WindowText;
using Rows = std::vector<std::vector<std::string>>;
using Strings = std::vector<std::string>;

struct TShown {
    std::string Caption, Name;
    Strings Tabs;
    Rows General;
    std::vector<int> Images, Widths;
    HICON Icon = nullptr;
    bool OpenAfterProperties = false;
    std::vector<std::string> Others;
};

TShown Show(const orvex::TOrvex_ProcessList& list, int index, bool pressProperties, const char* screenshot = nullptr) {
    TShown s;
    TDialogProbe probe("Driver Details", [&](HWND d) {
        s.Caption = WindowText(d);
        s.Name = WindowText(GetDlgItem(d, orvex::IdDetailsName));
        s.Tabs = orvex::test::TabCaptions(GetDlgItem(d, orvex::IdDetailsPages));
        const HWND gen = GetDlgItem(d, orvex::IdDrvGenList);
        // The file's check answers on the dialog's job.
        orvex::test::WaitUntil([&] { return ListRows(gen).back()[1] != orvex::CheckingText; }, 30000);
        s.General = ListRows(gen);
        s.Widths = orvex::test::ListColumnWidths(gen);
        for (std::size_t i = 0; i < s.General.size(); ++i) s.Images.push_back(orvex::test::ListRowImage(gen, int(i)));
        s.Icon = orvex::test::ShownIcon(GetDlgItem(d, orvex::IdDetailsIcon));
        if (screenshot) orvex::test::SaveScreenshot(d, screenshot);
        if (pressProperties) {
            orvex::test::PostClick(d, orvex::IdDrvProperties);
            s.Others = orvex::test::CloseOtherDialogs("Driver Details", 2000);
            s.OpenAfterProperties = IsWindow(d) && IsWindowVisible(d);
        }
    });
    orvex::ShowDriverDetails(nullptr, list, index);
    EXPECT_TRUE(probe.Finish());
    return s;
}

TEST(DrvDetails, ALoadedKernelModule) {
    orvex::TOrvex_ProcessList list;
    list.RefreshData();
    ASSERT_GT(list.DriverCount(), 0);
    orvex::TDriverInfo driver;
    list.GetDriver(0, driver);
    orvex::TVersionInfo version;
    orvex::ReadVersionInfo(driver.Name, version);
    const TShown s = Show(list, 0, false, "driver_details");
    EXPECT_EQ(s.Caption, "Driver Details");
    EXPECT_EQ(s.Name, driver.Name.str());
    EXPECT_EQ(s.Tabs, (Strings{" General "}));
    EXPECT_EQ(s.Widths, (std::vector<int>{125, 270}));
    ASSERT_EQ(s.General.size(), 7u);
    EXPECT_EQ(Rows(s.General.begin(), s.General.begin() + 5), (Rows{{"Description", version.Description},
                                                                    {"Version", version.FileVersion},
                                                                    {"Product Name", version.ProductName},
                                                                    {"Company Name", version.CompanyName},
                                                                    {"", ""}}));
    EXPECT_EQ(s.General[5][0], "Signer");
    EXPECT_FALSE(s.General[5][1].empty());
    EXPECT_EQ(s.General[6][0], "SHA-256");
    EXPECT_EQ(s.Images, (std::vector<int>{orvex::rsHeading, 0, 0, 0, orvex::rsSeparator, 0, 0}));
    EXPECT_NE(s.Icon, nullptr);  // the driver picture
}

TEST(DrvDetails, VersionDataOfTheFileTheRecordNames) {
    orvex::TOrvex_ProcessList list;
    orvex::TDriverInfo withVersion;
    withVersion.Name = orvex::test::ExeDir() + "orvex_test_helper.exe";
    list.AddDriver(withVersion);
    orvex::TDriverInfo withoutFile;
    withoutFile.Name = "\\SystemRoot\\System32\\drivers\\orvex_no_such.sys";
    list.AddDriver(withoutFile);

    const TShown a = Show(list, 0, false);
    // The helper's file, checked: the unsigned helper's digest.
    EXPECT_EQ(a.General, (Rows{{"Description", "Orvex test helper"},
                               {"Version", "1.2.3.4-helper"},
                               {"Product Name", "Orvex Test Suite"},
                               {"Company Name", "Orvex Test Company"},
                               {"", ""},
                               {"Signer", "Unsigned"},
                               {"SHA-256", orvex::test::IndependentHashes()["orvex_helper_unsigned.exe"]}}));
    // A path the version reader cannot open: the captions with empty values.
    const TShown b = Show(list, 1, true);
    EXPECT_EQ(b.Name, withoutFile.Name.str());
    ASSERT_EQ(b.General.size(), 7u);
    EXPECT_EQ(Rows(b.General.begin(), b.General.begin() + 5),
              (Rows{{"Description", ""}, {"Version", ""}, {"Product Name", ""}, {"Company Name", ""}, {"", ""}}));
    EXPECT_TRUE(b.General[5][1].starts_with("Not checked: ")) << b.General[5][1];
    EXPECT_EQ(b.General[6][1], "");
    // "Properties..." asks the shell, which refuses; the dialog stays as it was.
    EXPECT_TRUE(b.OpenAfterProperties);
    EXPECT_FALSE(b.Others.empty());  // the shell's answer: its sheet, or (Wine) its refusal
}

TEST(DrvDetails, CloseButtonAndEscapeEndTheDialog) {
    orvex::TOrvex_ProcessList list;
    list.AddDriver(orvex::TDriverInfo{});
    for (UINT how : {0u, static_cast<UINT>(VK_ESCAPE)}) {
        bool ended = false;
        orvex::Tdlg_DrvDetails dialog(list, 0);
        TDialogProbe probe("Driver Details", [&](HWND d) {
            if (how == 0)
                orvex::test::PostClick(d, IDOK);
            else
                orvex::test::PostKey(GetDlgItem(d, IDOK), how);
            ended = orvex::test::WaitUntil([&] { return !IsWindow(d); }, 5000);
        });
        EXPECT_EQ(dialog.Execute(nullptr), IDOK);
        EXPECT_TRUE(probe.Finish());
        EXPECT_TRUE(ended) << how;
    }
}

// A details dialog that cannot show its item: the frame every details
// dialog shares ends it and hands the error on to the error report.
const orvex::TDetailsFormDecl FailingForm{"Failing Details", 200, 100, {}, {}, 0, 0};

class TFailingDetails : public orvex::TDetailsDialog {
public:
    TFailingDetails() : TDetailsDialog(FailingForm) {}

protected:
    void FormCreate() override { throw std::runtime_error("The item is gone."); }
    // A dialog left open ends by itself after a while, with a result of its
    // own, so that the test ends either way.
    INT_PTR DialogMessage(UINT msg, WPARAM wp, LPARAM lp) override {
        if (msg == WM_INITDIALOG) ::SetTimer(Handle(), 1, 5000, nullptr);
        if (msg == WM_TIMER) {
            ::KillTimer(Handle(), 1);
            ::EndDialog(Handle(), IDABORT);
            return TRUE;
        }
        return TDetailsDialog::DialogMessage(msg, wp, lp);
    }
};

TEST(DrvDetails, AFailureWhileShowingTheItemEndsTheDialogAndIsReported) {
    TFailingDetails dialog;
    orvex::test::TDialogAnswerer driver({orvex::test::Press(IDOK)});
    EXPECT_EQ(dialog.Execute(nullptr), IDCANCEL);
    ASSERT_TRUE(driver.Finish());
    const auto seen = driver.Seen();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].Text, "The item is gone.");
    EXPECT_EQ(seen[0].Title, orvex::ApplicationTitle());
}

}  // namespace
