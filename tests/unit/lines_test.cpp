// Line effects: thinning, the two-step approach of the far end, and
// drawing in the frame in which a line ends.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "game/frame.h"
#include "play_state.h"
#include "render/render.h"

namespace {

class LineEffects : public PlayStateTest {
protected:
    void SetUp() override {
        PlayStateTest::SetUp();
        ASSERT_TRUE(DD_INIT(nullptr));
    }
    void TearDown() override {
        DD_END(nullptr);
        PlayStateTest::TearDown();
    }
    // Lit rows of column x of the back buffer.
    static int Thickness(int x) {
        int n = 0;
        for (int y = 0; y < 480; y++) n += Plat_SurfacePixels(DDBack)[y * 640 + x] ? 1 : 0;
        return n;
    }
};

TEST_F(LineEffects, ThinningLineIsDrawnUntilAndIncludingItsLastFrame) {
    Line(100, 300, 200, 200, 0.0f, 3.0f, 255, 255, 255, 0);
    const int widths[] = {2, 2, 1, 1, 0, 0, 0, -1};
    for (int f = 0; f < 8; f++) {
        DD_BackInit();
        LinePass();
        if (f < 7) {
            EXPECT_EQ((int)line[0].fade, widths[f]) << "frame " << f + 1;
        }
        EXPECT_EQ(line[0].flag, f < 6) << "frame " << f + 1;
        // A pen below one pixel still draws one; nothing after the end.
        EXPECT_EQ(Thickness(200), f < 7 ? std::max(widths[f], 1) : 0) << "frame " << f + 1;
    }
}

TEST_F(LineEffects, ClosingLineSlowsToAStopAndNeverTurnsRound) {
    Line(100, 300, 100, 50, 0.0f, 4.0f, 255, 0, 0, 1);    // no speed: stands
    Line(100, 300, 100, 100, 2.0f, 40.0f, 255, 0, 0, 1);  // too wide to thin out before it stops
    for (int f = 0; f < 500; f++) LinePass();
    EXPECT_TRUE(line[0].flag);
    EXPECT_FLOAT_EQ(line[0].x2, 300.0f);
    EXPECT_FLOAT_EQ(line[0].fade, 4.0f);
    EXPECT_TRUE(line[1].flag);
    EXPECT_GT(line[1].x2, 297.0f);  // about 2 pixels covered as 2.0 falls by 0.05 a frame
    EXPECT_LT(line[1].x2, 300.0f);
    EXPECT_GT(line[1].fade, 35.0f);
}

TEST_F(LineEffects, BurstLineSweepsInAndJittersAroundTheStart) {
    Line(200, 300, 200, 170, 2.0f, 2.0f, 0, 0, 255, 2);  // 12.5 pixels a frame on each axis
    int frames = 0;
    while (line[0].flag && frames < 100) {
        LinePass();
        frames++;
        if (frames >= 10) {
            EXPECT_LE(std::fabs(line[0].x2 - 200.0f), 12.5f + 1e-3f);
            EXPECT_LE(std::fabs(line[0].y2 - 200.0f), 12.5f + 1e-3f);
        }
    }
    EXPECT_NEAR(frames, 21, 1);  // speed2 2.0 falls by 0.1 a frame
    // A growing line stops at the right edge and stays.
    Line(0, 600, 240, 240, 0.0f, 1.0f, 0, 255, 0, 3);
    for (int f = 0; f < 10; f++) LinePass();
    EXPECT_FLOAT_EQ(line[0].x2, 700.0f);
    EXPECT_TRUE(line[0].flag);
}

}  // namespace
