// The replay folder's names, its prune rule and its folder work; the
// replays page's rows and actions; the pause on focus loss.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <sys/stat.h>

#include "config/ghosttrack.h"
#include "platform/files.h"
#include "shell/kept_replays.h"
#include "pages/replays_page.h"
#include "platform/input.h"
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

// Every .qsr of the folder is a row, newest game first; what cannot be
// played is listed as such (a foreign file, a broken line, another
// simulation), a recording cut short still plays; K keeps a replay for
// good in kept/, Delete asks first.
TEST(KeptReplays, ThePageListsEveryFileAndKeepsAndDeletes) {
    char tmpl[] = "/tmp/qs_replays_XXXXXX";
    ASSERT_TRUE(mkdtemp(tmpl));
    std::string dir = std::string(tmpl) + "/";
    auto write = [&](const std::string& name, const std::string& text) { std::ofstream(dir + name) << text; };
    auto game = [](const char* date, int score) {
        return "QSREPLAY 2\nsim 1\ndate " + std::string(date) + "\ndifficulty 2\nscore " + std::to_string(score) +
               "\nstage 3\nstate 0102\n1 K 0\n50 H 0123\n";
    };
    write("20261201-100000-HARD-5.qsr", game("2026-12-01 10:00:00", 5) + "end 60\n");
    write("20261203-100000-HARD-7.qsr", game("2026-12-03 10:00:00", 7));  // cut: no end line
    write("20261202-100000-HARD-9.qsr", game("2026-12-02 10:00:00", 9) + "7 X what\nend 60\n");
    write("old.qsr", "QSREPLAY 1\ndat 00\n");  // a broken score record
    write("other.qsr", "QSREPLAY 2\nsim 99\nend 5\n");
    write("photo.qsr", "\x89PNG\r\n");
    write("notes.txt", "not listed");
    ReplaysPage_SetFolder(dir);
    ReplaysPage_Open();
    ASSERT_EQ(ReplaysPage_RowCount(), 6);
    auto row = [](const std::string& name) {
        for (int i = 0; i < ReplaysPage_RowCount(); i++)
            if (ReplaysPage_RowName(i) == name) return i;
        return -1;
    };
    int cut = row("20261203-100000-HARD-7.qsr"), broken = row("20261202-100000-HARD-9.qsr");
    int good = row("20261201-100000-HARD-5.qsr");
    EXPECT_TRUE(cut < broken && broken < good);  // the game's date, newest first
    EXPECT_TRUE(ReplaysPage_RowPlayable(cut));   // up to its last whole frame
    EXPECT_FALSE(ReplaysPage_RowPlayable(broken));
    EXPECT_TRUE(ReplaysPage_RowPlayable(good));
    for (const char* name : {"old.qsr", "other.qsr", "photo.qsr"}) {
        ASSERT_GE(row(name), 0) << name;
        EXPECT_FALSE(ReplaysPage_RowPlayable(row(name))) << name;
    }

    // Keep the good one for good, then delete the cut one: No, then Yes.
    auto moveTo = [](int target) {
        while (target-- > 0) ReplaysPage_Key(VK_DOWN);
    };
    for (int i = 0; i < 6; i++) ReplaysPage_Key(VK_UP);
    moveTo(good);
    EXPECT_TRUE(ReplaysPage_Key(VK_K));
    struct stat st;
    EXPECT_EQ(stat((dir + "kept/20261201-100000-HARD-5.qsr").c_str(), &st), 0);
    EXPECT_NE(stat((dir + "20261201-100000-HARD-5.qsr").c_str(), &st), 0);
    for (int i = 0; i < 6; i++) ReplaysPage_Key(VK_UP);
    moveTo(cut);
    ReplaysPage_Key(VK_DELETE);
    EXPECT_TRUE(ReplaysPage_Key(VK_ESCAPE));  // answers the question, does not close the page
    EXPECT_EQ(stat((dir + "20261203-100000-HARD-7.qsr").c_str(), &st), 0);
    ReplaysPage_Key(VK_DELETE);
    ReplaysPage_Key(VK_Y);
    EXPECT_NE(stat((dir + "20261203-100000-HARD-7.qsr").c_str(), &st), 0);
    ReplaysPage_Open();  // read again: the one kept for good is still listed
    EXPECT_EQ(ReplaysPage_RowCount(), 5);
    EXPECT_GE(row("20261201-100000-HARD-5.qsr"), 0);
    std::system(("rm -rf '" + dir + "'").c_str());
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

    // A practice run is kept while recent, never as one of the best: its
    // score is not a game's.
    KeptName k;
    ASSERT_TRUE(Kept_ParseName("20261201-000000-NORMAL-PRACTICE-999999-2.qsr", &k));
    EXPECT_TRUE(k.practice);
    EXPECT_EQ(k.score, 999999);
    names.clear();
    for (int i = 0; i < 60; i++) names.push_back(Name(4, i, "HARD", 1));
    names.push_back("20261201-000000-NORMAL-PRACTICE-999999.qsr");
    gone = Kept_ToPrune(names);
    EXPECT_EQ(std::count(gone.begin(), gone.end(), names.back()), 1);
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

// A ghost's track comes from the network too: it reads back what was
// written (big moves, losses of score, stage changes) and refuses any
// file whose counts do not add up, without reading past its end.
TEST(GhostTrack, ReadsBackWhatWasWrittenAndRefusesBrokenFiles) {
    GhostTrackWriter w;
    GhostTrack_Begin(&w, 1, 2, 1, 10);
    GhostTrack_Add(&w, 0.0f, 220.9f, true, 1, 0);
    GhostTrack_Add(&w, 3.5f, 218.0f, true, 1, 1500);
    GhostTrack_Add(&w, 600.0f, -40.0f, false, 1, 1200);  // a jump, a loss of points
    GhostTrack_Add(&w, 601.0f, -39.0f, true, 2, 9000000000LL);
    std::string file = GhostTrack_File(w);
    GhostTrack t;
    std::string why;
    ASSERT_TRUE(GhostTrack_Parse(file.data(), file.size(), &t, &why)) << why;
    ASSERT_EQ(t.points.size(), 4u);
    EXPECT_EQ(t.difficulty, 2);
    const GhostPoint* p = GhostTrack_At(t, 3);
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->x, 600);
    EXPECT_EQ(p->y, -40);
    EXPECT_EQ(p->shown, 0);
    EXPECT_EQ(p->score, 1200);
    EXPECT_EQ(GhostTrack_At(t, 4)->score, 9000000000LL);
    EXPECT_EQ(GhostTrack_At(t, 2)->y, 218);
    EXPECT_EQ(t.stageEnd[1], 1200);
    EXPECT_EQ(GhostTrack_At(t, 5), nullptr);
    EXPECT_EQ(GhostTrack_At(t, 0), nullptr);

    size_t data = file.find("\ndata ") + 1;
    data = file.find('\n', data) + 1;
    for (size_t cut = 0; cut < file.size(); cut++) {
        std::string shorter = file.substr(0, cut);
        EXPECT_FALSE(GhostTrack_Parse(shorter.data(), shorter.size(), &t, &why)) << cut;
    }
    std::string longer = file + "x", flags = file, frames = file;
    flags[data] = (char)0x90;
    frames.replace(frames.find("frames 4"), 8, "frames 5");
    for (const std::string& bad : {longer, flags, frames, std::string("QSTRACK 2\nframes 0\ndata 0\n")}) {
        EXPECT_FALSE(GhostTrack_Parse(bad.data(), bad.size(), &t, &why));
        EXPECT_TRUE(t.points.empty());
    }
}
