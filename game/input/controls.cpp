#include "game/input/controls.h"

#include <cstdio>

#include "common/config_file.h"
#include "game/input/dinput.h"
#include "platform/app.h"

namespace input {

void LoadControls() {
    LoadControlsFrom(platform::app.playerFiles.config.readFrom);
}

bool LoadControlsFrom(const std::filesystem::path& path) {
    const common::ControlsReadResult result = common::LoadControlsFile(path);
    for (const std::string& warning : result.warnings) {
        std::fprintf(stderr, "Starwake: %s\n", warning.c_str());
    }
    for (std::size_t i = 0; i < result.controls.keyCodes.size(); ++i) {
        dinput.keyCodes[i] = result.controls.keyCodes[i];
    }
    dinput.joystickEnabled = result.controls.joystickEnabled;
    return result.fromFile;
}

}  // namespace input
