// Escape and the score file, through the real game binary.
#include <gtest/gtest.h>

#include "harness.h"

using namespace e2e;

TEST(ScoreE2E, EscapeBeforeTheLoadingPassLeavesTheScoreFileAlone) {
    TempDir tmp;
    std::string record(1088, '\x5A');
    WriteFile(tmp / "score.dat", record);
    WriteFile(tmp / "esc.txt", "1 press ESC\n");
    RunResult r = RunGame("--frames 1000 --script " + (tmp / "esc.txt"), tmp);
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(ReadFile(tmp / "score.dat"), record);
}
