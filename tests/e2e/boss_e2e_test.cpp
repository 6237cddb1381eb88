// Stage 1 played to its boss, and a game lost to it: the game-over picture,
// a shot key, and the title's intro again.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "harness.h"

using namespace e2e;

// Started at frame 10 with nothing shot, the stage waits for each
// mid-size enemy to leave on its own; the WARNING ends and the boss is
// made between frames 25000 and 26000. Nothing can beat it here, so the
// fight is still on at 27500.
TEST(BossE2E, Stage1ReachesItsBossAfterTheWarning) {
    TempDir tmp;
    WriteFile(tmp / "keys.txt", "5 hold SPACE\n6 hold\n10 hold SPACE\n11 hold\n");
    RunResult r = RunGame("--invincible --frames 27500 --script " + (tmp / "keys.txt") + " --state-out " +
                              (tmp / "s.txt") + " --shot 27000:" + (tmp / "boss.png"),
                          tmp);
    ASSERT_EQ(r.exitCode, 0) << r.err;
    std::string s = ReadFile(tmp / "s.txt");
    EXPECT_EQ(StateValue(s, "Scene"), 1) << s;
    EXPECT_EQ(StateValue(s, "StageNo"), 1) << s;
    EXPECT_EQ(StateValue(s, "StagePhase"), 2) << s;  // the boss fight
    EXPECT_EQ(StateValue(s, "StageStep"), 35) << s;
    EXPECT_GT(ReadFile(tmp / "boss.png").size(), 1000u);
}

// One life (set on the options screen) and the ship flying right without
// firing: the stage's first enemies take it on its way to the right edge,
// the game-over picture follows 50 frames later and stays while the game
// runs on through the boss's arrival, and a shot key at 27600 goes back to
// the title.
TEST(BossE2E, TheLastLifeLostGoesThroughGameOverToTheTitle) {
    TempDir tmp;
    WriteFile(tmp / "keys.txt",
              "5 hold SPACE\n6 hold\n"                      // skip the intro
              "10 hold DOWN\n11 hold\n15 hold SPACE\n16 hold\n"  // options
              "150 hold DOWN\n151 hold\n155 hold LEFT\n156 hold\n"  // one life
              "160 hold SPACE\n161 hold\n"                  // back to the title
              "300 hold SPACE\n301 hold RIGHT\n"            // play, hold right
              "27500 hold\n27600 hold SPACE\n27601 hold\n");
    std::string keys = " --script " + (tmp / "keys.txt");
    RunResult r = RunGame("--frames 27500" + keys + " --state-out " + (tmp / "over.txt"), tmp);
    ASSERT_EQ(r.exitCode, 0) << r.err;
    std::string s = ReadFile(tmp / "over.txt");
    EXPECT_EQ(StateValue(s, "Scene"), 1) << s;  // the game runs on under the picture
    EXPECT_EQ(StateValue(s, "StagePhase"), 2) << s;
    EXPECT_EQ(StateValue(s, "PlayerStock"), 0) << s;
    EXPECT_EQ(StateValue(s, "Deaths"), 1) << s;
    EXPECT_GT(StateValue(s, "ShipX"), 0) << s;  // left where it was lost
    EXPECT_LT(StateValue(s, "ShipX"), 576) << s;

    r = RunGame("--frames 27700" + keys + " --state-out " + (tmp / "title.txt"), tmp);
    ASSERT_EQ(r.exitCode, 0) << r.err;
    s = ReadFile(tmp / "title.txt");
    EXPECT_EQ(StateValue(s, "Scene"), 0) << s;
    EXPECT_EQ(StateValue(s, "MenuState"), 0) << s;  // the intro plays again
    EXPECT_EQ(StateValue(s, "StageNo"), 1) << s;
    EXPECT_EQ(StateValue(s, "StagePhase"), 1) << s;
    EXPECT_EQ(StateValue(s, "StageStep"), 0) << s;
    EXPECT_EQ(StateValue(s, "Score"), 0) << s;
    EXPECT_EQ(StateValue(s, "ShipX"), 0) << s;
    // The game over saved the record, with the lost ship counted.
    std::string saved = ReadFile(tmp / "score.dat");
    ASSERT_EQ(saved.size(), 1088u);
    int32_t deaths;
    std::memcpy(&deaths, saved.data() + 1052, 4);
    EXPECT_EQ(deaths, 1);
}
