#include <gtest/gtest.h>

#include <vector>

#include "platform/controller.h"
#include "platform/window.h"

namespace {

using namespace platform;

// SDL's value range and its gamepad numbering of axes and buttons.
constexpr int kLeft = -32768;
constexpr int kRight = 32767;
constexpr int kAxisX = 0;
constexpr int kAxisY = 1;
constexpr int kButtonA = 0, kButtonB = 1, kButtonX = 2, kButtonY = 3;

TEST(ScaleAxis, DeadZoneSaturationAndTheGamesThresholds) {
    // 10 % of the travel either side reads as the centre, 95 % and beyond as the end; half way
    // between (52.5 %) lie the game's thresholds 2500 and 7500. 95 % of 32767 is 31128.65, of
    // 32768 is 31129.6. Values SDL never gives still land in the range.
    const struct { int value, low, high; } cases[] = {
        {0, kAxisCentre, kAxisCentre},       {3276, kAxisCentre, kAxisCentre}, {-3276, kAxisCentre, kAxisCentre},
        {3400, kAxisCentre + 1, kAxisMax},   {-3400, kAxisMin, kAxisCentre - 1},
        {31129, kAxisMax, kAxisMax},         {-31130, kAxisMin, kAxisMin},
        {30900, kAxisCentre, kAxisMax - 1},  {-30900, kAxisMin + 1, kAxisCentre},
        {kRight, kAxisMax, kAxisMax},        {kLeft, kAxisMin, kAxisMin},
        {100000, kAxisMax, kAxisMax},        {-100000, kAxisMin, kAxisMin},
        {17203, 7499, 7501},                 {-17203, 2499, 2501},
    };
    for (const auto& c : cases) {
        EXPECT_GE(ScaleAxis(c.value), c.low) << c.value;
        EXPECT_LE(ScaleAxis(c.value), c.high) << c.value;
    }
    // Monotonic over the whole range and mirrored about the centre to within one unit.
    int previous = ScaleAxis(kLeft);
    for (int value = kLeft + 1; value <= kRight; ++value) {
        const int scaled = ScaleAxis(value);
        ASSERT_GE(scaled, previous) << value;
        previous = scaled;
        if (value > 0) {
            ASSERT_NEAR(kAxisMax - scaled, ScaleAxis(-value), 1) << value;
        }
    }
}

TEST(ScriptedController, ReadsOnlyWhenPluggedInAndWanted) {
    ScriptController(true);
    ControllerReading reading;
    reading.x = 1234;
    controller.script.x = 0;
    controller.script.buttons[1] = true;
    ScriptControllerAttached(true);
    EXPECT_FALSE(ReadController(&reading));  // not opened by the game
    EXPECT_EQ(reading.x, 1234);
    EXPECT_TRUE(OpenController());
    ASSERT_TRUE(ReadController(&reading));
    EXPECT_EQ(reading.x, 0);
    EXPECT_TRUE(reading.buttons[1]);

    ScriptControllerAttached(false);  // pulled out
    EXPECT_FALSE(ReadController(&reading));
    ScriptControllerAttached(true);
    EXPECT_TRUE(ReadController(&reading));
    CloseController();
    EXPECT_FALSE(ReadController(&reading));
    ScriptController(false);
}

// SDL's own virtual devices stand in for real ones: the same enumeration, hot-plug events and
// state reads as a gamepad or joystick on USB.
class VirtualControllerTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(CreateMainWindow("Starwake"));
        window.focused = true;
        DoEvents();
    }
    void TearDown() override {
        CloseController();
        for (int id : attached_) {
            controller_testing::DetachVirtualController(id);
        }
        DoEvents();
        window.focused = true;
    }

    int Attach(bool gamepad, const char* name) {
        const int id = controller_testing::AttachVirtualController(gamepad, name);
        EXPECT_GE(id, 0);
        attached_.push_back(id);
        return id;
    }
    void Detach(int id) {
        controller_testing::DetachVirtualController(id);
        std::erase(attached_, id);
    }
    static ControllerReading Read() {
        ControllerReading reading;
        reading.x = -1;
        EXPECT_TRUE(ReadController(&reading));
        return reading;
    }

private:
    std::vector<int> attached_;
};

TEST_F(VirtualControllerTest, GamepadStickAndButtonsABX) {
    const int pad = Attach(true, "Test Pad");
    ASSERT_TRUE(OpenController());
    EXPECT_TRUE(controller.isGamepad);
    EXPECT_EQ(controller.name, "Test Pad");
    ControllerReading reading = Read();
    EXPECT_EQ(reading.x, kAxisCentre);
    EXPECT_EQ(reading.y, kAxisCentre);

    controller_testing::SetVirtualAxis(pad, kAxisX, kLeft);
    controller_testing::SetVirtualAxis(pad, kAxisY, kRight);
    controller_testing::SetVirtualButton(pad, kButtonX, true);
    controller_testing::SetVirtualButton(pad, kButtonY, true);  // a fourth button counts for nothing
    reading = Read();
    EXPECT_EQ(reading.x, kAxisMin);
    EXPECT_EQ(reading.y, kAxisMax);
    EXPECT_EQ(reading.buttons, (std::array<bool, 3>{false, false, true}));

    controller_testing::SetVirtualButton(pad, kButtonX, false);
    controller_testing::SetVirtualButton(pad, kButtonA, true);
    controller_testing::SetVirtualButton(pad, kButtonB, true);
    EXPECT_EQ(Read().buttons, (std::array<bool, 3>{true, true, false}));
    // In the background the stick reads centred and no button down.
    window.focused = false;
    reading = Read();
    EXPECT_EQ(reading.x, kAxisCentre);
    EXPECT_EQ(reading.y, kAxisCentre);
    EXPECT_EQ(reading.buttons, (std::array<bool, 3>{}));
    window.focused = true;
    EXPECT_EQ(Read().x, kAxisMin);
}

TEST_F(VirtualControllerTest, PlainJoystickServesWhenThereIsNoGamepadAndAGamepadIsPreferred) {
    const int stick = Attach(false, "Test Stick");
    ASSERT_TRUE(OpenController());
    EXPECT_FALSE(controller.isGamepad);
    controller_testing::SetVirtualAxis(stick, kAxisX, kRight);
    controller_testing::SetVirtualAxis(stick, kAxisY, kLeft);
    controller_testing::SetVirtualButton(stick, 0, true);
    controller_testing::SetVirtualButton(stick, 3, true);
    const ControllerReading reading = Read();
    EXPECT_EQ(reading.x, kAxisMax);
    EXPECT_EQ(reading.y, kAxisMin);
    EXPECT_EQ(reading.buttons, (std::array<bool, 3>{true, false, false}));
    // Once a gamepad is plugged in too, opening again prefers it over the earlier joystick.
    CloseController();
    Attach(true, "Test Pad");
    ASSERT_TRUE(OpenController());
    EXPECT_TRUE(controller.isGamepad);
    EXPECT_EQ(controller.name, "Test Pad");
}

TEST_F(VirtualControllerTest, PluggedInLaterIsPickedUpAndPullingItOutHandsOverToTheNextOrCloses) {
    EXPECT_FALSE(OpenController());  // none attached: no error, keyboard only
    ControllerReading reading;
    EXPECT_FALSE(ReadController(&reading));
    // The first one plugged in is taken, and a second device does not replace it.
    const int stick = Attach(false, "Second Stick");
    DoEvents();
    ASSERT_TRUE(controller.open);
    EXPECT_EQ(controller.name, "Second Stick");
    const int pad = Attach(true, "Third Pad");
    DoEvents();
    EXPECT_EQ(controller.name, "Second Stick");
    // Pulling the open one out hands over to the one still plugged in.
    Detach(stick);
    DoEvents();
    ASSERT_TRUE(controller.open);
    EXPECT_EQ(controller.name, "Third Pad");
    Detach(pad);
    DoEvents();
    EXPECT_FALSE(controller.open);
    EXPECT_FALSE(ReadController(&reading));
}

TEST_F(VirtualControllerTest, PulledOutBetweenPumpsFailsTheReadAndIsDropped) {
    const int pad = Attach(true, "Test Pad");
    ASSERT_TRUE(OpenController());
    Detach(pad);
    ControllerReading reading;
    EXPECT_FALSE(ReadController(&reading));
    EXPECT_FALSE(AcquireController());
    EXPECT_FALSE(controller.open);
    DoEvents();  // the removal event that follows finds nothing to do
    EXPECT_FALSE(controller.open);
}

TEST_F(VirtualControllerTest, NothingOpensWhenTheGameDidNotAskForAController) {
    Attach(true, "Test Pad");
    DoEvents();
    EXPECT_FALSE(controller.open);
    ASSERT_TRUE(OpenController());
    CloseController();
    EXPECT_FALSE(controller.open);
    Attach(false, "Test Stick");
    DoEvents();
    EXPECT_FALSE(controller.open);
}

}  // namespace
