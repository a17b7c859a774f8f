// The player's weapons and the spawners of explosions, debris and coins.
#pragma once

namespace effects {

// Fires every weapon the player owns whose interval has passed.
void FireWeapons();

}  // namespace effects
