// The first boss's attack patterns. iw[7] is the pattern; a chosen start
// runs every pattern up to 13, then a new start is drawn. A volley fires
// when `timer` has run down to 0 and sets it to the pattern's pause;
// waiting patterns count `time` up by the step instead. The parts marked
// "not in stage 5" are left out by the stage-5 copies, which add their own
// laser darts instead.
#include "boss/boss.h"

#include "enemy/bullets.h"
#include "entity/heading.h"
#include "game/game.h"
#include "player/player.h"
#include "core/core.h"
#include "sound/sound.h"

namespace {

bool Stage5() { return StageNo == 5; }

// The pattern is over: the next one starts with its counter at 0.
void PatternEnd(SpriteData& s) {
    s.iw[7] += 1;
    s.time = 0.0f;
}

// A waiting pattern: true once `time` has reached `length`.
bool Waited(SpriteData& s, float length) {
    s.time += FrameStep;
    return s.time >= length;
}

// The nose gun, and the angle from it to the ship (aimed a little high).
float NoseX(const SpriteData& s) { return BossCx(s) - 80; }
float NoseY(const SpriteData& s) { return BossCy(s) - 5; }
int AimFromNose(const SpriteData& s) { return AimAtShipFrom(NoseX(s), NoseY(s), 5); }

// One shot of a spray from (x, y): its speed drawn before its angle, the
// angle within 50 of `around`.
void SprayShot(float x, float y, int around, int graphic, int mode) {
    int speed = my_rand(10, 40);
    int angle = around + my_rand(-50, 50);
    kou(x, y, (float)angle, (float)speed, graphic, mode);
}

// The three-gun spray.
void Spray(const SpriteData& s, int times, int graphic, int mode) {
    float x = NoseX(s), cy = BossCy(s);
    for (int n = 0; n < times; n++) {
        SprayShot(x, cy - 5, 180, graphic, mode);
        SprayShot(x, cy + 30, 150, graphic, mode);
        SprayShot(x, cy - 30, 210, graphic, mode);
    }
}

// The two-gun burst.
void Burst(const SpriteData& s, int times, int graphic, int mode) {
    float x = NoseX(s), cy = BossCy(s);
    for (int n = 0; n < times; n++) {
        SprayShot(x, cy - 5, 180, graphic, mode);
        SprayShot(x, cy - 30, 210, graphic, mode);
    }
}

// An alternating fan of `count` bullets around `centre`: centre, -step,
// +step, -2 step, ...; the minus side may use its own graphic.
void Fan(SpriteData& s, float x, float y, int centre, int count, int step, float speed, int graphic,
         int minusGraphic) {
    for (int i = 0; i < count; i++) {
        s.iw[5] = i;
        s.iw[4] = FanOffset(i, step);
        kou(x, y, (float)(centre + s.iw[4]), speed, i % 2 == 1 ? minusGraphic : graphic, 0);
    }
}

// A ring of `count` bullets from (x, y) turning by `step` after each.
void Ring(SpriteData& s, float x, float y, int count, int step, float speed, int graphic, int mode) {
    for (int i = 0; i < count; i++) {
        kou(x, y, (float)s.iw[0], speed, graphic, mode);
        s.iw[0] += step;
    }
}

// 0: two rows of lasers closing in on each other.
void Pattern0(SpriteData& s) {
    if (s.time == 0.0f || s.iw[2] >= 150) {
        s.iw[2] = 65;
        s.iw[3] = 150;
    }
    ScrollSpeedY += FrameStep;
    float top = s.y + s.iw[2], bottom = s.y + s.iw[3];
    if (Stage5()) {
        for (int a = 0; a <= 330; a += 30) {
            SL2(s.x + 10, top, (float)a, 50, 0);
            SL2(s.x + 10, bottom, (float)a, 50, 0);
        }
    }
    s.iw[0] += my_rand(1, 10);
    if (!Stage5()) {
        int level = BossLevel();
        int sets = level == HARD ? 9 : 1;
        for (int k = 0; k < sets; k++) {
            float speed = level == HARD ? 20.0f + 20 * k : 50.0f;
            SL(s.x, top, 180, speed);
            SL(s.x, top + 5, 180, speed);
            SL(s.x, bottom, 180, speed);
            SL(s.x, bottom + 5, 180, speed);
        }
        if (level == NORMAL) Ring(s, NoseX(s), NoseY(s), 20, 18, 20, 99, 6);
        if (level == HARD) Ring(s, NoseX(s), NoseY(s), 20, 18, 25, 92, 0);
    }
    s.iw[2] += 5;
    s.iw[3] -= 5;
    s.time += 1;
    DS_Play(Wave[6]);
    s.timer = 5;
    if (s.time >= 100) PatternEnd(s);
}

// 2: four guns firing lines of four along one turning angle.
void Pattern2(SpriteData& s) {
    float cx = BossCx(s), cy = BossCy(s);
    s.iw[0] = my_rand(0, 360);
    int s1 = my_rand(5, 10);
    int s2 = my_rand(10, 15);
    int s3 = my_rand(15, 20);
    int s4 = my_rand(25, 30);
    int level = BossLevel();
    int groups = level == EASY ? 9 : level == NORMAL ? 37 : 73;
    int turn = level == EASY ? 45 : level == NORMAL ? 10 : 5;
    int extra = level == HARD ? 5 : 0;
    for (int g = 0; g < groups; g++) {
        float a = (float)s.iw[0];
        kou(cx - 80, cy - 30, a, (float)(s1 + extra), 92, 0);
        kou(cx - 80, cy + 30, a, (float)(s2 + extra), 92, 0);
        kou(cx - 40, cy - 30, a, (float)(s3 + extra), 92, 0);
        kou(cx - 40, cy + 30, a, (float)(s4 + extra), 92, 0);
        s.iw[0] += turn;
    }
    if (!Stage5()) {
        if (level == NORMAL) Spray(s, 50, 99, 6);
        if (level == HARD) Spray(s, 30, 91, 0);
    }
    s.time += 1;
    DS_Play(Wave[2]);
    s.timer = 300;
    if (s.time >= 3) PatternEnd(s);
}

// 4: fans growing by one bullet a volley, with a burst after every ten;
// after five bursts the boss stops and a last long run of fans ends in a
// finale.
void Pattern4(SpriteData& s) {
    if (s.fw[1] == 5.0f) s.speed = 0.0f;
    s.iw[0] = s.iw[1];
    int level = BossLevel();
    Fan(s, NoseX(s), NoseY(s), s.iw[0], s.iw[3], 8, level == HARD ? 30.0f : 20.0f, 91, 93);
    if (s.iw[3] >= 180) {
        s.iw[1] = AimFromNose(s);
        s.iw[3] = 0;
    }
    s.iw[3] += 1;
    s.time += 1;
    DS_Play(Wave[2]);
    s.timer = 5;
    if (s.time >= 10 && s.fw[1] != 5.0f) {
        if (!Stage5() && level == HARD) Burst(s, 30, 91, 0);
        if (!Stage5() && level == NORMAL) Spray(s, 50, 99, 6);
        s.iw[3] = 0;
        s.fw[1] += 1.0f;
        s.iw[1] = AimFromNose(s);
        s.time = 0.0f;
        s.timer = 50;
    } else if (s.time >= 40 && s.fw[1] == 5.0f) {
        if (!Stage5() && level == HARD) Burst(s, 40, 91, 0);
        if (!Stage5() && level == NORMAL) Burst(s, 50, 98, 5);
        s.iw[3] = 0;
        s.fw[1] = 0.0f;
        s.timer = 100;
        PatternEnd(s);
    }
}

// 6: laser spokes from the four guns and short arcs of rings. Any small
// offset fans the four lasers on HARD; they spread by 6 degrees.
void Pattern6(SpriteData& s) {
    float cx = BossCx(s), cy = BossCy(s);
    int level = BossLevel();
    bool extra = Stage5() && level != EASY;
    if (level != HARD) {
        float a = (float)s.iw[0];
        SL2(cx - 80, cy - 30, a, (float)my_rand(10, 30), 0);
        SL2(cx - 80, cy + 30, a, (float)my_rand(10, 30), 0);
        SL2(cx - 40, cy - 30, a, (float)my_rand(10, 30), 0);
        SL2(cx - 40, cy + 30, a, (float)my_rand(10, 30), 0);
        if (extra) {
            SL2(cx - 80, cy - 30, a, (float)my_rand(10, 30), 0);
            SL2(cx - 80, cy + 30, a, (float)my_rand(10, 30), 0);
            SL2(cx - 40, cy - 30, 180, (float)my_rand(10, 30), 0);
            SL2(cx - 40, cy + 30, 180, (float)my_rand(10, 30), 0);
        }
        s.iw[0] = my_rand(0, 360);
        Ring(s, NoseX(s), NoseY(s), 11, 3, 30, 99, 6);
        s.timer = 15;
    } else {
        const int o = 6;
        for (int pass = 1; pass <= 5; pass++) {
            float a = (float)s.iw[0];
            SL2(cx - 80, cy - 30, a + o, (float)(my_rand(10, 30) + o), 0);
            SL2(cx - 80, cy + 30, a - o, (float)(my_rand(10, 30) + o), 0);
            SL2(cx - 40, cy - 30, a - o, (float)(my_rand(10, 30) + o), 0);
            SL2(cx - 40, cy + 30, a + o, (float)(my_rand(10, 30) + o), 0);
            if (Stage5()) {
                SL2(cx - 80, cy - 30, a, (float)my_rand(10, 30), 0);
                SL2(cx - 80, cy + 30, a, (float)my_rand(10, 30), 0);
                SL2(cx - 40, cy - 30, 180, (float)my_rand(10, 30), 0);
                SL2(cx - 40, cy + 30, 180, (float)my_rand(10, 30), 0);
            }
            s.iw[0] = my_rand(0, 360);
            Ring(s, NoseX(s), NoseY(s), 6, 6, (float)(pass + 30), 91, 0);
        }
        s.timer = 20;
    }
    s.time += 1;
    DS_Play(Wave[6]);
    if (s.time >= 50) PatternEnd(s);
}

// 8: rings from the centre, faster with every volley.
void Pattern8(SpriteData& s) {
    float cx = BossCx(s), cy = BossCy(s);
    bool even = ((int)s.time) % 2 == 0;
    switch (BossLevel()) {
    case EASY:
        s.iw[0] = 180;
        if (even) Ring(s, cx, cy, 18, 20, (float)(s.iw[2] + 5), 90, 0);
        s.timer = 3;
        break;
    case NORMAL:
        s.iw[0] = 180;
        if (even) Ring(s, cx, cy, 36, 10, (float)(s.iw[2] + 5), 90, 0);
        else if (!Stage5()) Ring(s, cx, cy, 50, 10, (float)(s.iw[2] + 5), 99, 6);
        s.timer = 2;
        break;
    default:  // HARD: the rings keep turning
        if (even) Ring(s, cx, cy, 36, 10, (float)(s.iw[2] + 15), 90, 0);
        else if (!Stage5()) Ring(s, cx, cy, 50, 10, (float)(s.iw[2] + 15), 98, 5);
        s.timer = 1;
        break;
    }
    DS_Play(Wave[2]);
    s.iw[2] += 1;
    s.time += 1;
    if (s.time >= 60) PatternEnd(s);
}

// 10: aimed fans from the centre and the two side guns.
void Pattern10(SpriteData& s) {
    float cx = BossCx(s), cy = BossCy(s);
    float gx = s.x + 20, upperY = s.y + 80, lowerY = s.y + s.h - 80;
    s.iw[2] = 0;
    s.iw[3] = 5;
    s.iw[1] = AimAtShipFrom(cx, cy, 5);
    if (BossLevel() == HARD) {
        for (int k = 0; k < 20; k++) {
            kou(gx, upperY, (float)s.iw[1], (float)(20 + 2 * k), 91, 1);
            kou(gx, lowerY, (float)s.iw[1], (float)(20 + 2 * k), 91, 1);
        }
    }
    Fan(s, cx, cy, s.iw[1], s.iw[3], 20, 25, 91, 91);
    s.iw[1] = AimAtShipFrom(gx, upperY, 5);
    Fan(s, gx, upperY, s.iw[1], s.iw[3], 20, 35, 91, 91);
    s.iw[1] = AimAtShipFrom(gx, lowerY, 5);
    Fan(s, gx, lowerY, s.iw[1], s.iw[3], 20, 45, 91, 91);
    s.time += 1;
    DS_Play(Wave[2]);
    s.timer = 100;
    if (s.time >= 10) PatternEnd(s);
}

// 12: small rings turning from just above the centre.
void Pattern12(SpriteData& s) {
    float cx = BossCx(s), y = BossCy(s) - 8;
    switch (BossLevel()) {
    case EASY: Ring(s, cx, y, 6, 20, 15, 90, 0); break;
    case NORMAL: Ring(s, cx, y, 10, 10, 15, 90, 0); break;
    default:
        for (int j = 0; j < 4; j++) Ring(s, cx, y, 10, 5, (float)(15 + 2 * j), 90, 0);
        break;
    }
    DS_Play(Wave[2]);
    // The next start angle may go past 360 (the ship's place is added).
    float reach = 360 + P_Ship.x + P_Ship.y;
    s.iw[0] = my_rand(0, ScreenCoordOk(reach) ? (int)reach : 360);
    s.time += 1;
    s.timer = 30;
    if (s.time >= 50) {
        s.timer = 50;
        PatternEnd(s);
    }
}

// 13: large bullets from the nose.
void Pattern13(SpriteData& s) {
    float cy = BossCy(s);
    int level = BossLevel();
    if (level == HARD) {
        float a = (float)(s.iw[0] + my_rand(-5, 5));
        kou2(s.x - 30, cy - 32, a, 30, 95, 1);
        a = (float)(s.iw[0] + my_rand(-5, 5) + 180);
        kou2(s.x - 30, cy - 32, a, 30, 95, 1);
        s.iw[0] += 20;
        s.timer = 5;
    } else {
        float a = (float)(s.iw[0] + my_rand(-5, 5));
        kou2(s.x - 32, cy - 32, a, 20, 95, 0);
        s.iw[0] += level == EASY ? 60 : 30;
        s.timer = 10;
    }
    DS_Play(Wave[16]);
    s.time += 1;
    if (s.time >= 100) {
        if (level == HARD) {
            for (int n = 0; n < 60; n++) {
                int speed = my_rand(5, 60);
                int angle = my_rand(0, 360);
                kou2(s.x, cy - 32, (float)angle, (float)speed, 95, 1);
            }
        }
        PatternEnd(s);
    }
}

// A new start: pattern 0 a third of the time, else any of 0..13.
void ChoosePattern(SpriteData& s) {
    s.iw[7] = my_rand(0, 2);
    if (s.iw[7] >= 1) s.iw[7] = my_rand(0, 13);
    s.iw[5] = 0;
    s.time = 0.0f;
    s.iw[2] = 70;
    s.iw[3] = 155;
}

}  // namespace

void Boss1Pattern(SpriteData& s) {
    if (s.iw[7] < 0 || s.iw[7] > 13) ChoosePattern(s);
    bool volley = s.timer <= 0.0f;
    switch (s.iw[7]) {
    case 0: if (volley) Pattern0(s); break;
    case 1:
        s.speed = 5.0f;  // from here the boss drifts along its heading
        s.iw[3] = 0;
        s.timer = 1.0f;
        s.iw[0] = 180;
        if (Waited(s, 5)) PatternEnd(s);
        break;
    case 2: if (volley) Pattern2(s); break;
    case 3:
        if (Waited(s, 5)) {
            s.fw[1] = 0.0f;
            s.iw[1] = AimFromNose(s);
            PatternEnd(s);
        }
        break;
    case 4: if (volley) Pattern4(s); break;
    case 5:
        s.speed = 5.0f;
        if (Waited(s, 10)) {
            s.cnt = 0;
            PatternEnd(s);
        }
        break;
    case 6:
        ScrollSpeedY -= FrameStep;
        if (volley) Pattern6(s);
        break;
    case 7:
        if (Waited(s, 20)) {
            s.iw[2] = 10;
            s.iw[0] = my_rand(0, 360);
            PatternEnd(s);
        }
        break;
    case 8: if (volley) Pattern8(s); break;
    case 9:
        if (Waited(s, 10)) {
            s.iw[0] = 0;
            PatternEnd(s);
        }
        break;
    case 10: if (volley) Pattern10(s); break;
    case 11:
        s.speed = 5.0f;
        if (Waited(s, 20)) {
            s.iw[0] = 0;
            PatternEnd(s);
        }
        break;
    case 12: if (volley) Pattern12(s); break;
    case 13: if (volley) Pattern13(s); break;
    }
}
