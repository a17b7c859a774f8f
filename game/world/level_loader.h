// Loading one level: its tile map, the object kinds all levels share (with one sprite per
// kind) and the level's placed objects.
#pragma once

#include <array>
#include <cstdint>
#include <span>
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

// The three files of a level as read, each with the path that names it in messages.
struct LevelFileBytes {
    std::string mapPath;
    std::span<const std::uint8_t> map;  // at most the 400 bytes a map holds are used
    std::uintmax_t mapFileBytes = 0;    // the map file's own length when longer than map; 0: map's
    std::string kindsPath;
    std::string_view kinds;             // objects.dat
    std::string objectsPath;
    std::string_view objects;           // the level's .dat
};
// LoadLevel once the files are read; the same rules and messages.
bool LoadLevelFromBytes(const LevelFileBytes& files, std::string* error);

// The stem of level n: the program folder + "maps/Level" + n.
std::string LevelStem(int level);

}  // namespace world
