// What the player's shots hit: the overlap rule, the shot pass against the
// mid-size enemies and the bosses, and the blasts and bomb missiles.
#include <gtest/gtest.h>

#include "play_state.h"
#include "player/shothit.h"

namespace {

class ShotHitTest : public PlayStateTest {
protected:
    void SetUp() override {
        PlayStateTest::SetUp();
        AllShotTime = 100;
        WarnX = 0;
    }
    void TearDown() override {
        WarnX = 0;
        PlayStateTest::TearDown();
    }
    static SpriteData& Shot(SpriteData* pool, float x, float y, int w, int h) { return PlaceShot(pool, x, y, w, h); }
    static SpriteData& Spread(float x, float y) { return Shot(P_Shot, x, y, 32, 32); }
    static SpriteData& Blast(float x, float y, int boosted) {
        SpriteData& s = Shot(P_Shot4, x, y, 100, 100);
        s.opt2 = boosted;
        s.hp = 1;
        return s;
    }
    static SpriteData& Target(SpriteData& e, float x, float y, int w, int h, float hp) {
        e = SpriteData{};
        e.flag = true;
        SpriteNoteLive(e);
        e.x = x;
        e.y = y;
        e.w = w;
        e.h = h;
        e.hp = hp;
        e.fw[9] = -1;
        return e;
    }
};

TEST_F(ShotHitTest, TouchingEdgesNeverHitAndMarginsMoveTheEdges) {
    SpriteData s{};
    s.w = s.h = 32;
    s.y = 120;
    // Box 100..200 across: the shot's right edge on 100, its left edge on 200.
    s.x = 68;
    EXPECT_FALSE(ShotOverlap(s, 100, 200, 100, 200, 0, 0, 0, 0));
    s.x = 68.01f;
    EXPECT_TRUE(ShotOverlap(s, 100, 200, 100, 200, 0, 0, 0, 0));
    s.x = 58;  // widened 10 to the right: touching again
    EXPECT_FALSE(ShotOverlap(s, 100, 200, 100, 200, 0, 0, 0, -10));
    s.x = 150;
    s.y = 200 - 32;  // a top margin of 32 puts the shot's top on the bottom edge
    EXPECT_FALSE(ShotOverlap(s, 100, 200, 100, 200, 32, 0, 0, 0));
    EXPECT_TRUE(ShotOverlap(s, 100, 200, 100, 200, 31, 0, 0, 0));

    // Through the shot pass: a mid-size hull 350..556 x 150..203, a spread
    // shot reaching 10 further right.
    SpriteData& e = Target(chuugata[0], 300, 100, 256, 123, 350);
    SpriteData& a = Spread(308, 150);
    ShotHitMidAndBoss(a, SHOT_SPREAD);
    EXPECT_FLOAT_EQ(e.hp, 350);
    EXPECT_TRUE(a.flag);
    a.x = 308.5f;
    ShotHitMidAndBoss(a, SHOT_SPREAD);
    EXPECT_FLOAT_EQ(e.hp, 349);
    EXPECT_FALSE(a.flag);
    EXPECT_EQ(dat.score, 2);
    EXPECT_EQ(LiveCount(Pom), 1);  // the spark
}

TEST_F(ShotHitTest, EachOfBoxesCountSeparatelyOneOfBoxesOnce) {
    // A spread shot over the third boss's large box and its first column.
    SpriteData& b3 = Target(BOSS3[0], 0, 0, 400, 400, 100);
    SpriteData& a = Spread(129, 150);
    ShotHitMidAndBoss(a, SHOT_SPREAD);
    EXPECT_FLOAT_EQ(b3.hp, 98);
    EXPECT_EQ(dat.score, 20);
    EXPECT_FLOAT_EQ(b3.fw[9], 1.8f);
    EXPECT_EQ(LiveCount(Pom), 2);
    b3.flag = false;

    // Over two of the second boss's four boxes: one hit.
    SpriteData& b2 = Target(BOSS2[0], 0, 0, 400, 400, 100);
    SpriteData& c = Spread(200, 200);
    ShotHitMidAndBoss(c, SHOT_SPREAD);
    EXPECT_FLOAT_EQ(b2.hp, 99);
    EXPECT_EQ(dat.score, 30);
}

TEST_F(ShotHitTest, AReleasedShotStillHitsFurtherTargets) {
    SpriteData& e = Target(chuugata[0], 300, 100, 256, 123, 350);
    SpriteData& boss = Target(BOSS1[0], 300, 100, 240, 240, 7000);
    SpriteData& m = Shot(P_Shot3, 400, 170, 16, 16);
    ShotHitMidAndBoss(m, SHOT_MISSILE);
    EXPECT_FALSE(m.flag);
    EXPECT_FLOAT_EQ(e.hp, 349);
    EXPECT_FLOAT_EQ(boss.hp, 6999);
    EXPECT_EQ(LiveCount(P_Shot4), 2);  // a blast for each hit
    EXPECT_FLOAT_EQ(P_Shot4[0].x, 360);
}

TEST_F(ShotHitTest, KillsSetTheDeathAndDyingEnemiesAreLeftAlone) {
    SpriteData& e = Target(chuugata[0], 300, 100, 256, 123, 1);
    SpriteData& a = Spread(400, 150);
    ShotHitMidAndBoss(a, SHOT_SPREAD);
    EXPECT_EQ(dat.score, 2 + 10000);
    EXPECT_EQ(e.mode, 2);
    EXPECT_EQ(e.num, 100);

    // Below 0 it is dying: neither shots nor blasts touch it.
    e.hp = -1;
    e.mode = 7;
    SpriteData& b = Spread(400, 150);
    ShotHitMidAndBoss(b, SHOT_SPREAD);
    EXPECT_TRUE(b.flag);
    Blast(350, 100, 1);
    shot4hit(0, 0);
    EXPECT_FLOAT_EQ(e.hp, -1);
    EXPECT_EQ(e.mode, 7);
    EXPECT_EQ(dat.score, 10002);
    e.flag = false;

    // A fan shot's kill: the small carrier goes down its quick way, the
    // battleship pays a tenth.
    SpriteData& c2 = Target(chuugata2[0], 300, 100, 200, 100, 1);
    ShotHitMidAndBoss(Shot(P_Shot2, 400, 120, 16, 32), SHOT_FAN);
    EXPECT_EQ(c2.mode, 1);
    EXPECT_EQ(dat.score, 10002 + 2 + 5000);
    SpriteData& c6 = Target(chuugata6[1], 0, 0, 540, 240, 1);
    ShotHitMidAndBoss(Shot(P_Shot2, 200, 100, 16, 32), SHOT_FAN);
    EXPECT_EQ(c6.mode, 10);
    EXPECT_EQ(c6.num, 500);
    EXPECT_EQ(dat.score, 15004 + 2 + 10000);
}

TEST_F(ShotHitTest, BlastsWearDownByTimeAndPausedOnesOnlyScore) {
    SpriteData& e = Target(Enemy[0], 120, 120, 64, 64, 2);
    Blast(100, 100, 0);
    shot4hit(0, 0);
    EXPECT_FLOAT_EQ(e.hp, 2 - 0.0075f);
    EXPECT_EQ(dat.score, 1);
    P_Shot4[0].opt2 = 1;  // boosted
    shot4hit(0, 0);
    EXPECT_NEAR(e.hp, 2 - 0.0075 - 0.25 - 0.0075, 1e-6);
    EXPECT_EQ(dat.score, 2);

    FrameStep = 0;
    const float hp = e.hp;
    for (int n = 0; n < 5; n++) shot4hit(0, 0);
    EXPECT_FLOAT_EQ(e.hp, hp);
    EXPECT_EQ(dat.score, 7);
    EXPECT_TRUE(P_Shot4[0].flag);  // never used up

    // Slot 0 of every pool is in reach: a second small enemy in slot 0 of
    // another pool takes the same blast in the same call.
    FrameStep = 0.05f;
    SpriteData& e3 = Target(Enemy3[0], 150, 130, 64, 64, 0.001f);
    shot4hit(0, 0);
    EXPECT_FALSE(e3.flag);
    EXPECT_EQ(LiveCount(Bom), 1);
    EXPECT_EQ(dat.score, 7 + 1 + 300 + 1 + 1);  // Enemy: 1; Enemy3: 300, 1, and the kill bonus
}

TEST_F(ShotHitTest, TheSatelliteNeedsTheSweepAt400AndDiesOnce) {
    SpriteData& sat = Target(BEnemy2[0], 0, 0, 400, 400, 0.001f);
    Blast(150, 150, 0);
    shot4hit(0, 0);
    EXPECT_FLOAT_EQ(sat.hp, 0.001f);
    EXPECT_EQ(dat.score, 0);
    WarnX = 399.9f;
    shot4hit(0, 0);
    EXPECT_EQ(dat.score, 0);
    WarnX = 400;
    shot4hit(0, 0);
    EXPECT_EQ(sat.mode, 3);
    EXPECT_EQ(BombPulse, 1);
    EXPECT_TRUE(sat.flag);
    EXPECT_EQ(dat.score, 1501);
    shot5hit(0, 0);  // no bomb missile in slot 0
    shot4hit(0, 0);
    EXPECT_EQ(dat.score, 1502);
}

TEST_F(ShotHitTest, HitFlashRestartsOnlyAfterRunningOut) {
    SpriteData& boss = Target(BOSS1[0], 100, 100, 240, 240, 7000);
    boss.fw[9] = 0.5f;
    ShotHitMidAndBoss(Spread(200, 200), SHOT_SPREAD);
    EXPECT_FLOAT_EQ(boss.fw[9], 0.5f);
    boss.fw[9] = 0;
    Blast(150, 150, 0);
    shot4hit(0, 0);
    EXPECT_FLOAT_EQ(boss.fw[9], 0);
    boss.fw[9] = -0.01f;
    shot4hit(0, 0);
    EXPECT_FLOAT_EQ(boss.fw[9], 1.8f);
    EXPECT_EQ(dat.score, 10 + 1 + 1);
}

TEST_F(ShotHitTest, BombMissilesAndBlastsDiffer) {
    // The carrier falls to a bomb missile at 10 armour left, to a blast at 0.
    SpriteData& c7 = Target(chuugata7[0], 0, 0, 540, 240, 10.005f);
    SpriteData& bomb = Shot(P_Shot5, 200, 80, 100, 100);
    bomb.hp = 20;
    Blast(200, 80, 0);
    shot4hit(0, 0);
    EXPECT_NE(c7.mode, 10);
    shot5hit(0, 0);
    EXPECT_EQ(c7.mode, 10);
    EXPECT_EQ(dat.score, 2 + 2 + 100000);
    c7.flag = false;

    // The third boss's small parts wear down three times slower under a
    // blast; its large box does not.
    SpriteData& b3 = Target(BOSS3[0], 0, 0, 400, 400, 100);
    P_Shot4[0].x = 40;  // over the two arms and the first column only
    P_Shot4[0].y = 150;
    P_Shot5[0].x = 40;
    P_Shot5[0].y = 150;
    shot4hit(0, 0);
    EXPECT_NEAR(b3.hp, 100 - 3 * 0.0025, 1e-5);
    b3.hp = 100;
    shot5hit(0, 0);
    EXPECT_NEAR(b3.hp, 100 - 3 * 0.0075, 1e-5);
    b3.hp = 100;
    P_Shot4[0].x = 180;  // the large box and the second and third columns
    P_Shot4[0].y = 200;
    shot4hit(0, 0);
    EXPECT_NEAR(b3.hp, 100 - 0.0075 - 2 * 0.0025, 1e-5);
}

TEST_F(ShotHitTest, TurretsAndDronesGoOutWithAVolleyOrAPulse) {
    SpriteData& t = Target(Enemy10[0], 100, 100, 64, 64, 0.001f);
    t.angle = 30;
    Blast(100, 100, 0);
    shot4hit(0, 0);
    ASSERT_EQ(LiveCount(tama), 4);
    EXPECT_FLOAT_EQ(tama[0].angle, 30);
    EXPECT_FLOAT_EQ(tama[1].angle, 121);
    EXPECT_FLOAT_EQ(tama[2].angle, 212);
    EXPECT_FLOAT_EQ(tama[3].angle, 303);
    EXPECT_FLOAT_EQ(tama[3].x, 132);
    EXPECT_EQ(dat.score, 1000 + 1 + 1);

    SpriteData& d = Target(bit[0], 100, 100, 100, 100, 0.001f);
    shot4hit(0, 0);
    EXPECT_FALSE(d.flag);
    EXPECT_EQ(BombPulse, 1);
    EXPECT_EQ(LiveCount(pitem), 1);
    EXPECT_GT(LiveCount(Bom2), 0);  // the rings
}

}  // namespace
