#include "game/statehash.h"
#include "config/options.h"
#include "enemy/bullets.h"
#include "enemy/effects.h"
#include "entity/entity.h"
#include "game/game.h"
#include "game/score.h"
#include "player/player.h"
#include "render/render.h"
#include "core/core.h"

#include <cstring>

namespace {

// FNV-1a over the values themselves (never over padding bytes).
struct Hasher {
    uint64_t h = 1469598103934665603ull;
    void Bytes(const void* p, size_t n) {
        const unsigned char* b = static_cast<const unsigned char*>(p);
        for (size_t i = 0; i < n; i++) {
            h ^= b[i];
            h *= 1099511628211ull;
        }
    }
    void I(int64_t v) { Bytes(&v, sizeof v); }
    void F(float v) {
        uint32_t u;
        std::memcpy(&u, &v, 4);
        Bytes(&u, 4);
    }
};

void Record(Hasher& h, const SpriteData& s) {
    h.I(s.flag);
    h.I(s.mode); h.I(s.opt); h.I(s.opt2); h.I(s.opt3);
    h.F(s.time);
    for (int i = 0; i < 10; i++) { h.F(s.fw[i]); h.I(s.iw[i]); h.F(s.gw[i]); }
    h.I(s.step); h.I(s.step2);
    h.F(s.x); h.F(s.x2); h.F(s.y); h.F(s.y2); h.F(s.angle);
    h.I(s.num); h.I(s.r); h.I(s.g); h.I(s.b);
    h.F(s.timer); h.F(s.timer2);
    h.I(s.cnt); h.I(s.cnt2); h.I(s.cnt3); h.I(s.cnt4);
    h.F(s.hp); h.F(s.speed); h.F(s.rad); h.F(s.dx); h.F(s.dy); h.F(s.speed2); h.F(s.fade);
    h.I(s.col); h.I(s.cellw); h.I(s.srcy); h.I(s.srcy2); h.I(s.w); h.I(s.h);
    h.I(s.loop); h.I(s.frame); h.I(s.frames); h.F(s.anim); h.I(s.bmp);
}

}  // namespace

uint64_t Game_StateHash() {
    Hasher h;
    for (int p = 0; p < PoolCount; p++) {
        const PoolInfo& pool = Pools[p];
        // Only live records count, and none lies past the pool's mark.
        for (int i = 0; i < pool.count && i < PoolEnd[p]; i++)
            if (pool.pool[i].flag) {
                h.I(p * 100000 + i);
                Record(h, pool.pool[i]);
            }
    }
    for (int i = 0; i < JEWELFONT_MAX && i < SpriteFontEnd; i++)
        if (JEWELFONT[i].flag) {
            h.I(i);
            h.F(JEWELFONT[i].life); h.F(JEWELFONT[i].x); h.F(JEWELFONT[i].y); h.F(JEWELFONT[i].value);
        }
    Record(h, P_Ship);
    h.I(SHOTFLG.flag);

    h.I(Scene); h.I(StageNo); h.I(PlayerStock); h.I(BombStock);
    h.I(MenuState); h.I(TitleCursor); h.I(OptionRow); h.F(LogoTimer); h.F(LogoSize); h.F(WallPos);
    h.F(TitlePhase); h.I(Loaded);
    for (int j : JewelCount) h.I(j);
    h.I(OPTION.Difficulty); h.I(OPTION.Players); h.I(OPTION.StartStage); h.I(OPTION.PowerStock);
    h.I(StagePhase);
    for (int s : StageStep) h.I(s);
    h.F(StepTimer); h.F(StepTimer2); h.I(StepRepeat); h.F(StepRepeat2); h.F(ColumnOffset); h.F(ColumnCount);
    h.I(HaroIndex); h.I(FrameTick); h.F(StepWait); h.F(ScrollSpeedX); h.F(ScrollSpeedY);
    h.I(MidEnemyCount); h.F(WarnX); h.F(WarnPasses); h.I(BossBar);
    h.F(SpawnX); h.F(SpawnY); h.F(SpawnStepA); h.F(SpawnStepB); h.F(SweepCount); h.I(WaveCounter);
    h.F(FlyX); h.F(FlyY); h.F(BigPicX); h.F(BigPicRow); h.I(LastBossCalled);
    h.I(Score2); h.I(ChargeGauge); h.I(ChargeCount); h.I(LevelUpFlag); h.F(LevelUpTime); h.I(JewelValue);
    h.I(EndingStep); h.F(RollY);

    h.I(BombPulse); h.F(BombTime); h.I(BombSpread); h.F(BombFireTime); h.I(BombIconAnim); h.F(BombIconTime);
    h.F(TiltTime); h.I(RespawnWait); h.I(Weapon); h.F(ShotCool); h.F(SpreadTime); h.F(AllShotTime);
    h.I(ChargePoints); h.I(JewelStep); h.I(Options.invincible);
    h.I(KillCount); h.I(JewelDropCount); h.F(BulletSpin); h.I(BulletTurnAngle);

    h.I(dat.score); h.I(dat.hiscore); h.I(dat.deaths); h.I(dat.playcount); h.I(dat.clearcount);
    h.F(FrameStep); h.F(SpeedAdjust); h.I(PauseCount); h.I(RandState);
    h.F(TileX); h.F(TileY); h.F(Tile2X); h.F(Tile2Y); h.F(Tile3X);
    return h.h;
}
