// The held keys turned into the ship's motion: thrust, turning, strafing, the weapons' fire and
// the quit request. The ship is not a world object: its state is the ship record, the view
// anchor shipX/shipY and a few values of the main window.
#pragma once

namespace simulation {

inline constexpr float kMaxSpeed = 12.0f;       // forward and backward
inline constexpr double kMaxStrafeSpeed = 10.0;
inline constexpr double kTurnPerFrame = 0.05;   // radians at 60 frames per second
inline constexpr double kFullTurn = 6.28;

// Reads the input and moves the ship for one frame (scaled by frameScale).
void HandleKeys();

}  // namespace simulation
