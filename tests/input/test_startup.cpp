#include <gtest/gtest.h>

#include <string>

#include "game/input/dinput.h"
#include "game/shell/frm_main.h"
#include "platform/app.h"
#include "platform/keyboard.h"
#include "platform/message_box.h"

namespace {

void SetProgramName() {
    static char name[] = "corvane";
    char* argv[] = {name, nullptr};
    platform::SetCommandLine(1, argv);
}

TEST(StartUp, KeyboardThatCannotBeOpenedStopsTheGameAndSaysWhy) {
    SetProgramName();
    platform::keyboard.failOpen = true;
    std::string shown;
    platform::messageBox.handler = [&](std::string_view text, std::string_view,
                                       platform::MessageButtons, platform::MessageIcon icon) {
        shown = text;
        EXPECT_EQ(icon, platform::MessageIcon::kCritical);
        return platform::MessageAnswer::kOkPressed;
    };
    ::testing::internal::CaptureStderr();
    const bool started = shell::StartUp();
    const std::string errors = ::testing::internal::GetCapturedStderr();
    platform::messageBox.handler = nullptr;
    platform::keyboard.failOpen = false;

    EXPECT_FALSE(started);
    EXPECT_FALSE(input::dinput.created);
    EXPECT_NE(shown.find("keyboard"), std::string::npos) << shown;
    EXPECT_NE(errors.find(shown), std::string::npos) << errors;
}

TEST(StartUpDeathTest, KeyboardThatCannotBeOpenedEndsTheProgramWithAFailure) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    SetProgramName();
    platform::keyboard.failOpen = true;
    // Headless, the message box falls back to standard error as well.
    EXPECT_EXIT(shell::FormLoad(), ::testing::ExitedWithCode(1), "Cannot read the keyboard");
    platform::keyboard.failOpen = false;
}

}  // namespace
