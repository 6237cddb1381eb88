// Sprite copies, clipping, tiles, digits, the colour key and lines.
#include <gtest/gtest.h>

#include "game/game.h"
#include "platform/display.h"
#include "render/render.h"
#include "shell/shell.h"

namespace {

// A w x h sheet whose pixel at (x, y) is 1 + x + y*w (never the key).
SurfaceData MakeSheet(int w, int h) {
    SurfaceData s = {};
    s.surface = Plat_SurfaceCreate(w, h);
    s.width = w;
    s.height = h;
    uint16_t* p = Plat_SurfacePixels(s.surface);
    for (int i = 0; i < w * h; i++) p[i] = (uint16_t)(1 + i);
    return s;
}

uint16_t Back(int x, int y) { return Plat_SurfacePixels(DDBack)[y * 640 + x]; }

// Bounding box of the non-zero pixels of the back buffer.
struct Box { int l, t, r, b, count; };
Box Drawn() {
    Box bx = {640, 480, -1, -1, 0};
    for (int y = 0; y < 480; y++)
        for (int x = 0; x < 640; x++)
            if (Back(x, y)) {
                bx.count++;
                if (x < bx.l) bx.l = x;
                if (y < bx.t) bx.t = y;
                if (x > bx.r) bx.r = x;
                if (y > bx.b) bx.b = y;
            }
    return bx;
}

class RenderTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(DD_INIT(nullptr));
        DD_BackInit();
        sheet = MakeSheet(64, 64);
    }
    void TearDown() override {
        Plat_SurfaceFree(sheet.surface);
        DD_END(nullptr);
    }
    SurfaceData sheet;
};

TEST_F(RenderTest, ClippingFollowsTheBlitterOrder) {
    // Left edge: drawn from source column 10 at x = 0, 54 wide.
    DD_DrawBitmap(-10, 100, sheet, 0, 0, 64, 64);
    Box b = Drawn();
    EXPECT_EQ(b.l, 0);
    EXPECT_EQ(b.r, 53);
    EXPECT_EQ(Back(0, 100), 1 + 10);

    // Right edge: cut to 40 columns.
    DD_BackInit();
    DD_DrawBitmap(600, 0, sheet, 0, 0, 64, 64);
    b = Drawn();
    EXPECT_EQ(b.l, 600);
    EXPECT_EQ(b.r, 639);

    // Ending exactly at 640 is drawn whole.
    DD_BackInit();
    DD_DrawBitmap(576, 0, sheet, 0, 0, 64, 64);
    EXPECT_EQ(Drawn().count, 64 * 64);
    EXPECT_EQ(Back(639, 63), 64 * 64);

    // At 640 or beyond, or far above the top: nothing.
    DD_BackInit();
    DD_DrawBitmap(640, 0, sheet, 0, 0, 64, 64);
    DD_DrawBitmap(700, 0, sheet, 0, 0, 64, 64);
    DD_DrawBitmap(0, -100, sheet, 0, 0, 64, 64);
    EXPECT_EQ(Drawn().count, 0);

    // Bottom edge.
    DD_DrawBitmap(0, 470, sheet, 0, 0, 64, 64);
    b = Drawn();
    EXPECT_EQ(b.t, 470);
    EXPECT_EQ(b.b, 479);
    EXPECT_EQ(b.count, 64 * 10);
}

TEST_F(RenderTest, SourceOutsideTheBitmapOrEmptySlotDrawsNothing) {
    DD_DrawBitmap(10, 10, sheet, 32, 0, 96, 64);  // reaches past the sheet
    DD_DrawBitmap(10, 10, sheet, -1, 0, 10, 10);
    SurfaceData empty = {};
    DD_DrawBitmap(10, 10, empty, 0, 0, 64, 64);
    DD_DrawBitmap(10, 10, sheet, 5, 5, 5, 20);  // zero width
    EXPECT_EQ(Drawn().count, 0);
}

TEST_F(RenderTest, ColourKeyIsPixelValueZeroAfterConversion) {
    uint16_t* p = Plat_SurfacePixels(sheet.surface);
    p[0] = Plat_RGB565(7, 3, 7);   // near black: becomes the key
    p[1] = Plat_RGB565(8, 0, 0);   // just bright enough to be drawn
    p[2] = Plat_RGB565(0, 4, 0);
    p[3] = Plat_RGB565(0, 0, 8);
    p[4] = 0;
    EXPECT_EQ(p[0], 0);
    uint16_t* bb = Plat_SurfacePixels(DDBack);
    for (int i = 0; i < 5; i++) bb[i] = 0x1234;
    DD_DrawBitmap(0, 0, sheet, 0, 0, 5, 1);
    EXPECT_EQ(Back(0, 0), 0x1234);
    EXPECT_NE(Back(1, 0), 0x1234);
    EXPECT_NE(Back(2, 0), 0x1234);
    EXPECT_NE(Back(3, 0), 0x1234);
    EXPECT_EQ(Back(4, 0), 0x1234);
}

TEST_F(RenderTest, TileOffsetsWrapOncePerCall) {
    SurfaceData bg = MakeSheet(640, 480);
    FrameStep = 0.05f;
    TileX = -640;  // -640 + 0.05 * -200 = -650 -> -10
    TileY = 0;
    DD_DrawTile(-200, 0, bg, 0, 0, 640, 480, false);
    EXPECT_FLOAT_EQ(TileX, -10);
    TileX = 5;  // positive: one wrap back
    DD_DrawTile(0, 0, bg, 0, 0, 640, 480, false);
    EXPECT_FLOAT_EQ(TileX, -635);

    // A pinned strip's vertical offset is held at 0 before it moves.
    TileY = -100;
    DD_BackInit();
    DD_DrawTile(0, 40, bg, 0, 0, 640, 480, true);
    EXPECT_FLOAT_EQ(TileY, 2 - 480);  // pinned to 0, moved by 2, wrapped
    // Drawn with the offsets from before the update.
    EXPECT_EQ(Back(0, 0), 1 + 635 + 100 * 640);
    Tile2Y = -30;
    DD_DrawTile2(0, 40, bg, 0, 0, 640, 480, true);
    EXPECT_FLOAT_EQ(Tile2Y, 2 - 480);
    Tile2Y = -30;
    DD_DrawTile2(0, -40, bg, 0, 0, 640, 480, true);
    EXPECT_FLOAT_EQ(Tile2Y, -2);
    Tile2Y = -30;  // not pinned
    DD_DrawTile2(0, -40, bg, 0, 0, 640, 480, false);
    EXPECT_FLOAT_EQ(Tile2Y, -32);

    // One row only for the third filler.
    Tile3X = 0;
    DD_BackInit();
    SurfaceData strip = MakeSheet(100, 20);
    DD_DrawTile3(-100, 50.9f, strip, 0, 0, 100, 20);
    Box b = Drawn();
    EXPECT_EQ(b.t, 50);
    EXPECT_EQ(b.b, 69);
    EXPECT_EQ(b.count, 640 * 20);
    EXPECT_FLOAT_EQ(Tile3X, -5);
    Plat_SurfaceFree(strip.surface);
    Plat_SurfaceFree(bg.surface);
    TileX = TileY = Tile2X = Tile2Y = Tile3X = 0;
}

TEST_F(RenderTest, DigitsAreDrawnWithLeadingZerosAndFixedCount) {
    SurfaceData saved = Bitmap[6];
    Bitmap[6] = MakeSheet(160, 32);
    auto DigitAt = [](int x) {  // which cell was copied to column x
        return (Back(x, 0) - 1) % 160 / 16;
    };
    MyFontShow(0, 0, 3, 7);
    EXPECT_EQ(DigitAt(0), 0);
    EXPECT_EQ(DigitAt(16), 0);
    EXPECT_EQ(DigitAt(32), 7);
    EXPECT_EQ(Back(48, 0), 0);
    DD_BackInit();
    MyFontShow(0, 0, 2, 123);
    EXPECT_EQ(DigitAt(0), 2);
    EXPECT_EQ(DigitAt(16), 3);
    DD_BackInit();
    MyFontShow(0, 0, 12, 2147483647);  // more digits than an int holds
    EXPECT_EQ(DigitAt(0), 0);
    EXPECT_EQ(DigitAt(16), 0);
    EXPECT_EQ(DigitAt(32), 2);
    EXPECT_EQ(DigitAt(176), 7);
    Plat_SurfaceFree(Bitmap[6].surface);
    Bitmap[6] = saved;
}

TEST_F(RenderTest, LinesLeaveOutTheirEndPoint) {
    DD_DrawLine(10, 10, 20, 10, 1, 255, 255, 255);
    EXPECT_NE(Back(10, 10), 0);
    EXPECT_NE(Back(19, 10), 0);
    EXPECT_EQ(Back(20, 10), 0);
    EXPECT_EQ(Drawn().count, 10);
    DD_BackInit();
    DD_DrawLine(100, 100, 100, 130, 0, 255 + 256, 0, 0);  // width 0 is one pixel; 511 & 255
    EXPECT_EQ(Drawn().count, 30);
    EXPECT_EQ(Back(100, 100), Plat_RGB565(255, 0, 0));
    DD_BackInit();
    DD_DrawLine(50, 50, 150, 50, 3, 0, 255, 0);
    Box b = Drawn();
    EXPECT_EQ(b.b - b.t + 1, 3);
    EXPECT_EQ(b.count, 300);
    DD_BackInit();
    DD_DrawLine(-5000, 240, 5000, 240, 2, 255, 255, 255);  // far off screen: clipped, not crashing
    EXPECT_EQ(Drawn().count, 640 * 2);
}

}  // namespace
