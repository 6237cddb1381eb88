// The fourth boss's attack script. `mode` is the step; a volley fires
// when `timer` has run down to 0 and sets it to the step's pause; `time`
// counts the volleys of the step. The first phase (modes 0..13) runs
// round and round until the energy falls to 10000 (looked at in modes 4,
// 8 and 13); the second (14..16) then holds to the end.
#include "boss/boss.h"

#include "enemy/bullets.h"
#include "enemy/spawners.h"
#include "entity/heading.h"
#include "game/game.h"
#include "core/core.h"
#include "sound/sound.h"

namespace {

const float kSecondPhaseHp = 10000.0f;
const float kDrift = 3.0f;            // the slow bob of the first phase
const float kDriftTop = 20.0f, kDriftBottom = 100.0f;

// The guns.
float NoseX(const SpriteData& s) { return s.x + 80; }
float NoseY(const SpriteData& s) { return s.y + 170; }
float BayX(const SpriteData& s) { return s.x + 30; }   // large bullets and drones
float BayY(const SpriteData& s) { return s.y + 140; }
float TopX(const SpriteData& s) { return s.x + 200; }  // laser darts
float TopY(const SpriteData& s) { return s.y + 52; }
float LowX(const SpriteData& s) { return s.x + 60; }
float LowY(const SpriteData& s) { return s.y + 160; }


// In the first phase the carrier bobs slowly up and down.
void Bob(SpriteData& s) {
    if (s.speed == 0.0f) return;
    if (s.y <= kDriftTop) SpriteHeading(s, 90);
    if (s.y >= kDriftBottom) SpriteHeading(s, 270);
}

// 0: in place; two drones leave the bay.
void Launch(SpriteData& s) {
    Bit(BayX(s), BayY(s), 180, 5, 2);
    Bit(BayX(s), BayY(s), 180, 5, 2);
    s.cnt = 0;
    SpriteHeading(s, 90);
    s.speed = kDrift;
    BossNext(s, 1, 20);
}

// 1, 5, 9: wheels of `spokes` laser darts from the top gun, turning.
void LaserWheel(SpriteData& s, int spokes, int next) {
    if (!BossDue(s)) return;
    int step = 360 / spokes;
    for (int k = 0; k < spokes; k++) SL2(TopX(s), TopY(s), (float)(s.cnt + step * k), 25, 0);
    s.cnt += BossLevel() == HARD ? 20 : 10;
    DS_Play(Wave[6]);
    if (BossCounted(s, (float)BossByLevel(14, 10, 7), 20)) BossNext(s, next, 20);
}

// 2, 7: pairs of blue bullets from the nose aimed at the ship, each pair
// of a burst faster than the one before.
void AimedPairs(SpriteData& s, int next) {
    if (!BossDue(s)) return;
    int aim = AimAtShipFrom(NoseX(s), NoseY(s), 0);
    int pairs = BossByLevel(5, 10, 15);
    for (int k = 0; k < pairs; k++) {
        float speed = (float)(my_rand(10, 30) + 2 * k);
        kou(NoseX(s), NoseY(s), (float)(aim - 4), speed, 92, 0);
        kou(NoseX(s), NoseY(s), (float)(aim + 4), speed, 92, 0);
    }
    DS_Play(Wave[2]);
    if (BossCounted(s, (float)BossByLevel(40, 30, 20), 8)) BossNext(s, next, 20);
}

// 3, 8: rings that brake and then leave towards where the ship was, each
// ring faster than the last (its speed is the volley count, from 10).
void BrakeRings(SpriteData& s, int next) {
    if (!BossDue(s)) return;
    if (s.time < 10.0f) s.time = 10.0f;
    BulletTurnAngle = AimAtShipFrom(NoseX(s), NoseY(s), 0);
    int n = BossByLevel(8, 16, 32);
    int step = 360 / n;
    for (int k = 0; k < n; k++) kou(NoseX(s), NoseY(s), (float)(s.cnt + step * k), s.time, 92, 8);
    s.cnt += 7;
    DS_Play(Wave[2]);
    s.timer = 10;
    s.time += 2.0f;
    if (s.time >= 40.0f) BossNext(s, next, 20);
}

// 4, 10: bursts of ring bullets at random angles and speeds, which burst
// in turn when shot.
void RandomRings(SpriteData& s, int next) {
    if (!BossDue(s)) return;
    int n = BossByLevel(5, 15, 38);
    for (int k = 0; k < n; k++) {
        int speed = my_rand(5, 50);
        int angle = my_rand(0, 360);
        kou(NoseX(s), NoseY(s), (float)angle, (float)speed, 98, 9);
    }
    DS_Play(Wave[2]);
    if (BossCounted(s, 20, 10)) BossNext(s, next, 20);
}

// 6, 11: spreads of large bullets from the bay that spray as they fly.
void BigSpread(SpriteData& s, int next) {
    if (!BossDue(s)) return;
    int aim = AimAtShipFrom(BayX(s), BayY(s), 0);
    int n = BossByLevel(3, 8, 16);
    float speed = BossLevel() == HARD ? 50.0f : 40.0f;
    for (int k = 0; k < n; k++) kou2(BayX(s), BayY(s), (float)(aim + FanOffset(k, 12)), speed, 95, 1);
    DS_Play(Wave[16]);
    if (BossCounted(s, 40, 5)) BossNext(s, next, 20);
}

// 12: it stops and calls two drones in from the right edge.
void CallDrones(SpriteData& s) {
    s.speed = 0.0f;
    int s1 = my_rand(1, 5);
    Bit(640, 0, 180, (float)s1, 0);
    int s2 = my_rand(1, 5);
    Bit(640, 400, 180, (float)s2, 1);
    BossNext(s, 13, 0);
}

// 13: a pause, then round again.
void Rest(SpriteData& s) {
    s.time += FrameStep;
    if (s.time < 30.0f) return;
    SpriteHeading(s, 90);
    s.speed = kDrift;
    BossNext(s, 1, 20);
}

// ---- Second phase ----------------------------------------------------------

// 14: it stops; the heavy fire follows.
void SecondPhase(SpriteData& s) {
    s.speed = 0.0f;
    s.cnt = 0;
    BossNext(s, 15, 40);
}

// A dense fan of laser darts from both guns around the ship.
void DenseFans(SpriteData& s, int darts) {
    float speed = BossLevel() == HARD ? 70.0f : 60.0f;
    int aimTop = AimAtShipFrom(TopX(s), TopY(s), 0);
    int aimLow = AimAtShipFrom(LowX(s), LowY(s), 0);
    for (int k = 0; k < darts; k++) {
        SL2(TopX(s), TopY(s), (float)(aimTop + FanOffset(k, 6) + s.cnt % 6), speed, 0);
        SL2(LowX(s), LowY(s), (float)(aimLow + FanOffset(k, 6) - s.cnt % 6), speed, 0);
    }
    DS_Play(Wave[6]);
}

// A ring of large bullets that spray darts.
void BigRing(SpriteData& s, int n) {
    for (int k = 0; k < n; k++) kou2(BayX(s), BayY(s), (float)(s.cnt + 360 / n * k), 20, 95, 3);
    DS_Play(Wave[16]);
}

// 15: standing still: dense fans, opened by a ring of large bullets (each
// sprays darts all the way across the screen, so one ring is plenty).
void StandAndFire(SpriteData& s) {
    if (!BossDue(s)) return;
    if (s.time == 0.0f) BigRing(s, BossByLevel(3, 4, 6));
    DenseFans(s, BossByLevel(5, 9, 13));
    s.cnt += 13;
    if (BossCounted(s, (float)BossByLevel(14, 10, 7), 30)) {
        SpriteHeading(s, (float)my_rand(0, 360));
        s.speed = 10.0f;
        BossNext(s, 16, 20);
    }
}

// 16: it wanders, turned back in at the edges, firing lighter fans.
void Wander(SpriteData& s) {
    if (s.x >= 400.0f) { SpriteHeading(s, 180); s.speed = 20.0f; }
    if (s.x <= 180.0f) { SpriteHeading(s, 0); s.speed = 20.0f; }
    if (s.y <= -80.0f) { SpriteHeading(s, 90); s.speed = 20.0f; }
    if (s.y >= 160.0f) { SpriteHeading(s, 270); s.speed = 20.0f; }
    if (!BossDue(s)) return;
    DenseFans(s, BossByLevel(3, 4, 5));
    s.cnt += 29;
    if (BossCounted(s, (float)BossByLevel(16, 12, 8), 30)) {
        s.speed = 0.0f;
        BossNext(s, 15, 20);
    }
}

bool Weakened(SpriteData& s) {
    if (s.hp > kSecondPhaseHp) return false;
    BossNext(s, 14, 0);
    return true;
}

}  // namespace

void Boss4Script(SpriteData& s) {
    if (s.mode >= 1 && s.mode <= 11) Bob(s);
    switch (s.mode) {
    case 0: Launch(s); break;
    case 1: LaserWheel(s, 4, 2); break;
    case 2: AimedPairs(s, 3); break;
    case 3: BrakeRings(s, 4); break;
    case 4:
        if (!Weakened(s)) RandomRings(s, 5);
        break;
    case 5: LaserWheel(s, 8, 6); break;
    case 6: BigSpread(s, 7); break;
    case 7: AimedPairs(s, 8); break;
    case 8:
        if (!Weakened(s)) BrakeRings(s, 9);
        break;
    case 9: LaserWheel(s, 16, 10); break;
    case 10: RandomRings(s, 11); break;
    case 11: BigSpread(s, 12); break;
    case 12: CallDrones(s); break;
    case 13:
        if (!Weakened(s)) Rest(s);
        break;
    case 14: SecondPhase(s); break;
    case 15: StandAndFire(s); break;
    case 16: Wander(s); break;
    default: break;
    }
}
