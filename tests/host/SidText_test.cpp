#include <gtest/gtest.h>

#include <vector>

#include "platform/pure/Orvex_SidText.h"

using namespace orvex;

namespace {
std::string Sid(TSidAuthority authority, std::vector<std::uint32_t> subs, std::uint8_t revision = 1) {
    return SidText(revision, authority, subs);
}
constexpr TSidAuthority NtAuthority{0, 0, 0, 0, 0, 5};
}  // namespace

TEST(SidText, WellKnownSids) {
    EXPECT_EQ(Sid({0, 0, 0, 0, 0, 1}, {0}), "S-1-1-0");
    EXPECT_EQ(Sid(NtAuthority, {18}), "S-1-5-18");
    EXPECT_EQ(Sid(NtAuthority, {32, 544}), "S-1-5-32-544");
    EXPECT_EQ(Sid({0, 0, 0, 0, 0, 16}, {12288}), "S-1-16-12288");
    EXPECT_EQ(Sid({0, 0, 0, 0, 0, 0}, {0}), "S-1-0-0");
}

TEST(SidText, NoSubAuthorities) { EXPECT_EQ(Sid(NtAuthority, {}), "S-1-5"); }

TEST(SidText, LargeSubAuthoritiesAreUnsigned) {
    EXPECT_EQ(Sid(NtAuthority, {21, 2147483648u, 4294967295u, 3000000000u, 1001}),
              "S-1-5-21-2147483648-4294967295-3000000000-1001");
    EXPECT_EQ(Sid(NtAuthority, {5, 0, 12345678}), "S-1-5-5-0-12345678");
}

TEST(SidText, AuthorityIsOneNumber) {
    // Authorities spread over several bytes are one 48-bit value.
    EXPECT_EQ(Sid({0, 0, 0, 0, 1, 0}, {7}), "S-1-256-7");
    EXPECT_EQ(Sid({0, 0, 0x12, 0x34, 0x56, 0x78}, {}), "S-1-305419896");
    EXPECT_EQ(Sid({0, 0, 0xFF, 0xFF, 0xFF, 0xFF}, {}), "S-1-4294967295");
    // Beyond 32 bits it is written in hexadecimal.
    EXPECT_EQ(Sid({0, 1, 0, 0, 0, 0}, {1}), "S-1-0x000100000000-1");
    EXPECT_EQ(Sid({0xAB, 0xCD, 0, 0, 0, 5}, {}), "S-1-0xABCD00000005");
}

TEST(SidText, RevisionIsWritten) { EXPECT_EQ(Sid(NtAuthority, {18}, 2), "S-2-5-18"); }
