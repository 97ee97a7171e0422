#include <gtest/gtest.h>

#include <iterator>

#include "platform/pure/Orvex_VersionData.h"

using namespace orvex;

TEST(VersionData, TranslationKeyIsLanguageThenCodePage) {
    // Stored as the words 0x0409 (US English) and 0x04B0 (Unicode).
    EXPECT_EQ(TranslationKey(0x04B00409), "040904B0");
    EXPECT_EQ(TranslationKey(0x04E40407), "040704E4");
    EXPECT_EQ(TranslationKey(0x00000000), "00000000");
    EXPECT_EQ(TranslationKey(0xABCD1234), "1234ABCD");
    EXPECT_EQ(TranslationKey(0x000A0001), "0001000A");
}

TEST(VersionData, FixedVersionHalves) {
    TVersionInfo v;
    SetFixedVersions(v, 0x00010002, 0x00030004, 0x000A000B, 0xFFFF0000);
    EXPECT_EQ(v.Major, 1u);
    EXPECT_EQ(v.Minor, 2u);
    EXPECT_EQ(v.Release, 3u);
    EXPECT_EQ(v.Build, 4u);
    EXPECT_EQ(v.ProductMajor, 10u);
    EXPECT_EQ(v.ProductMinor, 11u);
    EXPECT_EQ(v.ProductRelease, 65535u);
    EXPECT_EQ(v.ProductBuild, 0u);
}

TEST(VersionData, StringPaths) {
    EXPECT_EQ(VersionStringPath("040904B0", "FileVersion"), "\\StringFileInfo\\040904B0\\FileVersion");
    // Without a translation table the key is empty.
    EXPECT_EQ(VersionStringPath("", "Comments"), "\\StringFileInfo\\\\Comments");
}

TEST(VersionData, EveryStringValueHasItsOwnField) {
    TVersionInfo v;
    for (const TVersionString& s : VersionStrings) v.*s.Field = s.ValueName;
    // Each value landed in a field of its own, none in FileName.
    for (const TVersionString& s : VersionStrings) EXPECT_EQ(v.*s.Field, s.ValueName);
    EXPECT_TRUE(v.FileName.empty());
    EXPECT_EQ(std::size(VersionStrings), 9u);
    EXPECT_EQ(v.FileVersion, "FileVersion");
    EXPECT_EQ(v.ProductName, "ProductName");
    EXPECT_EQ(v.CompanyName, "CompanyName");
    EXPECT_EQ(v.Comments, "Comments");
    EXPECT_EQ(v.InternalName, "InternalName");
    EXPECT_EQ(v.ProductVersion, "ProductVersion");
    EXPECT_EQ(v.Description, "FileDescription");
    EXPECT_EQ(v.Copyright, "LegalCopyright");
    EXPECT_EQ(v.SpecialBuild, "SpecialBuild");
}
