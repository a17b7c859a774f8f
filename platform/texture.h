// Textures in the device's managed pool: pictures loaded from bitmap files the way the old
// utility library's texture loader made them (sides rounded up to powers of two, a colour key
// that turns matching texels into transparent black), kept as A8R8G8B8 and surviving a device
// reset. Only the top level is kept: the game never samples another.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "common/image.h"

namespace platform {

// A texture handle; 0 is no texture.
using TextureId = std::int32_t;

// The largest texture side the device accepts; bigger pictures are scaled down to it.
inline constexpr int kMaxTextureSide = 4096;

struct Texture {
    int width = 0;   // of the top level, after rounding
    int height = 0;
    // A8R8G8B8 texels with a one-texel border around them that repeats the edge texels, so a
    // filter that reads one texel beyond the edge gets the clamped value without a test.
    // Texel (x, y), for x in -1 .. width and y in -1 .. height, is texels[(y + 1) * pitch + x + 1].
    std::vector<std::uint32_t> texels;
    int pitch = 0;  // width + 2
    bool opaque = false;  // every texel's alpha is 0xFF
    // Per colour channel (0 blue, 1 green, 2 red), made on first use by ChannelQuads for the
    // spans that read a single channel: each texel's channel and its right, lower and
    // lower-right neighbours' in the four bytes of a word, laid out like texels.
    mutable std::array<std::vector<std::uint32_t>, 3> channelQuads;

    // Texel (x, y) for x in -1 .. width and y in -1 .. height.
    std::uint32_t At(int x, int y) const {
        return texels[static_cast<std::size_t>(y + 1) * static_cast<std::size_t>(pitch) +
                      static_cast<std::size_t>(x + 1)];
    }
    // Address of texel (0, 0).
    const std::uint32_t* Origin() const { return texels.data() + pitch + 1; }
};

// How the loader resamples a picture whose size differs from the texture's.
enum class ImageFilter { kPoint, kLinear };

struct TextureLoadOptions {
    int width = 0;   // 0: the picture's width rounded up to a power of two
    int height = 0;  // 0: likewise for the height
    ImageFilter filter = ImageFilter::kPoint;
    std::uint32_t colourKey = 0;  // texels equal to this A8R8G8B8 value become 0; 0: no key
};

struct TexturePoolState {
    std::vector<std::unique_ptr<Texture>> textures;  // index = TextureId - 1; null when free
};
extern TexturePoolState texturePool;

// Loads a bitmap file into a new texture; 0 with *error set (naming the file) on failure.
TextureId CreateTextureFromFile(const std::filesystem::path& path, const TextureLoadOptions& options,
                                std::string* error);
// Makes a texture from a picture in memory (alpha as given); 0 on failure.
TextureId CreateTextureFromImage(const common::Image& image, const TextureLoadOptions& options,
                                 std::string* error);

// The texture behind a handle, or null for 0, a released or an unknown handle.
const Texture* GetTexture(TextureId id);

// The address of texel (0, 0)'s quad of the channel (0 blue, 1 green, 2 red), making the
// texture's quads of that channel on first use. Quads exist for texels -1 .. width - 1 across
// and -1 .. height - 1 down: every texel a linear filter can take as its upper left.
const std::uint32_t* ChannelQuads(const Texture& texture, int channel);

void ReleaseTexture(TextureId id);
// Drops every texture (device release).
void ReleaseAllTextures();

// The side the loader gives a picture side: the next power of two, at most kMaxTextureSide.
int RoundTextureSide(int side);

// Resamples a picture to the given size with the loader's filter (point: the source texel
// under each target texel's centre; linear: bilinear between the four nearest).
common::Image ResampleImage(const common::Image& image, int width, int height, ImageFilter filter);

}  // namespace platform
