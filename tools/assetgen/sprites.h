// The sprites: the player's ship (straight and banked), the enemies, every shot, the
// 15-frame explosion, the particle, the star and the shield. Ships and enemies point up
// (the way they fly) in their bitmaps.
#pragma once

#include <vector>

#include "tools/assetgen/asset_set.h"

namespace assetgen {

// A sprite kind of objects.dat: its file below Objects/ and its bitmap side lengths. The box
// in objects.dat is three quarters of the bitmap, the size the game draws sprites at.
struct SpriteKind {
    const char* name;
    int bitmapWidth;
    int bitmapHeight;
};

inline constexpr SpriteKind kLaserKind = {"Laser.bmp", 8, 32};
inline constexpr SpriteKind kSideshotKind = {"Sideshot.bmp", 16, 32};
inline constexpr SpriteKind kRearshotKind = {"Rearshot.bmp", 8, 16};
inline constexpr SpriteKind kPhaserKind = {"Phaser.bmp", 8, 32};
inline constexpr SpriteKind kBlastKind = {"Blast.bmp", 16, 16};
inline constexpr SpriteKind kFireballKind = {"Fireball.bmp", 32, 32};
inline constexpr SpriteKind kScoutKind = {"Scout.bmp", 64, 64};
inline constexpr SpriteKind kRaiderKind = {"Raider.bmp", 128, 128};
inline constexpr SpriteKind kMothershipKind = {"Mothership.bmp", 256, 256};

inline constexpr SpriteKind kSpriteKinds[] = {kLaserKind,  kSideshotKind, kRearshotKind,
                                              kPhaserKind, kBlastKind,    kFireballKind,
                                              kScoutKind,  kRaiderKind,   kMothershipKind};

// The explosion frame side: drawn at three quarters from 44 pixels above and left of the
// explosion's point, its centre lands 4 pixels from that point.
inline constexpr int kExplosionSide = 128;
inline constexpr int kExplosionFrames = 15;

std::vector<Picture> MakeObjectSprites();     // Objects/<kind>
std::vector<Picture> MakeExplosionFrames();   // Objects/Explosion/01.bmp .. 15.bmp
std::vector<Picture> MakeShipPictures();      // overheadship, leftshift, rightshift
std::vector<Picture> MakeSmallSprites();      // Particle, Star, Shield

}  // namespace assetgen

namespace assetgen {
struct Canvas;
// The player's fighter on a transparent 128 x 128 canvas, or that size times scale. bank: 0
// straight, -1 rolling left, +1 rolling right.
Canvas DrawPlayerShip(int bank, float scale = 1.0f);
}  // namespace assetgen
