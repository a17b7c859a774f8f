#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "common/config_file.h"

namespace {

using common::ParseControls;

std::array<std::int16_t, 7> Codes(std::initializer_list<int> list) {
    std::array<std::int16_t, 7> out{};
    std::size_t i = 0;
    for (int v : list) {
        out[i++] = static_cast<std::int16_t>(v);
    }
    return out;
}

TEST(ConfigFile, LauncherLayoutReadsEveryLine) {
    const auto result = ParseControls("200\r\r\n208\r\r\n203\r\r\n205\r\r\n57\r\r\n30\r\r\n32\r\r\n1\r\r\n",
                                      "Config.txt");
    EXPECT_TRUE(result.fromFile);
    EXPECT_TRUE(result.warnings.empty());
    EXPECT_EQ(result.controls.keyCodes, Codes({200, 208, 203, 205, 57, 30, 32}));
    EXPECT_TRUE(result.controls.joystickEnabled);
}

TEST(ConfigFile, AnyLineEndingReadsOneValuePerLine) {
    for (const char* end : {"\n", "\r\n", "\r\r\n", "\r"}) {
        std::string text;
        for (const char* v : {"16", "30", "31", "32", "57", "44", "45", "0"}) {
            text += std::string(v) + end;
        }
        const auto result = ParseControls(text, "Config.txt");
        EXPECT_EQ(result.controls.keyCodes, Codes({16, 30, 31, 32, 57, 44, 45})) << "ending " << end;
        EXPECT_FALSE(result.controls.joystickEnabled);
    }
}

TEST(ConfigFile, MixedLineEndsAndAByteOrderMarkStillGiveOneValuePerLine) {
    // A launcher file touched up in an editor that wrote its own line ends and a BOM.
    const auto result = ParseControls(
        "\xEF\xBB\xBF" "200\r\r\n208\n203\r\n205\r\r\n57\n30\r32\r\r\n1\n", "Config.txt");
    EXPECT_EQ(result.controls.keyCodes, Codes({200, 208, 203, 205, 57, 30, 32}));
    EXPECT_TRUE(result.controls.joystickEnabled);
    EXPECT_TRUE(result.warnings.empty());
}

TEST(ConfigFile, LastLineWithoutLineEndIsRead) {
    const auto result = ParseControls("1\n2\n3\n4\n5\n6\n7\n1", "Config.txt");
    EXPECT_EQ(result.controls.keyCodes, Codes({1, 2, 3, 4, 5, 6, 7}));
    EXPECT_TRUE(result.controls.joystickEnabled);
}

TEST(ConfigFile, ShortFileRepeatsTheLastValue) {
    const auto result = ParseControls("200\r\r\n208\r\r\n203\r\r\n", "Config.txt");
    EXPECT_EQ(result.controls.keyCodes, Codes({200, 208, 203, 203, 203, 203, 203}));
    // The joystick line repeats "203" too, a number other than 0.
    EXPECT_TRUE(result.controls.joystickEnabled);
    EXPECT_FALSE(result.warnings.empty());
}

TEST(ConfigFile, ValuesAreNumericPrefixesRoundedAndCheckedForRange) {
    const auto result = ParseControls("200abc\n 57\nxyz\n\n300\n-1\n30.5\nTrue\n", "Config.txt");
    // "xyz" and "" read as 0; 300 and -1 are outside any key; 30.5 rounds to the even 30.
    EXPECT_EQ(result.controls.keyCodes, Codes({200, 57, 0, 0, 0, 0, 30}));
    EXPECT_TRUE(result.controls.joystickEnabled);
    EXPECT_EQ(result.warnings.size(), 2u);
}

TEST(ConfigFile, SixteenBitOverflowBecomesUnbound) {
    const auto result = ParseControls("99999999999\n70000\n32767.5\n1\n1\n1\n1\nfalse\n", "Config.txt");
    EXPECT_EQ(result.controls.keyCodes, Codes({0, 0, 0, 1, 1, 1, 1}));
    EXPECT_FALSE(result.controls.joystickEnabled);
}

TEST(ConfigFile, JoystickLineAcceptsNumbersAndWordsOnly) {
    auto joystick = [](const char* value) {
        return ParseControls(std::string("1\n2\n3\n4\n5\n6\n7\n") + value, "Config.txt").controls.joystickEnabled;
    };
    EXPECT_TRUE(joystick("1"));
    EXPECT_TRUE(joystick("-1"));
    EXPECT_TRUE(joystick("TRUE"));
    EXPECT_FALSE(joystick("0"));
    EXPECT_FALSE(joystick("False"));
    EXPECT_FALSE(joystick("yes"));
    EXPECT_FALSE(joystick("1x"));
}

TEST(ConfigFile, EmptyFileOrJunkFallsBackSafely) {
    const auto empty = ParseControls("", "Config.txt");
    EXPECT_FALSE(empty.fromFile);
    EXPECT_EQ(empty.controls.keyCodes, common::kDefaultControls.keyCodes);
    ASSERT_FALSE(empty.warnings.empty());
    EXPECT_NE(empty.warnings[0].find("Config.txt"), std::string::npos);

    std::string junk(100000, '\xff');
    junk[500] = '\0';
    const auto result = ParseControls(junk, "Config.txt");
    EXPECT_EQ(result.controls.keyCodes, Codes({0, 0, 0, 0, 0, 0, 0}));
    EXPECT_FALSE(result.controls.joystickEnabled);
}

TEST(ConfigFile, ReadsAtMostEightRecords) {
    std::string many;
    for (int i = 0; i < 100000; ++i) {
        many += "5\n";
    }
    EXPECT_EQ(common::ReadConfigRecords(many, 8).size(), 8u);
}

TEST(ConfigFile, MissingFileGivesDefaultsAndNamesTheFile) {
    const auto result = common::LoadControlsFile("/nonexistent/Config.txt");
    EXPECT_FALSE(result.fromFile);
    EXPECT_EQ(result.controls.keyCodes, common::kDefaultControls.keyCodes);
    EXPECT_FALSE(result.controls.joystickEnabled);
    ASSERT_EQ(result.warnings.size(), 1u);
    EXPECT_NE(result.warnings[0].find("/nonexistent/Config.txt"), std::string::npos);
}

TEST(ConfigFile, FolderInPlaceOfTheFileGivesDefaultsWithoutReading) {
    const auto dir = std::filesystem::temp_directory_path() /
                     ("starwake-config-folder-" + std::to_string(::getpid())) / "Config.txt";
    std::filesystem::create_directories(dir);
    const auto result = common::LoadControlsFile(dir);
    EXPECT_FALSE(result.fromFile);
    EXPECT_EQ(result.controls.keyCodes, common::kDefaultControls.keyCodes);
    ASSERT_EQ(result.warnings.size(), 1u);
    EXPECT_NE(result.warnings[0].find(dir.string()), std::string::npos);
    std::filesystem::remove_all(dir.parent_path());
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

TEST(ConfigFile, WriterProducesTheLauncherLayoutByteForByte) {
    const std::array<std::string, 7> keys = {"200", "208", "203", "205", "57", "30", "32"};
    EXPECT_EQ(common::FormatConfig(keys, 0),
              "200\r\r\n208\r\r\n203\r\r\n205\r\r\n57\r\r\n30\r\r\n32\r\r\n0\r\r\n");
    const std::array<std::string, 7> hostile = {"1\r\n2", "3,4", "", "5", "6", "7", "8"};
    EXPECT_EQ(common::FormatConfig(hostile, 1), "12\r\r\n34\r\r\n\r\r\n5\r\r\n6\r\r\n7\r\r\n8\r\r\n1\r\r\n");
}

TEST(ConfigFile, SavedFileReadsBackTheSameAndReplacesTheOldOne) {
    const auto dir = std::filesystem::temp_directory_path() / "starwake-config-test";
    std::filesystem::create_directories(dir);
    const auto path = dir / "Config.txt";
    { std::ofstream(path) << "old contents that are much longer than the new file\n"; }
    const std::array<std::string, 7> keys = {"17", "31", "30", "32", "29", "16", "18"};
    std::string error;
    ASSERT_TRUE(common::SaveConfigFile(path, keys, 1, &error)) << error;
    const auto result = common::LoadControlsFile(path);
    EXPECT_EQ(result.controls.keyCodes, Codes({17, 31, 30, 32, 29, 16, 18}));
    EXPECT_TRUE(result.controls.joystickEnabled);
    EXPECT_EQ(std::filesystem::file_size(path), common::FormatConfig(keys, 1).size());
    // No temporary file is left beside it.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), {}), 1);
    std::filesystem::remove_all(dir);
}

TEST(ConfigFile, FailedWriteReportsFailure) {
    const std::array<std::string, 7> keys = {"1", "2", "3", "4", "5", "6", "7"};
    std::string error;
    EXPECT_FALSE(common::SaveConfigFile("/nonexistent/folder/Config.txt", keys, 0, &error));
    EXPECT_NE(error.find("Config.txt"), std::string::npos);
}

}  // namespace
