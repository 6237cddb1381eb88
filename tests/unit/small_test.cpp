// Small enemies: turning, firing by difficulty, leaving the screen, taking
// the player's shots and ramming the ship.
#include <gtest/gtest.h>

#include "enemy/spawners.h"
#include "game/frame.h"
#include "play_state.h"

namespace {

class SmallTest : public PlayStateTest {
protected:
    void SetUp() override {
        PlayStateTest::SetUp();
        AllShotTime = 100;
        RandState = 7;
    }
    void TearDown() override {
        AllShotTime = 100;
        PlayStateTest::TearDown();
    }
    static void Frames(int n) {
        for (int f = 0; f < n; f++) SmallEnemyPass();
    }
    static SpriteData& Shot(SpriteData* pool, float x, float y, int w, int h) { return PlaceShot(pool, x, y, w, h); }
};

TEST_F(SmallTest, Zako1TurnsOnceAndFiresOnlyAsAShooter) {
    zako1(379.5f, 100, 180, 20, 0);
    SpriteData& e = Enemy[0];
    e.opt2 = 1;  // a shooter in stage 1
    Frames(19);  // one pixel a frame: still right of 360
    EXPECT_EQ(e.mode, 0);
    Frames(1);
    ASSERT_EQ(e.mode, 1);
    EXPECT_EQ(LiveCount(tama), 1);  // one aimed bullet on NORMAL
    EXPECT_EQ(tama[0].mode, 1);
    EXPECT_FLOAT_EQ(e.rad, (float)(140 * 0.017444444444444446));  // the ship is lower: down-left
    EXPECT_EQ(e.opt3, 1);
    EXPECT_FLOAT_EQ(e.timer, 65536 - 0.05f);
    const float speed = e.speed;
    Frames(1);
    EXPECT_FLOAT_EQ(e.speed, speed + 0.25f);  // it speeds away
    // Even with its timer run out it never turns again.
    e.timer = -1;
    e.speed = 0;
    Frames(1);
    EXPECT_FLOAT_EQ(e.rad, (float)(140 * 0.017444444444444446));
    EXPECT_EQ(LiveCount(tama), 1);

    // Not a shooter in stage 3: it turns, up-left this time, silent, and
    // keeps its speed.
    StageNo = 3;
    P_Ship.y = 20;
    zako1(369.5f, 100, 180, 20, 0);
    SpriteData& q = Enemy[1];
    q.opt2 = 2;
    Frames(10);
    EXPECT_EQ(q.mode, 1);
    EXPECT_FLOAT_EQ(q.rad, (float)(220 * 0.017444444444444446));
    EXPECT_EQ(q.opt3, 0);
    EXPECT_FLOAT_EQ(q.speed, 20);
    EXPECT_EQ(LiveCount(tama), 1);
}

TEST_F(SmallTest, Zako10IsSilentOnEasyOnly) {
    OPTION.Difficulty = EASY;
    zako10(300, 200, 180, 0);
    Frames(400);  // its timer of 10 has long run out
    EXPECT_EQ(LiveCount(sLaser2), 0);
    EXPECT_LT(Enemy10[0].timer, -9);

    OPTION.Difficulty = NORMAL;
    Frames(1);
    ASSERT_EQ(LiveCount(sLaser2), 4);
    EXPECT_FLOAT_EQ(sLaser2[1].angle, 270);
    EXPECT_FLOAT_EQ(sLaser2[0].x, 300 + 32 - 24);
    const float next = Enemy10[0].timer + 0.05f;
    EXPECT_GE(next, 5);
    EXPECT_LE(next, 25);
    // The next volley comes when that time has run out, again 5 to 25 on.
    int frames = 0;
    while (LiveCount(sLaser2) == 4 && frames < 600) {
        Frames(1);
        frames++;
    }
    EXPECT_EQ(LiveCount(sLaser2), 8);
    EXPECT_NEAR(frames, next / 0.05f, 1.5);
}

TEST_F(SmallTest, UnarmouredEnemiesDieOnTheFirstHitWhateverTheWeapon) {
    Enemy8[0] = SpriteData{};  // fresh slots: hit points never set
    Enemy9[0] = SpriteData{};
    zako8(300, 200, 180, 0, 7);
    zako9(300, 300, 180, 0);
    Weapon = 0;
    AllShotTime = 0;
    Shot(P_Shot2, 320, 210, 16, 32);  // a fan shot, though the spread is selected
    Shot(P_Shot3, 320, 320, 16, 16);
    Frames(1);
    EXPECT_FALSE(Enemy8[0].flag);
    EXPECT_FALSE(Enemy9[0].flag);
    // Kill values, a point per hit and the kill bonuses 1 and 2.
    EXPECT_EQ(dat.score, 800 + 1 + 1 + 900 + 1 + 2);
    EXPECT_EQ(LiveCount(P_Shot4), 1);  // the missile's blast
}

TEST_F(SmallTest, KillValuesDependOnTheKillingShot) {
    haro(300, 200, 180, 0);
    HARO[0].hp = 1;
    Shot(P_Shot2, 320, 210, 16, 32);
    Frames(1);
    EXPECT_EQ(dat.score, 2000 + 1 + 1);
    haro(300, 200, 180, 0);
    HARO[0].hp = 1;
    Shot(P_Shot, 320, 210, 32, 32);
    Frames(1);
    EXPECT_EQ(dat.score, 2002 + 500 + 1 + 2);

    oozako1(300, 100, 180, 0);
    BEnemy[0].hp = 1;
    BEnemy[0].mode = 1;  // already past its stop
    Shot(P_Shot2, 320, 150, 16, 32);
    Frames(1);
    EXPECT_EQ(dat.score, 2505 + 100 + 1 + 3);
}

TEST_F(SmallTest, TheFirstPoolsTakeOnlyTheSelectedWeaponOnceTheGraceIsOver) {
    zako1(300, 100, 180, 0, 0);
    zako3(300, 300, 180, 50);
    Enemy[0].opt2 = 0;
    Weapon = 0;
    Shot(P_Shot2, 320, 110, 16, 32);
    Shot(P_Shot2, 320, 310, 16, 32);
    Frames(1);
    EXPECT_FLOAT_EQ(Enemy[0].hp, 1);  // the grace lets every weapon hit
    EXPECT_FLOAT_EQ(Enemy3[0].hp, 4);

    AllShotTime = 0;
    Enemy3[0].x = 300;
    SpriteData& a = Shot(P_Shot2, 320, 110, 16, 32);
    SpriteData& b = Shot(P_Shot2, 320, 310, 16, 32);
    Frames(1);
    EXPECT_TRUE(a.flag);
    EXPECT_FLOAT_EQ(Enemy[0].hp, 1);
    EXPECT_FALSE(b.flag);
    EXPECT_FLOAT_EQ(Enemy3[0].hp, 3);
    Weapon = 1;
    Frames(1);
    EXPECT_FALSE(a.flag);
    EXPECT_FALSE(Enemy[0].flag);
}

TEST_F(SmallTest, EnemiesPassAnInvincibleShipAndRamAVulnerableOne) {
    zako3(10, 220, 180, 0);
    Enemy3[0].timer = 1;  // no volley
    P_Ship.time = 0.5f;
    Frames(5);
    EXPECT_TRUE(P_Ship.flag);
    EXPECT_TRUE(Enemy3[0].flag);
    P_Ship.time = 0;
    Frames(1);
    EXPECT_FALSE(P_Ship.flag);
    EXPECT_FALSE(Enemy3[0].flag);
    EXPECT_GT(LiveCount(Bom2), 0);  // the ship's explosion

    // Shot down in the very frame the ship flies into it: it still rams.
    P_Ship.flag = true;
    zako3(10, 220, 180, 0);
    Enemy3[0].timer = 1;
    Enemy3[0].hp = 1;
    Shot(P_Shot, 20, 230, 32, 32);
    Frames(1);
    EXPECT_FALSE(Enemy3[0].flag);
    EXPECT_EQ(dat.score % 1000, 300 + 1 + 1);  // the kill was paid
    EXPECT_FALSE(P_Ship.flag);
}

TEST_F(SmallTest, EachPoolLeavesByItsOwnBounds) {
    zako1(-64, 200, 180, 0, 0);
    zako1(-63.9f, 200, 180, 0, 0);
    Enemy[1].opt2 = 0;
    haro(300, -40, 180, 0);
    haro(300, -39.9f, 180, 0);
    oozako1(699.9f, 300, 180, 0);
    BEnemy[0].mode = 1;
    zako8(300, -64, 180, 0, 9);
    P_Ship.x = 300;  // out of the way of the rings
    P_Ship.y = 400;
    Frames(1);
    EXPECT_FALSE(Enemy[0].flag);
    EXPECT_TRUE(Enemy[1].flag);
    EXPECT_FALSE(HARO[0].flag);
    EXPECT_TRUE(HARO[1].flag);
    EXPECT_TRUE(BEnemy[0].flag);
    EXPECT_FALSE(Enemy8[0].flag);
}

TEST_F(SmallTest, TheWalkerSweepsDownAndUpThenFiresFiveLargeBullets) {
    robo(400, 100, 180, 0);
    int frames = 0;
    while (BEnemy3[0].mode < 5 && frames < 5000) {
        Frames(1);
        frames++;
    }
    ASSERT_EQ(BEnemy3[0].mode, 5);
    // 270 down to 90 in tens, then 80 up to 270.
    EXPECT_EQ(LiveCount(sLaser2), 19 + 20);
    EXPECT_EQ(LiveCount(Baka), 5);
    EXPECT_EQ(BEnemy3[0].frame, 24);
    Frames(200);  // it closes up and walks off to the left
    EXPECT_EQ(BEnemy3[0].frame, 0);
    EXPECT_FLOAT_EQ(BEnemy3[0].speed, 96);  // one more each frame of the 96
    EXPECT_LT(BEnemy3[0].x, 300);
}

}  // namespace
