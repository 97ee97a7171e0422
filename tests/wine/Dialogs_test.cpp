// The message boxes, the input box and the shell's properties sheet, shown
// for real and answered by a driver thread.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "tests/wine/support/GuiDriver.h"
#include "ui/Orvex_Dialogs.h"

namespace {

using orvex::test::Press;
using orvex::test::TDialogAnswerer;
using orvex::test::TypeAndPress;

bool Has(const std::vector<int>& ids, int id) { return std::find(ids.begin(), ids.end(), id) != ids.end(); }

TEST(MessageBoxes, ConfirmationYesWithDefaultTitle) {
    TDialogAnswerer driver({Press(IDYES)});
    EXPECT_TRUE(orvex::AskConfirmation("Start the thing?"));
    ASSERT_TRUE(driver.Finish());
    const auto seen = driver.Seen().at(0);
    EXPECT_EQ(seen.Title, "Confirmation");
    EXPECT_EQ(seen.Text, "Start the thing?");
    EXPECT_EQ(seen.Owner, nullptr);
    EXPECT_TRUE(Has(seen.ButtonIds, IDYES));
    EXPECT_TRUE(Has(seen.ButtonIds, IDNO));
    EXPECT_FALSE(Has(seen.ButtonIds, IDOK));
}

TEST(MessageBoxes, ConfirmationNoWithOwnTitle) {
    TDialogAnswerer driver({Press(IDNO)});
    EXPECT_FALSE(orvex::AskConfirmation("Really?", "Own title"));
    ASSERT_TRUE(driver.Finish());
    EXPECT_EQ(driver.Seen().at(0).Title, "Own title");
}

TEST(MessageBoxes, WarningQuestionAnswers) {
    {
        TDialogAnswerer driver({Press(IDYES)});
        EXPECT_TRUE(orvex::AskWarning("Dangerous.\r\nGo on?"));
        ASSERT_TRUE(driver.Finish());
        const auto seen = driver.Seen().at(0);
        EXPECT_EQ(seen.Title, "Warning");
        EXPECT_NE(seen.Text.find("Go on?"), std::string::npos);
        EXPECT_TRUE(Has(seen.ButtonIds, IDNO));
    }
    {
        TDialogAnswerer driver({Press(IDNO)});
        EXPECT_FALSE(orvex::AskWarning("Dangerous."));
        ASSERT_TRUE(driver.Finish());
    }
}

TEST(MessageBoxes, WarningHasOnlyOk) {
    TDialogAnswerer driver({Press(IDOK)});
    orvex::ShowWarning("Cannot do it.");
    ASSERT_TRUE(driver.Finish());
    const auto seen = driver.Seen().at(0);
    EXPECT_EQ(seen.Title, "Warning");
    EXPECT_EQ(seen.Text, "Cannot do it.");
    EXPECT_EQ(seen.ButtonIds, std::vector<int>{IDOK});
}

TEST(InputBox, ReturnsTheTypedText) {
    TDialogAnswerer driver({TypeAndPress("-x \"two words\"", IDOK, orvex::InputQueryEditId)});
    std::string value;
    EXPECT_TRUE(orvex::InputQuery(nullptr, "Some Service", "Parameters", value));
    ASSERT_TRUE(driver.Finish());
    EXPECT_EQ(value, "-x \"two words\"");
    const auto seen = driver.Seen().at(0);
    EXPECT_EQ(seen.Title, "Some Service");
    EXPECT_EQ(seen.Text, "Parameters");
    EXPECT_TRUE(Has(seen.ButtonIds, IDOK));
    EXPECT_TRUE(Has(seen.ButtonIds, IDCANCEL));
}

TEST(InputBox, StartsWithTheGivenValue) {
    TDialogAnswerer driver({Press(IDOK)});
    std::string value = "preset";
    EXPECT_TRUE(orvex::InputQuery(nullptr, "Caption", "Prompt", value));
    ASSERT_TRUE(driver.Finish());
    EXPECT_EQ(value, "preset");
}

TEST(InputBox, CancelKeepsTheValue) {
    TDialogAnswerer driver({TypeAndPress("typed", IDCANCEL)});
    std::string value = "before";
    EXPECT_FALSE(orvex::InputQuery(nullptr, "Caption", "Prompt", value));
    ASSERT_TRUE(driver.Finish());
    EXPECT_EQ(value, "before");
}

// Wine's shell rejects the "properties" verb of the extended shell execute
// for every file (invalid parameter), so only the refusal can be seen here.
TEST(FileProperties, RefusalIsReportedAsFalse) {
    TDialogAnswerer driver({Press(IDOK)}, orvex::test::AnyThread, 1500);  // closes an error box, if any
    EXPECT_FALSE(orvex::ShowFileProperties(nullptr, "C:\\no such dir\\no such file.exe"));
}

}  // namespace
