// The fourth and fifth bosses: arrival, drone launches, the energy marks
// between phases, the fifth boss's wait for the walls and its restart,
// and both deaths with what they pay and where they lead.
#include <gtest/gtest.h>

#include "boss/boss.h"
#include "enemy/spawners.h"
#include "game/frame.h"
#include "game/stage.h"
#include "play_state.h"

namespace {

class Boss45Test : public PlayStateTest {
protected:
    void SetUp() override {
        PlayStateTest::SetUp();
        BossReset();
        StageFlowReset();
        savedWall_ = WallPos;
    }
    void TearDown() override {
        WallPos = savedWall_;
        BossReset();
        StageFlowReset();
        PlayStateTest::TearDown();
    }
    // A fresh boss of the stage in entry 0 (no drones about).
    SpriteData& Create(int stage) {
        BossReset();
        StageNo = stage;
        StagePhase = 0;
        BossCreate();
        EXPECT_EQ(StagePhase, 2);
        return stage == 4 ? BOSS4[0] : BOSS5[0];
    }
    // The fourth boss arrived and about to start `mode`.
    SpriteData& Boss4At(int mode, float hp) {
        SpriteData& s = Create(4);
        s.x = 300;
        s.fw[6] = 1;
        s.opt2 = 1;
        s.speed = 0;
        s.b = 40;
        s.mode = mode;
        s.timer = 0;
        s.time = 0;
        s.hp = hp;
        return s;
    }
    // Runs the boss pass (the boss, then the drones) `n` frames.
    void Frames(int n) {
        for (int k = 0; k < n; k++) BossPass();
    }
    float savedWall_ = 0;
};

// It flies in at 20, pulling the background for 40 frames, and stops at
// x 300, where its first step launches two dashing drones from its bay.
TEST_F(Boss45Test, Boss4ArrivesAndLaunchesTwoDrones) {
    SpriteData& s = Create(4);
    float scroll = ScrollSpeedX;
    int frames = 0;
    while (s.opt2 == 0 && frames < 1000) {
        BossPass();
        frames++;
    }
    EXPECT_EQ(ScrollSpeedX, scroll - 40);
    EXPECT_NEAR(frames, 440, 1);  // 440 pixels at one per frame
    EXPECT_LE(s.x, 300.0f);
    EXPECT_EQ(s.fw[6], 1.0f);
    ASSERT_EQ(LiveCount(bit), 2);
    EXPECT_EQ(bit[0].mode, 2);
    EXPECT_EQ(bit[1].mode, 2);
    EXPECT_NEAR(bit[0].x, s.x + 30 - FrameStep * 5, 0.01);  // from the bay, then one step
    EXPECT_EQ(s.mode, 1);
}

// The energy mark of 10000 is looked at only in modes 4, 8 and 13.
TEST_F(Boss45Test, Boss4EntersItsSecondPhaseOnlyFromModes4_8And13) {
    for (int mode : {4, 8, 13}) {
        SpriteData& s = Boss4At(mode, 10000);
        Boss4Script(s);
        EXPECT_EQ(s.mode, 14) << mode;
        s = Boss4At(mode, 10001);
        Boss4Script(s);
        EXPECT_NE(s.mode, 14) << mode;
    }
    for (int mode : {1, 2, 3, 5, 6, 7, 9, 10, 11}) {
        SpriteData& s = Boss4At(mode, 100);
        Boss4Script(s);
        EXPECT_LT(s.mode, 14) << mode;
    }
}

// Mode 12 stops it and calls two drones in from the right edge, one
// firing down, one up; the first phase then starts over.
TEST_F(Boss45Test, Boss4CallsDronesFromTheRightEdgeAndGoesRound) {
    SpriteData& s = Boss4At(12, 20000);
    s.speed = 3;
    Boss4Script(s);
    EXPECT_EQ(s.speed, 0.0f);
    ASSERT_EQ(LiveCount(bit), 2);
    EXPECT_EQ(bit[0].x, 640.0f);
    EXPECT_EQ(bit[0].y, 0.0f);
    EXPECT_EQ(bit[0].mode, 0);
    EXPECT_EQ(bit[1].y, 400.0f);
    EXPECT_EQ(bit[1].mode, 1);
    for (int k = 0; k < 1000 && s.mode == 13; k++) Boss4Script(s);
    EXPECT_EQ(s.mode, 1);
}

// Every difficulty: a whole first-phase round fires from every step, and
// the second phase, once entered, stays in 15 and 16.
TEST_F(Boss45Test, Boss4FiresThroughItsWholeScriptOnEveryDifficulty) {
    for (int level : {EASY, NORMAL, HARD, SPECIAL}) {
        SCOPED_TRACE(level);
        OPTION.Difficulty = level;
        SpriteClearAll();
        BossReset();
        SpriteData& s = Boss4At(1, 20000);
        int seen = 0;
        for (int k = 0; k < 60000; k++) {
            if (k % 50 == 0) SpriteClearAll();  // keep the pools from filling up
            s.flag = true;
            int mode = s.mode;
            Boss4Script(s);
            s.timer -= 20 * FrameStep;
            seen |= 1 << mode;
            if (mode == 13 && s.mode == 1) break;
        }
        EXPECT_EQ(seen, (1 << 14) - 2);  // modes 1 .. 13
        s.hp = 9000;
        s.mode = 13;
        for (int k = 0; k < 20000; k++) {
            if (k % 50 == 0) SpriteClearAll();
            s.flag = true;
            Boss4Script(s);
            s.timer -= 20 * FrameStep;
            ASSERT_GE(s.mode, 14);
            ASSERT_LE(s.mode, 16);
        }
    }
}

// Dying: the script stops, the drones go, the wreck sinks in 30
// steps of explosions; then it pays 4 000 000 and the stage is won.
TEST_F(Boss45Test, Boss4DiesIntoTheStageClear) {
    SpriteData& s = Boss4At(5, -50);  // -25000/500: the bar falls below 0
    Bit(100, 100, 180, 0, 2);
    Bit(100, 100, 180, 0, 2);
    Bit(100, 100, 180, 0, 2);
    BossBar = BossBarLength(s.hp, BOSS4_ENERGY);
    ASSERT_EQ(BossBar, -1);
    float y0 = s.y;
    int frames = 0;
    while (s.flag && frames < 5000) {
        int64_t before = dat.score;
        BossPass();
        if (s.flag) {
            EXPECT_LT(dat.score - before, 4000000);
        }
        frames++;
    }
    EXPECT_FALSE(s.flag);
    EXPECT_EQ(s.mode, BOSS4_DYING);
    EXPECT_EQ(s.fw[1], 30.0f);
    EXPECT_NEAR(frames, 30 * 15, 31);
    EXPECT_GT(s.y, y0 + 100);  // it sank
    EXPECT_GE(dat.score, 4000000);
    EXPECT_EQ(StagePhase, 4);
    EXPECT_EQ(LiveCount(bit), 0);  // its drones went with it
}

// A boss with 0 .. -49 is alive with an empty bar and fights on.
TEST_F(Boss45Test, Boss4WithAnEmptyBarIsNotYetDying) {
    SpriteData& s = Boss4At(1, -49);
    BossPass();
    EXPECT_EQ(BossBar, 0);
    BossPass();
    EXPECT_LT(s.mode, BOSS4_DYING);
}

// ---- BOSS5 -------------------------------------------------------------------

TEST_F(Boss45Test, Boss5WaitsUntilTheWallsAreFullyOpen) {
    SpriteData& s = Create(5);
    EXPECT_EQ(s.x, 278.0f);
    WallPos = -699;
    for (int k = 0; k < 100; k++) BossPass();
    EXPECT_EQ(s.mode, 0);
    EXPECT_EQ(LiveCount(sLaser2) + LiveCount(tama), 0);
    WallPos = -700;
    for (int k = 0; k < 10; k++) BossPass();
    EXPECT_EQ(s.mode, 1);
    EXPECT_GT(LiveCount(sLaser2), 0);
    EXPECT_EQ(s.x, 278.0f);  // the core never moves
}

TEST_F(Boss45Test, Boss5ModesFrom27OnRestartTheScript) {
    SpriteData& s = Create(5);
    WallPos = -500;
    for (int mode : {27, 28, 1000}) {
        s.mode = mode;
        s.opt2 = 3;
        s.time = 7;
        s.fw[1] = s.fw[2] = 9;
        s.cnt = 33;
        s.iw[0] = s.iw[1] = 44;
        s.iw[2] = 55;
        s.timer = -5;
        Boss5Script(s);
        EXPECT_EQ(s.mode, 0);
        EXPECT_EQ(s.opt2, 0);
        EXPECT_EQ(s.time, 0.0f);
        EXPECT_EQ(s.fw[1] + s.fw[2], 0.0f);
        EXPECT_EQ(s.cnt, 0);
        EXPECT_EQ(s.iw[0] + s.iw[1], 0);
        EXPECT_EQ(s.iw[2], 55);  // not part of the restart
        EXPECT_EQ(s.timer, 80.0f);
    }
}

// Each energy mark ends its phase in a burst: bullets to jewels, and
// drones (eight dashing ones, or two spraying ones at the third mark).
TEST_F(Boss45Test, Boss5EnergyMarksLaunchDrones) {
    struct Mark { int mode; float hp; int next; int drones; int droneMode; float timer; };
    const Mark marks[] = {{3, 19999, 7, 8, 2, 2000}, {9, 14999, 14, 8, 2, 2000}, {17, 9999, 22, 2, 3, 1000}};
    for (const Mark& m : marks) {
        SCOPED_TRACE(m.mode);
        SpriteClearAll();
        BossReset();
        SpriteData& s = Create(5);
        s.mode = m.mode;
        s.hp = m.hp + 1;
        s.timer = 0;
        Boss5Script(s);
        EXPECT_EQ(LiveCount(bit), 0);
        s.hp = m.hp;
        BombPulse = 0;
        Boss5Script(s);
        EXPECT_EQ(s.mode, m.next);
        EXPECT_EQ(s.timer, m.timer);
        EXPECT_EQ(BombPulse, 1);
        ASSERT_EQ(LiveCount(bit), m.drones);
        EXPECT_EQ(bit[0].mode, m.droneMode);
    }
}

// The wait after a launch ends when the drones are all down, or when its
// time (2000 at 10 per time unit) is up with drones still about.
TEST_F(Boss45Test, Boss5WaitsForItsDronesOrItsTime) {
    SpriteData& s = Create(5);
    s.mode = 6;
    s.hp = 19000;
    Boss5Script(s);
    ASSERT_EQ(s.mode, 7);
    for (int k = 0; k < 100; k++) {
        Boss5Script(s);
        s.timer -= 10 * FrameStep;
    }
    EXPECT_EQ(s.mode, 7);
    for (int i = 0; i < BIT_MAX; i++) bit[i].flag = false;
    Boss5Script(s);
    EXPECT_EQ(s.mode, 8);

    s.mode = 14;
    s.timer = 2000;
    Bit(300, 200, 180, 0, 2);
    int frames = 0;
    while (s.mode == 14 && frames < 10000) {
        Boss5Script(s);
        s.timer -= 10 * FrameStep;
        frames++;
    }
    EXPECT_EQ(s.mode, 15);
    EXPECT_NEAR(frames, 4000, 2);
}

// Every phase goes round by itself until its mark, and the last never
// leaves 23 .. 26.
TEST_F(Boss45Test, Boss5PhasesGoRoundOnEveryDifficulty) {
    struct Phase { int first, last; float hp; };
    const Phase phases[] = {{1, 5, 20000}, {8, 12, 15000}, {15, 20, 10000}, {23, 26, 1}};
    for (int level : {EASY, NORMAL, HARD}) {
        OPTION.Difficulty = level;
        for (const Phase& p : phases) {
            SCOPED_TRACE(level * 100 + p.first);
            SpriteClearAll();
            BossReset();
            SpriteData& s = Create(5);
            s.mode = p.first;
            s.hp = p.hp;
            s.timer = 0;
            int seen = 0;
            bool round = false;
            for (int k = 0; k < 40000 && !round; k++) {
                if (k % 20 == 0) SpriteClearAll();
                s.flag = true;
                int mode = s.mode;
                Boss5Script(s);
                s.timer -= 10 * FrameStep;
                ASSERT_GE(s.mode, p.first);
                ASSERT_LE(s.mode, p.last);
                seen |= 1 << mode;
                round = mode == p.last && s.mode == p.first;
            }
            EXPECT_TRUE(round);
            EXPECT_EQ(seen, (1 << (p.last + 1)) - (1 << p.first));
        }
    }
}

// The laser sheet of mode 2: 181, 331 or three arcs of 110.
TEST_F(Boss45Test, Boss5LaserSheetByDifficulty) {
    const int darts[3] = {181, 331, 111 + 110 + 110};
    for (int level : {EASY, NORMAL, HARD}) {
        SpriteClearAll();
        BossReset();
        OPTION.Difficulty = level;
        SpriteData& s = Create(5);
        s.mode = 2;
        s.timer = 0;
        Boss5Script(s);
        EXPECT_EQ(LiveCount(sLaser2), darts[level]) << level;
        EXPECT_EQ(s.timer, level == HARD ? 70.0f : 100.0f);
    }
}

// Dying: 100 steps, a storm of lines at 90; it pays 1 000 000 and moves
// stage 5's script on one step; the stage itself is not won.
TEST_F(Boss45Test, Boss5DiesIntoTheLastBoss) {
    SpriteData& s = Create(5);
    StageStep[5] = 26;
    s.hp = -50;
    s.iw[9] = 77;  // left over: counting starts from 0 all the same
    int frames = 0, lines = 0;
    while (s.flag && frames < 5000) {
        BossPass();
        if (s.iw[9] == 90 && lines == 0) lines = LiveCount(line);
        frames++;
    }
    EXPECT_FALSE(s.flag);
    EXPECT_EQ(s.iw[9], 100);
    EXPECT_GE(lines, 500);
    EXPECT_NEAR(frames, 100 * 6, 7);
    EXPECT_GE(dat.score, 1000000);
    EXPECT_EQ(StageStep[5], 27);
    EXPECT_EQ(StagePhase, 2);
    Frames(10);
    EXPECT_EQ(StageStep[5], 27);  // once only
}

}  // namespace
