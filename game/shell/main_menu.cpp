#include "game/shell/main_menu.h"

#include "game/graphics/sprites.h"
#include "game/shell/frm_main.h"

namespace shell {

// Until the menu screens exist, the menu starts a game at once. A player who answered Y to
// the quit question has nothing left to choose here but the menu's Exit, so the program ends;
// after a game over or the last level a new game starts.
void MainMenu() {
    if (frmMain.quitAnswered) {
        Shutdown(0);
    }
    graphics::sprites.spriteScaleX = 0.75f;
    graphics::sprites.spriteScaleY = 0.75f;
}

void OptionsScreen() {}

}  // namespace shell
