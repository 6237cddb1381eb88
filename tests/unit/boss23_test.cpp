// The battleship (stage 2) and the crystal fortress (stage 3): entries,
// the patrol, the order of the scripts and their restarts, the fortress's
// final round, the hulls that take the ship, drawing, and the deaths that
// end the stage.
#include <gtest/gtest.h>

#include <vector>

#include "boss/boss.h"
#include "boss/boss23.h"
#include "game/frame.h"
#include "game/stage.h"
#include "play_state.h"
#include "platform/display.h"
#include "render/render.h"

namespace {

class Boss23Test : public PlayStateTest {
protected:
    void SetUp() override {
        PlayStateTest::SetUp();
        BossReset();
        StageFlowReset();
    }
    void TearDown() override {
        BossReset();
        StageFlowReset();
        PlayStateTest::TearDown();
    }
    // The stage's boss made as at the end of its script.
    SpriteData& Make(int stage) {
        StageNo = stage;
        StagePhase = 0;
        BossCreate();
        EXPECT_EQ(StagePhase, 2);
        return stage == 2 ? BOSS2[0] : BOSS3[0];
    }
    // The script run for one frame, as the update runs it.
    static void Frame2(SpriteData& s) {
        Boss2Script(s);
        s.timer -= 20 * FrameStep;
    }
    static void Frame3(SpriteData& s) {
        Boss3Script(s);
        s.timer -= 20 * FrameStep;
    }
    // Frames from the one in which hp is set to `hp` until the boss is
    // gone (the bar turns negative at the end of the first).
    static int DeathFrames(SpriteData& s, float hp, void (*update)(SpriteData&, int)) {
        s.hp = hp;
        int frames = 0;
        do update(s, 0), frames++;
        while (s.flag && frames < 5000);
        return frames;
    }
};

// Flying in at 0.5 pixels a frame with the attack held; at x 210 it stops
// and charges the big laser: sparks and red lines while the held countdown
// runs out, a burst of 500 white lines with 500 bullets on NORMAL, and the
// beam a time unit later, with which the patrol starts.
TEST_F(Boss23Test, BattleshipFliesInAndOpensWithTheBigLaser) {
    SpriteData& s = Make(2);
    int frames = 0;
    while (s.mode == -1 && frames < 5000) {
        Boss2Update(s, 0);
        frames++;
        ASSERT_EQ(LiveCount(tama) + LiveCount(BLaser), 0);
    }
    EXPECT_EQ(frames, 1060);  // 530 pixels
    EXPECT_EQ(s.speed, 0.0f);
    EXPECT_EQ(s.opt2, 0);
    EXPECT_EQ(s.gw[0], 100.0f);
    EXPECT_EQ(s.timer, 199.0f);
    frames = 0;
    while (s.timer >= 10 && frames < 5000) Boss2Update(s, 0), frames++;
    EXPECT_EQ(frames, 190);
    EXPECT_GT(LiveCount(flash), 100);
    EXPECT_GT(LiveCount(line), 30);
    EXPECT_EQ(LiveCount(tama), 0);
    Boss2Update(s, 0);  // the burst
    EXPECT_EQ(s.fw[1], 500.0f);
    EXPECT_EQ(LiveCount(tama), 500);
    EXPECT_EQ(tama[0].bmp, 90);
    EXPECT_EQ(tama[0].x, s.x + 140);
    EXPECT_GE(tama[499].speed, 29.9f);
    frames = 0;
    while (s.mode == 0 && frames < 100) Boss2Update(s, 0), frames++;
    EXPECT_EQ(frames, 21);
    EXPECT_EQ(LiveCount(BLaser), 1);
    EXPECT_EQ(BLaser[0].x, s.x + 140 - 620);
    EXPECT_EQ(s.opt2, 1);
    EXPECT_EQ(s.mode, 1);
}

// The patrol: runs of random speed, length and way, turned back at x 50
// and x 400.
TEST_F(Boss23Test, BattleshipPatrolsBetween50And400) {
    SpriteData& s = Make(2);
    s.opt2 = 1;
    float lo = 1000, hi = -1000;
    int runs = 0;
    s.x = 200;
    for (int i = 0; i < 200000; i++) {
        float was = s.gw[0];
        Boss2Patrol(s);
        if (s.gw[0] > was) {
            runs++;
            ASSERT_TRUE(s.speed >= 1 && s.speed <= 10 && s.gw[0] >= 1 && s.gw[0] <= 50);
        }
        lo = std::min(lo, s.x);
        hi = std::max(hi, s.x);
    }
    EXPECT_GT(runs, 100);
    EXPECT_TRUE(lo > 49 && lo < 80) << lo;  // it roams the whole beat and no further
    EXPECT_TRUE(hi > 370 && hi < 401) << hi;
}

// One whole round of the script from the nose guns: every step in order,
// the fan cycle 26..37 twice with the rings between, and after 44 the big
// laser again with its charge countdown at 500.
TEST_F(Boss23Test, BattleshipRoundRunsInOrderAndStartsAgainAfter44) {
    SpriteData& s = Make(2);
    s.x = 200;
    s.mode = 1;
    s.opt2 = 1;
    std::vector<int> order{1};
    for (int frame = 0; frame < 200000 && s.mode != 0; frame++) {
        if (frame % 100 == 0) SpriteClearAll();
        Frame2(s);
        if (s.mode != order.back()) order.push_back(s.mode);
    }
    std::vector<int> want;
    for (int m = 1; m <= 38; m++) want.push_back(m);
    for (int m = 26; m <= 45; m++) want.push_back(m);
    want.push_back(0);
    EXPECT_EQ(order, want);
    EXPECT_EQ(s.timer, 499.0f);
    EXPECT_EQ(s.fw[1], 0.0f);
    EXPECT_EQ(s.cnt, 0);
    EXPECT_EQ(s.time, 0.0f);
}

// Below hp -1 the battleship stands and no longer fires; it starts to die
// only when the bar goes below 0 (hp -24), bursts in 40 steps 15 frames
// apart once the pause its script had set is over, pays 1 000 000 and ends
// the stage.
TEST_F(Boss23Test, BattleshipStopsBelowMinus1AndDiesIn40Steps) {
    SpriteData& s = Make(2);
    s.x = 200;
    s.mode = 40;
    s.opt2 = 1;
    s.speed = 5;
    s.gw[0] = 30;
    s.timer = 0;
    s.hp = -1;
    Boss2Update(s, 0);
    EXPECT_EQ(s.x, 199.75f);
    EXPECT_GT(LiveCount(tama), 0);
    SpriteClearAll();
    s.flag = true;  // the boss stays
    s.hp = -23;
    s.timer = 0;
    Boss2Update(s, 0);
    Boss2Update(s, 0);
    EXPECT_EQ(s.x, 199.75f);
    EXPECT_EQ(LiveCount(tama), 0);
    EXPECT_EQ(BossBar, 0);
    s.fw[1] = 17;  // left over from the charge
    s.timer = 400;  // a long pause of the script: the first step waits for it
    EXPECT_EQ(DeathFrames(s, -24, Boss2Update), 400 + 39 * 15);
    EXPECT_EQ(s.fw[1], 40.0f);
    EXPECT_EQ(dat.score, 1000000);
    EXPECT_EQ(StagePhase, 4);
}

// The hulls take the ship whose box, shrunk by 31 (battleship) or 32
// (fortress), reaches into them; touching is not a hit, the open spaces
// around the bow and jaws are safe, and so is everything once the hull is
// beaten.
TEST_F(Boss23Test, HullsTakeTheShip) {
    struct At { int stage; float cx, cy; bool lost; } cases[] = {
        {2, 300, 350, true},   // keel
        {2, 170, 330, false},  // under the bow, before the keel
        {2, 270, 205, true},   // the bow cannon
        {2, 260, 170, false},  // above it
        {2, 400, 230, true},   // the bridge
        {2, 530, 250, false},  // behind the bridge, above the keel
        {3, 500, 240, true},   // the fortress's core
        {3, 500, 170, false},  // above it
        {3, 320, 202, false},  // before the jaws
        {3, 330, 220, false},  // on the jaws' edge
        {3, 330, 221, true},   // the jaws
    };
    for (const At& c : cases) {
        SCOPED_TRACE(testing::Message() << c.stage << ": " << c.cx << ", " << c.cy);
        BossReset();
        SpriteData& s = Make(c.stage);
        s.x = c.stage == 2 ? 100 : 300;  // both at rest, waiting to fire
        s.y = c.stage == 2 ? 100 : 40;
        s.speed = 0;
        s.mode = c.stage == 2 ? 41 : 10;
        s.timer = 1000;
        P_Ship.flag = true;
        P_Ship.time = 0;
        P_Ship.x = c.cx - 32;
        P_Ship.y = c.cy - 32;
        c.stage == 2 ? Boss2Update(s, 0) : Boss3Update(s, 0);
        EXPECT_EQ(P_Ship.flag, !c.lost);
        P_Ship.flag = true;
        s.hp = -1;
        c.stage == 2 ? Boss2Update(s, 0) : Boss3Update(s, 0);
        EXPECT_TRUE(P_Ship.flag);
    }
}

// The body from row 0 of its sheet, the white-hot row 1 over it while hit
// or dying; the fortress has no such picture. The bar follows entry 0.
TEST_F(Boss23Test, DrawingAndTheBar) {
    SurfaceData saved[2] = {Bitmap[71], Bitmap[72]};
    Bitmap[71].surface = Plat_SurfaceCreate(500, 600);
    Bitmap[72].surface = Plat_SurfaceCreate(400, 400);
    DrawLogOn = true;
    for (int stage : {2, 3}) {
        BossReset();
        SpriteData& s = Make(stage);
        s.x = 100;
        s.speed = 0;
        for (float flash : {0.5f, 1.8f}) {
            s.fw[9] = flash;
            DrawLogCount = 0;
            stage == 2 ? Boss2Update(s, 0) : Boss3Update(s, 0);
            const DrawLogEntry& body = DrawLog[0];
            EXPECT_EQ(body.slot * 1000000 + body.right * 1000 + body.bottom, stage == 2 ? 71500300 : 72400400);
            bool over = DrawLogCount > 1 && DrawLog[1].slot == body.slot;
            EXPECT_EQ(over, stage == 2 && flash > 1);
            if (over) { EXPECT_EQ(DrawLog[1].top * 1000 + DrawLog[1].bottom, 300600); }
        }
        EXPECT_EQ(BossBar, 500);
    }
    DrawLogOn = false;
    for (int i = 0; i < 2; i++) {
        Plat_SurfaceFree(Bitmap[71 + i].surface);
        Bitmap[71 + i] = saved[i];
    }
}

// The fortress slides in and fires nothing until it stands at x 300; then
// its first four lasers come at once (spread by 5 degrees), and the
// background stops.
TEST_F(Boss23Test, FortressFiresNothingBeforeX300) {
    SpriteData& s = Make(3);
    ScrollSpeedX = -4;
    ScrollSpeedY = -1;
    int frames = 0;
    while (s.x > 300 && frames < 5000) {
        Boss3Update(s, 0);
        frames++;
        if (s.x > 300) {
            ASSERT_EQ(LiveCount(sLaser) + LiveCount(tama), 0) << frames;
        }
    }
    EXPECT_EQ(frames, 880);
    EXPECT_EQ(LiveCount(sLaser), 4);
    EXPECT_EQ(sLaser[0].angle + sLaser[3].angle, 185.0f + 175.0f);
    EXPECT_EQ(sLaser[0].x, 340.0f);
    EXPECT_EQ(s.speed, 0.0f);
    EXPECT_EQ(ScrollSpeedX + ScrollSpeedY, 0.0f);
    for (int i = 0; i < 2000; i++) Boss3Update(s, 0);
    EXPECT_EQ(s.x, 300.0f);  // it holds its place
}

// The main round runs 0..18 and starts again; below 4000 the final round
// takes over once (19, 20, 21 and back to 19) and never returns.
TEST_F(Boss23Test, FortressRoundsAndTheFinalPhase) {
    SpriteData& s = Make(3);
    s.x = 300;
    s.speed = 0;
    std::vector<int> order{0};
    for (int frame = 0; frame < 400000 && order.size() < 21; frame++) {
        if (frame % 100 == 0) SpriteClearAll();
        Frame3(s);
        if (s.mode != order.back()) order.push_back(s.mode);
    }
    std::vector<int> want;
    for (int m = 0; m <= 18; m++) want.push_back(m);
    want.push_back(22);  // past the round: it starts again
    want.push_back(0);
    EXPECT_EQ(order, want);

    s.mode = 14;
    s.hp = 3999;
    s.timer = 20;
    Frame3(s);
    EXPECT_EQ(s.mode, 19);
    EXPECT_EQ(s.opt, 1);
    EXPECT_EQ(s.timer, 399.0f);
    order.assign(1, 19);
    for (int frame = 0; frame < 400000 && order.size() < 5; frame++) {
        if (frame % 100 == 0) SpriteClearAll();
        Frame3(s);
        if (s.mode != order.back()) {
            order.push_back(s.mode);
            if (s.mode == 21) { EXPECT_EQ(s.timer, 49.0f); }
        }
    }
    EXPECT_EQ(order, (std::vector<int>{19, 20, 21, 19, 20}));
}

// The fortress dies at hp -34 in 50 steps, whatever its script left in
// the counter, once its pause is over, with the bonus and the wipe.
TEST_F(Boss23Test, FortressDiesIn50Steps) {
    SpriteData& s = Make(3);
    s.x = 300;
    s.opt = 1;  // keep the final round from starting
    s.mode = 10;
    s.timer = 1000;
    s.hp = -33;
    Boss3Update(s, 0);
    EXPECT_EQ(BossBar, 0);
    s.iw[0] = 300;
    EXPECT_EQ(DeathFrames(s, -34, Boss3Update), 999 + 49 * 15);
    EXPECT_EQ(s.iw[0], 50);
    EXPECT_EQ(dat.score, 1000000);
    EXPECT_EQ(StagePhase, 4);
}

}  // namespace
