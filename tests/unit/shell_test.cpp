// Pacing, the speed and pause keys, random numbers and the arguments.
#include <gtest/gtest.h>

#include "platform/input.h"
#include "platform/time.h"
#include "render/render.h"
#include "shell/frameloop.h"
#include "shell/replay.h"
#include "shell/shell.h"
#include "shell/watch.h"

TEST(Rand, FollowsTheGameGenerator) {
    uint32_t saved = RandState;
    RandState = 1;
    // The first values of the classic generator from state 1.
    EXPECT_EQ(qs_rand(), 41);
    EXPECT_EQ(qs_rand(), 18467);
    EXPECT_EQ(qs_rand(), 6334);
    EXPECT_EQ(qs_rand(), 26500);
    RandState = 1;
    // 41 / 32767.1 * 101 = 0.126...
    EXPECT_EQ(my_rand(0, 100), 0);
    EXPECT_EQ(my_rand(0, 100), 56);  // 18467 / 32767.1 * 101 = 56.92
    RandState = saved;
}

TEST(Rand, StaysInsideItsBounds) {
    uint32_t saved = RandState;
    RandState = 12345;
    int lo = 1000, hi = -1000;
    for (int i = 0; i < 200000; i++) {
        EXPECT_EQ(my_rand(5, 5), 5);
        int v = my_rand(0, 100);
        if (v < lo) lo = v;
        if (v > hi) hi = v;
        ASSERT_GE(v, 0);
        ASSERT_LE(v, 100);
        int s = my_rand(-3, 3);
        ASSERT_GE(s, -3);
        ASSERT_LE(s, 3);
    }
    EXPECT_EQ(lo, 0);
    EXPECT_EQ(hi, 100);
    RandState = saved;
}

TEST(Pacing, EveryFrameOfTheVirtualClockSteps) {
    PutFps_Reset();
    // A first call with the clock already running steps.
    Plat_AdvanceFrame();
    EXPECT_FLOAT_EQ(PutFps(), 0.05f);
    // No tick since the last call: no step.
    EXPECT_FLOAT_EQ(PutFps(), 0.0f);
    for (int i = 0; i < 1000; i++) {
        Plat_AdvanceFrame();
        ASSERT_FLOAT_EQ(PutFps(), 0.05f) << "frame " << i;
    }
}

class KeysTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(DD_INIT(nullptr));
        SpeedAdjust = 0;
        PauseCount = 0;
    }
    void TearDown() override {
        DD_END(nullptr);
        SpeedAdjust = 0;
        PauseCount = 0;
    }
};

TEST_F(KeysTest, SpeedKeysAddAndSubtractAndNeverGoNegative) {
    Event_Proc(VK_1, nullptr);
    EXPECT_FLOAT_EQ(SpeedAdjust, 0.001f);
    Event_Proc(VK_2, nullptr);
    Event_Proc(VK_3, nullptr);
    EXPECT_FLOAT_EQ(SpeedAdjust, 0.111f);
    Event_Proc(VK_E, nullptr);
    Event_Proc(VK_W, nullptr);
    EXPECT_NEAR(SpeedAdjust, 0.001f, 1e-6);
    SpeedAdjust = 0.0005f;
    Event_Proc(VK_Q, nullptr);
    EXPECT_EQ(SpeedAdjust, 0.0f);
    Event_Proc(VK_E, nullptr);
    EXPECT_EQ(SpeedAdjust, 0.0f);
    // Keys the game does not know change nothing.
    Event_Proc(0x61 /* keypad 1 */, nullptr);
    EXPECT_EQ(SpeedAdjust, 0.0f);
}

TEST_F(KeysTest, SpeedKeyShowsTheCorrectionInRed) {
    DD_BackInit();
    Event_Proc(VK_2, nullptr);
    EXPECT_STREQ(str, "補正 0.010000");
    // Red text appears in the upper left corner (when a font is installed).
    int red = 0;
    uint16_t* p = Plat_SurfacePixels(DDBack);
    for (int y = 25; y < 50; y++)
        for (int x = 0; x < 200; x++)
            if (((p[y * 640 + x] >> 11) & 31) > 20 && ((p[y * 640 + x] >> 5) & 63) < 20) red++;
    EXPECT_GT(red, 20);
}

TEST_F(KeysTest, PauseTogglesOnEachPress) {
    Event_Proc(VK_C, nullptr);
    EXPECT_EQ(PauseCount % 2, 1);
    Event_Proc(VK_C, nullptr);
    EXPECT_EQ(PauseCount % 2, 0);
}

// Watching a replay, the pad is the viewer's: its pause button pauses and
// goes on, and nothing of it reaches the game.
TEST(WatchPad, PausesAndGoesOnAndNeverReachesTheGame) {
    ASSERT_TRUE(Replay_Play(QS_SOURCE_DIR "/tests/golden/bomb_barrage.qsr", true)) << Replay_Problem();
    Watch_BeginFromOutside(false);
    EXPECT_EQ(Shell_PadKey(PAD_START), 0);
    EXPECT_TRUE(Watch_Paused());
    EXPECT_EQ(Shell_PadKey(PAD_A), 0);
    EXPECT_FALSE(Watch_Paused());
    EXPECT_EQ(Shell_PadKey(PAD_X), 0);
    Watch_Stop();
    Replay_Stop();
}

TEST(Args, ParsesOptionsAndRejectsBadOnes) {
    char a0[] = "qs", a1[] = "--headless", a2[] = "--frames", a3[] = "120", a4[] = "--shot", a5[] = "7:x.png",
         a6[] = "--home", a7[] = "/tmp/h";
    char* ok[] = {a0, a1, a2, a3, a4, a5, a6, a7};
    ASSERT_TRUE(Shell_ParseArgs(8, ok));
    EXPECT_TRUE(Options.headless);
    EXPECT_EQ(Options.maxFrames, 120);
    EXPECT_EQ(Options.shotCount, 1);
    EXPECT_EQ(Options.shotFrame[0], 7);
    EXPECT_STREQ(Options.shotFile[0], "x.png");
    EXPECT_STREQ(Options.home, "/tmp/h/");

    char b1[] = "--frames", b2[] = "-3";
    char* bad1[] = {a0, b1, b2};
    EXPECT_FALSE(Shell_ParseArgs(3, bad1));
    char c1[] = "--shot", c2[] = "x.png";
    char* bad2[] = {a0, c1, c2};
    EXPECT_FALSE(Shell_ParseArgs(3, bad2));
    char d1[] = "--fly";
    char* bad3[] = {a0, d1};
    EXPECT_FALSE(Shell_ParseArgs(2, bad3));
    char* bad4[] = {a0, b1};
    EXPECT_FALSE(Shell_ParseArgs(2, bad4));
}
