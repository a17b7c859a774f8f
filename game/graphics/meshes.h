// The mesh table: the five models of rocks, coins and mines, loaded at start-up and again after
// a device reset.
#pragma once

namespace graphics {

// Loads meshes 1 to 5; true when all five loaded.
bool InitGeometry();

}  // namespace graphics
