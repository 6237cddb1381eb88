// The values a game plays with and leaves behind: the ship, its arms, the
// stage flow, the counters. They are kept as the loading pass leaves them,
// and a new game puts them back, so that no game starts with what the last
// one left (its jewel value, weapon, charge, the ship where it died): every
// game starts as the first one after start-up does. The pools and the
// floating numbers are wiped by NewGame itself; the title's own values (the
// options, the menu, the speed correction, the pause, the random numbers,
// the pacing, the input edges, the record) are not play's, and stay.
#include "game/perrun.h"
#include "enemy/bullets.h"
#include "enemy/effects.h"
#include "entity/entity.h"
#include "game/game.h"
#include "player/player.h"
#include "render/render.h"

#include <cstdlib>
#include <cstring>

extern int ScriptStage;

namespace {

struct Value {
    void* p;
    size_t n;
};

#define V(v) {static_cast<void*>(&(v)), sizeof(v)}
const Value kPerRun[] = {
    V(P_Ship), V(SHOTFLG),
    // The stage flow.
    V(StagePhase), V(StageStep), V(StepTimer), V(StepTimer2), V(StepRepeat), V(StepRepeat2), V(ColumnOffset),
    V(ColumnCount), V(HaroIndex), V(FrameTick), V(StepWait), V(ScrollSpeedX), V(ScrollSpeedY), V(MidEnemyCount),
    V(WarnX), V(WarnPasses), V(BossBar), V(SpawnX), V(SpawnY), V(SpawnStepA), V(SpawnStepB), V(SweepCount),
    V(WaveCounter), V(FlyX), V(FlyY), V(BigPicX), V(BigPicRow), V(LastBossCalled), V(ScriptStage),
    V(TileX), V(TileY), V(Tile2X), V(Tile2Y), V(Tile3X),
    // The score's helpers, the charge, the staff roll.
    V(ChargeCount), V(LevelUpFlag), V(LevelUpTime), V(JewelValue), V(EndingStep), V(RollY), V(DigitCount),
    // The ship's arms.
    V(BombPulse), V(BombTime), V(BombSpread), V(BombFireTime), V(BombIconAnim), V(BombIconTime), V(TiltTime),
    V(RespawnWait), V(Weapon), V(ShotCool), V(SpreadTime), V(AllShotTime), V(ChargePoints), V(JewelStep),
    // The enemies' counters.
    V(BulletSpin), V(BulletTurnAngle), V(KillCount), V(JewelDropCount),
};
#undef V
const size_t kCount = sizeof kPerRun / sizeof kPerRun[0];

size_t TotalBytes() {
    size_t n = 0;
    for (const Value& v : kPerRun) n += v.n;
    return n;
}

// The loading pass's values, one after the other.
unsigned char gKept[8192];
bool gHaveKept;

}  // namespace

void PerRun_Keep() {
    if (TotalBytes() > sizeof gKept) std::abort();  // a build whose values outgrew the room
    size_t at = 0;
    for (const Value& v : kPerRun) {
        std::memcpy(gKept + at, v.p, v.n);
        at += v.n;
    }
    gHaveKept = true;
}

void PerRun_Restore() {
    if (!gHaveKept) return;
    size_t at = 0;
    for (const Value& v : kPerRun) {
        std::memcpy(v.p, gKept + at, v.n);
        at += v.n;
    }
}

bool PerRun_Holds(const void* p) {
    for (size_t i = 0; i < kCount; i++)
        if (kPerRun[i].p == p) return true;
    return false;
}
