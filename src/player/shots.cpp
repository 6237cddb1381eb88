// The five player shot spawners. Each takes the lowest free slot of its
// pool and drops the shot when the pool is full.
#include "player/weapons.h"
#include "enemy/effects.h"
#include "entity/entity.h"
#include "game/game.h"
#include "player/player.h"
#include "core/core.h"

// Sprite sheets of the shots.
enum { BMP_FAN = 2, BMP_SPREAD = 3, BMP_MISSILE = 8, BMP_BLAST = 9, BMP_BOMB_MISSILE = 17 };

static void ShotStart(SpriteData& s, float x, float y, int w, int h, float speed, int frames, int bmp) {
    s.x = x;
    s.y = y;
    s.w = w;
    s.h = h;
    s.speed = speed;
    s.frames = frames;
    s.bmp = bmp;
    s.anim = 0.0f;
}

void shot1(float x, float y, int, float) {
    SpriteData* s = SpriteClaim(P_Shot);
    if (!s) return;
    int L = BombStock;
    ShotStart(*s, x, y, 32, 32, 150.0f, 2, BMP_SPREAD);
    SpriteSetAngle(*s, (float)my_rand(-2 * L - 20, 2 * L + 20));
    s->hp = SpreadTime;  // how long it keeps its heading
    s->frame = 0;
    ShotCool = 0.0f;
}

void shot2(float, float, int angle, float) {
    SpriteData* s = SpriteClaim(P_Shot2);
    if (!s) return;
    ShotStart(*s, P_Ship.x + 32, P_Ship.y + P_Ship.h / 2 - 10, 16, 32, 150.0f, 2, BMP_FAN);
    SpriteSetAngle(*s, (float)angle);
    s->hp = 0.05f;
    s->frame = 0;
    ShotCool = 0.0f;
}

void shot3(float x, float y, int, float) {
    SpriteData* s = SpriteClaim(P_Shot3);
    if (!s) return;
    int L = BombStock;
    ShotStart(*s, x, y, 16, 16, 20.0f, 4, BMP_MISSILE);
    SpriteSetAngle(*s, (float)my_rand(-2 * L - 5, 2 * L + 5));
    s->hp = SpreadTime;
    s->frame = 0;
    ShotCool = -0.05f;
}

// A blast's life adds to what its slot had left: a slot released with
// life below 0 starts from 0.
static void BlastLife(SpriteData& s) {
    if (s.hp < 0.0f) s.hp = 0.0f;
    s.hp += BombStock / 2 + 1;
}

void shot4(float x, float y, int boosted) {
    SpriteData* s = SpriteClaim(P_Shot4);
    if (!s) return;
    // The frame goes on from the slot's last blast.
    ShotStart(*s, x, y, 100, 100, 25.0f, 2, BMP_BLAST);
    SpriteSetAngle(*s, (float)my_rand(-90, 90));
    BlastLife(*s);
    s->opt2 = boosted;
    ChargeStep(1, 100);
    pom(x + 50, y + 50);
}

void shot5(float x, float y, int angle, int speed, int boosted) {
    SpriteData* s = SpriteClaim(P_Shot5);
    if (!s) return;
    ShotStart(*s, x, y, 100, 100, (float)speed, 10, BMP_BOMB_MISSILE);
    SpriteSetAngle(*s, (float)angle);
    if (BombIconAnim) {
        s->hp = 20.0f;
    } else {
        BlastLife(*s);
    }
    s->frame = 0;
    s->opt2 = boosted;
    ChargeStep(1, 100);
}
