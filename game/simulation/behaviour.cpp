#include "game/simulation/behaviour.h"

#include <cmath>
#include <string_view>

#include "common/number_text.h"
#include "common/rounding.h"
#include "game/audio/sound.h"
#include "game/graphics/meshes.h"
#include "game/graphics/sprites.h"
#include "game/shell/game_counters.h"
#include "game/shell/hud.h"
#include "game/shell/mod_timer.h"
#include "game/shell/rnd.h"
#include "game/world/level_assets.h"
#include "platform/clock.h"

namespace simulation {

BehaviourState behaviour;

namespace {

constexpr double kDegreesToRadians = 3.14 / 180.0;

// A mesh object names its mesh by number: "4" is mesh 4. Anything else draws nothing.
std::int16_t MeshNumber(std::string_view name) {
    const auto number = common::ParseNumber(name);
    return number && common::FitsAfterRounding<std::int16_t>(*number) ? common::RoundToInteger(*number)
                                                                      : 0;
}

float SpriteRotation(const world::cObject& o) {
    return static_cast<float>(6.28 - world::Ship().Angle + o.Angle);
}

std::int32_t Texture(const Placement& p) {
    return p.refNum >= 0 && p.refNum <= world::kMaxObjectKinds
               ? world::records.objectTextures[static_cast<std::size_t>(p.refNum)]
               : -1;
}

void DrawSpinningMesh(const world::cObject& o, const Placement& p, float scale, float angleX,
                      float angleY, std::int16_t asShadow, float offset) {
    const float x = static_cast<float>(p.sx + p.width / 2.0 + offset);
    const float y = static_cast<float>(p.sy + p.height / 2.0 + offset);
    graphics::SetMeshTransform(x, y, static_cast<float>(world::Ship().Angle + o.Angle), scale, angleX,
                               angleY, 0.5f);
    graphics::DrawMesh(MeshNumber(o.name), asShadow);
}

void Drift(world::cObject& o, double scale) {
    o.X = common::RoundToLong(scale * o.xSpeed + o.X);
    o.Y = common::RoundToLong(scale * o.ySpeed + o.Y);
}

// Shots fly along their heading at xSpeed; heading 0 is towards smaller Y.
void FlyAlongHeading(world::cObject& o) {
    const double speed = o.xSpeed * shell::frameTimer.frameScale;
    o.X = common::RoundToLong(std::cos(4.71 - o.Angle) * speed + o.X);
    o.Y = common::RoundToLong(std::sin(4.71 - o.Angle) * speed + o.Y);
}

void Shot(world::cObject& o, const Placement& p) {
    graphics::BeginSprites();
    graphics::DrawSprite(Texture(p), {p.sx, p.sy}, SpriteRotation(o), true, "FF",
                         o.name == "Fireball.bmp" ? 0 : 1, "");
    graphics::EndSprites();
    FlyAlongHeading(o);
}

void PhaserBeam(world::cObject& o, const Placement& p) {
    o.PhaserLength += shell::frameTimer.frameScale * 0.2f;
    if (o.PhaserLength > 3.5f) {
        o.PhaserLength = 3.5f;
    }
    graphics::BeginSprites();
    graphics::DrawSpriteScaled(Texture(p), {p.sx, p.sy}, SpriteRotation(o), true, "FF", 1, 0.5f,
                               o.PhaserLength + 0.5f, "CFCFFF");
    graphics::EndSprites();
    FlyAlongHeading(o);
}

void Explosion(world::cObject& o, const Placement& p) {
    if (o.LastCount + 50 < platform::GetTickCount()) {
        o.LastCount = platform::GetTickCount();
        o.LastFrame = static_cast<std::int16_t>(o.LastFrame + 1);
        if (o.LastFrame > 15) {
            o.LastFrame = 15;
        }
    }
    const std::size_t frame = static_cast<std::size_t>(o.LastFrame < 0 ? 0 : o.LastFrame);
    graphics::BeginSprites();
    graphics::DrawSprite(world::assets.explosionTextures[frame], {p.sx - 44, p.sy - 44},
                         SpriteRotation(o), true, "FF", 1, "");
    graphics::EndSprites();
}

// Turns the heading towards b by step, settling on b once within 0.2 of it.
void TurnTowards(world::cObject& o, double b, double step) {
    if (o.Angle > b) {
        o.Angle -= step;
    }
    if (o.Angle < b) {
        o.Angle += step;
    }
    if (b - 0.2 < o.Angle && o.Angle < b + 0.2) {
        o.Angle = b;
    }
}

void Enemy(world::cObject& o, const Placement& p) {
    const float rotation = static_cast<float>(SpriteRotation(o) + 1.57);
    shell::DrawShadow({p.sx, p.sy}, Texture(p), rotation);
    graphics::BeginSprites();
    graphics::DrawSprite(Texture(p), {p.sx, p.sy}, rotation, true, "FF", 0, "");
    graphics::EndSprites();

    const double f = o.oType == kBoss ? 0.5 : 1.0;
    const double frameScale = shell::frameTimer.frameScale;
    const std::int32_t tx = world::records.shipX + 400;
    const std::int32_t ty = world::records.shipY + 100;
    double& b = behaviour.bearing;
    b = Bearing(o.X, o.Y, tx, ty, b);

    // A new mood every one to three seconds; 0 and 4 come half as often as 1, 2 and 3.
    if (o.LastStateChange < platform::GetTickCount()) {
        o.LastStateChange = common::RoundToLong(static_cast<double>(platform::GetTickCount()) + 1000.0 +
                                                shell::Rnd() * 2000.0);
        o.State = common::RoundToInteger(shell::Rnd() * 4.0);
    }

    switch (o.State) {
        case 0:
        case 1:
            // Close in, stopping on an axis once within 100 pixels of the ship on it.
            TurnTowards(o, b, frameScale * 0.1 * f);
            if (std::abs(std::int64_t{o.X} - tx) > 100) {
                o.X = common::RoundToLong(frameScale * o.xSpeed * std::sin(o.Angle - 1.57) + o.X);
            }
            if (std::abs(std::int64_t{o.Y} - ty) > 100) {
                o.Y = common::RoundToLong(frameScale * o.ySpeed * std::cos(o.Angle - 1.57) + o.Y);
            }
            break;
        default:
            if (o.State == 2) {
                b = b + 1.57;  // circle
            } else {
                b = 3.14 - b;  // veer away
            }
            TurnTowards(o, b, frameScale * 0.1);
            o.X = common::RoundToLong(frameScale * o.xSpeed * std::sin(o.Angle - 1.57) + o.X);
            o.Y = common::RoundToLong(frameScale * o.ySpeed * std::cos(o.Angle - 1.57) + o.Y);
            break;
    }

    // Fire only while on screen, at most once a second, half of the chances taken.
    if (p.sx > 0 && p.sx < 800 && p.sy > 0 && p.sy < 600) {
        if (o.LastCount < platform::GetTickCount()) {
            o.LastCount = platform::GetTickCount() + 1000;
            if (shell::Rnd() * 100 < 50) {
                auto shot = std::make_shared<world::cObject>();
                shot->name = o.oType == kEnemy ? "Phaser.bmp" : o.oType == kEnemyTwo ? "Blast.bmp" : "Fireball.bmp";
                shot->X = o.X;
                shot->Y = o.Y;
                shot->xSpeed = 20;
                shot->ySpeed = 0;
                shot->oType = kShot;
                shot->Angle = o.Angle + 1.57;
                shot->LifeTime = 1000;
                shot->LifeStart = platform::GetTickCount();
                shot->IsWeapon = false;
                shot->Health = 10;
                world::AddObject(std::move(shot));
                audio::ReplaySound(audio::kLaserSlot);
            }
        }
    }
}

}  // namespace

bool IsShadowLevel(int level) { return (level > 3 && level < 7) || (level > 17 && level < 20); }

double Bearing(std::int32_t x, std::int32_t y, std::int32_t tx, std::int32_t ty, double lastBearing) {
    const double dx = static_cast<double>(tx) - x;
    const double dy = static_cast<double>(ty) - y;
    const double dist = std::sqrt(dx * dx + dy * dy);
    // From the first bearing on, the pass skips a failing statement alone and goes on with
    // the next. On the ship's point the arcsine divides by a distance of 0 and is skipped, so b
    // keeps the previous enemy's bearing; the half-turn below is a statement of its own and
    // still runs (dx is 0 there, so it always turns).
    double b = lastBearing;
    if (dist != 0) {
        const double v = std::sin(1.57) / dist * dy;
        b = std::atan(v / std::sqrt(1 - v * v));
    }
    if (dx >= 0) {
        b = 3.14 - b;
    }
    return b;
}

void BeginBehaviourPass() { behaviour.bearing = 0; }

void RunBehaviour(world::cObject& o, const Placement& p) {
    const float spin = static_cast<float>(worldPass.meshSpin * kDegreesToRadians);
    switch (o.oType) {
        case kLargeRock:
        case kMeshObject:
            DrawSpinningMesh(o, p, 0.3f, spin, 0.0f, 0, 0);
            Drift(o, shell::frameTimer.frameScale);
            break;
        case kRockPiece:
            DrawSpinningMesh(o, p, 0.15f, spin, 0.0f, 0, 0);
            Drift(o, shell::frameTimer.frameScale);
            break;
        case kMine:
            DrawSpinningMesh(o, p, 0.15f, spin, spin, 0, 0);
            Drift(o, shell::frameTimer.frameScale);
            break;
        case kCoin:
            if (IsShadowLevel(shell::counters.level)) {
                DrawSpinningMesh(o, p, 0.1f, spin, 0.0f, -1, 30);
            }
            DrawSpinningMesh(o, p, 0.1f, spin, 0.0f, 0, 0);
            // Coins drift by whole speeds per frame, whatever the frame rate.
            Drift(o, 1.0);
            break;
        case kShot:
            Shot(o, p);
            break;
        case kPhaserBeam:
            PhaserBeam(o, p);
            break;
        case kExplosion:
            Explosion(o, p);
            break;
        case kEnemy:
        case kEnemyTwo:
        case kBoss:
            Enemy(o, p);
            break;
        default:
            break;  // other codes are neither drawn nor moved
    }
}

}  // namespace simulation
