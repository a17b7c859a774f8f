#include "game/simulation/ship_control.h"

#include "common/scancodes.h"
#include "game/input/dinput.h"
#include "game/shell/frm_main.h"

namespace simulation {

void HandleKeys() {
    input::UpdateInput();
    if (input::dinput.keyState[common::kKeyEscape]) {
        shell::frmMain.quitRequested = true;
    }
}

}  // namespace simulation
