#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "game/world/background.h"
#include "game/world/level_assets.h"
#include "game/world/records.h"
#include "tests/support/headless.h"
#include "tests/support/sprite_log.h"

namespace {

using world::records;

// Heading 0 throughout: the view turns by nothing, so every position is exact.
class BackgroundTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(test_support::StartHeadlessGame());
        world::LoadTiles();
        savedStars_ = records.stars;
        savedMap_ = records.mapData;
        world::Ship().Angle = world::Ship().CarAngle = 0;
        records.mapData.assign(400, 0);
    }
    void TearDown() override {
        records.stars = savedStars_;
        records.mapData = savedMap_;
    }

    static std::int32_t Tile(int tile) { return records.tileTextures[static_cast<std::size_t>(tile)]; }

private:
    decltype(records.stars) savedStars_;
    std::vector<std::uint8_t> savedMap_;
};

TEST_F(BackgroundTest, AtALevelsStartTheTileBesideTheShipIsDrawnAtZeroFourHundred) {
    records.mapData[10 * 20 + 10] = 1;
    records.mapData[10 * 20 + 11] = 2;  // the tile the ship's point (screen 400, 500) lies in
    test_support::SpriteLog log;
    world::DrawTiles(2560, 2560);
    const auto left = log.Of(Tile(1));
    const auto under = log.Of(Tile(2));
    ASSERT_EQ(left.size(), 1u);
    ASSERT_EQ(under.size(), 1u);
    EXPECT_EQ(left[0].position.x, 0.0f);
    EXPECT_EQ(left[0].position.y, 400.0f);
    EXPECT_EQ(under[0].position.x, 256.0f);
    EXPECT_FLOAT_EQ(left[0].rotation, 6.28f);
    EXPECT_EQ(left[0].scale.x, 1.0f);  // tiles keep their own size
}

// Row 10 holds tile c + 1 in column c, so every draw names its column. Near the left edge the
// last four columns show left of column 0, near the right edge the first five right of 19;
// 1024 and 4096 themselves do not wrap.
TEST_F(BackgroundTest, ColumnsWrapOnlyStrictlyInsideTheEdgeBands) {
    for (int column = 0; column < 20; ++column) {
        records.mapData[static_cast<std::size_t>(10 * 20 + column)] = static_cast<std::uint8_t>(column + 1);
    }
    for (const std::int32_t shipX : {500, 1023, 1024, 4096, 4097}) {
        test_support::SpriteLog log;
        world::DrawTiles(shipX, 2560);
        for (int column = 0; column < 20; ++column) {
            int shown = column;
            if (shipX < 1024 && column > 15) shown -= 20;
            if (shipX > 4096 && column < 5) shown += 20;
            const auto draws = log.Of(Tile(column + 1));
            ASSERT_EQ(draws.size(), 1u) << shipX << " column " << column;
            EXPECT_EQ(draws[0].position.x, static_cast<float>(shown * 256 - shipX)) << shipX << " column " << column;
            EXPECT_EQ(draws[0].position.y, 400.0f);
        }
    }
}

TEST_F(BackgroundTest, ShortMapsAndUnknownTilesDrawNothingBeyondThem) {
    records.mapData.assign(3, 5);
    records.mapData[1] = 24;  // no bitmap
    records.mapData[2] = 255;
    test_support::SpriteLog log;
    world::DrawTiles(2560, 2560);
    ASSERT_EQ(log.All().size(), 1u);
    EXPECT_EQ(log.All()[0].texIndex, Tile(5));
}

// A star's top-left at a screen border is still drawn, one pixel past it not; a star near the
// bottom of the world shows above a ship near its top.
TEST_F(BackgroundTest, StarsOnTheScreensBorderAreDrawnAndTheFarEdgeWraps) {
    const std::int32_t shipX = 2560, shipY = 2560;
    for (world::cStar& star : records.stars) {
        star = {shipX + 3000, shipY, 0};  // off screen
    }
    struct Placed {
        std::int32_t sx, sy;
        std::int16_t type;
        bool drawn;
        std::uint32_t tint;
    };
    const Placed placed[] = {
        {800, 300, 0, true, 0xFFFFFFFFu}, {801, 300, 0, false, 0},
        {100, 0, 1, true, 0xFFAAAAFFu},   {100, -1, 1, false, 0},
        {0, 600, 4, true, 0xFFFFAAAAu},   {0, 601, 2, false, 0},
    };
    for (std::size_t i = 0; i < std::size(placed); ++i) {
        // At heading 0 a star shows at (x - shipX, y - shipY + 400).
        records.stars[i] = {shipX + placed[i].sx, shipY - 400 + placed[i].sy, placed[i].type};
    }
    test_support::SpriteLog log;
    world::DrawStars(shipX, shipY);
    const auto draws = log.Of(world::assets.starTexture);
    std::size_t next = 0;
    for (const Placed& p : placed) {
        if (!p.drawn) continue;
        ASSERT_LT(next, draws.size());
        EXPECT_EQ(draws[next].position.x, static_cast<float>(p.sx));
        EXPECT_EQ(draws[next].position.y, static_cast<float>(p.sy));
        EXPECT_EQ(draws[next].tint, p.tint) << p.type;
        ++next;
    }
    EXPECT_EQ(draws.size(), next);

    records.stars[0] = {shipX + 100, 5000, 0};
    log.Clear();
    world::DrawStars(shipX, 100);
    const auto wrapped = log.Of(world::assets.starTexture);
    ASSERT_EQ(wrapped.size(), 1u);
    EXPECT_EQ(wrapped[0].position.y, 5000.0f - 5120 - 100 + 400);
}

}  // namespace
