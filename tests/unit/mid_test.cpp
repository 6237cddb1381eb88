// Mid-size enemies: their volleys by difficulty, their patrols, their long
// deaths and how they count themselves out of the stage's wait.
#include <gtest/gtest.h>

#include <string>

#include "enemy/midsize.h"
#include "enemy/spawners.h"
#include "game/frame.h"
#include "play_state.h"

namespace {

class MidTest : public PlayStateTest {
protected:
    void SetUp() override {
        PlayStateTest::SetUp();
        RandState = 11;
        MidEnemyCount = 0;
        WarnX = 0;
        // The ship far from every hull, in play, so bullets are made.
        P_Ship.x = 0;
        P_Ship.y = 400;
    }
    void TearDown() override {
        MidEnemyCount = 0;
        PlayStateTest::TearDown();
    }
    static void Frames(int n) {
        for (int f = 0; f < n; f++) MidEnemyPass();
    }
    // Runs frames until the record goes (at most `limit`); the frames taken.
    static int FramesUntilGone(const SpriteData& e, int limit) {
        int f = 0;
        while (e.flag && f < limit) {
            MidEnemyPass();
            f++;
        }
        return f;
    }
};

// The first volley each pool fires once its timer runs out, per difficulty.
struct Volley {
    const char* what;
    int difficulty;
    int bullets;  // tama made
    int darts;    // sLaser2 made
};

class MidVolleyTest : public MidTest, public ::testing::WithParamInterface<Volley> {};

TEST_P(MidVolleyTest, FirstVolley) {
    const Volley v = GetParam();
    OPTION.Difficulty = v.difficulty;
    const std::string what = v.what;
    SpriteData* e = nullptr;
    if (what == "chuugata patrol") {
        Chuugata(300, 100, 180, 0);
        e = &chuugata[0];
        e->mode = 1;
    } else if (what == "chuugata2") {
        Chuugata2(300, 100, 180, 0);
        e = &chuugata2[0];
    } else if (what == "chuugata4") {
        Chuugata4(300, 100, 180, 0, 0);
        e = &chuugata4[0];
    } else if (what == "chuugata5") {
        Chuugata5(300, 100, 180, 0);
        e = &chuugata5[0];
        e->mode = 1;
        e->frame = 14;
    } else if (what == "chuugata6") {
        Chuugata6(200, 100, 180, 0, 0);
        e = &chuugata6[0];
    } else if (what == "chuugata9") {
        Chuugata9(300, 100, 180, 0);
        e = &chuugata9[0];
    }
    ASSERT_NE(e, nullptr);
    e->timer = 0;
    Frames(1);
    EXPECT_EQ(LiveCount(tama), v.bullets) << what << " on " << v.difficulty;
    EXPECT_EQ(LiveCount(sLaser2), v.darts) << what << " on " << v.difficulty;
}

std::string VolleyName(const ::testing::TestParamInfo<Volley>& p) {
    std::string name = p.param.what;
    for (char& c : name)
        if (c == ' ') c = '_';
    static const char* const kDiff[4] = {"EASY", "NORMAL", "HARD", "SPECIAL"};
    return name + "_" + kDiff[p.param.difficulty];
}

INSTANTIATE_TEST_SUITE_P(
    EveryPool, MidVolleyTest,
    ::testing::Values(Volley{"chuugata patrol", EASY, 21, 0}, Volley{"chuugata patrol", NORMAL, 51, 0},
                      Volley{"chuugata patrol", HARD, 153, 0}, Volley{"chuugata2", EASY, 100, 0},
                      Volley{"chuugata2", NORMAL, 126, 0}, Volley{"chuugata2", HARD, 151, 0},
                      Volley{"chuugata4", EASY, 3, 0}, Volley{"chuugata4", SPECIAL, 5, 0},
                      Volley{"chuugata4", HARD, 9, 0}, Volley{"chuugata5", EASY, 0, 31},
                      Volley{"chuugata5", NORMAL, 0, 61}, Volley{"chuugata5", HARD, 0, 66},
                      Volley{"chuugata6", EASY, 0, 2}, Volley{"chuugata6", NORMAL, 0, 4},
                      Volley{"chuugata6", HARD, 0, 12}, Volley{"chuugata9", EASY, 1, 0},
                      Volley{"chuugata9", NORMAL, 1, 0}, Volley{"chuugata9", HARD, 4, 0}),
                         VolleyName);

TEST_F(MidTest, AChuugataNeverShotPatrolsFiveTimesThenLeavesSpraying) {
    Chuugata(640, 200, 180, 90);
    const SpriteData& e = chuugata[0];
    ASSERT_EQ(MidEnemyCount, 1);
    int patrols = 0, lastTime = 0;
    for (int f = 0; f < 4000 && e.flag && e.mode != 3; f++) {
        MidEnemyPass();
        if ((int)e.time != lastTime) {
            patrols++;
            lastTime = (int)e.time;
        }
    }
    EXPECT_EQ(e.mode, 3);
    EXPECT_EQ(patrols, 5);
    SpriteClearAll();  // only the spray counts from here
    chuugata[0].flag = true;
    SpriteNoteLive(chuugata[0]);
    Frames(1);
    EXPECT_EQ(LiveCount(tama), 1);
    FramesUntilGone(e, 2000);
    EXPECT_FALSE(e.flag);
    EXPECT_EQ(MidEnemyCount, 0);
    Frames(10);
    EXPECT_EQ(MidEnemyCount, 0);
}

TEST_F(MidTest, ADyingChuugataPulsesThenLeavesAnItemAndCountsOutOnce) {
    Chuugata(300, 100, 180, 0);
    SpriteData& e = chuugata[0];
    e.mode = 2;  // as a kill leaves it
    e.num = 100;
    e.hp = 0;
    Frames(1);
    EXPECT_EQ(BombPulse, 1);
    EXPECT_EQ(e.speed, 0);
    EXPECT_EQ(e.num, 99);
    BombPulse = 0;
    const int frames = FramesUntilGone(e, 500);
    EXPECT_EQ(frames, 99);  // num 99 down to 0, gone below 1
    EXPECT_EQ(LiveCount(pitem), 1);
    EXPECT_EQ(MidEnemyCount, 0);
}

TEST_F(MidTest, AChuugata2DyingOnEasyPulsesAndDropsAnItemOnlyThere) {
    for (int d : {EASY, NORMAL, HARD}) {
        SpriteClearAll();
        MidEnemyCount = 0;
        OPTION.Difficulty = d;
        Chuugata2(300, 100, 180, 0);
        SpriteData& e = chuugata2[0];
        e.mode = 2;  // a kill by anything but a fan shot
        e.num = 50;
        int pulses = 0;
        for (int f = 0; f < 200 && e.flag; f++) {
            BombPulse = 0;
            MidEnemyPass();
            pulses += BombPulse;
        }
        EXPECT_FALSE(e.flag);
        EXPECT_EQ(MidEnemyCount, 0);
        EXPECT_EQ(LiveCount(pitem), d == EASY ? 1 : 0) << d;
        EXPECT_EQ(pulses > 0, d == EASY) << d;
    }
}

TEST_F(MidTest, TheCruisersDeathClearsEveryBulletAndLaser) {
    Chuugata3(100, 100, 0, 0);
    SpriteData& e = chuugata8[0];
    e.mode = 2;
    e.step = 0;
    e.num = 0;
    e.hp = 0;
    int frames = 0;
    while (e.flag && frames < 400) {
        kou(300, 100, 180, 1, 90, 0);
        SL(300, 100, 180, 1);
        SL2(300, 100, 180, 1, 0);
        MidEnemyPass();
        frames++;
    }
    EXPECT_EQ(frames, 200);
    EXPECT_EQ(LiveCount(tama), 0);
    EXPECT_EQ(LiveCount(sLaser), 0);
    EXPECT_EQ(LiveCount(sLaser2), 0);
    EXPECT_EQ(MidEnemyCount, 0);
}

TEST_F(MidTest, Chuugata4Variant1AlternatesFansWithBrakingRings) {
    Chuugata4(300, 100, 180, 0, 1);
    SpriteData& e = chuugata4[0];
    e.timer = 0.1f;
    int fans = 0;
    for (int f = 0; f < 400 && e.mode == 0; f++) {
        const int before = LiveCount(tama);
        MidEnemyPass();
        if (LiveCount(tama) > before) fans++;
    }
    EXPECT_EQ(fans, 5);
    ASSERT_EQ(e.mode, 1);
    SpriteClearAll();
    chuugata4[0].flag = true;
    SpriteNoteLive(chuugata4[0]);
    int turn = BulletTurnAngle, turns = 0, rings = 0;
    for (int f = 0; f < 1000 && e.mode == 1; f++) {
        const int before = LiveCount(tama);
        MidEnemyPass();
        if (BulletTurnAngle != turn) turns++;
        turn = BulletTurnAngle;
        if (LiveCount(tama) > before) {
            rings++;
            EXPECT_EQ(LiveCount(tama) - before, 31);
        }
    }
    EXPECT_EQ(rings, 10);
    EXPECT_EQ(e.mode, 0);
    EXPECT_GT(turns, 100);  // a new heading for the braking bullets nearly every frame
    for (const SpriteData& b : tama)
        if (b.flag) {
            EXPECT_EQ(b.mode, 7);
        }
}

TEST_F(MidTest, HullsRamAVulnerableShipButTheTurretNever) {
    Chuugata(300, 100, 180, 0);
    chuugata[0].mode = 1;
    chuugata[0].timer = 1000;
    P_Ship.x = 400;
    P_Ship.y = 130;
    P_Ship.time = 1;  // invincible
    Frames(1);
    EXPECT_TRUE(P_Ship.flag);
    P_Ship.time = 0;
    Frames(1);
    EXPECT_FALSE(P_Ship.flag);
    EXPECT_TRUE(chuugata[0].flag);  // the enemy stays

    SpriteClearAll();
    P_Ship.flag = true;
    Chuugata9(380, 100, 180, 0);
    chuugata9[0].timer = 1000;
    P_Ship.x = 420;
    P_Ship.y = 150;
    Frames(1);
    EXPECT_TRUE(P_Ship.flag);
}

TEST_F(MidTest, EnemiesLeavingTheirBoxCountOutOnce) {
    Chuugata6(-530, 100, 180, 10, 0);
    Chuugata9(100, 100, 180, 100);
    ASSERT_EQ(MidEnemyCount, 2);
    Frames(60);
    EXPECT_EQ(LiveCount(chuugata6), 0);
    EXPECT_EQ(LiveCount(chuugata9), 0);
    EXPECT_EQ(MidEnemyCount, 0);
}

TEST_F(MidTest, TheWalkerDiesInStagesWithoutTouchingTheCount) {
    OPTION.Difficulty = HARD;
    robo2(400, 200, 180, 0);
    SpriteData& e = BEnemy4[0];
    e.hp = 0;
    int frames = 0;
    while (e.flag && frames < 3000) {
        BEnemy4Pass();
        frames++;
    }
    EXPECT_FALSE(e.flag);
    EXPECT_GT(frames, 50 * 20);  // fifty bursts a time unit apart
    EXPECT_EQ(MidEnemyCount, 0);
}

// A spread shot has to reach 32 pixels into the walker from its own left
// end, and every hit that leaves the walker at 0 or below pays 1000.
TEST_F(MidTest, TheWalkerTakesSpreadShotsWithTheirMarginAndPaysEachFinalHit) {
    robo2(400, 200, 180, 0);
    SpriteData& e = BEnemy4[0];
    auto shoot = [](int j, float x) {
        P_Shot[j] = SpriteData{};
        P_Shot[j].flag = true;
        SpriteNoteLive(P_Shot[j]);
        P_Shot[j].x = x;
        P_Shot[j].y = 220;
        P_Shot[j].w = 100;
        P_Shot[j].h = 100;
    };
    shoot(0, 630);  // its left end 26 pixels short of the walker's right edge
    BEnemy4Pass();
    EXPECT_TRUE(P_Shot[0].flag);
    EXPECT_EQ(e.hp, 1000);

    P_Shot[0].flag = false;
    e.hp = 1;
    shoot(0, 620);
    shoot(1, 620);
    BEnemy4Pass();
    EXPECT_FALSE(P_Shot[0].flag);
    EXPECT_FALSE(P_Shot[1].flag);
    EXPECT_EQ(e.hp, -1);
    EXPECT_EQ(dat.score, 2 * (1000 + 1));
}

TEST_F(MidTest, TheSatelliteBurstsFiftyTimesThenDropsThreeItems) {
    eisei(100, 40, 0, 0, 0);
    SpriteData& e = BEnemy2[0];
    ASSERT_EQ(MidEnemyCount, 1);
    e.mode = 3;
    e.hp = 0;
    int frames = 0;
    while (e.flag && frames < 1000) {
        BEnemy2Pass();
        frames++;
    }
    EXPECT_FALSE(e.flag);
    EXPECT_EQ(e.fw[1], 50);
    EXPECT_EQ(LiveCount(pitem), 3);
    EXPECT_EQ(MidEnemyCount, 0);
}

}  // namespace
