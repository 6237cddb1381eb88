// Recordings cut short, as a process that died while recording leaves
// them, and the replays a window session keeps.
#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <csignal>
#include <random>
#include <spawn.h>
#include <thread>
#include <vector>

#include "harness.h"
#include "entity/entity.h"
#include "game/game.h"
#include "shell/savestate.h"

using namespace e2e;

extern char** environ;

namespace {

// The frame named by the incomplete-replay message, or -1 without one.
long IncompleteAt(const std::string& err) {
    if (err.find("is incomplete") == std::string::npos) return -1;
    size_t at = err.find("up to frame ");
    return at == std::string::npos ? -1 : std::atol(err.c_str() + at + 12);
}

// The frame of the last fingerprint line in `text` (0 when none).
long LastFingerprint(const std::string& text) {
    long last = 0;
    size_t pos = 0;
    while ((pos = text.find(" H ", pos)) != std::string::npos) {
        size_t start = text.rfind('\n', pos);
        long f = std::atol(text.c_str() + (start == std::string::npos ? 0 : start + 1));
        size_t eol = text.find('\n', pos);
        if (eol != std::string::npos) last = f;  // only whole lines count
        pos += 3;
    }
    return last;
}

// Plays a cut recording and checks that it stops by itself where it may.
void ExpectStopsCleanly(const std::string& cut, const TempDir& tmp, const std::string& what) {
    WriteFile(tmp / "cut.qsr", cut);
    RunResult r = RunGame("--play " + (tmp / "cut.qsr") + " --verify", tmp);
    size_t firstLine = cut.find('\n');
    if (firstLine == std::string::npos && cut.rfind("QSREPLAY 2", 0) != 0) {
        // Not even the format line: refused as not a replay.
        EXPECT_EQ(r.exitCode, 2) << what << "\n" << r.err;
        EXPECT_TRUE(r.err.find("not a replay") != std::string::npos || r.err.find("is empty") != std::string::npos)
            << what << "\n" << r.err;
        return;
    }
    // Never a difference from the recording: every frame played is whole.
    ASSERT_EQ(r.exitCode, 5) << what << "\n" << r.err;
    long at = IncompleteAt(r.err);
    EXPECT_GE(at, LastFingerprint(cut)) << what << "\n" << r.err;
    EXPECT_LE(at, 400) << what << "\n" << r.err;
}

}  // namespace

TEST(ReplayCutE2E, ARecordingCutAnywhereStopsAtItsLastWholeFrame) {
    TempDir tmp;
    WriteFile(tmp / "keys.txt",
              "5 hold SPACE\n6 hold\n40 hold SPACE\n41 hold\n60 hold RIGHT UP SPACE\n"
              "100 press C\n120 press C\n200 hold DOWN SHIFT\n260 press Z\n");
    RunResult r = RunGame("--frames 400 --script " + (tmp / "keys.txt") + " --record " + (tmp / "full.qsr"), tmp);
    ASSERT_EQ(r.exitCode, 0) << r.err;
    std::string full = ReadFile(tmp / "full.qsr");
    size_t endLine = full.rfind("end 400\n");
    ASSERT_NE(endLine, std::string::npos);
    // Every line boundary before the end line, and in front of it.
    for (size_t pos = 0; pos <= endLine; pos = full.find('\n', pos) + 1) {
        ExpectStopsCleanly(full.substr(0, pos), tmp, "cut at byte " + std::to_string(pos));
        if (HasFatalFailure()) return;
    }
    // Inside lines, including inside the end line itself.
    std::mt19937 gen(18);
    std::vector<size_t> cuts = {endLine + 5, 4};
    for (int i = 0; i < 4; i++) cuts.push_back(std::uniform_int_distribution<size_t>(1, endLine)(gen));
    for (size_t pos : cuts) ExpectStopsCleanly(full.substr(0, pos), tmp, "cut at byte " + std::to_string(pos));
}

// A recording process killed outright (no chance to write its end): the
// recorder flushes every second of play, so the replay plays and verifies
// up to its last flush at least.
TEST(ReplayCutE2E, AKilledRecordingPlaysUpToItsLastFlush) {
    TempDir tmp;
    std::string rec = tmp / "killed.qsr";
    std::vector<std::string> args = {QS_GAME_BIN, "--headless", "--home", tmp.path, "--bot", "3",
                                     "--frames", "1000000", "--record", rec};
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(&a[0]);
    argv.push_back(nullptr);
    posix_spawn_file_actions_t fa;
    posix_spawn_file_actions_init(&fa);
    posix_spawn_file_actions_addopen(&fa, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&fa, 2, "/dev/null", O_WRONLY, 0);
    pid_t pid;
    ASSERT_EQ(posix_spawn(&pid, QS_GAME_BIN, &fa, nullptr, argv.data(), environ), 0);
    posix_spawn_file_actions_destroy(&fa);
    // Until three seconds of play are on disk.
    bool flushed = false;
    for (int i = 0; i < 3000 && !flushed; i++) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        flushed = ReadFile(rec).find("\n750 H ") != std::string::npos;
    }
    kill(pid, SIGKILL);
    int status;
    waitpid(pid, &status, 0);
    ASSERT_TRUE(flushed) << "the recorder never flushed three seconds of play";
    ASSERT_TRUE(WIFSIGNALED(status));
    std::string cut = ReadFile(rec);
    EXPECT_EQ(cut.find("\nend "), std::string::npos);
    RunResult r = RunGame("--play " + rec + " --verify", tmp);
    EXPECT_EQ(r.exitCode, 5) << r.err;
    EXPECT_GE(IncompleteAt(r.err), LastFingerprint(cut)) << r.err;
    EXPECT_GE(LastFingerprint(cut), 750);
}

// A file's start forged, its game played by the file's own line
// (--play FILE --verify): the result's exit status and JSON.
RunResult PlayForged(const std::string& text, const TempDir& tmp, std::string* json) {
    WriteFile(tmp / "forged.qsr", text);
    RunResult r = RunGame("--play " + (tmp / "forged.qsr") + " --verify --draw-every 0 --result-json " + (tmp / "f.json"), tmp);
    *json = ReadFile(tmp / "f.json");
    return r;
}

std::string Replaced(std::string text, const std::string& from, const std::string& to) {
    size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    return at == std::string::npos ? text : text.replace(at, from.size(), to);
}

// Each game played in a window is kept in the replay folder under its
// start, difficulty and score, one game to a file: the second game's file
// holds that game alone, starts from its typed start as the title made it
// (nothing the first game left reaches it), and plays back by itself to the
// state a whole run ends in.
TEST(ReplayCutE2E, EachWindowGameIsKeptInItsOwnFileAndPlaysBackAlone) {
    TempDir tmp;
    // One life; the first enemies take the ship flying right, a shot key on
    // the game-over picture goes back to the intro; a second game, Escape.
    const char* keys =
        "5 hold SPACE\n6 hold\n10 hold DOWN\n11 hold\n15 hold SPACE\n16 hold\n150 hold DOWN\n151 hold\n"
        "155 hold LEFT\n156 hold\n160 hold SPACE\n161 hold\n300 hold SPACE\n301 hold RIGHT\n1500 hold\n"
        "1600 hold SPACE\n1601 hold\n1700 hold SPACE\n1701 hold\n1760 hold SPACE\n1761 hold\n1800 hold SPACE\n"
        "1801 hold UP SPACE\n2300 press ESC\n";
    WriteFile(tmp / "keys.txt", keys);
    WriteFile(tmp / "score.dat", std::string(1088, '\0'));
    RunResult whole = RunGame("--frames 3000 --script " + (tmp / "keys.txt") + " --state-out " + (tmp / "whole.txt"), tmp);
    ASSERT_EQ(whole.exitCode, 0) << whole.err;
    WriteFile(tmp / "score.dat", std::string(1088, '\0'));
    std::string cmd = "SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy '" + std::string(QS_GAME_BIN) +
                      "' --window --home '" + tmp.path + "' --frames 3000 --script '" + (tmp / "keys.txt") +
                      "' 2>'" + (tmp / "err.txt") + "'";
    ASSERT_EQ(std::system(cmd.c_str()), 0) << ReadFile(tmp / "err.txt");
    std::string listing;
    FILE* ls = popen(("ls '" + tmp.path + "/replays'").c_str(), "r");
    char line[256];
    std::vector<std::string> names;
    int tracks = 0;  // each beside its replay
    while (std::fgets(line, sizeof line, ls)) {
        std::string name(line, std::strcspn(line, "\n"));
        listing += line;
        if (name.size() > 4 && name.substr(name.size() - 4) == ".qst") tracks++;
        else names.push_back(name);
    }
    pclose(ls);
    ASSERT_EQ(names.size(), 2u) << listing;  // sorted: the first game first
    EXPECT_EQ(tracks, 2) << listing;
    for (const std::string& kept : names) {
        EXPECT_NE(kept.find("-NORMAL-"), std::string::npos) << kept;
        EXPECT_EQ(kept.substr(kept.size() - 4), ".qsr");
    }
    std::string second = tmp.path + "/replays/" + names[1];
    std::string text = ReadFile(second);
    EXPECT_EQ(text.rfind("QSREPLAY 2\n", 0), 0u);
    EXPECT_NE(text.find("\nlives 1\n"), std::string::npos) << text.substr(0, 400);
    EXPECT_NE(text.find("\nsim 2\n"), std::string::npos);
    EXPECT_NE(text.find("\nrandom "), std::string::npos);
    EXPECT_EQ(text.find("\nstate "), std::string::npos);  // never a memory image
    EXPECT_EQ(text.find("\ndat "), std::string::npos);  // not the whole run
    EXPECT_NE(text.find("\nend 539\n"), std::string::npos);
    EXPECT_NE(text.find("\nframes 539\n"), std::string::npos);
    RunResult r = RunGame("--play '" + second + "' --verify --draw-every 0 --state-out " + (tmp / "st.txt") +
                              " --result-json " + (tmp / "r.json") + " --track " + (tmp / "second.qst"),
                          tmp);
    EXPECT_EQ(r.exitCode, 0) << r.err;
    // The ghost track kept as the second game was played is the one its
    // playback makes.
    std::string track = ReadFile(tmp / "second.qst");
    EXPECT_EQ(track.rfind("QSTRACK 1\n", 0), 0u) << track.substr(0, 100);
    EXPECT_TRUE(track == ReadFile(second.substr(0, second.size() - 4) + ".qst"));
    std::string st = ReadFile(tmp / "st.txt"), end = ReadFile(tmp / "whole.txt"), json;
    EXPECT_EQ(StateValue(st, "Scene"), 1) << st;
    EXPECT_EQ(st.rfind("Frames=539 ", 0), 0u) << st;
    for (const char* key : {"Score", "PlayCount", "Deaths", "Kills", "ShipX", "ShipY", "StageStep"})
        EXPECT_EQ(StateValue(st, key), StateValue(end, key)) << key << "\n" << st << "\n" << end;
    EXPECT_EQ(std::to_string(StateValue(st, "Score")), names[1].substr(names[1].rfind('-') + 1, names[1].size() - 4 - names[1].rfind('-') - 1));
    json = ReadFile(tmp / "r.json");
    EXPECT_NE(json.find("\"verified\":true"), std::string::npos) << json;
    EXPECT_NE(json.find("\"ending\":\"escape\""), std::string::npos) << json;
    // The first game ended on the game-over picture.
    r = RunGame("--play '" + tmp.path + "/replays/" + names[0] + "' --verify --draw-every 0 --result-json " +
                    (tmp / "r0.json"),
                tmp);
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(ReadFile(tmp / "r0.json").find("\"ending\":\"gameover\""), std::string::npos);

    // Forged starts. A value no title leaves (lives of 7, a key state out
    // of its range, an image where a typed start belongs) is refused before
    // anything plays, naming it; a value the game keeps for itself (the
    // jewel value as a header line) is not read, and the game earns what
    // its inputs earn; another game's random numbers part from the
    // fingerprints.
    struct Forgery {
        std::string from, to;
        int status;
        const char* says;
    } forgeries[] = {
        {"\nlives 1\n", "\nlives 7\n", 2, "'lives'"},
        {"\nkeys 0 0 0 0 1 0\n", "\nkeys 0 0 0 0 50000000 0\n", 2, "'keys'"},
        {"\nrecord-deaths ", "\nstate 5153535101\nrecord-deaths ", 2, "game state image"},
        {"\nrecord-deaths ", "\nJewelValue -2000000000\nrecord-deaths ", 0, "verified"},
        // Stage 5 and a parent belong to practice runs only.
        {"\nstart-stage 1\n", "\nstart-stage 5\n", 2, "'start-stage'"},
        {"\nrecord-deaths ", "\nparent 20261207-183512-NORMAL-5.qsr\nrecord-deaths ", 2, "'parent'"},
    };
    for (const Forgery& f : forgeries) {
        r = PlayForged(Replaced(text, f.from, f.to), tmp, &json);
        EXPECT_EQ(r.exitCode, f.status) << f.to << r.err;
        EXPECT_NE(json.find(f.says), std::string::npos) << f.to << json;
        EXPECT_NE(json.find(f.status ? "\"ending\":\"refused\"" : "\"score\":" + std::to_string(StateValue(end, "Score"))),
                  std::string::npos) << json;
    }
    std::string first = ReadFile(tmp.path + "/replays/" + names[0]);
    size_t rnd = first.find("\nrandom "), rndEnd = first.find('\n', rnd + 1);
    size_t mine = text.find("\nrandom "), mineEnd = text.find('\n', mine + 1);
    r = PlayForged(text.substr(0, mine) + first.substr(rnd, rndEnd - rnd) + text.substr(mineEnd), tmp, &json);
    EXPECT_EQ(r.exitCode, 3) << r.err;
    EXPECT_NE(json.find("\"verified\":false"), std::string::npos) << json;

    // A game kept before version 2 (its start a memory image) still plays
    // and verifies; an image whose ship picture lies far outside the
    // picture table, or that claims more ships than chosen, is refused
    // before the first frame, whatever its fingerprints say.
    std::string old = ReadFile(QS_SOURCE_DIR "/tests/data/kept_sim1.qsr");
    r = PlayForged(old, tmp, &json);
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(json.find("\"verified\":true"), std::string::npos) << json;
    EXPECT_NE(json.find("\"start\":\"image\""), std::string::npos) << json;
    size_t at = old.find("\nstate ") + 7, stop = old.find('\n', at);
    std::vector<uint8_t> bytes;
    for (size_t i = at; i + 1 < stop; i += 2) bytes.push_back((uint8_t)std::stoi(old.substr(i, 2), nullptr, 16));
    for (int forge = 0; forge < 2; forge++) {
        ASSERT_TRUE(State_Load(bytes.data(), bytes.size()));
        if (forge == 0) P_Ship.bmp = 50000000;
        else PlayerStock += 2;
        std::vector<uint8_t> forged(State_MaxBytes());
        forged.resize(State_Save(forged.data(), forged.size()));
        std::string hex;
        for (uint8_t b : forged) hex += "0123456789abcdef"[b >> 4], hex += "0123456789abcdef"[b & 15];
        r = PlayForged(old.substr(0, at) + hex + old.substr(stop), tmp, &json);
        EXPECT_EQ(r.exitCode, 7) << r.err;
        EXPECT_NE(json.find("\"ending\":\"refused\""), std::string::npos) << json;
        EXPECT_NE(json.find(forge == 0 ? "not a new game's start: ship" : "not a new game's start: lives"),
                  std::string::npos)
            << json;
    }

    // Watched from the replays page (F3 on the title; Return watches the
    // newest), the replay verifies as it plays; Escape goes back to the
    // page, the title is as it was and no file is added.
    WriteFile(tmp / "page.txt", "5 hold SPACE\n6 hold\n40 press F3\n45 press RETURN\n100 press ESC\n120 press ESC\n");
    r = RunGame("--frames 150 --script " + (tmp / "page.txt") + " --state-out " + (tmp / "title.txt"), tmp);
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.err.find("left at frame 100; it matched its recording"), std::string::npos) << r.err;
    std::string title = ReadFile(tmp / "title.txt");
    EXPECT_EQ(StateValue(title, "Scene"), 0) << title;
    EXPECT_EQ(StateValue(title, "MenuState"), 12) << title;  // the title menu, as skipping the intro left it
    FILE* again = popen(("ls '" + tmp.path + "/replays' | wc -l").c_str(), "r");
    ASSERT_TRUE(std::fgets(line, sizeof line, again));
    pclose(again);
    EXPECT_EQ(std::atoi(line), 4);  // the two games and their tracks
}
