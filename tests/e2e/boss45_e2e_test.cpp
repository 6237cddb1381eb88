// Stage 4 played from the options screen through its boss, the carrier:
// the ship closes in and keeps firing, the carrier goes down and the stage
// clears into stage 5, whose script starts from its first step.
#include <gtest/gtest.h>

#include <cstdlib>

#include "harness.h"

using namespace e2e;

// Invincible (and drawing only the pictures it keeps, and one in 50, to
// save time), firing from frame 310; when the carrier has come in (the
// boss fight starts around frame 40000) the ship flies up to it. The
// carrier is down and stage 5 is on well before frame 60000. (The score
// says little here: every jewel let go at the left edge turns the jewel
// value's sign, and a held-fire run lets thousands go.)
TEST(Boss45E2E, Stage4sCarrierFallsIntoStage5) {
    TempDir tmp;
    WriteFile(tmp / "keys.txt",
              "5 hold SPACE\n6 hold\n"                          // skip the intro
              "10 hold DOWN\n11 hold\n15 hold SPACE\n16 hold\n"  // options
              "150 hold DOWN\n151 hold\n155 hold DOWN\n156 hold\n"  // the stage row
              "160 hold RIGHT\n161 hold\n165 hold RIGHT\n166 hold\n170 hold RIGHT\n171 hold\n"  // stage 4
              "180 hold SPACE\n181 hold\n"                      // back to the title
              "300 hold SPACE\n301 hold\n"                      // play
              "310 hold SPACE\n"                                // and fire
              "41000 hold RIGHT SPACE\n41040 hold SPACE\n");    // up to the carrier
    RunResult r = RunGame("--invincible --draw-every 50 --frames 64000 --script " + (tmp / "keys.txt") + " --state-out " +
                              (tmp / "s.txt") + " --shot 45000:" + (tmp / "carrier.png") + " --shot 63000:" +
                              (tmp / "stage5.png"),
                          tmp);
    ASSERT_EQ(r.exitCode, 0) << r.err;
    std::string s = ReadFile(tmp / "s.txt");
    EXPECT_EQ(StateValue(s, "StartStage"), 4) << s;
    EXPECT_EQ(StateValue(s, "StageNo"), 5) << s;      // stage 4 was won
    EXPECT_GE(StateValue(s, "StageStep"), 1) << s;   // its script under way
    EXPECT_LT(StateValue(s, "StageStep"), 16) << s;
    EXPECT_EQ(StateValue(s, "StagePhase"), 1) << s;
    EXPECT_GT(ReadFile(tmp / "carrier.png").size(), 1000u);
    EXPECT_GT(ReadFile(tmp / "stage5.png").size(), 1000u);
}
