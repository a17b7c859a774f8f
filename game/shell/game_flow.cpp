#include "game/shell/game_flow.h"

#include <string>

#include "game/shell/frm_main.h"
#include "game/shell/game_counters.h"
#include "game/world/level_assets.h"
#include "game/world/level_loader.h"
#include "game/world/records.h"
#include "platform/message_box.h"

namespace shell {

GameFlow flow;

bool NewGame() {
    frmMain.gameOver = false;
    counters.score = 0;
    counters.money = 0;
    counters.health = 200;
    counters.level = 1;
    counters.lives = 3;
    std::string error;
    if (!world::LoadLevel(world::LevelStem(counters.level), &error)) {
        platform::ShowMessageBox("Cannot load level " + std::to_string(counters.level) + ": " + error,
                                 "Starwake", platform::MessageButtons::kOkOnly,
                                 platform::MessageIcon::kExclamation);
        return false;
    }
    world::LoadTiles();
    world::records.shipX = 2560;
    world::records.shipY = 2560;
    return true;
}

void EndOfFrameFlow() {}

void LevelBanner() {}

}  // namespace shell
