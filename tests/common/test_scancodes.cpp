#include <gtest/gtest.h>

#include <set>

#include "common/scancodes.h"

namespace {

TEST(ScanCodes, TableIsSortedUniqueAndRoundTrips) {
    std::set<int> codes, evdevs, usages;
    int previous = 0;
    for (const auto& entry : common::ScanCodeTable()) {
        EXPECT_GT(entry.code, previous) << "table out of order at " << int(entry.code);
        previous = entry.code;
        EXPECT_TRUE(codes.insert(entry.code).second);
        EXPECT_TRUE(evdevs.insert(entry.evdev).second) << "evdev " << entry.evdev << " twice";
        EXPECT_EQ(common::FindScanCode(entry.code), &entry);
        EXPECT_EQ(common::ScanCodeFromEvdev(entry.evdev), entry.code) << entry.name;
        if (entry.hidUsage != 0) {
            EXPECT_TRUE(usages.insert(entry.hidUsage).second) << "usage " << entry.hidUsage << " twice";
            EXPECT_EQ(common::ScanCodeFromHidUsage(entry.hidUsage), entry.code) << entry.name;
        }
        EXPECT_FALSE(entry.name.empty());
    }
}

TEST(ScanCodes, FullPcKeyboardIsCovered) {
    // 104 keys of a US board plus the extra key beside left shift on a 105-key board.
    EXPECT_GE(common::ScanCodeTable().size(), 105u);
    // The codes the game and its default bindings rely on.
    EXPECT_EQ(common::ScanCodeFromEvdev(103), 200);  // Up
    EXPECT_EQ(common::ScanCodeFromEvdev(108), 208);  // Down
    EXPECT_EQ(common::ScanCodeFromEvdev(105), 203);  // Left
    EXPECT_EQ(common::ScanCodeFromEvdev(106), 205);  // Right
    EXPECT_EQ(common::ScanCodeFromEvdev(96), 156);   // keypad Enter
    EXPECT_EQ(common::ScanCodeFromEvdev(100), 184);  // right Alt
    EXPECT_EQ(common::ScanCodeFromEvdev(125), 219);  // left Windows
    EXPECT_EQ(common::ScanCodeFromEvdev(126), 220);  // right Windows
    EXPECT_EQ(common::ScanCodeFromEvdev(127), 221);  // menu
    EXPECT_EQ(common::ScanCodeFromHidUsage(44), 57);  // space
    EXPECT_EQ(common::ScanCodeFromHidUsage(82), 200);  // up arrow
    EXPECT_EQ(common::ScanCodeFromHidUsage(4), 30);   // A
}

TEST(ScanCodes, UnknownKeysGiveZero) {
    EXPECT_EQ(common::ScanCodeFromEvdev(0), 0);
    EXPECT_EQ(common::ScanCodeFromEvdev(-5), 0);
    EXPECT_EQ(common::ScanCodeFromEvdev(4000), 0);
    EXPECT_EQ(common::ScanCodeFromHidUsage(300), 0);
    EXPECT_EQ(common::FindScanCode(0), nullptr);
    EXPECT_EQ(common::FindScanCode(0x54), nullptr);
}

}  // namespace
