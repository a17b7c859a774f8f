#include <gtest/gtest.h>

#include <set>
#include <string>

#include "game/input/dinput.h"
#include "platform/controller.h"
#include "platform/keyboard.h"
#include "platform/window.h"

namespace {

using input::Action;
using input::dinput;

constexpr std::array<std::int16_t, 8> kDefaultCodes = {200, 208, 203, 205, 57, 30, 32, 0};

// Hot-plug, the background window and axis scaling belong to the platform and are tested there;
// here the devices are scripted and only the input module's own folding is checked.
class InputTest : public ::testing::Test {
protected:
    void SetUp() override {
        platform::ScriptKeyboard(true);
        platform::ScriptController(true);
        platform::window.focused = true;
        dinput = input::DirectInputState{};
        dinput.keyCodes = kDefaultCodes;
        dinput.joystickEnabled = true;
    }
    void TearDown() override {
        input::ShutdownInput();
        platform::ScriptController(false);
        platform::ScriptKeyboard(false);
        platform::keyboard.failReads = 0;
        platform::keyboard.failOpen = false;
        platform::window.focused = true;
    }

    void Init() {
        std::string error;
        ASSERT_TRUE(input::InitDirectInput(&error)) << error;
    }
    void InitWithController() {
        Init();
        platform::ScriptControllerAttached(true);
    }
    static void Stick(int x, int y) {
        platform::controller.script.x = x;
        platform::controller.script.y = y;
    }
    static void Button(int button, bool down) {
        platform::controller.script.buttons[static_cast<std::size_t>(button)] = down;
    }

    // The scan codes whose flags are set.
    static std::set<int> Down() {
        std::set<int> down;
        for (int code = 0; code < 256; ++code) {
            if (dinput.keyState[static_cast<std::size_t>(code)]) {
                down.insert(code);
            }
        }
        return down;
    }
    // The actions whose keys are down.
    static std::set<Action> Actions() {
        std::set<Action> down;
        for (int a = 0; a < 7; ++a) {
            if (input::ActionDown(static_cast<Action>(a))) {
                down.insert(static_cast<Action>(a));
            }
        }
        return down;
    }
};

TEST_F(InputTest, KeyboardWritesEveryOneOfTheTwoHundredFiftySixFlagsAndKeysAboveTwoHundredElevenBind) {
    // The system and menu keys, which the launcher can capture, bound to Up, Down and Turn Left.
    dinput.keyCodes = {219, 220, 221, 205, 57, 30, 32, 0};
    Init();
    const int codes[] = {1, 57, 156, 184, 200, 211, 212, 219, 221, 237, 255};
    for (int code : codes) {
        platform::ScriptKey(code, true);
    }
    input::UpdateInput();
    EXPECT_EQ(Down(), std::set<int>(std::begin(codes), std::end(codes)));
    EXPECT_EQ(Actions(), (std::set<Action>{Action::kUp, Action::kTurnLeft, Action::kFire}));
    for (int code : codes) {
        platform::ScriptKey(code, false);
    }
    platform::ScriptKey(220, true);
    input::UpdateInput();
    EXPECT_EQ(Down(), std::set<int>{220});
    EXPECT_EQ(Actions(), std::set<Action>{Action::kDown});
}

TEST_F(InputTest, StickThresholdsAreStrict) {
    InitWithController();
    struct Case {
        int x, y;
        std::set<Action> expected;
    };
    const Case cases[] = {
        {5000, 5000, {}},
        {2500, 7500, {}},  // the thresholds themselves are centred
        {7500, 2500, {}},
        {2499, 5000, {Action::kTurnLeft}},
        {7501, 5000, {Action::kTurnRight}},
        {5000, 2499, {Action::kUp}},
        {5000, 7501, {Action::kDown}},
        {0, 0, {Action::kUp, Action::kTurnLeft}},  // the upper-left corner
        {10000, 10000, {Action::kDown, Action::kTurnRight}},
    };
    for (const Case& c : cases) {
        Stick(c.x, c.y);
        input::UpdateInput();
        EXPECT_EQ(Actions(), c.expected) << "stick at " << c.x << ", " << c.y;
    }
}

TEST_F(InputTest, ButtonsZeroOneTwoFireAndStrafe) {
    InitWithController();
    const Action actions[] = {Action::kFire, Action::kStrafeLeft, Action::kStrafeRight};
    for (int b = 0; b < 3; ++b) {
        Button(b, true);
        input::UpdateInput();
        EXPECT_EQ(Actions(), std::set<Action>{actions[b]}) << "button " << b;
        Button(b, false);
    }
    input::UpdateInput();
    EXPECT_TRUE(Down().empty());
}

TEST_F(InputTest, ControllerPressesButNeverReleasesAKeyHeldOnTheKeyboard) {
    InitWithController();
    platform::ScriptKey(200, true);  // Up held on the keyboard
    platform::ScriptKey(57, true);   // and Fire
    Stick(5000, 10000);              // stick pulled back, no button
    input::UpdateInput();
    EXPECT_EQ(Actions(), (std::set<Action>{Action::kUp, Action::kDown, Action::kFire}));
    // The same action from both sources is simply down.
    Button(0, true);
    input::UpdateInput();
    EXPECT_EQ(Down(), (std::set<int>{200, 208, 57}));
}

TEST_F(InputTest, ControllerFlagsOnCodesNoKeyWritesClearOnRelease) {
    // Fire unbound (code 0, as a non-numeric line in Config.txt gives) and Up on a code beyond
    // the keyboard's usual ones.
    dinput.keyCodes = {250, 208, 0, 205, 0, 30, 255, 0};
    InitWithController();
    Stick(0, 0);
    Button(0, true);
    Button(2, true);
    input::UpdateInput();
    EXPECT_EQ(Down(), (std::set<int>{0, 250, 255}));
    Stick(5000, 5000);
    Button(0, false);
    Button(2, false);
    input::UpdateInput();
    EXPECT_TRUE(Down().empty());
}

TEST_F(InputTest, SwitchedOffJoystickOpensAndReadsNothing) {
    dinput.joystickEnabled = false;
    platform::ScriptControllerAttached(true);
    Init();
    EXPECT_FALSE(platform::controller.open);
    Stick(0, 0);
    Button(0, true);
    input::UpdateInput();
    EXPECT_TRUE(Down().empty());
}

TEST_F(InputTest, FailedKeyboardReadKeepsTheFlagsAndTakesTheKeyboardAgain) {
    InitWithController();
    platform::ScriptKey(203, true);
    Button(0, true);
    input::UpdateInput();
    const auto before = Down();
    EXPECT_EQ(before, (std::set<int>{203, 57}));

    platform::ScriptKey(203, false);
    platform::ScriptKey(205, true);
    Button(0, false);
    platform::keyboard.failReads = 1;
    input::UpdateInput();
    EXPECT_EQ(Down(), before);  // the whole update skipped, the controller's part too
    EXPECT_TRUE(platform::keyboard.acquired);

    input::UpdateInput();  // acquired again at the end of the failed update: reads go on
    EXPECT_EQ(Down(), std::set<int>{205});
}

TEST_F(InputTest, FailedControllerReadStillTakesTheKeyboard) {
    InitWithController();
    Button(1, true);
    input::UpdateInput();
    EXPECT_EQ(Down(), std::set<int>{30});
    platform::ScriptKey(57, true);
    platform::controller.failReads = 1;
    input::UpdateInput();
    EXPECT_EQ(Down(), std::set<int>{57});
    input::UpdateInput();
    EXPECT_EQ(Down(), (std::set<int>{30, 57}));
}

TEST_F(InputTest, CodesOutsideTheTableAreNeverTouched) {
    // Set by hand past the file reader's checks: nothing may be written outside keyState.
    dinput.keyCodes = {-1, 256, 300, -32768, 32767, 1000, -5, 0};
    InitWithController();
    Stick(0, 0);
    Button(0, true);
    Button(1, true);
    Button(2, true);
    input::UpdateInput();
    EXPECT_TRUE(Down().empty());
    Stick(10000, 10000);
    input::UpdateInput();
    EXPECT_TRUE(Actions().empty());
    EXPECT_FALSE(input::KeyDown(-1));
    EXPECT_FALSE(input::KeyDown(256));
}

TEST_F(InputTest, NothingIsReadBeforeAStartOrAfterShutdownWhichLetsGoOfBothDevices) {
    platform::keyboard.failOpen = true;
    std::string error;
    EXPECT_FALSE(input::InitDirectInput(&error));
    platform::ScriptKey(57, true);
    input::UpdateInput();
    EXPECT_TRUE(Down().empty());
    platform::ScriptKey(57, false);
    platform::keyboard.failOpen = false;

    InitWithController();
    EXPECT_TRUE(platform::controller.open);
    input::ShutdownInput();
    EXPECT_FALSE(platform::controller.open);
    EXPECT_FALSE(platform::keyboard.acquired);
    platform::ScriptKey(57, true);
    input::UpdateInput();
    EXPECT_TRUE(Down().empty());
}

}  // namespace
