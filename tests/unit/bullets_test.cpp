// Aiming, the enemy bullet and laser spawners, and the alternating fan.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "play_state.h"
#include "platform/msgbox.h"
#include "platform/sound.h"
#include "sound/sound.h"

namespace {

class BulletSpawn : public ::testing::Test {
protected:
    void SetUp() override {
        seed = RandState;
        ResetPlayState();
    }
    void TearDown() override {
        ResetPlayState();
        RandState = seed;
    }
    uint32_t seed;
};

TEST(MyAtan, StraightLinesAndTheQuadrants) {
    // Straight down: dx becomes 0.0001, so atan(100000).
    EXPECT_NEAR(my_atan(0, 0, 0, 10), 1.5708f, 1e-4);
    EXPECT_FLOAT_EQ(my_atan(0, 0, 0, 10), (float)std::atan(100000.0));
    // Straight up: the tiny step is still to the right, so just below 6.28 - pi/2.
    EXPECT_NEAR(my_atan(0, 10, 0, 0), 6.28f - 1.5708f, 1e-4);
    // Left: 0 + 3.14 with the single-precision factor.
    EXPECT_FLOAT_EQ(my_atan(10, 0, 0, 0), 180 * 0.017444444f);
    // Up-right: atan(-1) + 6.28.
    EXPECT_NEAR(my_atan(0, 10, 10, 0), 5.4946f, 1e-4);
    // Right is 0; down-left and up-left come from the half turn.
    EXPECT_FLOAT_EQ(my_atan(0, 0, 10, 0), 0.0f);
    EXPECT_NEAR(my_atan(10, 0, 0, 10), 3.14f - 0.7854f, 1e-4);
    EXPECT_NEAR(my_atan(10, 10, 0, 0), 3.14f + 0.7854f, 1e-4);
}

TEST_F(BulletSpawn, NothingAimedAtALostShip) {
    P_Ship.flag = false;
    kou(100, 100, 180, 20, 91, 1);
    kou(100, 100, 180, 20, 91, 0);
    kou2(100, 100, 180, 20, 95, 1);
    SL(100, 100, 180, 20);
    SL2(100, 100, 180, 20, 0);
    EXPECT_EQ(LiveCount(tama) + LiveCount(Baka) + LiveCount(sLaser) + LiveCount(sLaser2), 0);
    // Flashes and the beam do not look at the ship.
    Flash(100, 100, 180, 20, 97, 1);
    BL(600, 200, 180, 30);
    EXPECT_TRUE(flash[0].flag);
    EXPECT_TRUE(BLaser[0].flag);
}

TEST_F(BulletSpawn, AimedBulletHeadsForTheShipAndKeepsItsAngle) {
    P_Ship.x = 300;
    P_Ship.y = 300;  // centre (332, 332)
    kou(92, 324, 45, 20, 91, 1);  // its centre (100, 332): the ship is straight right
    const SpriteData& b = tama[0];
    ASSERT_TRUE(b.flag);
    EXPECT_FLOAT_EQ(b.angle, 45.0f);
    EXPECT_NEAR(b.dx, 1.0f, 1e-6);
    EXPECT_NEAR(b.dy, 0.0f, 1e-6);
    EXPECT_EQ(b.frames, 2);
    EXPECT_EQ(b.w, 16);

    // A straight bullet follows its angle, with pi taken as 3.14.
    kou(0, 0, 180, 20, 98, 0);
    EXPECT_FLOAT_EQ(tama[1].rad, 3.14f);
    EXPECT_EQ(tama[1].frames, 8);
    kou(0, 0, 0, 20, 99, 4);
    EXPECT_EQ(tama[2].frames, 8);
    EXPECT_FLOAT_EQ(tama[2].time, 0.0f);
    BulletSpin = 7.5f;
    kou(0, 0, 0, 20, 92, 4);
    EXPECT_FLOAT_EQ(tama[3].time, 7.5f);  // spin copied when made
    BulletSpin = 0;
    // A reused slot starts its state afresh.
    tama[1].flag = false;
    tama[1].opt2 = 1;
    tama[1].fw[1] = 30;
    kou(0, 0, 0, 20, 92, 7);
    EXPECT_EQ(tama[1].opt2, 0);
    EXPECT_FLOAT_EQ(tama[1].fw[1], 0.0f);
}

TEST_F(BulletSpawn, DartCellsShareOppositeDirections) {
    SL2(10, 20, -30, 20, 0);
    const SpriteData& d = sLaser2[0];
    EXPECT_EQ(d.mode, 15);                 // (330 + 3) / 10 = 33, remainder 18
    EXPECT_FLOAT_EQ(d.angle, -30.0f);      // flies at the angle passed
    EXPECT_NEAR(d.dx, std::cos(-30 * 0.017444444444444446), 1e-6);
    EXPECT_EQ(d.opt2, 0);
    EXPECT_EQ(DartCell(177), 0);
    EXPECT_EQ(DartCell(357), 0);
    EXPECT_EQ(DartCell(0), 0);
    EXPECT_EQ(DartCell(7), 1);
    EXPECT_EQ(DartCell(90), DartCell(270));
    EXPECT_EQ(DartCell(-390), DartCell(330));
    EXPECT_EQ(DartCell(1.0e12f), DartCell(std::fmod(1.0e12f, 360.0f)));  // no overflow
    SL2(0, 0, 90, 20, 1);
    EXPECT_EQ(sLaser2[1].opt2, 1);
    StageNo = 3;  // stage 3 always shows the second row
    SL2(0, 0, 90, 20, 0);
    EXPECT_EQ(sLaser2[2].opt2, 1);
}

TEST_F(BulletSpawn, BeamSoundPlaysEvenWhenNoBeamFits) {
    Plat_SetHeadless(true);
    DS_INIT(nullptr);
    ASSERT_TRUE(DSObject);
    std::vector<short> pcm(22050, 1000);
    Wave[5] = Plat_SoundCreate(pcm.data(), pcm.size() * 2, 1, 22050, 16);
    ASSERT_NE(Wave[5], nullptr);

    BL(700, 250, 180, 30);
    EXPECT_FLOAT_EQ(BLaser[0].x, 80.0f);   // right end near the given point
    EXPECT_FLOAT_EQ(BLaser[0].y, 100.0f);
    EXPECT_FLOAT_EQ(BLaser[0].speed, 30.0f);
    for (int i = 1; i < BLASER_MAX; i++) BL(700, 250, 180, 30);
    Plat_SoundFree(Wave[5]);
    Wave[5] = Plat_SoundCreate(pcm.data(), pcm.size() * 2, 1, 22050, 16);
    EXPECT_FALSE(Plat_SoundPlaying(Wave[5]));
    BL(100, 100, 0, 5);  // the pool is full
    EXPECT_TRUE(Plat_SoundPlaying(Wave[5]));
    EXPECT_FLOAT_EQ(BLaser[0].x, 80.0f);
    DS_END(nullptr);
}

TEST_F(BulletSpawn, FanAlternatesAroundTheCentre) {
    const int expect[] = {0, -15, 15, -30, 30, -45};
    for (int i = 0; i < 6; i++) EXPECT_EQ(FanOffset(i, 15), expect[i]) << i;
    // A five-way aimed volley from an enemy: centre first, then outwards.
    for (int i = 0; i < 5; i++) kou(320, 240, 180 + FanOffset(i, 10), 20, 91, 0);
    EXPECT_FLOAT_EQ(tama[0].angle, 180.0f);
    EXPECT_FLOAT_EQ(tama[1].angle, 170.0f);
    EXPECT_FLOAT_EQ(tama[2].angle, 190.0f);
    EXPECT_FLOAT_EQ(tama[4].angle, 200.0f);
}

TEST_F(BulletSpawn, LinesFillUntilThePoolIsFull) {
    for (int i = 0; i < LINE_MAX; i++) Line(1, 2, 3, 4, 2.0f, 3.0f, 10, 20, 30, 2);
    EXPECT_EQ(LiveCount(line), LINE_MAX);
    EXPECT_FLOAT_EQ(line[LINE_MAX - 1].y2, 4.0f);
    EXPECT_EQ(line[LINE_MAX - 1].b, 30);
    line[5].flag = false;
    line[5].speed = 9;
    Line(7, 8, 9, 10, 0, 1, 0, 0, 0, 1);
    EXPECT_EQ(line[5].mode, 1);
    EXPECT_FLOAT_EQ(line[5].speed, 0.0f);
    Line(0, 0, 0, 0, 0, 0, 0, 0, 0, 0);  // full again: dropped
    EXPECT_EQ(line[6].mode, 2);
}

}  // namespace
