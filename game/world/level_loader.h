// Loading one level: its tile map, the object kinds all levels share (with one sprite per
// kind) and the level's placed objects.
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace world {

// The kind names the game itself spawns (shots, explosions, dropped coins): objects.dat must
// define every one of them.
inline constexpr std::array<std::string_view, 8> kProgramKinds = {
    "Laser.bmp", "Sideshot.bmp", "Rearshot.bmp", "Phaser.bmp",
    "Blast.bmp", "Fireball.bmp", "4",            "5"};

// Loads the level whose files begin with stem (".map" and ".dat" are appended) and the kinds
// of objects.dat in the program folder. Damaged lines are skipped with a note on standard
// error naming file and line. False, with *error naming the file and the fault, when the level
// cannot be played (a file missing or unreadable, a kind the game needs not defined); the
// world then holds whatever was loaded before the fault and the caller ends the game.
bool LoadLevel(const std::string& stem, std::string* error);

// The stem of level n: the program folder + "maps/Level" + n.
std::string LevelStem(int level);

}  // namespace world
