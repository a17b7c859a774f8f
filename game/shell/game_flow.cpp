#include "game/shell/game_flow.h"

#include <string>

#include "game/audio/music.h"
#include "game/graphics/dxgfx.h"
#include "game/graphics/fonts.h"
#include "game/screens/high_scores.h"
#include "game/screens/shop.h"
#include "game/shell/frm_main.h"
#include "game/shell/game_counters.h"
#include "game/shell/hud.h"
#include "game/world/level_assets.h"
#include "game/world/level_loader.h"
#include "game/world/records.h"
#include "platform/app.h"
#include "platform/message_box.h"

namespace shell {

GameFlow flow;

namespace {

constexpr std::int32_t kNewShipHealth = 200;

void Say(std::string_view text, std::int32_t font, std::int32_t left, std::int32_t top) {
    graphics::DrawText(text, font, graphics::kOpaqueWhite, graphics::TextRect(left, top));
}

bool LoadLevelOrSay(int level) {
    std::string error;
    if (world::LoadLevel(world::LevelStem(level), &error)) {
        return true;
    }
    platform::ShowMessageBox("Cannot load level " + std::to_string(level) + ": " + error, "Starwake",
                             platform::MessageButtons::kOkOnly, platform::MessageIcon::kExclamation);
    return false;
}

void StartMusic(int level) {
    frmMain.cMFile = MusicFileForLevel(level);
    audio::music.musicOn = true;
    audio::PlayMusic(frmMain.cMFile);
}

void ChangeLevel() {
    flow.levelEndAt = 0;
    if (counters.level >= kLastLevel) {
        // The game is won: its score goes into the table as a game over's does, then back to
        // the menu. A game that already ended in this frame (Y to the quit question, or game
        // over) records nothing more.
        counters.level = 1;
        if (frmMain.gameRunning) {
            frmMain.gameRunning = false;
            graphics::EndFrame();
            screens::RecordScore();
            graphics::BeginFrame();
        }
        return;
    }
    world::records.colObjRefs.Clear();
    counters.level = static_cast<std::int16_t>(counters.level + 1);
    if (!LoadLevelOrSay(counters.level)) {
        frmMain.gameRunning = false;
        return;
    }
    world::records.shipX = 2560;
    world::records.shipY = 2560;
    flow.bannerEndAt = 0;
    if (ShopBeforeLevel(counters.level)) {
        graphics::EndFrame();
        audio::StopOgg();
        audio::music.musicOn = false;
        screens::ShowShop();
        StartMusic(counters.level);
        graphics::BeginFrame();
    }
}

}  // namespace

std::string MusicFileForLevel(int level) {
    static const char* const kFiles[4] = {"002.ogg", "003.ogg", "004.ogg", "005.ogg"};
    const int band = ((level - 1) / 3) % 4;
    return (platform::DataFolder() / "Music" / kFiles[band < 0 ? 0 : band]).string();
}

bool ShopBeforeLevel(int level) { return level >= 4 && level <= 22 && (level - 1) % 3 == 0; }

bool NewGame() {
    frmMain.gameOver = false;
    // The last game's destroyed ship stays behind: a new game starts with its ship straight
    // and no explosion under way.
    frmMain.shipTilt = 0;
    flow.explosionFrame = 0;
    flow.nextExplosionFrameAt = 0;
    flow.respawnAt = 0;
    // The banner holds the world still from the very first frame: that frame's speed factor
    // comes from a stale frame count (60 times normal speed at start-up) and would throw every
    // object far along its path.
    frmMain.bannerShowing = true;
    counters.score = 0;
    counters.money = flow.startMoney;
    counters.health = kNewShipHealth;
    counters.level = flow.startLevel;
    counters.lives = 3;
    if (!LoadLevelOrSay(counters.level)) {
        return false;
    }
    world::LoadTiles();
    world::records.shipX = 2560;
    world::records.shipY = 2560;
    // A game started further on with the money of the levels before it buys its weapons first.
    if (counters.money > 0) {
        screens::ShowShop();
    }
    StartMusic(counters.level);
    return true;
}

std::int16_t AdvanceShipExplosion() {
    if (flow.nextExplosionFrameAt < platform::GetTickCount()) {
        flow.nextExplosionFrameAt = platform::GetTickCount() + 75;
        if (flow.explosionFrame < 15) {
            flow.explosionFrame = static_cast<std::int16_t>(flow.explosionFrame + 1);
        }
    }
    if (flow.explosionFrame < 15) {
        flow.respawnAt = platform::GetTickCount() + 2000;
        return static_cast<std::int16_t>(flow.explosionFrame + 1);
    }
    if (flow.respawnAt < platform::GetTickCount()) {
        counters.lives = static_cast<std::int16_t>(counters.lives - 1);
        flow.explosionFrame = 0;
        flow.nextExplosionFrameAt = 0;
        flow.respawnAt = 0;
        if (counters.lives >= 0) {
            counters.health = kNewShipHealth;
        } else {
            frmMain.gameOver = true;
        }
        // Bought weapons go with the ship unless Weapon Stay keeps them.
        if (!counters.hasWeaponStay && !frmMain.gameOver) {
            counters.hasSideShot = false;
            counters.hasRearShot = false;
            counters.hasPhasers = false;
            counters.hasCrossShot = false;
        }
        counters.invulnerable = true;
        counters.invulnerableUntil = platform::GetTickCount() + 5000;
    }
    return 0;
}

void EndOfFrameFlow() {
    if (frmMain.gameOver) {
        if (flow.gameOverUntil == 0) {
            flow.gameOverUntil = platform::GetTickCount() + 6000;
        }
        Say("Game Over", graphics::fonts.fontLarge, 300, 250);
        if (flow.gameOverUntil < platform::GetTickCount()) {
            flow.gameOverUntil = 0;
            frmMain.gameRunning = false;
            graphics::EndFrame();
            screens::RecordScore();
            graphics::BeginFrame();
        }
    }

    // A level is complete when nothing at all is left in the world, shots included.
    if (world::records.colObjects.empty()) {
        frmMain.levelComplete = true;
        if (counters.level == kLastLevel) {
            Say("Congratulations!", graphics::fonts.fontLarge, 290, 250);
            Say("You have defeated the enemy horde!", graphics::fonts.fontMedium, 150, 300);
            Say("You have won the game!", graphics::fonts.fontMedium, 90, 330);
            if (flow.levelEndAt == 0) {
                flow.levelEndAt = platform::GetTickCount() + 10000;
            }
        } else {
            Say("Level Complete", graphics::fonts.fontLarge, 290, 250);
        }
        // The ship turns to face up and flies off the top of the screen.
        world::cCar& ship = world::Ship();
        if (ship.CarAngle < 6.1) {
            ship.CarAngle += 0.1;
        } else if (hud.shipScreenY > -128) {
            hud.shipScreenY -= 10;
        }
        if (flow.levelEndAt == 0) {
            flow.levelEndAt = platform::GetTickCount() + 4000;
        }
        if (flow.levelEndAt < platform::GetTickCount()) {
            ChangeLevel();
        }
    }
}

void LevelBanner() {
    if (flow.bannerEndAt == 0) {
        flow.bannerEndAt = platform::GetTickCount() + 2000;
    }
    if (flow.bannerEndAt > platform::GetTickCount()) {
        const std::string text =
            counters.level == kLastLevel ? "Final Battle" : "Level " + std::to_string(counters.level) + " Start";
        Say(text, graphics::fonts.fontLarge, 290, 250);
        frmMain.bannerShowing = true;
    }
}

}  // namespace shell
