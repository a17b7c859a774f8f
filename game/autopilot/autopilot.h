// The autopilot ("--autopilot"): a bot that plays through the same seam as a player. After every
// input poll, and before a recording keeps the key table, it looks at the game (read-only) and
// sets the keys of the configured controls, Return, and Escape and Y to leave a game. It never
// writes game state, so its runs are ordinary recordings. It says how each level went on
// standard output, one line a level:
//   autopilot: level 3 cleared=1 seconds=41.27 damage=60 ships=0 shots=312 money=230 earned=240
// and, when the program leaves, one line for the game:
//   autopilot: game won=1 score=48210 ships=1 levels=24 seconds=452.10
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "game/autopilot/flying.h"
#include "game/autopilot/menus.h"

namespace autopilot {

// How one level went.
struct LevelFigures {
    int level = 0;
    double seconds = 0;  // game time flying (banners and the wait for a new ship left out)
    int damage = 0;      // health lost
    int ships = 0;       // ships destroyed
    int shots = 0;       // the player's shots fired
    int earned = 0;      // money the coins brought
};

struct AutopilotState {
    bool engaged = false;
    bool oneLevel = false;   // "--level N": that level only; the game is left once it is cleared
    bool played = false;     // a game has been flown: the main menu's choice is now Exit
    bool leaving = false;    // the game is to be left (Escape, Y; Exit in the shop)
    FlightMemory flight;
    MenuMemory menu;
    std::vector<const world::cObject*> shotsSeen;  // the player's shots at the last poll, sorted
    std::vector<const world::cObject*> shotsNow;
    bool levelOpen = false;  // figures are being kept for figures.level
    LevelFigures figures;
    std::int32_t lastHealth = 0;
    std::int32_t lastMoney = 0;
    // The whole game.
    int levelsCleared = 0;
    int shipsLost = 0;
    double secondsFlown = 0;
    bool won = false;
    bool gameReported = false;
    std::vector<std::string> lines;  // report lines not yet printed
};
extern AutopilotState pilot;

// Switches the autopilot on for this run; oneLevel when the game starts on a chosen level.
void Engage(bool oneLevel);

// The decision of one poll: reads the view, changes only `memory` and, in keyState, the keys
// of the configured actions, Return, Escape and Y.
void Decide(const GameView& view, AutopilotState& memory, std::array<bool, 256>& keyState);

// The input seam: decides on the live game and prints the report lines.
void OnInputPoll(std::array<bool, 256>& keyState);

// A report line: "level 3 cleared=1 seconds=... earned=...".
std::string LevelLine(const LevelFigures& figures, bool cleared, std::int32_t money);

}  // namespace autopilot
