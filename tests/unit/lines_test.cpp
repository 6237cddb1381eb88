// Line effects: thinning, the two-step approach of the far end, growth,
// and drawing in the frame in which a line ends.
#include <gtest/gtest.h>

#include <cmath>

#include "game/frame.h"
#include "play_state.h"
#include "render/render.h"

namespace {

class LineEffects : public ::testing::Test {
protected:
    void SetUp() override {
        ResetPlayState();
        ASSERT_TRUE(DD_INIT(nullptr));
        DD_BackInit();
    }
    void TearDown() override {
        DD_END(nullptr);
        ResetPlayState();
    }

    // Rows of column x that the back buffer has lit.
    static int Thickness(int x) {
        const uint16_t* p = Plat_SurfacePixels(DDBack);
        int n = 0;
        for (int y = 0; y < 480; y++) n += p[y * 640 + x] ? 1 : 0;
        return n;
    }
};

TEST_F(LineEffects, ThinningLineIsDrawnUntilAndIncludingItsLastFrame) {
    Line(100, 300, 200, 200, 0.0f, 3.0f, 255, 255, 255, 0);
    const int widths[] = {2, 2, 1, 1, 0, 0, 0};
    for (int f = 0; f < 7; f++) {
        DD_BackInit();
        LinePass();
        EXPECT_EQ((int)line[0].fade, widths[f]) << "frame " << f + 1;
        EXPECT_EQ(line[0].flag, f < 6) << "frame " << f + 1;
        // A pen below one pixel still draws one pixel.
        EXPECT_EQ(Thickness(200), widths[f] > 1 ? widths[f] : 1) << "frame " << f + 1;
    }
    DD_BackInit();
    LinePass();
    EXPECT_EQ(Thickness(200), 0);  // gone
}

TEST_F(LineEffects, ClosingLineSlowsToAStopAndNeverTurnsRound) {
    Line(100, 300, 100, 50, 0.0f, 4.0f, 255, 0, 0, 1);
    // Fast enough to close in, too wide to thin out before it stops.
    Line(100, 300, 100, 100, 2.0f, 40.0f, 255, 0, 0, 1);
    for (int f = 0; f < 500; f++) LinePass();
    EXPECT_TRUE(line[0].flag);
    EXPECT_FLOAT_EQ(line[0].x2, 300.0f);
    EXPECT_FLOAT_EQ(line[0].y2, 50.0f);
    EXPECT_FLOAT_EQ(line[0].fade, 4.0f);
    // 2.0 falling by 0.05 a frame: about 2 pixels covered before it stops.
    EXPECT_TRUE(line[1].flag);
    float x2 = line[1].x2, fade = line[1].fade;
    EXPECT_LT(x2, 300.0f);
    EXPECT_GT(x2, 297.0f);
    for (int f = 0; f < 100; f++) LinePass();
    EXPECT_FLOAT_EQ(line[1].x2, x2);
    EXPECT_FLOAT_EQ(line[1].fade, fade);
    // A thin one closing at speed is gone once its pen drops below 0.
    Line(100, 300, 100, 100, 20.0f, 1.0f, 255, 0, 0, 1);  // thins 0.83 a frame
    LinePass();
    EXPECT_TRUE(line[2].flag);
    LinePass();
    EXPECT_FALSE(line[2].flag);
}

TEST_F(LineEffects, BurstLineSweepsInAndJittersAroundTheStart) {
    // Far end 100 right and 30 above; 12.5 pixels a frame on each axis.
    Line(200, 300, 200, 170, 2.0f, 2.0f, 0, 0, 255, 2);
    LinePass();
    EXPECT_FLOAT_EQ(line[0].x2, 287.5f);
    EXPECT_FLOAT_EQ(line[0].y2, 182.5f);
    int frames = 1;
    while (line[0].flag && frames < 100) {
        LinePass();
        frames++;
        if (frames >= 10) {
            // Arrived: it never strays a step beyond the start.
            EXPECT_LE(std::fabs(line[0].x2 - 200.0f), 12.5f + 1e-3f);
            EXPECT_LE(std::fabs(line[0].y2 - 200.0f), 12.5f + 1e-3f);
        }
    }
    EXPECT_NEAR(frames, 21, 1);  // speed2 2.0 falls by 0.1 a frame
}

TEST_F(LineEffects, GrowingLineStopsAtTheRightEdgeAndStays) {
    Line(0, 600, 240, 240, 0.0f, 1.0f, 0, 255, 0, 3);
    for (int f = 0; f < 10; f++) LinePass();
    EXPECT_FLOAT_EQ(line[0].x2, 700.0f);  // 25 a frame, 4 frames
    EXPECT_FLOAT_EQ(line[0].fade, 9.0f);  // +2 a frame while growing
    DD_BackInit();
    LinePass();
    EXPECT_TRUE(line[0].flag);
    EXPECT_EQ(Thickness(320), 9);
}

}  // namespace
