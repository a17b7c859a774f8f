#include "game/autopilot/game_view.h"

#include "game/input/dinput.h"

namespace autopilot {

GameView LiveView() {
    return GameView{shell::counters,   world::records,      world::Ship(),
                    shell::frmMain,    shell::frameTimer,   shell::menus,
                    screens::shop,     screens::highScores, screens::screenLoop,
                    input::dinput.keyCodes};
}

}  // namespace autopilot
