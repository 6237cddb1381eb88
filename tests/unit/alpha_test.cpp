// The title picture's blend arithmetic and its one-time capture.
#include <gtest/gtest.h>

#include "render/render.h"

namespace {

class AlphaTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(DD_INIT(nullptr));
        DD_BackInit();
        BlendFlg = false;
        pic.surface = Plat_SurfaceCreate(640, 480);
        pic.width = 640;
        pic.height = 480;
    }
    void TearDown() override {
        Plat_SurfaceFree(pic.surface);
        DD_END(nullptr);
        BlendFlg = false;
    }
    void FillPic(uint16_t v) {
        uint16_t* p = Plat_SurfacePixels(pic.surface);
        for (int i = 0; i < 640 * 480; i++) p[i] = v;
    }
    void FillBack(uint16_t v) {
        uint16_t* p = Plat_SurfacePixels(DDBack);
        for (int i = 0; i < 640 * 480; i++) p[i] = v;
    }
    uint16_t Back(int x, int y) { return Plat_SurfacePixels(DDBack)[y * 640 + x]; }
    SurfaceData pic = {};
};

uint32_t Px(int r, int g, int b) { return (uint32_t)(r << 16 | g << 8 | b); }

}  // namespace

TEST_F(AlphaTest, WeightedBlendClampsItsFactor) {
    FillPic(0xFFFF);  // white over black
    DrawAlpha(0, 0, pic, 0, 0, 640, 480, 300, 0);  // 300 counts as 255
    EXPECT_EQ(DIBBuf[0] & 0xFFFFFF, Px(254, 254, 254));
    EXPECT_EQ(Back(0, 0), Plat_RGB565(254, 254, 254));
    DrawAlpha(0, 0, pic, 0, 0, 640, 480, -5, 0);  // -5 counts as 0: the background
    EXPECT_EQ(DIBBuf[0] & 0xFFFFFF, 0u);
    EXPECT_EQ(Back(100, 100), 0);
    DrawAlpha(0, 0, pic, 0, 0, 640, 480, 128, 0);
    EXPECT_EQ(DIBBuf[0] & 0xFFFFFF, Px(127, 127, 127));
}

TEST_F(AlphaTest, SaturatingAddAndSubtract) {
    BlendFlg = true;  // set the captures by hand
    InitDIB(nullptr, 640, 480);
    for (int i = 0; i < 640 * 480; i++) {
        FrontBuf[i] = Px(200, 200, 200) | 0xAB000000u;
        BackBuf[i] = Px(100, 100, 100) | 0x12000000u;
    }
    DrawAlpha(0, 0, pic, 0, 0, 640, 480, 255, 1);
    EXPECT_EQ(DIBBuf[5], Px(255, 255, 255) | 0x12000000u);  // 100 + 199, saturated
    DrawAlpha(0, 0, pic, 0, 0, 640, 480, 255, 2);
    EXPECT_EQ(DIBBuf[5], 0x12000000u);  // 100 - 199, saturated
    DrawAlpha(0, 0, pic, 0, 0, 640, 480, 100, 1);
    EXPECT_EQ(DIBBuf[5] & 0xFFFFFF, Px(178, 178, 178));  // 100 + 20000/256
    DrawAlpha(0, 0, pic, 0, 0, 640, 480, 0, 0);
    EXPECT_EQ(DIBBuf[5], BackBuf[5]);  // spare byte from the background too
    // An unknown mode leaves the work image as it was and copies it out.
    DrawAlpha(0, 0, pic, 0, 0, 640, 480, 200, 7);
    EXPECT_EQ(DIBBuf[5], BackBuf[5]);
}

TEST_F(AlphaTest, CapturesOnceAndReusesAtAnotherPlace) {
    FillBack(Plat_RGB565(0, 0, 248));  // blue under the picture at the first call
    FillPic(Plat_RGB565(248, 0, 0));
    DrawAlpha(0, 0, pic, 0, 0, 640, 480, 0, 0);
    EXPECT_EQ(Back(10, 10), Plat_RGB565(0, 0, 248));
    // The screen and the picture change; later calls still blend the captures.
    FillBack(0);
    FillPic(0xFFFF);
    DrawAlpha(10, 20, pic, 0, 0, 640, 480, 255, 0);
    EXPECT_EQ(Back(5, 5), 0);  // outside the shifted rectangle: untouched
    EXPECT_EQ(Back(10, 20), Plat_RGB565(254, 0, 0));  // red 255 blended at 255 over the captured blue
}

TEST_F(AlphaTest, RefusesRectanglesThatWouldOverrun) {
    FillPic(0xFFFF);
    DrawAlpha(0, 0, pic, 0, 0, 700, 480, 255, 0);  // past the bitmap
    EXPECT_FALSE(BlendFlg);
    DrawAlpha(0, 0, pic, 0, 0, 2000, 2000, 255, 0);  // larger than the captures
    EXPECT_FALSE(BlendFlg);
    EXPECT_EQ(Back(0, 0), 0);
    DrawAlpha(0, 0, pic, 0, 0, 320, 240, 255, 0);
    EXPECT_TRUE(BlendFlg);
    // Another size than the captured one is refused too.
    FillBack(0);
    DrawAlpha(0, 0, pic, 0, 0, 640, 480, 255, 0);
    EXPECT_EQ(Back(400, 300), 0);
}
