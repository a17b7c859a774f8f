#include <gtest/gtest.h>

#include "common/keys_file.h"
#include "common/scancodes.h"

namespace {

TEST(KeysFile, ReadsHexCodesAndQuotedDescriptions) {
    const auto result = common::ParseKeyNames(
        "C8,Up Arrow\r\n33,\"Comma (,)\"\r\n  1c , Enter  \r\n39,\"Space\"\n", "keys.txt");
    std::vector<std::pair<int, std::string>> read;
    for (const auto& name : result.names) {
        read.emplace_back(name.scanCode, name.description);
    }
    EXPECT_EQ(read, (std::vector<std::pair<int, std::string>>{
                        {200, "Up Arrow"}, {0x33, "Comma (,)"}, {28, "Enter"}, {57, "Space"}}));
    EXPECT_TRUE(result.warnings.empty());
}

TEST(KeysFile, DamagedLinesAreSkippedAndDuplicatesKeepTheFirst) {
    const auto result = common::ParseKeyNames(
        "C8,Up Arrow\nzz,Bad\nC8,Other\n100,Too big\nno comma\n\n39,Space", "keys.txt");
    ASSERT_EQ(result.names.size(), 2u);
    EXPECT_EQ(result.names[0].description, "Up Arrow");
    EXPECT_EQ(result.names[1].scanCode, 57);
    ASSERT_EQ(result.warnings.size(), 4u);
    EXPECT_NE(result.warnings[0].find("keys.txt: line 2"), std::string::npos);
}

TEST(KeysFile, TableRoundTripsThroughTheFileFormat) {
    const auto names = common::KeyNamesFromScanCodeTable();
    const auto result = common::ParseKeyNames(common::FormatKeyNames(names), "keys.txt");
    ASSERT_EQ(result.names.size(), names.size());
    for (std::size_t i = 0; i < names.size(); ++i) {
        EXPECT_EQ(result.names[i].scanCode, names[i].scanCode);
        EXPECT_EQ(result.names[i].description, names[i].description);
    }
    EXPECT_TRUE(result.warnings.empty());
}

}  // namespace
