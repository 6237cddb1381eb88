// The start of a one-game file of simulation 1: a memory image of the game
// as it stood when its game began. Such files still play (they are players'
// kept games), but nothing in an image is taken on trust: before the first
// frame the image must be a new game's start as the title makes one, and
// every value in it that indexes, sizes or counts anything must lie where
// play can take it. No board ranks one (its start cannot be proven).
#include "shell/oldstart.h"
#include "config/options.h"
#include "core/core.h"
#include "core/input.h"
#include "enemy/bullets.h"
#include "enemy/effects.h"
#include "entity/entity.h"
#include "game/game.h"
#include "game/scene.h"
#include "game/score.h"
#include "player/player.h"
#include "render/render.h"

#include <algorithm>
#include <cmath>
#include <cstring>

extern int ScriptStage;

namespace {

// A bool as its byte: anything but 0 or 1 is no bool at all.
bool BoolByte(const void* p) {
    unsigned char c;
    std::memcpy(&c, p, 1);
    return c <= 1;
}

bool Near(float v, float limit) { return std::isfinite(v) && std::fabs(v) <= limit; }

bool Within(long long v, long long lo, long long hi) { return v >= lo && v <= hi; }

}  // namespace

const char* OldStart_Unsafe() {
    // The pools' and floating numbers' flags first: everything below reads them.
    for (int p = 0; p < PoolCount; p++)
        for (int i = 0; i < Pools[p].count; i++)
            if (!BoolByte(&Pools[p].pool[i].flag)) return "sprites";
    for (const FONT& f : JEWELFONT)
        if (!BoolByte(&f.flag)) return "sprites";
    const void* bools[] = {&P_Ship.flag, &SHOTFLG.flag,    &Options.invincible, &JoyShow,
                           &DIuse,       &BombIconAnim,    &LastBossCalled,     &BlendFlg};
    for (const void* b : bools)
        if (!BoolByte(b)) return "flags";
    // The ship as the loading pass sets it up; only where it flies, its
    // tilt and its timers change in play.
    const SpriteData& s = P_Ship;
    if (s.bmp != 0 || s.w != 64 || s.h != 64 || s.col != 0 || s.cellw != 64 || s.frames != 4 ||
        !Within(s.frame, 0, 3) || (s.srcy != 0 && s.srcy != 64 && s.srcy != 128) ||
        (s.srcy2 != 64 && s.srcy2 != 127 && s.srcy2 != 191))
        return "ship";
    for (float v : {s.x, s.y, s.x2, s.y2, s.anim, s.speed, s.time, s.timer, s.timer2})
        if (!Near(v, 100000)) return "ship";
    // The title's values: the menu as NewGame leaves it.
    if (MenuState != 0 || !Within(TitleCursor, 0, 1) || !Within(OptionRow, 0, 3) || Loaded != 1) return "title";
    for (float v : {LogoTimer, LogoSize, WallPos, TitlePhase, TitleAlpha})
        if (!Near(v, 1e7f)) return "title";
    // Pace, speed, pause, input.
    if (!Near(SpeedAdjust, 100) || SpeedAdjust < 0 || !Near(FrameStep, 200) || FrameStep < 0 ||
        !Near(PaceAccum, 1e6f) || !std::isfinite(PaceLastTick))
        return "speed";
    if (!Within(PauseCount, 0, GAMESTART_COUNT_MAX)) return "pause";
    for (int k : {KeyData.up, KeyData.down, KeyData.left, KeyData.right, KeyData.space, KeyData.shift, JoyData.up,
                  JoyData.down, JoyData.left, JoyData.right})
        if (!Within(k, 0, 3)) return "keys";
    for (int k : JoyData.button)
        if (!Within(k, 0, 3)) return "keys";
    // The record's counters count on in play.
    if (!Within(dat.hiscore, 0, GAMESTART_HISCORE_MAX) || !Within(dat.deaths, 0, GAMESTART_COUNT_MAX) ||
        !Within(dat.playcount, 0, GAMESTART_COUNT_MAX) || !Within(dat.clearcount, 0, GAMESTART_COUNT_MAX))
        return "record";
    // What the last game left: the values that pick a table entry or a
    // script step, then every counter and timer within what play reaches.
    if (!Within(ScriptStage, 0, 5) || !Within(StagePhase, 0, 5) || !Within(Weapon, 0, 2)) return "stage";
    for (int v : StageStep)
        if (!Within(v, 0, 100000)) return "stage";
    for (int v : {StepRepeat, HaroIndex, FrameTick, MidEnemyCount, BossBar, WaveCounter, ChargeCount, LevelUpFlag,
                  JewelValue, EndingStep, BombPulse, BombSpread, RespawnWait, ChargePoints, JewelStep,
                  BulletTurnAngle, KillCount, JewelDropCount})
        if (!Within(v, -1000000, GAMESTART_COUNT_MAX)) return "counters";
    for (float v : {StepTimer, StepTimer2, StepRepeat2, ColumnOffset, ColumnCount, StepWait, ScrollSpeedX,
                    ScrollSpeedY, WarnX, WarnPasses, SpawnX, SpawnY, SpawnStepA, SpawnStepB, SweepCount, FlyX, FlyY,
                    BigPicX, BigPicRow, LevelUpTime, RollY, DigitCount, BombTime, BombFireTime, BombIconTime,
                    TiltTime, ShotCool, SpreadTime, AllShotTime, BulletSpin, TileX, TileY, Tile2X, Tile2Y, Tile3X})
        if (!Near(v, 1e7f)) return "timers";
    if (!Within((long long)DigitCount, 0, 19)) return "timers";
    return nullptr;
}

const char* OldStart_NotANewGame(bool stageOption, bool invincible) {
    if (Scene != SCENE_GAME) return "not in play";
    if (const char* row = OptionsNotFromTitle()) return row;
    if (Options.startStage < 0 || Options.startStage > 5) return "start stage";
    // The testing aids change the game: the header says so when they were on.
    if ((Options.startStage != 0) != stageOption) return "stage option";
    if (Options.invincible != invincible) return "invincible";
    if (PlayerStock != OPTION.Players) return "lives";
    if (BombStock != OPTION.PowerStock) return "power stock";
    if (StageNo != (Options.startStage != 0 ? Options.startStage : OPTION.StartStage)) return "stage";
    if (dat.score != 0 || Score2 != 0) return "score";
    for (int s = 0; s < 5; s++) {
        if (dat.runscore[s] != 0) return "stage records";
        for (int j = 0; j < 5; j++)
            if (dat.runjewel[s][j] != 0) return "stage records";
    }
    for (int j : JewelCount)
        if (j != 0) return "jewels";
    if (ChargeGauge != 0) return "charge gauge";
    // Every pool wiped, then the power stock's crystals: rebuilt here and
    // compared byte for byte.
    if (SpriteFontLow != 0) return "sprites";
    static const uint8_t kZero[4096] = {};
    auto zero = [](const void* p, size_t n) {
        for (size_t at = 0; at < n; at += sizeof kZero)
            if (std::memcmp(static_cast<const uint8_t*>(p) + at, kZero, std::min(n - at, sizeof kZero)) != 0)
                return false;
        return true;
    };
    if (!zero(JEWELFONT, sizeof JEWELFONT)) return "sprites";
    static SpriteData given[CRY_MAX];
    for (int p = 0; p < PoolCount; p++) {
        size_t bytes = sizeof(SpriteData) * Pools[p].count;
        if (Pools[p].pool != cry) {
            if (!zero(Pools[p].pool, bytes)) return "sprites";
            continue;
        }
        std::memcpy(static_cast<void*>(given), cry, sizeof given);
        std::memset(static_cast<void*>(cry), 0, sizeof given);
        for (int i = 0; i < BombStock; i++) Cry(BombStock * 16, 40.0f);
        bool same = std::memcmp(static_cast<const void*>(given), cry, sizeof given) == 0;
        std::memcpy(static_cast<void*>(cry), given, sizeof given);
        if (!same) return "sprites";
    }
    return nullptr;
}
