// Storage of every pool, and claiming and clearing slots.
#include "entity/entity.h"

#include <cstring>

SpriteData P_Ship;
SpriteData SHOTFLG;

SpriteData P_Shot[P_SHOT_MAX];
SpriteData P_Shot2[P_SHOT_MAX];
SpriteData P_Shot3[P_SHOT_MAX];
SpriteData P_Shot4[P_SHOT_MAX];
SpriteData P_Shot5[P_SHOT_MAX];
SpriteData jewel[JEWEL_MAX];
SpriteData pitem[PITEM_MAX];
SpriteData Shield[SHIELD_MAX];
SpriteData cry[CRY_MAX];

SpriteData Enemy[ENEMY_MAX];
SpriteData Enemy2[ENEMY_MAX];
SpriteData Enemy3[ENEMY_MAX];
SpriteData Enemy4[ENEMY_MAX];
SpriteData Enemy5[ENEMY_MAX];
SpriteData Enemy6[ENEMY_MAX];
SpriteData Enemy7[ENEMY_MAX];
SpriteData Enemy8[ENEMY_MAX];
SpriteData Enemy9[ENEMY_MAX];
SpriteData Enemy10[ENEMY_MAX];
SpriteData Enemy11[ENEMY_MAX];
SpriteData HARO[ENEMY_MAX];
SpriteData BEnemy[BENEMY_MAX];
SpriteData BEnemy2[BENEMY_MAX];
SpriteData BEnemy3[BENEMY_MAX];
SpriteData BEnemy4[BENEMY_MAX];

SpriteData chuugata[CHUUGATA_MAX];
SpriteData chuugata2[CHUUGATA_MAX];
SpriteData chuugata3[CHUUGATA_MAX];
SpriteData chuugata4[CHUUGATA_MAX];
SpriteData chuugata5[CHUUGATA_MAX];
SpriteData chuugata6[CHUUGATA_MAX];
SpriteData chuugata7[CHUUGATA_MAX];
SpriteData chuugata8[CHUUGATA_MAX];
SpriteData chuugata9[CHUUGATA_MAX];

SpriteData bit[BIT_MAX];
SpriteData BOSS1[BOSS_MAX];
SpriteData BOSS2[BOSS_MAX];
SpriteData BOSS3[BOSS_MAX];
SpriteData BOSS4[BOSS_MAX];
SpriteData BOSS5[BOSS_MAX];
SpriteData LBOSS[BOSS_MAX];

SpriteData tama[TAMA_MAX];
SpriteData Baka[BAKA_MAX];
SpriteData sLaser[SLASER_MAX];
SpriteData sLaser2[SLASER_MAX];
SpriteData BLaser[BLASER_MAX];
SpriteData flash[FLASH_MAX];
SpriteData line[LINES_MAX];

SpriteData Bom[BOM_MAX];
SpriteData Bom2[BOM_MAX];
SpriteData Bom3[BOM_MAX];
SpriteData Pom[POM_MAX];
SpriteData gomi[GOMI_MAX];
SpriteData hosi[HOSI_MAX];
SpriteData kumo[KUMO_MAX];

FONT JEWELFONT[JEWELFONT_MAX];

int PoolEnd[POOL_COUNT];
int SpriteFontEnd;

int SpritePoolOf(const SpriteData* pool) {
    // Claims come in runs from one pool: remember the last one found.
    static int last;
    if (Pools[last].pool == pool) return last;
    for (int p = 0; p < POOL_COUNT; p++) {
        if (Pools[p].pool == pool) {
            last = p;
            return p;
        }
    }
    return -1;
}

void SpriteNoteLive(const SpriteData* pool, int i) {
    const int id = SpritePoolOf(pool);
    if (id >= 0 && PoolEnd[id] <= i) PoolEnd[id] = i + 1;
}

void SpriteNoteLive(const SpriteData& s) {
    for (int p = 0; p < POOL_COUNT; p++) {
        const SpriteData* pool = Pools[p].pool;
        if (&s >= pool && &s < pool + Pools[p].count) {
            const int i = (int)(&s - pool);
            if (PoolEnd[p] <= i) PoolEnd[p] = i + 1;
            return;
        }
    }
}

int SpriteTrim(int id) {
    const SpriteData* pool = Pools[id].pool;
    int end = PoolEnd[id];
    while (end > 0 && !pool[end - 1].flag) end--;
    PoolEnd[id] = end;
    return end;
}

void SpriteMarksFromFlags() {
    for (int p = 0; p < POOL_COUNT; p++) {
        PoolEnd[p] = Pools[p].count;
        SpriteTrim(p);
    }
    SpriteFontEnd = JEWELFONT_MAX;
    while (SpriteFontEnd > 0 && !JEWELFONT[SpriteFontEnd - 1].flag) SpriteFontEnd--;
}

SpriteData* SpriteClaimSlot(SpriteData* pool, int count) {
    for (int i = 0; i < count; i++) {
        if (!pool[i].flag) {
            pool[i].flag = true;
            SpriteNoteLive(pool, i);
            return &pool[i];
        }
    }
    return nullptr;
}

// No JEWELFONT slot below this one is free.
int SpriteFontLow;  // saved with the game state

FONT* FontClaimSlot(FONT* pool, int count) {
    const bool jewel = pool == JEWELFONT;
    for (int i = jewel ? SpriteFontLow : 0; i < count; i++) {
        if (!pool[i].flag) {
            pool[i].flag = true;
            if (jewel) {
                SpriteFontLow = i + 1;
                if (SpriteFontEnd <= i) SpriteFontEnd = i + 1;
            }
            return &pool[i];
        }
    }
    if (jewel) SpriteFontLow = count;
    return nullptr;
}

void FontRelease(FONT& f) {
    f.flag = false;
    if (&f >= JEWELFONT && &f < JEWELFONT + JEWELFONT_MAX && (int)(&f - JEWELFONT) < SpriteFontLow)
        SpriteFontLow = (int)(&f - JEWELFONT);
}

#define POOL(p) {#p, p, (int)(sizeof p / sizeof p[0])},
const PoolInfo Pools[] = {SPRITE_POOLS(POOL)};
#undef POOL
const int PoolCount = (int)(sizeof Pools / sizeof Pools[0]);
static_assert(sizeof Pools / sizeof Pools[0] == POOL_COUNT, "one PoolInfo per pool id");

// Every slot back to the all-zero record of start-up, not just freed: a
// new game then starts from the same pools whatever the last one left in
// its freed slots, so its first frame is described by its live objects.
void SpriteWipeAll() {
    for (int p = 0; p < PoolCount; p++) std::memset(static_cast<void*>(Pools[p].pool), 0, sizeof(SpriteData) * Pools[p].count);
    std::memset(static_cast<void*>(JEWELFONT), 0, sizeof JEWELFONT);
    SpriteFontLow = 0;
    std::memset(PoolEnd, 0, sizeof PoolEnd);
    SpriteFontEnd = 0;
}

void SpriteClearAll() {
    for (int p = 0; p < PoolCount; p++)
        for (int i = 0; i < Pools[p].count; i++) Pools[p].pool[i].flag = false;
    for (int i = 0; i < JEWELFONT_MAX; i++) JEWELFONT[i].flag = false;
    SpriteFontLow = 0;
    std::memset(PoolEnd, 0, sizeof PoolEnd);
    SpriteFontEnd = 0;
}
