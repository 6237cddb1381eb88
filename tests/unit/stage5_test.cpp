// Stage 5's script: the whole way to the fifth boss on the stage-flow
// bench (stage_fixture.h), the mid-boss copies, the step that waits for
// them, the fortress's fall and the last boss's single call.
#include <gtest/gtest.h>

#include <vector>

#include "boss/boss.h"
#include "enemy/spawners.h"
#include "stage_fixture.h"

namespace {

class Stage5Test : public StageTest {
protected:
    void SetUp() override {
        StageTest::SetUp();
        BossReset();
        StageNo = 5;
    }
    void TearDown() override {
        BossReset();
        StageTest::TearDown();
    }
    // Runs frames from `step` until the script has left it.
    int FramesIn(int step, int limit) {
        int n = 0;
        while (StageStep[5] == step && n < limit) {
            Frame();
            PlayersAtWork();
            n++;
        }
        return n;
    }
};

// The script walks every step from 0 to the fifth boss in order, with the
// mid-boss beaten as soon as it is made; on the way the fly-by passes, the
// fortress front comes in and the gate is closed for the WARNING.
TEST_F(Stage5Test, WalksEveryStepToTheFifthBoss) {
    std::vector<int> seen{0};
    bool midBoss = false;
    float flyAtStep16 = 0;
    while (StagePhase != 0 && frame < 100000) {
        Frame();
        if (BOSS1[0].flag) {
            midBoss = true;
            EXPECT_EQ(StagePhase, 2);
            for (int i = 0; i < 3; i++) BOSS1[i].flag = false;
        }
        PlayersAtWork();
        if (StageStep[5] != seen.back()) {
            seen.push_back(StageStep[5]);
            if (StageStep[5] == 16) flyAtStep16 = FlyX;
            if (StageStep[5] == 25) {
                EXPECT_EQ(WallPos, 0.0f);
            }
        }
    }
    std::vector<int> want;
    for (int s = 0; s <= 26; s++) want.push_back(s);
    EXPECT_EQ(seen, want);
    EXPECT_TRUE(midBoss);
    EXPECT_GE(flyAtStep16, 800.0f);
    EXPECT_LT(BigPicRow, 0.0f);
    EXPECT_EQ(BigPicX, 640.0f - 5 * 240);  // 240 frames of the front, 2 rows each
    EXPECT_EQ(Logged("Chuugata3"), 1);
    EXPECT_EQ(Logged("Lastboss"), 0);
    EXPECT_EQ(BOSS5[0].hp, 25000.0f);  // the WARNING filled it
    EXPECT_EQ(ScrollSpeedX, 0.0f);
    for (int stage = 1; stage <= 4; stage++) EXPECT_EQ(StageStep[stage], 0);
}

// A step that ends on its repeat count hands the next one T = 0, not the
// T its last group left (step 4 leaves 195, which would fire step 5's
// first pair at once); and after the last wave of step 24 the sky is
// looked at only each time T passes 50.
TEST_F(Stage5Test, StepsStartTheirClockAfresh) {
    StageStep[5] = 4;
    StepRepeat2 = 19;
    StepTimer2 = 200;
    Frame();
    EXPECT_EQ(StageStep[5], 5);
    EXPECT_EQ(Logged("eisei"), 1);
    SpawnLogClear();
    for (int i = 0; i < 900; i++) Frame();
    EXPECT_EQ(Logged("zako9"), 0);

    SpriteClearAll();  // the satellite of step 4 and the rest
    born.clear();
    StageStep[5] = 24;
    WaveCounter = 8;
    StepTimer2 = 0;
    MidEnemyCount = 1;
    for (int i = 0; i < 1100; i++) Frame();
    EXPECT_EQ(StageStep[5], 24);  // looked once after 50 units: not clear
    EXPECT_LT(StepTimer2, 5.0f);
    MidEnemyCount = 0;
    int n = FramesIn(24, 2000);
    EXPECT_GT(n, 850);  // the next look comes 50 units after the first
    EXPECT_EQ(StageStep[5], 25);
    EXPECT_EQ(WallPos, 0.0f);
    EXPECT_EQ(WarnPasses, 0.0f);
}

// Step 16 calls the mid-boss only when entry 0 of the first boss's pool
// is free, and moves on either way.
TEST_F(Stage5Test, TheMidBossComesOnlyIntoAFreeFirstEntry) {
    StageStep[5] = 16;
    BOSS1[0].flag = true;
    BOSS1[0].hp = 123;
    sLaser[7].x = 300;
    Frame();
    EXPECT_EQ(StageStep[5], 17);
    EXPECT_EQ(BOSS1[0].hp, 123.0f);
    EXPECT_FALSE(BOSS1[1].flag);
    EXPECT_EQ(StagePhase, 1);
    EXPECT_EQ(sLaser[7].x, 300.0f);

    BossReset();
    StageStep[5] = 16;
    BOSS1[1].mode = 9;  // left over: the copies start from clean records
    BOSS1[2].opt2 = 1;
    sLaser[7].flag = true;
    Frame();
    EXPECT_EQ(StageStep[5], 17);
    EXPECT_EQ(StagePhase, 2);
    EXPECT_EQ(BossBar, 500);
    for (int i = 0; i < 3; i++) {
        SCOPED_TRACE(i);
        const SpriteData& s = BOSS1[i];
        EXPECT_TRUE(s.flag);
        EXPECT_EQ(s.hp, 7000.0f);
        EXPECT_EQ(s.x, 740.0f);
        EXPECT_EQ(s.y, 120.0f);
        EXPECT_EQ(s.speed, 5.0f);
        EXPECT_EQ(s.timer, 500.0f);
        EXPECT_EQ(s.w, 240);
        EXPECT_EQ(s.frames, 23);
        EXPECT_EQ(s.bmp, 70);
        EXPECT_EQ(s.iw[2], 65);
        EXPECT_EQ(s.iw[3], 150);
        EXPECT_EQ(s.mode, 0);
        EXPECT_EQ(s.opt2, 0);
    }
    EXPECT_FALSE(BOSS1[3].flag);
    EXPECT_EQ(sLaser[7].x, -500.0f);
    EXPECT_EQ(sLaser[7].y, -500.0f);
}

// Step 21 sends nothing while the mid-boss lives, then a turret column
// (ten from above, ten from below) every 8 units.
TEST_F(Stage5Test, TheTurretColumnsWaitForTheMidBoss) {
    StageStep[5] = 20;
    LBOSS[3].flag = true;
    Frame();
    EXPECT_FALSE(LBOSS[3].flag);
    EXPECT_EQ(StepTimer2, 180.05f);
    BOSS1[0].flag = true;
    for (int i = 0; i < 400; i++) Frame();
    EXPECT_EQ(Logged("zako10"), 0);
    EXPECT_EQ(StepRepeat2, 0.0f);
    BOSS1[0].flag = false;
    Frame();
    EXPECT_EQ(Logged("zako10"), 20);
    EXPECT_EQ(SpawnLog[0].x, 610.0f);  // K = 1
    EXPECT_EQ(SpawnLog[1].x, 640.0f);
    EXPECT_EQ(StepRepeat2, 1.0f);
    EXPECT_EQ(StageStep[5], 21);
}

// After the fifth boss: the fortress burns (101 rounds a unit apart after
// 45 units), blows apart top and bottom, the hall picks up speed, and the last
// boss is called once; a later call finds it in play and does nothing.
TEST_F(Stage5Test, TheFortressFallsAndTheLastBossIsCalledOnce) {
    StageStep[5] = 27;
    StagePhase = 2;
    int f27 = FramesIn(27, 10000);
    EXPECT_EQ(f27, 902 + 100 * 21);  // T passes 45 after 902 frames, then from 44 past 45 in 21
    EXPECT_EQ(Logged("Lastboss"), 0);
    EXPECT_EQ(FramesIn(28, 1000), 100);  // past 5 units
    EXPECT_EQ(FramesIn(29, 1000), 1);    // T is still past 1
    EXPECT_EQ(FramesIn(30, 10000), 1 + 50 * 20);  // the first round at once
    EXPECT_NEAR(ScrollSpeedX, -50.05f, 0.01f);   // from 0, FrameStep a frame
    ASSERT_EQ(StageStep[5], 31);
    EXPECT_TRUE(RunUntil([] { return LBOSS[0].flag; }, 2000));
    EXPECT_EQ(Logged("Lastboss"), 1);
    EXPECT_EQ(LBOSS[0].x, -450.0f);
    EXPECT_EQ(LBOSS[0].hp, 40000.0f);
    EXPECT_EQ(WarnPasses, 639.0f);
    // The boss holds still on this bench: 50 more rounds call it again.
    SpawnLogClear();
    for (int i = 0; i < 60 * 21; i++) Frame();
    EXPECT_EQ(Logged("Lastboss"), 0);
    EXPECT_EQ(BossBar, 500);  // now from the boss's energy
    EXPECT_FALSE(LBOSS[1].flag);
    EXPECT_EQ(StageStep[5], 31);  // the boss moves the script on itself
}

// The fortress front shows from the bottom row up, two rows a frame, and
// only while step 19 runs; the return to the title clears stage 5's state.
TEST_F(Stage5Test, TheFortressFrontAndTheReturnToTheTitle) {
    StageStep[5] = 18;
    ScrollSpeedY = 698;
    Frame();
    EXPECT_EQ(StageStep[5], 18);
    Frame();
    EXPECT_EQ(StageStep[5], 19);
    EXPECT_EQ(BigPicX, 640.0f);
    EXPECT_EQ(BigPicRow, 477.0f);  // drawn once already in that frame
    EXPECT_EQ(FramesIn(19, 1000), 240);
    EXPECT_EQ(ScrollSpeedX, -48.0f);
    float row = BigPicRow;
    Frame();
    EXPECT_EQ(BigPicRow, row);  // no longer drawn

    FlyX = 800;
    LastBossCalled = true;
    WallPos = -700;
    StageFlowReset();
    EXPECT_EQ(FlyX, 0.0f);
    EXPECT_EQ(BigPicX, 0.0f);
    EXPECT_EQ(BigPicRow, 0.0f);
    EXPECT_FALSE(LastBossCalled);
    EXPECT_EQ(WallPos, -500.0f);
    EXPECT_EQ(StageStep[5], 0);
}

}  // namespace
