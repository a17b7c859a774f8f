#include "platform/texture.h"

#include <algorithm>
#include <cstdio>
#include <optional>

#include "common/bmp.h"

namespace platform {

TexturePoolState texturePool;

namespace {

// Blends two A8R8G8B8 values channel by channel with an 8-bit weight of the second.
std::uint32_t Lerp(std::uint32_t a, std::uint32_t b, std::uint32_t weight) {
    std::uint32_t out = 0;
    for (int shift = 0; shift < 32; shift += 8) {
        const std::uint32_t ca = (a >> shift) & 0xFF;
        const std::uint32_t cb = (b >> shift) & 0xFF;
        out |= ((ca * (256 - weight) + cb * weight) >> 8) << shift;
    }
    return out;
}

// Where a target texel's centre falls in the source, in 16.16 fixed point, as a source
// coordinate whose integer part names the texel whose centre lies at or before it.
std::int64_t SourceCentre(int target, int targetSize, int sourceSize) {
    // ((target + 0.5) * sourceSize / targetSize - 0.5) * 65536, exactly in integers.
    return (static_cast<std::int64_t>(2 * target + 1) * sourceSize * 65536) / (2 * targetSize) -
           32768;
}

std::unique_ptr<Texture> MakeTexture(const common::Image& image) {
    auto texture = std::make_unique<Texture>();
    texture->width = image.width;
    texture->height = image.height;
    texture->pitch = image.width + 2;
    texture->texels.assign(static_cast<std::size_t>(texture->pitch) *
                               static_cast<std::size_t>(image.height + 2),
                           0);
    for (int y = -1; y <= image.height; ++y) {
        const int sy = std::clamp(y, 0, image.height - 1);
        std::uint32_t* row = texture->texels.data() + static_cast<std::size_t>(y + 1) * texture->pitch;
        for (int x = -1; x <= image.width; ++x) {
            row[x + 1] = image.At(std::clamp(x, 0, image.width - 1), sy);
        }
    }
    texture->opaque = std::all_of(image.pixels.begin(), image.pixels.end(),
                                  [](std::uint32_t texel) { return (texel >> 24) == 0xFF; });
    return texture;
}

TextureId AddToPool(std::unique_ptr<Texture> texture) {
    auto& slots = texturePool.textures;
    for (std::size_t i = 0; i < slots.size(); ++i) {
        if (!slots[i]) {
            slots[i] = std::move(texture);
            return static_cast<TextureId>(i + 1);
        }
    }
    slots.push_back(std::move(texture));
    return static_cast<TextureId>(slots.size());
}

}  // namespace

int RoundTextureSide(int side) {
    int rounded = 1;
    while (rounded < side && rounded < kMaxTextureSide) {
        rounded *= 2;
    }
    return rounded;
}

common::Image ResampleImage(const common::Image& image, int width, int height, ImageFilter filter) {
    if (image.width == width && image.height == height) {
        return image;
    }
    common::Image out(width, height, 0);
    for (int y = 0; y < height; ++y) {
        const std::int64_t sy = SourceCentre(y, height, image.height);
        for (int x = 0; x < width; ++x) {
            const std::int64_t sx = SourceCentre(x, width, image.width);
            if (filter == ImageFilter::kPoint) {
                // The texel that contains the centre: half a texel on from the shifted coordinate.
                const int px = std::clamp(static_cast<int>((sx + 32768) >> 16), 0, image.width - 1);
                const int py = std::clamp(static_cast<int>((sy + 32768) >> 16), 0, image.height - 1);
                out.At(x, y) = image.At(px, py);
                continue;
            }
            const int x0 = static_cast<int>(sx >> 16);
            const int y0 = static_cast<int>(sy >> 16);
            const auto fx = static_cast<std::uint32_t>((sx >> 8) & 0xFF);
            const auto fy = static_cast<std::uint32_t>((sy >> 8) & 0xFF);
            const int xa = std::clamp(x0, 0, image.width - 1);
            const int xb = std::clamp(x0 + 1, 0, image.width - 1);
            const int ya = std::clamp(y0, 0, image.height - 1);
            const int yb = std::clamp(y0 + 1, 0, image.height - 1);
            const std::uint32_t top = Lerp(image.At(xa, ya), image.At(xb, ya), fx);
            const std::uint32_t bottom = Lerp(image.At(xa, yb), image.At(xb, yb), fx);
            out.At(x, y) = Lerp(top, bottom, fy);
        }
    }
    return out;
}

TextureId CreateTextureFromImage(const common::Image& source, const TextureLoadOptions& options,
                                 std::string* error) {
    if (source.Empty() || source.pixels.size() != static_cast<std::size_t>(source.width) *
                                                       static_cast<std::size_t>(source.height)) {
        if (error) {
            *error = "empty picture";
        }
        return 0;
    }
    const int width = options.width > 0 ? std::min(options.width, kMaxTextureSide)
                                        : RoundTextureSide(source.width);
    const int height = options.height > 0 ? std::min(options.height, kMaxTextureSide)
                                          : RoundTextureSide(source.height);
    // The key is compared with whole texels before any filtering, so a key whose alpha is not
    // FF never matches a bitmap's texels.
    // Only the copies a large picture needs: keyed only with a key, resampled only when its
    // size changes.
    std::optional<common::Image> keyed;
    if (options.colourKey != 0) {
        keyed = source;
        std::replace(keyed->pixels.begin(), keyed->pixels.end(), options.colourKey, 0u);
    }
    const common::Image& picture = keyed ? *keyed : source;
    if (picture.width == width && picture.height == height) {
        return AddToPool(MakeTexture(picture));
    }
    return AddToPool(MakeTexture(ResampleImage(picture, width, height, options.filter)));
}

TextureId CreateTextureFromFile(const std::filesystem::path& path, const TextureLoadOptions& options,
                                std::string* error) {
    std::string why;
    const auto image = common::LoadBmpFile(path, &why);
    if (!image) {
        if (error) {
            *error = why;
        }
        return 0;
    }
    const TextureId id = CreateTextureFromImage(*image, options, &why);
    if (id == 0 && error) {
        *error = path.string() + ": " + why;
    }
    return id;
}

const Texture* GetTexture(TextureId id) {
    if (id <= 0 || static_cast<std::size_t>(id) > texturePool.textures.size()) {
        return nullptr;
    }
    return texturePool.textures[static_cast<std::size_t>(id - 1)].get();
}

const std::uint32_t* ChannelQuads(const Texture& texture, int channel) {
    std::vector<std::uint32_t>& quads = texture.channelQuads[static_cast<std::size_t>(channel)];
    if (quads.empty()) {
        quads.assign(texture.texels.size(), 0);
        const int shift = 8 * channel;
        auto at = [&](int x, int y) {
            return (texture.At(x, y) >> shift) & 0xFF;
        };
        for (int y = -1; y < texture.height; ++y) {
            std::uint32_t* row = quads.data() + static_cast<std::size_t>(y + 1) * static_cast<std::size_t>(texture.pitch);
            for (int x = -1; x < texture.width; ++x) {
                row[x + 1] = at(x, y) | (at(x + 1, y) << 8) | (at(x, y + 1) << 16) | (at(x + 1, y + 1) << 24);
            }
        }
    }
    return quads.data() + texture.pitch + 1;
}

void ReleaseTexture(TextureId id) {
    if (id > 0 && static_cast<std::size_t>(id) <= texturePool.textures.size()) {
        texturePool.textures[static_cast<std::size_t>(id - 1)].reset();
    }
}

void ReleaseAllTextures() { texturePool.textures.clear(); }

}  // namespace platform
