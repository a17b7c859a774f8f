// Bursts of glowing specks where shots hit: each flies out of the hit point, arcs under a
// constant pull and dies after a random number of frames. One engine; a new burst replaces the
// last. Particles live in world coordinates and turn with the view.
#pragma once

#include <cstdint>
#include <vector>

namespace effects {

struct Particle {
    float X = 0;          // world position
    float Y = 0;
    float XSpeed = 0;     // world units per frame
    float YSpeed = 0;     // applied upwards or downwards by Down
    std::int16_t Down = 0;  // 0 moves up (smaller Y), 1 down
    std::int32_t Life = 0;  // frames left
    std::int32_t Dead = 0;  // 1 once dead
    float red = 0, green = 0, blue = 0;  // the burst colour (kept, not drawn)
    std::int16_t width = 0, height = 0;  // 16 and 16 (kept, not drawn)
};

struct cParticle {
    float Gravity = 0;           // added to every vertical speed each frame
    float Wind = 0;              // added to every horizontal speed each frame
    std::int16_t nParticles = 0; // particles per burst
    std::int16_t YVariation = 0; // upper bound of the random vertical speed
    std::int16_t XVariation = 0; // width of the random horizontal speed range, centred on 0
    std::int16_t LifeTime = 0;   // upper bound of the random life, frames
    bool Active = false;         // some particle of the burst is alive
    bool UpOnly = false;         // every particle starts upwards
    std::int16_t RotChange = 0;  // kept; no effect
    std::int16_t BlendMode = 0;  // kept; no effect
    float ScaleChange = 0;       // kept; no effect
    std::vector<Particle> burst; // the particles of the current burst

    // A new burst of nParticles at a world point (nothing when nParticles is not positive).
    void InitParticleEngine(float r, float g, float b, std::int16_t x, std::int16_t y);
    void InitNewParticles(float r, float g, float b, std::int16_t x, std::int16_t y, std::int16_t w,
                          std::int16_t h);
    // Draws every live particle once and advances it by one frame; Active turns false once
    // all are dead.
    void RenderParticles(std::int32_t viewX, std::int32_t viewY);
};
extern cParticle particles;

// The game loop's call: renders the engine's burst.
void RenderParticles(std::int32_t viewX, std::int32_t viewY);

}  // namespace effects
