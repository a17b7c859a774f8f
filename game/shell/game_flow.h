// One game from start to end: the new-game set-up, the loss of a ship and the next one, level
// completion and change with the shop before every third level, game over, the win after the
// last level, and the level-start banner. All of it runs inside the game loop, tested every
// frame in a fixed order.
#pragma once

#include <cstdint>
#include <string>

#include "platform/clock.h"

namespace shell {

inline constexpr int kLastLevel = 24;

struct GameFlow {
    platform::Tick bannerEndAt = 0;          // end of the level-start banner; 0 not started
    platform::Tick levelEndAt = 0;           // end of the level-complete pause; 0 not started
    platform::Tick gameOverUntil = 0;        // end of the "Game Over" text; 0 not started
    std::int16_t explosionFrame = 0;         // frame of the destroyed ship's explosion, 0 .. 15
    platform::Tick nextExplosionFrameAt = 0; // when explosionFrame advances next
    platform::Tick respawnAt = 0;            // when the next ship is put in place
    std::int16_t startLevel = 1;             // the level a new game starts on
    bool skipMenu = false;                   // "--level N": the first game starts without the menu
    std::int32_t startMoney = 0;             // "--money M": the first game's money, spent in a shop first
};
extern GameFlow flow;

// The values a new game starts with, its first level and its music. False (after a message
// naming the damaged file) when the level cannot be loaded.
bool NewGame();

// The destroyed ship: advances its explosion, and once it has burnt out puts the next ship in
// place or ends the game. Returns the explosion frame to draw (1 .. 15), or 0 for none.
std::int16_t AdvanceShipExplosion();

// Game over, level complete, level change (end of every game frame).
void EndOfFrameFlow();

// The level-start banner (last step before the frame ends).
void LevelBanner();

// The music of a level: the program folder + "Music/00N.ogg".
std::string MusicFileForLevel(int level);

// True for the levels the shop opens before (4, 7, 10, ... 22).
bool ShopBeforeLevel(int level);

}  // namespace shell
