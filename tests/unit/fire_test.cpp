// The enemy fire update: bullet modes, removal at the screen's edges,
// lasers, shooting bullets down, the ship, shield and bomb tests, and the
// bomb's cancel.
#include <gtest/gtest.h>

#include "game/frame.h"
#include "play_state.h"
#include "player/items.h"

namespace {

class FireTest : public PlayStateTest {
protected:
    static void Frames(int n) {
        for (int f = 0; f < n; f++) EnemyFirePass();
    }
    static SpriteData& Shot(SpriteData* pool, float x, float y, int w, int h) { return PlaceShot(pool, x, y, w, h); }
};

TEST_F(FireTest, ABrakingBulletStopsAndComesBackFaster) {
    kou(300, 100, 0, 10, 91, 2);
    SpriteData& t = tama[0];
    float furthest = t.x, lastSpeed = 0;
    for (int f = 0; f < 300; f++) {
        Frames(1);
        if (t.x > furthest) furthest = t.x;
        if (t.opt2 == 1) {
            EXPECT_GT(t.speed, lastSpeed);
            lastSpeed = t.speed;
        }
    }
    EXPECT_NEAR(furthest, 325, 1);  // slowed to a stop 25 pixels on
    EXPECT_EQ(t.opt2, 1);
    EXPECT_FLOAT_EQ(t.angle, 180);
    EXPECT_LT(t.x, 240);  // and flew back left past its start
    EXPECT_TRUE(t.flag);
}

TEST_F(FireTest, BulletsLeaveAtTheEdgesAndHorizontalLasersKeepTheirLine) {
    kou(300, 480, 0, 0, 91, 0);
    kou(300, 479.9f, 0, 0, 91, 0);
    kou(-10, 100, 0, 0, 91, 0);
    kou(679.9f, 100, 0, 0, 91, 0);
    Frames(1);
    EXPECT_FALSE(tama[0].flag);
    EXPECT_TRUE(tama[1].flag);
    EXPECT_FALSE(tama[2].flag);
    EXPECT_TRUE(tama[3].flag);

    SL(600, 123.4f, 180, 20);
    SL(600, 200, 170, 20);
    SL2(600, 300.7f, 180, 20, 0);
    SL(300, 400, 0, 20);
    Frames(50);
    EXPECT_EQ(sLaser[0].y, 123.4f);  // exactly
    EXPECT_LT(sLaser[0].x, 560);
    EXPECT_NEAR(sLaser[0].speed, 20.25f, 1e-4);  // a little faster every frame
    EXPECT_GT(sLaser[1].y, 205);
    EXPECT_EQ(sLaser2[0].y, 300.7f);
    EXPECT_FLOAT_EQ(sLaser2[0].speed, 20);
    EXPECT_EQ(sLaser[2].y, 400.0f);
    EXPECT_GT(sLaser[2].x, 340);
}

TEST_F(FireTest, ABombTurnsEveryBulletAndLaserIntoAJewelButLeavesSparks) {
    P_Ship.time = 1;  // the beam covers the ship
    kou(300, 100, 0, 0, 91, 0);
    kou2(200, 300, 0, 0, 95, 0);
    SL(400, 150, 180, 0);
    SL2(500, 250, 90, 0, 0);
    BL(600, 200, 180, 30);
    Flash(100, 100, 0, 5, 97, 0);
    BombPulse = 1;
    Frames(1);
    EXPECT_EQ(LiveCount(tama) + LiveCount(Baka) + LiveCount(sLaser) + LiveCount(sLaser2) + LiveCount(BLaser), 0);
    EXPECT_EQ(LiveCount(flash), 1);
    ASSERT_EQ(LiveCount(jewel), 4);
    // In the pass's order: large bullet, laser, bullet, dart; each a fast
    // jewel where the projectile was.
    EXPECT_FLOAT_EQ(jewel[0].x, 200);
    EXPECT_FLOAT_EQ(jewel[1].y, 150);
    EXPECT_FLOAT_EQ(jewel[2].x, 300);
    EXPECT_FLOAT_EQ(jewel[3].y, 250);
    for (int k = 0; k < 4; k++) EXPECT_EQ(jewel[k].mode, 4);
    EXPECT_TRUE(P_Ship.flag);
}

TEST_F(FireTest, NothingHitsAnInvincibleShip) {
    kou(24, 244, 0, 0, 91, 0);  // inside the ship's hit box
    kou2(0, 220, 0, 0, 95, 0);
    BL(600, 200, 180, 30);
    P_Ship.time = 0.5f;
    Frames(3);
    EXPECT_TRUE(P_Ship.flag);
    EXPECT_EQ(LiveCount(tama) + LiveCount(Baka) + LiveCount(BLaser), 3);

    P_Ship.time = 0;
    BLaser[0].flag = false;
    Frames(1);
    EXPECT_FALSE(P_Ship.flag);
    EXPECT_FALSE(Baka[0].flag);  // the large bullet comes first, with a big explosion
    EXPECT_EQ(LiveCount(Bom), 1);
    EXPECT_TRUE(tama[0].flag);   // the ship was already gone when the bullet came

    // The beam takes the ship and burns on.
    P_Ship.flag = true;
    BL(600, 200, 180, 30);
    Frames(1);
    EXPECT_FALSE(P_Ship.flag);
    EXPECT_TRUE(BLaser[0].flag);
    EXPECT_TRUE(tama[0].flag);
}

TEST_F(FireTest, ShootableBulletsTakeOnlyTheSelectedWeapon) {
    kou(300, 100, 0, 0, 91, 6);
    Weapon = 0;
    SpriteData& fan = Shot(P_Shot2, 305, 100, 16, 32);
    Frames(1);
    EXPECT_TRUE(tama[0].flag);  // the fan shot passes through
    EXPECT_TRUE(fan.flag);
    SpriteData& spread = Shot(P_Shot, 290, 90, 32, 32);
    Frames(1);
    EXPECT_FALSE(tama[0].flag);
    EXPECT_FALSE(spread.flag);
    EXPECT_EQ(dat.score, 10 + 1 + 1);  // and the kill bonus
    EXPECT_EQ(LiveCount(Bom3), 1);

    // With missiles, a blast shoots a bursting bullet down and stays.
    Weapon = 2;
    kou(300, 100, 45, 0, 91, 9);
    SpriteData& blast = Shot(P_Shot4, 250, 50, 100, 100);
    blast.hp = 5;
    Frames(1);
    EXPECT_FALSE(tama[0].flag);
    EXPECT_TRUE(blast.flag);
    ASSERT_EQ(LiveCount(sLaser2), 4);
    EXPECT_FLOAT_EQ(sLaser2[0].angle, 315);
    EXPECT_FLOAT_EQ(sLaser2[1].angle, 45);
    EXPECT_NEAR(sLaser2[0].x, 296, 1.01);  // from the bullet's corner, moved once
    EXPECT_NEAR(sLaser2[0].y, 92, 1.01);
    EXPECT_FLOAT_EQ(sLaser2[3].speed, 20);
    EXPECT_EQ(dat.score, 12 + 11 + 2);

    // On SPECIAL any bullet bursts when shot, but a blast does not count.
    SpriteClearAll();
    OPTION.Difficulty = SPECIAL;
    kou(300, 100, 725.5f, 0, 91, 0);
    Shot(P_Shot4, 250, 50, 100, 100).hp = 5;
    Frames(1);
    EXPECT_TRUE(tama[0].flag);
    SpriteData& missile = Shot(P_Shot3, 300, 100, 16, 16);
    Frames(1);
    EXPECT_FALSE(tama[0].flag);
    EXPECT_FALSE(missile.flag);
    EXPECT_EQ(LiveCount(P_Shot4), 2);  // the missile's own blast
    ASSERT_EQ(LiveCount(sLaser2), 4);
    const float angles[4] = {275, 5, 95, 185}, speeds[4] = {40, 40, 30, 30};  // from 725 % 360
    for (int k = 0; k < 4; k++) {
        EXPECT_FLOAT_EQ(sLaser2[k].angle, angles[k]) << k;
        EXPECT_FLOAT_EQ(sLaser2[k].speed, speeds[k]) << k;
    }
}

TEST_F(FireTest, MinesBurstAtRestExceptOnEasy) {
    const int difficulty[3] = {EASY, NORMAL, HARD}, darts[3] = {0, 2, 8};
    for (int d = 0; d < 3; d++) {
        SpriteClearAll();
        OPTION.Difficulty = difficulty[d];
        kou(300, 100, 30, 1.5f, 91, 5);
        Frames(9);
        EXPECT_TRUE(tama[0].flag);
        Frames(2);
        EXPECT_FALSE(tama[0].flag);
        EXPECT_EQ(LiveCount(sLaser2), darts[d]) << d;
        EXPECT_EQ(dat.score, 0);
    }
    EXPECT_FLOAT_EQ(sLaser2[2].angle, 120);  // HARD: 0, 180, then 90 ...
}

TEST_F(FireTest, ShieldsAndBombMissilesSmotherWhatTheyTouch) {
    Shield[0].flag = true;
    SpriteNoteLive(Shield[0]);
    Shield[0].x = 200;
    Shield[0].y = 100;
    Shield[0].w = Shield[0].h = 100;
    kou(289.9f, 150, 0, 0, 91, 0);  // shrunk by 10, its left edge just inside
    kou(290, 150, 0, 0, 91, 0);     // touching: stays
    SpriteData& bomb = Shot(P_Shot5, 400, 300, 100, 100);
    SL(450, 350, 180, 0);
    Frames(1);
    EXPECT_FALSE(tama[0].flag);
    EXPECT_TRUE(tama[1].flag);
    EXPECT_FALSE(sLaser[0].flag);
    EXPECT_TRUE(bomb.flag);
    EXPECT_EQ(dat.score, 0);
    EXPECT_EQ(LiveCount(jewel), 0);
}

}  // namespace
