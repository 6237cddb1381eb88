// The battleship's attack script. `mode` is the step: -1 the flight in,
// 0 the big laser's charge, then the hull guns, the turrets and the nose in
// a fixed order up to 44, after which the script starts again with the big
// laser. A step's volleys fire when `timer` has run down and set it to the
// step's pause; `time` counts them, or the waiting time of a pause step.
#include "boss/boss.h"
#include "boss/boss23.h"

#include <cmath>

#include "enemy/bullets.h"
#include "entity/heading.h"
#include "game/game.h"
#include "core/core.h"
#include "sound/sound.h"

namespace {

const float kArrivalX = 210.0f;
const float kEntryTimer = 200.0f;    // held while flying in
const float kRestartTimer = 500.0f;  // the charge after a whole round
const int kSparks = 500;             // the charge's burst
const float kChargeEnd = 520.0f;
const float kBeamLife = 50.0f;

// The guns. The nose fires small bullets from its muzzle and large ones
// centred on it; the turrets aim from their pivots.
const float kHullGunX[6] = {110, 160, 220, 270, 340, 390};
const float kHullGunY = 195;
float NoseX(const SpriteData& s) { return s.x + 140; }
float NoseY(const SpriteData& s) { return s.y + 90; }
float FrontX(const SpriteData& s) { return s.x + 111; }
float FrontY(const SpriteData& s) { return s.y + 140; }
int AimFromFront(const SpriteData& s) { return AimAtShipFrom(s.x + 115, s.y + 143, 0); }
float RearX(const SpriteData& s) { return s.x + 245; }
float RearY(const SpriteData& s) { return s.y + 132; }
int AimFromRear(const SpriteData& s) { return AimAtShipFrom(s.x + 247, s.y + 135, 0); }

void Next(SpriteData& s) {
    s.mode += 1;
    s.time = 0.0f;
}

// A pause step: true once `time` has reached `length`.
bool Waited(SpriteData& s, float length) {
    s.time += FrameStep;
    return s.time >= length;
}

// One volley: `time` counts it and `timer` takes the pause.
bool Volley(SpriteData& s, float pause, float volleys) {
    s.time += 1;
    s.timer = pause;
    return s.time >= volleys;
}

// `shots` bullets from hull gun `gun`, each at the angle to the ship turned
// by 0, -5, +5, ... -30, +30 in turn, at a random speed.
void HullSpread(const SpriteData& s, int gun, int shots, int graphic, int mode) {
    float gx = s.x + kHullGunX[gun], gy = s.y + kHullGunY;
    int aim = AimAtShipFrom(gx, gy, 0);
    for (int i = 0; i < shots; i++) {
        int speed = my_rand(10, 30);
        kou(gx, gy, (float)(aim + FanOffset(i % 13, 5)), (float)speed, graphic, mode);
    }
}

// An alternating fan of `count` aimed from hull gun `gun`.
void HullFan(const SpriteData& s, int gun, int count, int step) {
    float gx = s.x + kHullGunX[gun], gy = s.y + kHullGunY;
    int aim = AimAtShipFrom(gx, gy, 0);
    for (int i = 0; i < count; i++) kou(gx, gy, (float)(aim + FanOffset(i, step)), 15, 91, 0);
}

// 0: the big laser. Sparks fly out of the nose and fall back, red lines
// draw in; then a burst of 500 white sparks (with bullets spat forward
// from NORMAL on, faster with every spark) and, a time unit later, the
// beam along the whole screen. The patrol starts with it.
void Charge(SpriteData& s) {
    float nx = NoseX(s), ny = NoseY(s);
    if (s.timer >= 10.0f) {
        for (int i = 0; i < 2; i++) Flash(nx - 8, ny - 8, (float)my_rand(0, 360), 0, 97, 0);
        for (int i = 0; i < 3; i++) {
            float ex = nx + my_rand(-150, 150);
            float ey = ny + my_rand(-150, 150);
            Line(nx, ex, ny, ey, 1.2f, 2, 255, my_rand(0, 80), my_rand(0, 80), 2);
        }
        return;
    }
    if (s.fw[1] < kSparks) {
        int level = BossLevel();
        for (int i = 0; i < kSparks; i++) {
            s.fw[1] += 1.0f;
            float a = HeadingRad((float)my_rand(0, 360));
            float len = (float)my_rand(50, 300);
            Line(nx, nx + len * std::cos(a), ny, ny + len * std::sin(a), 0, (float)my_rand(1, 3), 255, 255, 255, 0);
            float speed = 5 + s.fw[1] * 0.05f;
            if (level == NORMAL) kou(nx, ny, (float)my_rand(165, 195), speed, 90, 0);
            if (level == HARD) kou(nx, ny, (float)my_rand(135, 225), speed, 90, 0);
        }
        DS_Play(Wave[2]);
        return;
    }
    s.fw[1] += 20 * FrameStep;  // counted like the timer
    if (s.fw[1] > kChargeEnd) {
        BL(nx, ny, 0, kBeamLife);
        s.opt2 = 1;
        s.timer = 10;
        Next(s);
    }
}

// 1: large bullets from the nose; HARD sends two at the ship, each
// spraying small bullets.
void NoseBig(SpriteData& s) {
    float bx = NoseX(s) - 32, by = NoseY(s) - 32;
    switch (BossLevel()) {
    case EASY: kou2(bx, by, (float)my_rand(0, 360), 15, 95, 0); break;
    case NORMAL: kou2(bx, by, (float)my_rand(0, 360), 20, 95, 0); break;
    default: {
        int aim = AimAtShipFrom(NoseX(s), NoseY(s), 0);
        kou2(bx, by, (float)aim, 30, 95, 1);
        kou2(bx, by, (float)aim, 25, 95, 1);
        break;
    }
    }
    DS_Play(Wave[16]);
    if (Volley(s, 10, 100)) Next(s);
}

// 3..8 and 16..21: the hull guns one after the other, front to back.
void HullInTurn(SpriteData& s, int gun) {
    HullSpread(s, gun, gun == 0 ? 51 : 31, 91, 0);
    DS_Play(Wave[2]);
    s.timer = 30;
    Next(s);
}

// 10 and 23: all six hull guns at once, shootable rings.
void HullAll(SpriteData& s) {
    int level = BossLevel();
    for (int gun = 0; gun < 6; gun++) {
        if (level == EASY) HullSpread(s, gun, 11, 99, 6);
        else if (level == NORMAL) HullSpread(s, gun, 31, 99, 6);
        else HullSpread(s, gun, 31, 98, 9);
    }
    DS_Play(Wave[2]);
    s.timer = 30;
    Next(s);
}

// 12 and 25: the front turret shoots at the ship every 20 units; every
// fifth volley the rear turret adds a stream of green bullets, and after
// the fifth stream the step ends.
void Turrets(SpriteData& s) {
    int level = BossLevel();
    int aim = AimFromFront(s);
    if (level == NORMAL) kou(FrontX(s), FrontY(s), (float)aim, 25, 92, 0);
    if (level == HARD) {
        static const int kOffsets[9] = {0, -10, 10, -11, 11, -12, 12, -13, 13};
        for (int o : kOffsets) kou(FrontX(s), FrontY(s), (float)(aim + o), 25, 92, 0);
    }
    DS_Play(Wave[2]);
    s.time += 1;
    s.timer = 20;
    if ((int)s.time % 5 != 0) return;
    int rear = AimFromRear(s);
    int step = level == EASY ? 4 : 2;
    for (int speed = 10; speed <= 50; speed += step) {
        kou(RearX(s), RearY(s), (float)rear, (float)speed, 93, 0);
        if (level == HARD) {
            kou(RearX(s), RearY(s), (float)(rear - 15), (float)speed, 93, 0);
            kou(RearX(s), RearY(s), (float)(rear + 15), (float)speed, 93, 0);
        }
    }
    if (s.time >= 25) {
        s.timer = 50;
        Next(s);
    }
}

// 13: 500 rings from the nose in every direction at once.
void NoseBurst(SpriteData& s) {
    bool hard = BossLevel() == HARD;
    for (int i = 0; i < 500; i++) {
        int angle = my_rand(0, 360);
        int speed = my_rand(10, 40);
        kou(NoseX(s), NoseY(s), (float)angle, (float)speed, 98, hard ? 9 : 6);
    }
    DS_Play(Wave[2]);
    s.timer = 30;
    Next(s);
}

// 14: large bullets sprayed forward from the nose.
void NoseSpray(SpriteData& s) {
    int level = BossLevel();
    kou2(NoseX(s) - 32, NoseY(s) - 32, (float)my_rand(120, 240), 20, 95, 0);
    DS_Play(Wave[16]);
    if (Volley(s, level == EASY ? 9.0f : level == NORMAL ? 6.0f : 3.0f, 100)) Next(s);
}

// 26..37: aimed fans from each hull gun, front to back and back again,
// widening to eleven and narrowing again; the second six twice as wide.
void HullFans(SpriteData& s) {
    static const int kSizes[12] = {1, 3, 5, 7, 9, 11, 11, 9, 7, 5, 3, 1};
    int k = s.mode - 26;
    int gun = k < 6 ? k : 11 - k;
    HullFan(s, gun, kSizes[k], k < 6 ? 10 : 20);
    DS_Play(Wave[2]);
    s.timer = 30;
    Next(s);
}

// 38: after the first run of fans every hull gun fires shootable rings and
// the fans run again; after the second run the script goes on. `cnt`
// counts the runs.
void FansAgain(SpriteData& s) {
    if (s.cnt < 1) {
        for (int gun = 0; gun < 6; gun++) HullSpread(s, gun, 31, 98, 9);
        DS_Play(Wave[2]);
        s.cnt += 1;
        s.timer = 30;
        s.mode = 26;
        s.time = 0.0f;
        return;
    }
    s.cnt = 0;
    Next(s);
}

// The six spoke wheels' base angles, iw[0..5].
void NewWheels(SpriteData& s) {
    for (int gun = 0; gun < 6; gun++) s.iw[gun] = my_rand(0, 360);
}

// 40: a spoke wheel on every hull gun, each wobbling on its own.
void Wheels(SpriteData& s) {
    int level = BossLevel();
    int spokes = level == EASY ? 2 : level == NORMAL ? 4 : 11;
    float speed = level == HARD ? 40.0f : 30.0f;
    for (int gun = 0; gun < 6; gun++) {
        float gx = s.x + kHullGunX[gun], gy = s.y + kHullGunY;
        for (int k = 0; k < spokes; k++) kou(gx, gy, (float)(s.iw[gun] + 40 * k), speed, 91, 0);
        s.iw[gun] += my_rand(-1, 1);
    }
    DS_Play(Wave[2]);
    s.time += 1;
    s.timer = 4;
    if ((int)s.time % 10 == 0) {
        NewWheels(s);
        s.timer = 5;
    }
    if (s.time >= 150) Next(s);
}

// 42: both turrets spray at random; HARD three at a time from each, and a
// short line of six from the rear turret.
void TurretSpray(SpriteData& s) {
    bool hard = BossLevel() == HARD;
    int shots = hard ? 3 : 1;
    for (int i = 0; i < shots; i++) {
        kou(FrontX(s), FrontY(s), (float)my_rand(0, 360), 25, 92, 0);
        kou(RearX(s), RearY(s), (float)my_rand(0, 360), 20, 92, 0);
    }
    if (hard) {
        float a = (float)my_rand(0, 360);
        for (int k = 0; k < 6; k++) kou(RearX(s), RearY(s), a, (float)(40 - k), 92, 0);
    }
    DS_Play(Wave[2]);
    if (Volley(s, hard ? 2.0f : 3.0f, 200)) Next(s);
}

// 44: every frame a ring from the front turret and three at the ship from
// the rear one.
void TurretFinale(SpriteData& s) {
    bool hard = BossLevel() == HARD;
    kou(FrontX(s), FrontY(s), (float)my_rand(0, 360), 20, hard ? 98 : 99, hard ? 9 : 6);
    int aim = AimFromRear(s);
    for (int speed = 20; speed <= 30; speed += 5) kou(RearX(s), RearY(s), (float)aim, (float)speed, 92, 0);
    DS_Play(Wave[2]);
    if (Volley(s, 1, 500)) Next(s);
}

// A whole round is over: the big laser again.
void Restart(SpriteData& s) {
    s.timer = kRestartTimer;
    s.time = 0.0f;
    s.fw[1] = 0.0f;
    s.mode = 0;
}

}  // namespace

void Boss2Script(SpriteData& s) {
    if (s.mode < -1 || s.mode > 44) Restart(s);
    const bool volley = s.timer <= 0.0f;
    switch (s.mode) {
    case -1:  // flying in
        s.timer = kEntryTimer;
        s.cnt = 0;
        s.fw[1] = 0.0f;
        if (s.x <= kArrivalX && s.opt2 == 0) {
            s.mode = 0;
            s.speed = 0.0f;
        }
        break;
    case 0: Charge(s); break;
    case 1: if (volley) NoseBig(s); break;
    case 2: if (Waited(s, 30)) Next(s); break;
    case 3: case 4: case 5: case 6: case 7: case 8:
        if (volley) HullInTurn(s, s.mode - 3);
        break;
    case 9: if (Waited(s, 10)) Next(s); break;
    case 10: if (volley) HullAll(s); break;
    case 11: if (Waited(s, 5)) Next(s); break;
    case 12: if (volley) Turrets(s); break;
    case 13: if (volley) NoseBurst(s); break;
    case 14: if (volley) NoseSpray(s); break;
    case 15: if (Waited(s, 30)) Next(s); break;
    case 16: case 17: case 18: case 19: case 20: case 21:
        if (volley) HullInTurn(s, s.mode - 16);
        break;
    case 22: if (Waited(s, 10)) Next(s); break;
    case 23: if (volley) HullAll(s); break;
    case 24: if (Waited(s, 5)) Next(s); break;
    case 25: if (volley) Turrets(s); break;
    case 38: if (volley) FansAgain(s); break;
    case 39:
        if (Waited(s, 10)) {
            NewWheels(s);
            Next(s);
        }
        break;
    case 40: if (volley) Wheels(s); break;
    case 41: if (Waited(s, 20)) Next(s); break;
    case 42: if (volley) TurretSpray(s); break;
    case 43: if (Waited(s, 20)) Next(s); break;
    case 44: if (volley) TurretFinale(s); break;
    default:  // 26..37
        if (volley) HullFans(s);
        break;
    }
}
