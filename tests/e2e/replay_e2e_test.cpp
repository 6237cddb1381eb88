// Recording a run and playing it back, verified against its fingerprints.
#include <gtest/gtest.h>

#include "harness.h"

using namespace e2e;

namespace {

// A run through the menus into the game with moves, speed keys and pause.
const char* kKeys =
    "5 hold SPACE\n6 hold\n"
    "40 hold SPACE\n41 hold\n"
    "60 hold RIGHT UP SPACE\n"
    "90 press 2\n100 press C\n120 press C\n"
    "300 hold DOWN SHIFT\n400 press Z\n450 press Q\n";

}  // namespace

TEST(ReplayE2E, PlaybackMatchesTheRecordingAndAnAlteredOneIsCaught) {
    TempDir tmp;
    WriteFile(tmp / "keys.txt", kKeys);
    std::string rec = tmp / "run.qsr";
    RunResult r = RunGame("--frames 700 --script " + (tmp / "keys.txt") + " --record " + rec + " --state-out " +
                              (tmp / "a.txt") + " --shot 700:" + (tmp / "a.bmp"),
                          tmp);
    ASSERT_EQ(r.exitCode, 0) << r.err;
    std::string replay = ReadFile(rec);
    ASSERT_EQ(replay.rfind("QSREPLAY 2\n", 0), 0u);
    EXPECT_NE(replay.find("end 700"), std::string::npos);

    r = RunGame("--play " + rec + " --verify --state-out " + (tmp / "b.txt") + " --shot 700:" + (tmp / "b.bmp"), tmp);
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(ReadFile(tmp / "a.txt"), ReadFile(tmp / "b.txt"));
    EXPECT_EQ(ReadFile(tmp / "a.bmp"), ReadFile(tmp / "b.bmp"));

    // Drop the pause key's second press: the game stays paused from frame
    // 100 on, and the check names the first fingerprint that differs.
    std::string altered = replay;
    size_t at = altered.find("120 P 43\n");
    ASSERT_NE(at, std::string::npos);
    altered.erase(at, 9);
    WriteFile(tmp / "altered.qsr", altered);
    r = RunGame("--play " + (tmp / "altered.qsr") + " --verify", tmp);
    EXPECT_EQ(r.exitCode, 3);
    EXPECT_NE(r.err.find("at frame 150"), std::string::npos) << r.err;
}

TEST(ReplayE2E, BadReplaysAreRefusedClearly) {
    TempDir tmp;
    WriteFile(tmp / "x.qsr", "QSREPLAY 9\n");
    RunResult r = RunGame("--play " + (tmp / "x.qsr"), tmp);
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_NE(r.err.find("format"), std::string::npos) << r.err;
    WriteFile(tmp / "y.qsr", "QSREPLAY 1\n10 K 1\n5 K 0\n");
    r = RunGame("--play " + (tmp / "y.qsr"), tmp);
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_NE(r.err.find("line 3"), std::string::npos) << r.err;
    WriteFile(tmp / "z.qsr", "QSREPLAY 1\n10 X nonsense\n");
    r = RunGame("--play " + (tmp / "z.qsr"), tmp);
    EXPECT_EQ(r.exitCode, 2);
    r = RunGame("--play " + (tmp / "missing.qsr"), tmp);
    EXPECT_EQ(r.exitCode, 2);
    // Another simulation's recording is refused by name, and the result
    // says which versions met.
    WriteFile(tmp / "s.qsr", "QSREPLAY 2\nsim 999\n10 K 1\nend 20\n");
    r = RunGame("--play " + (tmp / "s.qsr") + " --verify --result-json " + (tmp / "s.json"), tmp);
    EXPECT_EQ(r.exitCode, 6);
    EXPECT_NE(r.err.find("version 999"), std::string::npos) << r.err;
    std::string json = ReadFile(tmp / "s.json");
    EXPECT_NE(json.find("\"sim\":999,\"game_sim\":1,\"verified\":false"), std::string::npos) << json;
}

TEST(ReplayE2E, PlaybackNeverWritesTheScoreFile) {
    TempDir tmp;
    WriteFile(tmp / "keys.txt", "5 hold SPACE\n6 hold\n40 press ESC\n");
    RunResult r = RunGame("--frames 100 --script " + (tmp / "keys.txt") + " --record " + (tmp / "r.qsr"), tmp);
    ASSERT_EQ(r.exitCode, 0) << r.err;
    std::string saved = ReadFile(tmp / "score.dat");
    ASSERT_EQ(saved.size(), 1088u);
    std::remove((tmp / "score.dat").c_str());
    r = RunGame("--play " + (tmp / "r.qsr") + " --verify", tmp);
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_TRUE(ReadFile(tmp / "score.dat").empty());
}

// In a window the display shows one picture for every four or so game
// frames, and the frames in between leave their pixel work out. The
// pictures that are shown must be exactly those of a run that draws them
// all, through the menus, a stage with its fire and effects, and a death.
TEST(ReplayE2E, UndrawnPicturesChangeNothingThatIsShown) {
    TempDir tmp;
    std::string replay = std::string(QS_SOURCE_DIR) + "/tests/golden/death_respawn.qsr";
    const long frames[] = {3, 41, 400, 1203, 1600, 2000, 2399};
    std::string shotsA, shotsB;
    for (long f : frames) {
        shotsA += " --shot " + std::to_string(f) + ":" + (tmp / ("a" + std::to_string(f) + ".bmp"));
        shotsB += " --shot " + std::to_string(f) + ":" + (tmp / ("b" + std::to_string(f) + ".bmp"));
    }
    RunResult r = RunGame("--play " + replay + " --verify" + shotsA, tmp);
    ASSERT_EQ(r.exitCode, 0) << r.err;
    r = RunGame("--play " + replay + " --verify --draw-every 4" + shotsB, tmp);
    ASSERT_EQ(r.exitCode, 0) << r.err;
    for (long f : frames) {
        std::string a = ReadFile(tmp / ("a" + std::to_string(f) + ".bmp"));
        EXPECT_FALSE(a.empty()) << f;
        EXPECT_EQ(a, ReadFile(tmp / ("b" + std::to_string(f) + ".bmp"))) << "picture of frame " << f;
    }
}
