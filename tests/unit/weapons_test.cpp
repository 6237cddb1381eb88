// Weapons: volley sizes and cadence, the spawners, shot flight, blast life,
// the charge gauge and the bomb barrage.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "game/frame.h"
#include "player/weapons.h"
#include "player_reset.h"

namespace {

class WeaponTest : public ::testing::Test {
protected:
    void SetUp() override { ResetPlayerState(); }
    void TearDown() override { ResetPlayerState(); }
    void ClearShots() {
        for (SpriteData* pool : {P_Shot, P_Shot2, P_Shot3, P_Shot4, P_Shot5})
            for (int i = 0; i < P_SHOT_MAX; i++) pool[i].flag = false;
    }
};

TEST_F(WeaponTest, VolleySizeByWeaponAndLevel) {
    const int spread[7] = {4, 4, 5, 5, 6, 7, 7};
    const int fan[7] = {3, 3, 5, 5, 7, 7, 9};
    const int fanAngles[9] = {0, 353, 7, 346, 14, 339, 21, 332, 28};
    KeyData.space = KEY_HOLD;
    for (int L = 0; L <= 6; L++) {
        BombStock = L;
        for (Weapon = 0; Weapon <= 2; Weapon++) {
            int w = Weapon;
            ClearShots();
            ShotCool = 0.6f;
            P_Ship.speed = 20.0f;
            PlayerFireAndBomb();
            EXPECT_EQ(P_Ship.speed, 35.0f);
            if (w == 0) {
                ASSERT_EQ(LiveCount(P_Shot, P_SHOT_MAX), spread[L]) << "level " << L;
                EXPECT_FLOAT_EQ(SpreadTime, 0.05f * L + 0.3f);
                for (int i = 0; i < spread[L]; i++) {
                    EXPECT_LE(P_Shot[i].angle, 2 * L + 20);
                    EXPECT_GE(P_Shot[i].angle, -2 * L - 20);
                    EXPECT_EQ(P_Shot[i].hp, SpreadTime);
                }
            } else if (w == 1) {
                ASSERT_EQ(LiveCount(P_Shot2, P_SHOT_MAX), fan[L]) << "level " << L;
                for (int i = 0; i < fan[L]; i++) EXPECT_EQ(P_Shot2[i].angle, fanAngles[i]);
            } else {
                ASSERT_EQ(LiveCount(P_Shot3, P_SHOT_MAX), L + 1) << "level " << L;
                for (int i = 0; i <= L; i++) EXPECT_LE(std::abs(P_Shot3[i].angle), 2 * L + 5);
            }
        }
    }
    // An unknown weapon falls back to 0 without a volley or a speed change.
    ClearShots();
    Weapon = 7;
    ShotCool = 0.6f;
    P_Ship.speed = 35.0f;
    PlayerFireAndBomb();
    EXPECT_EQ(Weapon, 0);
    EXPECT_EQ(P_Ship.speed, 35.0f);
    EXPECT_EQ(LiveCount(P_Shot, P_SHOT_MAX), 0);
}

TEST_F(WeaponTest, VolleyEveryFifthFrameAndNotOnTheFirstPress) {
    const int fire[3][3] = {{KEY_HOLD, 0, 0}, {0, KEY_HOLD, 0}, {0, 0, KEY_HOLD}};
    for (int w = 0; w <= 2; w++) {
        ClearShots();
        Weapon = w;
        ShotCool = 0.6f;
        // The press itself does not fire.
        KeyData.space = KEY_PUSH;
        PlayerFireAndBomb();
        EXPECT_EQ(P_Ship.speed, 20.0f);
        // Held, by any of the three fire inputs: every 5th frame.
        KeyData.space = fire[w][0];
        KeyData.shift = fire[w][1];
        JoyData.button[0] = fire[w][2];
        ShotCool = 0.6f;
        std::vector<int> volleys;
        for (int f = 0; f < 26; f++) {
            PlayerFireAndBomb();
            if (P_Ship.speed == 35.0f) volleys.push_back(f);
        }
        EXPECT_EQ(volleys, (std::vector<int>{0, 5, 10, 15, 20, 25})) << "weapon " << w;

        // Paused, the cadence never comes round again; nor while the ship is lost.
        FrameStep = 0.0f;
        for (int f = 0; f < 10; f++) PlayerFireAndBomb();
        EXPECT_EQ(P_Ship.speed, 20.0f);
        FrameStep = 0.05f;
        P_Ship.flag = false;
        ShotCool = 0.6f;
        PlayerFireAndBomb();
        EXPECT_EQ(P_Ship.speed, 20.0f);
        P_Ship.flag = true;
        std::memset(&KeyData, 0, sizeof KeyData);
        std::memset(&JoyData, 0, sizeof JoyData);
    }
}

TEST_F(WeaponTest, FanShotsLeaveFromTheShipAndFlyFullSpeedRight) {
    P_Ship.x = 100.0f;
    P_Ship.y = 200.0f;
    shot2(500.0f, 10.0f, 7, 1.0f);
    SpriteData& s = P_Shot2[0];
    EXPECT_EQ(s.x, 132.0f);
    EXPECT_EQ(s.y, 222.0f);
    EXPECT_EQ(s.speed, 150.0f);
    EXPECT_EQ(ShotCool, 0.0f);
    PlayerShotPass();
    EXPECT_FLOAT_EQ(s.x, 139.5f);  // the whole 150 to the right
    EXPECT_NEAR(s.y, 222.0f + 7.5f * std::sin(7 * 0.017444444444444446), 1e-4);
    EXPECT_EQ(s.frame, 1);
    // Off the top: released, but still animated on that visit.
    s.y = -59.0f;
    s.dy = -1.0f;
    PlayerShotPass();
    EXPECT_FALSE(s.flag);
    EXPECT_EQ(s.frame, 0);
}

TEST_F(WeaponTest, SpreadShotTurnsStraightAndMissilesAccelerate) {
    // At level 3 a spread shot keeps its heading for 0.45 time units, about
    // 6 + 3 frames, then flies straight to the right; it goes at x 650.
    BombStock = 3;
    SpreadTime = 0.45f;
    shot1(0.0f, 200.0f, 0, 0.0f);
    SpriteData& s = P_Shot[0];
    EXPECT_EQ(s.hp, 0.45f);
    SpriteSetAngle(s, 30.0f);
    int turning = 0;
    while (s.flag && turning < 200) {
        float y = s.y, x = s.x;
        PlayerShotPass();
        if (s.y != y) {
            turning++;
        } else {
            EXPECT_FLOAT_EQ(s.x, x + 7.5f);
        }
    }
    EXPECT_NEAR(turning, 9, 1);
    EXPECT_GE(s.x, 650.0f);
    EXPECT_LT(s.x, 657.5f);

    BombStock = 0;
    shot3(100.0f, 100.0f, 0, 10.0f);
    SpriteData& m = P_Shot3[0];
    EXPECT_EQ(ShotCool, -0.05f);
    EXPECT_EQ(m.speed, 20.0f);
    EXPECT_LE(std::abs(m.angle), 5.0f);
    SpriteSetAngle(m, 0.0f);
    PlayerShotPass();
    EXPECT_FLOAT_EQ(m.x, 101.0f);  // moved at 20, then sped up
    EXPECT_FLOAT_EQ(m.speed, 20.25f);
    PlayerShotPass();
    EXPECT_FLOAT_EQ(m.x, 102.0125f);
    EXPECT_FLOAT_EQ(m.speed, 20.5f);
}

TEST_F(WeaponTest, BlastLifeCarriesOverAndChargePoints) {
    BombStock = 5;  // life 5 / 2 + 1 = 3
    P_Shot4[0].hp = -0.7f;  // a blast that ran out
    P_Shot4[0].frame = 1;
    shot4(10.0f, 20.0f, 0);
    EXPECT_EQ(P_Shot4[0].hp, 3.0f);
    EXPECT_EQ(P_Shot4[0].frame, 1);  // the frame goes on
    EXPECT_EQ(ChargePoints, 2);      // one for the blast, one for its spark

    // A bomb missile whose slot's last missile left the screen with life
    // remaining adds it, unless the bomb icon shows.
    P_Shot5[0].hp = 1.5f;
    P_Shot5[1].hp = 1.5f;
    shot5(0.0f, 0.0f, 10, 120, 1);
    EXPECT_FLOAT_EQ(P_Shot5[0].hp, 4.5f);
    EXPECT_EQ(P_Shot5[0].speed, 120.0f);
    EXPECT_EQ(P_Shot5[0].opt2, 1);
    BombIconAnim = true;
    shot5(0.0f, 0.0f, 10, 120, 1);
    EXPECT_EQ(P_Shot5[1].hp, 20.0f);
    EXPECT_EQ(ChargePoints, 4);

    // 100 points make a gauge step; a full gauge keeps the points.
    ChargePoints = 99;
    ChargeStep(1, 100);
    EXPECT_EQ(ChargeGauge, 1);
    EXPECT_EQ(ChargePoints, 0);
    ChargeGauge = 100;
    ChargePoints = 99;
    ChargeStep(1, 100);
    EXPECT_EQ(ChargeGauge, 100);
    EXPECT_EQ(ChargePoints, 100);

    // A full blast pool: no blast, no point.
    for (int i = 0; i < P_SHOT_MAX; i++) P_Shot4[i].flag = true;
    ChargePoints = 0;
    ChargeGauge = 0;
    shot4(0.0f, 0.0f, 0);
    EXPECT_EQ(ChargePoints, 0);
}

TEST_F(WeaponTest, FullGaugeGivesALevelUpToSix) {
    ChargeGauge = 99;
    EXPECT_FALSE(ChargeGaugeReward());
    ChargeGauge = 100;
    BombStock = 5;
    EXPECT_TRUE(ChargeGaugeReward());
    EXPECT_EQ(BombStock, 6);
    EXPECT_EQ(ChargeGauge, 0);
    EXPECT_EQ(LevelUpFlag, 1);
    LevelUpFlag = 0;
    ChargeGauge = 100;
    EXPECT_TRUE(ChargeGaugeReward());
    EXPECT_EQ(BombStock, 6);
    EXPECT_EQ(LevelUpFlag, 0);
}

TEST_F(WeaponTest, BarrageDrawsSpeedThenAngleThreeAtATime) {
    BombTime = 20.0f;
    BombSpread = 30;
    BombFireTime = -1.0f;
    P_Ship.x = 50.0f;
    uint32_t state = RandState;
    int speed[3], angle[3];
    for (int k = 0; k < 3; k++) {
        speed[k] = my_rand(50, 300);
        angle[k] = my_rand(-30, 30);
    }
    RandState = state;
    PlayerFireAndBomb();
    for (int k = 0; k < 3; k++) {
        EXPECT_EQ(P_Shot5[k].speed, (float)speed[k]);
        EXPECT_EQ(P_Shot5[k].angle, (float)angle[k]);
        EXPECT_EQ(P_Shot5[k].x, 82.0f);
        EXPECT_EQ(P_Shot5[k].opt2, 1);
    }
    // Until the barrage runs out (20 time units): a volley of three each
    // time BombFireTime has fallen below 0 again, every 5th frame.
    std::vector<int> volleyFrames = {0};
    int frame = 1;
    while (BombTime > 0.0f && frame < 1000) {
        ClearShots();
        PlayerFireAndBomb();
        int now = LiveCount(P_Shot5, P_SHOT_MAX);
        ASSERT_TRUE(now == 0 || now == 3) << frame;
        if (now == 3) volleyFrames.push_back(frame);
        frame++;
    }
    EXPECT_NEAR(frame, 400, 1);
    for (size_t i = 1; i < volleyFrames.size(); i++) EXPECT_EQ(volleyFrames[i] - volleyFrames[i - 1], 5);
    EXPECT_EQ((int)volleyFrames.size(), (frame + 4) / 5);
}

}  // namespace
