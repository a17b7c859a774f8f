#include "tests/support/headless.h"

#include <unistd.h>

#include "game/shell/frm_main.h"
#include "game/shell/replay.h"
#include <gtest/gtest.h>

#include "common/scancodes.h"
#include "game/input/dinput.h"
#include "platform/app.h"
#include "platform/device.h"
#include "platform/keyboard.h"
#include "platform/window.h"

namespace test_support {

std::filesystem::path ProgramFolder() { return STARWAKE_PROGRAM_DIR; }

std::filesystem::path ScratchFolder(const std::string& name) {
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("starwake-" + name + "-" + std::to_string(::getpid()));
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    return folder;
}

bool StartHeadlessGame() {
    static const bool started = [] {
        static char name[] = "corvane";
        char* argv[] = {name, nullptr};
        platform::SetCommandLine(1, argv);
        platform::SetProgramFolder(ProgramFolder());
        // Tests run frames as fast as they can; pacing has tests of its own.
        shell::runOptions.uncapped = true;
        return shell::StartUp();
    }();
    return started;
}

void ExpectAltEnterSwitchesTheWindow(const std::function<void()>& frame) {
    const bool fullscreenBefore = platform::window.fullscreen;
    const auto presentedBefore = platform::device.framesPresented;
    bool returnSeen = false;
    // A screen may skip its poll in some states (the game's banner): poll once more as its next
    // iteration would.
    auto run = [&] {
        frame();
        input::UpdateInput();
        returnSeen = returnSeen || input::dinput.keyState[common::kKeyReturn];
    };
    for (int toggle = 1; toggle <= 2; ++toggle) {
        platform::ScriptKey(common::kKeyLeftAlt, true);
        platform::window_testing::PushAltEnter(true);
        run();  // its message pump takes the key
        // The key table shows the Return from the pump on, as SDL's does.
        platform::ScriptKey(common::kKeyReturn, true);
        EXPECT_EQ(platform::window.fullscreen, toggle == 1 ? !fullscreenBefore : fullscreenBefore);
        run();
        platform::ScriptKey(common::kKeyLeftAlt, false);
        run();  // Alt let go, Return still held
        // Its release reaches the pump and the key table together.
        platform::window_testing::PushAltEnter(false);
        platform::ScriptKey(common::kKeyReturn, false);
        run();
    }
    EXPECT_FALSE(returnSeen) << "the Return of Alt+Enter reached keyState";
    EXPECT_EQ(platform::window.fullscreen, fullscreenBefore);
    EXPECT_GE(platform::device.framesPresented, presentedBefore + 8);
    platform::ScriptKey(common::kKeyReturn, true);
    input::UpdateInput();
    EXPECT_TRUE(input::dinput.keyState[common::kKeyReturn]) << "a plain Return must reach the game";
    platform::ScriptKey(common::kKeyReturn, false);
    input::UpdateInput();
}

}  // namespace test_support
