#include "game/shell/main_menu.h"

#include "game/graphics/sprites.h"

namespace shell {

// Until the menu screens exist, the menu starts a game at once.
void MainMenu() {
    graphics::sprites.spriteScaleX = 0.75f;
    graphics::sprites.spriteScaleY = 0.75f;
}

void OptionsScreen() {}

}  // namespace shell
