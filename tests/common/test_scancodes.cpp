#include <gtest/gtest.h>

#include <set>
#include <string>

#include "common/scancodes.h"

namespace {

TEST(ScanCodes, TableIsSortedUniqueNamedAndRoundTrips) {
    std::set<int> codes, evdevs, usages;
    std::set<std::string> names;
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
        EXPECT_TRUE(names.emplace(entry.name).second) << entry.name << " twice";
    }
}

TEST(ScanCodes, TheCodesTheGameAndItsDefaultBindingsRelyOn) {
    // Up, Down, Left, Right, keypad Enter, right Alt, left and right Windows, menu.
    const std::pair<int, int> evdevs[] = {{103, 200}, {108, 208}, {105, 203}, {106, 205}, {96, 156},
                                          {100, 184}, {125, 219}, {126, 220}, {127, 221}};
    for (const auto& [evdev, code] : evdevs) {
        EXPECT_EQ(common::ScanCodeFromEvdev(evdev), code) << "evdev " << evdev;
    }
    EXPECT_EQ(common::ScanCodeFromHidUsage(44), 57);  // space
    EXPECT_EQ(common::ScanCodeFromHidUsage(82), 200);  // up arrow
    EXPECT_EQ(common::ScanCodeFromHidUsage(4), 30);   // A
}

TEST(ScanCodes, EveryKeyOfAnIsoBoardHasItsOwnCodeAndAUsbUsage) {
    // The 105 keys of an ISO PC keyboard (a US board's 104 and the one beside left shift), row by row, as Linux numbers them.
    const int keys[] = {
        1, 59, 60, 61, 62, 63, 64, 65, 66, 67, 68, 87, 88, 99, 70, 119,
        41, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 110, 102, 104, 69, 98, 55, 74,
        15, 16, 17, 18, 19, 20, 21, 22, 23, 24, 25, 26, 27, 28, 111, 107, 109, 71, 72, 73, 78,
        58, 30, 31, 32, 33, 34, 35, 36, 37, 38, 39, 40, 43, 75, 76, 77,
        42, 86, 44, 45, 46, 47, 48, 49, 50, 51, 52, 53, 54, 103, 79, 80, 81, 96,
        29, 125, 56, 57, 100, 126, 127, 97, 105, 108, 106, 82, 83,
    };
    static_assert(std::size(keys) == 105);
    std::set<int> codes;
    for (int evdev : keys) {
        const int code = common::ScanCodeFromEvdev(evdev);
        ASSERT_NE(code, 0) << "evdev " << evdev;
        EXPECT_TRUE(codes.insert(code).second) << "evdev " << evdev << " shares code " << code;
        const common::ScanCodeEntry* entry = common::FindScanCode(code);
        ASSERT_NE(entry, nullptr);
        // The game reads keys by USB usage: a key without one could never be pressed in it.
        EXPECT_NE(entry->hidUsage, 0) << entry->name;
    }
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
