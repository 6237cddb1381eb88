// The boss frame and the first boss: creation, the bar as death trigger,
// the arena, the first volley of each attack pattern on each difficulty,
// the death chain, and a whole boss fight run through the game frame.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "boss/boss.h"
#include "game/frame.h"
#include "game/stage.h"
#include "play_state.h"
#include "platform/time.h"
#include "shell/frameloop.h"

namespace {

class BossTest : public PlayStateTest {
protected:
    void SetUp() override {
        PlayStateTest::SetUp();
        BossReset();
        StageFlowReset();
        StagePhase = 0;
        BossCreate();
        ASSERT_EQ(StagePhase, 2);
    }
    void TearDown() override {
        BossReset();
        StageFlowReset();
        PlayStateTest::TearDown();
    }
    SpriteData& Boss() { return BOSS1[0]; }

    // The boss in place in the arena, about to fire pattern p.
    SpriteData& Arrived(int p) {
        SpriteData& s = Boss();
        s.x = 410;
        s.y = 120;  // centre (530, 240)
        s.opt2 = 1;
        s.speed = 0;
        s.timer = 0;
        s.time = 0;
        s.iw[7] = p;
        return s;
    }
    // The first volley of pattern p on a difficulty, from a clean pool.
    void Volley(int p, int difficulty, int stage = 1) {
        OPTION.Difficulty = difficulty;
        StageNo = stage;
        Boss1Pattern(Arrived(p));
    }
};

TEST(BossBarTest, TheBarFallsBelowZeroOnlyAtMinusAFiveHundredth) {
    for (int full : {7000, 12000, 17000, 25000, 40000}) {
        SCOPED_TRACE(full);
        EXPECT_EQ(BossBarLength((float)full, (float)full), 500);
        EXPECT_EQ(BossBarLength(0, (float)full), 0);
        EXPECT_EQ(BossBarLength(-full / 500.0f + 0.5f, (float)full), 0);  // still alive, empty bar
        EXPECT_EQ(BossBarLength(-full / 500.0f, (float)full), -1);        // dying
    }
    EXPECT_EQ(BossBarLength(-13, 7000), 0);
    EXPECT_EQ(BossBarLength(-14, 7000), -1);
    EXPECT_EQ(BossBarLength(-1.0e30f, 7000), -1000000);
    EXPECT_EQ(BossBarLength(std::nanf(""), 7000), -1000000);
}

TEST_F(BossTest, CreationFillsTheStartValuesOnlyAtTheEndOfTheScript) {
    SpriteData& s = Boss();
    EXPECT_TRUE(s.flag);
    EXPECT_EQ(s.hp, 7000.0f);
    EXPECT_EQ(s.x, 740.0f);
    EXPECT_EQ(s.y, 120.0f);
    EXPECT_EQ(s.angle, 180.0f);
    EXPECT_EQ(s.speed, 15.0f);
    EXPECT_EQ(s.timer, 500.0f);
    EXPECT_EQ(s.w * 1000 + s.h, 240240);
    EXPECT_EQ(s.frames, 23);
    EXPECT_EQ(s.bmp, 70);
    EXPECT_EQ(s.fw[5], 500.0f);
    EXPECT_EQ(s.iw[2] * 1000 + s.iw[3], 65150);
    // Only in the frame the script asks for it, and only the stage's boss.
    BossCreate();
    EXPECT_FALSE(BOSS1[1].flag);
    StagePhase = 0;
    StageNo = 3;
    BossCreate();
    EXPECT_FALSE(BOSS1[1].flag);
    EXPECT_TRUE(BOSS3[0].flag);
    EXPECT_EQ(BOSS3[0].w, 400);
    EXPECT_EQ(StagePhase, 2);
}

TEST_F(BossTest, FliesInWithoutFiringThenBouncesInTheArena) {
    SpriteData& s = Boss();
    int frames = 0;
    while (s.opt2 == 0 && frames < 1000) {
        Boss1Update(s, 0);
        frames++;
    }
    EXPECT_EQ(frames, 440);  // 330 pixels at 15 a unit
    EXPECT_EQ(LiveCount(sLaser) + LiveCount(tama), 0);
    EXPECT_EQ(s.speed, 0.0f);
    EXPECT_LE(s.timer, 60.0f);  // the timer ran all the same
    EXPECT_EQ(BossBar, 500);

    // Out of the arena with wander time left: pushed back and turned round.
    s.x = 299;
    s.angle = 180;
    s.fw[5] = 10;
    s.iw[7] = 1;  // a waiting pattern
    Boss1Update(s, 0);
    EXPECT_EQ(s.x, 305.0f);
    EXPECT_EQ(s.angle, 360.0f);
    EXPECT_EQ(s.fw[5], 25.0f);
    // Without wander time it is only given a new heading.
    s.x = 520;
    s.fw[5] = 0;
    Boss1Update(s, 0);
    EXPECT_GT(s.x, 500.0f);
    EXPECT_EQ(s.fw[5], -0.05f);
}

TEST_F(BossTest, StartsDyingAtMinus14AndEndsWithTheBonus) {
    SpriteData& s = Boss();
    s.x = 700;  // still flying in: no pattern touches the timer
    s.hp = -13;
    Boss1Update(s, 0);
    Boss1Update(s, 0);
    EXPECT_EQ(BossBar, 0);
    EXPECT_EQ(s.angle, 180.0f);
    s.hp = -14;
    s.fw[1] = 3;  // left over from pattern 4's bursts
    s.timer = 0;
    Boss1Update(s, 0);
    EXPECT_EQ(BossBar, -1);
    int frames = 1;
    int64_t score = dat.score;
    while (s.flag && frames < 2000) {
        Boss1Update(s, 0);
        frames++;
        if (s.flag) {
            EXPECT_GE(s.angle, 159.0f);
            EXPECT_LE(s.angle, 161.0f);
        }
    }
    // Steps every 15 frames from the second: fw[1] 4..9, 10 -> 11 with the big
    // explosion, 12..19, 20 -> 21, 22..29, 30 -> 31 and the end: 25 steps.
    EXPECT_EQ(frames, 2 + 24 * 15);
    EXPECT_EQ(s.fw[1], 31.0f);
    EXPECT_EQ(dat.score - score, 1000000);
    EXPECT_EQ(StagePhase, 4);
    EXPECT_EQ(BombPulse, 1);
    EXPECT_GT(LiveCount(Bom), 0);

    // A stage-5 copy leaves the stage to its script.
    StagePhase = 2;
    StageNo = 5;
    s.flag = true;
    s.fw[1] = 29;
    s.timer = 0;
    Boss1DeathStep(s);
    EXPECT_FALSE(s.flag);
    EXPECT_EQ(StagePhase, 2);
}

TEST_F(BossTest, TheShipIsLostOnlyInsideTheInnerBody) {
    SpriteData& s = Arrived(1);
    P_Ship.x = 410 + 36;  // touching the inner body's left edge
    P_Ship.y = 120 + 100;
    Boss1Update(s, 0);
    EXPECT_TRUE(P_Ship.flag);
    P_Ship.x = 410 + 37;
    s.x = 410;
    Boss1Update(s, 0);
    EXPECT_FALSE(P_Ship.flag);
    P_Ship.flag = true;
    P_Ship.time = 1;  // invincible
    Boss1Update(s, 0);
    EXPECT_TRUE(P_Ship.flag);
}

// Pattern 0: two laser rows from 65 and 150 below the boss's top edge.
TEST_F(BossTest, Pattern0LaserRowsAndRings) {
    Volley(0, EASY);
    EXPECT_EQ(LiveCount(sLaser), 4);
    EXPECT_EQ(LiveCount(tama), 0);
    EXPECT_EQ(sLaser[0].y, 185.0f);
    EXPECT_EQ(sLaser[1].y, 190.0f);
    EXPECT_EQ(sLaser[2].y, 270.0f);
    EXPECT_EQ(sLaser[3].y, 275.0f);
    EXPECT_EQ(sLaser[0].angle * 1000 + sLaser[0].speed, 180050.0f);
    EXPECT_EQ(Boss().iw[2] * 1000 + Boss().iw[3], 70145);
    EXPECT_EQ(Boss().timer, 5.0f);

    SpriteClearAll();
    Volley(0, NORMAL);
    ASSERT_EQ(LiveCount(sLaser), 4);
    ASSERT_EQ(LiveCount(tama), 20);
    float start = tama[0].angle;
    for (int i = 0; i < 20; i++) {
        EXPECT_EQ(tama[i].angle, start + 18 * i);
        EXPECT_EQ(tama[i].speed, 20.0f);
        EXPECT_EQ(tama[i].bmp * 10 + tama[i].mode, 996);
        EXPECT_EQ(tama[i].x, 450.0f);  // the nose: centre - 80, - 5
        EXPECT_EQ(tama[i].y, 235.0f);
    }

    SpriteClearAll();
    Volley(0, HARD);
    ASSERT_EQ(LiveCount(sLaser), 36);
    for (int k = 0; k < 9; k++) EXPECT_EQ(sLaser[4 * k + 3].speed, 20.0f + 20 * k);
    ASSERT_EQ(LiveCount(tama), 20);
    EXPECT_EQ(tama[19].speed * 1000 + tama[19].bmp * 10 + tama[19].mode, 25920.0f);

    // The stage-5 copies fire wheels of darts instead.
    SpriteClearAll();
    Volley(0, HARD, 5);
    EXPECT_EQ(LiveCount(sLaser) + LiveCount(tama), 0);
    ASSERT_EQ(LiveCount(sLaser2), 24);
    EXPECT_EQ(sLaser2[23].angle, 330.0f);
    EXPECT_EQ(sLaser2[23].speed, 50.0f);
}

// Pattern 2: groups of four bullets on one angle, then the spray.
TEST_F(BossTest, Pattern2LinesOfFourAndTheSpray) {
    const struct { int level, groups, turn, spray, speedAdd; } cases[] = {
        {EASY, 9, 45, 0, 0}, {NORMAL, 37, 10, 150, 0}, {HARD, 73, 5, 90, 5}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.level);
        SpriteClearAll();
        Volley(2, c.level);
        ASSERT_EQ(LiveCount(tama), 4 * c.groups + c.spray);
        for (int g = 0; g < c.groups; g += 8) {
            for (int k = 0; k < 4; k++) EXPECT_EQ(tama[4 * g + k].angle, tama[0].angle + c.turn * g);
            // One speed per gun for the whole volley, in the gun's range.
            EXPECT_EQ(tama[4 * g + 3].speed, tama[3].speed);
            EXPECT_GE(tama[4 * g + 3].speed, 25.0f + c.speedAdd);
            EXPECT_LE(tama[4 * g + 3].speed, 30.0f + c.speedAdd);
            EXPECT_GE(tama[4 * g].speed, 5.0f + c.speedAdd);
            EXPECT_LE(tama[4 * g].speed, 10.0f + c.speedAdd);
        }
        for (int i = 4 * c.groups; i < 4 * c.groups + c.spray; i++) {
            EXPECT_GE(tama[i].speed, 10.0f);
            EXPECT_LE(tama[i].speed, 40.0f);
            EXPECT_EQ(tama[i].bmp, c.level == HARD ? 91 : 99);
        }
        EXPECT_EQ(Boss().timer, 300.0f);
    }
    SpriteClearAll();
    Volley(2, NORMAL, 5);
    EXPECT_EQ(LiveCount(tama), 148);  // no spray in stage 5
}

// Pattern 4: an alternating fan, the minus side in green.
TEST_F(BossTest, Pattern4AlternatingFans) {
    for (int level : {EASY, NORMAL, HARD}) {
        SCOPED_TRACE(level);
        SpriteClearAll();
        SpriteData& s = Arrived(4);
        s.iw[1] = 180;
        s.iw[3] = 5;
        OPTION.Difficulty = level;
        Boss1Pattern(s);
        ASSERT_EQ(LiveCount(tama), 5);
        const int angles[5] = {180, 172, 188, 164, 196};
        for (int i = 0; i < 5; i++) {
            EXPECT_EQ(tama[i].angle, (float)angles[i]);
            EXPECT_EQ(tama[i].bmp, i % 2 == 1 ? 93 : 91);
            EXPECT_EQ(tama[i].speed, level == HARD ? 30.0f : 20.0f);
        }
        EXPECT_EQ(s.iw[3], 6);  // one more next time
        EXPECT_EQ(s.timer, 5.0f);
    }
    // The tenth volley brings the burst.
    const struct { int level, burst; } bursts[] = {{EASY, 0}, {NORMAL, 150}, {HARD, 60}};
    for (const auto& b : bursts) {
        SpriteClearAll();
        SpriteData& s = Arrived(4);
        s.time = 9;
        s.iw[3] = 0;
        s.fw[1] = 0;
        OPTION.Difficulty = b.level;
        Boss1Pattern(s);
        EXPECT_EQ(LiveCount(tama), b.burst);
        EXPECT_EQ(s.fw[1], 1.0f);
        EXPECT_EQ(s.timer, 50.0f);
        EXPECT_EQ(s.time, 0.0f);
    }
}

// Pattern 6: four laser spokes and an arc of rings.
TEST_F(BossTest, Pattern6SpokesAndArcs) {
    Volley(6, EASY);
    EXPECT_EQ(LiveCount(sLaser2), 4);
    ASSERT_EQ(LiveCount(tama), 11);
    for (int i = 0; i < 11; i++) {
        EXPECT_EQ(tama[i].angle, tama[0].angle + 3 * i);
        EXPECT_EQ(tama[i].speed * 100 + tama[i].bmp, 3099.0f);
    }
    for (int i = 0; i < 4; i++) {
        EXPECT_EQ(sLaser2[i].angle, 0.0f);  // the base angle the boss was made with
        EXPECT_GE(sLaser2[i].speed, 10.0f);
        EXPECT_LE(sLaser2[i].speed, 30.0f);
    }
    SpriteClearAll();
    Volley(6, NORMAL, 5);
    EXPECT_EQ(LiveCount(sLaser2), 8);
    SpriteClearAll();
    Volley(6, HARD);
    EXPECT_EQ(LiveCount(sLaser2), 20);
    ASSERT_EQ(LiveCount(tama), 30);
    for (int pass = 0; pass < 5; pass++) EXPECT_EQ(tama[6 * pass].speed, 31.0f + pass);
    EXPECT_EQ(Boss().timer, 20.0f);
}

// Pattern 8: rings from the centre, speed 5 (15 on HARD) above iw[2].
TEST_F(BossTest, Pattern8RingsFromTheCentre) {
    const struct { int level, even, odd, step, graphicOdd, speedAdd; float pause; } cases[] = {
        {EASY, 18, 0, 20, 0, 5, 3}, {NORMAL, 36, 50, 10, 99, 5, 2}, {HARD, 36, 50, 10, 98, 15, 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.level);
        SpriteClearAll();
        SpriteData& s = Arrived(8);
        s.iw[2] = 10;
        s.iw[0] = 180;
        OPTION.Difficulty = c.level;
        Boss1Pattern(s);
        ASSERT_EQ(LiveCount(tama), c.even);
        EXPECT_EQ(tama[0].x * 1000 + tama[0].y, 530240.0f);
        EXPECT_EQ(tama[0].angle, 180.0f);
        EXPECT_EQ(tama[c.even - 1].angle, 180.0f + c.step * (c.even - 1));
        EXPECT_EQ(tama[0].speed, 10.0f + c.speedAdd);
        EXPECT_EQ(s.timer, c.pause);
        SpriteClearAll();
        s.timer = 0;
        Boss1Pattern(s);  // the odd volley, one faster
        ASSERT_EQ(LiveCount(tama), c.odd);
        if (c.odd) {
            EXPECT_EQ(tama[0].speed * 100 + tama[0].bmp, (11.0f + c.speedAdd) * 100 + c.graphicOdd);
        }
    }
}

// Pattern 10: three aimed fans of five; HARD adds aimed streams.
TEST_F(BossTest, Pattern10AimedFans) {
    P_Ship.x = 0;
    P_Ship.y = 213;  // ship centre (32, 245): 5 higher is level with the boss's centre
    for (int level : {EASY, NORMAL, HARD}) {
        SCOPED_TRACE(level);
        SpriteClearAll();
        Volley(10, level);
        int streams = level == HARD ? 40 : 0;
        ASSERT_EQ(LiveCount(tama), streams + 15);
        if (streams) {
            EXPECT_EQ(tama[0].mode, 1);
            EXPECT_EQ(tama[38].speed, 58.0f);
        }
        const SpriteData* fan = tama + streams;
        EXPECT_EQ(fan[0].angle, 180.0f);  // straight at the ship
        EXPECT_EQ(fan[1].angle, 160.0f);
        EXPECT_EQ(fan[4].angle, 220.0f);
        for (int k = 0; k < 3; k++) EXPECT_EQ(fan[5 * k].speed, 25.0f + 10 * k);
        EXPECT_EQ(fan[5].x * 1000 + fan[5].y, 430200.0f);  // the upper gun
    }
}

// Pattern 12: small rings; pattern 13: large bullets.
TEST_F(BossTest, Pattern12RingsAndPattern13LargeBullets) {
    const struct { int level, count, last; float lastSpeed; } rings[] = {
        {EASY, 6, 100, 15}, {NORMAL, 10, 90, 15}, {HARD, 40, 195, 21}};
    for (const auto& c : rings) {
        SCOPED_TRACE(c.level);
        SpriteClearAll();
        SpriteData& s = Arrived(12);
        s.iw[0] = 0;
        OPTION.Difficulty = c.level;
        Boss1Pattern(s);
        ASSERT_EQ(LiveCount(tama), c.count);
        EXPECT_EQ(tama[c.count - 1].angle, (float)c.last);
        EXPECT_EQ(tama[c.count - 1].speed, c.lastSpeed);
        EXPECT_EQ(tama[0].y, 232.0f);
        EXPECT_GE(s.iw[0], 0);
        EXPECT_LE(s.iw[0], 360 + 0 + 220);
        EXPECT_EQ(s.timer, 30.0f);
    }
    for (int level : {EASY, NORMAL, HARD}) {
        SCOPED_TRACE(level);
        SpriteClearAll();
        SpriteData& s = Arrived(13);
        s.iw[0] = 100;
        OPTION.Difficulty = level;
        Boss1Pattern(s);
        int n = level == HARD ? 2 : 1;
        ASSERT_EQ(LiveCount(Baka), n);
        EXPECT_GE(Baka[0].angle, 95.0f);
        EXPECT_LE(Baka[0].angle, 105.0f);
        EXPECT_EQ(Baka[0].speed, level == HARD ? 30.0f : 20.0f);
        EXPECT_EQ(Baka[0].mode, level == HARD ? 1 : 0);
        EXPECT_EQ(Baka[0].x, level == HARD ? 380.0f : 378.0f);
        if (n == 2) {
            EXPECT_GE(Baka[1].angle, 275.0f);
            EXPECT_LE(Baka[1].angle, 285.0f);
        }
        EXPECT_EQ(s.iw[0], 100 + (level == EASY ? 60 : level == NORMAL ? 30 : 20));
    }
}

TEST_F(BossTest, TheCycleRunsEveryPatternThenChoosesAgain) {
    SpriteData& s = Arrived(0);
    OPTION.Difficulty = NORMAL;
    int seen[16] = {};
    int frames = 0;
    while (s.iw[7] != 14 && frames < 100000) {
        if (s.iw[7] >= 0 && s.iw[7] < 16) seen[s.iw[7]]++;
        Boss1Pattern(s);
        s.timer -= 20 * FrameStep;
        if (frames % 200 == 0) SpriteClearAll();  // room for the bullets
        frames++;
    }
    for (int p = 0; p <= 13; p++) EXPECT_GT(seen[p], 0) << p;
    Boss1Pattern(s);  // the choice, and the chosen pattern starts
    EXPECT_GE(s.iw[7], 0);
    EXPECT_LE(s.iw[7], 13);
}

// A whole fight through the game frame: the boss after the WARNING, beaten
// (its energy taken away here, as the player's shots would), the wipe,
// the records, and stage 2.
TEST_F(BossTest, AFightThroughTheGameFrameEndsInStage2) {
    BossReset();
    StageFlowReset();
    StageStep[1] = 35;
    BOSS1[0].hp = 7000;
    ScrollSpeedX = -5;
    Score2 = 0;
    dat.score = 12345;
    std::memset(dat.runscore, 0, sizeof dat.runscore);
    PutFps_Reset();
    auto frame = [] {
        Plat_AdvanceFrame();
        GameFrame();
    };
    frame();
    ASSERT_TRUE(BOSS1[0].flag);
    EXPECT_EQ(StagePhase, 2);
    int frames = 1;
    while (BOSS1[0].opt2 == 0 && frames < 2000) frame(), frames++;
    EXPECT_EQ(frames, 441);
    for (int i = 0; i < 300; i++) frame();
    EXPECT_EQ(StagePhase, 2);
    BOSS1[0].hp = -20;
    frames = 0;
    while (StagePhase == 2 && frames < 3000) frame(), frames++;
    EXPECT_EQ(StagePhase, 4);
    EXPECT_FALSE(BOSS1[0].flag);
    EXPECT_GT(frames, 20);
    EXPECT_GE(dat.score, 12345 + 1000000);
    frames = 0;
    // The wipe's first columns were drawn in the frame the boss died.
    while (StageNo == 1 && frames < 1000) frame(), frames++;
    EXPECT_EQ(frames, 161);
    // The jewels of its explosions may still have scored meanwhile.
    EXPECT_EQ(dat.runscore[0], dat.score);
    EXPECT_EQ(Score2, dat.score);
    EXPECT_EQ(PlayerStock, 4);
    while (StagePhase == 5 && frames < 2000) frame(), frames++;
    frame();
    EXPECT_EQ(StageNo, 2);
    EXPECT_EQ(StagePhase, 1);
    EXPECT_EQ(ScrollSpeedX, -20.0f);  // stage 2's script is running
}

}  // namespace
