// The pilot on the screens around a game: it starts a game from the main menu (or leaves the
// program once its game is over), buys in the shop what a sensible player would, and signs
// the high-score table "BOT".
#pragma once

#include "game/autopilot/game_view.h"

namespace autopilot {

// The keys for one pass of a screen: the configured actions and Return.
struct MenuKeys {
    bool up = false;
    bool down = false;
    bool turnLeft = false;
    bool turnRight = false;
    bool fire = false;
    bool enter = false;
};

struct MenuMemory {
    bool choseLastPass = false;  // Return was down in the last pass: let it go in this one
};

inline constexpr char kInitials[4] = "BOT";

// The shop line to buy next: a repair when hurt, then the best weapon or upgrade the money
// buys; Exit (kShopExitLine) when there is nothing more worth buying or `leaving`.
int ShopChoice(const shell::GameCounters& counters, const screens::ShopState& shop, bool leaving);

// The keys for the screen that is up. `gameDone` makes the main menu choose Exit; `leaving`
// makes the shop leave at once.
MenuKeys OnScreen(const GameView& view, bool gameDone, bool leaving, MenuMemory& memory);

}  // namespace autopilot
