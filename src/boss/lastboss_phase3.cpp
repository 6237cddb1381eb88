// The last boss's script, later phases (mode 16 .. 22): rear-gun sprays
// and ring bullets down to 20000, then laser sheets, big bullets and
// braking streams while it bounces about the right half of the screen,
// and below 10000 two patterns at once, drawn anew every fifty volleys.
#include "boss/boss.h"
#include "boss/lastboss.h"

#include "enemy/bullets.h"
#include "entity/heading.h"
#include "game/game.h"
#include "core/core.h"
#include "sound/sound.h"

namespace {

const float kBounceSpeed = 10.0f;

bool Volley(const SpriteData& s) { return s.timer < 0; }

// A pattern with turning bullets is over: the boss stops, the turn is
// reset and `mode` follows after `pause`.
void EndTurningPattern(SpriteData& s, float pause, int mode) {
    s.speed = 0;
    s.time = 0;
    s.timer = pause;
    BulletTurnAngle = 0;
    s.mode = mode;
}

// Below 20000 the rear-gun phase gives way to the lasers.
bool ToLaserPhase(SpriteData& s) {
    if (s.hp >= 20000) return false;
    s.mode = 19;
    return true;
}

// Below 10000 the last phase begins with two patterns drawn at random.
bool ToLastPhase(SpriteData& s) {
    if (s.hp >= 10000) return false;
    s.iw[6] = my_rand(0, 4);
    s.iw[7] = my_rand(0, 4);
    s.timer = 50;
    s.mode = 22;
    return true;
}

// Mode 16: scattered rear-gun darts (HARD: a ring every tenth volley).
void Scatter(SpriteData& s) {
    if (ToLaserPhase(s) || !Volley(s)) return;
    const int level = BossLevel();
    const int pairs = level == EASY ? 3 : 10;
    for (int k = 0; k < pairs; k++) {
        int a = my_rand(150, 400);
        SL2(RearGunX(s), UpperRearY(s), (float)a, 15, 0);
        a = my_rand(-40, 210);
        SL2(RearGunX(s), LowerRearY(s), (float)a, 15, 0);
    }
    if (level == HARD) {
        if (s.step % 10 == 5) {
            DS_Play(Wave[2]);
            for (int j = 0; j < 20; j++) {
                int v = my_rand(10, 30);
                kou(CentreGunX(s), CentreGunY(s), 2 * j + s.time, v, 91, 0);
            }
        }
        s.step += 1;
    }
    DS_Play(Wave[6]);
    s.time += 1;
    s.timer = my_rand(0, 11) * FrameStep;
    if (s.time > 200) {
        s.timer = 10;
        s.time = 0;
        s.iw[0] = LastBossAim(TopGunX(s), s.y + 43);
        s.iw[1] = 5;
        s.mode = 17;
    }
}

// Mode 17: aimed fans of bursting rings, opening and closing.
void RingFans(SpriteData& s) {
    if (ToLaserPhase(s) || !Volley(s)) return;
    const bool hard = BossLevel() == HARD;
    s.iw[0] = LastBossAim(TopGunX(s), s.y + 41) + my_rand(-1, 1);
    for (int k = -4; k <= 4; k++) {
        kou(TopGunX(s), s.y + 39, (float)(s.iw[0] + k * s.iw[1]), 45, 98, 9);
        if (hard) kou(TopGunX(s), s.y + 39, (float)s.iw[0], (float)(3 * k + 60), 98, 9);
    }
    DS_Play(Wave[2]);
    s.iw[1] += 2;
    if (s.iw[1] >= 31) s.iw[1] = 5;
    s.timer = 0.5f;
    s.time += 1;
    if (s.time > 200) {
        s.time = 0;
        s.mode = 18;
    }
}

// Mode 18: aimed braking bullets, later with a wheel of darts; then the
// run to the left again.
void AimedBrakers(SpriteData& s) {
    if (ToLaserPhase(s)) return;
    BulletTurnAngle = LastBossTurnChoice(6);
    if (!Volley(s)) return;
    s.iw[0] = LastBossAim(TopGunX(s), s.y + 43) + my_rand(-1, 1);
    for (int i = 0; i < 5; i++) {
        int v = my_rand(0, 50);
        kou(TopGunX(s), s.y + 39, (float)s.iw[0], (float)v, 91, 8);
        v = my_rand(0, 50);
        kou(TopGunX(s), s.y + 39, (float)s.iw[0], (float)v, 92, 8);
    }
    DS_Play(Wave[2]);
    s.time += 1;
    s.timer = 1;
    if (s.time >= 51) {
        for (int k = 0; k < 20; k++) SL2(CentreGunX(s), CentreGunY(s), (float)(s.iw[0] + 18 * k), 30, 0);
        DS_Play(Wave[6]);
    }
    if (s.time > 100) {
        s.time = 0;
        s.mode = 10;
    }
}

// Mode 19: laser sheets from both rear guns.
void LaserSheets(SpriteData& s) {
    if (ToLastPhase(s)) return;
    BulletTurnAngle += 1;
    if (!Volley(s)) return;
    const int level = BossLevel();
    if (level == EASY) {
        for (int k = -9; k <= 9; k++) {
            SL2(RearGunX(s), UpperRearY(s), (float)(170 + 20 * k), 80, 0);
            SL2(RearGunX(s), LowerRearY(s), (float)(190 - 20 * k), 80, 0);
        }
    } else {
        for (int k = -9; k <= 39; k++) {
            SL2(RearGunX(s), UpperRearY(s), (float)(170 + 5 * k), 90, 0);
            SL2(RearGunX(s), LowerRearY(s), (float)(190 - 5 * k), 90, 0);
            if (level != HARD) continue;
            SL2(RearGunX(s), UpperRearY(s), (float)(190 - 5 * k), 20, 0);
            int a = my_rand(0, 360);
            SL2(RearGunX(s), LowerRearY(s), (float)a, 20, 1);
        }
    }
    s.time += 1;
    s.timer = 0.3f;
    DS_Play(Wave[6]);
    if (s.time > 50) {
        s.iw[0] = 0;
        s.time = 0;
        s.timer = 5;
        s.mode = 20;
    }
}

// Mode 20: big bursting bullets turning round both rear guns.
void BigBullets(SpriteData& s) {
    if (ToLastPhase(s)) return;
    s.speed = kBounceSpeed;
    LastBossBounce(s);
    if (!Volley(s)) return;
    const float x = RearGunX(s), up = UpperRearY(s), low = LowerRearY(s);
    const int a = s.iw[0];
    if (BossLevel() == EASY) {
        kou2(x, up, (float)a, 40, 95, 1);
        kou2(x, up, (float)(a + 180), 40, 95, 1);
        kou2(x, low, (float)(135 - a), 40, 95, 1);
        kou2(x, low, (float)(315 - a), 40, 95, 1);
    } else {
        for (int q = 0; q < 4; q++) kou2(x, up, (float)(a + 90 * q), 40, 95, 1);
        for (int q = 0; q < 4; q++) kou2(x, low, (float)(45 + 90 * q - a), 40, 95, 1);
    }
    s.iw[0] += 22;
    s.time += 1;
    s.timer = 1.2f;
    DS_Play(Wave[16]);
    if (s.time > 50) {
        EndTurningPattern(s, 10, 21);
    }
}

// Mode 21: braking streams from the top gun that leave on the turning
// heading.
void TurningStreams(SpriteData& s) {
    if (ToLastPhase(s)) return;
    s.speed = kBounceSpeed;
    LastBossBounce(s);
    BulletTurnAngle += 1;
    if (!Volley(s)) return;
    const int level = BossLevel();
    const float x = TopGunX(s), y = s.y + 39;
    if (level == EASY) {
        for (int k = 1; k <= 9; k++) kou(x, y, 180, (float)(12 * k), 91, 8);
    } else {
        for (int k = 1; k <= 19; k++) kou(x, y, 180, (float)(8 * k), 91, 8);
        if (level == HARD)
            for (int k = 1; k <= 19; k++) kou(x, y, s.time * 9, (float)(8 * k), 92, 0);
    }
    s.time += 1;
    s.timer = 0.5f;
    DS_Play(Wave[2]);
    if (s.time > 220) {
        EndTurningPattern(s, 40, 19);
    }
}

// ---- Mode 22: two patterns at once ---------------------------------------

// Braking streams from the centre gun at two opposite headings.
void Streams(const SpriteData& s, float a) {
    const int level = BossLevel();
    const int n = level == EASY ? 4 : level == HARD ? 19 : 9;
    const float step = level == EASY ? 10.0f : 6.0f;
    for (int k = 1; k <= n; k++) {
        kou(CentreGunX(s), CentreGunY(s), a, step * k, 92, 8);
        kou(CentreGunX(s), CentreGunY(s), a + 180, step * k, 92, 8);
    }
}

// A laser fan from one rear gun: from `from` by `dir` degrees a dart.
void RearLaserFan(const SpriteData& s, float y, int from, int dir) {
    const int level = BossLevel();
    const int n = level == EASY ? 10 : 20;
    const int step = level == EASY ? 20 : 10;
    for (int k = 0; k < n; k++) SL2(RearGunX(s), y, (float)(from + dir * step * k), 20, 0);
    if (level == HARD)
        for (int k = 0; k < n; k++) SL2(RearGunX(s), y, (float)(from + dir * step * k), 60, 0);
    DS_Play(Wave[6]);
}

// Bullets from the centre gun at the given headings, `sets` times at
// speeds 8, 16, ...
void Spokes(const SpriteData& s, const float* angles, int count, int sets) {
    for (int k = 1; k <= sets; k++)
        for (int i = 0; i < count; i++) kou(CentreGunX(s), CentreGunY(s), angles[i], (float)(8 * k), 91, 0);
}

void FirstPattern(SpriteData& s) {
    const float t = s.time;
    switch (s.iw[6]) {
    case 0:
        Streams(s, 90);
        s.iw[0] = LastBossAim(CentreGunX(s), CentreGunY(s));
        s.iw[1] = my_rand(-20, 20);
        s.iw[2] = my_rand(5, 30);
        break;
    case 1:
        Streams(s, 0);
        kou2(RearGunX(s), UpperRearY(s), 180, 50, 95, 1);
        kou2(RearGunX(s), LowerRearY(s), 180, 50, 95, 1);
        break;
    case 2:
        Streams(s, t * 20);
        kou(CentreGunX(s), CentreGunY(s), (float)LastBossAim(CentreGunX(s), CentreGunY(s)), 50, 91, 0);
        break;
    case 3: Streams(s, -t * 20); break;
    default: RearLaserFan(s, UpperRearY(s), 165, 1); break;
    }
}

void SecondPattern(SpriteData& s) {
    const float t = s.time;
    const bool easy = BossLevel() == EASY;
    switch (s.iw[7]) {
    case 0:
        if (easy) {
            const float a[2] = {t * 10, 180 - t * 10};
            Spokes(s, a, 2, 2);
        } else {
            const float a[4] = {t * 10, -t * 10, t * 10 + 180, -t * 10 + 180};
            Spokes(s, a, 4, 5);
        }
        break;
    case 1:
        if (easy) {
            const float a[2] = {5 * t + 90, 5 * t + 270};
            Spokes(s, a, 2, 2);
        } else {
            const float a[4] = {5 * t, 5 * t + 90, 5 * t + 180, 5 * t + 270};
            Spokes(s, a, 4, 5);
        }
        break;
    case 2:
        if (easy) {
            const float a[4] = {90, 150, 210, 270};
            Spokes(s, a, 4, 2);
        } else {
            const float a[7] = {90, 120, 150, 180, 210, 240, 270};
            Spokes(s, a, 7, 5);
        }
        break;
    case 3: {
        RearLaserFan(s, UpperRearY(s), 165, 1);
        const float a[4] = {-5 * t, -5 * t + 90, -5 * t + 180, -5 * t + 270};
        Spokes(s, a, 4, 5);
        break;
    }
    default: RearLaserFan(s, LowerRearY(s), 195, -1); break;
    }
}

void TwoPatterns(SpriteData& s) {
    s.speed = kBounceSpeed;
    LastBossBounce(s);
    if (BossBar < 0 || !Volley(s)) return;
    FirstPattern(s);
    SecondPattern(s);
    s.time += 1;
    s.timer = 0.5f;
    if (s.time >= 50) {
        BulletTurnAngle = my_rand(0, 360);
        s.iw[6] = my_rand(0, 4);
        s.iw[7] = my_rand(0, 4);
        s.time = 0;
        s.timer = 5;
        DS_Play(Wave[2]);
    }
}

}  // namespace

void LastBossLatePhase(SpriteData& s) {
    switch (s.mode) {
    case 16: Scatter(s); break;
    case 17: RingFans(s); break;
    case 18: AimedBrakers(s); break;
    case 19: LaserSheets(s); break;
    case 20: BigBullets(s); break;
    case 21: TurningStreams(s); break;
    default: TwoPatterns(s); break;
    }
}
