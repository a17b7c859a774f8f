#include "game/effects/particles.h"

namespace effects {

cParticle particles;

void RenderParticles(std::int32_t, std::int32_t) {}

}  // namespace effects
