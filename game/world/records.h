// The records of the world and the containers that hold them for the whole run.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>

namespace world {

// The player's ship; only the speeds and headings are used.
struct cCar {
    std::string name;
    std::int16_t animX = 0;
    std::int16_t animY = 0;
    std::int16_t Frames = 0;
    std::int16_t Height = 0;
    std::int16_t Width = 0;
    std::int16_t MoveHorizontal = 0;
    std::int16_t MoveVertical = 0;
    float xAccel = 0;       // forward speed, -12 .. 12
    float yAccel = 0;       // the same value, drives the Y motion
    std::int16_t DisplayRate = 0;
    std::int32_t TransColor = 0;
    std::string Sprites;
    std::int32_t Interval = 0;
    double Angle = 0;       // heading for motion and view, 0 .. 6.28
    double Alpha = 0;
    double CarAngle = 0;    // heading the turn keys change, 0 .. 6.28
};

struct WorldRecords {
    std::array<std::shared_ptr<cCar>, 11> cars;  // only cars[0] is ever created
    std::int32_t shipX = 0;  // world anchor of the view; the ship's point is (shipX + 400, shipY + 100)
    std::int32_t shipY = 0;
};
extern WorldRecords records;

}  // namespace world
