// What the stage flow draws: the WARNING banner slice, the energy bar and
// the stage-clear columns, on plain test pictures. With QS_STAGE_SHOTS set to
// a folder, it also writes pictures of stage 1 there to look at.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <string>

#include "enemy/spawners.h"
#include "entity/entity.h"
#include "game/frame.h"
#include "game/game.h"
#include "game/stage.h"
#include "platform/display.h"
#include "render/render.h"
#include "shell/shell.h"

namespace {

uint16_t Rgb(int r, int g, int b) { return (uint16_t)(((r >> 3) << 11) | ((g >> 2) << 5) | (b >> 3)); }

// A picture whose pixels come from fn(x, y); 0 is see-through.
template <typename Fn>
void MakePicture(int slot, int w, int h, Fn fn) {
    SurfaceData& s = Bitmap[slot];
    s.surface = Plat_SurfaceCreate(w, h);
    s.width = w;
    s.height = h;
    s.pitch = Plat_SurfacePitch(s.surface);
    uint16_t* p = Plat_SurfacePixels(s.surface);
    for (int y = 0; y < h; y++)
        for (int x = 0; x < w; x++) p[y * (s.pitch / 2) + x] = fn(x, y);
}

uint16_t Back(int x, int y) { return Plat_SurfacePixels(DDBack)[y * (Plat_SurfacePitch(DDBack) / 2) + x]; }

// Test pictures for the slots stage 1 draws.
void MakeStage1Pictures() {
    MakePicture(60, 640, 480, [](int x, int y) {  // sky with bands of haze
        return Rgb(40 + y / 8, 80 + y / 6, 200 - ((x / 80) % 2) * 20);
    });
    MakePicture(62, 200, 200, [](int x, int y) {  // a soft cloud
        int dx = x - 100, dy = (y - 100) * 2;
        return dx * dx + dy * dy < 90 * 90 ? Rgb(235, 235, 245) : 0;
    });
    MakePicture(20, 64, 64 * 20, [](int x, int y) {  // zako1: a red dart
        int yy = y % 64;
        return std::abs(yy - 32) < x / 2 && x < 60 ? Rgb(220, 40, 40) : 0;
    });
    MakePicture(22, 64, 64, [](int x, int y) {  // zako3: an orange box
        return x > 16 && x < 48 && y > 16 && y < 48 ? Rgb(240, 150, 20) : 0;
    });
    MakePicture(50, 256, 123, [](int x, int y) { return (x + y) % 16 < 12 ? Rgb(150, 150, 160) : 0; });
    MakePicture(12, 617, 227, [](int x, int y) {  // the banner: slice-distinct stripes
        return Rgb(255, (x * 7) & 255, y & 255) | 1;
    });
    MakePicture(14, 640, 480, [](int x, int y) {  // a red frame over the screen
        return x < 8 || x >= 632 || y < 8 || y >= 472 ? Rgb(255, 0, 0) : 0;
    });
    MakePicture(11, 1, 10, [](int, int) { return Rgb(0, 255, 0); });
    MakePicture(13, 640, 480, [](int x, int y) { return Rgb(200, 0, 200) | (uint16_t)((x + y) & 1); });
}

class StageDrawTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(DD_INIT(nullptr));
        MakeStage1Pictures();
        SpriteClearAll();
        StageFlowReset();
        StageNo = 1;
        FrameStep = 0.05f;
        RandState = 1;
        BOSS1[0].hp = 0;
        shots = std::getenv("QS_STAGE_SHOTS");
    }
    void TearDown() override {
        DD_END(nullptr);  // frees the pictures too
        SpriteClearAll();
        StageFlowReset();
    }
    void Shot(const char* name) {
        if (shots) Plat_SurfaceSave(DDBack, (std::string(shots) + "/" + name).c_str());
    }
    // The stage's part of a game frame, with the stand-in enemy passes.
    void Frame() {
        DD_BackInit();
        StageBackground();
        StageScript();
        StepTimer += FrameStep;
        StepTimer2 += FrameStep;
        SmallEnemyPass();
        MidEnemyPass();
        StageClearWipe();
    }
    const char* shots = nullptr;
};

TEST_F(StageDrawTest, WarningBannerSliceAndEnergyBar) {
    StageStep[1] = 34;
    WarnX = 99;
    BOSS1[0].hp = 3500;  // half full: a bar of 250
    DD_BackInit();
    StageScript();
    // The slice of the banner from x = 100 is drawn at 131, 126.
    EXPECT_EQ(Back(131, 126), Bitmap[12].surface ? Plat_SurfacePixels(Bitmap[12].surface)[100] : 0);
    EXPECT_NE(Back(170, 352), 0);
    EXPECT_EQ(Back(171, 200), 0);
    EXPECT_EQ(Back(130, 200), 0);
    EXPECT_EQ(Back(150, 353), 0);
    EXPECT_EQ(Back(0, 0), Rgb(255, 0, 0));  // the frame over the screen
    // The bar: columns 100 .. 100 + 250, ten rows from 440.
    EXPECT_EQ(BossBar, 250);
    EXPECT_EQ(Back(100, 440), Rgb(0, 255, 0));
    EXPECT_EQ(Back(350, 449), Rgb(0, 255, 0));
    EXPECT_EQ(Back(351, 445), 0);
    EXPECT_EQ(Back(200, 450), 0);
    // Full: no bar any more, and the energy is held at its full value.
    BOSS1[0].hp = 6995;
    DD_BackInit();
    StageScript();
    EXPECT_EQ(BOSS1[0].hp, 7000.0f);
    EXPECT_EQ(Back(200, 445), 0);
}

TEST_F(StageDrawTest, StageClearColumnsCloseFromBothSides) {
    StageStep[1] = 35;
    StagePhase = 4;
    WarnX = 0;
    WarnPasses = 639;
    for (int i = 0; i < 40; i++) {
        DD_BackInit();
        StageClearWipe();
    }
    // The last frame drew up to 156 from the left and from 483 to the right.
    uint16_t* pic = Plat_SurfacePixels(Bitmap[13].surface);
    EXPECT_EQ(Back(0, 10), pic[10 * 640]);
    EXPECT_EQ(Back(158, 10), pic[10 * 640 + 158]);
    EXPECT_EQ(Back(159, 10), 0);  // the gap of every fourth column
    EXPECT_EQ(Back(160, 10), 0);  // not yet reached
    EXPECT_EQ(Back(400, 10), 0);
    EXPECT_EQ(Back(483, 10), pic[10 * 640 + 483]);
    EXPECT_EQ(Back(482, 10), 0);
    EXPECT_EQ(Back(639, 479), pic[479 * 640 + 639]);
}

// Pictures of stage 1 for a person to look at (QS_STAGE_SHOTS=folder).
TEST_F(StageDrawTest, Stage1Pictures) {
    for (int i = 0; i < 330; i++) Frame();  // the first zako1 pair came in at 261, the second at 322
    EXPECT_GT(Enemy[0].x, 540.0f);
    EXPECT_LT(Enemy[0].x, 600.0f);
    EXPECT_NE(Back((int)Enemy[0].x + 40, (int)Enemy[0].y + 32), Back(10, (int)Enemy[0].y + 32));
    Shot("stage1_zako1.png");
    // Clouds have come in by now.
    int clouds = 0;
    for (const SpriteData& c : kumo) clouds += c.flag;
    EXPECT_GT(clouds, 0);

    StageStep[1] = 34;
    for (int i = 0; i < 300; i++) Frame();
    Shot("stage1_warning.png");
    StageStep[1] = 35;
    for (int i = 0; i < 3; i++) Frame();
    WarnX = 0;  // as the end of the WARNING leaves them
    WarnPasses = 639;
    StagePhase = 4;
    for (int i = 0; i < 40; i++) Frame();
    Shot("stage1_clear_wipe.png");
}

}  // namespace
