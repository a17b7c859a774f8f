#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "game/input/controls.h"
#include "game/input/dinput.h"
#include "platform/app.h"

namespace {

using input::dinput;

using Codes = std::array<std::int16_t, 8>;

// Config.txt files written byte for byte into a folder of their own.
class LoadControlsTest : public ::testing::Test {
protected:
    void SetUp() override {
        // Other builds may run the same tests at the same time.
        folder_ = std::filesystem::temp_directory_path() /
                  ("starwake-controls-" + std::to_string(::getpid()));
        std::filesystem::remove_all(folder_);
        std::filesystem::create_directories(folder_);
        dinput = input::DirectInputState{};
        // Entry 7 is never read or written; a marker shows that the reader leaves it alone.
        dinput.keyCodes[7] = 77;
    }
    void TearDown() override { std::filesystem::remove_all(folder_); }

    std::filesystem::path Write(const std::string& bytes) {
        const auto path = folder_ / "Config.txt";
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }

    // Loads and returns what went to standard error.
    static std::string Load(const std::filesystem::path& path, bool* fromFile = nullptr) {
        ::testing::internal::CaptureStderr();
        const bool read = input::LoadControlsFrom(path);
        if (fromFile) {
            *fromFile = read;
        }
        return ::testing::internal::GetCapturedStderr();
    }

    std::filesystem::path folder_;
};

TEST_F(LoadControlsTest, LauncherLayoutReadsAsWritten) {
    bool fromFile = false;
    const std::string errors = Load(
        Write("200\r\r\n208\r\r\n203\r\r\n205\r\r\n57\r\r\n30\r\r\n32\r\r\n1\r\r\n"), &fromFile);
    EXPECT_TRUE(fromFile);
    EXPECT_EQ(errors, "");
    EXPECT_EQ(dinput.keyCodes, (Codes{200, 208, 203, 205, 57, 30, 32, 77}));
    EXPECT_TRUE(dinput.joystickEnabled);

    Load(Write("17\r\r\n31\r\r\n30\r\r\n32\r\r\n29\r\r\n16\r\r\n18\r\r\n0\r\r\n"));
    EXPECT_EQ(dinput.keyCodes, (Codes{17, 31, 30, 32, 29, 16, 18, 77}));
    EXPECT_FALSE(dinput.joystickEnabled);
}

TEST_F(LoadControlsTest, LinuxAndWindowsLineEndsGiveOneValuePerLine) {
    Load(Write("16\n30\n31\n32\n57\n44\n45\n1\n"));
    EXPECT_EQ(dinput.keyCodes, (Codes{16, 30, 31, 32, 57, 44, 45, 77}));
    EXPECT_TRUE(dinput.joystickEnabled);
    Load(Write("219\r\n220\r\n221\r\n32\r\n57\r\n44\r\n45\r\n0\r\n"));
    EXPECT_EQ(dinput.keyCodes, (Codes{219, 220, 221, 32, 57, 44, 45, 77}));
    EXPECT_FALSE(dinput.joystickEnabled);
}

TEST_F(LoadControlsTest, ShortFileRepeatsItsLastValue) {
    const std::string errors = Load(Write("200\n208\n"));
    EXPECT_EQ(dinput.keyCodes, (Codes{200, 208, 208, 208, 208, 208, 208, 77}));
    EXPECT_TRUE(dinput.joystickEnabled);  // "208" is a number other than 0
    EXPECT_NE(errors.find("Config.txt"), std::string::npos);
}

TEST_F(LoadControlsTest, MissingFileGivesTheDefaultKeysAndNamesTheFile) {
    dinput.joystickEnabled = true;
    bool fromFile = true;
    const auto path = folder_ / "Config.txt";
    const std::string errors = Load(path, &fromFile);
    EXPECT_FALSE(fromFile);
    EXPECT_EQ(dinput.keyCodes, (Codes{200, 208, 203, 205, 57, 30, 32, 77}));
    EXPECT_FALSE(dinput.joystickEnabled);
    EXPECT_NE(errors.find(path.string()), std::string::npos) << errors;
}

TEST_F(LoadControlsTest, FolderInPlaceOfTheFileGivesTheDefaults) {
    std::filesystem::create_directories(folder_ / "Config.txt");
    const std::string errors = Load(folder_ / "Config.txt");
    EXPECT_EQ(dinput.keyCodes, (Codes{200, 208, 203, 205, 57, 30, 32, 77}));
    EXPECT_NE(errors.find("Config.txt"), std::string::npos);
}

TEST_F(LoadControlsTest, BadCodesBecomeZeroAndJunkNeverLeaksToTheTerminal) {
    std::string bytes = "300\n-1\n70000\n999\x01\x02\x1b[2J\n";
    bytes += "1000" + std::string(5000, 'x') + "\n";
    bytes += std::string(
        "12\0"
        "34\n",
        6);
    bytes += "99999999999999999999999999\n";
    bytes += "maybe\x07\n";
    const std::string errors = Load(Write(bytes));
    EXPECT_EQ(dinput.keyCodes, (Codes{0, 0, 0, 0, 0, 12, 0, 77}));
    EXPECT_FALSE(dinput.joystickEnabled);
    // Every warning is one short line of printable text.
    EXPECT_LT(errors.size(), 2000u);
    for (char c : errors) {
        EXPECT_TRUE(c == '\n' || (c >= 0x20 && c < 0x7F))
            << "byte " << int(static_cast<unsigned char>(c));
    }
}

TEST_F(LoadControlsTest, HugeFileWithoutLineEndsIsReadOnlyAsFarAsNeeded) {
    const std::string bytes(8 * 1024 * 1024, '7');
    Load(Write(bytes));
    // One enormous number, far outside 16 bits: every key unbound, joystick on (non-zero).
    EXPECT_EQ(dinput.keyCodes, (Codes{0, 0, 0, 0, 0, 0, 0, 77}));
    EXPECT_TRUE(dinput.joystickEnabled);
}

TEST_F(LoadControlsTest, GameReadsTheFileInItsProgramFolder) {
    const auto savedFolder = platform::app.programFolder;
    platform::app.programFolder = folder_;
    Write("44\n45\n46\n47\n48\n49\n50\nTrue\n");
    input::LoadControls();
    platform::app.programFolder = savedFolder;
    EXPECT_EQ(dinput.keyCodes, (Codes{44, 45, 46, 47, 48, 49, 50, 77}));
    EXPECT_TRUE(dinput.joystickEnabled);
}

}  // namespace
