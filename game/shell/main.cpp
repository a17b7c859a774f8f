// corvane: the game.
#include <cstdio>
#include <exception>
#include <string>

#include "game/shell/frm_main.h"
#include "game/shell/replay.h"
#include "platform/app.h"
#include "platform/message_box.h"

namespace {

constexpr const char* kUsage =
    "usage: corvane [SHOWFPS] [--level N] [--money M] [--autopilot] [--uncapped] [--frame-clock]\n"
    "               [--windowed | --fullscreen]\n"
    "               [--record FILE | --play FILE | --timedemo FILE] [--trace FILE]\n";

}  // namespace

int main(int argc, char** argv) {
    platform::SetCommandLine(argc, argv);
    for (const std::string& word : platform::app.arguments) {
        if (word == "--help") {
            std::fputs(kUsage, stdout);
            return 0;
        }
    }
    std::string optionsError;
    if (!shell::ParseRunOptions(platform::app.arguments, &shell::runOptions, &optionsError)) {
        std::fprintf(stderr, "corvane: %s\n", optionsError.c_str());
        std::fputs(kUsage, stderr);
        return 2;
    }
    // The game itself sees only its own words.
    platform::app.arguments = shell::runOptions.words;
    try {
        shell::FormLoad();
    } catch (const std::exception& error) {
        // An error no code handled: say what it was and end with a failure status.
        platform::ShowMessageBox("Run-time error: " + shell::ErrorText(error), "Starwake",
                                 platform::MessageButtons::kOkOnly, platform::MessageIcon::kCritical);
        return 1;
    }
    return 0;
}
