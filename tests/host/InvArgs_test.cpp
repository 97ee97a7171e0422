#include <gtest/gtest.h>

#include "console/pure/InvArgs.h"

#include <string>
#include <vector>

using namespace orvex::console;

namespace {

bool Parse(std::vector<std::string> args, TInvArgs& out, std::string* errorOut = nullptr) {
    std::string error;
    const bool ok = ParseInvArgs(args, out, error);
    EXPECT_EQ(ok, error.empty()) << error;
    if (errorOut) *errorOut = error;
    return ok;
}

}  // namespace

TEST(InvArgs, EveryCommandInItsForms) {
    TInvArgs a;
    ASSERT_TRUE(Parse({"save", "C:\\r\\x.ivs"}, a));
    EXPECT_EQ(a.Command, TInvCommand::Save);
    EXPECT_EQ(a.FileA, "C:\\r\\x.ivs");
    EXPECT_TRUE(a.Verify);
    ASSERT_TRUE(Parse({"save", "--No-Verify", "x.ivs"}, a));
    EXPECT_FALSE(a.Verify);
    EXPECT_EQ(a.FileA, "x.ivs");

    ASSERT_TRUE(Parse({"SHOW", "x.ivs"}, a));
    EXPECT_EQ(a.Command, TInvCommand::Show);
    EXPECT_EQ(a.Format, TInvFormat::Text);
    ASSERT_TRUE(Parse({"show", "x.ivs", "--json"}, a));
    EXPECT_EQ(a.Format, TInvFormat::Json);
    ASSERT_TRUE(Parse({"show", "--csv", "Drivers", "x.ivs"}, a));
    EXPECT_EQ(a.Format, TInvFormat::Csv);
    EXPECT_EQ(a.List, TInvList::Drivers);
    EXPECT_EQ(a.FileA, "x.ivs");
    ASSERT_TRUE(Parse({"show", "x.ivs", "--csv", "services"}, a));
    EXPECT_EQ(a.List, TInvList::Services);

    ASSERT_TRUE(Parse({"diff", "a.ivs", "b.ivs"}, a));
    EXPECT_EQ(a.Command, TInvCommand::Diff);
    EXPECT_EQ(a.FileA, "a.ivs");
    EXPECT_EQ(a.FileB, "b.ivs");
    EXPECT_EQ(a.Format, TInvFormat::Text);
    ASSERT_TRUE(Parse({"diff", "--json", "a.ivs", "b.ivs"}, a));
    EXPECT_EQ(a.Format, TInvFormat::Json);

    ASSERT_TRUE(Parse({"collect", "--json"}, a));
    EXPECT_EQ(a.Command, TInvCommand::Collect);
    EXPECT_EQ(a.Format, TInvFormat::Json);
    ASSERT_TRUE(Parse({"Collect", "--LINES"}, a));
    EXPECT_EQ(a.Format, TInvFormat::Lines);

    ASSERT_TRUE(Parse({"lines", "a.ivs", "\\\\srv\\inv\\*.ivs", "b.ivs"}, a));
    EXPECT_EQ(a.Command, TInvCommand::Lines);
    EXPECT_EQ(a.Files, (std::vector<std::string>{"a.ivs", "\\\\srv\\inv\\*.ivs", "b.ivs"}));
    EXPECT_TRUE(a.Baseline.empty());
    ASSERT_TRUE(Parse({"lines", "--diff", "base.ivs", "a.ivs"}, a));
    EXPECT_EQ(a.Baseline, "base.ivs");
    EXPECT_EQ(a.Files, (std::vector<std::string>{"a.ivs"}));
    ASSERT_TRUE(Parse({"lines", "a.ivs", "--Diff", "base.ivs"}, a));
    EXPECT_EQ(a.Baseline, "base.ivs");
}

TEST(InvArgs, RefusesWhatNoCommandTakes) {
    const std::vector<std::vector<std::string>> bad{
        {},
        {"list"},
        {"save"},
        {"save", "a.ivs", "b.ivs"},
        {"save", "a.ivs", "--json"},
        {"show", "a.ivs", "--no-verify"},
        {"collect", "--json", "--no-verify"},
        {"show"},
        {"show", "a.ivs", "--csv"},
        {"show", "a.ivs", "--csv", "windows"},
        {"show", "a.ivs", "--json", "--csv", "drivers"},
        {"show", "a.ivs", "--xml"},
        {"diff", "a.ivs"},
        {"diff", "a.ivs", "b.ivs", "c.ivs"},
        {"diff", "a.ivs", "b.ivs", "--csv", "processes"},
        {"collect"},
        {"collect", "--json", "x.ivs"},
        {"collect", "--json", "--lines"},
        {"collect", "--lines", "x.ivs"},
        {"show", "a.ivs", "--lines"},
        {"diff", "a.ivs", "b.ivs", "--lines"},
        {"lines"},
        {"lines", "--diff", "base.ivs"},
        {"lines", "a.ivs", "--diff"},
        {"lines", "a.ivs", "--diff", "b.ivs", "--diff", "c.ivs"},
        {"lines", "a.ivs", "--json"},
        {"lines", "a.ivs", "--csv", "processes"},
        {"diff", "a.ivs", "b.ivs", "--diff", "c.ivs"},
    };
    for (const auto& args : bad) {
        TInvArgs a;
        a.FileA = "untouched";
        std::string error;
        EXPECT_FALSE(Parse(args, a, &error)) << (args.empty() ? "(none)" : args[0]);
        EXPECT_FALSE(error.empty());
        EXPECT_EQ(a.FileA, "untouched");
    }
    TInvArgs a;
    std::string error;
    Parse({"show", "a.ivs", "--csv", "windows"}, a, &error);
    EXPECT_NE(error.find("windows"), std::string::npos) << error;
    EXPECT_NE(InvUsage().find("orvexinv diff A.ivs B.ivs [--json]"), std::string::npos);
    EXPECT_NE(InvUsage().find("orvexinv lines FILE.ivs... [--diff BASELINE.ivs]"), std::string::npos);
}
