// Everything the autopilot may look at, and nothing it may change: const references to the
// game's own state, taken afresh at every input poll.
#pragma once

#include <array>
#include <cstdint>

#include "game/screens/high_scores.h"
#include "game/screens/screen_loop.h"
#include "game/screens/shop.h"
#include "game/shell/frm_main.h"
#include "game/shell/game_counters.h"
#include "game/shell/main_menu.h"
#include "game/shell/mod_timer.h"
#include "game/world/records.h"

namespace autopilot {

struct GameView {
    const shell::GameCounters& counters;          // level, ships, health, money, weapons
    const world::WorldRecords& world;             // the objects, their kinds, the ship's place
    const world::cCar& ship;                      // speeds and heading
    const shell::MainWindow& window;              // quit question, game over
    const shell::FrameTimer& frameTimer;          // this frame's speed factor
    const shell::MenuScreens& menus;              // the main menu's highlight
    const screens::ShopState& shop;               // the shop's highlight
    const screens::HighScoreState& highScores;    // the initials being entered
    const screens::ScreenLoopState& screenLoop;   // which screen is up
    const std::array<std::int16_t, 8>& keyCodes;  // the configured keys, by action
};

// The live game, read-only.
GameView LiveView();

}  // namespace autopilot
