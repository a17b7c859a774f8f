#include "game/effects/particles.h"

#include <cmath>

#include "common/rounding.h"
#include "game/graphics/sprites.h"
#include "game/shell/rnd.h"
#include "platform/clock.h"

namespace effects {

cParticle particles;

namespace {

// The engine reseeds the generator from the clock before each particle it creates or moves.
void Reseed() { shell::Randomize(static_cast<double>(platform::GetTickCount()) / 1000.0); }

}  // namespace

void cParticle::InitParticleEngine(float r, float g, float b, std::int16_t x, std::int16_t y) {
    if (nParticles <= 0) {
        burst.clear();
        return;
    }
    burst.assign(static_cast<std::size_t>(nParticles), Particle{});
    InitNewParticles(r, g, b, x, y, 16, 16);
}

void cParticle::InitNewParticles(float r, float g, float b, std::int16_t x, std::int16_t y,
                                 std::int16_t w, std::int16_t h) {
    for (Particle& p : burst) {
        Reseed();
        p.Dead = 0;
        p.red = r;
        p.green = g;
        p.blue = b;
        p.X = x;
        p.Y = y;
        p.XSpeed = static_cast<float>(shell::Rnd() * XVariation - XVariation / 2.0);
        p.YSpeed = shell::Rnd() * YVariation;
        p.Down = UpOnly ? 0 : common::RoundToInteger(shell::Rnd());
        p.width = w;
        p.height = h;
        p.Life = static_cast<std::int32_t>(std::floor(shell::Rnd() * (LifeTime - 2))) + 2;
    }
}

void cParticle::RenderParticles(std::int32_t viewX, std::int32_t viewY) {
    bool anyAlive = false;
    for (Particle& p : burst) {
        Reseed();
        if (p.Dead != 0) {
            continue;
        }
        anyAlive = true;
        // Drawn where it is, then moved.
        graphics::DrawParticle(viewX, viewY, common::RoundToLong(p.X), common::RoundToLong(p.Y));
        p.X += p.XSpeed;
        p.XSpeed += Wind;
        p.Y = p.Down == 0 ? p.Y - p.YSpeed : p.Y + p.YSpeed;
        p.YSpeed += Gravity;
        p.Life -= 1;
        if (p.Life < 3) {
            p.Life = 1;
        }
        if (p.Life < 2) {
            p.Dead = 1;
        }
    }
    Active = anyAlive;
}

void RenderParticles(std::int32_t viewX, std::int32_t viewY) { particles.RenderParticles(viewX, viewY); }

}  // namespace effects
