// The battleship (stage 2) and the crystal fortress (stage 3): entries,
// the patrol, the order of the battleship's script and its restart, the
// fortress's final round, the hulls that take the ship, drawing, and the
// deaths that end the stage.
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

    // EASY charges without bullets.
    SpriteClearAll();
    OPTION.Difficulty = EASY;
    s.mode = 0;
    s.fw[1] = 0;
    s.timer = 0;
    Boss2Script(s);
    EXPECT_EQ(LiveCount(tama), 0);
    EXPECT_EQ(s.fw[1], 500.0f);
}

// The patrol: the time held at 100 while flying in, then runs of random
// speed, length and way, turned back at x 50 and x 400.
TEST_F(Boss23Test, BattleshipPatrolsBetween50And400) {
    SpriteData& s = Make(2);
    s.opt2 = 0;
    s.speed = 10;
    s.gw[0] = 3;
    Boss2Patrol(s);
    EXPECT_EQ(s.x, 739.5f);
    EXPECT_EQ(s.gw[0], 100.0f);

    s.opt2 = 1;
    s.speed = 10;
    s.x = 50.2f;
    Boss2Patrol(s);
    EXPECT_EQ(s.opt2, 2);  // reached the left end
    Boss2Patrol(s);
    EXPECT_GT(s.x, 49.7f);
    s.x = 399.9f;
    Boss2Patrol(s);
    EXPECT_EQ(s.opt2, 1);

    float lo = 1000, hi = -1000;
    int runs = 0;
    s.x = 200;
    for (int i = 0; i < 200000; i++) {
        float was = s.gw[0];
        Boss2Patrol(s);
        if (s.gw[0] > was) {
            runs++;
            EXPECT_GE(s.speed, 1.0f);
            EXPECT_LE(s.speed, 10.0f);
            EXPECT_GE(s.gw[0], 1.0f);
            EXPECT_LE(s.gw[0], 50.0f);
        }
        lo = std::min(lo, s.x);
        hi = std::max(hi, s.x);
    }
    EXPECT_GT(runs, 100);
    EXPECT_GT(lo, 49.0f);
    EXPECT_LT(hi, 401.0f);
    EXPECT_LT(lo, 80.0f);  // it does roam the whole beat
    EXPECT_GT(hi, 370.0f);
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

struct B2Volley {
    int mode, level;
    int tama, baka;
    int bmp;
};

// The size of one volley of the battleship's firing steps.
TEST_F(Boss23Test, BattleshipVolleysByDifficulty) {
    const B2Volley cases[] = {
        {1, EASY, 0, 1, 95},     {1, HARD, 0, 2, 95},     {3, NORMAL, 51, 0, 91},  {4, NORMAL, 31, 0, 91},
        {10, EASY, 66, 0, 99},   {10, NORMAL, 186, 0, 99}, {10, HARD, 186, 0, 98}, {12, EASY, 0, 0, -1},
        {12, NORMAL, 1, 0, 92},  {12, HARD, 9, 0, 92},    {13, NORMAL, 500, 0, 98}, {14, HARD, 0, 1, 95},
        {26, NORMAL, 1, 0, 91},  {31, NORMAL, 11, 0, 91}, {32, NORMAL, 11, 0, 91}, {37, NORMAL, 1, 0, 91},
        {40, EASY, 12, 0, 91},   {40, NORMAL, 24, 0, 91}, {40, HARD, 66, 0, 91},   {42, NORMAL, 2, 0, 92},
        {42, HARD, 12, 0, 92},   {44, NORMAL, 4, 0, 99},  {44, HARD, 4, 0, 98},
    };
    SpriteData& s = Make(2);
    for (const B2Volley& c : cases) {
        SCOPED_TRACE(testing::Message() << "mode " << c.mode << " level " << c.level);
        SpriteClearAll();
        s.x = 200;
        s.mode = c.mode;
        s.time = 0;
        s.timer = 0;
        OPTION.Difficulty = c.level;
        Boss2Script(s);
        EXPECT_EQ(LiveCount(tama), c.tama);
        EXPECT_EQ(LiveCount(Baka), c.baka);
        if (c.tama > 0) { EXPECT_EQ(tama[0].bmp, c.bmp); }
        if (c.baka > 0) { EXPECT_EQ(Baka[0].bmp, c.bmp); }
    }
    // Every fifth turret volley brings the rear stream: 11 on EASY, 21 on
    // NORMAL, three streams on HARD; the fifth stream ends the step.
    const int streams[3] = {11, 22, 72};
    for (int level : {EASY, NORMAL, HARD}) {
        SpriteClearAll();
        OPTION.Difficulty = level;
        s.mode = 12;
        s.time = 24;
        s.timer = 0;
        Boss2Script(s);
        EXPECT_EQ(LiveCount(tama), streams[level]) << level;
        EXPECT_EQ(s.mode, 13);
        EXPECT_EQ(s.timer, 50.0f);
    }
}

// Below hp -1 the battleship stands and no longer fires; it starts to die
// only when the bar goes below 0 (hp -24), and then bursts in 40 steps 15
// frames apart from the first frame, pays 1 000 000 and ends the stage.
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
    EXPECT_EQ(s.fw[7], 0.0f);

    s.hp = -24;
    s.fw[1] = 17;  // left over from the charge
    s.timer = 400;
    Boss2Update(s, 0);
    EXPECT_EQ(BossBar, -1);
    int frames = 1;
    while (s.flag && frames < 5000) Boss2Update(s, 0), frames++;
    EXPECT_EQ(frames, 2 + 39 * 15);
    EXPECT_EQ(s.fw[1], 40.0f);
    EXPECT_EQ(dat.score, 1000000);
    EXPECT_EQ(StagePhase, 4);
    EXPECT_EQ(s.x, 199.75f);
}

// The hull: the ship's centre anywhere in the four boxes (the ship shrunk
// by 31) is lost; the open water above the bow in front of the bridge and
// before the keel is safe, and so is everything once the hull is beaten.
TEST_F(Boss23Test, BattleshipHullTakesTheShip) {
    SpriteData& s = Make(2);
    s.x = 100;
    s.y = 100;
    s.hp = 100;
    s.speed = 0;
    s.mode = 41;  // a pause: nothing fires
    struct At { float cx, cy; bool lost; } cases[] = {
        {300, 350, true},   // keel
        {170, 330, false},  // under the bow, before the keel
        {230, 260, true},   // mid deck
        {180, 240, false},  // before the mid deck
        {270, 205, true},   // the bow cannon
        {260, 170, false},  // above it
        {400, 230, true},   // the bridge
        {530, 250, false},  // behind the bridge, above the keel
    };
    for (const At& c : cases) {
        SCOPED_TRACE(testing::Message() << c.cx << ", " << c.cy);
        P_Ship.flag = true;
        P_Ship.time = 0;
        P_Ship.x = c.cx - 32;
        P_Ship.y = c.cy - 32;
        Boss2Update(s, 0);
        EXPECT_EQ(P_Ship.flag, !c.lost);
    }
    P_Ship.flag = true;
    P_Ship.x = 300 - 32;
    P_Ship.y = 350 - 32;
    s.hp = -1;
    Boss2Update(s, 0);
    EXPECT_TRUE(P_Ship.flag);
}

// The body from row 0 of its sheet, the white-hot row 1 over it while hit
// or dying; the fortress has no such picture. The bar follows entry 0.
TEST_F(Boss23Test, DrawingAndTheBar) {
    SurfaceData saved[2] = {Bitmap[71], Bitmap[72]};
    Bitmap[71].surface = Plat_SurfaceCreate(500, 600);
    Bitmap[72].surface = Plat_SurfaceCreate(400, 400);
    auto draws = [](SpriteData& s, bool second) {
        DrawLogCount = 0;
        DrawLogOn = true;
        second ? Boss2Update(s, 0) : Boss3Update(s, 0);
        DrawLogOn = false;
        return DrawLogCount;
    };
    SpriteData& b2 = Make(2);
    b2.x = 100;
    b2.speed = 0;
    b2.fw[9] = 0.5f;
    int plain = draws(b2, true);
    EXPECT_EQ(BossBar, 500);
    b2.fw[9] = 1.8f;
    ASSERT_EQ(draws(b2, true), plain + 1);
    EXPECT_EQ(DrawLog[1].left * 1000000 + DrawLog[1].top * 1000 + DrawLog[1].right, 300500);
    EXPECT_EQ(DrawLog[1].bottom, 600);
    EXPECT_EQ(DrawLog[0].bottom, 300);
    b2.flag = false;

    SpriteData& b3 = Make(3);
    b3.x = 200;
    b3.fw[9] = 1.8f;
    draws(b3, false);
    EXPECT_EQ(DrawLog[0].slot, 72);
    EXPECT_EQ(DrawLog[0].right * 1000 + DrawLog[0].bottom, 400400);
    EXPECT_NE(DrawLog[1].slot, 72);
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
        EXPECT_LE(BulletSpin, 3.0f);
        EXPECT_GE(BulletSpin, -3.0f);
        if (s.mode != order.back()) {
            order.push_back(s.mode);
            if (s.mode == 21) { EXPECT_EQ(s.timer, 49.0f); }
        }
    }
    EXPECT_EQ(order, (std::vector<int>{19, 20, 21, 19, 20}));
}

// Ring sizes: 19 from a port (the first and last on top of each other),
// three rings on HARD; the beam storm of 401 darts (1001 on HARD) and two
// beams.
TEST_F(Boss23Test, FortressRingsAndBeamStorm) {
    SpriteData& s = Make(3);
    s.x = 300;
    const int rings[4][2] = {{1, 19}, {1, 19}, {1, 57}, {1, 19}};
    for (int level = EASY; level <= SPECIAL; level++) {
        SpriteClearAll();
        OPTION.Difficulty = level;
        s.mode = 2;
        s.time = 0;
        s.timer = 0;
        Boss3Script(s);
        EXPECT_EQ(LiveCount(tama), rings[level][1]) << level;
        EXPECT_EQ(LiveCount(sLaser), 4);
        EXPECT_EQ(tama[0].angle, 0.0f);
        EXPECT_EQ(tama[18].angle, 360.0f);
        EXPECT_EQ(tama[0].y, s.y + 238);
    }
    for (int level : {NORMAL, HARD}) {
        SpriteClearAll();
        OPTION.Difficulty = level;
        s.mode = 21;
        s.timer = 0;
        Boss3Script(s);
        EXPECT_EQ(LiveCount(sLaser2), level == HARD ? 1001 : 401);
        EXPECT_EQ(LiveCount(BLaser), 2);
        EXPECT_EQ(LiveCount(flash), 4);
        EXPECT_EQ(s.mode, 19);
        EXPECT_EQ(s.timer, 900.0f);
    }
}

// The core and the jaws take the ship; it dies at hp -34 in 50 steps,
// whatever its script left in the counter, with the bonus and the wipe.
TEST_F(Boss23Test, FortressContactAndDeath) {
    SpriteData& s = Make(3);
    s.x = 300;
    s.y = 40;
    s.opt = 1;  // keep the final round from starting
    s.mode = 10;
    s.timer = 1000;
    struct At { float cx, cy; bool lost; } cases[] = {
        {500, 240, true},   // core
        {500, 170, false},  // above the core
        {350, 222, true},   // lower jaw
        {320, 202, false},  // between the jaws
        {330, 220, false},  // on its edge: a touch is not a hit
        {330, 221, true},   // lower jaw
        {330, 223, true},
        {330, 256, false},  // under it
    };
    for (const At& c : cases) {
        SCOPED_TRACE(testing::Message() << c.cx << ", " << c.cy);
        P_Ship.flag = true;
        P_Ship.time = 0;
        P_Ship.x = c.cx - 32;
        P_Ship.y = c.cy - 32;
        Boss3Update(s, 0);
        EXPECT_EQ(P_Ship.flag, !c.lost);
    }

    s.hp = -33;
    Boss3Update(s, 0);
    EXPECT_EQ(BossBar, 0);
    s.hp = -34;
    s.iw[0] = 300;
    Boss3Update(s, 0);
    int frames = 1;
    while (s.flag && frames < 5000) Boss3Update(s, 0), frames++;
    EXPECT_EQ(frames, 2 + 49 * 15);
    EXPECT_EQ(s.iw[0], 50);
    EXPECT_EQ(dat.score, 1000000);
    EXPECT_EQ(StagePhase, 4);
}

}  // namespace
