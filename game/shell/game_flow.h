// One game from start to end: the new-game set-up, ship loss, level completion and change,
// the shop every third level, game over, and the level-start banner.
#pragma once

#include "platform/clock.h"

namespace shell {

struct GameFlow {
    platform::Tick bannerEndAt = 0;    // end of the level-start banner; 0 not started
    platform::Tick levelEndAt = 0;     // end of the level-complete pause; 0 not started
    platform::Tick gameOverUntil = 0;  // end of the "Game Over" text; 0 not started
};
extern GameFlow flow;

// The values a new game starts with, level 1 and its music. False (after a message naming
// the damaged file) when level 1 cannot be loaded.
bool NewGame();

// Game over, level complete, level change (end of every game frame).
void EndOfFrameFlow();

// The level-start banner (last step before the frame ends).
void LevelBanner();

}  // namespace shell
