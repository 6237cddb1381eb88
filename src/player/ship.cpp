// The player's ship: movement, tilt and drawing, the invincibility blink,
// and the loss-and-respawn cycle.
#include "player/ship.h"
#include "config/options.h"
#include "enemy/effects.h"
#include "entity/entity.h"
#include "game/frame.h"
#include "game/game.h"
#include "game/score.h"
#include "player/player.h"
#include "render/render.h"
#include "core/input.h"
#include "core/core.h"

// Sprite rows of the ship's sheet: level flight, climbing, diving.
enum { ROW_LEVEL_TOP = 0, ROW_LEVEL_BOTTOM = 64, ROW_CLIMB_TOP = 64, ROW_CLIMB_BOTTOM = 127,
       ROW_DIVE_TOP = 128, ROW_DIVE_BOTTOM = 191 };
static const float kStartX = 0.0f, kStartY = 220.0f;
static const float kRespawnInvincible = 50.0f;
static const int kRespawnFrames = 50;

void ShipSetUp() {
    P_Ship.flag = true;
    P_Ship.x = kStartX;
    P_Ship.y = kStartY;
    P_Ship.w = 64;
    P_Ship.h = 64;
    P_Ship.col = 0;
    P_Ship.cellw = 64;
    P_Ship.srcy = ROW_LEVEL_TOP;
    P_Ship.srcy2 = ROW_LEVEL_BOTTOM;
    P_Ship.frame = 0;
    P_Ship.frames = 4;
    P_Ship.anim = 0.0f;
    P_Ship.bmp = 0;
    P_Ship.speed = 20.0f;
}

void ShipLost() {
    P_Ship.flag = false;
    pbaku(P_Ship.x + P_Ship.w / 2, P_Ship.y + P_Ship.h / 2, 0);
}

void ShipFrameStart() {
    P_Ship.srcy = ROW_LEVEL_TOP;
    P_Ship.srcy2 = ROW_LEVEL_BOTTOM;
}

// Climbing or diving: the frames rise to 3 and stay there.
static void ShipTilt(int top, int bottom) {
    P_Ship.srcy = top;
    P_Ship.srcy2 = bottom;
    if (P_Ship.frame >= 3) {
        P_Ship.frame = 3;
        return;
    }
    TiltTime += FrameStep * 1.5f;
    if (TiltTime >= 1.0f) {
        P_Ship.frame += 1;
        TiltTime = 0.0f;
        if (P_Ship.frame > 3) P_Ship.frame = 3;
    }
}

// While invincible the ship blinks: shown while the whole part of its
// time left is odd. True when it was drawn.
static bool ShipDraw() {
    if (P_Ship.time > 0.0f && ((int)P_Ship.time) % 2 == 0) return false;
    int left = P_Ship.cellw * P_Ship.frame;
    DD_DrawBitmap((int)P_Ship.x, (int)P_Ship.y, Bitmap[P_Ship.bmp], left, P_Ship.srcy,
                  P_Ship.cellw * (P_Ship.frame + 1), P_Ship.srcy2);
    return true;
}

static bool Held(int keyState, int joyState) { return keyState == KEY_HOLD || joyState == KEY_HOLD; }

// Movement and drawing. The bounds are tested before a move, so the ship
// may end up to one step past an edge and stays there until moved back.
void ShipMoveAndDraw() {
    if (!P_Ship.flag) return;
    float step = FrameStep * P_Ship.speed;

    // Left and right also steer the bomb barrage's spread.
    if (Held(KeyData.left, JoyData.left) && P_Ship.x > 0.0f) {
        P_Ship.x -= step;
        BombSpread = BombSpread > 180 ? 180 : BombSpread + 1;
    }
    if (Held(KeyData.right, JoyData.right) && P_Ship.x + P_Ship.w < 640.0f) {
        P_Ship.x += step;
        BombSpread = BombSpread < 0 ? 0 : BombSpread - 1;
    }

    // Up wins over down.
    if (Held(KeyData.up, JoyData.up) && P_Ship.y > 0.0f) {
        P_Ship.y -= step;
        ShipTilt(ROW_CLIMB_TOP, ROW_CLIMB_BOTTOM);
        ShipDraw();
    } else if (Held(KeyData.down, JoyData.down) && P_Ship.y + P_Ship.h < 480.0f) {
        P_Ship.y += step;
        ShipTilt(ROW_DIVE_TOP, ROW_DIVE_BOTTOM);
        ShipDraw();
    } else {
        // Level flight: the engine animation runs only while the ship shows.
        if (ShipDraw()) SpritePAnime(&P_Ship.anim, &P_Ship.frame, &P_Ship.frames);
    }
}

// After every collision test of the frame. A lost ship comes back after
// 50 frames, invincible for a while, as long as a life is left. Once the
// last life is gone the game-over screen holds the ship out of play; the
// loss is then not counted again while it waits there.
void ShipLossAndRespawn() {
    if (!P_Ship.flag && PlayerStock > 0) {
        if (RespawnWait >= kRespawnFrames) {
            PlayerStock -= 1;
            dat.deaths += 1;
            JewelValue = JewelValue / 2;
            ChargeCount = 0;
            RespawnWait = 0;
            BombTime = 0.0f;
            if (PlayerStock < 1) {
                PlayerStock = 0;
            } else {
                P_Ship.flag = true;
                P_Ship.x = kStartX;
                P_Ship.y = kStartY;
                P_Ship.time = kRespawnInvincible;
            }
        }
        RespawnWait += 1;
    }
    P_Ship.time -= FrameStep;
    // Testing aid: the invincibility never runs out (a whole part of 1 is
    // odd, so the ship is shown on every frame).
    if (Options.invincible && P_Ship.time < 1.5f) P_Ship.time = 1.5f;
}
