#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <csignal>
#include <cstdlib>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/resource.h>
#include <unistd.h>
#include <vector>

#include "game/score.h"
#include "platform/files.h"
#include "platform/msgbox.h"
#include "shell/shell.h"

namespace {

using Bytes = std::vector<uint8_t>;

class ScoreFileTest : public ::testing::Test {
protected:
    std::string dir;   // with a trailing '/'
    std::string file;

    void SetUp() override {
        char tmpl[] = "/tmp/qs_score_XXXXXX";
        ASSERT_NE(mkdtemp(tmpl), nullptr);
        dir = std::string(tmpl) + "/";
        file = dir + "score.dat";
        HomeDir = dir.c_str();
        Plat_SetHeadless(true);
        std::memset(&dat, 0, sizeof dat);
        SpeedAdjust = 0.0f;
        DatLoaded = true;  // as after the loading pass
    }
    void TearDown() override {
        HomeDir = nullptr;
        std::filesystem::remove_all(dir);
        std::memset(&dat, 0, sizeof dat);
        SpeedAdjust = 0.0f;
    }
    Bytes ReadAll(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return Bytes(std::istreambuf_iterator<char>(in), {});
    }
    void WriteAll(const std::string& path, const Bytes& b) {
        std::ofstream out(path, std::ios::binary);
        out.write((const char*)b.data(), (std::streamsize)b.size());
    }
};

// Little-endian value of `size` bytes at `off`.
static void Put(Bytes& b, size_t off, uint64_t v, int size) {
    for (int i = 0; i < size; i++) b[off + i] = (uint8_t)(v >> (8 * i));
}
static uint64_t Get(const Bytes& b, size_t off, int size) {
    uint64_t v = 0;
    for (int i = 0; i < size; i++) v |= (uint64_t)b[off + i] << (8 * i);
    return v;
}

// Every field a distinctive value; the same values laid out at the file's
// offsets by hand.
static void FillRecord(DAT& d, Bytes& img) {
    img.assign(DAT_SIZE, 0);
    d.score = 0x0102030405060708LL;                Put(img, 0, (uint64_t)d.score, 8);
    d.hiscore = -2;                                Put(img, 8, (uint64_t)d.hiscore, 8);
    std::memset(d.reserved0, 0xA0, 8);             std::memset(&img[16], 0xA0, 8);
    std::strcpy(d.scoretext, "1234567890123456789");
    std::memcpy(&img[24], d.scoretext, 20);
    std::strcpy(d.hiscoretext, "99");              std::memcpy(&img[44], "99", 2);
    std::memset(d.reserved1, 0xA1, 20);            std::memset(&img[64], 0xA1, 20);
    d.playcount = 0x11223344;                      Put(img, 84, 0x11223344, 4);
    for (int k = 0; k < 5; k++) {
        d.runscore[k] = 1000 + k;                  Put(img, 88 + 8 * k, 1000 + k, 8);
        d.stagebest[k] = -(3000 + k);              Put(img, 328 + 8 * k, (uint64_t)(int64_t)-(3000 + k), 8);
        d.clearbest[k] = 5000000000LL + k;         Put(img, 568 + 8 * k, 5000000000ULL + k, 8);
        d.bestrun[k] = 7000 + k;                   Put(img, 808 + 8 * k, 7000 + k, 8);
        for (int j = 0; j < 5; j++) {
            int v = 10 * k + j;
            d.runjewel[k][j] = 100 + v;            Put(img, 228 + 20 * k + 4 * j, 100 + v, 4);
            d.stagebestjewel[k][j] = 200 + v;      Put(img, 468 + 20 * k + 4 * j, 200 + v, 4);
            d.clearbestjewel[k][j] = 300 + v;      Put(img, 708 + 20 * k + 4 * j, 300 + v, 4);
            d.bestrunjewel[k][j] = -(400 + v);     Put(img, 948 + 20 * k + 4 * j, (uint32_t)-(400 + v), 4);
        }
    }
    std::memset(d.reserved2, 0xA2, 100);           std::memset(&img[128], 0xA2, 100);
    std::memset(d.reserved3, 0xA3, 100);           std::memset(&img[368], 0xA3, 100);
    std::memset(d.reserved4, 0xA4, 100);           std::memset(&img[608], 0xA4, 100);
    std::memset(d.reserved5, 0xA5, 100);           std::memset(&img[848], 0xA5, 100);
    d.clearcount = 12;                             Put(img, 1048, 12, 4);
    d.deaths = 99;                                 Put(img, 1052, 99, 4);
    d.bestruntime = {0x5F000000, 999, -540, 1, {0, 0}};
    Put(img, 1068, 0x5F000000, 4); Put(img, 1072, 999, 2);
    Put(img, 1074, (uint16_t)-540, 2); Put(img, 1076, 1, 2);
    d.speed = 0.125f;                              Put(img, 1080, 0x3E000000, 4);  // 0.125f
    std::memset(d.reserved6, 0xA6, 4);            std::memset(&img[1084], 0xA6, 4);
}

TEST_F(ScoreFileTest, SaveWritesEveryFieldAtItsOffsetAndLoadReadsItBack) {
    Bytes expected;
    FillRecord(dat, expected);
    DAT original = dat;
    dat.speed = 9.0f;      // the save takes the live correction
    SpeedAdjust = 0.125f;
    // time() reads a coarse clock that can lag the precise one the save uses by
    // a tick, so bracket the save with the same clock it reads.
    auto secsNow = [] {
        return (long long)std::chrono::duration_cast<std::chrono::seconds>(
                   std::chrono::system_clock::now().time_since_epoch()).count();
    };
    long long before = secsNow();
    DataSave();
    long long after = secsNow();

    Bytes got = ReadAll(file);
    ASSERT_EQ(got.size(), 1088u);
    // The save time is the moment of saving.
    int32_t stamp = (int32_t)Get(got, 1056, 4);
    EXPECT_GE(stamp, (int32_t)before);
    EXPECT_LE(stamp, (int32_t)after);
    EXPECT_LT(Get(got, 1060, 2), 1000u);
    tzset();
    EXPECT_EQ((int16_t)Get(got, 1062, 2), (int16_t)(timezone / 60));
    EXPECT_EQ(Get(got, 1066, 2), 0u);
    for (size_t i = 1056; i < 1068; i++) got[i] = expected[i] = 0;
    for (size_t i = 0; i < got.size(); i++) ASSERT_EQ(got[i], expected[i]) << "offset " << i;

    std::memset(&dat, 0, sizeof dat);
    SpeedAdjust = 0.0f;
    DataLoad();
    EXPECT_EQ(SpeedAdjust, 0.125f);
    for (int64_t v : dat.runscore) EXPECT_EQ(v, 0);  // the run starts anew
    std::memset(original.runscore, 0, sizeof original.runscore);
    original.savetime = dat.savetime;
    EXPECT_EQ(0, std::memcmp(&original, &dat, sizeof dat));
}

TEST_F(ScoreFileTest, MissingFileShowsTheBoxAndKeepsAZeroRecord) {
    testing::internal::CaptureStderr();
    DataLoad();
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("ハイスコアがロードできないよ～"), std::string::npos) << err;
    EXPECT_NE(err.find("おーぷんえらー"), std::string::npos) << err;
    const DAT zero = {};
    EXPECT_EQ(0, std::memcmp(&zero, &dat, sizeof dat));
    EXPECT_EQ(SpeedAdjust, 0.0f);
    // The first save then creates the file whole.
    DataSave();
    EXPECT_EQ(ReadAll(file).size(), 1088u);
}

TEST_F(ScoreFileTest, ShortAndLongFiles) {
    Bytes img;
    DAT full;
    FillRecord(full, img);

    // 86 bytes: the texts in full, half of the play count, nothing after.
    WriteAll(file, Bytes(img.begin(), img.begin() + 86));
    dat.deaths = 5;  // not in the file: read as 0
    testing::internal::CaptureStderr();
    DataLoad();
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_EQ(dat.score, full.score);
    EXPECT_STREQ(dat.scoretext, full.scoretext);
    EXPECT_EQ(dat.playcount, 0x3344);
    EXPECT_EQ(dat.stagebest[4], 0);
    EXPECT_EQ(dat.deaths, 0);
    EXPECT_EQ(dat.speed, 0.0f);

    // Empty file: opens fine, holds nothing.
    WriteAll(file, Bytes());
    dat.deaths = 5;
    DataLoad();
    EXPECT_EQ(dat.deaths, 0);

    // Longer than a record: the first 1088 bytes count.
    Bytes longer = img;
    longer.resize(1500, 0xEE);
    WriteAll(file, longer);
    DataLoad();
    EXPECT_EQ(dat.deaths, 99);
    EXPECT_EQ(dat.speed, 0.125f);
    EXPECT_EQ(0, std::memcmp(dat.reserved6, "\xA6\xA6\xA6\xA6", 4));
}

TEST_F(ScoreFileTest, DamagedFieldsAreMadeSafe) {
    Bytes img(DAT_SIZE, 0);
    std::memset(&img[24], '7', 40);           // both texts without terminator
    Put(img, 1080, 0x7FC00000, 4);            // speed correction NaN
    WriteAll(file, img);
    DataLoad();
    EXPECT_EQ(std::strlen(dat.scoretext), 19u);
    EXPECT_EQ(std::strlen(dat.hiscoretext), 19u);
    EXPECT_EQ(SpeedAdjust, 0.0f);

    Put(img, 1080, 0xBF800000, 4);            // -1.0
    WriteAll(file, img);
    DataLoad();
    EXPECT_EQ(SpeedAdjust, 0.0f);
}

TEST_F(ScoreFileTest, UnwritableFolderShowsTheBoxes) {
    // A home "folder" that is a plain file: nothing can be read or made in it.
    std::string notDir = dir + "plain";
    WriteAll(notDir, Bytes(3, 1));
    std::string home = notDir + "/";
    HomeDir = home.c_str();
    testing::internal::CaptureStderr();
    DataSave();
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("ハイスコアがセーブできないよ～"), std::string::npos) << err;
    EXPECT_NE(err.find("おーぷんえらー"), std::string::npos);

    // A folder name too long for any path is refused the same way.
    std::string huge(5000, 'd');
    huge += "/";
    HomeDir = huge.c_str();
    testing::internal::CaptureStderr();
    DataSave();
    DataLoad();
    err = testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("ハイスコアがセーブできないよ～"), std::string::npos);
    EXPECT_NE(err.find("ハイスコアがロードできないよ～"), std::string::npos);
}

TEST_F(ScoreFileTest, InterruptedSaveKeepsTheOldFile) {
    Bytes old;
    DAT rec;
    FillRecord(rec, old);
    WriteAll(file, old);

    // The disk "fills up" halfway through writing the new record.
    dat.score = 42;
    struct rlimit saved;
    getrlimit(RLIMIT_FSIZE, &saved);
    struct rlimit small = saved;
    small.rlim_cur = 500;
    auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    testing::internal::CaptureStderr();
    DataSave();
    std::string err = testing::internal::GetCapturedStderr();
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_NE(err.find("ハイスコアがセーブできないよ～"), std::string::npos) << err;
    EXPECT_EQ(ReadAll(file), old);
    std::vector<std::string> entries;  // no half-written leftovers
    for (auto& e : std::filesystem::directory_iterator(dir)) entries.push_back(e.path().filename());
    EXPECT_EQ(entries, std::vector<std::string>{"score.dat"});
    DataSave();  // with room again it goes through
    EXPECT_EQ(Get(ReadAll(file), 0, 8), 42u);
}

TEST_F(ScoreFileTest, SaveBeforeTheRecordWasReadKeepsTheFile) {
    Bytes old;
    DAT rec;
    FillRecord(rec, old);
    WriteAll(file, old);
    DatLoaded = false;
    DataSave();  // Escape in the very first frame
    EXPECT_EQ(ReadAll(file), old);
    DataLoad();
    DataSave();
    EXPECT_EQ(Get(ReadAll(file), 1052, 4), 99u);
    EXPECT_NE(ReadAll(file), old);  // stamped and run scores cleared
}

// Where the record lives without --home: beside the program when one lies
// there in a folder it may write, else in $XDG_DATA_HOME/quellstorm/,
// read from beside the program until the first save makes that copy.
class RecordPlaceTest : public ScoreFileTest {
protected:
    std::string prog, xdg, saved;
    bool hadXdg = false;
    void SetUp() override {
        ScoreFileTest::SetUp();
        prog = dir + "games/";
        xdg = dir + "xdg/";
        std::filesystem::create_directories(prog);
        if (const char* v = std::getenv("XDG_DATA_HOME")) { hadXdg = true; saved = v; }
        setenv("XDG_DATA_HOME", xdg.c_str(), 1);
        HomeDir = nullptr;
        RecordProgramDir = prog.c_str();
        RecordProgramDirWritable = 1;
    }
    void TearDown() override {
        if (hadXdg) setenv("XDG_DATA_HOME", saved.c_str(), 1);
        else unsetenv("XDG_DATA_HOME");
        RecordProgramDir = nullptr;
        RecordProgramDirWritable = -1;
        ScoreFileTest::TearDown();
    }
    // A record whose high score is `hi`.
    Bytes Record(uint64_t hi) {
        Bytes b(DAT_SIZE, 0);
        Put(b, 8, hi, 8);
        return b;
    }
    // DataLoad, answering whether it showed the load box.
    bool LoadShowsBox() {
        testing::internal::CaptureStderr();
        DataLoad();
        return testing::internal::GetCapturedStderr().find("ロードできない") != std::string::npos;
    }
};

TEST_F(RecordPlaceTest, ARecordBesideAWritableProgramIsUsedInPlace) {
    WriteAll(prog + "score.dat", Record(123456));
    EXPECT_FALSE(LoadShowsBox());
    EXPECT_EQ(dat.hiscore, 123456);
    dat.hiscore = 654321;
    DataSave();
    EXPECT_EQ(Get(ReadAll(prog + "score.dat"), 8, 8), 654321u);
    EXPECT_FALSE(std::filesystem::exists(xdg));
    // --home still wins.
    HomeDir = dir.c_str();
    DataSave();
    EXPECT_EQ(Get(ReadAll(file), 8, 8), 654321u);
}

TEST_F(RecordPlaceTest, WithoutOneTheRecordGoesToTheUserDataFolderMadeOnTheFirstStart) {
    // The first run of all: a fresh all-zero record is laid in the user's
    // folder and loaded, so no box.
    EXPECT_FALSE(LoadShowsBox());
    EXPECT_EQ(ReadAll(xdg + "quellstorm/score.dat"), Bytes(DAT_SIZE, 0));
    dat.hiscore = 77;
    DataSave();
    EXPECT_EQ(ReadAll(xdg + "quellstorm/score.dat").size(), (size_t)DAT_SIZE);
    EXPECT_FALSE(std::filesystem::exists(prog + "score.dat"));
    dat.hiscore = 0;
    EXPECT_FALSE(LoadShowsBox());
    EXPECT_EQ(dat.hiscore, 77);
}

TEST_F(RecordPlaceTest, ARecordBesideAReadOnlyProgramIsCopiedOverOnTheFirstSave) {
    RecordProgramDirWritable = 0;
    Bytes shipped = Record(5000);
    Put(shipped, 1052, 42, 4);  // deaths
    WriteAll(prog + "score.dat", shipped);
    EXPECT_FALSE(LoadShowsBox());
    EXPECT_EQ(dat.hiscore, 5000);
    EXPECT_FALSE(std::filesystem::exists(xdg));  // nothing made by reading
    DataSave();
    Bytes mine = ReadAll(xdg + "quellstorm/score.dat");
    ASSERT_EQ(mine.size(), (size_t)DAT_SIZE);
    EXPECT_EQ(Get(mine, 8, 8), 5000u);
    EXPECT_EQ(Get(mine, 1052, 4), 42u);
    EXPECT_EQ(ReadAll(prog + "score.dat"), shipped);  // the shipped one untouched
    // From now on the user's own copy is the record.
    WriteAll(xdg + "quellstorm/score.dat", Record(9999));
    EXPECT_FALSE(LoadShowsBox());
    EXPECT_EQ(dat.hiscore, 9999);
}

}  // namespace
