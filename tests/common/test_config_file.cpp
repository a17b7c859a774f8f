#include <gtest/gtest.h>

#include "common/config_file.h"

namespace {

using common::ParseControls;
using Codes = std::array<std::int16_t, 7>;

// The files on disk, their common layouts, short files and unreadable ones are read through the
// game (tests/input) and the launcher (tests/launcher); these are the rules of the text itself.
TEST(ConfigFile, ValuesAreReadAsTheGameReadsThem) {
    struct Case {
        const char* what;
        std::string text;
        Codes codes;
        bool joystick;
        bool fromFile;
        std::size_t warnings;
    };
    std::string junk(100000, '\xff');
    junk[500] = '\0';
    const Case cases[] = {
        // A launcher file touched up in an editor that wrote its own line ends and a BOM.
        {"mixed line ends and a BOM", "\xEF\xBB\xBF" "200\r\r\n208\n203\r\n205\r\r\n57\n30\r32\r\r\n1\n",
         {200, 208, 203, 205, 57, 30, 32}, true, true, 0},
        {"last line without line end", "1\n2\n3\n4\n5\n6\n7\n1", {1, 2, 3, 4, 5, 6, 7}, true, true, 0},
        // "xyz" and "" read as 0; 300 and -1 are outside any key; 30.5 rounds to the even 30.
        {"numeric prefixes", "200abc\n 57\nxyz\n\n300\n-1\n30.5\nTrue\n", {200, 57, 0, 0, 0, 0, 30}, true, true,
         2},
        {"16-bit overflow", "99999999999\n70000\n32767.5\n1\n1\n1\n1\nfalse\n", {0, 0, 0, 1, 1, 1, 1}, false, true,
         3},
        {"empty", "", common::kDefaultControls.keyCodes, false, false, 1},
        {"binary junk", junk, {0, 0, 0, 0, 0, 0, 0}, false, true, 2},
    };
    for (const Case& c : cases) {
        const auto result = ParseControls(c.text, "Config.txt");
        EXPECT_EQ(result.controls.keyCodes, c.codes) << c.what;
        EXPECT_EQ(result.controls.joystickEnabled, c.joystick) << c.what;
        EXPECT_EQ(result.fromFile, c.fromFile) << c.what;
        ASSERT_EQ(result.warnings.size(), c.warnings) << c.what;
        for (const std::string& warning : result.warnings) {
            EXPECT_NE(warning.find("Config.txt"), std::string::npos) << warning;
        }
    }
}

TEST(ConfigFile, JoystickLineAcceptsNumbersAndWordsOnly) {
    const std::pair<const char*, bool> cases[] = {{"1", true},      {"-1", true},   {"TRUE", true}, {"0", false},
                                                  {"False", false}, {"yes", false}, {"1x", false}};
    for (const auto& [value, on] : cases) {
        EXPECT_EQ(ParseControls(std::string("1\n2\n3\n4\n5\n6\n7\n") + value, "Config.txt").controls.joystickEnabled,
                  on)
            << value;
    }
}

TEST(ConfigFile, ReadsAtMostEightRecords) {
    std::string many;
    for (int i = 0; i < 100000; ++i) {
        many += "5\n";
    }
    EXPECT_EQ(common::ReadConfigRecords(many, 8).size(), 8u);
}

TEST(ConfigFile, WarningsQuoteJunkShortAndPrintable) {
    // A key line with a terminal escape sequence and a long tail, a joystick line of control bytes.
    const std::string keyLine = "500\x1b[31m" + std::string(1000, 'z');
    const auto result =
        ParseControls("1\n2\n3\n4\n5\n6\n" + keyLine + "\n\x7f\x01on\n", "Config.txt");
    ASSERT_EQ(result.warnings.size(), 2u);
    for (const std::string& warning : result.warnings) {
        EXPECT_LT(warning.size(), 120u) << warning;
        for (char c : warning) {
            EXPECT_TRUE(c >= 0x20 && c < 0x7F) << warning;
        }
    }
    EXPECT_NE(result.warnings[0].find("\"500?[31mzz"), std::string::npos) << result.warnings[0];
}

// The launcher's own layout is checked byte for byte where it saves (tests/launcher).
TEST(ConfigFile, WriterKeepsOneRecordPerLineWhateverTheBoxesHold) {
    const std::array<std::string, 7> hostile = {"1\r\n2", "3,4", "", "5", "6", "7", "8"};
    EXPECT_EQ(common::FormatConfig(hostile, 1), "12\r\r\n34\r\r\n\r\r\n5\r\r\n6\r\r\n7\r\r\n8\r\r\n1\r\r\n");
}

}  // namespace
