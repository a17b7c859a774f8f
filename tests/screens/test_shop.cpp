#include <gtest/gtest.h>

#include "common/scancodes.h"
#include "game/graphics/sprites.h"
#include "game/screens/shop.h"
#include "game/shell/game_counters.h"
#include "tests/support/headless.h"
#include "tests/support/key_script.h"

namespace {

using common::kKeyDown;
using common::kKeyReturn;
using common::kKeySpace;
using common::kKeyUp;
using shell::counters;
using test_support::KeyScript;

class ShopTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(test_support::StartHeadlessGame());
        counters = shell::GameCounters{};
    }

    // Down to a line (each move waits out the repeat tick), Fire for some passes, then down to
    // Exit and out.
    bool Visit(int line, int firePasses) {
        KeyScript script(clock, 10);
        for (int i = 0; i < line; ++i) {
            script.Hold({kKeyDown}, 1).Hold({}, 26);
        }
        script.Hold({kKeySpace}, firePasses).Hold({}, 26);
        for (int i = line; i < screens::kShopExitLine; ++i) {
            script.Hold({kKeyDown}, 1).Hold({}, 26);
        }
        script.Hold({kKeyReturn}, 1);
        return script.Run(screens::ShowShop);
    }

    platform::FakeClock clock{700000};
};

TEST_F(ShopTest, EachLineTakesItsPriceOnlyWhenItMayBeBought) {
    struct Case {
        const char* what;
        int line;
        int money;
        int health;
        int firePasses;
        int moneyAfter;
    };
    const Case cases[] = {
        {"Health Restore at full health", 0, 150, 200, 1, 150},
        {"Health Restore held: bought once, then refused", 0, 1000, 50, 6, 850},
        {"Side Shot takes 250 although its line says $300", 3, 260, 200, 1, 10},
        {"Cross Shot at the same listed price cannot be had for 260", 4, 260, 200, 1, 260},
        {"Extra Life twice in one visit", 7, 2000, 200, 5, 1000},
        {"Weapon Stay one short", 6, 699, 200, 1, 699},
    };
    for (const Case& c : cases) {
        counters = shell::GameCounters{};
        counters.money = c.money;
        counters.health = c.health;
        ASSERT_TRUE(Visit(c.line, c.firePasses)) << c.what;
        EXPECT_EQ(counters.money, c.moneyAfter) << c.what;
        EXPECT_EQ(counters.health, 200) << c.what;
    }
    EXPECT_EQ(counters.lives, 3);  // the last visit bought nothing

    counters = shell::GameCounters{};
    counters.money = 2000;
    ASSERT_TRUE(Visit(7, 5));
    EXPECT_EQ(counters.lives, 4);
    ASSERT_TRUE(Visit(7, 1));  // the next visit sells another
    EXPECT_EQ(counters.lives, 5);
    EXPECT_EQ(counters.money, 0);

    counters.money = 260;
    ASSERT_TRUE(Visit(3, 1));
    EXPECT_TRUE(counters.hasSideShot);
    EXPECT_FALSE(counters.hasCrossShot);
}

TEST_F(ShopTest, HeldKeysMoveTheSelectionEvery250MsAndStopAtBothEnds) {
    std::vector<int> seen;
    std::vector<platform::Tick> at;
    float scaleX = 0, scaleY = 0;
    KeyScript script(clock, 10);
    script.Hold({kKeyUp}, 30).Hold({kKeyDown}, 300).Hold({kKeyReturn}, 1).Watch([&](int pump) {
        if (seen.empty() || seen.back() != screens::shop.selected) {
            seen.push_back(screens::shop.selected);
            at.push_back(clock.Now());
        }
        if (pump == 1) {
            scaleX = graphics::sprites.spriteScaleX;
            scaleY = graphics::sprites.spriteScaleY;
        }
    });
    ASSERT_TRUE(script.Run(screens::ShowShop));
    EXPECT_EQ(seen, (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8}));
    for (std::size_t i = 2; i < at.size(); ++i) {
        EXPECT_GT(at[i] - at[i - 1], 250);
        EXPECT_LE(at[i] - at[i - 1], 260);
    }
    // The shop's pictures are drawn at 0.8 x 0.6; play goes on at 0.75.
    EXPECT_FLOAT_EQ(scaleX, 0.8f);
    EXPECT_FLOAT_EQ(scaleY, 0.6f);
    EXPECT_FLOAT_EQ(graphics::sprites.spriteScaleX, 0.75f);
    EXPECT_FLOAT_EQ(graphics::sprites.spriteScaleY, 0.75f);
}

}  // namespace
