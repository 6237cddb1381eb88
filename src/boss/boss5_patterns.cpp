// The fifth boss's script. `mode` is the step; a volley fires when
// `timer` has run down to 0 (at half the usual rate) and sets it to the
// step's pause; `time` counts the volleys of the step. Four phases, each
// going round until the energy falls below its mark: 20000 (modes 1..5),
// 15000 (8..12), 10000 (15..20); the last (23..26) runs through once and
// the script starts again from mode 0. Between the phases the core
// bursts, the bullets turn to jewels and drones come out.
#include "boss/boss.h"

#include "enemy/bullets.h"
#include "enemy/effects.h"
#include "enemy/spawners.h"
#include "game/game.h"
#include "player/player.h"
#include "core/core.h"
#include "sound/sound.h"

namespace {

const float kOpenWalls = -700.0f;


// The laser port and the gun port at the core's centre.
float LaserX(const SpriteData& s) { return BossCx(s) - 13; }
float LaserY(const SpriteData& s) { return BossCy(s) - 13; }
float GunX(const SpriteData& s) { return BossCx(s) - 8; }
float GunY(const SpriteData& s) { return BossCy(s) - 8; }


// A wheel of `spokes` laser darts from the core, turned by `cnt`.
void Wheel(const SpriteData& s, int spokes, float speed) {
    int step = 360 / spokes;
    for (int k = 0; k < spokes; k++) SL2(LaserX(s), LaserY(s), (float)(s.cnt + step * k), speed, 0);
    DS_Play(Wave[6]);
}

// A ring of `n` bullets from the gun port, starting at iw[0].
void Ring(const SpriteData& s, int n, float speed, int graphic, int mode) {
    float step = 360.0f / n;
    for (int k = 0; k < n; k++) kou(GunX(s), GunY(s), (float)(int)(s.iw[0] + step * k), speed, graphic, mode);
    DS_Play(Wave[2]);
}

// An alternating fan of `n` bullets aimed at the ship.
void AimedFan(const SpriteData& s, int n, int step, float speed, int graphic) {
    int aim = AimAtShipFrom(GunX(s), GunY(s), 0);
    for (int k = 0; k < n; k++) kou(GunX(s), GunY(s), (float)(aim + FanOffset(k, step)), speed, graphic, 0);
    DS_Play(Wave[2]);
}

// ---- Phase 1 ---------------------------------------------------------------

// 1: spokes of laser darts, turning.
void Spokes(SpriteData& s) {
    if (!BossDue(s)) return;
    Wheel(s, BossByLevel(8, 12, 16), (float)BossByLevel(20, 25, 30));
    s.cnt += 7;
    if (BossCounted(s, (float)BossByLevel(14, 10, 6), 20)) BossNext(s, 2, 20);
}

// 2: a sheet of one-degree spokes from `cnt`, slow enough to weave through.
void Sheet(SpriteData& s) {
    if (!BossDue(s)) return;
    const float x = LaserX(s), y = LaserY(s);
    if (BossLevel() == HARD) {
        for (int a = 0; a <= 110; a++) SL2(x, y, (float)(s.cnt + a), 10, 0);
        for (int a = 121; a <= 230; a++) SL2(x, y, (float)(s.cnt + a), 15, 0);
        for (int a = 241; a <= 350; a++) SL2(x, y, (float)(s.cnt + a), 20, 0);
    } else {
        int last = BossLevel() == EASY ? 180 : 330;
        for (int a = 0; a <= last; a++) SL2(x, y, (float)(s.cnt + a), 8, 0);
    }
    DS_Play(Wave[6]);
    s.cnt += my_rand(30, 330);
    if (BossCounted(s, BossLevel() == HARD ? 70.0f : 100.0f, 3)) BossNext(s, 3, 20);
}

// 3: a fast four-way spiral.
void Spiral(SpriteData& s) {
    if (!BossDue(s)) return;
    Wheel(s, BossByLevel(3, 4, 6), 25);
    s.cnt += 11;
    if (BossCounted(s, 3, 60)) BossNext(s, 4, 30);
}

// 4: turning rings of yellow bullets.
void TurningRings(SpriteData& s) {
    if (!BossDue(s)) return;
    Ring(s, BossByLevel(18, 36, 54), 15, 90, 0);
    s.iw[0] += 5;
    if (BossCounted(s, (float)BossByLevel(20, 15, 10), 20)) BossNext(s, 5, 20);
}

// 5: double rings, an inner slow red one and an outer blue one, then a
// long breath before the phase starts again.
void DoubleRings(SpriteData& s) {
    if (!BossDue(s)) return;
    s.iw[0] = my_rand(0, 360);
    int n = BossByLevel(12, 24, 36);
    Ring(s, n, 10, 91, 0);
    Ring(s, n, 20, 92, 0);
    if (BossCounted(s, 30, 10)) BossNext(s, 1, 300);
}

// ---- Between phases --------------------------------------------------------

// The core bursts: rings of explosions and every bullet turns to a jewel.
void Burst(const SpriteData& s) {
    for (int k = 0; k < 8; k++)
        for (int n = 0; n < 8; n++) renbaku2(s.x + s.w / 2 - 10, s.y + 100, my_rand(0, 360), 40 * k, 60);
    BombPulse = 1;
}

// 6, 13: the burst and eight dashing drones.
void DroneSwarm(SpriteData& s) {
    Burst(s);
    s.cnt = my_rand(0, 360);
    s.iw[0] = 0;
    s.time = 0.0f;
    s.fw[1] = 0.0f;
    s.timer = 2000.0f;
    for (int k = 0; k < 8; k++) Bit(s.x, s.y, 180, 5, 2);
    s.mode += 1;
}

bool AnyDrone() {
    for (int i = 0; i < BIT_MAX; i++)
        if (bit[i].flag) return true;
    return false;
}

// 7, 14, 22: waits until the drones are down or the time is up.
void WaitForDrones(SpriteData& s) {
    if (s.timer >= 0.0f && AnyDrone()) return;
    s.timer = 0.0f;
    s.mode += 1;
}

// ---- Phase 2 ---------------------------------------------------------------

// 8: wheels of 30; 9: wheels of 60, slower.
void Wheel30(SpriteData& s) {
    if (!BossDue(s)) return;
    Wheel(s, 30, (float)BossByLevel(12, 15, 20));
    s.cnt += 4;
    if (BossCounted(s, (float)BossByLevel(30, 20, 12), 15)) BossNext(s, 9, 20);
}

void Wheel60(SpriteData& s) {
    if (!BossDue(s)) return;
    Wheel(s, 60, 10);
    s.cnt += 3;
    if (BossCounted(s, (float)BossByLevel(50, 40, 30), 8)) BossNext(s, 10, 20);
}

// 10: crosses of large bullets; beyond EASY they spray as they fly.
void BigCrosses(SpriteData& s) {
    if (!BossDue(s)) return;
    int mode = BossLevel() == EASY ? 0 : 1;
    for (int k = 0; k < 4; k++) kou2(BossCx(s) - 32, BossCy(s) - 32, (float)(s.cnt + 90 * k), 20, 95, mode);
    DS_Play(Wave[16]);
    s.cnt += 15;
    if (BossCounted(s, (float)BossByLevel(30, 20, 15), 20)) BossNext(s, 11, 20);
}

// 11: rings of 150.
void BigRings(SpriteData& s) {
    if (!BossDue(s)) return;
    s.iw[0] = my_rand(0, 360);
    Ring(s, 150, (float)BossByLevel(10, 12, 15), 90, 0);
    if (BossCounted(s, (float)BossByLevel(80, 60, 40), 5)) BossNext(s, 12, 20);
}

// 12: a pause, then round again.
void Pause(SpriteData& s, int next) {
    s.time += FrameStep;
    if (s.time >= 20.0f) BossNext(s, next, 0);
}

// ---- Phase 3 ---------------------------------------------------------------

// 15: wheels of 18; 16: wheels of 30 turning back.
void Wheel18(SpriteData& s) {
    if (!BossDue(s)) return;
    Wheel(s, 18, 25);
    s.cnt += 10;
    if (BossCounted(s, (float)BossByLevel(14, 10, 7), 20)) BossNext(s, 16, 20);
}

void Wheel30Back(SpriteData& s) {
    if (!BossDue(s)) return;
    Wheel(s, 30, 15);
    s.cnt -= 6;
    if (BossCounted(s, (float)BossByLevel(30, 20, 14), 10)) BossNext(s, 17, 20);
}

// 17: rings of 150 fired close together, each turned a little.
void RingStorm(SpriteData& s) {
    if (!BossDue(s)) return;
    Ring(s, 150, (float)BossByLevel(8, 10, 12), 92, 0);
    s.iw[0] += 1;
    if (BossCounted(s, 2, 10)) BossNext(s, 18, 40);
}

// 18: aimed fans.
void Fans(SpriteData& s) {
    if (!BossDue(s)) return;
    AimedFan(s, BossByLevel(7, 15, 25), 6, 20, 91);
    if (BossCounted(s, 15, 15)) BossNext(s, 19, 20);
}

// 20: turning ring bullets that burst when shot, on two opposite sides.
void TurningBursters(SpriteData& s) {
    if (!BossDue(s)) return;
    const float x = GunX(s), y = GunY(s);
    int n = BossByLevel(4, 10, 5);
    for (int k = 0; k < n; k++) kou(x, y, (float)(s.cnt + 90 + 180 * k), (float)my_rand(10, 90), 98, 9);
    if (BossLevel() == HARD)
        for (int k = 0; k < 5; k++) kou(x, y, (float)(s.cnt + 180 * k), (float)my_rand(10, 90), 98, 9);
    DS_Play(Wave[2]);
    s.cnt += 7;
    if (BossCounted(s, 5, 40)) BossNext(s, 15, 40);
}

// 21: the burst and two drones that spray ring bullets.
void DronePair(SpriteData& s) {
    Burst(s);
    s.timer = 1000.0f;
    Bit(s.x, s.y, 90, 1, 3);
    Bit(s.x, s.y, 270, 1, 3);
    s.mode = 22;
}

// ---- Phase 4 ---------------------------------------------------------------

// 23: wheels of 36.
void LastWheels(SpriteData& s) {
    if (!BossDue(s)) return;
    Wheel(s, 36, (float)BossByLevel(15, 20, 30));
    s.cnt += 5;
    if (BossCounted(s, 10, 20)) BossNext(s, 24, 20);
}

// 24: three aimed fans at three speeds.
void LastFans(SpriteData& s) {
    if (!BossDue(s)) return;
    int n = BossByLevel(5, 9, 13);
    AimedFan(s, n, 8, 15, 91);
    AimedFan(s, n, 8, 22, 92);
    if (BossLevel() != EASY) AimedFan(s, n, 8, 30, 93);
    if (BossCounted(s, 10, 20)) BossNext(s, 25, 20);
}

// 25: turning rings in two colours.
void LastRings(SpriteData& s) {
    if (!BossDue(s)) return;
    Ring(s, BossByLevel(36, 72, 72), 15, (int)s.time % 2 == 0 ? 90 : 92, 0);
    s.iw[0] += 3;
    if (BossCounted(s, (float)BossByLevel(12, 8, 6), 30)) BossNext(s, 26, 20);
}

// 26: quick spokes, and rings of 200 each time its counters pass 91 and
// 151; after the second the script runs out (27) and starts again from
// the top: below the energy marks that means the bursts and drone
// launches between the phases come round once more.
void LastStorm(SpriteData& s) {
    if (!BossDue(s)) return;
    Wheel(s, BossByLevel(6, 12, 12), 25);
    s.cnt += 13;
    s.timer = 3;
    s.time += 1.0f;
    s.fw[1] += 1.0f;
    if (s.fw[1] > 91.0f) {
        s.fw[1] = 0.0f;
        s.iw[0] = my_rand(0, 360);
        Ring(s, 200, 10, 90, 0);
    }
    if (s.time > 151.0f) {
        s.iw[0] = my_rand(0, 360);
        Ring(s, 200, 14, 92, 0);
        s.fw[1] = 0.0f;
        s.mode = 27;
    }
}

// The energy marks: leaving a phase for the burst that opens the next.
void PhaseChecks(SpriteData& s) {
    if (s.mode >= 1 && s.mode <= 5 && s.hp < 20000.0f) BossNext(s, 6, 0);
    if (s.mode >= 8 && s.mode <= 12 && s.hp < 15000.0f) BossNext(s, 13, 0);
    if (s.mode >= 15 && s.mode <= 20 && s.hp < 10000.0f) BossNext(s, 21, 0);
}

}  // namespace

void Boss5Script(SpriteData& s) {
    if (s.mode >= 27) Boss5ScriptRestart(s);
    PhaseChecks(s);
    switch (s.mode) {
    case 0:
        // The core waits behind the walls until they have opened.
        if (WallPos <= kOpenWalls) BossNext(s, 1, s.timer);
        break;
    case 1: Spokes(s); break;
    case 2: Sheet(s); break;
    case 3: Spiral(s); break;
    case 4: TurningRings(s); break;
    case 5: DoubleRings(s); break;
    case 6:
    case 13: DroneSwarm(s); break;
    case 7:
    case 14:
    case 22: WaitForDrones(s); break;
    case 8: Wheel30(s); break;
    case 9: Wheel60(s); break;
    case 10: BigCrosses(s); break;
    case 11: BigRings(s); break;
    case 12: Pause(s, 8); break;
    case 15: Wheel18(s); break;
    case 16: Wheel30Back(s); break;
    case 17: RingStorm(s); break;
    case 18: Fans(s); break;
    case 19: Pause(s, 20); break;
    case 20: TurningBursters(s); break;
    case 21: DronePair(s); break;
    case 23: LastWheels(s); break;
    case 24: LastFans(s); break;
    case 25: LastRings(s); break;
    case 26: LastStorm(s); break;
    default: break;
    }
}
