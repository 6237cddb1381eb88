// Stage 5 played through the game binary: a game started there with the
// --stage testing aid, the ship invincible and firing, works its way
// through the script's opening steps (the satellites that follow drift
// off only slowly, so the fly-by comes much later).
#include <gtest/gtest.h>

#include <cstdlib>

#include "harness.h"

using namespace e2e;

TEST(Stage5E2E, AGameStartedAtStage5PlaysItsScript) {
    TempDir tmp;
    WriteFile(tmp / "keys.txt",
              "5 hold SPACE\n6 hold\n"        // skip the intro
              "300 hold SPACE\n301 hold\n"    // play
              "310 hold SPACE\n");            // and fire
    RunResult r = RunGame("--invincible --stage 5 --frames 24000 --script " + (tmp / "keys.txt") +
                              " --state-out " + (tmp / "s.txt") + " --shot 12000:" + (tmp / "sky.png"),
                          tmp);
    ASSERT_EQ(r.exitCode, 0) << r.err;
    std::string s = ReadFile(tmp / "s.txt");
    EXPECT_EQ(StateValue(s, "Scene"), 1) << s;
    EXPECT_EQ(StateValue(s, "StageNo"), 5) << s;
    EXPECT_EQ(StateValue(s, "StagePhase"), 1) << s;
    EXPECT_GE(StateValue(s, "StageStep"), 12) << s;  // the strip sinks to -280 there
    EXPECT_GT(StateValue(s, "Kills"), 100) << s;
    EXPECT_GT(ReadFile(tmp / "sky.png").size(), 1000u);
}

TEST(Stage5E2E, TheStageAidIsRefusedWithReplays) {
    TempDir tmp;
    RunResult r = RunGame("--stage 5 --frames 10 --record " + (tmp / "r.qsr"), tmp);
    EXPECT_NE(r.exitCode, 0);
    EXPECT_NE(r.err.find("--stage"), std::string::npos) << r.err;
    r = RunGame("--stage 6 --frames 10", tmp);
    EXPECT_NE(r.exitCode, 0);
}

// The end of the game: from stage 5's start, invincible and firing, the
// fortress's core falls, the last boss comes in from the left and is shot
// down (its 100 000 000 alone puts the best score past that), the stage
// clears into the staff roll, and the game returns to the title.
TEST(Stage5E2E, TheLastBossFallsAndTheGameEndsAtTheTitle) {
    TempDir tmp;
    WriteFile(tmp / "keys.txt",
              "5 hold SPACE\n6 hold\n"        // skip the intro
              "300 hold SPACE\n301 hold\n"    // play
              "310 hold SPACE\n");            // and fire
    RunResult r = RunGame("--invincible --stage 5 --frames 250000 --draw-every 1000 --script " + (tmp / "keys.txt") +
                              " --state-out " + (tmp / "s.txt"),
                          tmp);
    ASSERT_EQ(r.exitCode, 0) << r.err;
    std::string s = ReadFile(tmp / "s.txt");
    EXPECT_EQ(StateValue(s, "Scene"), 0) << s;
    EXPECT_EQ(StateValue(s, "StageNo"), 1) << s;
    EXPECT_GT(StateValue(s, "HiScore"), 100000000LL) << s;
}
