// Spawners of the small and large enemies, and the spawn log.
#include "enemy/spawners.h"
#include "enemy/bullets.h"
#include "entity/entity.h"
#include "entity/heading.h"
#include "game/game.h"
#include "core/core.h"
#include "sound/sound.h"
#include "enemy/spawn_common.h"

bool SpawnLogOn;
int SpawnLogCount;
int SpawnLogLost;
SpawnLogEntry SpawnLog[SPAWN_LOG_MAX];

void SpawnLogClear() {
    SpawnLogCount = 0;
    SpawnLogLost = 0;
}

void SpawnLogAdd(const char* name, float x, float y, int angle, float speed, int extra, bool hasExtra) {
    if (!SpawnLogOn) return;
    if (SpawnLogCount == SPAWN_LOG_MAX) {
        SpawnLogLost++;
        return;
    }
    SpawnLog[SpawnLogCount++] = SpawnLogEntry{name, x, y, angle, speed, extra, hasExtra};
}

void SpawnPlace(SpriteData& s, float x, float y, int angle, float speed) {
    s.x = x;
    s.y = y;
    SpriteHeading(s, (float)angle);
    s.speed = speed;
}

void SpawnLooks(SpriteData& s, int w, int h, int frames, int bmp) {
    s.w = w;
    s.h = h;
    s.frame = 0;
    s.frames = frames;
    s.anim = 0.0f;
    s.bmp = bmp;
}

void zako1(float x, float y, int angle, float speed, int variant) {
    SpawnLogAdd("zako1", x, y, angle, speed, variant, true);
    SpriteData* s = SpriteClaim(Enemy);
    if (!s) return;
    s->mode = 0;
    s->opt = variant;
    // Fewer of them fire in later stages: only when opt2 >= StageNo.
    int power = my_rand(1, 5);
    int chance = my_rand(0, StageNo);
    s->opt2 = power * chance;
    s->opt3 = 0;
    s->timer = 250.0f;
    s->hp = 2.0f;
    SpawnLooks(*s, 64, 64, 20, 20);
    SpawnPlace(*s, x, y, angle, speed);
}

void zako2(float x, float y, int angle, float speed) {
    SpawnLogAdd("zako2", x, y, angle, speed, 0, false);
    SpriteData* s = SpriteClaim(Enemy2);
    if (!s) return;
    s->mode = 0;
    s->hp = 3.0f;
    s->timer = (float)my_rand(0, 440);
    SpawnLooks(*s, 64, 64, 20, 21);
    SpawnPlace(*s, x, y, angle, speed);
}

void zako3(float x, float y, int angle, float speed) {
    SpawnLogAdd("zako3", x, y, angle, speed, 0, false);
    SpriteData* s = SpriteClaim(Enemy3);
    if (!s) return;
    s->mode = 0;
    s->hp = 5.0f;
    s->timer = 250.0f;
    SpawnLooks(*s, 64, 64, 1, 22);
    SpawnPlace(*s, x, y, angle, speed);
}

void zako4(float x, float y, int angle, float speed) {
    SpawnLogAdd("zako4", x, y, angle, speed, 0, false);
    SpriteData* s = SpriteClaim(Enemy4);
    if (!s) return;
    s->mode = 0;
    s->hp = 30.0f;
    s->timer = 200.0f;
    SpawnLooks(*s, 128, 128, 17, 23);
    s->anim = 5.0f;
    SpawnPlace(*s, x, y, angle, speed);
}

void zako5(float x, float y, int angle, float speed) {
    SpawnLogAdd("zako5", x, y, angle, speed, 0, false);
    SpriteData* s = SpriteClaim(Enemy5);
    if (!s) return;
    s->mode = 0;
    s->hp = 30.0f;
    s->timer = 200.0f;
    SpawnLooks(*s, 128, 128, 23, 24);
    SpawnPlace(*s, x, y, angle, speed);
}

void zako6(float x, float y, int angle, float speed) {
    SpawnLogAdd("zako6", x, y, angle, speed, 0, false);
    SpriteData* s = SpriteClaim(Enemy6);
    if (!s) return;
    s->mode = 1;
    s->hp = 100.0f;
    s->timer = (float)my_rand(200, 1000);
    SpawnLooks(*s, 100, 100, 13, 25);
    SpawnPlace(*s, x, y, angle, speed);
}

void zako7(float x, float y, int angle, float speed) {
    SpawnLogAdd("zako7", x, y, angle, speed, 0, false);
    SpriteData* s = SpriteClaim(Enemy7);
    if (!s) return;
    s->mode = 0;
    s->step = 0;
    s->fw[0] = 10.0f;
    s->hp = 50.0f;
    s->timer = (float)my_rand(10, 200);
    SpawnLooks(*s, 150, 150, 10, 26);
    SpawnPlace(*s, x, y, angle, speed);
}

void zako8(float x, float y, int angle, float speed, int mode) {
    SpawnLogAdd("zako8", x, y, angle, speed, mode, true);
    SpriteData* s = SpriteClaim(Enemy8);
    if (!s) return;
    s->mode = mode;
    s->time = 5.0f;
    s->timer = 20.0f;
    SpawnLooks(*s, 64, 64, 9, 27);
    SpawnPlace(*s, x, y, angle, speed);
}

void zako9(float x, float y, int angle, float speed) {
    SpawnLogAdd("zako9", x, y, angle, speed, 0, false);
    SpriteData* s = SpriteClaim(Enemy9);
    if (!s) return;
    DS_Play(Wave[9]);
    s->mode = 0;
    s->timer = 10.0f;
    SpawnLooks(*s, 64, 64, 20, 28);
    s->x = x;
    s->y = y;
    // Straight at the ship's centre as it is now; the heading is kept in
    // radians in both angle and rad.
    float rad = my_atan(x + 32, y + 32, P_Ship.x + P_Ship.w / 2, P_Ship.y + P_Ship.h / 2);
    s->angle = rad;
    SpriteHeadingRad(*s, rad);
    s->speed = speed;
}

void zako10(float x, float y, int angle, float speed) {
    SpawnLogAdd("zako10", x, y, angle, speed, 0, false);
    SpriteData* s = SpriteClaim(Enemy10);
    if (!s) return;
    s->mode = 0;
    s->hp = 15.0f;
    s->timer = 10.0f;
    SpawnLooks(*s, 64, 64, 20, 29);
    SpawnPlace(*s, x, y, angle, speed);
}

void zako11(float x, float y, int angle, float speed, int mode) {
    SpawnLogAdd("zako11", x, y, angle, speed, mode, true);
    SpriteData* s = SpriteClaim(Enemy11);
    if (!s) return;
    s->mode = mode;
    s->hp = 1.0f;
    s->timer = 1.0f;
    SpawnLooks(*s, 64, 64, 10, 31);
    SpawnPlace(*s, x, y, angle, speed);
}

// The ring enemy keeps the mode its slot had.
void haro(float x, float y, int angle, float speed) {
    SpawnLogAdd("haro", x, y, angle, speed, 0, false);
    SpriteData* s = SpriteClaim(HARO);
    if (!s) return;
    s->hp = 20.0f;
    s->timer = (float)my_rand(0, 10);
    SpawnLooks(*s, 64, 64, 12, 30);
    SpawnPlace(*s, x, y, angle, speed);
}

void oozako1(float x, float y, int angle, float speed) {
    SpawnLogAdd("oozako1", x, y, angle, speed, 0, false);
    SpriteData* s = SpriteClaim(BEnemy);
    if (!s) return;
    s->mode = 0;
    s->hp = 20.0f;
    s->timer = 250.0f;
    SpawnLooks(*s, 128, 128, 18, 40);
    SpawnPlace(*s, x, y, angle, speed);
}

void eisei(float x, float y, int angle, float speed, int value) {
    SpawnLogAdd("eisei", x, y, angle, speed, value, true);
    SpriteData* s = SpriteClaim(BEnemy2);
    if (!s) return;
    MidEnemyCount++;
    s->mode = 0;
    s->opt2 = value;
    s->time = 0.0f;
    s->fw[1] = 0.0f;
    s->num = 0;
    s->hp = 2000.0f;
    s->timer = 250.0f;
    SpawnLooks(*s, 400, 400, 16, 41);
    SpawnPlace(*s, x, y, angle, speed);
}

void robo(float x, float y, int angle, float speed) {
    SpawnLogAdd("robo", x, y, angle, speed, 0, false);
    SpriteData* s = SpriteClaim(BEnemy3);
    if (!s) return;
    s->mode = 0;
    s->hp = 100.0f;
    s->timer = 150.0f;
    SpawnLooks(*s, 200, 200, 25, 42);
    SpawnPlace(*s, x, y, angle, speed);
}

void robo2(float x, float y, int angle, float speed) {
    SpawnLogAdd("robo2", x, y, angle, speed, 0, false);
    SpriteData* s = SpriteClaim(BEnemy4);
    if (!s) return;
    s->mode = 0;
    s->opt = 0;
    s->opt2 = 0;
    s->time = 20.0f;
    s->hp = 1000.0f;
    s->timer = 10.0f;
    SpawnLooks(*s, 256, 150, 1, 43);
    SpawnPlace(*s, x, y, angle, speed);
}
