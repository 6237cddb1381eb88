// The title sequence through the real binary.
#include <gtest/gtest.h>

#include <SDL_image.h>

#include "harness.h"

using namespace e2e;

namespace {

bool White(int r, int g, int b) { return r > 200 && g > 200 && b > 200; }
bool Red(int r, int g, int b) { return r > 200 && g < 60 && b < 60; }

}  // namespace

TEST(SceneE2E, FirstFrameShowsTheInstructions) {
    TempDir tmp;
    std::string shot = tmp / "f1.png";
    RunResult r = RunGame("--frames 1 --shot 1:" + shot, tmp);
    ASSERT_EQ(r.exitCode, 0) << r.err;
    // Each of the seven lines has white text in its own band, none between.
    const int ys[] = {90, 115, 140, 165, 190, 215, 240};
    for (int y : ys) EXPECT_GT(CountPixels(shot, 80, y, 640, y + 20, White), 50) << "line at y " << y;
    EXPECT_EQ(CountPixels(shot, 0, 0, 640, 85, White), 0);
    EXPECT_EQ(CountPixels(shot, 0, 0, 75, 480, White), 0);
    // "Now Loading..." in red below them.
    EXPECT_GT(CountPixels(shot, 40, 320, 640, 350, Red), 100);
    EXPECT_EQ(CountPixels(shot, 0, 0, 640, 315, Red), 0);
}

TEST(SceneE2E, OptionsChangeEachRowAndTheGameStartsWithThem) {
    TempDir tmp;
    // Skip the intro, go to OPTION, open it, wait for the walls, then:
    // difficulty right (HARD), lives left (1), stage right twice (3),
    // power left (1); back to the title and start. (A key pressed in the
    // very poll after its release reads as held, so presses are spaced.)
    WriteFile(tmp / "keys.txt",
              "5 hold SPACE\n6 hold\n"
              "8 hold DOWN\n9 hold\n"
              "10 hold SPACE\n11 hold\n"
              "120 hold RIGHT\n121 hold\n"
              "125 hold DOWN\n126 hold\n130 hold LEFT\n131 hold\n"
              "135 hold DOWN\n136 hold\n140 hold RIGHT\n141 hold\n143 hold RIGHT\n144 hold\n"
              "145 hold DOWN\n146 hold\n150 hold LEFT\n151 hold\n"
              "155 hold SHIFT\n156 hold\n"
              "160 hold SPACE\n161 hold\n");
    std::string state = tmp / "state.txt";
    RunResult r = RunGame("--frames 170 --script " + (tmp / "keys.txt") + " --state-out " + state +
                              " --shot 153:" + (tmp / "options.png"),
                          tmp);
    ASSERT_EQ(r.exitCode, 0) << r.err;
    std::string s = ReadFile(state);
    EXPECT_NE(s.find("Scene=1 "), std::string::npos) << s;
    EXPECT_NE(s.find("Difficulty=2 "), std::string::npos) << s;
    EXPECT_NE(s.find("PlayerStock=1 "), std::string::npos) << s;
    EXPECT_NE(s.find("StageNo=3 "), std::string::npos) << s;
    EXPECT_NE(s.find("BombStock=1 "), std::string::npos) << s;
    EXPECT_NE(s.find("PlayCount=1 "), std::string::npos) << s;
    // The options screen showed the power-stock row's six values.
    EXPECT_GT(CountPixels(tmp / "options.png", 170, 430, 520, 452, White), 100);
}

TEST(SceneE2E, EscapeWritesTheScoreFile) {
    TempDir tmp;
    WriteFile(tmp / "keys.txt", "5 press ESC\n");
    RunResult r = RunGame("--frames 1000 --script " + (tmp / "keys.txt"), tmp);
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(ReadFile(tmp / "score.dat").size(), 1088u);
}
