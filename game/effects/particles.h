// Bursts of glowing specks where shots hit, drawn in the rotating view.
#pragma once

#include <cstdint>

namespace effects {

struct cParticle {
    bool Active = false;  // some particle of the burst is alive
};
extern cParticle particles;

// Draws every live particle once and advances it by a frame.
void RenderParticles(std::int32_t viewX, std::int32_t viewY);

}  // namespace effects
