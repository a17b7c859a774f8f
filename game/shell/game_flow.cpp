#include "game/shell/game_flow.h"

#include "game/shell/game_counters.h"
#include "game/shell/frm_main.h"
#include "game/world/records.h"

namespace shell {

GameFlow flow;

void NewGame() {
    frmMain.gameOver = false;
    counters.score = 0;
    counters.money = 0;
    counters.health = 200;
    counters.level = 1;
    counters.lives = 3;
    world::records.shipX = 2560;
    world::records.shipY = 2560;
}

void EndOfFrameFlow() {}

void LevelBanner() {}

}  // namespace shell
