#include "game/screens/shop.h"

#include <string>

#include "common/scancodes.h"
#include "game/audio/sound.h"
#include "game/graphics/fonts.h"
#include "game/graphics/sprites.h"
#include "game/input/dinput.h"
#include "game/screens/screen_loop.h"
#include "game/shell/game_counters.h"
#include "platform/app.h"
#include "platform/window.h"

namespace screens {

ShopState shop;

namespace {

using shell::counters;

constexpr std::int32_t kFullHealth = 200;

// What a line sells: the money it takes (Side Shot's line reads $300 but takes 250), whether
// the player may have it now, and what buying it gives.
struct ShopItem {
    std::string_view text;
    std::int32_t price;
    bool (*available)();
    void (*give)();
};

constexpr ShopItem kItems[kShopExitLine] = {
    {"$150  Health Restore", 150, [] { return counters.health < kFullHealth; },
     [] { counters.health = kFullHealth; }},
    {"$200  Laser Upgrade", 200, [] { return !counters.hasLaserUpgrade; },
     [] { counters.hasLaserUpgrade = true; }},
    {"$200  Rear Shot", 200, [] { return !counters.hasRearShot; }, [] { counters.hasRearShot = true; }},
    {"$300  Side Shot", 250, [] { return !counters.hasSideShot; }, [] { counters.hasSideShot = true; }},
    {"$300  Cross Shot", 300, [] { return !counters.hasCrossShot; }, [] { counters.hasCrossShot = true; }},
    {"$500  Phasers", 500, [] { return !counters.hasPhasers; }, [] { counters.hasPhasers = true; }},
    {"$700  Weapon Stay", 700, [] { return !counters.hasWeaponStay; },
     [] { counters.hasWeaponStay = true; }},
    {"$1000 Extra Life", 1000, [] { return !shop.lifeBought; },
     [] {
         counters.lives = static_cast<std::int16_t>(counters.lives + 1);
         shop.lifeBought = true;
     }},
};

void DrawShop() {
    graphics::DrawText("Money $" + std::to_string(counters.money), graphics::fonts.fontLarge,
                       graphics::kOpaqueGreen, graphics::ScreenTextRect(275, 170));
    for (int line = 0; line < kShopLines; ++line) {
        graphics::DrawText(ShopLineText(line), graphics::fonts.fontMedium,
                           line == shop.selected ? graphics::kOpaqueRed : graphics::kOpaqueWhite,
                           graphics::ScreenTextRect(275, 250 + 25 * line));
    }
}

// Every pass with Fire or Return down acts: a held key buys once and is refused after that.
void ActOnSelectedLine() {
    if (shop.selected == kShopExitLine) {
        graphics::SetSpriteScale(0.75f, 0.75f);
        shop.leaving = true;
        return;
    }
    const ShopItem& item = kItems[shop.selected];
    if (counters.money >= item.price && item.available()) {
        counters.money -= item.price;
        item.give();
        audio::PlayEffect("buy.wav", audio::kBuySlot);
    } else {
        audio::PlayEffect("denied.wav", audio::kDeniedSlot);
    }
}

}  // namespace

std::string_view ShopLineText(int line) {
    return line >= 0 && line < kShopExitLine ? kItems[line].text : "Exit";
}

std::int32_t ShopLinePrice(int line) {
    return line >= 0 && line < kShopExitLine ? kItems[line].price : 0;
}

void ShowShop() {
    const ShowingScreen shown(Screen::kShop);
    graphics::SetSpriteScale(0.8f, 0.6f);
    BuildBackground(kShopPicture);
    shop = ShopState{};
    while (!shop.leaving) {
        if (!ScreenPass(kShopPicture, DrawShop)) {
            continue;
        }
        MoveHighlight(&shop.selected, &shop.nextMoveTick, kShopExitLine);
        if (FireOrReturnDown()) {
            ActOnSelectedLine();
        }
        platform::DoEvents();
    }
}

}  // namespace screens
