// The ship: movement and its bounds, tilt, the blink after a respawn, the
// bomb from the Z key and from the joystick, loss and respawn.
#include <gtest/gtest.h>

#include <vector>

#include "game/frame.h"
#include "platform/display.h"
#include "player/bombkey.h"
#include "render/render.h"
#include "player_reset.h"

namespace {

class ShipTest : public ::testing::Test {
protected:
    void SetUp() override { ResetPlayerState(); }
    void TearDown() override { ResetPlayerState(); }
    // The ship's share of one game frame.
    void Frame() {
        ShipFrameStart();
        ShipMoveAndDraw();
        ShipLossAndRespawn();
    }
};

TEST_F(ShipTest, BoundsAreTestedBeforeTheMove) {
    // One step is 20 * 0.05 = 1 pixel. At the edges nothing moves.
    KeyData.left = KEY_HOLD;
    P_Ship.x = 0.0f;
    ShipMoveAndDraw();
    EXPECT_EQ(P_Ship.x, 0.0f);
    KeyData.left = KEY_UP_STATE;
    KeyData.right = KEY_HOLD;
    P_Ship.x = 576.0f;
    ShipMoveAndDraw();
    EXPECT_EQ(P_Ship.x, 576.0f);

    // Just inside an edge the step overshoots it, and the ship is held there.
    P_Ship.x = 575.5f;
    ShipMoveAndDraw();
    EXPECT_EQ(P_Ship.x, 576.5f);
    ShipMoveAndDraw();
    EXPECT_EQ(P_Ship.x, 576.5f);
    KeyData.right = KEY_UP_STATE;
    JoyData.left = KEY_HOLD;  // the stick moves it as the keys do
    P_Ship.x = 0.5f;
    ShipMoveAndDraw();
    ShipMoveAndDraw();
    EXPECT_FLOAT_EQ(P_Ship.x, -0.5f);
    JoyData.left = KEY_UP_STATE;

    // A volley's speed of 35 makes the step 1.75.
    KeyData.down = KEY_HOLD;
    P_Ship.speed = 35.0f;
    P_Ship.y = 415.5f;
    ShipMoveAndDraw();
    ShipMoveAndDraw();
    EXPECT_EQ(P_Ship.y, 417.25f);
}

TEST_F(ShipTest, UpBeatsDownAndLeftRightCancel) {
    KeyData.up = KEY_HOLD;
    KeyData.down = KEY_HOLD;
    KeyData.left = KEY_HOLD;
    KeyData.right = KEY_HOLD;
    P_Ship.x = 100.0f;
    BombSpread = 30;
    ShipFrameStart();
    ShipMoveAndDraw();
    EXPECT_FLOAT_EQ(P_Ship.y, 219.0f);
    EXPECT_EQ(P_Ship.srcy, 64);
    EXPECT_EQ(P_Ship.srcy2, 127);
    EXPECT_FLOAT_EQ(P_Ship.x, 100.0f);
    EXPECT_EQ(BombSpread, 30);

    // The spread steered past its ends comes back to them.
    KeyData.right = KEY_UP_STATE;
    BombSpread = 181;
    ShipMoveAndDraw();
    EXPECT_EQ(BombSpread, 180);
    KeyData.left = KEY_UP_STATE;
    KeyData.right = KEY_HOLD;
    BombSpread = -1;
    ShipMoveAndDraw();
    EXPECT_EQ(BombSpread, 0);
}

TEST_F(ShipTest, TiltRisesToFrameThreeAndLevelFlightAnimates) {
    KeyData.down = KEY_HOLD;
    std::vector<int> frames;
    for (int i = 0; i < 50; i++) {
        Frame();
        frames.push_back(P_Ship.frame);
    }
    // TiltTime grows by 0.075 a frame: a frame more every 14th frame, to 3.
    EXPECT_EQ(frames[12], 0);
    EXPECT_EQ(frames[13], 1);
    EXPECT_EQ(frames[27], 2);
    EXPECT_EQ(frames[41], 3);
    EXPECT_EQ(frames[49], 3);
    EXPECT_EQ(P_Ship.srcy, 128);
    EXPECT_EQ(P_Ship.srcy2, 191);

    // Level flight: back on the level row, a frame every call, 3 wraps to 0,
    // even while paused.
    KeyData.down = KEY_UP_STATE;
    FrameStep = 0.0f;
    Frame();
    EXPECT_EQ(P_Ship.frame, 0);
    EXPECT_EQ(P_Ship.srcy, 0);
    EXPECT_EQ(P_Ship.srcy2, 64);
    Frame();
    EXPECT_EQ(P_Ship.frame, 1);
}

TEST_F(ShipTest, LossRespawnBlinkAndLastLife) {
    ASSERT_TRUE(DD_INIT(nullptr));
    Bitmap[0].surface = Plat_SurfaceCreate(256, 192);
    Plat_Fill(Bitmap[0].surface, 0, 0, 256, 192, 0x1234);
    JewelValue = 7;
    ChargeCount = 5;
    BombTime = 3.0f;

    P_Ship.flag = false;
    P_Ship.x = 300.0f;
    int waited = 0;
    while (!P_Ship.flag && waited < 100) {
        Frame();
        waited++;
    }
    EXPECT_EQ(waited, 51);  // the first wait; RespawnWait is then 1
    EXPECT_EQ(PlayerStock, 2);
    EXPECT_EQ(dat.deaths, 1);
    EXPECT_EQ(JewelValue, 3);
    EXPECT_EQ(ChargeCount, 0);
    EXPECT_EQ(BombTime, 0.0f);
    EXPECT_EQ(P_Ship.x, 0.0f);
    EXPECT_EQ(P_Ship.y, 220.0f);
    EXPECT_FLOAT_EQ(P_Ship.time, 49.95f);

    // The blink: shown while the whole part of the time left is odd.
    std::vector<int> runs;  // lengths of shown / hidden runs, starting shown
    bool last = true;
    int len = 0;
    for (int f = 0; f < 1100; f++) {
        DD_BackInit();
        Frame();
        bool shown = Plat_SurfacePixels(DDBack)[230 * 640 + 10] != 0;
        if (f == 0) {
            ASSERT_TRUE(shown);
        }
        if (shown == last) {
            len++;
        } else {
            runs.push_back(len);
            last = shown;
            len = 1;
        }
    }
    runs.push_back(len);
    ASSERT_EQ(runs.size(), 51u);  // 25 shown and 25 hidden, then shown for good
    for (size_t i = 0; i + 1 < runs.size(); i++) EXPECT_NEAR(runs[i], 20, 1) << i;
    EXPECT_GT(runs.back(), 50);
    EXPECT_LE(P_Ship.time, 0.0f);

    // The next wait is one frame shorter.
    P_Ship.flag = false;
    waited = 0;
    while (!P_Ship.flag && waited < 100) {
        Frame();
        waited++;
    }
    EXPECT_EQ(waited, 50);

    // The last life: no respawn, and a long game-over screen counts one loss.
    PlayerStock = 1;
    P_Ship.flag = false;
    int deaths = dat.deaths;
    for (int f = 0; f < 500; f++) Frame();
    EXPECT_EQ(PlayerStock, 0);
    EXPECT_FALSE(P_Ship.flag);
    EXPECT_EQ(dat.deaths, deaths + 1);

    Plat_SurfaceFree(Bitmap[0].surface);
    Bitmap[0].surface = nullptr;
    DD_END(nullptr);
}

TEST_F(ShipTest, ZBombsEvenWithoutTheShipTheJoystickOnlyInPlay) {
    BombStock = 3;
    for (int i = 0; i < CRY_MAX; i++) cry[i].flag = true;
    P_Ship.flag = false;

    // Joystick button 1 needs the ship in play.
    JoyData.button[1] = KEY_PUSH;
    PlayerFireAndBomb();
    EXPECT_EQ(BombStock, 3);
    EXPECT_EQ(BombPulse, 0);

    // The Z key does not.
    BombKey();
    EXPECT_EQ(BombStock, 2);
    EXPECT_EQ(BombPulse, 1);
    EXPECT_TRUE(BombIconAnim);
    EXPECT_FALSE(cry[3].flag);
    EXPECT_TRUE(cry[2].flag);
    EXPECT_LE(BombTime, 0.0f);  // a first bomb on NORMAL: no barrage

    // A second bomb while the icon still shows starts the barrage.
    BombPulse = 0;
    BombIconTime = 5.0f;
    P_Ship.flag = true;
    PlayerFireAndBomb();
    EXPECT_EQ(BombStock, 1);
    EXPECT_EQ(BombPulse, 1);
    EXPECT_EQ(BombIconTime, 0.0f);
    EXPECT_EQ(BombSpread, 30);
    EXPECT_FLOAT_EQ(BombTime, 20.0f - 0.05f);  // the barrage has begun counting

    // Held is not pressed.
    JoyData.button[1] = KEY_HOLD;
    PlayerFireAndBomb();
    EXPECT_EQ(BombStock, 1);

    // No bombs: neither does anything.
    BombStock = 0;
    BombPulse = 0;
    BombKey();
    JoyData.button[1] = KEY_PUSH;
    PlayerFireAndBomb();
    EXPECT_EQ(BombStock, 0);
    EXPECT_EQ(BombPulse, 0);

    // On EASY even the first bomb fires the barrage. Six bombs have no icon
    // slot above them: the icons left stay.
    OPTION.Difficulty = EASY;
    BombIconAnim = false;
    BombTime = 0.0f;
    BombStock = 6;
    BombKey();
    EXPECT_EQ(BombStock, 5);
    EXPECT_EQ(BombTime, 20.0f);
    for (int i = 0; i < CRY_MAX; i++) EXPECT_EQ(cry[i].flag, i != 2 && i != 3) << i;
}

}  // namespace
