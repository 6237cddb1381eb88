// The fourth and fifth bosses: arrival, the energy marks between phases,
// scripts that never stall, the fifth boss's wait for the walls and its
// restart, and both deaths with what they pay and where they lead.
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
        StageFlowReset();
        savedWall_ = WallPos;
    }
    void TearDown() override {
        WallPos = savedWall_;
        BossReset();
        StageFlowReset();
        PlayStateTest::TearDown();
    }
    // A fresh boss of the stage in entry 0, no drones about; with `mode`
    // >= 0 it has arrived and is about to start that step.
    SpriteData& Create(int stage, int mode = -1, float hp = 25000) {
        BossReset();
        StageNo = stage;
        StagePhase = 0;
        BossCreate();
        EXPECT_EQ(StagePhase, 2);
        SpriteData& s = stage == 4 ? BOSS4[0] : BOSS5[0];
        if (mode < 0) return s;
        if (stage == 4) {
            s.x = 300;
            s.fw[6] = 1;
            s.opt2 = 1;
            s.b = 40;
        }
        s.mode = mode;
        s.timer = s.time = 0;
        s.hp = hp;
        return s;
    }
    // Runs a script alone for up to `frames` frames, with the pools
    // emptied now and then; calls check(mode before, mode after) and stops
    // when it returns true.
    template <typename Check>
    void RunScript(SpriteData& s, void (*script)(SpriteData&), float rate, int frames, Check check) {
        for (int k = 0; k < frames; k++) {
            if (k % 20 == 0) SpriteClearAll();
            s.flag = true;
            int before = s.mode;
            script(s);
            s.timer -= rate * FrameStep;
            if (check(before, s.mode)) return;
        }
    }
    float savedWall_ = 0;
};

// It flies in at 20, pulling the background along for 40 frames, stops at
// x 300, and its first step launches two dashing drones from its bay.
TEST_F(Boss45Test, Boss4ArrivesAndLaunchesTwoDrones) {
    SpriteData& s = Create(4);
    float scroll = ScrollSpeedX;
    int frames = 0;
    for (; s.opt2 == 0 && frames < 1000; frames++) BossPass();
    EXPECT_EQ(ScrollSpeedX, scroll - 40);
    EXPECT_NEAR(frames, 440, 1);
    EXPECT_EQ(s.fw[6], 1.0f);
    ASSERT_EQ(LiveCount(bit), 2);
    EXPECT_EQ(bit[1].mode, 2);
    EXPECT_NEAR(bit[1].x, s.x + 30 - FrameStep * 5, 0.01);  // from the bay, then one step
    EXPECT_EQ(s.mode, 1);
}

// The mark of 10000 is looked at only in modes 4, 8 and 13.
TEST_F(Boss45Test, Boss4EntersItsSecondPhaseOnlyFromModes4_8And13) {
    for (int mode = 1; mode <= 13; mode++) {
        bool looks = mode == 4 || mode == 8 || mode == 13;
        SpriteData& s = Create(4, mode, 10000);
        Boss4Script(s);
        EXPECT_EQ(s.mode == 14, looks) << mode;
        if (!looks) continue;
        Create(4, mode, 10001);
        Boss4Script(s);
        EXPECT_NE(s.mode, 14) << mode;
    }
}

// On every difficulty the first phase runs through modes 1 .. 13 and
// round again; the second, once entered, keeps to 15 and 16.
TEST_F(Boss45Test, Boss4GoesRoundItsScriptOnEveryDifficulty) {
    for (int level : {EASY, NORMAL, HARD, SPECIAL}) {
        SCOPED_TRACE(level);
        OPTION.Difficulty = level;
        SpriteData& s = Create(4, 1, 20000);
        int seen = 0;
        RunScript(s, Boss4Script, 20, 60000, [&](int before, int) {
            seen |= 1 << before;
            return before == 13 && s.mode == 1;
        });
        EXPECT_EQ(seen, (1 << 14) - 2);
        s.hp = 9000;
        s.mode = 13;
        RunScript(s, Boss4Script, 20, 20000, [&](int, int after) {
            EXPECT_TRUE(after >= 14 && after <= 16) << after;
            return after < 14 || after > 16;
        });
    }
}

// Dying: the script stops, the drones go, the wreck sinks in 30 steps of
// explosions; then it pays 4 000 000 and the stage is won.
TEST_F(Boss45Test, Boss4DiesIntoTheStageClear) {
    SpriteData& s = Create(4, 5, -50);  // -25000 / 500: the bar falls below 0
    for (int k = 0; k < 3; k++) Bit(100, 100, 180, 0, 2);
    float y0 = s.y;
    int frames = 0;
    for (; s.flag && frames < 5000; frames++) {
        int64_t before = dat.score;
        BossPass();
        if (s.flag) {
            EXPECT_LT(dat.score - before, 4000000);
        }
    }
    EXPECT_EQ(s.mode, BOSS4_DYING);
    EXPECT_EQ(s.fw[1], 30.0f);
    EXPECT_NEAR(frames, 30 * 15, 31);
    EXPECT_GT(s.y, y0 + 100);  // it sank
    EXPECT_GE(dat.score, 4000000);
    EXPECT_EQ(StagePhase, 4);
    EXPECT_EQ(LiveCount(bit), 0);
}

// ---- BOSS5 -------------------------------------------------------------------

TEST_F(Boss45Test, Boss5WaitsUntilTheWallsAreFullyOpen) {
    SpriteData& s = Create(5);
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
    for (int mode : {27, 1000}) {
        s.mode = mode;
        s.opt2 = 3;
        s.time = s.fw[1] = s.fw[2] = 9;
        s.cnt = s.iw[0] = s.iw[1] = s.iw[2] = 44;
        s.timer = -5;
        Boss5Script(s);
        EXPECT_EQ(s.mode + s.opt2 + s.cnt + s.iw[0] + s.iw[1], 0);
        EXPECT_EQ(s.time + s.fw[1] + s.fw[2], 0.0f);
        EXPECT_EQ(s.iw[2], 44);  // not part of the restart
        EXPECT_EQ(s.timer, 80.0f);
    }
}

// Each mark ends its phase in a burst (bullets to jewels) and drones:
// eight dashing ones, or two spraying ones at the third.
TEST_F(Boss45Test, Boss5EnergyMarksLaunchDrones) {
    struct Mark { int mode; float hp; int next; int drones; int droneMode; float timer; };
    const Mark marks[] = {{3, 19999, 7, 8, 2, 2000}, {9, 14999, 14, 8, 2, 2000}, {17, 9999, 22, 2, 3, 1000}};
    for (const Mark& m : marks) {
        SCOPED_TRACE(m.mode);
        SpriteData& s = Create(5, m.mode, m.hp + 1);
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
    SpriteData& s = Create(5, 6, 19000);
    Boss5Script(s);
    for (int k = 0; k < 100; k++) Boss5Script(s);
    EXPECT_EQ(s.mode, 7);
    for (int i = 0; i < BIT_MAX; i++) bit[i].flag = false;
    Boss5Script(s);
    EXPECT_EQ(s.mode, 8);

    s.mode = 14;
    s.timer = 2000;
    Bit(300, 200, 180, 0, 2);
    int frames = 0;
    for (; s.mode == 14 && frames < 10000; frames++) {
        Boss5Script(s);
        s.timer -= 10 * FrameStep;
    }
    EXPECT_EQ(s.mode, 15);
    EXPECT_NEAR(frames, 4000, 2);
}

// Every phase goes round by itself above its mark on every difficulty;
// the last runs through once and then the script starts again, which
// below the marks brings the bursts and drones round again.
TEST_F(Boss45Test, Boss5PhasesGoRoundOnEveryDifficulty) {
    struct Phase { int first, last; float hp; };
    const Phase phases[] = {{1, 5, 20000}, {8, 12, 15000}, {15, 20, 10000}, {23, 26, 1}};
    WallPos = -700;
    for (int level : {EASY, NORMAL, HARD}) {
        OPTION.Difficulty = level;
        for (const Phase& p : phases) {
            SCOPED_TRACE(level * 100 + p.first);
            SpriteData& s = Create(5, p.first, p.hp);
            const int exit = p.first == 23 ? 27 : p.first;
            int seen = 0;
            bool round = false;
            RunScript(s, Boss5Script, 10, 40000, [&](int before, int after) {
                round = before == p.last && after == exit;
                EXPECT_TRUE(round || (after >= p.first && after <= p.last)) << after;
                seen |= 1 << before;
                return round || after < p.first || after > p.last;
            });
            EXPECT_TRUE(round);
            EXPECT_EQ(seen, (1 << (p.last + 1)) - (1 << p.first));
        }
        SpriteData& s = BOSS5[0];
        SpriteClearAll();
        Boss5Script(s);  // the restart, straight through the open walls
        EXPECT_EQ(s.mode, 1);
        Boss5Script(s);  // below 20000: the first burst and its drones
        EXPECT_EQ(s.mode, 7);
        EXPECT_EQ(LiveCount(bit), 8);
    }
}

// Dying: 100 steps, a storm of lines at 90; it pays 1 000 000 and moves
// stage 5's script on one step, once; the stage itself is not won.
TEST_F(Boss45Test, Boss5DiesIntoTheLastBoss) {
    SpriteData& s = Create(5);
    StageStep[5] = 26;
    s.hp = -50;
    s.iw[9] = 77;  // left over: counting starts from 0 all the same
    int frames = 0, lines = 0;
    for (; s.flag && frames < 5000; frames++) {
        BossPass();
        if (s.iw[9] == 90 && lines == 0) lines = LiveCount(line);
    }
    EXPECT_EQ(s.iw[9], 100);
    EXPECT_GE(lines, 500);
    EXPECT_NEAR(frames, 100 * 6, 7);
    EXPECT_GE(dat.score, 1000000);
    EXPECT_EQ(StageStep[5], 27);
    EXPECT_EQ(StagePhase, 2);
    for (int k = 0; k < 10; k++) BossPass();
    EXPECT_EQ(StageStep[5], 27);
}

}  // namespace
