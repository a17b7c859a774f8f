#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "game/input/controls.h"
#include "game/input/dinput.h"

namespace {

using input::dinput;

using Codes = std::array<std::int16_t, 8>;
// Entry 7 is never read or written; the marker 77 shows that the reader leaves it alone.
constexpr Codes kDefaultCodes = {200, 208, 203, 205, 57, 30, 32, 77};

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
        dinput.keyCodes[7] = 77;
    }
    void TearDown() override { std::filesystem::remove_all(folder_); }

    std::filesystem::path Write(const std::string& bytes) {
        std::ofstream(Path(), std::ios::binary) << bytes;
        return Path();
    }
    std::filesystem::path Path() const { return folder_ / "Config.txt"; }

    // Loads and returns what went to standard error.
    static std::string Load(const std::filesystem::path& path, bool* fromFile) {
        ::testing::internal::CaptureStderr();
        *fromFile = input::LoadControlsFrom(path);
        return ::testing::internal::GetCapturedStderr();
    }

    std::filesystem::path folder_;
};

TEST_F(LoadControlsTest, FilesOnDiskReadAsTheGameReadsThem) {
    struct Case {
        const char* what;
        std::string bytes;
        Codes codes;
        bool joystick;
        bool warns;
    };
    std::string junk = "300\n-1\n70000\n999\x01\x02\x1b[2J\n";
    junk += "1000" + std::string(5000, 'x') + "\n";
    junk += std::string("12\0" "34\n", 6) + "99999999999999999999999999\n" + "maybe\x07\n";
    const Case cases[] = {
        {"launcher layout", "200\r\r\n208\r\r\n203\r\r\n205\r\r\n57\r\r\n30\r\r\n32\r\r\n1\r\r\n", kDefaultCodes,
         true, false},
        {"CR LF, keys above 211", "219\r\n220\r\n221\r\n32\r\n57\r\n44\r\n45\r\n0\r\n",
         {219, 220, 221, 32, 57, 44, 45, 77}, false, false},
        // The last value repeats; "208" on the joystick line is a number other than 0.
        {"short", "200\n208\n", {200, 208, 208, 208, 208, 208, 208, 77}, true, true},
        {"junk", junk, {0, 0, 0, 0, 0, 12, 0, 77}, false, true},
        // One enormous number, far outside 16 bits: every key unbound, joystick on (non-zero).
        {"8 MB without line ends", std::string(8 * 1024 * 1024, '7'), {0, 0, 0, 0, 0, 0, 0, 77}, true, true},
    };
    for (const Case& c : cases) {
        bool fromFile = false;
        const std::string errors = Load(Write(c.bytes), &fromFile);
        EXPECT_TRUE(fromFile) << c.what;
        EXPECT_EQ(dinput.keyCodes, c.codes) << c.what;
        EXPECT_EQ(dinput.joystickEnabled, c.joystick) << c.what;
        if (c.warns) {
            EXPECT_NE(errors.find("Config.txt"), std::string::npos) << c.what << ": " << errors;
        } else {
            EXPECT_EQ(errors, "") << c.what;
        }
        // Every warning is one short line of printable text: junk never leaks to the terminal.
        EXPECT_LT(errors.size(), 2000u) << c.what;
        for (char ch : errors) {
            EXPECT_TRUE(ch == '\n' || (ch >= 0x20 && ch < 0x7F)) << c.what << ": byte " << int(static_cast<unsigned char>(ch));
        }
    }
}

TEST_F(LoadControlsTest, MissingFileOrAFolderInItsPlaceGivesTheDefaultKeysAndNamesTheFile) {
    for (const bool folder : {false, true}) {
        if (folder) {
            std::filesystem::create_directories(Path());
        }
        dinput.joystickEnabled = true;
        bool fromFile = true;
        const std::string errors = Load(Path(), &fromFile);
        EXPECT_FALSE(fromFile) << folder;
        EXPECT_EQ(dinput.keyCodes, kDefaultCodes) << folder;
        EXPECT_FALSE(dinput.joystickEnabled) << folder;
        EXPECT_NE(errors.find(Path().string()), std::string::npos) << errors;
    }
}

}  // namespace
