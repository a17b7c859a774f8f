// The game's bitmaps and the pool slots that hold them: the fixed set of screen and ship
// pictures, the explosion frames, the tiles, and one sprite per object kind.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "common/data_paths.h"

namespace world {

// Colour keys: the colour (alpha included) that becomes transparent.
inline constexpr std::uint32_t kKeyBlack = 0xFF000000u;
inline constexpr std::uint32_t kKeyWhite = 0xFFFFFFFFu;
inline constexpr std::uint32_t kKeyYellow = 0xFFFFFF00u;
// A key no pixel of a bitmap has (bitmaps load opaque): the picture keeps every pixel.
inline constexpr std::uint32_t kKeyNone = 0x0FF00000u;

struct LevelAssets {
    std::int32_t logoTexture = -1;
    std::int32_t healthTexture = -1;
    std::int32_t shipTexture = -1;
    std::int32_t leftShiftTexture = -1;
    std::int32_t rightShiftTexture = -1;
    std::int32_t radarTexture = -1;
    std::int32_t particleTexture = -1;
    std::int32_t shieldTexture = -1;
    std::int32_t fogTexture = -1;
    std::int32_t menuItemsTexture = -1;
    std::int32_t gameItemsTexture = -1;
    std::int32_t starTexture = -1;
    std::array<std::int32_t, 16> explosionTextures{};  // frames 1 .. 15; 0 stays empty
};
extern LevelAssets assets;

// The fixed set, in its order.
void LoadTextures();
// Objects/Explosion/01.bmp .. 15.bmp.
void LoadExplosionFrames();
// Tiles/Tile01.bmp .. Tile23.bmp into tileTextures.
void LoadTiles();
// The sprite of a kind whose name holds ".bmp" (any case, anywhere), into objectTextures;
// objects names the files of the data folder's Objects/.
void LoadObjectSprite(const common::DataFileNames& objects, const std::string& name, std::int32_t index);

// True when a kind name names a sprite file.
bool NamesSprite(std::string_view name);

}  // namespace world
