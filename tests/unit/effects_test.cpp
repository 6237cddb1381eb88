// Explosions and ambient effects: what ExploHappen does and in which
// order, the kill bonus and jewel drops, chains and rings, charge, and how
// long each effect lives.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "game/frame.h"
#include "platform/display.h"
#include "play_state.h"
#include "player/items.h"
#include "render/render.h"

namespace {

class EffectsTest : public PlayStateTest {
protected:
    // A generator state whose next my_rand(0, 5) is (or is not) 5.
    static uint32_t StateWithOneInSix(bool hit) {
        for (uint32_t s = 1;; s++) {
            RandState = s;
            if ((my_rand(0, 5) == 5) == hit) return s;
        }
    }
};

TEST_F(EffectsTest, StandardExplosionDrawsInItsOrder) {
    const uint32_t start = StateWithOneInSix(false);
    RandState = start;
    ExploHappen(300, 200);

    // Replay the generator in the order the explosion draws.
    const uint32_t after = RandState;
    RandState = start;
    EXPECT_NE(my_rand(0, 5), 5);
    const int angle = my_rand(90, 180);
    const int speed = my_rand(1, 50);
    EXPECT_FLOAT_EQ(Bom[0].angle, (float)angle);
    EXPECT_FLOAT_EQ(Bom[0].speed, (float)speed);
    EXPECT_EQ(LiveCount(gomi), 10);
    for (int i = 0; i < 10; i++) {
        const int gspeed = my_rand(1, 20);  // drawn before the angle
        const int gangle = my_rand(140, 220);
        const int gx = my_rand(-10, 10);
        const int gy = my_rand(-20, 20);
        const int gtimer = my_rand(10, 100);
        const int gextra = my_rand(10, 100);
        EXPECT_FLOAT_EQ(gomi[i].angle, (float)gangle) << i;
        EXPECT_FLOAT_EQ(gomi[i].x, 300.0f + gx) << i;
        EXPECT_FLOAT_EQ(gomi[i].y, 200.0f + gy) << i;
        EXPECT_FLOAT_EQ(gomi[i].timer, (float)gtimer) << i;
        EXPECT_FLOAT_EQ(gomi[i].speed, (float)(gspeed + gextra)) << i;
    }
    EXPECT_EQ(RandState, after);  // nothing else drawn on NORMAL
    EXPECT_EQ(ChargePoints, 20);
    EXPECT_EQ(KillCount, 1);
    EXPECT_EQ(dat.score, 1);

    // One time in six a ring of mid explosions comes first.
    ResetPlayState();
    RandState = StateWithOneInSix(true);
    const uint32_t ring = RandState;
    my_rand(0, 5);
    const int n = my_rand(0, 20);
    RandState = ring;
    ExploHappen(300, 200);
    EXPECT_EQ(LiveCount(Bom2), n + 1);
    EXPECT_FLOAT_EQ(Bom2[0].x, 300.0f);
    EXPECT_EQ(LiveCount(Bom), 1);
    EXPECT_EQ(LiveCount(gomi), n + 1 + 10);
}

TEST_F(EffectsTest, EveryTenthExplosionDropsAJewelAndKillsAddUp) {
    for (int k = 1; k <= 9; k++) ExploHappen(400, 100);
    EXPECT_EQ(LiveCount(jewel), 0);
    EXPECT_EQ(dat.score, 45);
    ExploHappen(400, 100);
    EXPECT_EQ(LiveCount(jewel), 1);
    EXPECT_FLOAT_EQ(jewel[0].x, 400.0f);
    EXPECT_EQ(jewel[0].mode, 0);
    EXPECT_EQ(JewelDropCount, 0);
    EXPECT_EQ(KillCount, 10);
    EXPECT_EQ(dat.score, 55);  // the n-th kill adds n
    // A shot-down bullet counts as a kill but not towards a jewel.
    ExploHappen5(10, 10);
    EXPECT_EQ(KillCount, 11);
    EXPECT_EQ(dat.score, 66);
    EXPECT_EQ(JewelDropCount, 0);
    EXPECT_EQ(LiveCount(Bom3), 1);
    // Behind the shield the tenth leaves nothing, and the count starts again.
    SHIELD(0, 0);
    for (int k = 1; k <= 10; k++) ExploHappen(400, 300);
    EXPECT_EQ(LiveCount(jewel), 1);
    EXPECT_EQ(JewelDropCount, 0);
}

TEST_F(EffectsTest, HardExplosionsFireOneAimedBullet) {
    ExploHappen(300, 200);
    EXPECT_EQ(LiveCount(tama), 0);
    OPTION.Difficulty = HARD;
    ExploHappen(300, 200);
    ASSERT_EQ(LiveCount(tama), 1);
    EXPECT_EQ(tama[0].mode, 1);
    EXPECT_FLOAT_EQ(tama[0].rad, my_atan(308, 208, 32, 252));
    // With no room for the explosion, nothing but its sounds.
    ResetPlayState();
    OPTION.Difficulty = HARD;
    for (int i = 0; i < BOM_MAX; i++) SpriteClaim(Bom);
    RandState = StateWithOneInSix(false);
    ExploHappen(300, 200);
    EXPECT_EQ(ChargePoints + KillCount + JewelDropCount + LiveCount(gomi) + LiveCount(tama), 0);
    EXPECT_EQ(dat.score, 0);
}

TEST_F(EffectsTest, RingsChainsAndLifetimes) {
    renbaku2(200, 150, 0, 60, 0);  // one explosion, where asked
    renbaku(200, 150, 1);          // other kinds make none
    pbaku(200, 150, 2);
    EXPECT_EQ(LiveCount(Bom2), 1);
    EXPECT_FLOAT_EQ(Bom2[0].x, 200.0f);
    ExploHappen8(100, 100, 45);
    EXPECT_EQ(ChargePoints, 30);
    // A boss's end: chains of explosions, each throwing a jewel at the ship.
    ResetPlayState();
    ExploHappen6(320, 240);
    EXPECT_EQ(LiveCount(Bom2), LiveCount(jewel));
    EXPECT_EQ(jewel[0].mode, 4);

    // Explosions live one animation cycle, debris its time.
    ResetPlayState();
    ExploHappen(300, 200);
    gomi[0].timer = 10;
    int bomGone = 0, gomiGone = 0;
    for (int f = 1; f <= 300; f++) {
        EffectsPass();
        if (!bomGone && !Bom[0].flag) bomGone = f;
        if (!gomiGone && !gomi[0].flag) gomiGone = f;
    }
    EXPECT_EQ(bomGone, 70);  // 7 frames of 10 steps
    EXPECT_NEAR(gomiGone, 201, 1);  // drawn for 10 / 0.05 frames, freed on the next
}

}  // namespace

// A picture of the fire and the effects, drawn headless from sheets whose
// every cell shows which cell it is, saved for a person to look at.
namespace {

// The colour of cell (col, row) of a test sheet: red counts columns,
// green rows, blue tells the sheets apart.
uint16_t CellColour(int col, int row, int blue) {
    return Plat_RGB565(40 + 40 * (col % 6), 40 + 24 * (row % 9), blue);
}

// A sheet of cols x rows cells of w x h, each filled with its colour and
// framed in white where the cell is big enough.
void MakeSheet(int slot, int w, int h, int cols, int rows, int blue) {
    Bitmap[slot].surface = Plat_SurfaceCreate(w * cols, h * rows);
    Bitmap[slot].width = w * cols;
    Bitmap[slot].height = h * rows;
    uint16_t* p = Plat_SurfacePixels(Bitmap[slot].surface);
    for (int y = 0; y < h * rows; y++)
        for (int x = 0; x < w * cols; x++) {
            int cx = x % w, cy = y % h;
            bool edge = w >= 8 && h >= 8 && (cx == 0 || cy == 0 || cx == w - 1 || cy == h - 1);
            p[y * w * cols + x] = edge ? 0xFFFF : CellColour(x / w, y / h, blue);
        }
}

uint16_t BackAt(int x, int y) { return Plat_SurfacePixels(DDBack)[y * 640 + x]; }

// The bullets, lasers and sparks by their draw rules (their own update
// draws them in play).
void DrawFire() {
    for (const SpriteData& s : tama)
        if (s.flag) DD_DrawBitmap((int)s.x, (int)s.y, Bitmap[s.bmp], 0, s.frame * s.h, s.w, (s.frame + 1) * s.h);
    for (const SpriteData& s : sLaser)
        if (s.flag) DD_DrawBitmap((int)s.x, (int)s.y, Bitmap[94], 0, 0, 64, 5);
    for (const SpriteData& s : sLaser2)
        if (s.flag) {
            int top = s.opt2 == 1 ? 33 : 0;
            DD_DrawBitmap((int)s.x, (int)s.y, Bitmap[89], 32 * s.mode, top, 32 * s.mode + 32, top + 31 + (top == 0));
        }
    for (const SpriteData& s : flash)
        if (s.flag) DD_DrawBitmap((int)s.x, (int)s.y, Bitmap[s.bmp], 0, s.frame * s.h, s.w, (s.frame + 1) * s.h);
}

TEST_F(EffectsTest, SceneOfFireAndEffects) {
    ASSERT_TRUE(DD_INIT(nullptr));
    // The game's own pictures where they have been made; otherwise sheets
    // whose cells tell which cell was drawn, checked below.
    struct Sheet { int slot; const char* file; int w, h, cols, rows, blue; };
    const Sheet sheets[] = {
        {91, "BMP\\akatama4.bmp", 16, 16, 1, 2, 200},   {98, "BMP\\ring.bmp", 16, 16, 1, 8, 120},
        {94, "BMP\\slaser.bmp", 64, 6, 1, 2, 255},      {89, "BMP\\slaser2.bmp", 32, 32, 18, 2, 160},
        {97, "BMP\\flash.bmp", 16, 16, 1, 8, 60},       {1, "BMP\\bom.bmp", 130, 130, 1, 7, 40},
        {5, "BMP\\bom2.bmp", 64, 64, 1, 8, 80},         {7, "BMP\\bom3.bmp", 32, 32, 1, 8, 100},
        {4, "BMP\\pom.bmp", 16, 16, 1, 4, 140},         {15, "BMP\\JEWEL.bmp", 32, 32, 5, 9, 230},
        {152, "BMP\\gomi.bmp", 4, 4, 1, 8, 255},        {172, "BG\\hosi.bmp", 64, 1, 1, 8, 255},
        {110, "BMP\\pitem.bmp", 32, 32, 4, 6, 180},     {111, "BMP\\shield2.bmp", 100, 100, 1, 3, 250},
    };
    bool realArt = true;
    for (const Sheet& sh : sheets) realArt = DD_LoadBitmap(Bitmap[sh.slot], sh.file) && realArt;
    if (!realArt)
        for (const Sheet& sh : sheets) {
            Plat_SurfaceFree(Bitmap[sh.slot].surface);
            MakeSheet(sh.slot, sh.w, sh.h, sh.cols, sh.rows, sh.blue);
        }

    P_Ship.x = 60;
    P_Ship.y = 300;
    // A ring of 24 bullets as it stands a moment after it was fired, a fan
    // of ring bullets, darts in every direction.
    for (int i = 0; i < 24; i++) {
        double a = 15.0 * i * 0.017444444444444446;
        kou(320 + (float)(70 * std::cos(a)) - 8, 140 + (float)(70 * std::sin(a)) - 8, 15.0f * i, 20, 91, 0);
    }
    for (int i = 0; i < 5; i++) {
        double a = (180 + FanOffset(i, 12)) * 0.017444444444444446;
        kou(600 + (float)(80 * std::cos(a)), 60 + (float)(80 * std::sin(a)), 180 + FanOffset(i, 12), 20, 98, 0);
    }
    for (int i = 0; i < 18; i++) SL2(20 + 34 * i, 420, 10.0f * i, 20, i % 2);
    SL(380, 250, 180, 20);
    SL(380, 270, 180, 20);
    SL(380, 290, 180, 20);
    Flash(250, 260, 0, 5, 97, 0);
    // Jewels of each kind in a row, items of each kind, explosions.
    for (int k = 0; k < 4; k++) Jewel(420 + 40.0f * k, 200, 180, 20.0f, k);
    BombPulse = 1;
    Jewel(580, 200, 180, 20.0f, 0);
    BombPulse = 0;
    for (int k = 0; k < 4; k++) {
        Pitem(420 + 40.0f * k, 330, 180, 10.0f, 0);
        pitem[k].col = k;
    }
    ExploHappen(160, 120);
    ExploHappen3(240, 330);
    ExploHappen4(300, 380);
    pom(200, 250);
    for (int i = 0; i < 6; i++) Hosi(100 + 80.0f * i, 20, 180, 30);
    SHIELD(0, 0);
    Line(600, 500, 120, 60, 0.0f, 3.0f, 255, 255, 0, 0);
    Line(20, 100, 470, 470, 0.0f, 1.0f, 0, 255, 0, 3);
    LineBurst(0, 0, 255);

    for (int f = 0; f < 6; f++) {
        DD_BackInit();
        ShieldPass();
        EffectsPass();
        PitemPass();
        LinePass();
        DrawFire();
        ShieldLatePass();
    }
    std::string path = std::string(QS_BUILD_DIR) + "/fire_scene.png";
    ASSERT_TRUE(Plat_SurfaceSave(DDBack, path.c_str()));

    if (realArt) {
        DD_END(nullptr);
        return;
    }
    // Jewels of kinds 0..3 show columns 3..0 (after a frame the first is
    // still kind 0); items show their kind's column; darts their cell.
    for (int k = 0; k < 4; k++) {
        const SpriteData& j = jewel[k];
        EXPECT_EQ(BackAt((int)j.x + 10, (int)j.y + 10), CellColour(3 - k, j.frame, 230)) << k;
        const SpriteData& it = pitem[k];
        EXPECT_EQ(BackAt((int)it.x + 10, (int)it.y + 10), CellColour(k, it.frame, 180)) << k;
    }
    EXPECT_EQ(BackAt((int)jewel[4].x + 10, (int)jewel[4].y + 10), CellColour(4, jewel[4].frame, 230));
    EXPECT_EQ(BackAt((int)sLaser2[4].x + 10, (int)sLaser2[4].y + 10), CellColour(4, 0, 160));
    EXPECT_EQ(BackAt((int)sLaser2[5].x + 10, (int)sLaser2[5].y + 10), CellColour(5, 1, 160));
    DD_END(nullptr);
}

}  // namespace
