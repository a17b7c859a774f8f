// The shop between levels: a health refill, weapons, Weapon Stay and an extra ship, bought
// with the money the coins brought. A loop of its own over the shop picture until Exit.
#pragma once

#include <cstdint>
#include <string_view>

#include "platform/clock.h"

namespace screens {

struct ShopState {
    int selected = 0;                 // the highlighted line; the first at every visit
    platform::Tick nextMoveTick = 0;  // earliest tick of the next move of the highlight
    bool lifeBought = false;          // an Extra Life was bought in this visit
    bool leaving = false;             // Exit was chosen
};
extern ShopState shop;

inline constexpr int kShopLines = 9;  // eight things to buy and Exit
inline constexpr int kShopExitLine = 8;

// The text of a line, exactly as the shop shows it ("$150  Health Restore" ... "Exit").
std::string_view ShopLineText(int line);

// The money a line takes (0 for Exit).
std::int32_t ShopLinePrice(int line);

// Runs the shop until the player chooses Exit.
void ShowShop();

}  // namespace screens
