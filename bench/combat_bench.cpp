// The combat passes at their heaviest: every small-enemy slot of a pool
// live under a full set of blasts, and full bullet and dart pools walked
// past a full set of bomb missiles with every bullet shootable. Nothing
// overlaps, so every test runs to its end and the pools stay as they are.
// The pools are filled by hand and their end marks raised from the flags,
// as after a loaded state; a benchmark whose passes would not see every
// filled slot stops the run.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <initializer_list>

#include "enemy/bullets.h"
#include "entity/entity.h"
#include "game/frame.h"
#include "game/game.h"
#include "player/player.h"
#include "shell/shell.h"

static void FillShots(SpriteData* pool, float x, float y, int w, int h) {
    for (int j = 0; j < P_SHOT_MAX; j++) {
        pool[j] = SpriteData{};
        pool[j].flag = true;
        pool[j].x = x;
        pool[j].y = y;
        pool[j].w = w;
        pool[j].h = h;
        pool[j].hp = 1000;
    }
}

// The marks raised over what was filled by hand; the run stops unless the
// passes now look at every slot of each pool named.
static void MarksOver(std::initializer_list<const SpriteData*> pools, int count, const char* what) {
    SpriteMarksFromFlags();
    for (const SpriteData* pool : pools) {
        int id = SpritePoolOf(pool);
        if (id < 0 || PoolEnd[id] < count) {
            std::fprintf(stderr, "combat_bench: not as stated: %s: a pool's mark lets the passes see %d of %d slots\n",
                         what, id < 0 ? 0 : PoolEnd[id], count);
            std::exit(3);
        }
    }
}

static void SetUpShip() {
    P_Ship = SpriteData{};
    P_Ship.flag = true;
    P_Ship.x = 0;
    P_Ship.y = 400;
    P_Ship.w = P_Ship.h = 64;
    P_Ship.time = 1000;  // nothing may take it
    FrameStep = 0;       // nothing moves between iterations
}

// 150 braking drones, 250 shots of each kind and 250 blasts and bomb
// missiles far from them: 150 x 250 x (3 tests + 2 blast calls).
static void BM_SmallEnemiesUnderFullShotPools(benchmark::State& state) {
    SpriteClearAll();
    SetUpShip();
    for (int i = 0; i < ENEMY_MAX; i++) {
        SpriteData& e = Enemy3[i];
        e = SpriteData{};
        e.flag = true;
        e.x = 400;
        e.y = 100;
        e.w = e.h = 64;
        e.hp = 5;
        e.speed = 1;
        e.timer = 1;  // already fired
        e.frames = 1;
        e.bmp = 22;
    }
    FillShots(P_Shot, 100, 300, 32, 32);
    FillShots(P_Shot2, 100, 300, 16, 32);
    FillShots(P_Shot3, 100, 300, 16, 16);
    FillShots(P_Shot4, 100, 300, 100, 100);
    FillShots(P_Shot5, 100, 300, 100, 100);
    MarksOver({Enemy3}, ENEMY_MAX, "150 drones");
    MarksOver({P_Shot, P_Shot2, P_Shot3, P_Shot4, P_Shot5}, P_SHOT_MAX, "full shot pools");
    for (auto _ : state) {
        SmallEnemyPass();
        benchmark::ClobberMemory();
    }
    SpriteClearAll();
}
BENCHMARK(BM_SmallEnemiesUnderFullShotPools)->Unit(benchmark::kMillisecond);

// 4500 bullets and 4500 darts, 250 bomb missiles and 250 spread shots on
// SPECIAL, so every bullet is also tested against every shot.
static void BM_FullFirePoolsOnSpecial(benchmark::State& state) {
    SpriteClearAll();
    SetUpShip();
    OPTION.Difficulty = SPECIAL;
    Weapon = 0;
    for (int i = 0; i < TAMA_MAX; i++) {
        kou(200 + (float)(i % 300), 50 + (float)(i / 300) * 10, 0, 0, 91, 0);
        SL2(200 + (float)(i % 300), 50 + (float)(i / 300) * 10, 180, 0, 0);
    }
    FillShots(P_Shot, 20, 10, 32, 32);
    FillShots(P_Shot5, 20, 10, 100, 100);
    MarksOver({tama, sLaser2}, TAMA_MAX, "full bullet and dart pools");
    MarksOver({P_Shot, P_Shot5}, P_SHOT_MAX, "full shot pools");
    for (auto _ : state) {
        EnemyFirePass();
        benchmark::ClobberMemory();
    }
    OPTION.Difficulty = NORMAL;
    SpriteClearAll();
}
BENCHMARK(BM_FullFirePoolsOnSpecial)->Unit(benchmark::kMillisecond);
