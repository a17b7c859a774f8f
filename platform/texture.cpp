#include "platform/texture.h"

#include <algorithm>
#include <cstdio>
#include <optional>
#include <vector>

#include "common/bmp.h"

namespace platform {

TexturePoolState texturePool;

namespace {

// Blends two A8R8G8B8 values channel by channel with an 8-bit weight of the second: two
// channels a multiply, each in a 16-bit lane that its blend (at most 255 * 256) never leaves.
std::uint32_t Lerp(std::uint32_t a, std::uint32_t b, std::uint32_t weight) {
    const std::uint32_t keep = 256 - weight;
    const std::uint32_t redBlue = ((a & 0x00FF00FFu) * keep + (b & 0x00FF00FFu) * weight) >> 8;
    const std::uint32_t alphaGreen = ((a >> 8) & 0x00FF00FFu) * keep + ((b >> 8) & 0x00FF00FFu) * weight;
    return (redBlue & 0x00FF00FFu) | (alphaGreen & 0xFF00FF00u);
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
        const std::uint32_t* from = image.pixels.data() + static_cast<std::size_t>(sy) * image.width;
        std::uint32_t* row = texture->texels.data() + static_cast<std::size_t>(y + 1) * texture->pitch;
        row[0] = from[0];
        std::copy(from, from + image.width, row + 1);
        row[image.width + 1] = from[image.width - 1];
    }
    // Opaque when every texel's alpha is FF, that is when all of them together have it.
    std::uint32_t all = 0xFFFFFFFFu;
    for (std::uint32_t texel : image.pixels) {
        all &= texel;
    }
    texture->opaque = (all >> 24) == 0xFF;
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
    // The source texels and weights of a column are the same on every row: found once.
    struct Tap {
        int a;              // texel at or before the centre (the point filter's texel)
        int b;              // the next one, for the linear filter
        std::uint32_t weight;  // of b, 8 bits
    };
    auto taps = [filter](int target, int targetSize, int sourceSize) {
        const std::int64_t s = SourceCentre(target, targetSize, sourceSize);
        if (filter == ImageFilter::kPoint) {
            // The texel that contains the centre: half a texel on from the shifted coordinate.
            const int p = std::clamp(static_cast<int>((s + 32768) >> 16), 0, sourceSize - 1);
            return Tap{p, p, 0};
        }
        const int first = static_cast<int>(s >> 16);
        return Tap{std::clamp(first, 0, sourceSize - 1), std::clamp(first + 1, 0, sourceSize - 1),
                   static_cast<std::uint32_t>((s >> 8) & 0xFF)};
    };
    std::vector<Tap> columns(static_cast<std::size_t>(width));
    for (int x = 0; x < width; ++x) {
        columns[static_cast<std::size_t>(x)] = taps(x, width, image.width);
    }
    common::Image out(width, height, 0);
    for (int y = 0; y < height; ++y) {
        const Tap row = taps(y, height, image.height);
        const std::uint32_t* top = image.pixels.data() + static_cast<std::size_t>(row.a) * image.width;
        std::uint32_t* to = out.pixels.data() + static_cast<std::size_t>(y) * width;
        if (filter == ImageFilter::kPoint) {
            for (int x = 0; x < width; ++x) {
                to[x] = top[columns[static_cast<std::size_t>(x)].a];
            }
            continue;
        }
        const std::uint32_t* bottom = image.pixels.data() + static_cast<std::size_t>(row.b) * image.width;
        for (int x = 0; x < width; ++x) {
            const Tap& c = columns[static_cast<std::size_t>(x)];
            to[x] = Lerp(Lerp(top[c.a], top[c.b], c.weight), Lerp(bottom[c.a], bottom[c.b], c.weight), row.weight);
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
