#include <gtest/gtest.h>

#include "game/effects/particles.h"
#include "game/world/records.h"
#include "platform/clock.h"

namespace {

effects::cParticle Burst(std::int16_t count, float gravity) {
    effects::cParticle engine;
    engine.Gravity = gravity;
    engine.nParticles = count;
    engine.XVariation = 15;
    engine.YVariation = 10;
    engine.LifeTime = 30;
    engine.InitParticleEngine(1.0f, 0, 0, 500, 600);
    engine.Active = true;
    return engine;
}

class ParticlesTest : public ::testing::Test {
protected:
    void SetUp() override { world::records.cars[0] = std::make_shared<world::cCar>(); }
    platform::FakeClock clock{5000};
};

TEST_F(ParticlesTest, EveryParticleLivesBetweenOneAnd27DrawnFrames) {
    effects::cParticle engine = Burst(500, 0.15f);
    int frames = 0;
    std::vector<int> drawn(500, 0);
    while (engine.Active && frames < 100) {
        for (std::size_t i = 0; i < engine.burst.size(); ++i) {
            drawn[i] += engine.burst[i].Dead == 0;
        }
        engine.RenderParticles(0, 0);
        clock.Advance(16);
        ++frames;
    }
    EXPECT_FALSE(engine.Active);
    int down = 0;
    for (std::size_t i = 0; i < drawn.size(); ++i) {
        EXPECT_GE(drawn[i], 1);
        EXPECT_LE(drawn[i], 27);
        down += engine.burst[i].Down;
    }
    // About half go down.
    EXPECT_GT(down, 150);
    EXPECT_LT(down, 350);
}

TEST_F(ParticlesTest, GravitySpeedsUpEachParticleInItsOwnDirection) {
    effects::cParticle engine = Burst(1, 0.15f);
    effects::Particle& p = engine.burst[0];
    p.YSpeed = 0;
    p.XSpeed = 0;
    p.Life = 100;
    p.Down = 1;
    for (const float moved : {0.0f, 0.15f, 0.45f, 0.9f}) {
        engine.RenderParticles(0, 0);
        EXPECT_NEAR(p.Y - 600, moved, 1e-3);
    }
}

TEST_F(ParticlesTest, ANewBurstReplacesTheOldAndAnEmptyOneIsHarmless) {
    effects::cParticle engine = Burst(10, 0);
    engine.nParticles = 3;
    engine.InitParticleEngine(1, 1, 1, 10, 10);
    EXPECT_EQ(engine.burst.size(), 3u);
    EXPECT_EQ(engine.burst[0].X, 10);
    engine.nParticles = 0;
    engine.InitParticleEngine(1, 1, 1, 10, 10);
    engine.RenderParticles(0, 0);
    EXPECT_FALSE(engine.Active);
}

}  // namespace
