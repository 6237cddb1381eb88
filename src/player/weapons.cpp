// Firing: the volley of the selected weapon, the joystick bomb and the
// bomb barrage, at the start of every game frame. Also the charge gauge.
#include "player/weapons.h"
#include "enemy/effects.h"
#include "entity/entity.h"
#include "game/frame.h"
#include "game/game.h"
#include "player/items.h"
#include "player/player.h"
#include "player/ship.h"
#include "core/input.h"
#include "core/core.h"
#include "sound/sound.h"

enum { WAVE_SHOT = 13, WAVE_LEVEL_UP = 14 };
static const double kFireReady = 0.6;  // ShotCool needed for a volley
static const float kShipSpeed = 20.0f, kShipFiringSpeed = 35.0f;

// The fan's headings, in the order they are fired: three at level 0,
// two more at levels 2, 4 and 6.
static const int kFanAngles[9] = {0, 353, 7, 346, 14, 339, 21, 332, 28};

// One volley of the selected weapon; its power is the bomb stock.
static void Volley() {
    int L = BombStock;
    if (Weapon < 0 || Weapon > 2) {
        Weapon = 0;
        return;
    }
    DS_Play(Wave[WAVE_SHOT]);
    P_Ship.speed = kShipFiringSpeed;
    switch (Weapon) {
    case 0:
        // 0.6 * 5 + 3 is exactly 6 in double precision: seven shots at 5.
        for (int n = 0; n <= 0.6 * L + 3; n++) {
            SpreadTime = (float)(0.05 * L + 0.3);
            shot1(P_Ship.x + 32, P_Ship.y + 25, 0, 200.0f);
        }
        break;
    case 1: {
        int count = 3 + 2 * (L >= 2) + 2 * (L >= 4) + 2 * (L >= 6);
        for (int n = 0; n < count; n++) shot2(P_Ship.x, P_Ship.y, kFanAngles[n], 150.0f);
        break;
    }
    case 2:
        for (int n = 0; n <= L; n++) shot3(P_Ship.x + 36, P_Ship.y + 35, 0, 10.0f);
        break;
    }
}

// The bomb barrage: three bomb missiles every 0.2 time units while the
// barrage lasts, spread by BombSpread around straight ahead.
static void BombBarrage() {
    if (BombTime > 0.0f && BombFireTime < 0.0f) {
        BombFireTime = 0.2f;
        for (int k = 0; k < 3; k++) {
            int speed = my_rand(50, 300);
            int angle = my_rand(-BombSpread, BombSpread);
            shot5(P_Ship.x + 32, P_Ship.y + 5, angle, speed, 1);
        }
    }
    BombFireTime -= FrameStep;
    BombTime -= FrameStep;
}

void PlayerFireAndBomb() {
    SHOTFLG.flag = true;
    AllShotTime -= FrameStep;

    bool fire = KeyData.space == KEY_HOLD || KeyData.shift == KEY_HOLD ||
                JoyData.button[0] == KEY_HOLD;
    if (fire && SHOTFLG.flag && ShotCool >= kFireReady && P_Ship.flag) {
        Volley();
    } else {
        P_Ship.speed = kShipSpeed;
    }
    ShotCool = (float)(ShotCool + FrameStep * 2.7);

    // Joystick button 1 bombs only while the ship is in play.
    if (JoyData.button[1] == KEY_PUSH && SHOTFLG.flag && BombStock > 0 && P_Ship.flag) BombStart();

    BombBarrage();
}

void ChargeStep(int p, int n) {
    ChargePoints += p;
    if (ChargePoints >= n && ChargeGauge < 100) {
        ChargeGauge += 1;
        ChargePoints = 0;
    }
}

bool ChargeGaugeReward() {
    if (ChargeGauge < 100) return false;
    ChargeGauge = 0;
    if (BombStock < 6) {
        BombStock += 1;
        DS_Play(Wave[WAVE_LEVEL_UP]);
        LevelUpFlag = 1;
    } else {
        Pitem(640.0f, 220.0f, 180, 10.0f, 0);
        BombStock = 6;
    }
    Cry((float)(BombStock * 16), 40.0f);
    return true;
}
