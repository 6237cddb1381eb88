// Spawners of the mid-size enemies, the boss drones, the last boss and the
// clouds.
#include "enemy/spawners.h"
#include "enemy/spawn_common.h"
#include "entity/entity.h"
#include "game/game.h"
#include "core/core.h"

// The mid-size enemies that count themselves in when they get a slot.
static SpriteData* MidSlot(SpriteData (&pool)[CHUUGATA_MAX]) {
    SpriteData* s = SpriteClaim(pool);
    if (s) MidEnemyCount++;
    return s;
}

void Chuugata(float x, float y, int angle, float speed) {
    SpawnLogAdd("Chuugata", x, y, angle, speed, 0, false);
    SpriteData* s = MidSlot(chuugata);
    if (!s) return;
    s->mode = 0;
    s->num = 100000;
    s->time = 0.0f;
    s->hp = 350.0f;
    s->timer = 250.0f;
    SpawnLooks(*s, 256, 123, 1, 50);
    SpawnPlace(*s, x, y, angle, speed);
}

void Chuugata2(float x, float y, int angle, float speed) {
    SpawnLogAdd("Chuugata2", x, y, angle, speed, 0, false);
    SpriteData* s = MidSlot(chuugata2);
    if (!s) return;
    s->mode = 0;
    s->num = 100000;
    s->hp = 100.0f;
    s->timer = 130.0f;
    SpawnLooks(*s, 200, 100, 1, 51);
    SpawnPlace(*s, x, y, angle, speed);
}

// The big cruiser lives in chuugata8.
void Chuugata3(float x, float y, int angle, float speed) {
    SpawnLogAdd("Chuugata3", x, y, angle, speed, 0, false);
    SpriteData* s = MidSlot(chuugata8);
    if (!s) return;
    s->mode = 0;
    s->hp = 5000.0f;
    s->timer = 250.0f;
    SpawnLooks(*s, 500, 250, 1, 52);
    SpawnPlace(*s, x, y, angle, speed);
}

void Chuugata4(float x, float y, int angle, float speed, int value) {
    SpawnLogAdd("Chuugata4", x, y, angle, speed, value, true);
    SpriteData* s = MidSlot(chuugata4);
    if (!s) return;
    s->mode = 0;
    s->opt2 = value;
    s->num = 100000;
    s->hp = 500.0f;
    s->timer = 250.0f;
    SpawnLooks(*s, 300, 80, 6, 53);
    SpawnPlace(*s, x, y, angle, speed);
}

void Chuugata5(float x, float y, int angle, float speed) {
    SpawnLogAdd("Chuugata5", x, y, angle, speed, 0, false);
    SpriteData* s = MidSlot(chuugata5);
    if (!s) return;
    s->mode = 0;
    s->num = 100000;
    s->iw[0] = 0;
    s->loop = 0;
    s->hp = 800.0f;
    s->timer = 0.0f;
    SpawnLooks(*s, 200, 200, 25, 54);
    SpawnPlace(*s, x, y, angle, speed);
}

// Chuugata6 and Chuugata7 count themselves in before they look for a slot,
// so the scripts never ask for one while all twenty are in use.
void Chuugata6(float x, float y, int angle, float speed, int value) {
    SpawnLogAdd("Chuugata6", x, y, angle, speed, value, true);
    MidEnemyCount++;
    SpriteData* s = SpriteClaim(chuugata6);
    if (!s) return;
    s->mode = 0;
    s->opt2 = value;
    s->num = 100000;
    s->gw[0] = 0.0f;
    s->iw[0] = 0;
    s->loop = 0;
    s->hp = 5000.0f;
    s->timer = 1000.0f;
    SpawnLooks(*s, 540, 240, 25, 55);
    SpawnPlace(*s, x, y, angle, speed);
}

void Chuugata7(float x, float y, int angle, float speed, int value) {
    SpawnLogAdd("Chuugata7", x, y, angle, speed, value, true);
    MidEnemyCount++;
    SpriteData* s = SpriteClaim(chuugata7);
    if (!s) return;
    s->mode = 0;
    s->opt2 = value;
    s->num = 100000;
    s->iw[8] = 0;
    s->loop = 0;
    s->hp = 4000.0f;
    s->timer = 50.0f;
    SpawnLooks(*s, 540, 240, 25, 56);
    SpawnPlace(*s, x, y, angle, speed);
}

void Chuugata9(float x, float y, int angle, float speed) {
    SpawnLogAdd("Chuugata9", x, y, angle, speed, 0, false);
    SpriteData* s = MidSlot(chuugata9);
    if (!s) return;
    s->mode = 0;
    s->num = 100000;
    s->hp = 500.0f;
    s->timer = 100.0f;
    SpawnLooks(*s, 160, 160, 17, 57);
    SpawnPlace(*s, x, y, angle, speed);
}

void Bit(float x, float y, int angle, float speed, int mode) {
    SpawnLogAdd("Bit", x, y, angle, speed, mode, true);
    SpriteData* s = SpriteClaim(bit);
    if (!s) return;
    s->mode = mode;
    s->opt2 = 0;  // both counters start at 0: opt2 and cnt
    s->cnt = 0;
    s->time = 0.0f;
    s->fw[1] = 0.0f;
    s->num = 0;
    s->iw[0] = 0;
    if (mode == 4) s->gw[0] = 10.0f;
    s->hp = 1000.0f;
    s->timer = 10.0f;
    SpawnLooks(*s, 100, 100, 9, 44);
    SpawnPlace(*s, x, y, angle, speed);
}

// The last boss keeps the mode its slot had.
void Lastboss(float x, float y, int angle, float speed) {
    SpawnLogAdd("Lastboss", x, y, angle, speed, 0, false);
    SpriteData* s = SpriteClaim(LBOSS);
    if (!s) return;
    s->hp = 40000.0f;
    s->timer = (float)my_rand(0, 10);
    SpawnLooks(*s, 400, 168, 1, 76);
    SpawnPlace(*s, x, y, angle, speed);
}

void Kumo(float x, float y, int angle, float speed) {
    SpawnLogAdd("Kumo", x, y, angle, speed, 0, false);
    SpriteData* s = SpriteClaim(kumo);
    if (!s) return;
    s->mode = 0;
    SpawnLooks(*s, 200, 200, 1, 62);
    SpawnPlace(*s, x, y, angle, speed);
}
