#include "shell/savestate.h"
#include "enemy/bullets.h"
#include "enemy/effects.h"
#include "entity/entity.h"
#include "game/game.h"
#include "game/score.h"
#include "platform/time.h"
#include "player/player.h"
#include "render/render.h"
#include "core/input.h"
#include "config/options.h"
#include "shell/shell.h"

#include <cstring>

// Values kept by the files that own them rather than in a header.
extern int ScriptStage;

namespace {

struct Region {
    void* p;
    size_t n;
};

uint32_t sClock;  // the virtual clock, carried through a region like the rest

#define R(v) {static_cast<void*>(&(v)), sizeof(v)}
const Region kValues[] = {
    R(P_Ship), R(SHOTFLG), R(JEWELFONT), R(SpriteFontLow),
    // The game-wide values.
    R(Scene), R(StageNo), R(PlayerStock), R(BombStock), R(MenuState), R(TitleCursor), R(OptionRow), R(LogoTimer),
    R(LogoSize), R(WallPos), R(TitlePhase), R(TitleAlpha), R(Loaded), R(JewelCount), R(OPTION), R(Options.startStage),
    R(StagePhase), R(StageStep), R(StepTimer), R(StepTimer2), R(StepRepeat), R(StepRepeat2), R(ColumnOffset),
    R(ColumnCount), R(HaroIndex), R(FrameTick), R(StepWait), R(ScrollSpeedX), R(ScrollSpeedY), R(MidEnemyCount),
    R(WarnX), R(WarnPasses), R(BossBar), R(SpawnX), R(SpawnY), R(SpawnStepA), R(SpawnStepB), R(SweepCount),
    R(WaveCounter), R(FlyX), R(FlyY), R(BigPicX), R(BigPicRow), R(LastBossCalled), R(Score2), R(ChargeGauge),
    R(ChargeCount), R(LevelUpFlag), R(LevelUpTime), R(JewelValue), R(EndingStep), R(RollY), R(DigitCount),
    R(ScriptStage),
    // The ship's arms.
    R(BombPulse), R(BombTime), R(BombSpread), R(BombFireTime), R(BombIconAnim), R(BombIconTime), R(TiltTime),
    R(RespawnWait), R(Weapon), R(ShotCool), R(SpreadTime), R(AllShotTime), R(ChargePoints), R(JewelStep),
    R(Options.invincible),
    R(BulletSpin), R(BulletTurnAngle), R(KillCount), R(JewelDropCount),
    R(TileX), R(TileY), R(Tile2X), R(Tile2Y), R(Tile3X), R(BlendFlg),
    R(dat),
    // Pace, speed, pause, random numbers, the key and joystick edges.
    R(FrameStep), R(SpeedAdjust), R(PauseCount), R(RandState), R(PaceLastTick), R(PaceAccum), R(sClock),
    R(KeyData), R(JoyData), R(JoyShow), R(DIuse), R(dijs),
};
#undef R
const size_t kValueCount = sizeof kValues / sizeof kValues[0];
const uint32_t kMagic = 0x54535351;  // "QSST"

// Every region in order: the pools, then the values.
template <typename F>
void EachRegion(F f) {
    for (int p = 0; p < PoolCount; p++) f(Region{static_cast<void*>(Pools[p].pool), sizeof(SpriteData) * Pools[p].count});
    for (size_t i = 0; i < kValueCount; i++) f(kValues[i]);
}

size_t TotalBytes() {
    size_t total = 0;
    EachRegion([&](const Region& r) { total += r.n; });
    return total;
}

struct Writer {
    uint8_t* out;
    size_t cap, at;
    bool ok;
    void Byte(uint8_t b) {
        if (at < cap) out[at++] = b;
        else ok = false;
    }
    void Count(size_t v) {
        while (v >= 0x80) {
            Byte((uint8_t)(v | 0x80));
            v >>= 7;
        }
        Byte((uint8_t)v);
    }
    void Bytes(const uint8_t* p, size_t n) {
        if (n > cap - at) {
            ok = false;
            return;
        }
        std::memcpy(out + at, p, n);
        at += n;
    }
};

struct Reader {
    const uint8_t* in;
    size_t size, at;
    bool Count(size_t* v) {
        *v = 0;
        for (int shift = 0; shift < 64; shift += 7) {
            if (at >= size) return false;
            uint8_t b = in[at++];
            *v |= (size_t)(b & 0x7F) << shift;
            if (!(b & 0x80)) return true;
        }
        return false;
    }
};

// A region as runs: zeros to skip, then bytes to copy up to the next run
// of at least eight zeros (shorter ones are cheaper copied).
void Squeeze(Writer& w, const Region& r) {
    const uint8_t* p = static_cast<const uint8_t*>(r.p);
    size_t i = 0;
    while (i < r.n) {
        size_t z = i;
        // The pools are mostly free slots: skip their zeros a word at a time.
        for (uint64_t w; z + 8 <= r.n && (std::memcpy(&w, p + z, 8), w == 0);) z += 8;
        while (z < r.n && p[z] == 0) z++;
        size_t lit = z, zeros = 0;
        while (lit < r.n) {
            if (p[lit] == 0) {
                if (++zeros == 8) {
                    lit -= 7;
                    break;
                }
            } else {
                zeros = 0;
            }
            lit++;
        }
        if (lit == r.n) lit -= zeros;  // trailing zeros belong to the next run
        w.Count(z - i);
        w.Count(lit - z);
        w.Bytes(p + z, lit - z);
        i = lit;
    }
}

// Reads a region's runs; `apply` false only checks them.
bool Unsqueeze(Reader& rd, const Region& r, bool apply) {
    uint8_t* p = static_cast<uint8_t*>(r.p);
    size_t i = 0;
    while (i < r.n) {
        size_t zeros, lit;
        if (!rd.Count(&zeros) || !rd.Count(&lit) || zeros > r.n - i || lit > r.n - i - zeros || lit > rd.size - rd.at)
            return false;
        if (zeros + lit == 0) return false;
        if (apply) {
            std::memset(p + i, 0, zeros);
            std::memcpy(p + i + zeros, rd.in + rd.at, lit);
        }
        i += zeros + lit;
        rd.at += lit;
    }
    return true;
}

bool Walk(const uint8_t* in, size_t size, bool apply) {
    Reader rd = {in, size, 0};
    size_t magic, total;
    if (!rd.Count(&magic) || magic != kMagic || !rd.Count(&total) || total != TotalBytes()) return false;
    bool ok = true;
    EachRegion([&](const Region& r) { ok = ok && Unsqueeze(rd, r, apply); });
    return ok && rd.at == size;
}

}  // namespace

void State_EachValue(void (*fn)(void* p, size_t n)) {
    for (size_t i = 0; i < kValueCount; i++) fn(kValues[i].p, kValues[i].n);
}

size_t State_MaxBytes() {
    // Worst case: one run of each kind for every eight bytes.
    size_t regions = PoolCount + kValueCount;
    return 32 + TotalBytes() + TotalBytes() / 4 + regions * 20;
}

size_t State_Save(uint8_t* out, size_t cap) {
    sClock = Plat_GetTickCount();
    Writer w = {out, cap, 0, true};
    w.Count(kMagic);
    w.Count(TotalBytes());
    EachRegion([&](const Region& r) { Squeeze(w, r); });
    return w.ok ? w.at : 0;
}

bool State_Load(const uint8_t* in, size_t size, bool marks) {
    if (!Walk(in, size, false)) return false;
    Walk(in, size, true);
    if (marks) SpriteMarksFromFlags();  // the pools came back whole: their marks did not
    Plat_SetTickCount(sClock);
    return true;
}
