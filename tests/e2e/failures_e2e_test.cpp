// Failures as a player meets them: each is explained once on standard
// error, nothing repeats, and the game runs on where it can.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <string>

#include "harness.h"

using namespace e2e;

namespace {

size_t Count(const std::string& text, const std::string& what) {
    size_t n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + what.size())) n++;
    return n;
}

size_t Lines(const std::string& text) { return Count(text, "\n"); }

// A copy of the game beside a copy of its data, which the test may damage.
std::string CopyGame(const TempDir& tmp) {
    std::string build = QS_BUILD_DIR;
    std::string dir = tmp / "game";
    std::string cmd = "mkdir -p '" + dir + "' && cp '" + QS_GAME_BIN + "' '" + dir + "/' && cp -r '" + build + "/BMP' '" +
                      build + "/BG' '" + build + "/SE' '" + build + "/MIDI' '" + dir + "/'";
    EXPECT_EQ(std::system(cmd.c_str()), 0);
    return dir;
}

void Truncate(const std::string& path, long keep) {
    std::string data = ReadFile(path);
    ASSERT_GT((long)data.size(), keep) << path;
    WriteFile(path, data.substr(0, keep));
}

// Skip the intro, start a game and play past the start of the stage tune
// (frame 210 or so) for a second or more of real time.
const char* kIntoStage1 = "5 hold SPACE\n6 hold\n10 hold SPACE\n11 hold\n";

// A score record in the test's home, so that its absence is not reported.
void MakeScoreRecord(const TempDir& tmp) {
    WriteFile(tmp / "esc.txt", "3 press ESC\n");
    RunGame("--frames 5 --script '" + (tmp / "esc.txt") + "'", tmp);
    ASSERT_FALSE(ReadFile(tmp / "score.dat").empty());
}

RunResult RunIn(const std::string& gameDir, const std::string& args, const TempDir& tmp, const std::string& env = "") {
    std::string errFile = tmp / "stderr.txt";
    std::string cmd = env + " '" + gameDir + "/quellstorm' --headless --home '" + tmp.path + "' " + args + " 2>'" + errFile + "'";
    int status = std::system(cmd.c_str());
    RunResult r;
    r.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    r.err = ReadFile(errFile);
    return r;
}

}  // namespace

TEST(FailuresE2E, WithoutADisplayTheGameSaysSoAndEndsAtOnce) {
    TempDir tmp;
    std::string errFile = tmp / "stderr.txt";
    std::string cmd = std::string("env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER timeout 20 '") + QS_GAME_BIN +
                      "' --home '" + tmp.path + "' 2>'" + errFile + "'";
    auto t0 = std::chrono::steady_clock::now();
    int status = std::system(cmd.c_str());
    double secs = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    std::string err = ReadFile(errFile);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_NE(WEXITSTATUS(status), 0) << err;
    EXPECT_NE(WEXITSTATUS(status), 124) << "still running after 20 s: " << err;
    EXPECT_LT(secs, 5.0);
    EXPECT_EQ(Count(err, "no display found"), 1u) << err;
    EXPECT_EQ(Count(err, "--headless"), 1u) << err;
    // The display-failure box, with nowhere to show it, on standard error.
    EXPECT_EQ(Count(err, "ダイレクトドローの初期化に失敗しました"), 1u) << err;
    EXPECT_EQ(Lines(err), 2u) << err;
}

TEST(FailuresE2E, AMissingPictureAndADamagedEffectAndTuneAreEachNamedOnce) {
    TempDir tmp;
    std::string game = CopyGame(tmp);
    ASSERT_EQ(std::remove((game + "/BMP/pitem.bmp").c_str()), 0);
    Truncate(game + "/SE/Coin.wav", 300);
    std::string tune = game + "/MIDI/1ワンダータイム.mid";
    Truncate(tune, (long)ReadFile(tune).size() / 2);
    MakeScoreRecord(tmp);
    WriteFile(tmp / "keys.txt", kIntoStage1);
    std::string state = tmp / "state.txt";
    RunResult r = RunIn(game, "--frames 700 --script '" + (tmp / "keys.txt") + "' --state-out '" + state + "'", tmp);
    EXPECT_EQ(r.exitCode, 0) << r.err;
    // The game ran on into stage 1.
    std::string s = ReadFile(state);
    EXPECT_NE(s.find("Scene=1 "), std::string::npos) << s;

    EXPECT_EQ(Count(r.err, "BMP/pitem.bmp"), 1u) << r.err;
    EXPECT_EQ(Count(r.err, "SE/Coin.wav"), 1u) << r.err;
    EXPECT_EQ(Count(r.err, "truncated"), 2u) << r.err;  // the effect and the tune say what is wrong
    // The effect's box as ever, headless on standard error; no file named in it.
    EXPECT_EQ(Count(r.err, "[エラー発生] ウエイブデータ読み込みに失敗しました\n"), 1u) << r.err;
    EXPECT_EQ(Count(r.err, "1ワンダータイム.mid"), 1u) << r.err;
    EXPECT_EQ(Lines(r.err), 4u) << r.err;
}

TEST(FailuresE2E, MusicWithoutASoundFontIsExplainedOnceAndTheGameRunsOn) {
    TempDir tmp;
    std::string fonts = tmp / "soundfonts";
    ASSERT_EQ(std::system(("mkdir -p '" + fonts + "'").c_str()), 0);
    WriteFile(tmp / "keys.txt", kIntoStage1);
    std::string state = tmp / "state.txt";
    MakeScoreRecord(tmp);
    RunResult r = RunIn(std::string(QS_BUILD_DIR),
                        "--frames 1200 --script '" + (tmp / "keys.txt") + "' --state-out '" + state + "'", tmp,
                        "QUELLSTORM_SOUNDFONT='" + fonts + "'");
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(ReadFile(state).find("Scene=1 "), std::string::npos);
    EXPECT_EQ(Count(r.err, "sound font"), 1u) << r.err;
    EXPECT_EQ(Count(r.err, fonts), 1u) << r.err;
    EXPECT_EQ(Count(r.err, "timgm6mb-soundfont"), 1u) << r.err;
    EXPECT_EQ(Lines(r.err), 1u) << r.err;
}
