// The one entity record, the fixed pools that hold every object in play,
// the animation timers and the common sprite-sheet draw rule.
#pragma once
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <initializer_list>

// One object in play. Plain record of fixed layout; a slot is alive while
// `flag` is 1.
struct SpriteData {
    bool flag;          // 1 = in use
    int32_t mode;       // per-pool state or variant
    int32_t opt;        // per-pool spawn variant
    int32_t opt2;
    int32_t opt3;
    float time;         // per-pool time value (invincibility, shield life, reload period)
    float fw[10];       // float work registers
    int32_t iw[10];     // integer work registers
    float gw[10];       // second bank of float work registers
    int32_t step;
    int32_t step2;
    float x;            // left edge of the box
    float x2;
    float y;            // top edge of the box
    float y2;
    float angle;        // heading in degrees, 0 right, 90 down
    int32_t num;
    int32_t r, g, b;    // colour (lines)
    float timer;
    float timer2;
    int32_t cnt;
    int32_t cnt2, cnt3, cnt4;
    float hp;
    float speed;        // pixels per unit of FrameStep
    float rad;          // angle * 0.017444444444444446
    float dx;           // cos(rad)
    float dy;           // sin(rad)
    float speed2;
    float fade;
    int32_t col;        // sheet column; on the ship the source left edge
    int32_t cellw;      // ship only: width of one animation cell
    int32_t srcy;       // ship only: top row of the source rectangle
    int32_t srcy2;      // ship only: bottom row of the source rectangle
    int32_t w;          // box width, also the width of one sheet cell
    int32_t h;          // box height, also the height of one sheet cell
    int32_t loop;       // first frame of the loop (SpriteNewAnime)
    int32_t frame;      // current animation frame
    int32_t frames;     // frame count (end value of the timers)
    float anim;         // animation accumulator
    int32_t bmp;        // index into Bitmap
};

// A floating jewel score number.
struct FONT {
    bool flag;
    float life;         // time left
    float x;
    float y;
    float spin;         // set to 180, read by nothing
    float value;        // the number shown
};

// Pool capacities.
enum {
    P_SHOT_MAX = 250,      // P_Shot ... P_Shot5
    JEWEL_MAX = 4500,
    PITEM_MAX = 100,
    SHIELD_MAX = 10,
    CRY_MAX = 6,
    ENEMY_MAX = 150,       // Enemy ... Enemy11, HARO
    BENEMY_MAX = 150,      // BEnemy ... BEnemy4
    CHUUGATA_MAX = 20,     // chuugata ... chuugata9
    BIT_MAX = 8,
    BOSS_MAX = 150,        // BOSS1 ... BOSS5, LBOSS
    TAMA_MAX = 4500,
    BAKA_MAX = 1000,
    SLASER_MAX = 4500,     // sLaser, sLaser2
    BLASER_MAX = 10,
    FLASH_MAX = 300,
    LINES_MAX = 2000,      // (not LINE_MAX: some C libraries' limits.h takes that name)
    BOM_MAX = 1000,        // Bom, Bom2, Bom3
    POM_MAX = 250,
    GOMI_MAX = 3000,
    HOSI_MAX = 100,
    KUMO_MAX = 50,
    JEWELFONT_MAX = 4500,
};

// Single records.
extern SpriteData P_Ship;
extern SpriteData SHOTFLG;   // only `flag` is used: firing allowed while 1

// Player.
extern SpriteData P_Shot[P_SHOT_MAX];
extern SpriteData P_Shot2[P_SHOT_MAX];
extern SpriteData P_Shot3[P_SHOT_MAX];
extern SpriteData P_Shot4[P_SHOT_MAX];
extern SpriteData P_Shot5[P_SHOT_MAX];
extern SpriteData jewel[JEWEL_MAX];
extern SpriteData pitem[PITEM_MAX];
extern SpriteData Shield[SHIELD_MAX];
extern SpriteData cry[CRY_MAX];

// Small and large enemies.
extern SpriteData Enemy[ENEMY_MAX];
extern SpriteData Enemy2[ENEMY_MAX];
extern SpriteData Enemy3[ENEMY_MAX];
extern SpriteData Enemy4[ENEMY_MAX];
extern SpriteData Enemy5[ENEMY_MAX];
extern SpriteData Enemy6[ENEMY_MAX];
extern SpriteData Enemy7[ENEMY_MAX];
extern SpriteData Enemy8[ENEMY_MAX];
extern SpriteData Enemy9[ENEMY_MAX];
extern SpriteData Enemy10[ENEMY_MAX];
extern SpriteData Enemy11[ENEMY_MAX];
extern SpriteData HARO[ENEMY_MAX];
extern SpriteData BEnemy[BENEMY_MAX];
extern SpriteData BEnemy2[BENEMY_MAX];
extern SpriteData BEnemy3[BENEMY_MAX];
extern SpriteData BEnemy4[BENEMY_MAX];

// Mid-size enemies (chuugata3 is never filled).
extern SpriteData chuugata[CHUUGATA_MAX];
extern SpriteData chuugata2[CHUUGATA_MAX];
extern SpriteData chuugata3[CHUUGATA_MAX];
extern SpriteData chuugata4[CHUUGATA_MAX];
extern SpriteData chuugata5[CHUUGATA_MAX];
extern SpriteData chuugata6[CHUUGATA_MAX];
extern SpriteData chuugata7[CHUUGATA_MAX];
extern SpriteData chuugata8[CHUUGATA_MAX];
extern SpriteData chuugata9[CHUUGATA_MAX];

// Bosses.
extern SpriteData bit[BIT_MAX];
extern SpriteData BOSS1[BOSS_MAX];
extern SpriteData BOSS2[BOSS_MAX];
extern SpriteData BOSS3[BOSS_MAX];
extern SpriteData BOSS4[BOSS_MAX];
extern SpriteData BOSS5[BOSS_MAX];
extern SpriteData LBOSS[BOSS_MAX];

// Enemy bullets and lasers.
extern SpriteData tama[TAMA_MAX];
extern SpriteData Baka[BAKA_MAX];
extern SpriteData sLaser[SLASER_MAX];
extern SpriteData sLaser2[SLASER_MAX];
extern SpriteData BLaser[BLASER_MAX];
extern SpriteData flash[FLASH_MAX];
extern SpriteData line[LINES_MAX];

// Explosions and ambient effects.
extern SpriteData Bom[BOM_MAX];
extern SpriteData Bom2[BOM_MAX];
extern SpriteData Bom3[BOM_MAX];
extern SpriteData Pom[POM_MAX];
extern SpriteData gomi[GOMI_MAX];
extern SpriteData hosi[HOSI_MAX];
extern SpriteData kumo[KUMO_MAX];

extern FONT JEWELFONT[JEWELFONT_MAX];

// Every pool of SpriteData records, in one fixed order (saved states,
// state checks and the wipe all walk them in it). POOL_<name> is a pool's
// place in that order.
#define SPRITE_POOLS(X)                                                                                     \
    X(P_Shot) X(P_Shot2) X(P_Shot3) X(P_Shot4) X(P_Shot5) X(jewel) X(pitem) X(Shield) X(cry) X(Enemy)      \
    X(Enemy2) X(Enemy3) X(Enemy4) X(Enemy5) X(Enemy6) X(Enemy7) X(Enemy8) X(Enemy9) X(Enemy10) X(Enemy11) \
    X(HARO) X(BEnemy) X(BEnemy2) X(BEnemy3) X(BEnemy4) X(chuugata) X(chuugata2) X(chuugata3) X(chuugata4) \
    X(chuugata5) X(chuugata6) X(chuugata7) X(chuugata8) X(chuugata9) X(bit) X(BOSS1) X(BOSS2) X(BOSS3)    \
    X(BOSS4) X(BOSS5) X(LBOSS) X(tama) X(Baka) X(sLaser) X(sLaser2) X(BLaser) X(flash) X(line) X(Bom)     \
    X(Bom2) X(Bom3) X(Pom) X(gomi) X(hosi) X(kumo)

enum PoolId {
#define SPRITE_POOL_ID(p) POOL_##p,
    SPRITE_POOLS(SPRITE_POOL_ID)
#undef SPRITE_POOL_ID
    POOL_COUNT
};

// How far up each pool can be in use: every slot from PoolEnd[id] up is
// free. The pools are thousands of slots of which a handful live at a
// time, so the frame's passes look no further than this. A claim raises
// it; SpriteTrim lowers it to one past the highest live slot. Anything
// that sets a flag without claiming must say so with SpriteNoteLive (or
// SpriteMarksFromFlags after loading whole pools). Not part of the game's
// state: it only ever skips free slots, which no pass acts on.
extern int PoolEnd[POOL_COUNT];
// The same for the pop-up numbers (JEWELFONT).
extern int SpriteFontEnd;

// The pool id of a pool's first slot, or -1 for an array that is no pool.
int SpritePoolOf(const SpriteData* pool);
// Slot i of `pool` (or the slot `s`, wherever it lies) was made live
// without a claim.
void SpriteNoteLive(const SpriteData* pool, int i);
void SpriteNoteLive(const SpriteData& s);
// Every mark from the flags as they stand (after a saved state is loaded).
void SpriteMarksFromFlags();

// Lowers pool id's mark past its free top slots and gives it. Slots freed
// below the top stay inside; they are skipped by their flag as ever.
int SpriteTrim(int id);

// The highest of several pools' marks (ids, -1 for none), for loops that
// walk pools side by side slot for slot.
inline int SpriteEndOf(int a, int b, int c = -1, int d = -1, int e = -1) {
    int end = PoolEnd[a];
    for (int id : {b, c, d, e})
        if (id >= 0 && PoolEnd[id] > end) end = PoolEnd[id];
    return end;
}

// The player's five shot pools are tested slot for slot together.
inline int ShotsEnd() { return SpriteEndOf(POOL_P_Shot, POOL_P_Shot2, POOL_P_Shot3, POOL_P_Shot4, POOL_P_Shot5); }
inline int BlastsEnd() { return SpriteEndOf(POOL_P_Shot4, POOL_P_Shot5); }

// Claims the lowest free slot of a pool: sets its flag to 1 and touches
// nothing else, so every field the spawner does not write keeps what the
// previous occupant left. Null when the pool is full (the spawn is dropped).
SpriteData* SpriteClaimSlot(SpriteData* pool, int count);
// The pop-up numbers (JEWELFONT) are claimed often while thousands may be
// up: the search starts at the lowest slot that can be free. Their flags
// are therefore cleared only by FontRelease and SpriteClearAll.
FONT* FontClaimSlot(FONT* pool, int count);
void FontRelease(FONT& f);

template <size_t N>
inline SpriteData* SpriteClaim(SpriteData (&pool)[N]) { return SpriteClaimSlot(pool, (int)N); }
template <size_t N>
inline FONT* SpriteClaim(FONT (&pool)[N]) { return FontClaimSlot(pool, (int)N); }

// Frees a slot; the rest of the record stays as it is.
inline void SpriteRelease(SpriteData& s) { s.flag = false; }

// Walks a pool in increasing index order, calling fn(record) for every
// slot whose flag is 1 at the moment it is reached. A slot released by
// an earlier visit is skipped; one claimed above the current index is
// visited in the same pass (the claim raises the mark the loop reads).
template <size_t N, typename Fn>
inline void SpriteWalk(SpriteData (&pool)[N], Fn fn) {
    const int id = SpritePoolOf(pool);
    if (id < 0) {
        for (size_t i = 0; i < N; i++)
            if (pool[i].flag) fn(pool[i]);
        return;
    }
    SpriteTrim(id);
    for (int i = 0; i < PoolEnd[id]; i++) {
        if (pool[i].flag) fn(pool[i]);
    }
}

// Every pool of SpriteData records, for code that must visit all of them
// (clearing, state checks), in the order above.
struct PoolInfo {
    const char* name;
    SpriteData* pool;
    int count;
};
extern const PoolInfo Pools[];
extern const int PoolCount;

// Marks every entry of every pool free (new game, return to the title).
// The single records P_Ship and SHOTFLG are not pools and are left alone:
// the ship is set up by its own code around this call.
void SpriteClearAll();
// Every pool slot and pop-up number back to all zero (a new game).
void SpriteWipeAll();
extern int SpriteFontLow;  // no JEWELFONT slot below it is free

// Draws frame `frame` of column `col` of sheet Bitmap[bmp] at (x, y).
void SpriteDraw(const SpriteData& s);

// The game frame's pass over the line effects (LINE).
void LinePass();

// Animation timers: advance `anim` by FrameStep * rate and step `frame`
// when it reaches the threshold. True exactly on the call that completes
// a cycle (frame reaches frames exactly).
bool SpriteshotAnime(float* anim, int* frame, int* frames);
bool SpritePAnime(float* anim, int* frame, int* frames);
bool SpriteAnime(float* anim, int* frame, int* frames);
bool SpriteNewAnime(float* anim, int* frame, int* frames, int* loop);
bool SpriteAnimeR(float* anim, int* frame, int* frames);
bool SpriteAnimezako1(float* anim, int* frame, int* frames);
bool SpriteAnimezako9(float* anim, int* frame, int* frames);
bool SpriteAnimeBoss1(float* anim, int* frame, int* frames);

// Sets a heading in degrees and, from it, the radians (pi taken as 3.14)
// and the unit step dx = cos, dy = sin.
inline void SpriteSetAngle(SpriteData& s, float angle) {
    s.angle = angle;
    s.rad = (float)(angle * 0.017444444444444446);
    s.dx = (float)std::cos((double)s.rad);
    s.dy = (float)std::sin((double)s.rad);
}
