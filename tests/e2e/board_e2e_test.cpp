// The game and a score board: a finished game sent in the background and
// its rank on the records page; a board that is down; no board set, no
// connection; `--submit` from the command line.
#include <gtest/gtest.h>

#include <csignal>
#include <fstream>
#include <thread>

#include "harness.h"

using namespace e2e;

namespace {

// A board on 127.0.0.1, on a port it picks itself, stopped when the test
// ends whatever fails.
struct Board {
    pid_t pid = -1;
    std::string url;
    explicit Board(const TempDir& tmp) {
        std::string portFile = tmp / "board-port";
        pid = fork();
        if (pid == 0) {
            std::string script = std::string(QS_SOURCE_DIR) + "/tests/e2e/board_standin.py";
            std::string log = tmp / "board-log.txt";
            freopen(log.c_str(), "w", stderr);
            execlp("python3", "python3", script.c_str(), portFile.c_str(), (char*)nullptr);
            _exit(127);
        }
        for (int i = 0; i < 200 && url.empty(); i++) {
            std::string port = ReadFile(portFile);
            if (!port.empty()) url = "http://127.0.0.1:" + port;
            else std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
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

// One life, the ship flown right into the first enemies: game over; the
// shot key leaves the game-over picture for the title (the kept game ends
// there), the intro is skipped, F2 opens the records page.
const char* kOneLostGame =
    "5 hold SPACE\n6 hold\n10 hold DOWN\n11 hold\n15 hold SPACE\n16 hold\n"
    "150 hold DOWN\n151 hold\n155 hold LEFT\n156 hold\n160 hold SPACE\n161 hold\n"
    "300 hold SPACE\n301 hold RIGHT\n27500 hold\n27600 hold SPACE\n27601 hold\n"
    "27700 hold SPACE\n27701 hold\n27800 press F2\n";
const std::string kGameRun = "--keep-replays on --frames 27900 --draw-every 1000 --board-submit always ";

std::string OnlyKept(const TempDir& tmp) {
    std::string list = tmp / "list.txt";
    std::system(("ls '" + tmp.path + "/replays' > '" + list + "' 2>/dev/null").c_str());
    std::string names = ReadFile(list);
    if (names.empty() || names.find('\n') != names.size() - 1) return "";
    return tmp.path + "/replays/" + names.substr(0, names.size() - 1);
}

}  // namespace

TEST(BoardE2E, AFinishedGameIsSentAndRankedAndABoardThatIsDownLosesNothing) {
    TempDir tmp;
    Board board(tmp);
    ASSERT_FALSE(board.url.empty()) << ReadFile(tmp / "board-log.txt");
    WriteFile(tmp / "keys.txt", kOneLostGame);
    RunResult r = RunGame(kGameRun + "--board-url " + board.url + " --player-name TESTER --script " +
                              (tmp / "keys.txt") + " --shot 27850:" + (tmp / "records.png"),
                          tmp);
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.err.find("BOARD: VERIFIED, RANK 1"), std::string::npos) << r.err;
    std::string log = ReadFile(tmp / "board-log.txt");
    EXPECT_NE(log.find("POST /api/submissions?name=TESTER"), std::string::npos) << log;
    // The answer's line in green at the foot of the records page.
    EXPECT_GT(CountPixels(tmp / "records.png", 0, 458, 640, 480, [](int r, int g, int b) {
                  return g > 200 && r < 160 && b < 160;
              }),
              200);

    // The same game with the board gone: the run ends as usual, says so,
    // and the replay is kept whole (it plays back and verifies).
    board.Stop();
    TempDir home;
    r = RunGame(kGameRun + "--home '" + home.path + "' --board-url " + board.url + " --script " + (tmp / "keys.txt"),
                tmp);
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.err.find("the board could not be reached"), std::string::npos) << r.err;
    std::string kept = OnlyKept(home);
    ASSERT_FALSE(kept.empty());
    r = RunGame("--play '" + kept + "' --verify --draw-every 1000", tmp);
    EXPECT_EQ(r.exitCode, 0) << r.err;
}

// With no board set nothing is ever sent: the game never even opens a
// network socket, though it keeps its game and is told to always send.
TEST(BoardE2E, NoBoardSetNoConnectionOpened) {
    if (std::system("command -v strace >/dev/null 2>&1") != 0) GTEST_SKIP() << "strace not installed";
    TempDir tmp;
    WriteFile(tmp / "keys.txt", kOneLostGame);
    std::string trace = tmp / "trace.txt";
    std::string cmd = "XDG_CONFIG_HOME='" + tmp.path + "' strace -f -qq -e trace=socket,connect -o '" + trace +
                      "' '" + QS_GAME_BIN + "' --headless --home '" + tmp.path + "' " + kGameRun + "--script '" +
                      (tmp / "keys.txt") + "' 2>/dev/null";
    ASSERT_EQ(std::system(cmd.c_str()), 0);
    ASSERT_FALSE(OnlyKept(tmp).empty());
    std::string calls = ReadFile(trace);
    EXPECT_EQ(calls.find("AF_INET"), std::string::npos) << calls;
}

// `quellstorm --submit FILE`: each state as it changes, and an exit status
// a script can use: 0 verified, 3 rejected, 1 not sent, 2 no file.
TEST(BoardE2E, SubmitFromTheCommandLine) {
    TempDir tmp;
    Board board(tmp);
    ASSERT_FALSE(board.url.empty());
    WriteFile(tmp / "game.qsr", "QSREPLAY 2\nscore 4200\n");
    WriteFile(tmp / "junk.qsr", "nothing of a replay");
    auto submit = [&](const std::string& args, std::string* out) {
        std::string file = tmp / "out.txt";
        int st = std::system(("XDG_CONFIG_HOME='" + tmp.path + "' '" + QS_GAME_BIN + "' " + args + " >'" + file +
                              "' 2>&1")
                                 .c_str());
        *out = ReadFile(file);
        return WIFEXITED(st) ? WEXITSTATUS(st) : -1;
    };
    std::string out;
    EXPECT_EQ(submit("--board-url " + board.url + " --submit " + (tmp / "game.qsr"), &out), 0) << out;
    EXPECT_NE(out.find("queued\nverifying\nverified: score 4200, rank 1"), std::string::npos) << out;
    EXPECT_NE(out.find(board.url + "/entry/"), std::string::npos) << out;
    EXPECT_EQ(submit("--board-url " + board.url + " --submit " + (tmp / "junk.qsr"), &out), 3) << out;
    EXPECT_NE(out.find("rejected: not a replay file"), std::string::npos) << out;
    EXPECT_EQ(submit("--submit " + (tmp / "game.qsr"), &out), 1) << out;
    EXPECT_NE(out.find("no board is set"), std::string::npos) << out;
    EXPECT_EQ(submit("--board-url " + board.url + " --submit " + (tmp / "none.qsr"), &out), 2) << out;
    board.Stop();
    EXPECT_EQ(submit("--board-url " + board.url + " --submit " + (tmp / "game.qsr"), &out), 1) << out;
    EXPECT_NE(out.find("not sent: the board could not be reached"), std::string::npos) << out;
}
