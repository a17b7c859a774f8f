// A frame of drawing allocates nothing: sprites of every mode and filter, text, and meshes.
// This program counts the calls to operator new to prove it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <memory>

#include "game/graphics/fonts.h"
#include "game/graphics/meshes.h"
#include "game/graphics/sprites.h"
#include "tests/graphics/pictures.h"
#include "tests/graphics/scene.h"
#include "tests/support/allocation_counter.h"

namespace {

using namespace graphics_test;
using graphics::Vector2;

TEST(NoAllocation, AFrameOfSpritesTextAndMeshesAllocatesNothing) {
    BeginTestFrame();
    const std::int32_t letter = graphics::LoadTextureIntoPool(WriteBitmap("letter_f.bmp", LetterF()), kKeyMagenta);
    ASSERT_GT(letter, 0);
    graphics::ReleaseFonts();
    graphics::CreateGameFonts();
    // A mesh of its own in slot 1: a textured pyramid.
    auto pyramid = std::make_shared<platform::MeshData>();
    pyramid->vertices = {{0, 0, 1, 0, 0, 1, 0.5f, 0.5f}, {-1, -1, 0, 0, 0, 1, 0, 1}, {1, -1, 0, 0, 0, 1, 1, 1},
                         {1, 1, 0, 0, 0, 1, 1, 0}, {-1, 1, 0, 0, 0, 1, 0, 0}};
    pyramid->subsets = {{0, 1, 2, 0, 2, 3, 0, 3, 4, 0, 4, 1, 1, 3, 2, 1, 4, 3}};
    platform::MeshMaterial material;
    material.material.diffuse = {0.8f, 0.7f, 0.6f, 1.0f};
    pyramid->materials = {material};
    graphics::MeshSlot& slot = graphics::meshState.meshes[1];
    slot = graphics::MeshSlot{};
    slot.mesh = pyramid;
    slot.materialCount = 1;
    slot.materials = {material.material, {}};
    slot.textures = {graphics::sprites.texturePool[static_cast<std::size_t>(letter)].texture, 0};
    auto drawFrame = [&](int frame) {
        graphics::BeginSprites();
        for (int i = 0; i < 100; ++i) {
            const auto mode = static_cast<std::int16_t>(i % 4);
            const Vector2 at{static_cast<float>((i * 37) % 760), static_cast<float>((i * 53) % 560)};
            platform::SetTextureStageState(0, platform::kTssMagFilter, i % 2 ? platform::kFilterLinear : platform::kFilterPoint);
            graphics::DrawSprite(letter, at, 0.1f * static_cast<float>(i + frame), i % 3 == 0, "AF", mode, i % 2 ? "FFAFAF" : "");
            graphics::DrawSpriteRect(letter, at, 0.5f, true, "FF", mode, platform::Rect{0, 0, 32, 40}, 1.5f, 0.5f, "");
        }
        graphics::EndSprites();
        graphics::DrawText("Score 123\nMoney 45", graphics::fonts.fontMedium, 0xC8FFFFAFu, platform::Rect{100, 515, 1200, 800});
        graphics::SetMeshTransform(400, 300, 0.2f * static_cast<float>(frame), 0.3f, 0.4f, 0.0f, 0.5f);
        graphics::DrawMesh(1, -1);
        graphics::DrawMesh(1, 0);
    };
    drawFrame(0);  // glyphs and tables made on first use
    const std::uint64_t before = test_support::AllocationCount();
    for (int frame = 1; frame < 4; ++frame) {
        drawFrame(frame);
    }
    EXPECT_EQ(test_support::AllocationCount() - before, 0u);
    // The mesh did reach the rasteriser: it wrote depth.
    EXPECT_LT(*std::min_element(platform::device.depthBuffer.begin(), platform::device.depthBuffer.end()), 0xFFFF);
    graphics::meshState.meshes[1] = graphics::MeshSlot{};
}

}  // namespace
