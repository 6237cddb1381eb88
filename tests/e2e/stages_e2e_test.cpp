// A game started at stage 3 from the options screen plays stage 3's script
// through to its boss.
#include <gtest/gtest.h>

#include <cstdlib>

#include "harness.h"

using namespace e2e;

// Started around frame 300 with the fire key held from a ship that stays
// at the left: the mid-size enemies (the cruiser sweeps the screen until it
// is shot down) fall, and the boss fight is on by frame 24000.
TEST(StagesE2E, AGameStartedAtStage3ReachesItsBoss) {
    TempDir tmp;
    WriteFile(tmp / "keys.txt",
              "5 hold SPACE\n6 hold\n"                          // skip the intro
              "10 hold DOWN\n11 hold\n15 hold SPACE\n16 hold\n"  // options
              "150 hold DOWN\n151 hold\n155 hold DOWN\n156 hold\n"  // the stage row
              "160 hold RIGHT\n161 hold\n165 hold RIGHT\n166 hold\n"  // stage 3
              "180 hold SPACE\n181 hold\n"                      // back to the title
              "300 hold SPACE\n301 hold\n"                      // play
              "310 hold SPACE\n");                              // and fire
    RunResult r = RunGame("--invincible --frames 24000 --script " + (tmp / "keys.txt") + " --state-out " +
                              (tmp / "s.txt") + " --shot 18000:" + (tmp / "warning.png"),
                          tmp);
    ASSERT_EQ(r.exitCode, 0) << r.err;
    std::string s = ReadFile(tmp / "s.txt");
    EXPECT_EQ(StateValue(s, "Scene"), 1) << s;
    EXPECT_EQ(StateValue(s, "StartStage"), 3) << s;
    EXPECT_EQ(StateValue(s, "StageNo"), 3) << s;
    EXPECT_EQ(StateValue(s, "StagePhase"), 2) << s;  // the boss fight
    EXPECT_EQ(StateValue(s, "StageStep"), 20) << s;
    EXPECT_GT(ReadFile(tmp / "warning.png").size(), 1000u);
}
