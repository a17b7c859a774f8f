// The per-frame pass over the world's objects: place each in the view that turns around the
// ship, let it act by its type, wrap it on the world, test its collisions, and afterwards
// remove at most one finished object.
#pragma once

#include <cstdint>

#include "game/world/records.h"

namespace simulation {

struct WorldPassState {
    float meshSpin = 0;  // common spin of all tumbling meshes, degrees
};
extern WorldPassState worldPass;

// Where an object shows this frame.
struct Placement {
    std::int32_t dispX = 0;   // its position wrapped near the ship (for placing only)
    std::int32_t dispY = 0;
    float sx = 0;             // top-left of its box on screen
    float sy = 0;
    std::int16_t width = 0;   // its kind's box
    std::int16_t height = 0;
    std::int32_t refNum = 0;  // its kind's sprite index
};

// The stored position as it is placed near a ship close to a world edge (the far side of the
// world shown beside the near one); the stored position itself is not changed.
void DisplayWrap(std::int32_t shipX, std::int32_t shipY, std::int32_t& x, std::int32_t& y);

// The screen position of an object's box, the world turned by the ship's heading about the
// ship's point (screen 400, 500).
void PlaceOnScreen(std::int32_t shipX, std::int32_t shipY, double heading, Placement& placement);

// World wrap of a stored position: below 0 gains 5120, above 5120 loses it (5120 stays).
void WrapPosition(world::cObject& object);

// Removes the first object that has expired or is dead, if any; true when one went.
bool RemoveOneFinishedObject();

void UpdateWorldObjects(std::int32_t& shipX, std::int32_t& shipY);

}  // namespace simulation
