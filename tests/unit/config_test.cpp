// The settings file and the command line, both read from the one table.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "config/practice.h"
#include "config/settings.h"
#include "shell/frameloop.h"

namespace {

struct ConfigTest : ::testing::Test {
    std::string dir;
    void SetUp() override {
        char tmpl[] = "/tmp/qs_config_XXXXXX";
        dir = mkdtemp(tmpl);
        ConfigQuiet = true;
        ConfigWarnings = 0;
        Settings_ResetDefaults();
    }
    void TearDown() override {
        ConfigQuiet = false;
        chmod(dir.c_str(), 0700);
        std::system(("rm -rf '" + dir + "'").c_str());
        Settings_ResetDefaults();
    }
    void Load(const std::string& text) { Config_LoadText(text.data(), text.size(), "test.ini"); }
    static int Value(const char* name) { return *Settings_Find(nullptr, name)->value; }
    static std::string Text(const char* name) { return Settings_ValueText(*Settings_Find(nullptr, name)); }
};

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

// Every setting set away from its default, saved, and read back into a
// fresh start gives the same values; the defaults are those of the game as
// designed.
TEST_F(ConfigTest, EverySettingSurvivesASaveAndALoad) {
    EXPECT_EQ(Settings.fullscreen, 1);
    EXPECT_EQ(Settings.scale, 0);  // as large as fits
    EXPECT_EQ(Settings.scaling, SCALING_FIT);
    EXPECT_EQ(Settings.musicVolume, 100);
    EXPECT_EQ(Text("key-shot"), "Space");
    EXPECT_EQ(Text("key-shot2"), "Shift");
    EXPECT_EQ(Text("key-quit"), "Escape");
    EXPECT_EQ(Settings.padShot, 0);
    EXPECT_EQ(Settings.padPause, -1);

    const char* changes[][2] = {
        {"fullscreen", "off"}, {"scale", "5"},          {"scaling", "smooth"},    {"vsync", "off"},
        {"pace", "smooth"},    {"music-volume", "0"},   {"effect-volume", "37"},  {"mute", "on"},
        {"key-up", "I"},       {"key-down", "K"},       {"key-left", "J"},        {"key-right", "L"},
        {"key-shot", "X"},     {"key-shot2", "Right Shift"}, {"key-bomb", "V"},   {"key-pause", "P"},
        {"key-faster1", "F5"}, {"key-faster2", "F6"},   {"key-faster3", "F7"},    {"key-slower1", "F8"},
        {"key-slower2", "Home"}, {"key-slower3", "End"}, {"key-quit", "Backspace"}, {"pad-shot", "X"},
        {"pad-bomb", "RT"},    {"pad-pause", "START"},  {"pad-quit", "BACK"},     {"dead-zone", "0"},
        {"language", "en"},    {"pause-on-focus-loss", "off"}, {"keep-replays", "off"},
        {"board-url", "http://127.0.0.1:8080/"}, {"player-name", "ナオ 7"}, {"board-submit", "always"}, {"ghost", "board"},
    };
    int fileRows = 0;
    for (int i = 0; i < SettingsCount; i++) fileRows += SettingsTable[i].home == SH_FILE;
    ASSERT_EQ(fileRows, (int)(sizeof changes / sizeof changes[0])) << "a new setting needs a row here";
    for (auto& c : changes) {
        const Setting* s = Settings_Find(nullptr, c[0]);
        ASSERT_TRUE(s) << c[0];
        ASSERT_TRUE(Settings_SetFromText(*s, c[1])) << c[0];
        if (s->kind != SK_STRING) {
            EXPECT_NE(*s->value, Settings_Default(*s)) << c[0];
        }
    }
    GameSettings changed = Settings;
    Config_KeepCurrent();
    std::string path = dir + "/sub/quellstorm.ini";
    ASSERT_TRUE(Config_Save(path));

    Settings_ResetDefaults();
    Config_Load(path);
    EXPECT_EQ(ConfigWarnings, 0);
    for (auto& c : changes) EXPECT_EQ(Text(c[0]), c[1]) << c[0];
    EXPECT_EQ(0, std::memcmp(&changed, &Settings, sizeof Settings));
}

// A key the game does not know (a newer game's, another tool's) is kept
// with the comments above it, in its section, when the game saves; a file
// of a newer version says so once instead of once per key.
TEST_F(ConfigTest, KeysItDoesNotKnowAreKeptWhenItSaves) {
    Load("version = 1\n[display]\n; the new lens\n;  of a later game\nlens = wide ; inline\nscale = 3\n"
         "[radio]\nstation = 7\n\n; stray comment\n[sound]\nmute = on\n");
    EXPECT_EQ(ConfigWarnings, 2);
    EXPECT_EQ(Settings.scale, 3);
    std::string path = dir + "/quellstorm.ini";
    ASSERT_TRUE(Config_Save(path));
    std::string text = ReadAll(path);
    EXPECT_EQ(text.find("version = 1\n"), text.find("version"));
    size_t display = text.find("[display]"), sound = text.find("[sound]");
    size_t lens = text.find("; the new lens\n;  of a later game\nlens = wide ; inline\n");
    EXPECT_TRUE(display < lens && lens < sound) << text;
    EXPECT_NE(text.find("\n[radio]\nstation = 7\n"), std::string::npos) << text;
    EXPECT_EQ(text.find("stray"), std::string::npos) << text;

    // Read back: the same again, and nothing lost on a second save.
    Settings_ResetDefaults();
    Config_Load(path);
    EXPECT_EQ(Settings.mute, 1);
    EXPECT_EQ(Config_Text(), text);

    ConfigWarnings = 0;
    Load("version = 7\n[display]\nlens = wide\n[radio]\nstation = 7\n");
    EXPECT_EQ(ConfigWarnings, 1);
    EXPECT_NE(Config_Text().find("lens = wide"), std::string::npos);
    Load("[display]\nscale = 4\n");  // before the version line: the same keys
    EXPECT_EQ(Settings.scale, 4);
    EXPECT_EQ(Config_Text().find("lens"), std::string::npos);
}

// What the file cannot use is named (file, line, key) and that setting
// keeps its default; the rest of the file still counts.
TEST_F(ConfigTest, BadLinesGiveWarningsAndDefaults) {
    Load("[display]\nscale = 4\nscale = 12\nscaling = blurry\n[sound]\nmusic-volume = 50x\n"
         "effect-volume = 40\ncolour = red\n[nowhere]\nscale = 3\n[keys]\nkey-shot = NoSuchKey\nkey-bomb = X\n"
         "[board]\nboard-url = file:///etc/passwd\nplayer-name = a\x7f\n"
         "player-name = \xe3\x80\x80\xe3\x80\x80\n");  // only spaces: the board refuses it
    EXPECT_EQ(ConfigWarnings, 9);
    EXPECT_STREQ(Settings.boardUrl, "");  // only http(s) is ever sent to
    EXPECT_STREQ(Settings.playerName, "");
    EXPECT_EQ(Settings.scale, 0);  // the bad second line wins: default
    EXPECT_EQ(Settings.scaling, SCALING_FIT);
    EXPECT_EQ(Settings.musicVolume, 100);
    EXPECT_EQ(Settings.effectVolume, 40);
    EXPECT_EQ(Text("key-shot"), "Space");
    EXPECT_EQ(Text("key-bomb"), "X");

    // The warning names the file, the line and the key.
    ConfigQuiet = false;
    testing::internal::CaptureStderr();
    Load("[sound]\n\nmute = maybe\n");
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("test.ini, line 3, key 'mute'"), std::string::npos) << err;
    EXPECT_NE(err.find("maybe"), std::string::npos) << err;
}

TEST_F(ConfigTest, DamagedFilesNeverStopTheGame) {
    // Binary junk, with NULs and a line that is no setting at all.
    std::string junk;
    for (int i = 0; i < 4096; i++) junk += (char)((i * 7919) & 255);
    Load(junk);
    EXPECT_GT(ConfigWarnings, 0);

    // A huge line, then a good one.
    ConfigWarnings = 0;
    Settings_ResetDefaults();
    Load("[display]\nscale = " + std::string(100000, '7') + "\nvsync = off\n");
    EXPECT_EQ(ConfigWarnings, 1);
    EXPECT_EQ(Settings.scale, 0);
    EXPECT_EQ(Settings.vsync, 0);

    // A file far too large to be a settings file.
    ConfigWarnings = 0;
    std::string big = dir + "/big.ini";
    std::ofstream(big) << std::string(1 << 20, '#');
    Config_Load(big);
    EXPECT_EQ(ConfigWarnings, 1);

    // A missing file is no error: the defaults, quietly.
    ConfigWarnings = 0;
    Config_Load(dir + "/none.ini");
    EXPECT_EQ(ConfigWarnings, 0);
}

TEST_F(ConfigTest, AnUnwritableFolderKeepsTheOldFileAndWarns) {
    std::string path = dir + "/quellstorm.ini";
    ASSERT_TRUE(Config_Save(path));
    std::string before = ReadAll(path);
    if (geteuid() != 0) {  // root writes anywhere
        chmod(dir.c_str(), 0500);
        Settings.musicVolume = 10;
        Config_KeepCurrent();
        EXPECT_FALSE(Config_Save(path));
        EXPECT_EQ(ConfigWarnings, 1);
        EXPECT_EQ(ReadAll(path), before);
    }
    // A folder that cannot be made at all.
    ConfigWarnings = 0;
    std::ofstream(dir + "/file") << "x";
    EXPECT_FALSE(Config_Save(dir + "/file/sub/quellstorm.ini"));
    EXPECT_EQ(ConfigWarnings, 1);
}

// The command line sets a setting for this run only: a save keeps the
// file's value.
TEST_F(ConfigTest, CommandLineOverridesAreNotWritten) {
    std::string path = dir + "/quellstorm.ini";
    std::ofstream(path) << "[display]\nscale = 3\n[sound]\nmute = off\n";
    std::string cfg = "--config=" + path;
    char a0[] = "qs", a2[] = "--window", a3[] = "--mute", a4[] = "on";
    char* argv[] = {a0, &cfg[0], a2, a3, a4};
    ASSERT_EQ(Shell_ParseArgs(5, argv), 1);
    Settings_ResetDefaults();
    Config_Load(Config_Path());
    Settings_ReapplyOverrides();
    EXPECT_EQ(Settings.scale, 3);
    EXPECT_EQ(Settings.fullscreen, 0);
    EXPECT_EQ(Settings.mute, 1);

    Settings.musicVolume = 60;  // the player changes one setting
    Config_Changed(*Settings_Find("sound", "music-volume"));
    Settings_ResetDefaults();
    Config_Load(path);
    EXPECT_EQ(Settings.musicVolume, 60);
    EXPECT_EQ(Settings.scale, 3);
    EXPECT_EQ(Settings.fullscreen, 1);
    EXPECT_EQ(Settings.mute, 0);
}

TEST(CommandLine, HelpVersionAndAReplayByItself) {
    char a0[] = "qs", h[] = "--help", v[] = "--version", f[] = "run.qsr", t[] = "run.txt", p[] = "--pace",
         sm[] = "smooth", pl[] = "--pace-log", lf[] = "pace.log";
    testing::internal::CaptureStdout();
    char* help[] = {a0, h};
    EXPECT_EQ(Shell_ParseArgs(2, help), -1);
    std::string out = testing::internal::GetCapturedStdout();
    // Every option and setting of the table is in the help (but the build's).
    for (int i = 0; i < SettingsCount; i++) {
        if (SettingsTable[i].home == SH_RECORD || (SettingsTable[i].flags & SF_HIDDEN)) continue;
        EXPECT_NE(out.find(std::string("--") + SettingsTable[i].name), std::string::npos) << SettingsTable[i].name;
    }
    testing::internal::CaptureStdout();
    char* version[] = {a0, v};
    EXPECT_EQ(Shell_ParseArgs(2, version), -1);
    EXPECT_NE(testing::internal::GetCapturedStdout().find("quellstorm"), std::string::npos);

    char* play[] = {a0, p, sm, f, pl, lf};
    ASSERT_EQ(Shell_ParseArgs(6, play), 1);
    EXPECT_STREQ(Options.play, "run.qsr");
    EXPECT_EQ(Options.pace, 1);
    EXPECT_STREQ(Options.paceLog, "pace.log");
    testing::internal::CaptureStderr();
    char* other[] = {a0, t};
    EXPECT_EQ(Shell_ParseArgs(2, other), 0);
    char* two[] = {a0, f, f};
    EXPECT_EQ(Shell_ParseArgs(3, two), 0);
    testing::internal::GetCapturedStderr();
    Settings_ResetDefaults();
}

}  // namespace

#include "pages/settings_page.h"
#include "platform/input.h"
#include "shell/shell.h"

namespace {

// The settings page's rebinding: a key taken from another game key trades
// places with it, the shell's own keys are refused, and the speed
// correction row sets the correction back to 0. Every change is saved.
TEST_F(ConfigTest, ThePageRebindsBySwappingAndResetsTheSpeed) {
    std::string cfg = "--config=" + dir + "/page.ini";
    char a0[] = "qs";
    char* argv[] = {a0, &cfg[0]};
    ASSERT_EQ(Shell_ParseArgs(2, argv), 1);
    SettingsPage_Reset();
    auto press = [](int vk, const char* phys = nullptr) {
        SettingsPage_TakePhysical(phys ? Plat_KeyFromName(phys) : 0);
        return SettingsPage_Key(vk);
    };
    int shotRow = 0;
    while (SettingsTable[shotRow].value != &Settings.key[GK_SHOT]) shotRow++;
    int labelled = 0;
    for (int i = 0; i < shotRow; i++) labelled += SettingsTable[i].label != nullptr;
    for (int i = 0; i < labelled; i++) ASSERT_TRUE(press(VK_DOWN));
    ASSERT_TRUE(press(VK_RETURN, "Return"));
    ASSERT_TRUE(press(0, "F12"));  // the screenshot key stays the shell's
    EXPECT_EQ(Text("key-shot"), "Space");
    ASSERT_TRUE(press(VK_RETURN, "Return"));
    ASSERT_TRUE(press(VK_Z, "Z"));
    EXPECT_EQ(Text("key-shot"), "Z");
    EXPECT_EQ(Text("key-bomb"), "Space");
    std::string ini = ReadAll(dir + "/page.ini");
    EXPECT_NE(ini.find("key-shot = Z\n"), std::string::npos) << ini;
    EXPECT_NE(ini.find("key-bomb = Space\n"), std::string::npos) << ini;
    EXPECT_FALSE(press(VK_ESCAPE, "Escape"));  // not waiting: Escape closes the page

    SpeedAdjust = 0.5f;
    for (int i = 0; i <= labelled; i++) ASSERT_TRUE(press(VK_UP));  // past the first row to the last: the speed correction
    ASSERT_TRUE(press(VK_LEFT));
    EXPECT_EQ(SpeedAdjust, 0.0f);
    Settings_ResetDefaults();
    Settings_Apply();
}

}  // namespace

// The practice record is read like any file: what does not parse or lies
// out of range is left out, the rest is taken, and what is written reads
// back the same.
TEST(PracticeRecordFile, ReadsWhatItCanAndWritesWhatItReads) {
    PracticeRecord r = Practice_Parse("QSPRACTICE 1\nreached NORMAL 4\nreached HARD 9\nreached EXTRA 3\n"
                                      "best 2 12345 1 2 3 4 5\nbest 6 99 0 0 0 0 0\nbest 3 -5 0 0 0 0 0\n"
                                      "best 4 99999999999999999999 0 0 0 0 0\nbest 5 700 1 2 3\nnonsense\n");
    EXPECT_EQ(r.reached[1], 4);
    EXPECT_EQ(r.reached[2], 1);
    EXPECT_EQ(r.best[1], 12345);
    EXPECT_EQ(r.bestJewel[1][4], 5);
    for (int k : {0, 2, 3, 4}) EXPECT_EQ(r.best[k], -1) << k;
    PracticeRecord back = Practice_Parse(Practice_Format(r));
    EXPECT_EQ(Practice_Format(back), Practice_Format(r));
    EXPECT_EQ(Practice_Parse("QSPRACTICE 2\nreached NORMAL 4\n").reached[1], 1);  // not a file this game knows
    // A best is a stage's score above the one held; the staff roll counts as stage 5.
    int32_t jewels[5] = {1, 1, 1, 1, 1};
    EXPECT_FALSE(Practice_StageBest(r, 2, 12345, jewels));
    EXPECT_FALSE(Practice_StageBest(r, 1, 0, jewels));
    EXPECT_TRUE(Practice_StageBest(r, 1, 10, jewels));
    EXPECT_TRUE(Practice_Reached(r, 1, 6));
    EXPECT_EQ(r.reached[1], 5);
}
