// The last boss's script, first phases (mode 0 .. 15): it drifts in from
// the left behind the ship firing darts, launches drones and flies off to
// the right, breaks back in through a storm of blasts, and then sweeps up
// and down the screen with its rear guns. A volley fires when `timer` is
// below 0; `timer` falls by FrameStep a frame.
#include "boss/boss.h"
#include "boss/lastboss.h"

#include "enemy/bullets.h"
#include "enemy/effects.h"
#include "enemy/spawners.h"
#include "entity/heading.h"
#include "game/game.h"
#include "core/core.h"
#include "sound/sound.h"

namespace {

bool Volley(const SpriteData& s) { return s.timer < 0; }

// It has flown past the ship far enough: time for the drones.
bool FarRight(SpriteData& s) {
    if (s.x <= 300) return false;
    s.mode = 4;
    return true;
}

// Mode 0: drifting in from the left edge; once in view the fight begins.
void DriftIn(SpriteData& s) {
    if (s.x <= -300) return;
    s.speed = 1.5f;
    DS_Play(Wave[3]);
    MIDI_Play("MIDI\\BdBt4Bt.Mid");
    StageStep[5] += 1;
    s.time = 0;
    s.iw[1] = 0;
    s.gw[0] = (float)LastBossAim(FrontGunX(s), s.y + 144);
    s.mode = 1;
}

// Mode 1: dart volleys, from the top gun while the ship is behind the
// boss, else from the front gun.
void Darts(SpriteData& s) {
    if (FarRight(s) || !Volley(s)) return;
    const int level = BossLevel();
    if (P_Ship.x <= s.x + 200) {
        for (int n = 0; n < 5; n++) {
            s.gw[0] = (float)(LastBossAim(TopGunX(s), s.y + 43) + my_rand(-80, 80));
            float a = s.gw[0] - s.iw[1];
            if (level == EASY) {
                for (int dy = 41; dy <= 45; dy += 2) SL2(TopGunX(s), s.y + dy, a, 30, 0);
            } else {
                for (int dy = 39; dy <= 47; dy += 2) SL2(TopGunX(s), s.y + dy, a, 30, 0);
            }
            if (level == HARD) {
                SL2(TopGunX(s), s.y + 43, s.time * 11, 40, 0);
                SL2(TopGunX(s), s.y + 43, -s.time * 11, 30, 0);
            }
        }
    } else {
        const float x = FrontGunX(s), g = s.gw[0];
        const int half = s.iw[1] / 2;
        if (level == EASY) {
            SL2(x, s.y + 136, g, 80, 0);
        } else {
            const float speed = level == HARD ? 100.0f : 80.0f;
            SL2(x, s.y + 132, g - s.iw[1], speed, 0);
            SL2(x, s.y + 134, g - half, speed, 0);
            SL2(x, s.y + 136, g, speed, 0);
            SL2(x, s.y + 138, g + half, speed, 0);
            SL2(x, s.y + 140, g + s.iw[1], speed, 0);
            if (level == HARD && s.iw[1] % 2 == 0)
                for (int a = -90; a <= 90; a += 10) SL2(x, s.y + 136, a, 40, 0);
        }
        s.gw[0] = (float)LastBossAim(x, s.y + 136);
    }
    DS_Play(Wave[6]);
    s.iw[1] = s.iw[1] >= 6 ? 0 : s.iw[1] + 1;
    s.time += 1;
    s.timer = 0.5f;
    if (s.time > 50) {
        s.mode = 2;
        s.time = 0;
        s.gw[0] = 0;
        s.iw[1] = 0;
    }
}

// Mode 2: alternating fans of 60 darts from the centre gun, each dart a
// little faster than the one before.
void CentreFans(SpriteData& s) {
    if (FarRight(s) || !Volley(s)) return;
    const bool hard = BossLevel() == HARD;
    for (int k = 0; k < 60; k++) {
        const float a = (float)(s.iw[0] + FanOffset(k, 6));
        const float up = (float)((k + 1) / 2);
        if (hard) {
            SL2(CentreGunX(s), CentreGunY(s), a, 15 + up, 0);
            SL2(CentreGunX(s), CentreGunY(s), a + 1, 15 + up, 0);
            SL2(CentreGunX(s), CentreGunY(s), a - 1, 15 + up, 0);
        } else {
            SL2(CentreGunX(s), CentreGunY(s), a, 10 + up, 0);
        }
    }
    s.timer = 2;
    DS_Play(Wave[6]);
    s.iw[0] = my_rand(0, 360);
    s.time += 1;
    if (s.time > 20) {
        s.timer = 10;
        s.time = 0;
        s.mode = 3;
    }
}

// Mode 3: ten rings of 36 darts at ten speeds.
void DartRings(SpriteData& s) {
    if (FarRight(s) || !Volley(s)) return;
    s.iw[1] = my_rand(1, 20);
    s.iw[0] = my_rand(-360, 360);
    for (int j = 0; j < 10; j++)
        for (int k = 0; k < 36; k++) SL2(s.x + 170, s.y + 39, (float)(s.iw[0] + 10 * k), (float)(5 * j + s.iw[1]), 0);
    DS_Play(Wave[6]);
    s.timer = 12;
    s.time += 1;
    if (s.time > 5) {
        s.time = 0;
        s.mode = 1;
    }
}

// Mode 4: it stops and leaves eight beam drones behind.
void DropDrones(SpriteData& s) {
    s.speed = 0;
    for (int n = 0; n < 8; n++) {
        int angle = my_rand(90, 270);
        int speed = n < 4 ? my_rand(1, 20) : my_rand(1, 30);
        Bit(s.x + 100, s.y + 100, angle, (float)speed, 4);
    }
    s.timer = 130;
    s.mode = 5;
}

// Mode 5: off to the right, faster and faster (HARD sprays from the rear).
void FlyOff(SpriteData& s) {
    s.speed += FrameStep;
    if (BossLevel() == HARD) {
        for (int i = 0; i < 3; i++) {
            int a = my_rand(160, 280);
            int v = my_rand(10, 40);
            SL2(RearGunX(s), UpperRearY(s), a, v, 0);
            a = my_rand(200, 80);
            v = my_rand(10, 40);
            SL2(RearGunX(s), LowerRearY(s), a, v, 0);
        }
        DS_Play(Wave[6]);
    }
    if (s.x >= 1950) {
        s.angle = 180;
        s.speed = 10;
        s.mode = 6;
    }
}

// Mode 6: back from the right; when its timer runs out the screen's edges
// go up in flames and every line effect is gone.
void ComeBack(SpriteData& s) {
    if (s.x < 350) s.speed = 0;
    if (!Volley(s)) return;
    for (int i = 0; i < LINES_MAX - 1; i++) line[i].flag = false;
    for (int i = 0; i < 300; i++) {
        // One blast on each of three edges: top, bottom, right.
        int x = my_rand(0, 640), y = my_rand(-20, 20);
        int a = my_rand(0, 360), v = my_rand(10, 100);
        ExploHappen9(x, y, a, v);
        x = my_rand(0, 640);
        y = my_rand(440, 480);
        a = my_rand(0, 360);
        v = my_rand(10, 100);
        ExploHappen9(x, y, a, v);
        x = my_rand(600, 640);
        y = my_rand(0, 480);
        a = my_rand(0, 360);
        v = my_rand(10, 100);
        ExploHappen9(x, y, a, v);
    }
    DS_Play(Wave[3]);
    DS_Play(Wave[15]);
    s.timer = 3;
    s.mode = 7;
}

// Mode 7: a moment later the stage's script moves on (the stars).
void Breakthrough(SpriteData& s) {
    if (s.timer >= 1) return;
    StageStep[5] += 1;
    s.timer = 50;
    s.mode = 8;
}

// Mode 8: random fans from the centre gun.
void RandomFans(SpriteData& s) {
    if (s.hp < 30000) {
        s.mode = 10;
        return;
    }
    if (s.x < 350) s.speed = 0;
    BulletTurnAngle = LastBossTurnChoice(8);
    if (!Volley(s)) return;
    const int level = BossLevel();
    const int n = my_rand(1, 60);
    if (level == HARD)
        for (int k = 0; k < 10; k++) SL2(CentreGunX(s), CentreGunY(s), s.time * 11, (float)(6 * (k + 1)), 1);
    for (int k = 0; k < n; k++) {
        const float a = (float)(s.iw[0] + FanOffset(k, 6));
        float v = level == EASY ? 30.0f : 40.0f;
        if (level == HARD) v = FanOffset(k, 6) < 0 ? 40.0f : 50.0f;
        SL2(CentreGunX(s), CentreGunY(s), a, v, 0);
    }
    s.timer = level == HARD ? 0.5f : 1.0f;
    DS_Play(Wave[6]);
    s.iw[0] = my_rand(90, 270);
    s.time += 1;
    const float last = level == EASY ? 30.0f : level == HARD ? 70.0f : 50.0f;
    if (s.time > last) {
        s.time = 0;
        s.timer = level == EASY ? 5.0f : 3.0f;
        s.iw[0] = 0;
        s.iw[1] = 360;
        s.mode = 9;
    }
}

// Mode 9: two counter-turning streams of braking bullets.
void TurningStreams(SpriteData& s) {
    if (s.x < 350) s.speed = 0;
    BulletTurnAngle = LastBossTurnChoice(8);
    if (!Volley(s)) return;
    for (int i = 0; i < 6; i++) {
        int v = my_rand(10, 50);
        kou(CentreGunX(s), CentreGunY(s), s.iw[0], v, 91, 8);
        v = my_rand(10, 50);
        kou(CentreGunX(s), CentreGunY(s), s.iw[1], v, 92, 8);
    }
    DS_Play(Wave[2]);
    s.time += 1;
    s.timer = 0.2f;
    if (s.time < 160) {
        s.iw[0] += 1;
        s.iw[1] -= 1;
    }
    if (s.time > 240) {
        s.iw[0] += 7;
        s.iw[1] -= 9;
    }
    if (s.time > 400) {
        s.time = 0;
        s.timer = 30;
        s.mode = 8;
    }
}

// Mode 10: a run to the left dropping turrets above and below.
void RunLeft(SpriteData& s) {
    BulletTurnAngle = LastBossTurnChoice(8);
    s.angle = 180;
    s.speed += FrameStep;
    if (Volley(s)) {
        int v = my_rand(5, 20);
        zako10(s.x + 200, s.y + 80, 90, v);
        v = my_rand(5, 20);
        zako10(s.x + 200, s.y + 80, 270, v);
        s.timer = 1;
    }
    if (s.x < 130) {
        s.speed -= 3 * FrameStep;
        if (s.speed < 0) s.mode = 11;
    }
}

// Twenty pairs of rear-gun darts closing from `upper` and `lower`.
void RearFans(SpriteData& s, int upper, int lower) {
    if (!Volley(s)) return;
    for (int k = 0; k < 20; k++) {
        SL2(RearGunX(s), UpperRearY(s), (float)(upper + 5 * k), 90, 0);
        SL2(RearGunX(s), LowerRearY(s), (float)(lower - 5 * k), 90, 0);
    }
    DS_Play(Wave[6]);
    s.timer = 0.2f;
}

// Mode 11: back to the right, firing behind it.
void RunRight(SpriteData& s) {
    s.angle = 0;
    s.speed += 2 * FrameStep;
    RearFans(s, 175, 185);
    if (s.x > 350) {
        s.iw[1] = 0;
        s.speed = 0;
        s.mode = 12;
    }
}

// Modes 12 and 13: down to y 230 and up to y 120, twice, braking at each
// end.
void SweepDown(SpriteData& s) {
    RearFans(s, 170, 190);
    if (s.y <= 230) {
        s.angle = 90;
        s.speed += 2 * FrameStep;
    } else {
        s.speed -= 4 * FrameStep;
        if (s.speed < 0) {
            s.speed = 0;
            s.mode = 13;
        }
    }
}

void SweepUp(SpriteData& s) {
    RearFans(s, 170, 190);
    if (s.y >= 120) {
        s.angle = 270;
        s.speed += 2 * FrameStep;
    } else {
        s.speed -= 4 * FrameStep;
        if (s.speed < 0) {
            s.speed = 0;
            s.iw[1] += 1;
            s.mode = s.iw[1] >= 2 ? 14 : 12;
        }
    }
}

// Mode 14: down to the middle.
void Settle(SpriteData& s) {
    s.speed = 10;
    s.angle = 90;
    RearFans(s, 170, 190);
    if (s.y > 140) {
        s.time = 0;
        s.speed = 0;
        s.mode = 15;
    }
}

// Mode 15: rear fans opening wider volley by volley.
void OpeningFans(SpriteData& s) {
    s.speed = 0;
    if (!Volley(s)) return;
    for (int k = 0; k < 10; k++) {
        SL2(RearGunX(s), UpperRearY(s), 170 + k * s.time, 90, 0);
        SL2(RearGunX(s), LowerRearY(s), 190 - k * s.time, 90, 0);
    }
    DS_Play(Wave[6]);
    s.time += 1;
    s.timer = 0.2f;
    if (s.time >= 34) {
        s.speed = 0;
        s.step = 0;
        s.mode = 16;
    }
}

}  // namespace

void LastBossScript(SpriteData& s) {
    switch (s.mode) {
    case 0: DriftIn(s); break;
    case 1: Darts(s); break;
    case 2: CentreFans(s); break;
    case 3: DartRings(s); break;
    case 4: DropDrones(s); break;
    case 5: FlyOff(s); break;
    case 6: ComeBack(s); break;
    case 7: Breakthrough(s); break;
    case 8: RandomFans(s); break;
    case 9: TurningStreams(s); break;
    case 10: RunLeft(s); break;
    case 11: RunRight(s); break;
    case 12: SweepDown(s); break;
    case 13: SweepUp(s); break;
    case 14: Settle(s); break;
    case 15: OpeningFans(s); break;
    default:
        if (s.mode >= 16 && s.mode <= 22) LastBossLatePhase(s);
        else s.speed = 0;  // dying, or out of the script: it only stands
        break;
    }
}
