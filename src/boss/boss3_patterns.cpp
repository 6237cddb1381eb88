// The crystal fortress's attack script. `mode` 0..18 is the main round
// (front lasers with rings, aimed shots, crosses, fans, green bursts),
// which starts again after 18; below 4000 energy the final round 19..21
// takes over for good. A step's volleys fire when `timer` has run down
// and set it to the step's pause; `time` counts them. iw[1] is the
// turning angle of crosses and bursts, iw[2] the way the spin of mode 19
// swings; iw[0] is left to the death count.
#include "boss/boss.h"
#include "boss/boss23.h"

#include "enemy/bullets.h"
#include "game/game.h"
#include "core/core.h"
#include "sound/sound.h"

namespace {

const float kFinalHp = 4000.0f;
const float kSpinStep = 0.1f;

// The four front lasers, the three gun ports, the two beam mouths.
const float kFrontY[4] = {174, 184, 208, 219};
const float kPortX[3] = {204, 204, 243};
const float kPortY[3] = {151, 241, 190};
const float kRingPortY[3] = {151, 238, 190};
const float kMouthY[2] = {180, 216};

float PortX(const SpriteData& s, int p) { return s.x + kPortX[p]; }
float PortY(const SpriteData& s, int p) { return s.y + kPortY[p]; }

void Next(SpriteData& s) {
    s.mode += 1;
    s.time = 0.0f;
}

// One volley: `time` counts it and `timer` takes the pause.
bool Volley(SpriteData& s, float pause, float volleys) {
    s.time += 1;
    s.timer = pause;
    return s.time >= volleys;
}

float ByLevel(float easy, float normal, float hard) {
    int level = BossLevel();
    return level == EASY ? easy : level == NORMAL ? normal : hard;
}

// The front lasers: the opening volleys spread them by 5 degrees.
void FrontLasers(const SpriteData& s, bool spread, float speed) {
    static const float kSpread[4] = {185, 180, 180, 175};
    for (int i = 0; i < 4; i++) SL(s.x + 40, s.y + kFrontY[i], spread ? kSpread[i] : 180.0f, speed);
    DS_Play(Wave[6]);
}

// A ring of 19 from a port: 0, 20, ... 360 degrees, the first and last
// on top of each other.
void Ring(const SpriteData& s, int port, float speed) {
    for (int a = 0; a <= 360; a += 20) kou(s.x + kPortX[port], s.y + kRingPortY[port], (float)a, speed, 90, 0);
}

// 0 and 4: the front lasers alone.
void LasersOnly(SpriteData& s) {
    FrontLasers(s, s.mode == 0, 40);
    if (Volley(s, 20, 10)) Next(s);
}

// 1, 2, 5, 6: the lasers and rings from the upper (1, 5) or lower (2, 6)
// port; 3 and 7 from the rear port, faster on HARD.
void LasersAndRings(SpriteData& s) {
    FrontLasers(s, false, 40);
    bool hard = BossLevel() == HARD;
    bool rear = s.mode == 3 || s.mode == 7;
    int port = rear ? 2 : (s.mode == 1 || s.mode == 5) ? 0 : 1;
    if (!hard) Ring(s, port, 20);
    else
        for (int k = 0; k < 3; k++) Ring(s, port, (float)((rear ? 30 : 20) + 10 * k));
    DS_Play(Wave[2]);
    if (Volley(s, hard && !rear ? 7.0f : 10.0f, 10)) {
        if (s.mode == 7) s.timer = 100;
        Next(s);
    }
}

// 8: bullets that aim themselves, from scattered points round each port;
// HARD adds straight ones at the ship.
void Aimed(SpriteData& s) {
    bool hard = BossLevel() == HARD;
    for (int p = 0; p < 3; p++) {
        float dx = (float)my_rand(-20, 20);
        float dy = (float)my_rand(-20, 20);
        kou(PortX(s, p) + dx, PortY(s, p) + dy, 0, 25, 91, 1);
        if (hard) {
            int aim = AimAtShipFrom(PortX(s, p), PortY(s, p), 0);
            kou(PortX(s, p), PortY(s, p), (float)(aim + my_rand(-20, 20)), 30, 90, 0);
        }
    }
    DS_Play(Wave[2]);
    if (Volley(s, 10, 30)) Next(s);
}

// 9: a three-armed spiral from the ports.
void Spiral(SpriteData& s) {
    float speed = BossLevel() == EASY ? 25.0f : 30.0f;
    for (int p = 0; p < 3; p++) kou(PortX(s, p), PortY(s, p), (float)(s.iw[1] + 120 * p), speed, 92, 0);
    s.iw[1] += 7;
    DS_Play(Wave[2]);
    if (Volley(s, ByLevel(7, 5, 2), 200)) {
        s.timer = 100;
        Next(s);
    }
}

// HARD's red scatter from every port, to the left.
void RedScatter(const SpriteData& s) {
    for (int p = 0; p < 3; p++) kou(PortX(s, p), PortY(s, p), (float)my_rand(140, 220), 25, 91, 0);
}

// A four-way cross from every port at `angle`.
void Cross(const SpriteData& s, int angle, int graphic) {
    for (int p = 0; p < 3; p++)
        for (int k = 0; k < 4; k++) kou(PortX(s, p), PortY(s, p), (float)(angle + 90 * k), 20, graphic, 0);
}

// 11, 12: a cross turning one way, then the other.
void Crosses(SpriteData& s) {
    Cross(s, s.iw[1], 92);
    s.iw[1] += s.mode == 11 ? 5 : -5;
    if (BossLevel() == HARD) RedScatter(s);
    DS_Play(Wave[2]);
    if (Volley(s, ByLevel(15, 10, 5), 18)) {
        s.timer = 150;
        Next(s);
    }
}

// 13: two crosses turning against each other, every frame.
void TwinCrosses(SpriteData& s) {
    Cross(s, s.iw[1], 92);
    Cross(s, -s.iw[1], 93);
    s.iw[1] += 5;
    if (BossLevel() == HARD) RedScatter(s);
    DS_Play(Wave[2]);
    if (Volley(s, 1, 20)) {
        s.timer = 500;
        Next(s);
    }
}

// 14: slow fans of five from every port with the front lasers, whose speed
// rises and falls back.
void SlowFans(SpriteData& s) {
    for (int p = 0; p < 3; p++) {
        int aim = AimAtShipFrom(PortX(s, p), PortY(s, p), 0);
        for (int i = 0; i < 5; i++)
            kou(PortX(s, p), PortY(s, p), (float)(aim + FanOffset(i, 12)), (float)(10 + 2 * i), i % 2 ? 92 : 90, 0);
    }
    FrontLasers(s, false, (float)(10 + 2 * ((int)s.time % 30)));
    DS_Play(Wave[2]);
    if (Volley(s, BossLevel() == HARD ? 3.0f : 10.0f, 301)) {
        s.timer = 300;
        Next(s);
    }
}

// 15..18: green bursts of eight from every port, turning one way and the
// other. After 18 the round starts again.
void GreenBursts(SpriteData& s) {
    static const float kPause[4] = {20, 20, 15, 50};
    static const float kVolleys[4] = {10, 20, 10, 20};
    int k = s.mode - 15;
    for (int p = 0; p < 3; p++)
        for (int j = 0; j < 8; j++) kou(PortX(s, p), PortY(s, p), (float)(s.iw[1] + 45 * j), 20, 93, 0);
    s.iw[1] += k % 2 == 0 ? 10 : -10;
    DS_Play(Wave[2]);
    if (Volley(s, kPause[k], kVolleys[k])) {
        if (s.mode == 18) s.mode += 3;  // with Next: 22, past the round
        Next(s);
    }
}

// 19: spinning bullets whose shared spin swings by 0.1 a volley, the way
// drawn anew every 50 volleys (0 one way, 1 the other, 2 holding).
void SpinPhase(SpriteData& s) {
    if ((int)s.time % 50 == 0) s.iw[2] = my_rand(0, 2);
    if (s.iw[2] == 0) BulletSpin -= kSpinStep;
    if (s.iw[2] == 1) BulletSpin += kSpinStep;
    for (int p = 0; p < 3; p++) kou(PortX(s, p), PortY(s, p), (float)(s.iw[1] + 120 * p), 20, 92, 4);
    s.iw[1] += 3;
    DS_Play(Wave[2]);
    if (Volley(s, 1, 1200)) {
        s.timer = 1000;
        Next(s);
    }
}

// 20: bursting rings at random from the three ports.
void RingStorm(SpriteData& s) {
    static const int kLow[3] = {5, 1, 10}, kHigh[3] = {40, 50, 60};
    for (int p = 0; p < 3; p++) {
        int angle = my_rand(0, 360);
        int speed = my_rand(kLow[p], kHigh[p]);
        kou(PortX(s, p), PortY(s, p), (float)angle, (float)speed, 98, 5);
    }
    DS_Play(Wave[2]);
    if (Volley(s, 2, 600)) {
        s.timer = 50;
        Next(s);
    }
}

// 21: sparks at the mouths, a storm of laser darts from the ports and the
// two beams; then the spin again.
void BeamStorm(SpriteData& s) {
    for (int i = 0; i < 4; i++) Flash(s.x + 9, s.y + kMouthY[i % 2], (float)my_rand(0, 360), 0, 97, 0);
    int darts = BossLevel() == HARD ? 1001 : 401;
    for (int i = 0; i < darts; i++) {
        int p = i % 3;
        int angle = my_rand(0, 360);
        int speed = my_rand(10, 40);
        SL2(PortX(s, p), PortY(s, p), (float)angle, (float)speed, 0);
    }
    DS_Play(Wave[6]);
    for (float y : kMouthY) BL(s.x + 9, s.y + y, 0, 30);
    s.mode = 19;
    s.time = 0.0f;
    s.timer = 900;
}

}  // namespace

void Boss3Script(SpriteData& s) {
    if (s.hp < kFinalHp && s.opt == 0) {
        s.opt = 1;
        s.mode = 19;
        s.time = 0.0f;
        s.timer = 400;
    }
    if (s.mode < 0 || s.mode > 21) {  // the round is over
        s.mode = 0;
        s.time = 0.0f;
    }
    if (s.mode == 0) ScrollSpeedX = ScrollSpeedY = 0.0f;
    if (s.timer > 0.0f) return;
    switch (s.mode) {
    case 0: case 4: LasersOnly(s); break;
    case 1: case 2: case 3: case 5: case 6: case 7: LasersAndRings(s); break;
    case 8: Aimed(s); break;
    case 9: Spiral(s); break;
    case 10:
        s.timer = 50;
        Next(s);
        break;
    case 11: case 12: Crosses(s); break;
    case 13: TwinCrosses(s); break;
    case 14: SlowFans(s); break;
    case 15: case 16: case 17: case 18: GreenBursts(s); break;
    case 19: SpinPhase(s); break;
    case 20: RingStorm(s); break;
    default: BeamStorm(s); break;  // 21
    }
}
