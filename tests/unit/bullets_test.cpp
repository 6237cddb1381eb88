// Aiming, the enemy bullet and laser spawners, and the alternating fan.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "play_state.h"
#include "platform/msgbox.h"
#include "platform/sound.h"
#include "sound/sound.h"

namespace {

class BulletSpawn : public PlayStateTest {};

TEST(MyAtan, StraightLinesAndTheQuadrants) {
    EXPECT_FLOAT_EQ(my_atan(0, 0, 0, 10), (float)std::atan(100000.0));  // down: dx becomes 0.0001
    EXPECT_FLOAT_EQ(my_atan(10, 0, 0, 0), 180 * 0.017444444f);          // left: 3.14
    EXPECT_NEAR(my_atan(0, 10, 10, 0), 5.4946f, 1e-4);                   // up-right: atan(-1) + 6.28
    EXPECT_NEAR(my_atan(0, 10, 0, 0), 6.28f - 1.5708f, 1e-4);            // up: still a step to the right
    EXPECT_NEAR(my_atan(10, 0, 0, 10), 3.14f - 0.7854f, 1e-4);           // down-left
}

TEST_F(BulletSpawn, AimedShotsFollowTheShipAndNeedIt) {
    P_Ship.x = 300;
    P_Ship.y = 300;               // centre (332, 332)
    kou(92, 324, 45, 20, 91, 1);  // its centre (100, 332): the ship is straight right
    EXPECT_FLOAT_EQ(tama[0].angle, 45.0f);  // kept, but not flown
    EXPECT_NEAR(tama[0].dx, 1.0f, 1e-6);
    EXPECT_NEAR(tama[0].dy, 0.0f, 1e-6);
    BulletSpin = 7.5f;
    kou(0, 0, 180, 20, 98, 4);
    EXPECT_FLOAT_EQ(tama[1].rad, 3.14f);
    EXPECT_EQ(tama[1].frames, 8);           // ring graphics animate over 8
    EXPECT_FLOAT_EQ(tama[1].time, 7.5f);    // spin copied when made

    P_Ship.flag = false;
    kou(100, 100, 180, 20, 91, 1);
    kou2(100, 100, 180, 20, 95, 1);
    SL(100, 100, 180, 20);
    SL2(100, 100, 180, 20, 0);
    EXPECT_EQ(LiveCount(tama) + LiveCount(Baka) + LiveCount(sLaser) + LiveCount(sLaser2), 2);
    Flash(100, 100, 180, 20, 97, 1);  // sparks and the beam do not look at the ship
    BL(600, 200, 180, 30);
    EXPECT_TRUE(flash[0].flag);
    EXPECT_TRUE(BLaser[0].flag);
    EXPECT_FLOAT_EQ(BLaser[0].x, -20.0f);
    EXPECT_FLOAT_EQ(BLaser[0].y, 50.0f);
}

TEST_F(BulletSpawn, DartCellsShareOppositeDirections) {
    SL2(10, 20, -30, 20, 0);
    EXPECT_EQ(sLaser2[0].mode, 15);  // (330 + 3) / 10 = 33, remainder 18
    EXPECT_FLOAT_EQ(sLaser2[0].angle, -30.0f);
    EXPECT_NEAR(sLaser2[0].dx, std::cos(-30 * 0.017444444444444446), 1e-6);
    EXPECT_EQ(DartCell(177), 0);
    EXPECT_EQ(DartCell(357), 0);
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
    for (int i = 0; i < BLASER_MAX; i++) BL(700, 250, 180, 30);
    Wave[5] = Plat_SoundCreate(pcm.data(), pcm.size() * 2, 1, 22050, 16);
    ASSERT_NE(Wave[5], nullptr);
    BL(100, 100, 0, 5);
    EXPECT_TRUE(Plat_SoundPlaying(Wave[5]));
    EXPECT_FLOAT_EQ(BLaser[0].x, 80.0f);  // nothing overwritten
    DS_END(nullptr);
}

TEST(Fan, AlternatesAroundTheCentre) {
    const int expect[] = {0, -15, 15, -30, 30, -45};
    for (int i = 0; i < 6; i++) EXPECT_EQ(FanOffset(i, 15), expect[i]) << i;
}

}  // namespace
