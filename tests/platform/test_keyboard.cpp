#include <gtest/gtest.h>

#include <algorithm>
#include <array>

#include "common/scancodes.h"
#include "platform/keyboard.h"
#include "platform/window.h"

namespace {

using namespace platform;

class KeyboardTest : public ::testing::Test {
protected:
    void SetUp() override {
        Reset();
        ScriptKeyboard(true);
    }
    void TearDown() override {
        CloseKeyboard();
        ScriptKeyboard(false);
        Reset();
    }
    static void Reset() {
        keyboard.failReads = 0;
        keyboard.failOpen = false;
        window.focused = true;
    }

    // A state full of a marker, to see whether a read wrote it.
    static std::array<std::uint8_t, 256> Marked() {
        std::array<std::uint8_t, 256> state;
        state.fill(0xAA);
        return state;
    }
};

TEST_F(KeyboardTest, ReadsOnlyWhileOpenAndAcquired) {
    auto state = Marked();
    ScriptKey(common::kKeySpace, true);
    ASSERT_TRUE(ReadKeyboard(state));  // scripted: ready to read at once
    EXPECT_EQ(state[common::kKeySpace], 1);

    CloseKeyboard();
    state = Marked();
    EXPECT_FALSE(ReadKeyboard(state));
    EXPECT_EQ(state, Marked());

    ASSERT_TRUE(OpenKeyboard(nullptr));
    EXPECT_FALSE(ReadKeyboard(state));  // opened, not yet acquired
    ASSERT_TRUE(AcquireKeyboard());
    ASSERT_TRUE(ReadKeyboard(state));
    EXPECT_EQ(state[common::kKeySpace], 1);
    EXPECT_EQ(std::count(state.begin(), state.end(), 0), 255);
    // A key held while the window is in the background reads up, and down again on return.
    window.focused = false;
    ASSERT_TRUE(ReadKeyboard(state));
    EXPECT_EQ(std::count(state.begin(), state.end(), 0), 256);
    window.focused = true;
    ASSERT_TRUE(ReadKeyboard(state));
    EXPECT_EQ(state[common::kKeySpace], 1);

    UnacquireKeyboard();
    state = Marked();
    EXPECT_FALSE(ReadKeyboard(state));
    EXPECT_EQ(state, Marked());
    CloseKeyboard();
    EXPECT_FALSE(AcquireKeyboard());  // a closed keyboard cannot be taken
}

TEST_F(KeyboardTest, FailedReadLeavesTheStateAndNeedsAcquiringAgain) {
    ASSERT_TRUE(OpenKeyboard(nullptr));
    ASSERT_TRUE(AcquireKeyboard());
    ScriptKey(common::kKeyUp, true);
    keyboard.failReads = 1;
    auto state = Marked();
    EXPECT_FALSE(ReadKeyboard(state));
    EXPECT_EQ(state, Marked());
    EXPECT_FALSE(ReadKeyboard(state));  // still lost
    ASSERT_TRUE(AcquireKeyboard());
    ASSERT_TRUE(ReadKeyboard(state));
    EXPECT_EQ(state[common::kKeyUp], 1);
}

TEST_F(KeyboardTest, OpeningFailsWithoutAWindowSystemAndSaysWhy) {
    ScriptKeyboard(false);
    ShutdownVideo();
    std::string error;
    EXPECT_FALSE(OpenKeyboard(&error));
    EXPECT_FALSE(error.empty());
    std::array<std::uint8_t, 256> state{};
    EXPECT_FALSE(AcquireKeyboard());
    EXPECT_FALSE(ReadKeyboard(state));

    ASSERT_TRUE(InitVideo());
    EXPECT_TRUE(OpenKeyboard(&error));
    ASSERT_TRUE(AcquireKeyboard());
    // The dummy video driver has no keys down.
    auto marked = Marked();
    ASSERT_TRUE(ReadKeyboard(marked));
    EXPECT_EQ(std::count(marked.begin(), marked.end(), 0), 256);

    keyboard.failOpen = true;
    error.clear();
    EXPECT_FALSE(OpenKeyboard(&error));
    EXPECT_FALSE(error.empty());
}

TEST_F(KeyboardTest, KeyTappedBetweenTwoReadsReadsDownOnce) {
    ScriptKeyboard(false);
    ASSERT_TRUE(CreateMainWindow("Starwake"));
    ASSERT_TRUE(OpenKeyboard(nullptr));
    ASSERT_TRUE(AcquireKeyboard());
    std::array<std::uint8_t, 256> state{};
    DoEvents();
    ASSERT_TRUE(ReadKeyboard(state));
    // Up arrow and left Windows (SDL numbers 82 and 227) pressed and let go within one frame.
    keyboard_testing::PushKeyEvent(82, true);
    keyboard_testing::PushKeyEvent(82, false);
    keyboard_testing::PushKeyEvent(227, true);
    keyboard_testing::PushKeyEvent(227, false);
    DoEvents();
    ASSERT_TRUE(ReadKeyboard(state));
    EXPECT_EQ(state[common::kKeyUp], 1);
    EXPECT_EQ(state[219], 1);
    EXPECT_EQ(std::count(state.begin(), state.end(), 0), 254);
    ASSERT_TRUE(ReadKeyboard(state));
    EXPECT_EQ(std::count(state.begin(), state.end(), 0), 256);

    // A tap just before the player switched away is not delivered on return.
    keyboard_testing::PushKeyEvent(44, true);
    DoEvents();
    window.focused = false;
    ASSERT_TRUE(ReadKeyboard(state));
    window.focused = true;
    ASSERT_TRUE(ReadKeyboard(state));
    EXPECT_EQ(std::count(state.begin(), state.end(), 0), 256);
}

// SDL's key numbers: the USB keyboard usage below 256, its own numbers for media keys above.
TEST(SdlKeys, EveryKeyOfTheTableWithAUsbUsageComesThrough) {
    for (const auto& entry : common::ScanCodeTable()) {
        if (entry.hidUsage != 0) {
            EXPECT_EQ(ScanCodeFromSdlKey(entry.hidUsage), entry.code) << entry.name;
        }
    }
}

TEST(SdlKeys, KeysOutsideTheUsbKeyboardPageHaveTheirCodes) {
    EXPECT_EQ(ScanCodeFromSdlKey(50), 0x2B);   // ISO "non-US #": the backslash key's place
    EXPECT_EQ(ScanCodeFromSdlKey(258), 0x99);  // next track, the first media key
    EXPECT_EQ(ScanCodeFromSdlKey(282), 0xDF);  // sleep, the last
    for (int none : {0, -1, 1, 100000}) EXPECT_EQ(ScanCodeFromSdlKey(none), 0) << none;  // 1: SDL's "no key"
    // Every code given is one the shared table knows, so the launcher can name it.
    for (int key = 0; key < 512; ++key) {
        const std::uint8_t code = ScanCodeFromSdlKey(key);
        if (code != 0) {
            EXPECT_NE(common::FindScanCode(code), nullptr) << "SDL key " << key;
        }
    }
}

}  // namespace
