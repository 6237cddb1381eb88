#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "entity/entity.h"
#include "platform/display.h"
#include "render/render.h"
#include "shell/shell.h"

namespace {

class PoolTest : public ::testing::Test {
protected:
    void SetUp() override {
        SpriteClearAll();
        std::memset(Shield, 0, sizeof Shield);
        std::memset(tama, 0, sizeof tama);
    }
    void TearDown() override { SpriteClearAll(); }
};

TEST_F(PoolTest, ClaimTakesLowestFreeSlot) {
    SpriteData* a = SpriteClaim(Shield);
    SpriteData* b = SpriteClaim(Shield);
    SpriteData* c = SpriteClaim(Shield);
    ASSERT_EQ(a, &Shield[0]);
    ASSERT_EQ(b, &Shield[1]);
    ASSERT_EQ(c, &Shield[2]);
    EXPECT_TRUE(Shield[2].flag);

    SpriteRelease(*b);
    EXPECT_EQ(SpriteClaim(Shield), &Shield[1]);
    // Slot 0 freed while higher slots are free too: 0 comes first.
    SpriteRelease(Shield[0]);
    EXPECT_EQ(SpriteClaim(Shield), &Shield[0]);
    EXPECT_EQ(SpriteClaim(Shield), &Shield[3]);
}

TEST_F(PoolTest, FullPoolDropsTheSpawnAndLeavesLiveObjectsAlone) {
    for (int i = 0; i < SHIELD_MAX; i++) {
        SpriteData* s = SpriteClaim(Shield);
        ASSERT_NE(s, nullptr);
        s->x = (float)i;
        s->hp = 7.0f;
    }
    std::vector<unsigned char> before((unsigned char*)Shield, (unsigned char*)Shield + sizeof Shield);
    EXPECT_EQ(SpriteClaim(Shield), nullptr);
    EXPECT_EQ(0, std::memcmp(before.data(), Shield, sizeof Shield));
    // The largest pools fill up to their last slot as well.
    for (int i = 0; i < TAMA_MAX; i++) ASSERT_NE(SpriteClaim(tama), nullptr);
    EXPECT_EQ(SpriteClaim(tama), nullptr);
    EXPECT_TRUE(tama[TAMA_MAX - 1].flag);
}

TEST_F(PoolTest, ReusedSlotKeepsThePreviousOccupantsFields) {
    SpriteData* s = SpriteClaim(Shield);
    s->mode = 3;
    s->timer = 12.5f;
    s->iw[9] = -4;
    s->gw[0] = 2.25f;
    s->frame = 5;
    s->bmp = 42;
    SpriteRelease(*s);
    EXPECT_FALSE(Shield[0].flag);
    EXPECT_EQ(Shield[0].frame, 5);  // release only clears the flag

    SpriteData* t = SpriteClaim(Shield);
    ASSERT_EQ(t, &Shield[0]);
    EXPECT_TRUE(t->flag);
    EXPECT_EQ(t->mode, 3);
    EXPECT_EQ(t->timer, 12.5f);
    EXPECT_EQ(t->iw[9], -4);
    EXPECT_EQ(t->gw[0], 2.25f);
    EXPECT_EQ(t->bmp, 42);
}

TEST_F(PoolTest, WalkSeesReleasesAndSpawnsOfTheSamePass) {
    for (int i = 0; i < 4; i++) SpriteClaim(Shield)->num = i;
    std::vector<int> seen;
    SpriteWalk(Shield, [&](SpriteData& s) {
        seen.push_back(s.num);
        if (s.num == 0) SpriteRelease(Shield[2]);  // a later slot dies: not visited
        if (s.num == 1) {
            SpriteRelease(s);                      // its own visit carries on
            SpriteClaim(Shield)->num = 10;         // reuses slot 1, already visited
            SpriteClaim(Shield)->num = 20;         // slot 2, above: visited in this pass
        }
    });
    EXPECT_EQ(seen, (std::vector<int>{0, 1, 20, 3}));
    // A spawn below the walker waits for the next pass.
    seen.clear();
    SpriteRelease(Shield[0]);
    SpriteWalk(Shield, [&](SpriteData& s) {
        seen.push_back(s.num);
        if (s.num == 3) SpriteClaim(Shield)->num = 30;  // lands in slot 0
    });
    EXPECT_EQ(seen, (std::vector<int>{10, 20, 3}));
    EXPECT_EQ(Shield[0].num, 30);
}

TEST_F(PoolTest, ClearAllFreesEveryPoolButNotTheShip) {
    P_Ship.flag = true;
    SpriteClaim(P_Shot5);
    SpriteClaim(chuugata3);
    SpriteClaim(LBOSS);
    SpriteClaim(kumo);
    SpriteClaim(JEWELFONT)->value = 5;
    sLaser2[SLASER_MAX - 1].flag = true;
    SpriteClearAll();
    EXPECT_TRUE(P_Ship.flag);
    EXPECT_FALSE(P_Shot5[0].flag);
    EXPECT_FALSE(chuugata3[0].flag);
    EXPECT_FALSE(LBOSS[0].flag);
    EXPECT_FALSE(kumo[0].flag);
    EXPECT_FALSE(JEWELFONT[0].flag);
    EXPECT_FALSE(sLaser2[SLASER_MAX - 1].flag);
    P_Ship.flag = false;
}

// Pop-up numbers keep the lowest-free-slot rule through releases, a full
// pool and a clear, though their search starts past the slots in use.
TEST_F(PoolTest, PopUpNumbersTakeTheLowestFreeSlot) {
    SpriteClearAll();
    for (int i = 0; i < 4; i++) ASSERT_EQ(SpriteClaim(JEWELFONT), &JEWELFONT[i]);
    FontRelease(JEWELFONT[1]);
    EXPECT_EQ(SpriteClaim(JEWELFONT), &JEWELFONT[1]);
    EXPECT_EQ(SpriteClaim(JEWELFONT), &JEWELFONT[4]);
    while (SpriteClaim(JEWELFONT)) {
    }
    EXPECT_EQ(SpriteClaim(JEWELFONT), nullptr);
    FontRelease(JEWELFONT[JEWELFONT_MAX - 1]);
    FontRelease(JEWELFONT[7]);
    EXPECT_EQ(SpriteClaim(JEWELFONT), &JEWELFONT[7]);
    EXPECT_EQ(SpriteClaim(JEWELFONT), &JEWELFONT[JEWELFONT_MAX - 1]);
    SpriteClearAll();
    EXPECT_EQ(SpriteClaim(JEWELFONT), &JEWELFONT[0]);
    SpriteClearAll();
}

TEST(SpriteDrawTest, DrawsFrameOfColumnAtTheTruncatedPosition) {
    ASSERT_TRUE(DD_INIT(nullptr));
    DD_BackInit();
    // A 64x64 sheet whose pixel at (x, y) is 1 + x + 64y.
    SurfaceData& sheet = Bitmap[199];
    sheet.surface = Plat_SurfaceCreate(64, 64);
    sheet.width = sheet.height = 64;
    uint16_t* p = Plat_SurfacePixels(sheet.surface);
    for (int i = 0; i < 64 * 64; i++) p[i] = (uint16_t)(1 + i);

    SpriteData s = {};
    s.bmp = 199;
    s.w = 16;
    s.h = 8;
    s.col = 2;
    s.frame = 3;
    s.x = 100.9f;
    s.y = -0.5f;  // truncated toward zero: row 0
    SpriteDraw(s);
    s.x = 1e30f;  // far off: skipped, never converted
    SpriteDraw(s);
    const uint16_t* back = Plat_SurfacePixels(DDBack);
    EXPECT_EQ(back[0 * 640 + 100], 1 + 32 + 24 * 64);
    EXPECT_EQ(back[7 * 640 + 115], 1 + 47 + 31 * 64);
    EXPECT_EQ(back[8 * 640 + 100], 0);
    EXPECT_EQ(back[0 * 640 + 116], 0);
    EXPECT_EQ(back[0 * 640 + 99], 0);

    Plat_SurfaceFree(sheet.surface);
    sheet = {};
    DD_END(nullptr);
}

// ---- Animation timers ------------------------------------------------------

class AnimeTest : public ::testing::Test {
protected:
    void SetUp() override { FrameStep = 0.05f; }
    void TearDown() override { FrameStep = 0.0f; }
};

using Timer = bool (*)(float*, int*, int*);

// Calls until the frame first moves, at the usual step.
static int CallsPerAdvance(Timer fn, int dir) {
    float anim = 0;
    int frame = 50, frames = 1000;
    for (int calls = 1; calls <= 100; calls++) {
        fn(&anim, &frame, &frames);
        if (frame != 50) {
            EXPECT_EQ(frame, 50 + dir);
            EXPECT_EQ(anim, 0.0f);
            return calls;
        }
    }
    return -1;
}

TEST_F(AnimeTest, RatesAndThresholds) {
    EXPECT_EQ(CallsPerAdvance(SpriteshotAnime, +1), 1);
    EXPECT_EQ(CallsPerAdvance(SpritePAnime, +1), 1);
    EXPECT_EQ(CallsPerAdvance(SpriteAnime, +1), 10);
    EXPECT_EQ(CallsPerAdvance(SpriteAnimeR, -1), 4);
    EXPECT_EQ(CallsPerAdvance(SpriteAnimezako1, +1), 20);
    EXPECT_EQ(CallsPerAdvance(SpriteAnimezako9, +1), 2);
    EXPECT_EQ(CallsPerAdvance(SpriteAnimeBoss1, +1), 4);
}

TEST_F(AnimeTest, LoopsBackToZeroAndSignalsTheEndOfACycle) {
    float anim = 0;
    int frame = 0, frames = 3;
    std::vector<int> shown;
    int ends = 0;
    for (int i = 0; i < 8; i++) {
        if (SpriteshotAnime(&anim, &frame, &frames)) ends++;
        shown.push_back(frame);
    }
    EXPECT_EQ(shown, (std::vector<int>{1, 2, 0, 1, 2, 0, 1, 2}));
    EXPECT_EQ(ends, 2);

    // One frame only: true on every tenth call, always frame 0.
    anim = 0;
    frame = 0;
    frames = 1;
    for (int i = 1; i <= 30; i++) {
        bool end = SpriteAnime(&anim, &frame, &frames);
        EXPECT_EQ(end, i % 10 == 0) << i;
        EXPECT_EQ(frame, 0);
    }
}

TEST_F(AnimeTest, EndTestIsExactEquality) {
    float anim = 0;
    int frame = 5, frames = 3;  // already past the end
    for (int i = 0; i < 4; i++) EXPECT_FALSE(SpriteshotAnime(&anim, &frame, &frames));
    EXPECT_EQ(frame, 9);
    frame = 0;
    frames = 0;  // counting up from 0 never meets 0 again
    for (int i = 0; i < 4; i++) EXPECT_FALSE(SpriteshotAnime(&anim, &frame, &frames));
    EXPECT_EQ(frame, 4);
}

TEST_F(AnimeTest, ReverseCountsDownAndJumpsToZero) {
    float anim = 0;
    int frame = 3, frames = 1;
    FrameStep = 1.0f;  // one step per call
    EXPECT_FALSE(SpriteAnimeR(&anim, &frame, &frames));
    EXPECT_EQ(frame, 2);
    EXPECT_TRUE(SpriteAnimeR(&anim, &frame, &frames));
    EXPECT_EQ(frame, 0);
    EXPECT_FALSE(SpriteAnimeR(&anim, &frame, &frames));
    EXPECT_EQ(frame, -1);  // past the end: it keeps going
}

TEST_F(AnimeTest, NewAnimePlaysOnceThenLoopsFromLoopFrame) {
    float anim = 0;
    int frame = 0, frames = 4, loop = 2;
    FrameStep = 1.0f;
    std::vector<int> shown;
    for (int i = 0; i < 7; i++) {
        bool end = SpriteNewAnime(&anim, &frame, &frames, &loop);
        EXPECT_EQ(end, frame == loop && i >= 3);
        shown.push_back(frame);
    }
    EXPECT_EQ(shown, (std::vector<int>{1, 2, 3, 2, 3, 2, 3}));
}

TEST_F(AnimeTest, PausedAndHugeSteps) {
    FrameStep = 0.0f;
    float anim = 0;
    int frame = 0, frames = 4;
    for (int i = 0; i < 5; i++) SpriteAnime(&anim, &frame, &frames);
    EXPECT_EQ(frame, 0);
    EXPECT_EQ(anim, 0.0f);
    // The ship's timer has a threshold of 0: it runs on while paused.
    SpritePAnime(&anim, &frame, &frames);
    SpritePAnime(&anim, &frame, &frames);
    EXPECT_EQ(frame, 2);

    // A huge step still moves one frame, and the excess is dropped.
    FrameStep = 1000.0f;
    frame = 0;
    anim = 0;
    SpriteAnimeBoss1(&anim, &frame, &frames);
    EXPECT_EQ(frame, 1);
    EXPECT_EQ(anim, 0.0f);
}

}  // namespace
