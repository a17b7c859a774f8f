// The texture pool: loading as the old loader did (power-of-two sizes, colour keys on whole
// texels), slots, reuse, failures, and textures that survive a device reset.
#include <gtest/gtest.h>

#include "common/bmp.h"
#include "game/graphics/sprites.h"
#include "platform/texture.h"
#include "tests/graphics/pictures.h"
#include "tests/graphics/scene.h"

namespace {

using namespace graphics_test;
using graphics::sprites;

const platform::Texture* TextureOf(std::int32_t index) {
    return platform::GetTexture(sprites.texturePool[static_cast<std::size_t>(index)].texture);
}

class TexturePoolTest : public ::testing::Test {
protected:
    void SetUp() override {
        BeginTestFrame();
        graphics::ReleaseTextures();
    }
};

TEST_F(TexturePoolTest, SidesRoundUpToPowersOfTwoAndHalfSizesComeFromTheTexture) {
    common::Image picture(100, 60, 0xFF102030u);
    for (int y = 0; y < 60; ++y) {
        picture.At(99, y) = 0xFFFF0000u;  // the last column, which must reach the texture's last
        picture.At(0, y) = 0xFF00FF00u;
    }
    const std::int32_t index = graphics::LoadTextureIntoPool(WriteBitmap("odd_size.bmp", picture), 0);
    ASSERT_EQ(index, 1);  // slot 0 is never used
    const platform::Texture* texture = TextureOf(index);
    ASSERT_NE(texture, nullptr);
    EXPECT_EQ(std::pair(texture->width, texture->height), std::pair(128, 64));
    EXPECT_EQ(std::pair(sprites.texturePool[1].HalfWidth, sprites.texturePool[1].HalfHeight), std::pair(64.0f, 32.0f));
    // Point resampling: each texel takes the picture's texel under its centre.
    EXPECT_EQ(texture->At(127, 10), 0xFFFF0000u);
    EXPECT_EQ(texture->At(126, 10), 0xFF102030u);
    EXPECT_EQ(texture->At(0, 63), 0xFF00FF00u);
    EXPECT_EQ(texture->At(1, 63), 0xFF102030u);
    for (const auto& [side, rounded] : {std::pair(1, 1), {256, 256}, {257, 512}, {100000, platform::kMaxTextureSide}}) {
        EXPECT_EQ(platform::RoundTextureSide(side), rounded) << side;
    }
}

TEST_F(TexturePoolTest, AColourKeyMatchesWholeTexelsOnly) {
    common::Image picture(4, 1, 0xFFFF00FFu);
    picture.At(1, 0) = 0xFFFE00FFu;  // one step off the key
    const std::string file = WriteBitmap("key_row.bmp", picture);
    const std::int32_t keyed = graphics::LoadTextureIntoPool(file, 0xFFFF00FFu);
    const std::int32_t otherAlpha = graphics::LoadTextureIntoPool(file, 0x0FFF00FFu);
    ASSERT_GT(keyed, 0);
    ASSERT_GT(otherAlpha, 0);
    EXPECT_NE(keyed, otherAlpha);
    EXPECT_EQ(TextureOf(keyed)->At(0, 0), 0x00000000u);
    EXPECT_EQ(TextureOf(keyed)->At(1, 0), 0xFFFE00FFu);
    // Bitmaps load with alpha FF, so a key with any other alpha matches nothing.
    EXPECT_EQ(TextureOf(otherAlpha)->At(0, 0), 0xFFFF00FFu);
}

TEST_F(TexturePoolTest, LoadingTheSameFileAndKeyAgainReusesItsSlotUntilReleased) {
    const std::string file = WriteBitmap("reused.bmp", LetterF());
    const std::int32_t first = graphics::LoadTextureIntoPool(file, kKeyMagenta);
    const std::size_t textures = platform::texturePool.textures.size();
    for (int level = 0; level < 5; ++level) {
        EXPECT_EQ(graphics::LoadTextureIntoPool(file, kKeyMagenta), first);
    }
    EXPECT_EQ(sprites.texturePool.size(), 2u);
    EXPECT_EQ(platform::texturePool.textures.size(), textures);
    EXPECT_NE(graphics::LoadTextureIntoPool(file, 0), first);  // another key is another texture
    // Releasing cuts the pool back to slot 0 and frees the device's textures.
    const platform::TextureId texture = sprites.texturePool[static_cast<std::size_t>(first)].texture;
    graphics::ReleaseTextures();
    EXPECT_EQ(sprites.texturePool.size(), 1u);
    EXPECT_EQ(platform::GetTexture(texture), nullptr);
}

// Missing and damaged files fail with -1, say which file, allocate nothing huge, and leave the
// one slot they added free for every later load.
TEST_F(TexturePoolTest, MissingAndDamagedBitmapsFailAndLeaveTheirSlotFree) {
    const std::vector<std::uint8_t> good = common::EncodeBmp24(LetterF());
    auto write = [](const std::string& name, const std::vector<std::uint8_t>& bytes) {
        return WriteFile(ScratchFolder() / name, std::string(bytes.begin(), bytes.end()));
    };
    auto withSize = [&](std::int32_t width, std::int32_t height) {
        std::vector<std::uint8_t> bytes = good;
        for (int i = 0; i < 4; ++i) {
            bytes[18 + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(width >> (8 * i));
            bytes[22 + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(height >> (8 * i));
        }
        return bytes;
    };
    testing::internal::CaptureStderr();
    EXPECT_EQ(graphics::LoadTextureIntoPool((ScratchFolder() / "no_such_picture.bmp").string(), 0), -1);
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find("no_such_picture.bmp"), std::string::npos) << said;
    EXPECT_EQ(sprites.texturePool.size(), 2u);
    EXPECT_FALSE(sprites.texturePool[1].InUse);
    testing::internal::CaptureStderr();
    EXPECT_EQ(graphics::LoadTextureIntoPool(write("empty.bmp", {}), 0), -1);
    EXPECT_EQ(graphics::LoadTextureIntoPool(write("truncated.bmp", {good.begin(), good.begin() + 100}), 0), -1);
    EXPECT_EQ(graphics::LoadTextureIntoPool(write("huge.bmp", withSize(100000, 100000)), 0), -1);
    EXPECT_EQ(graphics::LoadTextureIntoPool(write("zero.bmp", withSize(0, 0)), 0), -1);
    EXPECT_EQ(graphics::LoadTextureIntoPool(write("lying.bmp", withSize(64, 4000)), 0), -1);
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(sprites.texturePool.size(), 2u);  // every failure reused the one free slot
    EXPECT_EQ(graphics::LoadTextureIntoPool(WriteBitmap("after_failure.bmp", LetterF()), 0), 1);
}

TEST_F(TexturePoolTest, TexturesSurviveADeviceResetAndGoOnDrawing) {
    const std::int32_t index = graphics::LoadTextureIntoPool(WriteBitmap("survivor.bmp", LetterF()), kKeyMagenta);
    ASSERT_GT(index, 0);
    platform::device_testing::LoseDevice();
    platform::device_testing::RestoreDevice();
    platform::EndScene();
    ASSERT_EQ(platform::Reset(graphics::dxgfx.presentParams), platform::kOk);
    graphics::SetupRenderStates();
    ASSERT_NE(TextureOf(index), nullptr);
    platform::BeginScene();
    graphics::BeginSprites();
    graphics::DrawSprite(index, graphics::Vector2{0, 0}, 0, false, "FF", 0, "");
    graphics::EndSprites();
    EXPECT_EQ(Pixel(30, 12), 0xFFFF0000u);  // the red bar
}

}  // namespace
