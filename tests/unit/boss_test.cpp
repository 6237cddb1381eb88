// The boss frame and the first boss: the bar as death trigger, the first
// volley of each attack pattern on each difficulty, the death chain, and a
// whole fight run through the game frame.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "boss/boss.h"
#include "game/frame.h"
#include "game/stage.h"
#include "play_state.h"
#include "platform/display.h"
#include "platform/time.h"
#include "render/render.h"

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
    // The boss in place in the arena (centre (530, 240)), about to fire
    // pattern p.
    SpriteData& Arrived(int p) {
        SpriteData& s = BOSS1[0];
        s.x = 410;
        s.y = 120;
        s.opt2 = 1;
        s.speed = 0;
        s.timer = 0;
        s.time = 0;
        s.iw[7] = p;
        return s;
    }
};

TEST(BossBarTest, TheBarFallsBelowZeroOnlyAtMinusAFiveHundredth) {
    for (int full : {7000, 12000, 17000, 25000, 40000}) {
        SCOPED_TRACE(full);
        EXPECT_EQ(BossBarLength((float)full, (float)full), 500);
        EXPECT_EQ(BossBarLength(-full / 500.0f + 0.5f, (float)full), 0);  // alive, empty bar
        EXPECT_EQ(BossBarLength(-full / 500.0f, (float)full), -1);        // dying
    }
    EXPECT_EQ(BossBarLength(std::nanf(""), 7000), -1000000);
}

// The first volley of a pattern: how many of each projectile, and the
// graphic, speeds and angle steps of the pool named by `pool`.
struct VolleyCase {
    int pattern, level, stage;
    float time;
    int iw0, iw1, iw2, iw3;
    int counts[4];  // tama, sLaser, sLaser2, Baka
    int pool;       // which of them to look at
    int bmp;        // -1: not checked
    float speed, lastSpeed, angle;  // -1: not checked
    int stride, step;  // record[stride].angle - record[0].angle
};

const VolleyCase kVolleys[] = {
    // 0: laser rows; NORMAL adds a ring of shootable rings, HARD nine sets
    // of lasers; the stage-5 copies fire wheels of darts instead.
    {0, EASY, 1, 0, 0, 0, 0, 0, {0, 4, 0, 0}, 1, 94, 50, 50, 180, 1, 0},
    {0, NORMAL, 1, 0, 0, 0, 0, 0, {20, 4, 0, 0}, 0, 99, 20, 20, -1, 1, 18},
    {0, HARD, 1, 0, 0, 0, 0, 0, {20, 36, 0, 0}, 1, 94, 20, 180, 180, 4, 0},
    {0, HARD, 5, 0, 0, 0, 0, 0, {0, 0, 24, 0}, 2, 89, 50, 50, 0, 2, 30},
    // 2: lines of four on one angle; NORMAL and HARD add the spray.
    {2, EASY, 1, 0, 0, 0, 0, 0, {36, 0, 0, 0}, 0, 92, -1, -1, -1, 4, 45},
    {2, NORMAL, 1, 0, 0, 0, 0, 0, {148 + 150, 0, 0, 0}, 0, 92, -1, -1, -1, 4, 10},
    {2, HARD, 1, 0, 0, 0, 0, 0, {292 + 90, 0, 0, 0}, 0, 92, -1, -1, -1, 4, 5},
    {2, NORMAL, 5, 0, 0, 0, 0, 0, {148, 0, 0, 0}, 0, 92, -1, -1, -1, 1, 0},
    // 4: a fan of iw[3] around iw[1], step 8; the tenth volley's burst.
    {4, EASY, 1, 0, 0, 180, 0, 5, {5, 0, 0, 0}, 0, 91, 20, 20, 180, 2, 8},
    {4, HARD, 1, 0, 0, 180, 0, 5, {5, 0, 0, 0}, 0, 91, 30, 30, 180, 1, -8},
    {4, EASY, 1, 9, 0, 180, 0, 0, {0, 0, 0, 0}, 0, -1, -1, -1, -1, 0, 0},
    {4, NORMAL, 1, 9, 0, 180, 0, 0, {150, 0, 0, 0}, 0, 99, -1, -1, -1, 0, 0},
    {4, HARD, 1, 9, 0, 180, 0, 0, {60, 0, 0, 0}, 0, 91, -1, -1, -1, 0, 0},
    // 6: four laser spokes and an arc of 11; HARD five passes of six.
    {6, EASY, 1, 0, 90, 0, 0, 0, {11, 0, 4, 0}, 2, 89, -1, -1, 90, 3, 0},
    {6, NORMAL, 1, 0, 90, 0, 0, 0, {11, 0, 4, 0}, 0, 99, 30, 30, -1, 1, 3},
    {6, NORMAL, 5, 0, 90, 0, 0, 0, {11, 0, 8, 0}, 2, 89, -1, -1, 90, 7, 90},
    {6, HARD, 1, 0, 90, 0, 0, 0, {30, 0, 20, 0}, 0, 91, 31, 35, -1, 1, 6},
    // 8: rings from the centre, even and odd volleys.
    {8, EASY, 1, 0, 180, 0, 10, 0, {18, 0, 0, 0}, 0, 90, 15, 15, 180, 1, 20},
    {8, EASY, 1, 1, 180, 0, 10, 0, {0, 0, 0, 0}, 0, -1, -1, -1, -1, 0, 0},
    {8, NORMAL, 1, 0, 180, 0, 10, 0, {36, 0, 0, 0}, 0, 90, 15, 15, 180, 1, 10},
    {8, NORMAL, 1, 1, 180, 0, 10, 0, {50, 0, 0, 0}, 0, 99, 15, 15, 180, 1, 10},
    {8, HARD, 1, 1, 180, 0, 10, 0, {50, 0, 0, 0}, 0, 98, 25, 25, 180, 1, 10},
    // 10: three aimed fans of five (the ship is level with the centre);
    // HARD first fires 20 aimed pairs.
    {10, NORMAL, 1, 0, 0, 0, 0, 0, {15, 0, 0, 0}, 0, 91, 25, 45, 180, 1, -20},
    {10, HARD, 1, 0, 0, 0, 0, 0, {55, 0, 0, 0}, 0, 91, 20, 45, 180, 2, 0},
    // 12: small rings; 13: large bullets from the nose.
    {12, EASY, 1, 0, 0, 0, 0, 0, {6, 0, 0, 0}, 0, 90, 15, 15, 0, 1, 20},
    {12, NORMAL, 1, 0, 0, 0, 0, 0, {10, 0, 0, 0}, 0, 90, 15, 15, 0, 1, 10},
    {12, HARD, 1, 0, 0, 0, 0, 0, {40, 0, 0, 0}, 0, 90, 15, 21, 0, 1, 5},
    {13, NORMAL, 1, 0, 100, 0, 0, 0, {0, 0, 0, 1}, 3, 95, 20, 20, -1, 0, 0},
    {13, HARD, 1, 0, 100, 0, 0, 0, {0, 0, 0, 2}, 3, 95, 30, 30, -1, 0, 0},
};

TEST_F(BossTest, FirstVolleysByDifficulty) {
    SpriteData* pools[4] = {tama, sLaser, sLaser2, Baka};
    P_Ship.y = 213;  // ship centre 5 below the boss's: aimed shots fly at 180
    for (const VolleyCase& c : kVolleys) {
        SCOPED_TRACE(testing::Message() << "pattern " << c.pattern << " level " << c.level << " stage "
                                        << c.stage << " time " << c.time);
        SpriteClearAll();
        SpriteData& s = Arrived(c.pattern);
        s.time = c.time;
        s.iw[0] = c.iw0;
        s.iw[1] = c.iw1;
        s.iw[2] = c.iw2;
        s.iw[3] = c.iw3;
        OPTION.Difficulty = c.level;
        StageNo = c.stage;
        Boss1Pattern(s);
        EXPECT_EQ(LiveCount(tama), c.counts[0]);
        EXPECT_EQ(LiveCount(sLaser), c.counts[1]);
        EXPECT_EQ(LiveCount(sLaser2), c.counts[2]);
        EXPECT_EQ(LiveCount(Baka), c.counts[3]);
        int n = c.counts[c.pool];
        if (n == 0) continue;
        const SpriteData* p = pools[c.pool];
        if (c.bmp >= 0) { EXPECT_EQ(p[0].bmp, c.bmp); }
        if (c.speed >= 0) { EXPECT_EQ(p[0].speed, c.speed); }
        if (c.lastSpeed >= 0) { EXPECT_EQ(p[n - 1].speed, c.lastSpeed); }
        if (c.angle >= 0) { EXPECT_EQ(p[0].angle, c.angle); }
        if (c.stride > 0) { EXPECT_EQ(p[c.stride].angle - p[0].angle, (float)c.step); }
    }
    StageNo = 1;
    // Where they come from: the laser rows at 65 and 150 below the top, the
    // nose 80 left of the centre, large bullets 32 before the nose.
    SpriteClearAll();
    OPTION.Difficulty = NORMAL;
    Boss1Pattern(Arrived(0));
    EXPECT_EQ(sLaser[0].y + sLaser[1].y + sLaser[2].y + sLaser[3].y, 185.0f + 190 + 270 + 275);
    EXPECT_EQ(tama[0].x * 1000 + tama[0].y, 450235.0f);
    EXPECT_EQ(BOSS1[0].iw[2] * 1000 + BOSS1[0].iw[3], 70145);
    Boss1Pattern(Arrived(13));
    EXPECT_EQ(Baka[0].x * 1000 + Baka[0].y, 378208.0f);
    EXPECT_NEAR(Baka[0].angle, (float)(BOSS1[0].iw[0] - 30), 5.0f);
}

TEST_F(BossTest, TheCycleRunsEveryPatternThenChoosesAgain) {
    SpriteData& s = Arrived(0);
    int seen[14] = {};
    for (int frames = 0; s.iw[7] != 14 && frames < 100000; frames++) {
        if (s.iw[7] >= 0 && s.iw[7] < 14) seen[s.iw[7]]++;
        Boss1Pattern(s);
        s.timer -= 20 * FrameStep;
        if (frames % 200 == 0) SpriteClearAll();  // room for the bullets
    }
    for (int p = 0; p <= 13; p++) EXPECT_GT(seen[p], 0) << p;
    Boss1Pattern(s);  // the choice, and the chosen pattern starts
    EXPECT_GE(s.iw[7], 0);
    EXPECT_LE(s.iw[7], 13);
}

TEST_F(BossTest, DiesFromMinus14WithAChainOfExplosionsAndTheBonus) {
    SpriteData& s = BOSS1[0];
    s.x = 700;  // still flying in: no pattern touches the timer
    s.hp = -13;
    Boss1Update(s, 0);
    Boss1Update(s, 0);
    EXPECT_EQ(BossBar, 0);
    EXPECT_EQ(s.angle, 180.0f);  // alive
    s.hp = -14;
    s.fw[1] = 3;  // left over from pattern 4's bursts
    s.timer = 0;
    Boss1Update(s, 0);
    EXPECT_EQ(BossBar, -1);
    int frames = 1;
    while (s.flag && frames < 2000) Boss1Update(s, 0), frames++;
    // A step every 15 frames from the second: fw[1] 4..9, 10 -> 11 with a
    // big explosion, 12..19, 20 -> 21, 22..29, 30 -> 31 and the end.
    EXPECT_EQ(frames, 2 + 24 * 15);
    EXPECT_EQ(dat.score, 1000000);
    EXPECT_EQ(StagePhase, 4);
    EXPECT_GE(s.angle, 159.0f);  // drifting down to the left
    EXPECT_LE(s.angle, 161.0f);

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

// The body from the sheet's left half; the white-hot right half over it
// while hit (fw[9] at 1 or more) or dying.
TEST_F(BossTest, TheFlashPictureShowsWhileHitOrDying) {
    SurfaceData saved = Bitmap[70];
    Bitmap[70].surface = Plat_SurfaceCreate(480, 240 * 23);
    SpriteData& s = Arrived(1);
    auto draws = [&] {
        DrawLogCount = 0;
        DrawLogOn = true;
        Boss1Update(s, 0);
        DrawLogOn = false;
        return DrawLogCount;
    };
    s.fw[9] = 0.9f;
    EXPECT_EQ(draws(), 1);
    s.fw[9] = 1.8f;
    ASSERT_EQ(draws(), 2);
    EXPECT_EQ(DrawLog[1].left * 1000 + DrawLog[1].right, 241480);
    EXPECT_EQ(DrawLog[1].bottom - DrawLog[1].top, 240);
    EXPECT_FLOAT_EQ(s.fw[9], 1.75f);
    s.fw[9] = -3;
    BossBar = -1;
    EXPECT_EQ(draws(), 2);
    Plat_SurfaceFree(Bitmap[70].surface);
    Bitmap[70] = saved;
}

// A whole fight through the game frame: the boss made in the boss phase,
// its flight in, beaten (its energy taken away here, as the player's shots
// would), the wipe, the records and stage 2.
TEST_F(BossTest, AFightThroughTheGameFrameEndsInStage2) {
    BossReset();
    StageFlowReset();
    StageStep[1] = 35;
    BOSS1[0].hp = 7000;
    Score2 = 0;
    dat.score = 12345;
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
    EXPECT_EQ(frames, 441);  // 330 pixels at 15 a unit
    for (int i = 0; i < 300; i++) frame();
    EXPECT_GT(LiveCount(tama), 0);  // pattern 0 on NORMAL
    BOSS1[0].hp = -20;
    frames = 0;
    while (StagePhase == 2 && frames < 3000) frame(), frames++;
    EXPECT_EQ(StagePhase, 4);
    EXPECT_GE(dat.score, 12345 + 1000000);
    // The wipe's first columns were drawn in the frame the boss died.
    frames = 0;
    while (StageNo == 1 && frames < 1000) frame(), frames++;
    EXPECT_EQ(frames, 161);
    EXPECT_EQ(dat.runscore[0], dat.score);
    EXPECT_EQ(Score2, dat.score);
    EXPECT_EQ(PlayerStock, 4);
    while (StagePhase == 5 && frames < 2000) frame(), frames++;
    frame();
    EXPECT_EQ(StageNo, 2);
    EXPECT_EQ(ScrollSpeedX, -20.0f);  // stage 2's script is running
}

}  // namespace
