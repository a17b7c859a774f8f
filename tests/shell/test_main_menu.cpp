#include <gtest/gtest.h>

#include <cerrno>
#include <new>
#include <stdexcept>
#include <system_error>

#include "common/scancodes.h"
#include "game/audio/music.h"
#include "game/audio/sound.h"
#include "game/graphics/dxgfx.h"
#include "game/graphics/sprites.h"
#include "game/input/dinput.h"
#include "game/shell/frm_main.h"
#include "game/shell/main_menu.h"
#include "platform/controller.h"
#include "platform/device.h"
#include "platform/message_box.h"
#include "tests/support/headless.h"
#include "tests/support/key_script.h"

namespace {

using common::kKeyDown;
using common::kKeyLeft;
using common::kKeyReturn;
using common::kKeyRight;
using common::kKeySpace;
using common::kKeyUp;
using shell::menus;
using test_support::Changes;
using test_support::KeyScript;

class MenuTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(test_support::StartHeadlessGame());
        audio::music.musicVolume = 100;
        audio::sound.sfxVolume = 0;
    }
    KeyScript Script() { return KeyScript(clock, 10); }

    platform::FakeClock clock{500000};
};

TEST_F(MenuTest, HeldKeysStepTheHighlightEvery250MsAndStopAtTheEndsWhileTheItemWobbles) {
    Changes<int> highlight;
    Changes<float> wobble;
    KeyScript script = Script();
    script.Hold({kKeyDown}, 150).Hold({kKeyUp}, 150).Hold({kKeyReturn}, 1).Watch([&](int) {
        highlight.See(menus.mainMenu.highlighted, clock.Now());
        wobble.See(menus.mainMenu.wobble, clock.Now());
    });
    graphics::SetSpriteScale(0.8f, 0.6f);
    ASSERT_TRUE(script.Run(shell::MainMenu));  // Return on the first item starts a game at once

    EXPECT_EQ(highlight.values, (std::vector<int>{1, 2, 3, 2, 1, 0}));
    for (std::size_t i = 1; i < highlight.ticks.size(); ++i) {
        const platform::Tick gap = highlight.ticks[i] - highlight.ticks[i - 1];
        if (i == 3) {
            EXPECT_GT(gap, 1000) << "Exit held the highlight while Down stayed down";
        } else {
            EXPECT_GT(gap, 250);
            EXPECT_LE(gap, 260);
        }
    }
    EXPECT_EQ(script.pumps(), 301);
    ASSERT_GE(wobble.values.size(), 6u);
    EXPECT_EQ(std::vector<float>(wobble.values.begin(), wobble.values.begin() + 6),
              (std::vector<float>{0.1f, 0.2f, 0.3f, 0.0f, 0.1f, 0.2f}));
    EXPECT_FLOAT_EQ(graphics::sprites.spriteScaleX, 0.75f);
    EXPECT_FLOAT_EQ(graphics::sprites.spriteScaleY, 0.75f);
}

TEST_F(MenuTest, OptionsVolumesStepToTheirEndsAndOnlyExitLeaves) {
    Changes<std::string> sfxText;
    Changes<int> music;
    music.See(audio::music.musicVolume, clock.Now());
    KeyScript script = Script();
    // Idle stretches let the repeat tick run out, so that each key acts on its first pass.
    script.Hold({kKeyLeft}, 600)   // music 100 down to 0 in steps of 5
        .Hold({kKeyRight}, 300)    // and back up
        .Hold({kKeySpace, kKeyReturn}, 10)  // Fire on a volume line does nothing
        .Hold({}, 30)
        .Hold({kKeyDown}, 1)
        .Hold({kKeyLeft}, 800)     // effects 100 % down to 0 %
        .Hold({kKeyReturn}, 10)
        .Hold({}, 30)
        .Hold({kKeyDown}, 30)
        .Hold({kKeyRight}, 30)     // the Exit line changes nothing
        .Hold({kKeyReturn}, 3)
        .Watch([&](int) {
            music.See(audio::music.musicVolume, clock.Now());
            sfxText.See(shell::OptionText(shell::kSfxVolumeLine), clock.Now());
        });
    ASSERT_TRUE(script.Run(shell::OptionsScreen));
    EXPECT_EQ(script.pumps(), 600 + 300 + 10 + 30 + 1 + 800 + 10 + 30 + 30 + 30 + 3);

    // Down to 0, then eleven steps up in the three seconds of Turn Right (the first waits for
    // the tick the last Turn Left started).
    ASSERT_EQ(music.values.size(), 21u + 11u);
    for (std::size_t i = 0; i < music.values.size(); ++i) {
        EXPECT_EQ(music.values[i], i <= 20 ? 100 - 5 * static_cast<int>(i) : 5 * static_cast<int>(i - 20));
    }
    for (std::size_t i = 2; i < music.ticks.size(); ++i) {
        EXPECT_GT(music.ticks[i] - music.ticks[i - 1], 250);
    }
    EXPECT_EQ(shell::OptionText(shell::kMusicVolumeLine), "Music Volume :55%");

    std::vector<std::string> expected;
    for (int percent = 100; percent >= 0; percent -= 4) {
        expected.push_back("SFX Volume :" + std::to_string(percent) + "%");
    }
    EXPECT_EQ(sfxText.values, expected);
    EXPECT_EQ(audio::sound.sfxVolume, -2500);
    EXPECT_EQ(shell::OptionText(shell::kOptionsExitLine), "Exit");
}

TEST_F(MenuTest, TheJoystickMovesChangesAndChooses) {
    platform::ScriptController(true);
    input::dinput.joystickEnabled = true;
    platform::OpenController();
    platform::ScriptControllerAttached(true);
    audio::music.musicVolume = 50;
    auto& stick = platform::controller.script;
    KeyScript script = Script();
    // The stick for a stretch, then centred long enough for the repeat tick to run out.
    script.Hold({}, 400).Watch([&](int pump) {
        stick = platform::ControllerReading{};
        stick.x = stick.y = 5000;
        if (pump <= 30) {
            stick.x = 9000;  // right: music up twice
        } else if (pump == 61 || pump == 181) {
            stick.y = 9000;  // down a line
        } else if (pump > 90 && pump <= 150) {
            stick.x = 1000;  // left: effects down three times
        } else if (pump == 211) {
            stick.buttons[0] = true;  // Fire, on Exit
        }
    });
    const bool left = script.Run(shell::OptionsScreen);
    platform::ScriptController(false);
    input::dinput.joystickEnabled = false;
    ASSERT_TRUE(left);
    EXPECT_EQ(script.pumps(), 212);
    EXPECT_EQ(audio::music.musicVolume, 60);
    EXPECT_EQ(audio::sound.sfxVolume, -300);
}

TEST_F(MenuTest, AnErrorInsideAScreenIsShownAndTheMenuStartsAGame) {
    std::string text, title;
    platform::MessageButtons buttons{};
    platform::MessageIcon icon{};
    platform::messageBox.handler = [&](std::string_view t, std::string_view ti, platform::MessageButtons b,
                                       platform::MessageIcon i) {
        text = t;
        title = ti;
        buttons = b;
        icon = i;
        return platform::MessageAnswer::kOkPressed;
    };
    KeyScript script = Script();
    // Into the options; then a scene left open makes the next frame's begin fail.
    script.Hold({kKeyDown}, 1).Hold({}, 30).Hold({kKeyReturn}, 2).Hold({}, 5).Hold({}, 50).Watch([&](int pump) {
        if (pump == 40) {
            platform::BeginScene();
        }
    });
    graphics::SetSpriteScale(0.8f, 0.6f);
    ASSERT_TRUE(script.Run(shell::MainMenu));
    platform::messageBox.handler = nullptr;
    platform::EndScene();
    EXPECT_EQ(text, "BeginScene failed " + std::to_string(platform::kErrInvalidCall));
    EXPECT_EQ(title, "Starwake");
    EXPECT_EQ(buttons, platform::MessageButtons::kOkOnly);
    EXPECT_EQ(icon, platform::MessageIcon::kNone);
    EXPECT_LT(script.pumps(), 45);
    EXPECT_FLOAT_EQ(graphics::sprites.spriteScaleY, 0.75f);
}

TEST(ErrorText, DescriptionSpaceAndNumberByKindOfError) {
    EXPECT_EQ(shell::ErrorNumber(std::system_error(EACCES, std::generic_category(), "x")), EACCES);
    EXPECT_EQ(shell::ErrorNumber(std::bad_alloc()), ENOMEM);
    EXPECT_EQ(shell::ErrorNumber(std::invalid_argument("x")), EINVAL);
    EXPECT_EQ(shell::ErrorNumber(std::out_of_range("x")), ERANGE);
    EXPECT_EQ(shell::ErrorNumber(std::runtime_error("x")), 1);
}

}  // namespace
