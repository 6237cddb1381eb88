// Explosions and ambient effects: what ExploHappen does and in which
// order, the kill bonus and jewel drops, chains and rings, charge, and how
// long each effect lives.
#include <gtest/gtest.h>

#include "game/frame.h"
#include "play_state.h"
#include "player/items.h"

namespace {

class EffectsTest : public ::testing::Test {
protected:
    void SetUp() override {
        seed = RandState;
        ResetPlayState();
    }
    void TearDown() override {
        ResetPlayState();
        RandState = seed;
    }
    // A generator state whose next my_rand(0, 5) is (or is not) 5.
    static uint32_t StateWithOneInSix(bool hit) {
        for (uint32_t s = 1;; s++) {
            RandState = s;
            if ((my_rand(0, 5) == 5) == hit) return s;
        }
    }
    uint32_t seed;
};

TEST_F(EffectsTest, StandardExplosionDrawsInItsOrder) {
    const uint32_t start = StateWithOneInSix(false);
    RandState = start;
    ExploHappen(300, 200);

    // Replay the generator in the order the explosion draws.
    const uint32_t after = RandState;
    RandState = start;
    EXPECT_NE(my_rand(0, 5), 5);
    const int angle = my_rand(90, 180);
    const int speed = my_rand(1, 50);
    ASSERT_TRUE(Bom[0].flag);
    EXPECT_FLOAT_EQ(Bom[0].angle, (float)angle);
    EXPECT_FLOAT_EQ(Bom[0].speed, (float)speed);
    EXPECT_EQ(Bom[0].w, 130);
    EXPECT_EQ(Bom[0].frames, 7);
    EXPECT_EQ(Bom[0].bmp, 1);
    EXPECT_EQ(LiveCount(gomi), 10);
    for (int i = 0; i < 10; i++) {
        const int gspeed = my_rand(1, 20);  // drawn before the angle
        const int gangle = my_rand(140, 220);
        const int gx = my_rand(-10, 10);
        const int gy = my_rand(-20, 20);
        const int gtimer = my_rand(10, 100);
        const int gextra = my_rand(10, 100);
        EXPECT_FLOAT_EQ(gomi[i].angle, (float)gangle) << i;
        EXPECT_FLOAT_EQ(gomi[i].x, 300.0f + gx) << i;
        EXPECT_FLOAT_EQ(gomi[i].y, 200.0f + gy) << i;
        EXPECT_FLOAT_EQ(gomi[i].timer, (float)gtimer) << i;
        EXPECT_FLOAT_EQ(gomi[i].speed, (float)(gspeed + gextra)) << i;
    }
    EXPECT_EQ(RandState, after);  // nothing else drawn on NORMAL
    EXPECT_EQ(ChargePoints, 20);
    EXPECT_EQ(KillCount, 1);
    EXPECT_EQ(dat.score, 1);
    EXPECT_EQ(LiveCount(tama), 0);
    EXPECT_EQ(LiveCount(Bom2), 0);

    // One time in six a ring of mid explosions comes first.
    ResetPlayState();
    RandState = StateWithOneInSix(true);
    const uint32_t ring = RandState;
    my_rand(0, 5);
    const int n = my_rand(0, 20);
    RandState = ring;
    ExploHappen(300, 200);
    EXPECT_EQ(LiveCount(Bom2), n + 1);
    EXPECT_FLOAT_EQ(Bom2[0].x, 300.0f);
    EXPECT_EQ(LiveCount(Bom), 1);
    EXPECT_EQ(LiveCount(gomi), n + 1 + 10);
}

TEST_F(EffectsTest, EveryTenthExplosionDropsAJewelAndKillsAddUp) {
    for (int k = 1; k <= 9; k++) ExploHappen(400, 100);
    EXPECT_EQ(LiveCount(jewel), 0);
    EXPECT_EQ(dat.score, 45);
    ExploHappen(400, 100);
    EXPECT_EQ(LiveCount(jewel), 1);
    EXPECT_FLOAT_EQ(jewel[0].x, 400.0f);
    EXPECT_EQ(jewel[0].mode, 0);
    EXPECT_EQ(JewelDropCount, 0);
    EXPECT_EQ(KillCount, 10);
    EXPECT_EQ(dat.score, 55);  // the n-th kill adds n
    // A shot-down bullet counts as a kill but not towards a jewel.
    ExploHappen5(10, 10);
    EXPECT_EQ(KillCount, 11);
    EXPECT_EQ(dat.score, 66);
    EXPECT_EQ(JewelDropCount, 0);
    EXPECT_EQ(LiveCount(Bom3), 1);
    // Behind the shield the tenth leaves nothing, and the count starts again.
    SHIELD(0, 0);
    for (int k = 1; k <= 10; k++) ExploHappen(400, 300);
    EXPECT_EQ(LiveCount(jewel), 1);
    EXPECT_EQ(JewelDropCount, 0);
    KillCountReset();
    EXPECT_EQ(KillCount, 0);
}

TEST_F(EffectsTest, HardExplosionsFireOneAimedBullet) {
    ExploHappen(300, 200);
    EXPECT_EQ(LiveCount(tama), 0);
    OPTION.Difficulty = HARD;
    ExploHappen(300, 200);
    ASSERT_EQ(LiveCount(tama), 1);
    EXPECT_EQ(tama[0].mode, 1);
    EXPECT_EQ(tama[0].bmp, 91);
    EXPECT_FLOAT_EQ(tama[0].speed, 25.0f);
    EXPECT_FLOAT_EQ(tama[0].rad, my_atan(308, 208, 32, 252));
}

TEST_F(EffectsTest, FullPoolSkipsTheRestOfTheExplosion) {
    for (int i = 0; i < BOM_MAX; i++) SpriteClaim(Bom);
    RandState = StateWithOneInSix(false);
    ExploHappen(300, 200);
    EXPECT_EQ(ChargePoints, 0);
    EXPECT_EQ(LiveCount(gomi), 0);
    EXPECT_EQ(KillCount, 0);
    EXPECT_EQ(JewelDropCount, 0);
    EXPECT_EQ(dat.score, 0);
}

TEST_F(EffectsTest, ChargeStepsFillTheGauge) {
    ChargePoints = 90;
    ExploHappen(300, 200);
    EXPECT_EQ(ChargeGauge, 1);
    EXPECT_EQ(ChargePoints, 0);
    // Sparks fill it in steps of 50 points.
    ChargePoints = 49;
    pom(10, 10);
    EXPECT_EQ(ChargeGauge, 2);
    EXPECT_EQ(ChargePoints, 0);
    ExploHappen8(100, 100, 45);
    EXPECT_EQ(ChargePoints, 30);
    ExploHappen2(100, 100);
    EXPECT_EQ(ChargePoints, 55);
    // A full gauge lets the points grow on.
    ChargeGauge = 100;
    ChargePoints = 99;
    ExploHappen(300, 200);
    EXPECT_EQ(ChargeGauge, 100);
    EXPECT_EQ(ChargePoints, 119);
}

TEST_F(EffectsTest, RingsChainsAndTheShipsExplosion) {
    renbaku2(200, 150, 0, 60, 0);
    EXPECT_EQ(LiveCount(Bom2), 1);
    EXPECT_FLOAT_EQ(Bom2[0].x, 200.0f);
    EXPECT_FLOAT_EQ(Bom2[0].y, 150.0f);
    renbaku(200, 150, 1);
    pbaku(200, 150, 2);
    EXPECT_EQ(LiveCount(Bom2), 1);
    pbaku(200, 150, 0);
    EXPECT_GE(LiveCount(Bom2), 1 + 10);
    EXPECT_LE(LiveCount(Bom2), 1 + 40);
    // Large death: a jewel thrown at the ship, the explosion keeping the
    // motion its slot had.
    ResetPlayState();
    Bom[0].speed = 33;
    Bom[0].dx = -1;
    ExploHappen2(400, 100);
    EXPECT_TRUE(Bom[0].flag);
    EXPECT_FLOAT_EQ(Bom[0].speed, 33.0f);
    EXPECT_EQ(jewel[0].mode, 4);
    EXPECT_FLOAT_EQ(jewel[0].speed, 150.0f);
    // A boss's end chains explosions, each throwing a jewel.
    ResetPlayState();
    ExploHappen6(320, 240);
    EXPECT_EQ(LiveCount(Bom2), LiveCount(jewel));
    EXPECT_GT(LiveCount(Bom2), 21);
}

// Frames until every record of `pool` is free, running the effects pass.
template <size_t N>
int FramesToClear(SpriteData (&pool)[N]) {
    int frames = 0;
    while (LiveCount(pool) && frames < 5000) {
        EffectsPass();
        frames++;
    }
    return frames;
}

TEST_F(EffectsTest, EffectsLiveOneCycleOrTheirTime) {
    ExploHappen(300, 200);
    EXPECT_EQ(FramesToClear(Bom), 70);   // 7 frames of 10 steps
    ExploHappen4(300, 200);
    EXPECT_EQ(FramesToClear(Bom3), 80);
    pom(300, 200);
    EXPECT_EQ(FramesToClear(Pom), 40);

    ResetPlayState();
    Gomi(300, 200, 180, 0);
    gomi[0].timer = 10;
    gomi[0].speed = 0;
    EXPECT_NEAR(FramesToClear(gomi), 201, 1);  // 10 / 0.05 frames drawn, freed on the next

    // A star leaving at the left is moved and drawn once more, then gone.
    Hosi(-59, 100, 180, 100);
    EffectsPass();
    EXPECT_TRUE(hosi[0].flag);
    EXPECT_LT(hosi[0].x, -60.0f);
    EffectsPass();
    EXPECT_FALSE(hosi[0].flag);
}

}  // namespace
