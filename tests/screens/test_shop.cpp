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
using test_support::kRepeatPumps;

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
        script.Tap({kKeyDown}, kRepeatPumps, line).Hold({kKeySpace}, firePasses).Hold({}, kRepeatPumps);
        script.Tap({kKeyDown}, kRepeatPumps, screens::kShopExitLine - line).Hold({kKeyReturn}, 1);
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
        {"Cross Shot at the listed $300 cannot be had for 260", 4, 260, 200, 1, 260},
        {"Weapon Stay one short", 6, 699, 200, 1, 699},
        {"Side Shot takes 250 although its line says $300", 3, 260, 200, 1, 10},
    };
    for (const Case& c : cases) {
        counters = shell::GameCounters{};
        counters.money = c.money;
        counters.health = c.health;
        ASSERT_TRUE(Visit(c.line, c.firePasses)) << c.what;
        EXPECT_EQ(counters.money, c.moneyAfter) << c.what;
        EXPECT_EQ(counters.health, 200) << c.what;
    }
    EXPECT_TRUE(counters.hasSideShot);
    EXPECT_FALSE(counters.hasCrossShot);

    // Fire held on Extra Life sells one a visit.
    counters = shell::GameCounters{};
    counters.money = 2000;
    ASSERT_TRUE(Visit(7, 5));
    EXPECT_EQ(counters.lives, 4);
    EXPECT_EQ(counters.money, 1000);
    ASSERT_TRUE(Visit(7, 1));
    EXPECT_EQ(counters.lives, 5);
    EXPECT_EQ(counters.money, 0);
}

TEST_F(ShopTest, HeldKeysMoveTheSelectionEvery250MsAndStopAtBothEnds) {
    test_support::Changes<int> selected;
    float scaleX = 0, scaleY = 0;
    KeyScript script(clock, 10);
    script.Hold({kKeyUp}, 30).Hold({kKeyDown}, 300).Hold({kKeyReturn}, 1).Watch([&](int pump) {
        selected.See(screens::shop.selected, clock.Now());
        if (pump == 1) {
            scaleX = graphics::sprites.spriteScaleX;
            scaleY = graphics::sprites.spriteScaleY;
        }
    });
    ASSERT_TRUE(script.Run(screens::ShowShop));
    EXPECT_EQ(selected.values, (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8}));
    for (std::size_t i = 2; i < selected.ticks.size(); ++i) {
        EXPECT_GT(selected.ticks[i] - selected.ticks[i - 1], 250);
        EXPECT_LE(selected.ticks[i] - selected.ticks[i - 1], 260);
    }
    // The shop's pictures are drawn at 0.8 x 0.6; play goes on at 0.75.
    EXPECT_FLOAT_EQ(scaleX, 0.8f);
    EXPECT_FLOAT_EQ(scaleY, 0.6f);
    EXPECT_FLOAT_EQ(graphics::sprites.spriteScaleX, 0.75f);
    EXPECT_FLOAT_EQ(graphics::sprites.spriteScaleY, 0.75f);
}

}  // namespace
