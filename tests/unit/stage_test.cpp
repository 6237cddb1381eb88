#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "enemy/spawners.h"
#include "config/options.h"
#include "entity/entity.h"
#include "game/frame.h"
#include "game/game.h"
#include "game/stage.h"
#include "stage_fixture.h"
#include "player/player.h"
#include "shell/shell.h"

namespace {

TEST_F(StageTest, Stage1SpawnsAsItsTableSays) {
    std::vector<std::string> got;
    int step = StageStep[1];
    while (StageStep[1] != 34 && frame < 20000) {
        Frame();
        for (int i = 0; i < SpawnLogCount; i++) got.push_back(Line(frame, SpawnLog[i]));
        ASSERT_EQ(SpawnLogLost, 0);
        SpawnLogClear();
        if (StageStep[1] != step) {
            step = StageStep[1];
            got.push_back(std::to_string(frame) + " step " + std::to_string(step));
        }
        PlayersAtWork();
    }
    std::ifstream in(QS_SOURCE_DIR "/tests/golden/stage1_spawns.txt");
    ASSERT_TRUE(in.good());
    std::vector<std::string> want;
    for (std::string l; std::getline(in, l);)
        if (!l.empty() && l[0] != '#') want.push_back(l);
    for (size_t i = 0; i < want.size() && i < got.size(); i++)
        ASSERT_EQ(got[i], want[i]) << "line " << i + 1 << " of the spawns";
    EXPECT_EQ(got.size(), want.size());
}

TEST_F(StageTest, TimedPauseAndClearWaitSteps) {
    // Timed group: fires at T >= 3, clears T, counts; the fifth closes the step.
    StageStep[1] = 1;
    StepTimer = 2.9f;
    Frame();
    EXPECT_EQ(SpawnLogCount, 0);
    StepTimer = 3.0f;
    Frame();
    EXPECT_EQ(Logged("zako1"), 2);
    EXPECT_EQ(StepRepeat, 1);
    EXPECT_EQ(StepTimer, 0.05f);
    StepRepeat = 4;
    StepTimer = 3.0f;
    Frame();
    EXPECT_EQ(Logged("zako1"), 4);
    EXPECT_EQ(Logged("zako3"), 10);
    EXPECT_EQ(StageStep[1], 2);
    EXPECT_EQ(StepRepeat, 0);

    // Pause: passes at StepWait and keeps T, so the next group comes at once.
    StepTimer = 19.9f;
    Frame();
    EXPECT_EQ(StageStep[1], 2);
    StepTimer = 20.0f;
    Frame();
    EXPECT_EQ(StageStep[1], 3);
    EXPECT_EQ(StepTimer, 20.05f);
    SpawnLogClear();
    Frame();
    EXPECT_EQ(Logged("zako1"), 2);
    EXPECT_EQ(SpawnLog[0].y, 300.0f);

    // The column waits while a mid-size enemy lives, then starts at once.
    StageStep[1] = 19;
    SpawnLogClear();
    Frame();
    EXPECT_EQ(StageStep[1], 22);
    EXPECT_EQ(Logged("haro"), 10);
    EXPECT_EQ(MidEnemyCount, 1);
    for (int i = 0; i < 100; i++) Frame();
    EXPECT_EQ(Logged("zako3"), 0);
    SpriteRelease(chuugata[0]);
    MidEnemyCount = 0;
    Frame();
    EXPECT_EQ(Logged("zako3"), 1);
    EXPECT_EQ(SpawnLog[SpawnLogCount - 1].y, 30.0f);
}

TEST_F(StageTest, ClearWaitsPassOneAFrame) {
    StageStep[1] = 23;
    StepTimer = 5;  // running on since the column of step 22
    Frame();
    EXPECT_EQ(StageStep[1], 24);
    Frame();  // the second mid-size enemy
    EXPECT_EQ(StageStep[1], 25);
    EXPECT_EQ(MidEnemyCount, 1);
    Frame();
    Frame();
    EXPECT_EQ(StageStep[1], 25);
    SpriteRelease(chuugata[0]);
    MidEnemyCount = 0;
    Frame();
    EXPECT_EQ(StageStep[1], 26);
    Frame();
    EXPECT_EQ(StageStep[1], 27);
    EXPECT_EQ(Logged("haro"), 0);
    Frame();  // the first ring enemy of step 27 comes at once (T kept)
    EXPECT_EQ(Logged("haro"), 1);
}

TEST_F(StageTest, PauseFreezesTimedStepsButNotFrameCountedOnes) {
    FrameStep = 0;
    for (int i = 0; i < 199; i++) Frame();
    EXPECT_EQ(StageStep[1], 0);
    Frame();
    EXPECT_EQ(StageStep[1], 1);  // 200 frames, paused or not

    StepTimer = 2.5f;
    for (int i = 0; i < 1000; i++) Frame();
    EXPECT_EQ(StepTimer, 2.5f);
    EXPECT_EQ(SpawnLogCount, 0);
    EXPECT_EQ(StageStep[1], 1);

    StageStep[1] = 17;
    for (int i = 0; i < 9; i++) Frame();
    EXPECT_EQ(Logged("haro"), 9);
    EXPECT_EQ(StageStep[1], 17);
    Frame();
    EXPECT_EQ(Logged("haro"), 10);
    EXPECT_EQ(StageStep[1], 18);
    EXPECT_EQ(SpawnLog[9].y, 300.0f);  // H9
}

TEST_F(StageTest, WarningEndsAfterExactlyTwoSweeps) {
    StageStep[1] = 34;
    int frames = 0;
    int firstSweep = 0;
    while (StageStep[1] == 34 && frames < 5000) {
        Frame();
        frames++;
        if (!firstSweep && WarnPasses == 1) firstSweep = frames;
        if (frames == 350) {
            EXPECT_EQ(BOSS1[0].hp, 3500.0f);  // 200 a time unit
            EXPECT_EQ(BossBar, 249);          // from 3490, the energy before this frame's fill
        }
    }
    EXPECT_EQ(firstSweep, 578);  // 577 units at one a frame, then one more
    EXPECT_EQ(frames, 1156);
    EXPECT_EQ(WarnX, 0.0f);
    EXPECT_EQ(WarnPasses, 639.0f);
    EXPECT_EQ(BOSS1[0].hp, 7000.0f);  // filled after 700 frames and held there
    EXPECT_EQ(BossBar, 500);
    EXPECT_GT(ScrollSpeedX, -5.0f);  // slowed to -5
    EXPECT_LT(ScrollSpeedX, -4.9f);
    EXPECT_EQ(StagePhase, 1);

    // However far the energy still is from full.
    StageNo = 4;
    StageStep[4] = 18;
    WarnX = WarnPasses = 0;
    BOSS4[0].hp = -1.0e6f;
    frames = 0;
    while (StageStep[4] == 18 && frames < 5000) {
        Frame();
        frames++;
    }
    EXPECT_EQ(frames, 1156);
    EXPECT_LT(BOSS4[0].hp, 0.0f);
}

TEST_F(StageTest, BossPhaseCallsForTheBossOnce) {
    StageStep[1] = 35;
    ScrollSpeedX = -5;
    StepTimer = 7;
    StepRepeat = 3;
    Frame();
    EXPECT_EQ(StagePhase, 0);  // the boss is made later in this frame
    EXPECT_EQ(StepRepeat, 0);
    EXPECT_EQ(StepTimer, 0.05f);
    StagePhase = 2;  // as the boss does
    for (int i = 0; i < 3000; i++) Frame();
    EXPECT_EQ(StagePhase, 2);
    EXPECT_EQ(StepTimer, 0.05f);
    EXPECT_EQ(StageStep[1], 35);
    EXPECT_LT(ScrollSpeedX, -100.0f);  // speeds up to -100 and stays
    EXPECT_GT(ScrollSpeedX, -100.1f);
}

TEST_F(StageTest, StageClearClosesOpensAndMovesOn) {
    StageStep[1] = 35;
    StagePhase = 4;  // the boss is beaten
    WarnX = 0;
    WarnPasses = 639;
    int frames = 0;
    while (StagePhase == 4 && frames < 1000) {
        Frame();
        frames++;
    }
    EXPECT_EQ(frames, 162);  // 0, 4, ... 640 drawn, then the clear
    EXPECT_EQ(StagePhase, 5);
    EXPECT_EQ(StageNo, 2);
    EXPECT_EQ(PlayerStock, 4);
    frames = 0;
    float scroll = ScrollSpeedX;
    while (StagePhase == 5 && frames < 1000) {
        Frame();
        frames++;
        EXPECT_EQ(StageStep[2], 0);  // no script runs while the picture opens
        EXPECT_EQ(ScrollSpeedX, scroll);
    }
    EXPECT_EQ(frames, 162);
    EXPECT_EQ(StagePhase, 1);
    Frame();
    EXPECT_EQ(ScrollSpeedX, -20.0f);  // stage 2's script runs
}

TEST_F(StageTest, TheWholeFlowCanBeWalked) {
    const int bossStep[6] = {0, 35, 35, 20, 19, 26};
    for (int stage = 1; stage <= 5; stage++) {
        SCOPED_TRACE(stage);
        ASSERT_EQ(StageNo, stage);
        // Stage 5's mid-boss (three copies of the first boss) goes down as
        // soon as it is made.
        ASSERT_TRUE(RunUntil(
            [] {
                for (int i = 0; i < 3; i++) BOSS1[i].flag = false;
                return StagePhase == 0;
            },
            stage == 5 ? 120000 : 30000));
        EXPECT_EQ(StageStep[stage], bossStep[stage]);
        StagePhase = 4;  // the boss, made and beaten
        ASSERT_TRUE(RunUntil([] { return StagePhase == 1; }, 1000));
    }
    EXPECT_EQ(StageNo, 6);
    EXPECT_EQ(PlayerStock, 8);
}

TEST_F(StageTest, AGameStartedAtStage3LeavesTheOtherScriptsAlone) {
    StageNo = 3;
    ASSERT_TRUE(RunUntil([] { return StageStep[3] == 19; }, 40000));
    for (int i = 0; i < 100; i++) Frame();
    for (int stage : {1, 2, 4, 5}) EXPECT_EQ(StageStep[stage], 0);
    EXPECT_EQ(StepRepeat, 0);
    EXPECT_EQ(FrameTick, 0);
    EXPECT_EQ(HaroIndex, 0);
    EXPECT_GT(StepTimer2, 0.0f);
    EXPECT_EQ(ScrollSpeedY, -1.0f);  // set by its last step before the WARNING
    EXPECT_EQ(BOSS1[0].hp, 0.0f);
    EXPECT_GT(BOSS3[0].hp, 0.0f);

    // Back at the title everything starts over.
    StageFlowReset();
    for (int stage = 1; stage <= 5; stage++) EXPECT_EQ(StageStep[stage], 0);
    EXPECT_EQ(StagePhase, 1);
    EXPECT_EQ(ScrollSpeedX, -50.0f);
    EXPECT_EQ(ScrollSpeedY, 0.0f);
    EXPECT_EQ(StepWait, 20.0f);
    EXPECT_EQ(WarnX + WarnPasses + StepTimer + StepTimer2, 0.0f);
}

TEST_F(StageTest, CloudsDriftWithTheScrollAndComeAndGo) {
    Kumo(300, 100, 180, 0.9f);
    Kumo(-248, 100, 180, 0.9f);
    StageBackground();
    EXPECT_FLOAT_EQ(kumo[0].x, 300 - 50 * 0.9f * 0.05f * 1.5f);
    EXPECT_EQ(kumo[0].y, 100.0f);
    EXPECT_FALSE(kumo[1].flag);
    int made = 0;
    for (int i = 0; i < 3000; i++) {
        int before = SpawnLogCount;
        StageBackground();
        if (SpawnLogCount > before) {
            made++;
            const SpawnLogEntry& e = SpawnLog[SpawnLogCount - 1];
            EXPECT_GE(e.x, 640.0f);
            EXPECT_LE(e.x, 699.0f);
            EXPECT_GE(e.y, -400.0f);
            EXPECT_LE(e.y, 800.0f);
        }
        if (SpawnLogCount > 4000) SpawnLogClear();
    }
    EXPECT_GT(made, 50);  // about three in a hundred frames
    EXPECT_LT(made, 130);
    // Other stages have no clouds.
    StageNo = 2;
    SpawnLogClear();
    for (int i = 0; i < 500; i++) StageBackground();
    EXPECT_EQ(SpawnLogCount, 0);
}

TEST(InvincibleTest, TheSwitchHoldsTheShipUnhittableAndShown) {
    SpriteData ship = P_Ship;
    FrameStep = 0.05f;
    P_Ship.flag = true;
    P_Ship.time = 0.0f;
    Options.invincible = true;
    for (int i = 0; i < 500; i++) {
        ShipLossAndRespawn();
        ASSERT_GT(P_Ship.time, 0.0f);          // no collision test takes it
        ASSERT_EQ((int)P_Ship.time % 2, 1);    // and the blink shows it
    }
    Options.invincible = false;
    for (int i = 0; i < 40; i++) ShipLossAndRespawn();
    EXPECT_LE(P_Ship.time, 0.0f);
    P_Ship = ship;
}

}  // namespace
