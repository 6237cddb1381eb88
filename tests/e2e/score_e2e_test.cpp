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

// A new player's first start (no --home): the empty record is written to
// their data folder and loaded without a box. A record that is there but
// cannot be read (here a folder in its place) still gets the box, and an
// empty --home folder is left as it is, box and all.
TEST(ScoreE2E, AFirstStartWritesTheEmptyRecordAndOnlyAnUnreadableOneGetsTheBox) {
    TempDir tmp;
    auto run = [&](const std::string& xdg, const std::string& args) {
        std::string cmd = "XDG_CONFIG_HOME='" + tmp.path + "' XDG_DATA_HOME='" + xdg + "' '" + QS_GAME_BIN +
                          "' --headless --frames 300 " + args + " 2>'" + (tmp / "err.txt") + "'";
        int status = std::system(cmd.c_str());
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << cmd;
        return ReadFile(tmp / "err.txt");
    };
    std::string err = run(tmp / "xdg", "");
    EXPECT_EQ(err.find("ロードできない"), std::string::npos) << err;
    EXPECT_EQ(ReadFile(tmp / "xdg/quellstorm/score.dat"), std::string(1088, '\0'));

    std::system(("mkdir -p '" + (tmp / "bad/quellstorm/score.dat") + "'").c_str());
    err = run(tmp / "bad", "");
    EXPECT_NE(err.find("ロードできない"), std::string::npos) << err;

    std::system(("mkdir -p '" + (tmp / "home") + "'").c_str());
    err = run(tmp / "xdg2", "--home '" + (tmp / "home") + "/'");
    EXPECT_NE(err.find("ロードできない"), std::string::npos) << err;
    EXPECT_EQ(ReadFile(tmp / "home/score.dat"), "");
    EXPECT_EQ(ReadFile(tmp / "xdg2/quellstorm/score.dat"), "");
}
