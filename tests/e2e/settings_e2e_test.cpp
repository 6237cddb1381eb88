// Settings through the real binary: the settings file, rebound keys, the
// settings page and the screenshot key. Every run has its own settings
// folder (the harness points XDG_CONFIG_HOME at the test's folder).
#include <gtest/gtest.h>

#include <dirent.h>
#include <sys/stat.h>

#include "harness.h"

using namespace e2e;

namespace {

std::string IniPath(const TempDir& t) { return t / "quellstorm/quellstorm.ini"; }

void WriteIni(const TempDir& t, const std::string& text) {
    mkdir((t / "quellstorm").c_str(), 0700);
    WriteFile(IniPath(t), text);
}

std::string State(const TempDir& t, const std::string& keys, long frames, const std::string& extra = "") {
    WriteFile(t / "keys.txt", keys);
    RunResult r = RunGame("--invincible --frames " + std::to_string(frames) + " --script " + (t / "keys.txt") +
                              " --state-out " + (t / "state.txt") + " " + extra,
                          t);
    EXPECT_EQ(r.exitCode, 0) << r.err;
    return ReadFile(t / "state.txt");
}

// Skip the intro, start a game and hold the key: the shot key both
// confirms on the title and fires.
std::string StartAndFire(const std::string& key) {
    return "5 hold " + key + "\n6 hold\n10 hold " + key + "\n11 hold\n20 hold " + key + "\n";
}

}  // namespace

// A shot key bound to X starts the game and fires; Space, its old key, no
// longer does anything. A replay recorded with the new key plays back the
// same wherever the keys are bound: it holds the game's own keys.
TEST(SettingsE2E, AReboundShotKeyFiresAndTheOldOneNoLonger) {
    TempDir x, space;
    for (const TempDir* t : {&x, &space}) WriteIni(*t, "[keys]\nkey-shot = X\nkey-shot2 = V\n");
    std::string sx = State(x, StartAndFire("X"), 3000, "--record " + (x / "x.qsr"));
    EXPECT_EQ(StateValue(sx, "Scene"), 1) << sx;
    EXPECT_GT(StateValue(sx, "Kills"), 0) << sx;
    std::string ss = State(space, StartAndFire("SPACE"), 3000);
    EXPECT_EQ(StateValue(ss, "Scene"), 0) << ss;
    EXPECT_EQ(StateValue(ss, "Score"), 0) << ss;

    TempDir plain;  // no settings file: Space is the shot again
    RunResult r = RunGame("--play " + (x / "x.qsr") + " --verify", plain);
    EXPECT_EQ(r.exitCode, 0) << r.err;
}

// A golden replay still verifies with every key rebound and the sound off.
TEST(SettingsE2E, ReplaysIgnoreTheBindings) {
    TempDir t;
    WriteIni(t, "[keys]\nkey-shot = X\nkey-up = I\nkey-bomb = B\n[sound]\nmute = on\n[pad]\ndead-zone = 0\n");
    RunResult r = RunGame("--play " + std::string(QS_SOURCE_DIR) + "/tests/golden/bomb_barrage.qsr --verify", t);
    EXPECT_EQ(r.exitCode, 0) << r.err;
}

// A damaged settings file: warnings naming file, line and key on standard
// error, and the game runs on its defaults.
TEST(SettingsE2E, ADamagedFileWarnsAndTheGameStarts) {
    TempDir t;
    WriteIni(t, "[display]\nscale = 99\n\x01\x02\x03junk\n[sound]\nloudness = 11\n");
    std::string s = State(t, StartAndFire("SPACE"), 50);
    EXPECT_EQ(StateValue(s, "Scene"), 1) << s;
    RunResult r = RunGame("--frames 2", t);
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_NE(r.err.find("quellstorm.ini, line 2, key 'scale'"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("line 3"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("line 5, key 'loudness'"), std::string::npos) << r.err;
    // A value on the command line must be good, and is not written.
    r = RunGame("--frames 2 --music-volume 101", t);
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_NE(r.err.find("--music-volume"), std::string::npos) << r.err;
    // A file named with --config that cannot be read stops the game: the
    // player asked for those settings.
    r = RunGame("--frames 2 --config '" + t.path + "'", t);
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_NE(r.err.find("cannot read"), std::string::npos) << r.err;
}

// F1 on the title opens the page; the music volume is turned down once and
// the shot key rebound to X; shot held meanwhile starts no game; Escape
// closes the page and does not quit. The file holds the new values, and
// the run goes on with them.
TEST(SettingsE2E, ThePageChangesAVolumeAndAKeyAndSavesThem) {
    TempDir t;
    std::string keys = "5 hold SPACE\n6 hold\n10 press F1\n";
    long f = 11;
    for (int i = 0; i < 5; i++) keys += std::to_string(f++) + " press DOWN\n";  // to MUSIC VOLUME
    keys += std::to_string(f++) + " press LEFT\n";
    for (int i = 0; i < 7; i++) keys += std::to_string(f++) + " press DOWN\n";  // to KEY SHOT
    keys += std::to_string(f++) + " press RETURN\n";
    keys += std::to_string(f++) + " press X\n";
    keys += "40 hold SPACE\n41 hold\n45 press ESC\n";
    std::string s = State(t, keys + "60 hold X\n61 hold\n", 48, "--shot 30:" + (t / "page.png"));
    EXPECT_EQ(StateValue(s, "Scene"), 0) << s;
    std::string ini = ReadFile(IniPath(t));
    EXPECT_NE(ini.find("music-volume = 95\n"), std::string::npos) << ini;
    EXPECT_NE(ini.find("key-shot = X\n"), std::string::npos) << ini;
    EXPECT_NE(ini.find("key-shot2 = Shift\n"), std::string::npos) << ini;
    EXPECT_FALSE(ReadFile(t / "page.png").empty());
    // The next run: X is the shot key.
    s = State(t, StartAndFire("X"), 30);
    EXPECT_EQ(StateValue(s, "Scene"), 1) << s;
}

// The text rows are edited in place: typed text (a script's "text" lines,
// as the keyboard's text input) goes in at the caret; while editing, keys
// bound to the game (Down, Z, F1) do nothing; a refused address stays in
// the field with the reason; Backspace takes a whole Japanese character; a
// name is clipped to the 24 characters the board lists. Accepted values
// are in the file.
TEST(SettingsE2E, TheBoardsAddressAndTheNameAreTypedOnThePage) {
    TempDir t;
    std::string keys =
        "5 hold SPACE\n6 hold\n10 press F1\n11 press UP\n12 press UP\n13 press UP\n14 press UP\n"  // BOARD
        "15 press RETURN\n16 text ftp://board.example\n17 press RETURN\n"  // refused
        "18 press DOWN\n19 press Z\n20 press F1\n21 press HOME\n22 press DELETE\n23 press DELETE\n"
        "24 press DELETE\n25 text http\n26 press END\n27 text /qs\n28 press RETURN\n"
        "29 press DOWN\n30 press RETURN\n31 text 山田太郎X\n32 press BACKSPACE\n33 press BACKSPACE\n"
        "34 text ABCDEFGHIJKLMNOPQRSTUVWXYZ\n35 press RETURN\n45 press ESC\n";
    std::string s = State(t, keys, 50);
    EXPECT_EQ(StateValue(s, "Scene"), 0) << s;
    std::string ini = ReadFile(IniPath(t));
    EXPECT_NE(ini.find("board-url = http://board.example/qs\n"), std::string::npos) << ini;
    EXPECT_NE(ini.find("player-name = 山田太ABCDEFGHIJKLMNOPQRSTU\n"), std::string::npos) << ini;
}

// F12 writes the game's picture, 640x480, as a PNG into the pictures
// folder and names it on standard error; the game does not see the key.
TEST(SettingsE2E, F12WritesAScreenshot) {
    TempDir t;
    std::string pics = t / "pics";
    WriteFile(t / "keys.txt", "3 press F12\n");
    // The harness sets no pictures folder: run the game by hand.
    std::string err = t / "err.txt";
    int status = std::system(("XDG_PICTURES_DIR='" + pics + "' XDG_CONFIG_HOME='" + t.path + "' '" + QS_GAME_BIN + "' --headless --home '" +
                              t.path + "' --frames 5 --script '" + (t / "keys.txt") + "' 2>'" + err + "'")
                                 .c_str());
    ASSERT_EQ(WEXITSTATUS(status), 0);
    DIR* d = opendir((pics + "/quellstorm").c_str());
    ASSERT_TRUE(d);
    std::string name;
    while (dirent* e = readdir(d))
        if (e->d_name[0] != '.') name = e->d_name;
    closedir(d);
    ASSERT_EQ(name.rfind("quellstorm-", 0), 0u) << name;
    std::string png = ReadFile(pics + "/quellstorm/" + name);
    ASSERT_GT(png.size(), 24u);
    EXPECT_EQ(png.substr(1, 3), "PNG");
    auto be32 = [&](size_t o) {
        return (unsigned char)png[o] << 24 | (unsigned char)png[o + 1] << 16 | (unsigned char)png[o + 2] << 8 |
               (unsigned char)png[o + 3];
    };
    EXPECT_EQ(be32(16), 640);
    EXPECT_EQ(be32(20), 480);
    std::string text = ReadFile(err);
    EXPECT_NE(text.find("screenshot " + pics + "/quellstorm/" + name), std::string::npos) << text;
}
