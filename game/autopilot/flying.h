// The pilot at the controls during play: it picks a target (enemies first, then rocks and
// mines, then coins), turns to where its shots will meet the target, keeps its distance,
// fires while something worth a shot lies ahead, and slides out of the way of whatever is about
// to hit the ship.
#pragma once

#include <vector>

#include "game/autopilot/game_view.h"

namespace autopilot {

// The flight keys of one frame, by action.
struct FlightKeys {
    bool up = false;
    bool down = false;
    bool turnLeft = false;
    bool turnRight = false;
    bool fire = false;
    bool strafeLeft = false;
    bool strafeRight = false;
};

// Where an object's centre was at a poll: the next poll tells its speed from it.
struct Sighting {
    const world::cObject* object = nullptr;
    double x = 0;
    double y = 0;
};

// What the pilot remembers from one frame to the next.
struct FlightMemory {
    std::vector<Sighting> previous;  // the last poll's sightings, sorted by object
    std::vector<Sighting> current;   // this poll's, swapped into previous at the end
    double shipX = 0;                // the ship's point at the last poll
    double shipY = 0;
    bool seenShip = false;
};

// The keys for this frame of play.
FlightKeys Fly(const GameView& view, FlightMemory& memory);

// The heading (the game's convention: 0 towards smaller y, growing to the left) that points
// along (dx, dy), in [0, 2 pi).
double HeadingTowards(double dx, double dy);

// The point where a shot from the origin at shotSpeed meets a target at (dx, dy) moving by
// (vx, vy) a frame; the target itself when no shot can catch it.
void LeadPoint(double dx, double dy, double vx, double vy, double shotSpeed, double* aimX, double* aimY);

}  // namespace autopilot
