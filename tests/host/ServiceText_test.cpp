#include <gtest/gtest.h>

#include <string>

#include "engine/pure/OXI_ServiceText.h"

namespace {

using orvex::JoinDependencies;
using namespace std::string_literals;

TEST(ServiceDependencies, NamesAreJoinedByOneBlankWithoutTrailingBlank) {
    EXPECT_EQ(JoinDependencies("RpcSs\0LanmanWorkstation\0\0"s), "RpcSs LanmanWorkstation");
    EXPECT_EQ(JoinDependencies("Tcpip\0\0"s), "Tcpip");
    EXPECT_EQ(JoinDependencies("\0\0"s), "");
    EXPECT_EQ(JoinDependencies(""), "");
}

TEST(ServiceDependencies, BlanksSplitNamesAndGroupsKeepTheirPlusSign) {
    EXPECT_EQ(JoinDependencies("Plug Play\0\0"s), "Plug Play");
    EXPECT_EQ(JoinDependencies("A  B\0\0"s), "A B");
    EXPECT_EQ(JoinDependencies("+NetworkProvider\0Afd\0\0"s), "+NetworkProvider Afd");
}

TEST(ServiceDependencies, TheWalkStopsAtTheEndOfTheListAndAfter1025Characters) {
    EXPECT_EQ(JoinDependencies("A\0\0B\0\0"s), "A") << "names after the ending empty name are not read";
    const std::string longName(1030, 'x');
    EXPECT_EQ(JoinDependencies(longName + "\0\0"s), "") << "a word cut by the limit is not taken";
    const std::string list = std::string(1020, 'y') + "\0Z\0\0"s;
    EXPECT_EQ(JoinDependencies(list), std::string(1020, 'y') + " Z");
}

TEST(ServiceImagePath, EveryDoubleQuoteIsRemoved) {
    EXPECT_EQ(orvex::WithoutQuotes("\"C:\\Program Files\\x.exe\" -k \"a b\""), "C:\\Program Files\\x.exe -k a b");
    EXPECT_EQ(orvex::WithoutQuotes("plain.exe"), "plain.exe");
}

}  // namespace
