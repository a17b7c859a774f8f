// Bitmaps as the texture pool loads them: our reader, then the texture made from the picture
// the way a sprite (size rounded up, point filter, colour key) and a mesh texture (a fixed
// 128 x 128, linear filter) are made.
#include <string>

#include "common/bmp.h"
#include "platform/texture.h"
#include "tools/fuzz/fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string error;
    const auto image = common::DecodeBmp({data, size}, &error);
    if (!image) {
        FUZZ_REQUIRE(!error.empty());
        return 0;
    }
    FUZZ_REQUIRE(image->pixels.size() == static_cast<std::size_t>(image->width) * static_cast<std::size_t>(image->height));
    platform::TextureLoadOptions sprite;
    sprite.colourKey = 0xFF000000u;
    platform::TextureLoadOptions mesh;
    mesh.width = 128;
    mesh.height = 128;
    mesh.filter = platform::ImageFilter::kLinear;
    for (const platform::TextureLoadOptions& options : {sprite, mesh}) {
        const platform::TextureId id = platform::CreateTextureFromImage(*image, options, &error);
        const platform::Texture* texture = platform::GetTexture(id);
        FUZZ_REQUIRE(texture != nullptr);
        FUZZ_REQUIRE(texture->width <= platform::kMaxTextureSide && texture->height <= platform::kMaxTextureSide);
    }
    platform::ReleaseAllTextures();
    return 0;
}
