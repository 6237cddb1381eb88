// The ship flying and firing in a real game.
#include <gtest/gtest.h>

#include <cstdlib>

#include "harness.h"

using namespace e2e;

TEST(PlayerE2E, ShipFliesRightFasterWhileFiringAndStopsAtTheEdge) {
    TempDir tmp;
    // Skip the intro, start the game, then hold right and fire; one bomb on Z.
    WriteFile(tmp / "keys.txt", "5 hold SPACE\n6 hold\n10 hold SPACE\n11 hold\n"
                                "20 hold RIGHT SPACE\n100 press Z\n320 hold\n");
    RunResult r = RunGame("--frames 330 --script " + (tmp / "keys.txt") + " --state-out " + (tmp / "a.txt"), tmp);
    ASSERT_EQ(r.exitCode, 0) << r.err;
    std::string s = ReadFile(tmp / "a.txt");
    ASSERT_NE(s.find("Scene=1 "), std::string::npos) << s;
    // 300 frames at one pixel, every fifth at 1.75 while a volley goes out.
    int x = StateValue(s, "ShipX");
    EXPECT_GT(x, 330) << s;
    EXPECT_LE(x, 345) << s;
    EXPECT_EQ(StateValue(s, "ShipY"), 220) << s;
    EXPECT_EQ(StateValue(s, "BombStock"), 1) << s;

    WriteFile(tmp / "keys2.txt", "5 hold SPACE\n6 hold\n10 hold SPACE\n11 hold\n20 hold RIGHT SPACE\n");
    r = RunGame("--frames 700 --script " + (tmp / "keys2.txt") + " --state-out " + (tmp / "b.txt"), tmp);
    ASSERT_EQ(r.exitCode, 0) << r.err;
    s = ReadFile(tmp / "b.txt");
    x = StateValue(s, "ShipX");
    EXPECT_GE(x, 576) << s;
    EXPECT_LE(x, 577) << s;
}
