#include "game/shell/hud.h"

#include <cmath>
#include <string>

#include "common/rounding.h"
#include "game/graphics/fonts.h"
#include "game/shell/frm_main.h"
#include "game/shell/game_counters.h"
#include "game/shell/game_flow.h"
#include "game/shell/mod_timer.h"
#include "game/simulation/behaviour.h"
#include "game/world/background.h"
#include "game/world/level_assets.h"
#include "game/world/records.h"
#include "platform/device.h"

namespace shell {

HudState hud;

namespace {

// The ship at rest circles slowly around its place; moving, it sits still.
void PlaceShip() {
    const world::cCar& ship = world::Ship();
    if (ship.xAccel != 0 || frmMain.strafeSpeed != 0) {
        hud.shipScreenX = 336;
        hud.shipScreenY = 436;
        return;
    }
    frmMain.enginePhase += frameTimer.frameScale * 0.1;
    if (frmMain.enginePhase > 6.28) {
        frmMain.enginePhase -= 6.28;
    }
    const double p = frmMain.enginePhase;
    hud.shipScreenX = common::RoundToLong(5 * std::cos(p) - 5 * std::sin(p) + 336);
    hud.shipScreenY = common::RoundToLong(5 * std::cos(p) + 5 * std::sin(p) + 436);
}

void DrawShip(graphics::Vector2 pt) {
    if (frmMain.shipTilt == 3) {
        // The destroyed ship: its explosion, then the next ship or the end of the game.
        const std::int16_t frame = AdvanceShipExplosion();
        if (frame > 0) {
            graphics::BeginSprites();
            graphics::DrawSpriteScaled(world::assets.explosionTextures[static_cast<std::size_t>(frame)],
                                       {pt.x - 64, pt.y - 64}, 0, true, "FF", 1, 1.5f, 1.5f, "");
            graphics::EndSprites();
        }
        return;
    }
    const std::int32_t texture = frmMain.shipTilt == 1   ? world::assets.leftShiftTexture
                                 : frmMain.shipTilt == 2 ? world::assets.rightShiftTexture
                                                         : world::assets.shipTexture;
    DrawShadow(pt, texture, 0);
    graphics::BeginSprites();
    graphics::DrawSprite(texture, pt, 0, true, "FF", 0, "");
    graphics::EndSprites();
}

void DrawShield() {
    const platform::Tick now = platform::GetTickCount();
    if (!((hud.shieldUntil > now && counters.health > 0) || counters.shipHit)) {
        return;
    }
    if (counters.shipHit) {
        hud.shieldUntil = platform::GetTickCount() + 500;
    }
    if (hud.nextShieldStepAt < platform::GetTickCount()) {
        hud.nextShieldStepAt = platform::GetTickCount() + 50;
        hud.shieldAngle += 0.25f;
        if (6.28f < hud.shieldAngle) {
            hud.shieldAngle -= 6.28f;
        }
    }
    graphics::BeginSprites();
    graphics::DrawSprite(world::assets.shieldTexture,
                         {static_cast<float>(hud.shipScreenX), static_cast<float>(hud.shipScreenY)},
                         hud.shieldAngle, false, "6F", 1, "00FF00");
    graphics::EndSprites();
}

void DrawLevelFog() {
    platform::SetRenderState(platform::kRsAlphaBlendEnable, 1);
    graphics::BeginSprites();
    const int level = counters.level;
    if (level >= 7 && level <= 9) {
        world::DrawFog(world::records.shipX, world::records.shipY, "AF0000");
    } else if (level >= 13 && level <= 15) {
        world::DrawFog(world::records.shipX, world::records.shipY, "00AF00");
    }
    graphics::EndSprites();
    platform::SetRenderState(platform::kRsAlphaBlendEnable, 0);
}

}  // namespace

void DrawShadow(graphics::Vector2 position, std::int32_t texture, float rotation) {
    if (!simulation::IsShadowLevel(counters.level)) {
        return;
    }
    graphics::BeginSprites();
    graphics::DrawSpriteScaled(texture, {position.x + 30, position.y + 30}, rotation, true, "99", 3,
                               0.7f, 0.7f, "");
    graphics::EndSprites();
}

void DrawScoreAndMoney() {
    graphics::DrawText(std::to_string(counters.score), graphics::fonts.fontMedium,
                       graphics::ColorRGBA(255, 255, 175, 200), graphics::TextRect(100, 515));
    graphics::DrawText(std::to_string(counters.money), graphics::fonts.fontMedium,
                       graphics::ColorRGBA(175, 255, 175, 200), graphics::TextRect(100, 550));
}

void DrawHudLabels() {
    const std::int32_t items = world::assets.gameItemsTexture;
    graphics::BeginSprites();
    graphics::DrawSpriteRect(items, {180, 520}, 0, true, "FF", 0, {0, 10, 185, 55}, 0.5f, 0.5f, "FFAFFF");
    graphics::DrawSpriteRect(items, {20, 515}, 0, true, "FF", 0, {0, 60, 185, 120}, 0.5f, 0.5f, "FFFFAF");
    graphics::DrawSpriteRect(items, {20, 550}, 0, true, "FF", 0, {0, 120, 185, 175}, 0.5f, 0.5f, "AFFFAF");
    graphics::EndSprites();
}

void DrawRadar() {
    const std::int32_t dot = world::assets.starTexture;
    float x = static_cast<float>(world::records.shipX / 5120.0 * 128 + 672 + 5);
    float y = static_cast<float>(world::records.shipY / 5120.0 * 128 + 472 + 5);
    graphics::DrawSprite(dot, {x, y}, 0, false, "FF", 1, "00FF00");
    // Two white dots ahead of the ship's dot show its heading.
    for (int step = 0; step < 2; ++step) {
        const double a = world::Ship().Angle;
        x = static_cast<float>(x + 2 * std::cos(4.71 - a));
        y = static_cast<float>(y + 2 * std::sin(4.71 - a));
        graphics::DrawSprite(dot, {x, y}, 0, false, "FF", 1, "FFFFFF");
    }
    for (const world::ObjectHandle& object : world::records.colObjects) {
        if (object->IsWeapon) {
            continue;
        }
        std::string_view colour;
        switch (object->oType) {
            case 1: case 5: case 6: colour = "0000FF"; break;
            case 4: case 7: case 12: case 13: colour = "00FFFF"; break;
            case 8: colour = "FFFF00"; break;
            default: continue;
        }
        graphics::DrawSprite(dot,
                             {static_cast<float>(object->X / 5120.0 * 128 + 672),
                              static_cast<float>(object->Y / 5120.0 * 128 + 472)},
                             0, false, "FF", 1, colour);
    }
}

void DrawHud() {
    DrawHudLabels();
    if (!frmMain.levelComplete && !frmMain.quitRequested) {
        PlaceShip();
    }
    const graphics::Vector2 pt{static_cast<float>(hud.shipScreenX + 15), static_cast<float>(hud.shipScreenY)};

    if (hud.nextBlinkAt < platform::GetTickCount() && counters.invulnerable) {
        hud.nextBlinkAt = platform::GetTickCount() + 250;
        hud.blinkOn = !hud.blinkOn;
    }
    if (counters.health <= 0) {
        frmMain.shipTilt = 3;
    }
    if (!(counters.invulnerable && !hud.blinkOn)) {
        DrawShip(pt);
    }
    DrawShield();
    DrawLevelFog();

    graphics::BeginSprites();
    graphics::DrawSpriteScaled(world::assets.radarTexture, {680, 480}, 0, true, "FF", 0, 0.9375f,
                               0.9375f, "");
    graphics::DrawSprite(world::assets.logoTexture, {0, 30}, 0, false, "FF", 1, "");
    graphics::DrawSpriteScaled(world::assets.healthTexture, {185, 550}, 0, true, "FF", 0,
                               static_cast<float>(counters.health * 0.01 * 0.3), 0.2f, "");
    DrawRadar();
    graphics::EndSprites();

    graphics::BeginSprites();
    for (int i = 1; i <= counters.lives; ++i) {
        graphics::DrawSpriteScaled(world::assets.shipTexture, {100.0f + 40.0f * i, 30}, 0, true, "FF",
                                   0, 0.3f, 0.3f, "");
    }
    graphics::EndSprites();
}

}  // namespace shell
