// Stage 1 played through to its WARNING on each difficulty: a ship that
// weaves up and down the left of the screen with the fire key held (and
// two bombs) shoots its way through every group. The ship is invincible
// so that the run always reaches the end of the script.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "harness.h"

using namespace e2e;

namespace {

// Skip the intro, open OPTION, set the difficulty (NORMAL is the
// default), back to the title and start; then fly.
std::string PlayScript(int difficulty) {
    std::string s = "5 hold SPACE\n6 hold\n8 hold DOWN\n9 hold\n10 hold SPACE\n11 hold\n";
    if (difficulty == 0) s += "120 hold LEFT\n121 hold\n";
    if (difficulty >= 2) s += "120 hold RIGHT\n121 hold\n";
    if (difficulty == 3) s += "123 hold RIGHT\n124 hold\n";
    s += "155 hold SHIFT\n156 hold\n160 hold SPACE\n161 hold\n170 hold SPACE RIGHT\n";
    // Weave: up, pause, down the whole height, pause, up again; a bomb at
    // frames 3000 and 8000.
    const int phases[4] = {400, 40, 400, 40};
    const char* keys[4] = {"SPACE UP", "SPACE", "SPACE DOWN", "SPACE"};
    bool bomb1 = false, bomb2 = false;
    for (int f = 250, p = 0; f < 21000; f += phases[p], p = (p + 1) % 4) {
        if (!bomb1 && f > 3000) {
            s += "3000 press Z\n";
            bomb1 = true;
        }
        if (!bomb2 && f > 8000) {
            s += "8000 press Z\n";
            bomb2 = true;
        }
        s += std::to_string(f) + " hold " + keys[p] + "\n";
    }
    return s;
}

class Stage1Playthrough : public ::testing::TestWithParam<int> {};

TEST_P(Stage1Playthrough, ReachesTheWarningWithKillsJewelsAndScore) {
    const int difficulty = GetParam();
    TempDir tmp;
    WriteFile(tmp / "keys.txt", PlayScript(difficulty));
    const int frames = 20000;  // the mid-size enemies hold the script until they are down
    RunResult r = RunGame("--invincible --frames " + std::to_string(frames) + " --script " + (tmp / "keys.txt") +
                              " --state-out " + (tmp / "state.txt") + " --shot 8150:" + (tmp / "mid.png"),
                          tmp);
    ASSERT_EQ(r.exitCode, 0) << r.err;
    std::string s = ReadFile(tmp / "state.txt");
    std::printf("stage 1, difficulty %d: %s\n", difficulty, s.c_str());
    EXPECT_EQ(StateValue(s, "Difficulty"), difficulty) << s;
    EXPECT_EQ(StateValue(s, "StageNo"), 1) << s;
    EXPECT_GE(StateValue(s, "StageStep"), 34) << s;  // the WARNING, or past it
    EXPECT_EQ(StateValue(s, "Deaths"), 0) << s;
    EXPECT_GT(StateValue(s, "Kills"), 300) << s;
    EXPECT_GT(StateValue(s, "Jewels"), 10) << s;
    EXPECT_GT(StateValue(s, "Score"), 200000) << s;
    EXPECT_GT(ReadFile(tmp / "mid.png").size(), 10000u);
}

INSTANTIATE_TEST_SUITE_P(EveryDifficulty, Stage1Playthrough, ::testing::Values(0, 1, 2, 3));

}  // namespace
