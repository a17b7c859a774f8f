// corvane: the game.
#include <cstdio>
#include <exception>
#include <string>

#include "game/shell/frm_main.h"
#include "platform/app.h"
#include "platform/message_box.h"

int main(int argc, char** argv) {
    platform::SetCommandLine(argc, argv);
    try {
        shell::FormLoad();
    } catch (const std::exception& error) {
        // An error no code handled: say what it was and end with a failure status.
        platform::ShowMessageBox(std::string("Run-time error: ") + error.what(), "Starwake",
                                 platform::MessageButtons::kOkOnly, platform::MessageIcon::kCritical);
        return 1;
    }
    return 0;
}
