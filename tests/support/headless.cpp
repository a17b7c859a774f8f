#include "tests/support/headless.h"

#include "game/shell/frm_main.h"
#include "game/shell/replay.h"
#include "platform/app.h"

namespace test_support {

std::filesystem::path ProgramFolder() { return STARWAKE_PROGRAM_DIR; }

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

}  // namespace test_support
