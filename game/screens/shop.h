// The shop between levels: repairs, weapons, an extra ship.
#pragma once

namespace screens {

// Runs the shop until the player chooses Exit.
void ShowShop();

}  // namespace screens
