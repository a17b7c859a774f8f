#include "game/graphics/meshes.h"

namespace graphics {

bool InitGeometry() { return false; }

}  // namespace graphics
