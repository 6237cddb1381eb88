// The records page: every field of the record shows in its own place, and
// time stamps read as the player's own clock.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <vector>

#include "core/lang.h"
#include "game/score.h"
#include "pages/records_page.h"
#include "platform/display.h"
#include "render/render.h"

namespace {

struct Box {
    int l, t, r, b;  // pixels changed lie in [l, r) x [t, b); empty when r <= l
};

std::vector<uint16_t> DrawPage() {
    RecordsPage_Draw();
    const uint16_t* px = Plat_SurfacePixels(DDBack);
    int stride = Plat_SurfacePitch(DDBack) / 2;
    std::vector<uint16_t> out(640 * 480);
    for (int y = 0; y < 480; y++)
        for (int x = 0; x < 640; x++) out[(size_t)y * 640 + x] = px[(size_t)y * stride + x];
    return out;
}

Box Changed(const std::vector<uint16_t>& a, const std::vector<uint16_t>& b) {
    Box box = {640, 480, 0, 0};
    for (int y = 0; y < 480; y++)
        for (int x = 0; x < 640; x++)
            if (a[(size_t)y * 640 + x] != b[(size_t)y * 640 + x]) {
                if (x < box.l) box.l = x;
                if (y < box.t) box.t = y;
                if (x + 1 > box.r) box.r = x + 1;
                if (y + 1 > box.b) box.b = y + 1;
            }
    return box;
}

class RecordsPageTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(DD_INIT(nullptr));
        dat = DAT();
    }
    void TearDown() override {
        DD_END(nullptr);
        dat = DAT();
        GameLanguage = LANG_JA;
    }
};

}  // namespace

// Changing one field of the record changes the picture, and only inside
// the place where that field belongs: the page reads each table from its
// own field and each stage and jewel kind from its own slot.
TEST_F(RecordsPageTest, EachFieldShowsInItsOwnPlace) {
    struct Case {
        const char* name;
        std::function<void()> set;
        Box within;
    };
    // Rows of the three tables start at y 122, 242 and 362, 19 apart;
    // scores end at x 320, jewel kind j starts at x 340 + 58 j.
    auto row = [](int table, int k) { return 122 + 120 * table + 19 * k; };
    const Case cases[] = {
        {"high score", [] { dat.hiscore = 123456789; }, {0, 46, 640, 68}},
        {"games started", [] { dat.playcount = 77; }, {0, 70, 640, 92}},
        {"ships lost", [] { dat.deaths = 99; }, {0, 70, 640, 92}},
        {"completions", [] { dat.clearcount = 5; }, {0, 70, 640, 92}},
        // (and the stages' sum, "best possible", at the right of the table's heading)
        {"stage 3 alone", [] { dat.stagebest[2] = 4567890; }, {100, 100, 640, row(0, 2) + 19}},
        {"stage 3 alone, red jewels", [] { dat.stagebestjewel[2][3] = 12; }, {514, row(0, 2), 572, row(0, 2) + 19}},
        {"stage 5 clear", [] { dat.clearbest[4] = 99999999; }, {100, row(1, 4), 322, row(1, 4) + 19}},
        {"stage 1 clear, blue jewels", [] { dat.clearbestjewel[0][1] = 8; }, {398, row(1, 0), 456, row(1, 0) + 19}},
        {"best run stage 2", [] { dat.bestrun[1] = 3000000; }, {100, row(2, 1), 322, row(2, 1) + 19}},
        {"best run stage 5, white jewels", [] { dat.bestrunjewel[4][4] = 31; }, {572, row(2, 4), 640, row(2, 4) + 19}},
        {"best run date", [] { dat.bestruntime.time = 1796668200; }, {0, 340, 640, 364}},  // brackets reach below
    };
    for (int lang : {LANG_JA, LANG_EN}) {
        GameLanguage = lang;
        for (const Case& c : cases) {
            dat = DAT();
            std::vector<uint16_t> before = DrawPage();
            c.set();
            Box box = Changed(before, DrawPage());
            SCOPED_TRACE(std::string(c.name) + (lang == LANG_EN ? " (English)" : " (Japanese)"));
            ASSERT_GT(box.r, box.l) << "the picture did not change";
            EXPECT_GE(box.l, c.within.l);
            EXPECT_GE(box.t, c.within.t);
            EXPECT_LE(box.r, c.within.r);
            EXPECT_LE(box.b, c.within.b);
        }
    }
}

TEST_F(RecordsPageTest, StampsReadInTheirOwnZone) {
    char out[32];
    DATTIME t = {};
    RecordsPage_FormatStamp(t, out, sizeof out);
    EXPECT_STREQ(out, "");  // never taken
    t.time = 1796668200;    // 2026-12-07 18:30 UTC
    RecordsPage_FormatStamp(t, out, sizeof out);
    EXPECT_STREQ(out, "2026-12-07 18:30");
    t.tzwest = -540;  // nine hours east: the next morning there
    RecordsPage_FormatStamp(t, out, sizeof out);
    EXPECT_STREQ(out, "2026-12-08 03:30");
    t.tzwest = 300;
    t.dstflag = 1;  // five hours west, on summer time: four hours behind
    RecordsPage_FormatStamp(t, out, sizeof out);
    EXPECT_STREQ(out, "2026-12-07 14:30");
    // The field keeps 32 bits: a stamp after January 2038 is still read
    // forward in time.
    t = DATTIME();
    t.time = (int32_t)(uint32_t)2208988800u;  // 2040-01-01 00:00 UTC
    RecordsPage_FormatStamp(t, out, sizeof out);
    EXPECT_STREQ(out, "2040-01-01 00:00");
    // A short buffer gets a cut, terminated text.
    RecordsPage_FormatStamp(t, out, 5);
    EXPECT_STREQ(out, "2040");
}
