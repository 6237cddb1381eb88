// Puts the ship, the controls, the bomb and weapon state and the player's
// pools back to a known start for the ship and weapon tests.
#pragma once
#include <cstring>

#include "entity/entity.h"
#include "game/game.h"
#include "game/score.h"
#include "player/player.h"
#include "player/ship.h"
#include "core/input.h"
#include "shell/shell.h"

inline void ResetPlayerState() {
    std::memset(&P_Ship, 0, sizeof P_Ship);
    ShipSetUp();
    P_Ship.time = 0.0f;
    SHOTFLG.flag = true;
    std::memset(&KeyData, 0, sizeof KeyData);
    std::memset(&JoyData, 0, sizeof JoyData);
    for (SpriteData* pool : {P_Shot, P_Shot2, P_Shot3, P_Shot4, P_Shot5})
        std::memset(pool, 0, sizeof(SpriteData) * P_SHOT_MAX);
    std::memset(cry, 0, sizeof cry);
    BombStock = 0;
    BombPulse = 0;
    BombTime = 0.0f;
    BombSpread = 0;
    BombFireTime = 0.0f;
    BombIconAnim = false;
    BombIconTime = 0.0f;
    TiltTime = 0.0f;
    RespawnWait = 0;
    Weapon = 0;
    ShotCool = 0.0f;
    SpreadTime = 0.3f;
    AllShotTime = 100.0f;
    ChargePoints = 0;
    ChargeGauge = 0;
    ChargeCount = 0;
    LevelUpFlag = 0;
    JewelValue = 0;
    PlayerStock = 3;
    dat.deaths = 0;
    OPTION.Difficulty = NORMAL;
    FrameStep = 0.05f;
    RandState = 1;
}

inline int LiveCount(const SpriteData* pool, int n) {
    int c = 0;
    for (int i = 0; i < n; i++) c += pool[i].flag ? 1 : 0;
    return c;
}
