// The replay folder's names, its prune rule and its folder work; the pause
// on focus loss.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <set>

#include "platform/files.h"
#include "shell/kept_replays.h"
#include "game/game.h"
#include "shell/frameloop.h"
#include "shell/shell.h"

namespace {

std::string Name(int day, int secs, const char* diff, long long score) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "202612%02d-%06d-%s-%lld.qsr", day, secs, diff, score);
    return buf;
}

}  // namespace

TEST(KeptReplays, NamesAreReadBackAndStrangersLeftAlone) {
    KeptName k;
    ASSERT_TRUE(Kept_ParseName("20261207-183512-NORMAL-1234560.qsr", &k));
    EXPECT_EQ(k.stamp, "20261207-183512");
    EXPECT_EQ(k.score, 1234560);
    ASSERT_TRUE(Kept_ParseName("20261207-183512-SPECIAL-0-2.qsr", &k));
    EXPECT_EQ(k.score, 0);
    ASSERT_TRUE(Kept_ParseName("20261207-183512-unfinished.qsr", &k));
    EXPECT_EQ(k.score, -1);
    ASSERT_TRUE(Kept_ParseName("20261207-183512-unfinished-3.qsr", &k));
    for (const char* stranger : {"notes.txt", "my-best.qsr", "20261207-183512-NORMAL-12.qsr.tmp",
                                 "20261207-183512-MEDIUM-12.qsr", "20261207-183512-NORMAL-.qsr",
                                 "20261207-183512-NORMAL-1x.qsr", "20261207-1835-NORMAL-12.qsr",
                                 "20261207-183512-NORMAL-99999999999999999999.qsr", "20261207-183512-unfinished-x.qsr",
                                 "20261207-183512-NORMAL-1-2-3.qsr", ".", ".."})
        EXPECT_FALSE(Kept_ParseName(stranger, &k)) << stranger;
}

TEST(KeptReplays, PruneKeepsTheMostRecentAndTheBest) {
    // 80 games, one a minute; the scores rise and fall so that the best
    // ten are among the oldest.
    std::vector<std::string> names;
    for (int i = 0; i < 80; i++) names.push_back(Name(1, i * 100, "HARD", i < 20 ? 1000000 + i : i));
    names.push_back("readme.txt");
    names.push_back("20261201-000000-unfinished.qsr");  // killed long ago
    std::vector<std::string> gone = Kept_ToPrune(names);
    std::set<std::string> goneSet(gone.begin(), gone.end());
    EXPECT_FALSE(goneSet.count("readme.txt"));
    for (int i = 0; i < 80; i++) {
        bool recent = i >= 30, best = i >= 10 && i < 20;
        EXPECT_EQ(goneSet.count(names[i]) == 0, recent || best) << names[i];
    }
    EXPECT_TRUE(goneSet.count("20261201-000000-unfinished.qsr"));
    EXPECT_EQ(gone.size(), 80u + 1 - 60);

    // The two sets may overlap: a recent game that is also among the best
    // is one of the ten. Of equal scores the earlier game keeps its place.
    names.clear();
    for (int i = 0; i < 70; i++) names.push_back(Name(2, i * 100, "EASY", i == 69 ? 999999 : 500));
    gone = Kept_ToPrune(names);
    goneSet = std::set<std::string>(gone.begin(), gone.end());
    EXPECT_EQ(gone.size(), 70u - 50 - 9);
    for (int i = 0; i < 9; i++) EXPECT_FALSE(goneSet.count(names[i])) << names[i];
    EXPECT_TRUE(goneSet.count(names[9]));

    // Under the limits nothing goes.
    EXPECT_TRUE(Kept_ToPrune({Name(3, 0, "NORMAL", 5), Name(3, 1, "NORMAL", 6)}).empty());
}

TEST(FocusLoss, PausesPlayOnceAndOnlyInPlay) {
    ShellOptions saved = Options;
    int scene = Scene, pause = PauseCount;
    Options = ShellOptions();
    Options.pauseOnFocusLoss = true;
    Options.bot = -1;
    Scene = 0;
    PauseCount = 0;
    Shell_FocusLost();
    EXPECT_EQ(PauseCount, 0);  // the title carries on
    Scene = 1;
    Shell_FocusLost();
    EXPECT_EQ(PauseCount, 1);
    Shell_FocusLost();  // lost again before the player came back: still paused
    EXPECT_EQ(PauseCount, 1);
    PauseCount = 2;  // resumed with the pause key
    Options.pauseOnFocusLoss = false;
    Shell_FocusLost();
    EXPECT_EQ(PauseCount, 2);
    Options.pauseOnFocusLoss = true;
    Options.headless = true;  // headless runs never pause by themselves
    Shell_FocusLost();
    EXPECT_EQ(PauseCount, 2);
    Options = saved;
    Scene = scene;
    PauseCount = pause;
}

// The folder work every kept file relies on: nested private folders made in
// one go, and a second file of the same second never written over the first.
TEST(KeptFolder, MadePrivateAndNamesNeverCollide) {
    char tmpl[] = "/tmp/qs_kept_XXXXXX";
    ASSERT_TRUE(mkdtemp(tmpl));
    std::string dir = Plat_WithSlash(std::string(tmpl) + "/a/b");
    ASSERT_TRUE(Plat_MakeDirs(dir));
    EXPECT_TRUE(Plat_IsDir(dir));
    struct stat st;
    ASSERT_EQ(stat((std::string(tmpl) + "/a").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);
    EXPECT_EQ(Plat_FreeName(dir, "20261207-183512-EASY-5", ".qsr", 1000), "20261207-183512-EASY-5.qsr");
    ASSERT_TRUE(Plat_WriteFileAtomic((dir + "20261207-183512-EASY-5.qsr").c_str(), "x", 1));
    EXPECT_EQ(Plat_FreeName(dir, "20261207-183512-EASY-5", ".qsr", 1000), "20261207-183512-EASY-5-2.qsr");
    EXPECT_EQ(Plat_ListDir(dir), std::vector<std::string>{"20261207-183512-EASY-5.qsr"});
    EXPECT_FALSE(Plat_MakeDirs(dir + "20261207-183512-EASY-5.qsr/c"));  // a file stands in the way
    std::filesystem::remove_all(tmpl);
}
