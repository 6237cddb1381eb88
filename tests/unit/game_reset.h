// The one list of the game's globals the unit tests put back to a known
// start: empty pools, a ship record of zeros, no keys held, no bombs, no
// weapon, no jewels, no score, three ships, NORMAL, stage 1 with its flow
// at the start, the usual time step. The random generator is left as it
// is: each fixture says what it wants of it.
#pragma once
#include <cstring>

#include "enemy/bullets.h"
#include "enemy/effects.h"
#include "entity/entity.h"
#include "game/game.h"
#include "game/hud.h"
#include "game/score.h"
#include "game/stage.h"
#include "player/player.h"
#include "player/ship.h"
#include "core/input.h"
#include "core/core.h"

inline void ResetGameState() {
    // Whole records, not just their flags: a test in the same process must not
    // see what an earlier one left in a slot (spawners keep some fields).
    for (int p = 0; p < PoolCount; p++) std::memset(Pools[p].pool, 0, sizeof(SpriteData) * Pools[p].count);
    for (SpriteData* pool : {P_Shot, P_Shot2, P_Shot3, P_Shot4, P_Shot5})
        std::memset(pool, 0, sizeof(SpriteData) * P_SHOT_MAX);
    std::memset(cry, 0, sizeof cry);
    ReturnToTitle();  // the game's own start of a new game: the flow, the bosses, the weapon
    std::memset(&P_Ship, 0, sizeof P_Ship);
    SHOTFLG.flag = true;
    std::memset(&KeyData, 0, sizeof KeyData);
    std::memset(&JoyData, 0, sizeof JoyData);
    BombStock = 0;
    BombSpread = 0;
    BombFireTime = 0.0f;
    BombIconAnim = false;
    BombIconTime = 0.0f;
    TiltTime = 0.0f;
    RespawnWait = 0;
    SpreadTime = 0.3f;
    AllShotTime = 100.0f;
    ChargeCount = 0;
    ChargePoints = 0;
    ChargeGauge = 0;
    std::memset(JewelCount, 0, sizeof JewelCount);
    dat.score = 0;
    dat.deaths = 0;
    PlayerStock = 3;
    OPTION.Difficulty = NORMAL;
    FrameTick = 0;
    FrameStep = 0.05f;
    BulletSpin = 0;
    BulletTurnAngle = 0;
}
