#include "game/autopilot/menus.h"

namespace autopilot {

namespace {

constexpr std::int32_t kFullHealth = 200;
constexpr std::int32_t kRepairBelow = 160;

// The shop's lines in the order a player wants them: the faster laser, the phasers' heavy beam,
// the side and cross shots, Weapon Stay to keep them, the rear shot, a ship more.
constexpr int kWishes[] = {1, 5, 3, 4, 6, 2, 7};

// What each line costs and whether the player may buy it now, as the shop decides it.
bool CanBuy(int line, const shell::GameCounters& c, const screens::ShopState& shop) {
    const std::int32_t price = screens::ShopLinePrice(line);
    if (c.money < price) return false;
    switch (line) {
        case 0: return c.health < kFullHealth;
        case 1: return !c.hasLaserUpgrade;
        case 2: return !c.hasRearShot;
        case 3: return !c.hasSideShot;
        case 4: return !c.hasCrossShot;
        case 5: return !c.hasPhasers;
        case 6: return !c.hasWeaponStay;
        case 7: return !shop.lifeBought;
        default: return false;
    }
}

// Up or Down until the highlight is on the line, then Return for one pass.
void Choose(int highlighted, int wanted, MenuKeys& keys, MenuMemory& memory) {
    if (highlighted < wanted) {
        keys.down = true;
    } else if (highlighted > wanted) {
        keys.up = true;
    } else if (!memory.choseLastPass) {
        keys.enter = true;
    }
}

void SignTable(const screens::InitialsEntry& entry, MenuKeys& keys, MenuMemory& memory) {
    const int position = entry.position;
    const char wanted = kInitials[position];
    const char shown = entry.letters[static_cast<std::size_t>(position)];
    if (shown < wanted) {
        keys.up = true;
    } else if (shown > wanted) {
        keys.down = true;
    } else if (position < 2) {
        keys.turnRight = true;
    } else if (!memory.choseLastPass) {
        keys.fire = true;
    }
}

}  // namespace

int ShopChoice(const shell::GameCounters& counters, const screens::ShopState& shop, bool leaving) {
    if (leaving) return screens::kShopExitLine;
    if (counters.health < kRepairBelow && CanBuy(0, counters, shop)) return 0;
    for (int line : kWishes) {
        if (CanBuy(line, counters, shop)) return line;
    }
    return screens::kShopExitLine;
}

MenuKeys OnScreen(const GameView& view, bool gameDone, bool leaving, MenuMemory& memory) {
    MenuKeys keys;
    switch (view.screenLoop.showing) {
        case screens::Screen::kMainMenu:
            Choose(view.menus.mainMenu.highlighted, gameDone ? shell::kExit : shell::kStartGame, keys, memory);
            break;
        case screens::Screen::kOptions:
            Choose(view.menus.options.highlighted, shell::kOptionsExitLine, keys, memory);
            break;
        case screens::Screen::kShop:
            Choose(view.shop.selected, ShopChoice(view.counters, view.shop, leaving), keys, memory);
            break;
        case screens::Screen::kHighScores:
            keys.enter = !memory.choseLastPass;
            break;
        case screens::Screen::kInitials:
            SignTable(view.highScores.entry, keys, memory);
            break;
        case screens::Screen::kNone:
            break;
    }
    memory.choseLastPass = keys.enter || keys.fire;
    return keys;
}

}  // namespace autopilot
