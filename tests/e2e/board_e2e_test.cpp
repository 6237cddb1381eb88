// The game and the score board (the real quellstorm-board, on loopback, on
// a SQLite file of the test's own): a finished game sent in the background,
// verified and its rank on the records page; `--submit`; a board that is
// down; no board set, no connection.
#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <cstring>

#include "harness.h"

using namespace e2e;

namespace {

// A board on 127.0.0.1, on a port it picks itself, with one verifier;
// stopped when the test ends whatever fails.
struct Board {
    pid_t pid = -1;
    std::string url;
    explicit Board(const TempDir& tmp) {
        int out[2];
        if (pipe(out) != 0) return;
        pid = fork();
        if (pid == 0) {
            dup2(out[1], 1);
            close(out[0]);
            std::string log = tmp / "board-log.txt", db = tmp / "board.sqlite";
            freopen(log.c_str(), "w", stderr);
#if defined(__SANITIZE_ADDRESS__)
            // The sanitizers reserve more address space than any job's memory limit allows.
            const char* jobMemory = "0";
#else
            const char* jobMemory = "1024";
#endif
            execl(QS_BOARD_BIN, QS_BOARD_BIN, "serve", "--listen", "127.0.0.1:0", "--db", db.c_str(), "--game",
                  QS_GAME_BIN, "--verifiers", "1", "--submit-per-minute", "0", "--job-memory-mb", jobMemory,
                  (char*)nullptr);
            _exit(127);
        }
        close(out[1]);
        // Its first line names the address it listens on.
        FILE* f = fdopen(out[0], "r");
        char line[256] = "";
        if (f && std::fgets(line, sizeof line, f)) {
            const char* at = std::strstr(line, "http://127.0.0.1:");
            if (at) url = std::string(at, std::strcspn(at + 7, "/\n ") + 7);
        }
        if (f) std::fclose(f);
    }
    void Stop() {
        if (pid > 0) {
            kill(pid, SIGTERM);
            waitpid(pid, nullptr, 0);
            pid = -1;
        }
    }
    ~Board() { Stop(); }
};

// NORMAL, firing while flying into the first groups: the three ships are
// lost, the game over is confirmed at 5000 (the kept game ends there), the
// intro is skipped and F2 opens the records page, F3 then the replays page.
const char* kLostGame = "5 hold SPACE\n6 hold\n40 hold SPACE\n41 hold\n60 hold UP SPACE\n4800 hold\n"
                        "5000 hold SPACE\n5001 hold\n5100 hold SPACE\n5101 hold\n5200 press F2\n5260 press F3\n";
const std::string kGameRun = "--keep-replays on --frames 5300 --draw-every 1000 --board-submit always ";

std::string OnlyKept(const TempDir& tmp) {
    std::string list = tmp / "list.txt";
    std::system(("ls '" + tmp.path + "/replays' | grep '[.]qsr$' > '" + list + "' 2>/dev/null").c_str());
    std::string names = ReadFile(list);
    if (names.empty() || names.find('\n') != names.size() - 1) return "";
    return tmp.path + "/replays/" + names.substr(0, names.size() - 1);
}

// `quellstorm --submit ARGS`: exit status and everything it printed.
int Submit(const TempDir& tmp, const std::string& args, std::string* out) {
    std::string file = tmp / "out.txt";
    int st = std::system(
        ("XDG_CONFIG_HOME='" + tmp.path + "' '" + QS_GAME_BIN + "' " + args + " >'" + file + "' 2>&1").c_str());
    *out = ReadFile(file);
    return WIFEXITED(st) ? WEXITSTATUS(st) : -1;
}

}  // namespace

TEST(BoardE2E, AFinishedGameIsVerifiedAndRankedAndABoardThatIsDownLosesNothing) {
    TempDir tmp;
    Board board(tmp);
    ASSERT_GT(board.pid, 0);
    ASSERT_FALSE(board.url.empty()) << ReadFile(tmp / "board-log.txt");
    WriteFile(tmp / "keys.txt", kLostGame);
    RunResult r = RunGame(kGameRun + "--board-url " + board.url + " --player-name TESTER --script " +
                              (tmp / "keys.txt") + " --shot 5250:" + (tmp / "records.png") + " --shot 5280:" +
                              (tmp / "replays.png"),
                          tmp);
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.err.find("BOARD: VERIFIED, RANK 1 ON NORMAL"), std::string::npos) << r.err;
    // The answer's line in green at the foot of the records page.
    EXPECT_GT(CountPixels(tmp / "records.png", 0, 458, 640, 480, [](int r, int g, int b) {
                  return g > 200 && r < 160 && b < 160;
              }),
              100);
    // The replays page marks the file with its rank, in green, on its row.
    EXPECT_GT(CountPixels(tmp / "replays.png", 560, 92, 640, 110, [](int r, int g, int b) {
                  return g > 200 && r < 160 && b < 160;
              }),
              20);

    // The same file from the command line: the same submission, each state
    // as it changes, the score the board's own re-play reached.
    std::string kept = OnlyKept(tmp), out;
    ASSERT_FALSE(kept.empty());
    std::string text = ReadFile(kept);
    size_t at = text.find("\nscore ");
    ASSERT_NE(at, std::string::npos);
    std::string score = text.substr(at + 7, text.find('\n', at + 1) - at - 7);
    EXPECT_EQ(Submit(tmp, "--board-url " + board.url + " --submit '" + kept + "'", &out), 0) << out;
    EXPECT_NE(out.find("verified: score " + score + ", rank 1 on the NORMAL board"), std::string::npos) << out;
    EXPECT_NE(out.find(board.url + "/entry/"), std::string::npos) << out;
    // Raced as the board's ghost: its best run's track fetched beside the
    // replays, the very track kept with the game.
    TempDir racer;
    r = RunGame("--home '" + racer.path + "' --frames 60 --ghost board --board-url " + board.url, racer);
    ASSERT_EQ(r.exitCode, 0) << r.err;
    std::string track = ReadFile(kept.substr(0, kept.size() - 4) + ".qst");
    EXPECT_FALSE(track.empty());
    EXPECT_TRUE(ReadFile(racer / "replays/ghosts/board-NORMAL.qst") == track) << r.err;
    // Refused by the board: its reason; no board, no file: said so.
    WriteFile(tmp / "junk.qsr", "nothing of a replay");
    EXPECT_EQ(Submit(tmp, "--board-url " + board.url + " --submit " + (tmp / "junk.qsr"), &out), 3) << out;
    EXPECT_NE(out.find("rejected: "), std::string::npos) << out;
    EXPECT_EQ(Submit(tmp, "--submit '" + kept + "'", &out), 1) << out;
    EXPECT_NE(out.find("no board is set"), std::string::npos) << out;
    EXPECT_EQ(Submit(tmp, "--board-url " + board.url + " --submit " + (tmp / "none.qsr"), &out), 2) << out;

    // The board gone: the game ends as usual, says so, and its replay is
    // kept whole (it plays back and verifies).
    board.Stop();
    EXPECT_EQ(Submit(tmp, "--board-url " + board.url + " --submit '" + kept + "'", &out), 1) << out;
    EXPECT_NE(out.find("not sent: the board could not be reached"), std::string::npos) << out;
    TempDir home;
    r = RunGame(kGameRun + "--home '" + home.path + "' --board-url " + board.url + " --script " + (tmp / "keys.txt"),
                tmp);
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.err.find("the board could not be reached"), std::string::npos) << r.err;
    kept = OnlyKept(home);
    ASSERT_FALSE(kept.empty());
    r = RunGame("--play '" + kept + "' --verify --draw-every 0", tmp);
    EXPECT_EQ(r.exitCode, 0) << r.err;
}

// With no board set nothing is ever sent: the game never even opens a
// network socket, though it keeps its game and is told to always send.
TEST(BoardE2E, NoBoardSetNoConnectionOpened) {
    ASSERT_EQ(std::system("command -v strace >/dev/null 2>&1"), 0) << "strace is not installed (scripts/deps.sh test)";
    TempDir tmp;
    WriteFile(tmp / "keys.txt", kLostGame);
    std::string trace = tmp / "trace.txt";
    std::string cmd = "XDG_CONFIG_HOME='" + tmp.path + "' strace -f -qq -e trace=socket,connect -o '" + trace +
                      "' '" + QS_GAME_BIN + "' --headless --home '" + tmp.path + "' " + kGameRun + "--script '" +
                      (tmp / "keys.txt") + "' 2>/dev/null";
    ASSERT_EQ(std::system(cmd.c_str()), 0);
    ASSERT_FALSE(OnlyKept(tmp).empty());
    std::string calls = ReadFile(trace);
    EXPECT_EQ(calls.find("AF_INET"), std::string::npos) << calls;
}
