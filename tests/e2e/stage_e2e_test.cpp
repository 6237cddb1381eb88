// A game started from the title runs stage 1's script.
#include <gtest/gtest.h>

#include "harness.h"

using namespace e2e;

TEST(StageE2E, ANewGameRunsStage1sScript) {
    TempDir tmp;
    // Skip the intro, then start a game at once (around frame 10).
    WriteFile(tmp / "keys.txt", "5 hold SPACE\n6 hold\n10 hold SPACE\n11 hold\n");
    std::string state = tmp / "state.txt";
    // Stage 1's first groups have come by game frame 505 and its first pause
    // lasts to 906.
    RunResult r = RunGame("--invincible --frames 800 --script " + (tmp / "keys.txt") + " --state-out " + state, tmp);
    ASSERT_EQ(r.exitCode, 0) << r.err;
    std::string s = ReadFile(state);
    EXPECT_NE(s.find("Scene=1 "), std::string::npos) << s;
    EXPECT_NE(s.find("StageNo=1 "), std::string::npos) << s;
    EXPECT_NE(s.find("StagePhase=1 "), std::string::npos) << s;
    EXPECT_NE(s.find("StageStep=2 "), std::string::npos) << s;
}
