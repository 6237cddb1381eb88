// The drones: a full pool, what a drone pays, its hit box, leaving the
// screen, and the modes that keep their own clocks.
#include <gtest/gtest.h>

#include "boss/boss.h"
#include "enemy/spawners.h"
#include "play_state.h"

namespace {

class DroneTest : public PlayStateTest {
protected:
    void SetUp() override {
        PlayStateTest::SetUp();
        BossReset();
    }
    void TearDown() override {
        BossReset();
        PlayStateTest::TearDown();
    }
    // A resting dash drone (mode 2) in the middle of the screen, waiting.
    SpriteData& Drone(float hp) {
        Bit(300, 200, 180, 0, 2);
        SpriteData& d = bit[0];
        d.hp = hp;
        d.timer = 1000;
        return d;
    }
};

TEST_F(DroneTest, ANinthLaunchWithEveryEntryBusyDoesNothing) {
    for (int k = 0; k < 8; k++) Bit(100.0f + k, 50, 180, 5, 2);
    ASSERT_EQ(LiveCount(bit), 8);
    bit[7].hp = 5;
    Bit(400, 300, 90, 1, 3);
    EXPECT_EQ(LiveCount(bit), 8);
    EXPECT_EQ(bit[7].x, 107.0f);  // nobody was overwritten
    EXPECT_EQ(bit[7].mode, 2);
    EXPECT_EQ(bit[7].hp, 5.0f);
}

// Each hit of a spread shot, fan shot or missile takes 1, uses the shot up
// and scores 1; the last one adds 1000, so a full drone is worth 2000.
TEST_F(DroneTest, AFullDroneShotDownPaysTwoThousand) {
    SpriteData& d = Drone(1000);
    SpriteData* pools[3] = {P_Shot, P_Shot2, P_Shot3};
    int frames = 0;
    while (d.flag && frames < 1100) {
        SpriteData& shot = PlaceShot(pools[frames % 3], 350, 240, 16, 16);
        BitUpdate(d);
        EXPECT_FALSE(shot.flag);
        frames++;
    }
    EXPECT_EQ(frames, 1000);
    EXPECT_FALSE(d.flag);
    // Missiles leave blasts that may score on their own later; here only
    // the drone's pay counts, which the update adds at once, and its
    // explosion, the first of the stage (KillCount 1).
    EXPECT_EQ(dat.score, 2000 + 1);
    EXPECT_EQ(BombPulse, 1);
    EXPECT_EQ(LiveCount(pitem), 1);  // shot down it leaves a power item, as under a blast
}

TEST_F(DroneTest, SeveralShotsInOneFrameEachCountAndNoneAfterTheKill) {
    SpriteData& d = Drone(3);
    for (int k = 0; k < 5; k++) PlaceShot(P_Shot, 340.0f + k, 240, 16, 16);
    BitUpdate(d);
    EXPECT_FALSE(d.flag);
    EXPECT_EQ(dat.score, 3 + 1000 + 1);  // the last 1: its explosion
    EXPECT_EQ(LiveCount(P_Shot), 2);  // the two after the kill fly on
}

// Mode 0 waits 10, then fires 50 darts one per 0.1, and the next burst
// comes 20 after the first began.
TEST_F(DroneTest, ABurstIsFiftyDartsOnePerTenthOfATimeUnit) {
    Bit(300, 100, 180, 0, 0);
    SpriteData& d = bit[0];
    d.gw[0] = 0;
    int frames = 0;
    while (LiveCount(sLaser2) == 0 && frames < 1000) {
        BitUpdate(d);
        frames++;
    }
    EXPECT_NEAR(frames, 200, 1);  // 10 time units at 0.05
    for (int k = 0; k < 200; k++) BitUpdate(d);
    EXPECT_EQ(LiveCount(sLaser2), 50);
    EXPECT_EQ(d.num, 0);
    for (int k = 0; k < 190; k++) BitUpdate(d);
    EXPECT_EQ(d.num, 0);
    for (int k = 0; k < 20; k++) BitUpdate(d);
    EXPECT_GT(d.num, 40);  // the second burst has begun
}

// Mode 4 coasts to a stop while it charges for 10, fires its beam, then
// sweeps.
TEST_F(DroneTest, TheBeamDroneChargesThenFiresThenSweeps) {
    Bit(300, 200, 180, 20, 4);
    SpriteData& d = bit[0];
    for (int k = 0; k < 195; k++) BitUpdate(d);
    EXPECT_EQ(LiveCount(BLaser), 0);
    EXPECT_GT(LiveCount(flash), 0);
    EXPECT_GT(LiveCount(line), 0);
    EXPECT_LT(d.speed, 1.0f);
    EXPECT_GT(d.x, 250.0f);  // it coasted about its launch speed's worth
    for (int k = 0; k < 10 && LiveCount(BLaser) == 0; k++) BitUpdate(d);
    EXPECT_EQ(LiveCount(BLaser), 1);
    EXPECT_EQ(d.mode, 5);
    for (int k = 0; k < 400 && d.mode == 5; k++) BitUpdate(d);
    EXPECT_EQ(d.mode, 6);  // reached the bottom, sweeps up
    EXPECT_GT(LiveCount(tama), 0);
}

// Mode 2: it dashes to the right half of the compass, stops and fires,
// rests and dashes again until a dash takes it off the screen.
TEST_F(DroneTest, TheDashDroneDashesRightwardsFiresWhereItStopsAndLeaves) {
    for (int level : {EASY, NORMAL, HARD}) {
        OPTION.Difficulty = level;
        BossReset();
        SpriteClearAll();
        Bit(10, 190, 180, 5, 2);
        SpriteData& d = bit[0];
        int shots = 0, dashes = 0, frames = 0;
        for (; d.flag && frames < 20000; frames++) {
            int before = LiveCount(tama);
            int was = d.opt2;
            BitUpdate(d);
            if (LiveCount(tama) > before) shots++;
            if (was == 0 && d.opt2 == 1) {
                dashes++;
                EXPECT_GE(d.dx, -0.001f) << d.angle;
            }
        }
        EXPECT_FALSE(d.flag) << level;
        EXPECT_GE(dashes, 1);
        // Every dash but the one that takes it away ends in a volley.
        EXPECT_GE(shots, dashes - 1);
        EXPECT_LE(shots, dashes);
        int perStop = level == HARD ? 5 : 1;
        EXPECT_EQ(LiveCount(tama), shots * perStop);
    }
}

}  // namespace
