// Jewels, power items and the shield: spawning, ageing, pickups and their
// scores, the item kind cycle and the shield's life.
#include <gtest/gtest.h>

#include <cmath>

#include "game/frame.h"
#include "play_state.h"
#include "player/items.h"
#include "render/render.h"

namespace {

class ItemsTest : public ::testing::Test {
protected:
    void SetUp() override {
        seed = RandState;
        ResetPlayState();
    }
    void TearDown() override {
        ResetPlayState();
        RandState = seed;
    }
    uint32_t seed;
};

// Runs one jewel pass with a single jewel of `kind` made on the ship.
int64_t CollectOne(int kind) {
    int64_t before = dat.score;
    Jewel(10, 230, 180, 20.0f, kind);
    JewelPass();
    EXPECT_FALSE(jewel[0].flag) << "kind " << kind;
    return dat.score - before;
}

TEST_F(ItemsTest, JewelSpawnerKindsAndClamp) {
    Jewel(300, -5, 180, 20.0f, 0);
    EXPECT_FLOAT_EQ(jewel[0].y, 0.0f);
    EXPECT_EQ(jewel[0].col, 3);
    EXPECT_FLOAT_EQ(jewel[0].speed, 20.0f);
    EXPECT_FLOAT_EQ(jewel[0].rad, 3.14f);
    Jewel(300, 470, 180, 20.0f, 2);
    EXPECT_FLOAT_EQ(jewel[1].y, 460.0f);
    // Kind 5: a fast jewel thrown at the ship, its y kept.
    Jewel(300, 236 - 300, 180, 20.0f, 5);  // centre (316, -48); ship centre (32, 252)
    const SpriteData& k5 = jewel[2];
    EXPECT_EQ(k5.mode, 4);
    EXPECT_FLOAT_EQ(k5.speed, 150.0f);
    EXPECT_FLOAT_EQ(k5.timer, 20.0f);
    EXPECT_FLOAT_EQ(k5.y, -64.0f);
    EXPECT_FLOAT_EQ(k5.angle, k5.rad);  // heading kept in radians
    EXPECT_FLOAT_EQ(k5.rad, my_atan(316, -48, 32, 252));
    EXPECT_LT(k5.dx, 0.0f);
    EXPECT_GT(k5.dy, 0.0f);
    // During a bomb's pulse every jewel is fast and keeps heading left.
    BombPulse = 1;
    Jewel(300, -5, 180, 20.0f, 0);
    EXPECT_EQ(jewel[3].mode, 4);
    EXPECT_FLOAT_EQ(jewel[3].speed, 100.0f);
    EXPECT_FLOAT_EQ(jewel[3].y, -5.0f);
    EXPECT_FLOAT_EQ(jewel[3].angle, 180.0f);
    // While the shield is up nothing is made at all.
    SHIELD(0, 0);
    Jewel(300, 100, 180, 20.0f, 0);
    Jewel(300, 100, 180, 20.0f, 5);
    EXPECT_EQ(LiveCount(jewel), 4);
}

TEST_F(ItemsTest, JewelPickupScoresFromTheValueBeforeIt) {
    struct Row { int kind, value, bombs; int64_t score; int step, newValue, shown; };
    const Row rows[] = {
        {0, 100, 0, 1100, 2, 150, 50},
        {1, 100, 0, 550, 1, 130, 30},
        {2, 100, 0, 333, 1, 120, 20},
        {3, 100, 0, 125, 1, 110, 10},
        {0, -7, 0, 993, 2, 43, 50},
        {1, -7, 0, 497, 1, 23, 30},   // -7 / 2 = -3
        {2, -7, 0, 298, 1, 13, 20},   // -7 / 3 = -2
        {3, -7, 0, 99, 1, 3, 10},     // -7 / 4 = -1
        // Kind 4: the value grows by the step; at full power the step too.
        {4, 25000, 5, 102, 5, 25005, 5},
        {4, 25000, 6, 227, 6, 25006, 6},
        {4, -25000, 6, 173, 6, -24994, 6},
    };
    for (const Row& r : rows) {
        ResetPlayState();
        JewelValue = r.value;
        JewelStep = (r.kind == 4) ? 5 : 0;
        BombStock = r.bombs;
        EXPECT_EQ(CollectOne(r.kind), r.score) << "kind " << r.kind << " value " << r.value;
        EXPECT_EQ(JewelStep, r.step) << "kind " << r.kind;
        EXPECT_EQ(JewelValue, r.newValue) << "kind " << r.kind;
        EXPECT_TRUE(JEWELFONT[0].flag);
        EXPECT_FLOAT_EQ(JEWELFONT[0].value, (float)r.shown);
        EXPECT_FLOAT_EQ(JEWELFONT[0].life, 10.0f);
        EXPECT_EQ(JewelCount[r.kind], 1);
    }
    // A lost ship collects nothing.
    ResetPlayState();
    P_Ship.flag = false;
    Jewel(10, 230, 180, 20.0f, 0);
    JewelPass();
    EXPECT_TRUE(jewel[0].flag);
    EXPECT_EQ(dat.score, 0);
}

TEST_F(ItemsTest, JewelsLostOffTheLeftTurnTheValueRound) {
    JewelValue = 120;
    Jewel(-31.5f, 10, 180, 20.0f, 1);
    JewelPass();
    EXPECT_FALSE(jewel[0].flag);
    EXPECT_EQ(JewelValue, -120);
    Jewel(-31.5f, 10, 180, 20.0f, 3);
    JewelPass();
    EXPECT_EQ(JewelValue, 120);
    // Fast jewels leave without a trace.
    Jewel(-31.5f, 10, 180, 20.0f, 4);
    JewelPass();
    EXPECT_FALSE(jewel[0].flag);
    EXPECT_EQ(JewelValue, 120);
    // The far end of the int range holds instead of wrapping.
    JewelValue = -2147483647 - 1;
    Jewel(-31.5f, 10, 180, 20.0f, 0);
    JewelPass();
    EXPECT_EQ(JewelValue, 2147483647);
}

TEST_F(ItemsTest, JewelsAgeSlowerAndFastOnesSpeedUp) {
    Jewel(700, 10, 180, 20.0f, 0);
    BombPulse = 1;
    Jewel(700, 60, 180, 20.0f, 0);
    BombPulse = 0;
    int ageFrame = 0;
    float fastSpeedAt30 = 0;
    for (int f = 1; f <= 120; f++) {
        JewelPass();
        if (f == 1) {
            EXPECT_FLOAT_EQ(jewel[0].speed, 50.0f);
            EXPECT_EQ(jewel[1].col, 4);
        }
        if (!ageFrame && jewel[0].mode == 1) ageFrame = f;
        if (f == 30) fastSpeedAt30 = jewel[1].speed;
    }
    EXPECT_NEAR(ageFrame, 100, 1);  // 75 / 15 = 5 time units
    EXPECT_EQ(jewel[0].col, 2);
    EXPECT_FLOAT_EQ(jewel[0].speed, 30.0f);
    // Timer 20 runs out after about 27 frames; then +1.25 a frame.
    EXPECT_GT(fastSpeedAt30, 100.0f);
    EXPECT_LT(fastSpeedAt30, 100.0f + 5 * 1.25f + 0.01f);
}

TEST_F(ItemsTest, ItemCyclesItsKindAndTurnsAtTheLeftEdge) {
    Pitem(600, 10, 180, 10.0f, 0);
    int changes[4] = {0, 0, 0, 0};
    int last = 0;
    for (int f = 1; f <= 850; f++) {
        PitemPass();
        if (pitem[0].col != last) {
            last = pitem[0].col;
            changes[last] = f;
        }
    }
    EXPECT_NEAR(changes[1], 201, 1);
    EXPECT_NEAR(changes[2], 402, 2);
    EXPECT_NEAR(changes[3], 603, 3);
    EXPECT_NEAR(changes[0], 804, 4);  // 3 wraps to 0
    // Drifting left at 0.25 a frame, it turns round once past x 0.
    Pitem(0.1f, 10, 180, 10.0f, 0);
    PitemPass();
    EXPECT_FLOAT_EQ(pitem[1].angle, 0.0f);
    float x = pitem[1].x;
    PitemPass();
    EXPECT_GT(pitem[1].x, x);
}

// Collects one item of kind `col` lying on the ship.
void CollectItem(int col) {
    Pitem(10, 230, 180, 10.0f, 0);
    int slot = -1;
    for (int i = 0; i < PITEM_MAX && slot < 0; i++)
        if (pitem[i].flag && pitem[i].x == 10.0f) slot = i;
    ASSERT_GE(slot, 0);
    pitem[slot].col = col;
    PitemPass();
    EXPECT_FALSE(pitem[slot].flag);
}

TEST_F(ItemsTest, ItemPickupsChooseTheWeaponAndRaiseThePower) {
    JewelValue = 40;
    for (int col = 0; col < 3; col++) {
        CollectItem(col);
        EXPECT_EQ(Weapon, col);
        EXPECT_EQ(BombStock, col + 1);
        EXPECT_EQ(LevelUpFlag, 1);
        EXPECT_TRUE(cry[col].flag);
        EXPECT_FLOAT_EQ(cry[col].x, 16.0f * (col + 1));
        EXPECT_FLOAT_EQ(cry[col].y, 40.0f);
    }
    EXPECT_EQ(dat.score, 3 * 10040);
    EXPECT_EQ(LiveCount(line), 0);
    EXPECT_FALSE(Shield[0].flag);

    // Kind 3 raises the shield with a burst of blue lines into the ship.
    CollectItem(3);
    EXPECT_EQ(Weapon, 2);
    EXPECT_EQ(BombStock, 4);
    EXPECT_TRUE(Shield[0].flag);
    EXPECT_EQ(LiveCount(line), 500);
    EXPECT_EQ(line[0].mode, 2);
    EXPECT_EQ(line[0].b, 255);
    EXPECT_EQ(line[0].r, 0);
    EXPECT_FLOAT_EQ(line[0].x, 32.0f);
    EXPECT_FLOAT_EQ(line[0].y, 252.0f);
    EXPECT_FLOAT_EQ(line[0].speed2, 2.0f);
    // Again with the shield up: only power and score.
    CollectItem(3);
    EXPECT_EQ(BombStock, 5);
    EXPECT_FALSE(Shield[1].flag);
    EXPECT_EQ(LiveCount(line), 500);
}

TEST_F(ItemsTest, FullPowerItemsCountTowardsAnExtraLife) {
    BombStock = 5;
    CollectItem(1);  // the sixth level
    EXPECT_EQ(BombStock, 6);
    EXPECT_EQ(LevelUpFlag, 1);
    EXPECT_TRUE(cry[0].flag);
    EXPECT_FLOAT_EQ(cry[0].x, 96.0f);
    EXPECT_EQ(ChargeCount, 0);

    LevelUpFlag = 0;
    for (int n = 1; n <= 9; n++) {
        CollectItem(0);
        EXPECT_EQ(BombStock, 6);
        EXPECT_EQ(ChargeCount, n);
        EXPECT_EQ(LevelUpFlag, 0);
    }
    EXPECT_EQ(JewelStep, 90);
    EXPECT_EQ(JewelValue, 4500);
    EXPECT_EQ(PlayerStock, 3);
    EXPECT_EQ(LiveCount(line), 0);
    int64_t score = dat.score;
    CollectItem(0);  // the tenth
    EXPECT_EQ(dat.score - score, 4500 + 10000);
    EXPECT_EQ(PlayerStock, 4);
    EXPECT_EQ(BombPulse, 1);
    EXPECT_EQ(ChargeCount, 0);
    EXPECT_EQ(LiveCount(line), 500);
    EXPECT_EQ(line[499].r, 220);
    EXPECT_EQ(line[499].g, 220);
    EXPECT_EQ(line[499].b, 220);
}

// Frames a fresh shield lasts with both passes run every frame.
int ShieldFrames(int difficulty) {
    ResetPlayState();
    OPTION.Difficulty = difficulty;
    SHIELD(0, 0);
    int frames = 0;
    while (Shield[0].flag && frames < 20000) {
        ShieldPass();
        ShieldLatePass();
        frames++;
    }
    return frames;
}

TEST_F(ItemsTest, ShieldLastsByDifficultyAndEndsWithTheShip) {
    EXPECT_NEAR(ShieldFrames(EASY), 12000, 2);
    EXPECT_NEAR(ShieldFrames(NORMAL), 6000, 2);
    EXPECT_NEAR(ShieldFrames(HARD), 2000, 2);
    EXPECT_NEAR(ShieldFrames(SPECIAL), 1000, 2);

    // Handled once a frame, alternately in the early and the late pass,
    // always wrapped round the ship.
    ResetPlayState();
    SHIELD(0, 0);
    EXPECT_FLOAT_EQ(Shield[0].x, -20.0f);
    EXPECT_FLOAT_EQ(Shield[0].y, 205.0f);
    for (int f = 1; f <= 4; f++) {
        P_Ship.x = 10.0f * f;
        ShieldPass();
        ShieldLatePass();
        EXPECT_NEAR(Shield[0].time, 300.0f - 0.05f * f, 1e-3) << f;
        EXPECT_FLOAT_EQ(Shield[0].x, 10.0f * f - 20) << f;
    }
    P_Ship.flag = false;
    ShieldPass();
    ShieldLatePass();
    EXPECT_FALSE(Shield[0].flag);
}

TEST_F(ItemsTest, PopUpShowsItsDigitsAboveTheJewel) {
    ASSERT_TRUE(DD_INIT(nullptr));
    DD_BackInit();
    // Digit strip: digit d is a 16x32 cell filled with pixel value 100 + d.
    Bitmap[6].surface = Plat_SurfaceCreate(160, 32);
    uint16_t* p = Plat_SurfacePixels(Bitmap[6].surface);
    for (int y = 0; y < 32; y++)
        for (int x = 0; x < 160; x++) p[y * 160 + x] = (uint16_t)(100 + x / 16);

    Jewel(200, 230, 180, 20.0f, 0);
    P_Ship.x = 190;
    JewelPass();
    ASSERT_TRUE(JEWELFONT[0].flag);
    float x = JEWELFONT[0].x, y = JEWELFONT[0].y;
    JewelFontPass();
    EXPECT_EQ(DigitCount, 2.0f);
    int left = (int)(x - 0.75f), top = (int)(y - 64);
    const uint16_t* back = Plat_SurfacePixels(DDBack);
    EXPECT_EQ(back[top * 640 + left], 105);        // "5"
    EXPECT_EQ(back[top * 640 + left + 16], 100);   // "0"
    EXPECT_EQ(back[(top + 31) * 640 + left + 31], 100);
    EXPECT_EQ(back[top * 640 + left + 32], 0);     // no third digit
    EXPECT_EQ(back[(top - 1) * 640 + left], 0);
    // It fades after 10 time units, drawn in its last frame.
    int frames = 1;
    while (JEWELFONT[0].flag && frames < 1000) {
        JewelFontPass();
        frames++;
    }
    EXPECT_NEAR(frames, 200, 1);
    DD_END(nullptr);
}

}  // namespace
