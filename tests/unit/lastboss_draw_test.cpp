// The last boss on screen with the game's own pictures, through whole game
// frames: the engine flame sits behind its stern at y + 66 and the body is
// drawn over it. With QS_STAGE_SHOTS set to a folder the frames are also
// written there as pictures to look at.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "../../tools/assetgen/sheets.h"
#include "config/options.h"
#include "boss/boss.h"
#include "enemy/spawners.h"
#include "game/frame.h"
#include "game/stage.h"
#include "platform/display.h"
#include "platform/time.h"
#include "play_state.h"
#include "render/render.h"
#include "shell/shell.h"

namespace {

uint16_t Back(int x, int y) { return Plat_SurfacePixels(DDBack)[y * (Plat_SurfacePitch(DDBack) / 2) + x]; }
uint16_t Pixel(int slot, int x, int y) {
    const SurfaceData& s = Bitmap[slot];
    return Plat_SurfacePixels(s.surface)[y * (s.pitch / 2) + x];
}

class LastBossDrawTest : public PlayStateTest {
protected:
    void SetUp() override {
        PlayStateTest::SetUp();
        ASSERT_TRUE(DD_INIT(nullptr));
        for (const qsassets::SheetDef& d : qsassets::kSheets) {
            std::string path = d.file;
            for (char& c : path)
                if (c == '/') c = '\\';
            ASSERT_TRUE(DD_LoadBitmap(Bitmap[d.slot], path.c_str())) << path;
        }
        BossReset();
        StageFlowReset();
        Options.invincible = true;
        StageNo = 5;
        StagePhase = 2;
        shots = std::getenv("QS_STAGE_SHOTS");
        PutFps_Reset();
    }
    void TearDown() override {
        Options.invincible = false;
        DD_END(nullptr);
        BossReset();
        StageFlowReset();
        PlayStateTest::TearDown();
    }
    void Frames(int n) {
        for (int i = 0; i < n; i++) {
            Plat_AdvanceFrame();
            DD_BackInit();
            GameFrame();
        }
    }
    void Shot(const char* name) {
        if (shots) Plat_SurfaceSave(DDBack, (std::string(shots) + "/" + name).c_str());
    }
    const char* shots = nullptr;
};

TEST_F(LastBossDrawTest, FlameBehindTheSternAndTheFightOnScreen) {
    // In the fortress hall, the boss standing in its fan phase.
    StageStep[5] = 31;
    BigPicX = -560;
    Lastboss(150, 150, 0, 0);
    SpriteData& s = LBOSS[0];
    s.mode = 8;
    s.timer = 0;
    Frames(1);
    // The body's own pixels where its sheet has them, the flame's left of it.
    int bodyX = 160, bodyY = 42;  // the centre gun's turret
    ASSERT_NE(Pixel(76, bodyX, bodyY), 0);
    EXPECT_EQ(Back((int)s.x + bodyX, (int)s.y + bodyY), Pixel(76, bodyX, bodyY));
    int cell = (s.iw[8] + 4) % 5;  // the cell drawn in that frame
    int fx = 95, fy = 20;       // near the flame's root
    ASSERT_NE(Pixel(77, fx, 40 * cell + fy), 0);
    EXPECT_EQ(Back((int)s.x - 100 + fx, (int)s.y + 66 + fy), Pixel(77, fx, 40 * cell + fy));
    // The bar: 501 columns at y 440.
    EXPECT_EQ(BossBar, 500);
    EXPECT_EQ(Back(100, 440), Pixel(11, 0, 0));
    Frames(400);
    Shot("lastboss_fans.png");
    EXPECT_GT(LiveCount(sLaser2), 0);

    // Bouncing in its last phase, two patterns at once.
    s.hp = 9000;
    s.mode = 19;
    Frames(1500);
    EXPECT_EQ(s.mode, 22);
    EXPECT_GT(s.x, 200.0f);
    Shot("lastboss_last_phase.png");
}

}  // namespace
