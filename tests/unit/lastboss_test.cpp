// The last boss: its entry into the fight, the bouncing flight's limits,
// the heading of turning bullets, the phase thresholds, the first volleys,
// contact, and the death that wins the game.
#include <gtest/gtest.h>

#include <cmath>
#include <set>

#include "boss/boss.h"
#include "enemy/spawners.h"
#include "game/stage.h"
#include "play_state.h"

namespace {

class LastBossTest : public PlayStateTest {
protected:
    void SetUp() override {
        PlayStateTest::SetUp();
        BossReset();
        StageFlowReset();
        StageNo = 5;
        StageStep[5] = 31;
        Lastboss(-450, 150, 0, 1.5f);
        ASSERT_TRUE(LBOSS[0].flag);
    }
    void TearDown() override {
        BossReset();
        StageFlowReset();
        PlayStateTest::TearDown();
    }
    // The boss standing at (x, y) in `mode`, a volley due.
    SpriteData& At(float x, float y, int mode) {
        SpriteData& s = LBOSS[0];
        s.x = x;
        s.y = y;
        s.mode = mode;
        s.speed = 0;
        s.timer = -0.01f;
        s.time = 0;
        return s;
    }
};

TEST_F(LastBossTest, DriftsInThenOpensFireAndMovesTheScriptOn) {
    SpriteData& s = LBOSS[0];
    EXPECT_EQ(s.w, 400);
    EXPECT_EQ(s.h, 168);
    int frames = 0;
    while (s.mode == 0 && frames < 5000) {
        LastBossPass();
        frames++;
    }
    EXPECT_EQ(frames, 2000);  // 150 pixels at 1.5 a unit
    EXPECT_EQ(s.mode, 1);
    EXPECT_EQ(StageStep[5], 32);
    EXPECT_EQ(s.speed, 1.5f);
    EXPECT_TRUE(LastBossCalled);
    EXPECT_EQ(BossBar, 500);
    // Only entries 0..4 are the boss's.
    LBOSS[5] = LBOSS[0];
    LBOSS[5].x = 0;
    LastBossPass();
    EXPECT_EQ(LBOSS[5].x, 0.0f);
}

// While bouncing the boss stays in x 200..500 and inside the screen's
// height, taking a new heading at every bounce and keeping it otherwise.
TEST_F(LastBossTest, BouncingFlightKeepsItsLimits) {
    struct Case {
        float x, y, wantX, wantY;
        bool turns;
    };
    const Case cases[] = {
        {350, 100, 350, 100, false},  // inside
        {500, 100, 499, 100, true},   {620, 100, 499, 100, true},
        {350, 0, 350, 1, true},       {350, -40, 350, 1, true},
        {350, 312, 350, 311, true},   {350, 311.5f, 350, 311.5f, false},
        {200, 100, 201, 100, true},   {150, -40, 201, -40, true},  // left of 200 only x is fixed
        {520, 400, 499, 311, true},
    };
    SpriteData& s = LBOSS[0];
    for (const Case& c : cases) {
        SCOPED_TRACE(c.x);
        SCOPED_TRACE(c.y);
        s.x = c.x;
        s.y = c.y;
        s.angle = 1000;  // out of range: any bounce replaces it
        LastBossBounce(s);
        EXPECT_EQ(s.x, c.wantX);
        EXPECT_EQ(s.y, c.wantY);
        if (c.turns) {
            EXPECT_GE(s.angle, 0.0f);
            EXPECT_LE(s.angle, 360.0f);
        } else {
            EXPECT_EQ(s.angle, 1000.0f);
        }
    }
    // Through the modes: mode 22 never lets it out.
    At(300, 200, 22).angle = 0;
    s.iw[6] = 4;
    s.iw[7] = 4;
    for (int i = 0; i < 4000; i++) {
        LastBossPass();
        ASSERT_GT(s.x, 199.0f);
        ASSERT_LT(s.x, 500.5f + 0.5f);
        ASSERT_GT(s.y, -1.0f);
        ASSERT_LT(s.y, 480.0f - s.h + 1);
    }
}

// Turning bullets leave down, up, right or left: by my_rand(0, n) 0, 1, 2,
// 3 in that order, anything higher right.
TEST_F(LastBossTest, TurnChoiceFavoursRight) {
    int count[4] = {};
    const int draws = 9000;
    for (int i = 0; i < draws; i++) {
        int a = LastBossTurnChoice(8);
        ASSERT_TRUE(a == 0 || a == 90 || a == 180 || a == 270) << a;
        count[a / 90]++;
    }
    EXPECT_NEAR(count[0], draws * 6 / 9, 250);  // 2 and 4..8
    for (int k = 1; k < 4; k++) EXPECT_NEAR(count[k], draws / 9, 150);
    int six[4] = {};
    for (int i = 0; i < 7000; i++) six[LastBossTurnChoice(6) / 90]++;
    EXPECT_NEAR(six[0], 4000, 250);  // 2, 4, 5, 6
}

// The phases change below 30000 (mode 8 only, not mode 9), 20000 and
// 10000, whatever volley is due.
TEST_F(LastBossTest, PhaseThresholds) {
    struct Case {
        int mode;
        float hp;
        int want;
    };
    const Case cases[] = {
        {8, 30000, 8},  {8, 29999, 10},  {9, 29000, 9},   {16, 20000, 16}, {16, 19999, 19}, {17, 19999, 19},
        {18, 19999, 19}, {19, 10000, 19}, {19, 9999, 22}, {20, 9999, 22},  {21, 9999, 22},  {15, 5000, 15},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode);
        SCOPED_TRACE(c.hp);
        SpriteData& s = At(400, 150, c.mode);
        s.hp = c.hp;
        s.timer = 100;  // no volley due
        LastBossPass();
        EXPECT_EQ(s.mode, c.want);
        if (c.want == 22 && c.mode != 22) {
            EXPECT_EQ(s.timer, 50.0f - FrameStep);
            EXPECT_GE(s.iw[6], 0);
            EXPECT_LE(s.iw[6], 4);
            EXPECT_GE(s.iw[7], 0);
            EXPECT_LE(s.iw[7], 4);
        }
    }
}

// First volleys: the darts of mode 1 from the top gun (ship behind) or
// the front gun (ship ahead), by difficulty, and mode 4's drones.
TEST_F(LastBossTest, FirstVolleys) {
    struct Case {
        int level;
        float shipX;
        int darts;
    };
    const Case cases[] = {{EASY, 0, 15}, {NORMAL, 0, 25}, {HARD, 0, 35},
                          {EASY, 500, 1}, {NORMAL, 500, 5}, {HARD, 500, 5 + 19}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.level);
        SCOPED_TRACE(c.shipX);
        for (SpriteData& l : sLaser2) l.flag = false;
        OPTION.Difficulty = c.level;
        P_Ship.x = c.shipX;
        SpriteData& s = At(0, 150, 1);
        s.iw[1] = 0;
        LastBossPass();
        EXPECT_EQ(LiveCount(sLaser2), c.darts);
        EXPECT_EQ(s.iw[1], 1);
        EXPECT_EQ(s.time, 1.0f);
        EXPECT_NEAR(s.timer, 0.5f - FrameStep, 1e-6);
    }
    // Past x 300 it stops and leaves eight beam drones.
    SpriteData& s = At(301, 150, 1);
    LastBossPass();
    EXPECT_EQ(s.mode, 4);
    LastBossPass();
    EXPECT_EQ(s.mode, 5);
    EXPECT_EQ(LiveCount(bit), 8);
    for (const SpriteData& b : bit) EXPECT_EQ(b.mode, 4);
}

// The ship is lost inside x + 158 .. x + w - 70, y + 30 .. y + h - 30
// with its own box shrunk by 31.
TEST_F(LastBossTest, ContactBox) {
    struct Case {
        float x, y;
        bool lost;
    };
    // Boss at (100, 100): body 258..430 x 130..238; the ship's 64 x 64 box
    // shrunk by 31 is x + 31 .. x + 33, y + 31 .. y + 33.
    const Case cases[] = {{300, 150, true}, {225, 150, false}, {226, 150, true},  {398, 150, true},
                          {399, 150, false}, {300, 97, false},  {300, 98, true},  {300, 206, true},
                          {300, 207, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.x);
        SCOPED_TRACE(c.y);
        P_Ship.flag = true;
        P_Ship.time = 0;
        P_Ship.x = c.x;
        P_Ship.y = c.y;
        At(100, 100, 23);
        LastBossPass();
        EXPECT_EQ(!P_Ship.flag, c.lost);
    }
}

// It starts dying when its bar falls below 0 (hp -80), stands and blows
// up for a hundred steps, pays 100 000 000, moves the script on and wins
// the stage.
TEST_F(LastBossTest, DeathPaysTheBonusAndWinsTheStage) {
    SpriteData& s = At(300, 150, 15);
    StageStep[5] = 33;
    StagePhase = 2;
    s.hp = -79;
    s.speed = 10;
    LastBossPass();
    EXPECT_NE(s.mode, 23);  // bar 0: alive
    s.hp = -80;
    LastBossPass();
    LastBossPass();
    EXPECT_EQ(s.mode, 23);
    EXPECT_EQ(s.speed, 0.0f);
    int frames = 0;
    while (s.flag && frames < 10000) {
        LastBossPass();
        frames++;
    }
    EXPECT_FALSE(s.flag);
    EXPECT_EQ(s.iw[9], 100);
    EXPECT_NEAR(frames, 100 * 15, 100);  // a step every 0.75 units
    EXPECT_GE(dat.score, 100000000);
    EXPECT_LT(dat.score, 100100000);
    EXPECT_EQ(StagePhase, 4);
    EXPECT_EQ(StageStep[5], 34);
    EXPECT_FALSE(LastBossCalled);
    EXPECT_GT(LiveCount(line), 0);  // the sparks of the ninetieth step
}

}  // namespace
