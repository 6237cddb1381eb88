// Jewels, power items and the shield: spawning, pickups and their scores,
// the item kind cycle and the shield's life.
#include <gtest/gtest.h>

#include "game/frame.h"
#include "play_state.h"
#include "player/items.h"
#include "render/render.h"

namespace {

class ItemsTest : public PlayStateTest {};

TEST_F(ItemsTest, JewelSpawnerKindsAndClamp) {
    Jewel(300, -5, 180, 20.0f, 0);
    EXPECT_FLOAT_EQ(jewel[0].y, 0.0f);
    Jewel(300, 470, 180, 20.0f, 2);
    EXPECT_FLOAT_EQ(jewel[1].y, 460.0f);
    Jewel(300, -64, 180, 20.0f, 5);  // thrown at the ship: centre (316, -48) to (32, 252)
    EXPECT_EQ(jewel[2].mode, 4);
    EXPECT_FLOAT_EQ(jewel[2].speed, 150.0f);
    EXPECT_FLOAT_EQ(jewel[2].y, -64.0f);
    EXPECT_FLOAT_EQ(jewel[2].rad, my_atan(316, -48, 32, 252));
    BombPulse = 1;  // during a bomb's pulse: fast, still heading left
    Jewel(300, -5, 180, 20.0f, 0);
    EXPECT_EQ(jewel[3].mode, 4);
    EXPECT_FLOAT_EQ(jewel[3].speed, 100.0f);
    EXPECT_FLOAT_EQ(jewel[3].y, -5.0f);
    SHIELD(0, 0);  // behind the shield nothing is made at all
    Jewel(300, 100, 180, 20.0f, 0);
    Jewel(300, 100, 180, 20.0f, 5);
    EXPECT_EQ(LiveCount(jewel), 4);
}

TEST_F(ItemsTest, JewelPickupScoresFromTheValueBeforeIt) {
    struct Row { int kind, value, bombs; int64_t score; int step, newValue, shown; };
    const Row rows[] = {
        {0, 100, 0, 1100, 2, 150, 50}, {1, 100, 0, 550, 1, 130, 30},
        {2, 100, 0, 333, 1, 120, 20},  {3, 100, 0, 125, 1, 110, 10},
        {0, -7, 0, 993, 2, 43, 50},    {1, -7, 0, 497, 1, 23, 30},  // -7 / 2 = -3
        {2, -7, 0, 298, 1, 13, 20},    {3, -7, 0, 99, 1, 3, 10},    // -7 / 4 = -1
        // Kind 4 (step 5 before): the value grows by the step, at full power the step too.
        {4, 25000, 5, 102, 5, 25005, 5}, {4, 25000, 6, 227, 6, 25006, 6}, {4, -25000, 6, 173, 6, -24994, 6},
    };
    for (const Row& r : rows) {
        ResetPlayState();
        JewelValue = r.value;
        JewelStep = (r.kind == 4) ? 5 : 0;
        BombStock = r.bombs;
        Jewel(10, 230, 180, 20.0f, r.kind);  // on the ship
        JewelPass();
        EXPECT_FALSE(jewel[0].flag);
        EXPECT_EQ(dat.score, r.score) << "kind " << r.kind << " value " << r.value;
        EXPECT_EQ(JewelStep, r.step) << "kind " << r.kind;
        EXPECT_EQ(JewelValue, r.newValue) << "kind " << r.kind;
        EXPECT_FLOAT_EQ(JEWELFONT[0].value, (float)r.shown);
        EXPECT_EQ(JewelCount[r.kind], 1);
    }
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
    Jewel(-31.5f, 10, 180, 20.0f, 4);  // fast jewels leave without a trace
    JewelPass();
    EXPECT_EQ(JewelValue, 120);
    JewelValue = -2147483647 - 1;  // the end of the range holds instead of wrapping
    Jewel(-31.5f, 10, 180, 20.0f, 0);
    JewelPass();
    EXPECT_EQ(JewelValue, 2147483647);
}

TEST_F(ItemsTest, ItemCyclesItsKindEvery200Frames) {
    Pitem(600, 10, 180, 10.0f, 0);
    int changed[4] = {0, 0, 0, 0}, last = 0;
    for (int f = 1; f <= 850; f++) {
        PitemPass();
        if (pitem[0].col != last) changed[last = pitem[0].col] = f;
    }
    EXPECT_NEAR(changed[1], 201, 1);
    EXPECT_NEAR(changed[3], 603, 3);
    EXPECT_NEAR(changed[0], 804, 4);  // 3 wraps to 0
}

// Collects one item of kind `col` lying on the ship.
void CollectItem(int col) {
    Pitem(10, 230, 180, 10.0f, 0);
    int slot = 0;
    while (slot < PITEM_MAX && !(pitem[slot].flag && pitem[slot].x == 10.0f)) slot++;
    ASSERT_LT(slot, PITEM_MAX);
    pitem[slot].col = col;
    PitemPass();
    EXPECT_FALSE(pitem[slot].flag);
}

TEST_F(ItemsTest, ItemPickupsChooseTheWeaponOrTheShield) {
    JewelValue = 40;
    for (int col = 0; col < 3; col++) {
        CollectItem(col);
        EXPECT_EQ(Weapon, col);
        EXPECT_EQ(BombStock, col + 1);
        EXPECT_TRUE(cry[col].flag);  // a new bomb icon
        EXPECT_FLOAT_EQ(cry[col].x, 16.0f * (col + 1));
    }
    EXPECT_EQ(LevelUpFlag, 1);
    EXPECT_EQ(dat.score, 3 * 10040);
    EXPECT_EQ(LiveCount(line), 0);
    CollectItem(3);  // the shield, with a burst of blue lines into the ship
    EXPECT_EQ(Weapon, 2);
    EXPECT_TRUE(Shield[0].flag);
    EXPECT_EQ(LiveCount(line), 500);
    EXPECT_EQ(line[0].b, 255);
    EXPECT_FLOAT_EQ(line[0].x, 32.0f);
    CollectItem(3);  // again with the shield up: only power and score
    EXPECT_EQ(BombStock, 5);
    EXPECT_FALSE(Shield[1].flag);
    EXPECT_EQ(LiveCount(line), 500);
}

TEST_F(ItemsTest, FullPowerItemsCountTowardsAnExtraLife) {
    BombStock = 5;
    CollectItem(1);  // the sixth level
    EXPECT_EQ(BombStock, 6);
    EXPECT_EQ(LevelUpFlag, 1);
    EXPECT_FLOAT_EQ(cry[0].x, 96.0f);
    EXPECT_EQ(ChargeCount, 0);
    LevelUpFlag = 0;
    for (int n = 1; n <= 9; n++) CollectItem(0);
    EXPECT_EQ(BombStock, 6);
    EXPECT_EQ(ChargeCount, 9);
    EXPECT_EQ(LevelUpFlag, 0);
    EXPECT_EQ(JewelStep, 90);
    EXPECT_EQ(JewelValue, 4500);
    EXPECT_EQ(LiveCount(line), 0);
    int64_t score = dat.score;
    CollectItem(0);  // the tenth
    EXPECT_EQ(dat.score - score, 4500 + 10000);
    EXPECT_EQ(PlayerStock, 4);
    EXPECT_EQ(BombPulse, 1);
    EXPECT_EQ(ChargeCount, 0);
    EXPECT_EQ(LiveCount(line), 500);
    EXPECT_EQ(line[499].r, 220);
}

// Frames a fresh shield lasts with both passes run every frame.
int ShieldFrames(int difficulty) {
    ResetPlayState();
    OPTION.Difficulty = difficulty;
    SHIELD(0, 0);
    int frames = 0;
    for (; Shield[0].flag && frames < 20000; frames++) {
        P_Ship.x = (float)(frames % 100);
        ShieldPass();
        ShieldLatePass();  // handled in one of the two, so always round the ship
        EXPECT_FLOAT_EQ(Shield[0].x, P_Ship.x - 20);
    }
    return frames;
}

TEST_F(ItemsTest, ShieldLastsByDifficultyAndEndsWithTheShip) {
    EXPECT_NEAR(ShieldFrames(EASY), 12000, 2);
    EXPECT_NEAR(ShieldFrames(NORMAL), 6000, 2);
    EXPECT_NEAR(ShieldFrames(HARD), 2000, 2);
    EXPECT_NEAR(ShieldFrames(SPECIAL), 1000, 2);
    ResetPlayState();
    SHIELD(0, 0);
    P_Ship.flag = false;
    ShieldPass();
    ShieldLatePass();
    EXPECT_FALSE(Shield[0].flag);
}

TEST_F(ItemsTest, PopUpShowsItsDigitsAboveTheJewel) {
    ASSERT_TRUE(DD_INIT(nullptr));
    DD_BackInit();
    // Digit strip: digit d is a 16x32 cell of pixel value 100 + d.
    Bitmap[6].surface = Plat_SurfaceCreate(160, 32);
    uint16_t* p = Plat_SurfacePixels(Bitmap[6].surface);
    for (int i = 0; i < 160 * 32; i++) p[i] = (uint16_t)(100 + (i % 160) / 16);
    Jewel(200, 230, 180, 20.0f, 0);
    P_Ship.x = 190;
    JewelPass();
    int left = (int)(JEWELFONT[0].x - 0.75f), top = (int)(JEWELFONT[0].y - 64);
    JewelFontPass();
    const uint16_t* back = Plat_SurfacePixels(DDBack);
    EXPECT_EQ(back[top * 640 + left], 105);       // "5"
    EXPECT_EQ(back[top * 640 + left + 16], 100);  // "0"
    EXPECT_EQ(back[top * 640 + left + 32], 0);    // two digits only
    int frames = 1;
    for (; JEWELFONT[0].flag && frames < 1000; frames++) JewelFontPass();
    EXPECT_NEAR(frames, 200, 1);  // 10 time units
    DD_END(nullptr);
}

}  // namespace
