#include "tests/support/headless.h"

#include <unistd.h>

#include "game/shell/frm_main.h"
#include "game/shell/replay.h"
#include "platform/app.h"

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
        platform::app.programFolder = ProgramFolder();
        // Tests run frames as fast as they can; pacing has tests of its own.
        shell::runOptions.uncapped = true;
        return shell::StartUp();
    }();
    return started;
}

}  // namespace test_support
