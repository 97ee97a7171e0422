#include <gtest/gtest.h>

#include "app/pure/CompareRows.h"

namespace {

using orvex::app::CompareCaption;
using orvex::app::CompareSummary;
using orvex::app::CsvDocument;
using orvex::app::TCompareSide;

const TCompareSide Report{false, "C:\\reports\\base line.ivs", "ALPHA", "2026-12-08T10:15:00"};
const TCompareSide Live{true, "", "BETA", "2026-12-08T11:00:00"};

TEST(CompareRows, CaptionNamesTheReportsFileOnly) {
    EXPECT_EQ(CompareCaption("C:\\reports\\base line.ivs"), "Compare with base line.ivs");
    EXPECT_EQ(CompareCaption("D:x.ivs"), "Compare with x.ivs");
    EXPECT_EQ(CompareCaption("plain.ivs"), "Compare with plain.ivs");
}

TEST(CompareRows, SummaryNamesBothSidesAndCountsTheDifferences) {
    EXPECT_EQ(CompareSummary(Report, Live, 3),
              "Report base line.ivs (ALPHA, saved 2026-12-08 10:15:00) compared with live data of BETA: "
              "3 differences");
    EXPECT_EQ(CompareSummary(Report, Live, 1).substr(CompareSummary(Report, Live, 1).rfind(':')), ": 1 difference");
    EXPECT_EQ(CompareSummary(Report, Live, 0).substr(CompareSummary(Report, Live, 0).rfind(':')), ": no differences");
    // A report on both sides; live data first starts with a capital.
    const TCompareSide other{false, "\\\\share\\fleet\\gamma.ivs", "GAMMA", ""};
    EXPECT_EQ(CompareSummary(Report, other, 2),
              "Report base line.ivs (ALPHA, saved 2026-12-08 10:15:00) compared with report gamma.ivs (GAMMA): "
              "2 differences");
    EXPECT_EQ(CompareSummary(Live, Report, 0).rfind("Live data of BETA compared with report base line.ivs", 0), 0u);
    const TCompareSide nameless{false, "n.ivs", "", ""};
    EXPECT_EQ(CompareSummary(nameless, Live, 0),
              "Report n.ivs (unknown machine) compared with live data of BETA: "
              "no differences");
}

TEST(CompareRows, CsvDocumentStartsWithTheByteOrderMarkAndQuotesAsRfc4180) {
    EXPECT_EQ(CsvDocument({}), "\xEF\xBB\xBF");
    EXPECT_EQ(CsvDocument({{"Kind", "Key"}, {"service", "a, \"b\""}, {"x\r\ny", ""}}),
              "\xEF\xBB\xBF"
              "Kind,Key\r\nservice,\"a, \"\"b\"\"\"\r\n\"x\r\ny\",\r\n");
}

}  // namespace
