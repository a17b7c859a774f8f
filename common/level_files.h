// The level files: a level's tile map ("maps/LevelN.map"), its placed objects
// ("maps/LevelN.dat") and the object kinds all levels share ("objects.dat"). One reader and one
// writer for each, used by the data generator to write the files and by the game's level loader
// to read them. The readers follow the loader's rules (lines end at CR LF, fields split at every
// "," and never trimmed, kinds numbered by their line) and return the good records together with
// one message per bad line, so the caller decides what a damaged file means.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace common {

// The world is 20 x 20 tiles of 256 pixels; a map file holds one byte per tile, row by row.
inline constexpr int kMapColumns = 20;
inline constexpr int kMapRows = 20;
inline constexpr int kMapBytes = kMapColumns * kMapRows;
inline constexpr int kTileSize = 256;
inline constexpr int kWorldSize = kMapColumns * kTileSize;  // 5120 pixels, wrapping
// Tile 0 is empty space; 1 .. 23 are the bitmaps Tiles/Tile01.bmp .. Tile23.bmp.
inline constexpr int kTileKinds = 23;
inline constexpr int kLevelCount = 24;

inline constexpr std::string_view kObjectKindsFileName = "objects.dat";

// "maps/Level7.map" and "maps/Level7.dat" for level 7, relative to the program folder.
std::string LevelMapFileName(int level);
std::string LevelObjectsFileName(int level);
// "Tiles/Tile07.bmp" for tile 7.
std::string TileFileName(int tile);

// One line of objects.dat.
struct ObjectKind {
    std::string name;         // kind name; a sprite file below Objects/ when it contains ".bmp"
    std::int16_t width = 0;   // box width in world pixels
    std::int16_t height = 0;  // box height in world pixels
    int refNum = 0;           // its line number, counted from 1: the kind's texture index
};

// One line of a level's .dat file, as written: the kind and the object's centre in view
// coordinates (its world centre is (x + 400, y + 100)).
struct PlacedObject {
    std::string kind;        // a kind name from objects.dat
    double x = 0.0;          // centre, view coordinates
    double y = 0.0;
    double xSpeed = 0.0;     // drift, or an enemy's speed
    double ySpeed = 0.0;
    std::int16_t oType = 0;  // behaviour code
    std::int32_t health = 0; // hit points; the object's score value is ten times this
};

// A bad line: its number (from 1) and what is wrong, with the file's name in the text.
struct LineDiagnostic {
    int line = 0;
    std::string message;
};

struct ObjectKindsReadResult {
    std::vector<ObjectKind> kinds;             // good lines, in file order
    std::vector<LineDiagnostic> diagnostics;   // bad lines and repeated names
};

struct PlacedObjectsReadResult {
    std::vector<PlacedObject> objects;         // good lines, in file order
    std::vector<LineDiagnostic> diagnostics;
};

// Reads objects.dat. Every line is a kind: name, width, height, and any further fields are
// ignored. A kind keeps the number of its line even when lines before it are bad. A name
// already used (letter case ignored) is reported and the first kind with it stays.
ObjectKindsReadResult ParseObjectKinds(std::string_view text, std::string_view fileName);

// Reads a level's .dat file: kind, x, y, xSpeed, ySpeed, oType, health on every line.
// Whole numbers are rounded with halves to the even neighbour. Kind names are not checked
// here (see FindObjectKind).
PlacedObjectsReadResult ParsePlacedObjects(std::string_view text, std::string_view fileName);

// The kind with this name, letter case ignored, or nullptr.
const ObjectKind* FindObjectKind(std::span<const ObjectKind> kinds, std::string_view name);

// Where the loader puts a placed object: the top-left of its box in world pixels,
// (x + 400 - width / 2, y + 100 - height / 2) with halves rounded to the even neighbour.
struct BoxCorner {
    std::int32_t x = 0;
    std::int32_t y = 0;
};
BoxCorner PlacedObjectCorner(const PlacedObject& object, const ObjectKind& kind);

// The files' text: one line per record, each ending in CR LF. Numbers are written in the
// shortest decimal form that reads back to the same value, without an exponent.
std::string FormatObjectKinds(std::span<const ObjectKind> kinds);
std::string FormatPlacedObjects(std::span<const PlacedObject> objects);

// Problems of a map file: a length other than 400 bytes, or tile numbers above 23. bytes is
// what was read of it, fileBytes the file's whole length (a reader may stop after 400).
std::vector<std::string> CheckLevelMap(std::span<const std::uint8_t> bytes, std::uintmax_t fileBytes,
                                       std::string_view fileName);

}  // namespace common
