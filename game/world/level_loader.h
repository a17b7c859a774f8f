// Loading one level: the tile map, the object kinds and the placed objects.
#pragma once

#include <string>

namespace world {

// Loads the level whose files begin with stem (".map" and ".dat" are appended).
void LoadLevel(const std::string& stem);

}  // namespace world
