// Recording a run and playing it back, verified against its fingerprints.
#include <gtest/gtest.h>

#include <dirent.h>

#include <cstdint>
#include <cstring>

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
    EXPECT_NE(json.find("\"sim\":999,\"game_sim\":2,\"verified\":false"), std::string::npos) << json;
    // A file costs what it holds: an end far past its last line is refused
    // before anything plays, and so is a fingerprint that is not there.
    WriteFile(tmp / "e.qsr", "QSREPLAY 2\nsim 2\n10 K 1\nend 2147483647\n");
    r = RunGame("--play " + (tmp / "e.qsr") + " --verify --result-json " + (tmp / "e.json"), tmp);
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_NE(ReadFile(tmp / "e.json").find("lies far past its last recorded frame (10)"), std::string::npos) << r.err;
    WriteFile(tmp / "h.qsr", "QSREPLAY 2\nsim 2\ndat " + std::string(2176, '0') + "\n10 K 1\n60 K 0\nend 100\n");
    r = RunGame("--play " + (tmp / "h.qsr") + " --verify", tmp);
    EXPECT_EQ(r.exitCode, 3);
    EXPECT_NE(r.err.find("no fingerprint for frame 50"), std::string::npos) << r.err;
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

// Watching a long replay: forward and back 10 s, to the next stage (not
// reached yet: played on without pictures) and back to the first, then on
// to the end; back at the first stage's start, its music (none yet) is
// back too. The recording's fingerprints, every 50 frames, are those of
// a straight playback (its golden test shows it): each is checked on the
// way after every jump, up to the last. The snapshots for going back stay
// within their stated memory.
TEST(ReplayE2E, JumpsLandOnTheStatesOfAStraightPlayback) {
    TempDir tmp;
    std::string replay = std::string(QS_SOURCE_DIR) + "/tests/golden/stage_clear.qsr";
    // The viewer's keys come as keyboard keys; a line waits for its frame
    // after a jump back, and lines inside a jump's span are the jump's.
    WriteFile(tmp / "keys.txt",
              "3000 press RIGHT\n6000 press LEFT\n6500 press PAGEDOWN\n39700 press PAGEUP\n"
              "39800 press LEFT\n40000 press RIGHT\n");
    RunResult r = RunGame("--play " + replay + " --verify --draw-every 0 --script " + (tmp / "keys.txt") +
                              " --result-json " + (tmp / "r.json"),
                          tmp);
    ASSERT_EQ(r.exitCode, 0) << r.err;
    for (const char* jump : {"jumped to frame 5499 ", "jumped to frame 3499 (played on from 2500)",
                             "jumped to frame 39591 ", "jumped to frame 81 (played on from 80), tune \"\"",
                             "jumped to frame 37299 (played on from 36250)", "jumped to frame 42499 "})
        EXPECT_NE(r.err.find(jump), std::string::npos) << jump << "\n" << r.err;
    std::string result = ReadFile(tmp / "r.json");
    EXPECT_NE(result.find("\"verified\":true"), std::string::npos);
    // The ship lost no life and the bot used six bombs, counted once each
    // whatever the jumps went back over.
    EXPECT_NE(result.find("\"misses\":0,\"bombs_used\":6,"), std::string::npos) << result;
    size_t at = r.err.find(" snapshots held in ");
    ASSERT_NE(at, std::string::npos) << r.err;
    long count = std::atol(r.err.c_str() + r.err.rfind(' ', at - 1) + 1);
    long long bytes = std::atoll(r.err.c_str() + at + 19);
    EXPECT_GE(count, 42921 / 1250);  // one every 5 s of game time
    EXPECT_LE(bytes, 48LL * 1024 * 1024);
}

// A kept game (flown down and right) raced as a ghost by another game: the
// ghost is drawn where that game's ship was, and the game plays exactly as
// it does without one (the same fingerprints, the same end).
TEST(ReplayE2E, AGhostIsDrawnAndChangesNothingOfTheGame) {
    TempDir tmp;
    WriteFile(tmp / "ghost.txt", "5 hold SPACE\n6 hold\n40 hold SPACE\n41 hold\n60 hold DOWN SPACE\n140 hold RIGHT SPACE\n"
                                 "300 hold SPACE\n4800 hold\n5000 hold SPACE\n5001 hold\n");
    RunResult r = RunGame("--frames 5100 --draw-every 1000 --keep-replays on --script " + (tmp / "ghost.txt"), tmp);
    ASSERT_EQ(r.exitCode, 0) << r.err;
    WriteFile(tmp / "keys.txt", kKeys);
    std::string runs[2];
    for (int ghost = 0; ghost < 2; ghost++) {
        std::string name = ghost ? "best" : "none";
        r = RunGame("--frames 700 --draw-every 0 --ghost " + name + " --script " + (tmp / "keys.txt") + " --record " +
                        (tmp / (name + ".qsr")) + " --state-out " + (tmp / (name + ".txt")) + " --shot 350:" +
                        (tmp / (name + ".bmp")),
                    tmp);
        ASSERT_EQ(r.exitCode, 0) << r.err;
        std::string rec = ReadFile(tmp / (name + ".qsr"));
        for (size_t at = 0; (at = rec.find(" H ", at)) != std::string::npos; at += 3)
            runs[ghost] += rec.substr(rec.rfind('\n', at) + 1, rec.find('\n', at) - rec.rfind('\n', at));
    }
    EXPECT_GT(runs[0].size(), 200u);
    EXPECT_EQ(runs[0], runs[1]);
    EXPECT_EQ(ReadFile(tmp / "none.txt"), ReadFile(tmp / "best.txt"));
    EXPECT_NE(ReadFile(tmp / "none.bmp"), ReadFile(tmp / "best.bmp"));
}

// Stage practice from the title's F4 page. With 99 lives (opened by the
// record's 99 losses) a practice of stage 1 clears it: its stage score is
// kept beside the record and the records page shows it, marked; its kept
// replay verifies to the very state the practice ended in and says it is
// a practice. The record itself is never written by a practice nor counts
// it: a game played after one counts only itself.
TEST(ReplayE2E, AStagePracticeIsKeptAsPracticeAndNeverCounted) {
    TempDir tmp;
    std::string record(1088, '\0');
    auto put = [&](size_t off, int64_t v, int bytes) { std::memcpy(&record[off], &v, (size_t)bytes); };
    put(8, 5000000, 8);     // high score
    put(84, 7, 4);          // games started
    put(1052, 99, 4);       // ships lost: 99 lives open
    put(328 + 8, 40000, 8); // stage 2's best in a game
    WriteFile(tmp / "score.dat", record);
    // The options: lives (row 1) left from 3 by `lives`; then the page.
    auto keys = [](const char* lives, const char* play) {
        return std::string("5 hold SPACE\n6 hold\n40 hold DOWN\n41 hold\n50 hold SPACE\n51 hold\n200 hold DOWN\n201 hold\n") +
               lives + "230 hold SPACE\n231 hold\n400 press F4\n410 press RETURN\n" + play;
    };
    WriteFile(tmp / "a.txt", keys("210 hold LEFT\n211 hold\n220 hold LEFT\n221 hold\n", "420 hold DOWN SPACE\n470 hold SPACE\n"));
    RunResult r = RunGame("--frames 31000 --draw-every 0 --keep-replays on --script " + (tmp / "a.txt") +
                              " --state-out " + (tmp / "a.state"),
                          tmp);
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(ReadFile(tmp / "score.dat"), record);
    std::string practice = ReadFile(tmp / "practice.txt");
    EXPECT_NE(practice.find("reached NORMAL 2\n"), std::string::npos) << practice;
    EXPECT_NE(practice.find("best 1 "), std::string::npos) << practice;
    std::string state = ReadFile(tmp / "a.state");
    EXPECT_EQ(StateValue(state, "StageNo"), 2) << state;
    EXPECT_EQ(StateValue(state, "Practice"), 2) << state;

    // The one replay kept.
    std::string name;
    int replays = 0;
    if (DIR* d = opendir((tmp / "replays").c_str())) {
        while (dirent* e = readdir(d)) {
            std::string n = e->d_name;
            if (n.size() > 4 && n.compare(n.size() - 4, 4, ".qsr") == 0) name = "replays/" + n, replays++;
        }
        closedir(d);
    }
    ASSERT_EQ(replays, 1);
    std::string file = ReadFile(tmp / name);
    EXPECT_NE(file.find("\nstart-stage 1\n"), std::string::npos);
    EXPECT_NE(file.find("\npractice stage\n"), std::string::npos);
    r = RunGame("--play " + (tmp / name) + " --verify --draw-every 0 --state-out " + (tmp / "b.state") +
                    " --result-json " + (tmp / "b.json"),
                tmp);
    EXPECT_EQ(r.exitCode, 0) << r.err;
    std::string json = ReadFile(tmp / "b.json");
    EXPECT_NE(json.find("\"verified\":true"), std::string::npos) << json;
    EXPECT_NE(json.find("\"practice\":\"stage\""), std::string::npos) << json;
    std::string played = ReadFile(tmp / "b.state");
    EXPECT_EQ(played.substr(played.find(' ')), state.substr(state.find(' ')));  // all but the frame count

    // The records page: stage 1's best is the practice's, marked, in light
    // blue beside the stage's name.
    WriteFile(tmp / "c.txt", "5 hold SPACE\n6 hold\n20 press F2\n");
    r = RunGame("--frames 30 --script " + (tmp / "c.txt") + " --shot 25:" + (tmp / "records.png"), tmp);
    ASSERT_EQ(r.exitCode, 0) << r.err;
    auto lightBlue = [](int cr, int cg, int cb) { return cb > 150 && cb > cr + 50 && cg > cr + 30; };
    EXPECT_GT(CountPixels(tmp / "records.png", 120, 122, 190, 141, lightBlue), 20);
    EXPECT_EQ(CountPixels(tmp / "records.png", 120, 141, 190, 160, lightBlue), 0);  // stage 2's is a game's

    // One life: a practice of stage 5 lost, then a game lost. The record
    // counts the game alone, and the options' first stage is theirs again
    // (the options screen has no fifth stage to show).
    WriteFile(tmp / "practice.txt", practice + "reached NORMAL 5\n");
    WriteFile(tmp / "d.txt", keys("210 hold LEFT\n211 hold\n",
                                  "420 hold SPACE\n4000 hold\n4010 hold SPACE\n4011 hold\n4200 hold SPACE\n4201 hold\n"
                                  "4240 hold SPACE\n8000 hold\n8010 hold SPACE\n8011 hold\n"));
    r = RunGame("--frames 8100 --draw-every 0 --script " + (tmp / "d.txt") + " --state-out " + (tmp / "d.state"), tmp);
    ASSERT_EQ(r.exitCode, 0) << r.err;
    state = ReadFile(tmp / "d.state");
    EXPECT_EQ(StateValue(state, "Scene"), 0) << state;
    EXPECT_EQ(StateValue(state, "StartStage"), 1) << state;
    std::string after = ReadFile(tmp / "score.dat");
    ASSERT_EQ(after.size(), 1088u);
    int32_t plays, deaths;
    std::memcpy(&plays, &after[84], 4);
    std::memcpy(&deaths, &after[1052], 4);
    EXPECT_EQ(plays, 8);
    EXPECT_EQ(deaths, 100);
}
