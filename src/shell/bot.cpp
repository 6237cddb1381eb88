#include "shell/bot.h"
#include "entity/entity.h"
#include "game/game.h"
#include "game/score.h"
#include "platform/events.h"
#include "platform/input.h"

#include <cinttypes>
#include <cmath>
#include <cstdio>

namespace {

bool gActive;
uint64_t gState;
int gMoveLeft;       // frames until the next change of direction
bool gUp, gDown, gLeft, gRight;
bool gFire;

// The bot's own generator, so that it never disturbs the game's.
uint32_t Next() {
    gState = gState * 6364136223846793005ull + 1442695040888963407ull;
    return (uint32_t)(gState >> 33);
}

int Below(int n) { return (int)(Next() % (uint32_t)n); }

bool Finite(float v) { return std::isfinite(v); }

}  // namespace

void Bot_Start(unsigned seed) {
    gActive = true;
    gState = seed * 2654435761ull + 1;
    bool none[256] = {};
    Plat_SetScriptedKeys(none);
}

bool Bot_Active() { return gActive; }

void Bot_BeginFrame(long frame) {
    if (!gActive) return;
    bool down[256] = {};
    if (Scene != SCENE_GAME || PlayerStock == 0) {
        // Menus and the game-over screen: tap the shot key now and then.
        down[VK_SPACE] = frame % 40 < 2;
        Plat_SetScriptedKeys(down);
        return;
    }
    if (--gMoveLeft <= 0) {
        gMoveLeft = 10 + Below(60);
        int dir = Below(9);
        gUp = dir == 1 || dir == 5 || dir == 6;
        gDown = dir == 2 || dir == 7 || dir == 8;
        gLeft = dir == 3 || dir == 5 || dir == 7;
        gRight = dir == 4 || dir == 6 || dir == 8;
        gFire = Below(10) != 0;
    }
    // With a boss on screen, line up with its middle and keep firing, so
    // soak runs see bosses die and later stages begin.
    const SpriteData* boss = nullptr;
    SpriteData* bosses[6] = {BOSS1, BOSS2, BOSS3, BOSS4, BOSS5, LBOSS};
    for (SpriteData* b : bosses)
        if (!boss && b[0].flag) boss = &b[0];
    if (boss && StagePhase == 2) {
        float want = boss->y + boss->h / 2 - P_Ship.h / 2, at = P_Ship.y;
        gUp = at > want + 8;
        gDown = at < want - 8;
        gFire = true;
    }
    down[VK_UP] = gUp;
    down[VK_DOWN] = gDown;
    down[VK_LEFT] = gLeft;
    down[VK_RIGHT] = gRight;
    down[VK_SPACE] = gFire && frame % 2 == 0;  // tap so every volley starts
    down[VK_SHIFT] = gFire;
    Plat_SetScriptedKeys(down);
    if (Below(1500) == 0) Plat_PushKeyDown(VK_Z);
}

bool Bot_Check(long frame) {
    if (!gActive) return true;
    const char* broke = nullptr;
    const char* where = "";
    int index = -1;
    for (int p = 0; p < PoolCount && !broke; p++) {
        const PoolInfo& pool = Pools[p];
        for (int i = 0; i < pool.count; i++) {
            const SpriteData& s = pool.pool[i];
            if (!s.flag) continue;
            if (i >= PoolEnd[p]) {
                broke = "a live record above its pool's end mark (a flag set without a claim)";
                where = pool.name;
                index = i;
                break;
            }
            if (!Finite(s.x) || !Finite(s.y) || !Finite(s.speed) || !Finite(s.dx) || !Finite(s.dy)) {
                broke = "a live record with a position or speed that is not a number";
                where = pool.name;
                index = i;
                break;
            }
        }
    }
    for (int i = SpriteFontEnd; i < JEWELFONT_MAX && !broke; i++)
        if (JEWELFONT[i].flag) broke = "a pop-up number above its end mark (a flag set without a claim)";
    if (!broke && (!Finite(P_Ship.x) || !Finite(P_Ship.y))) broke = "the ship's position is not a number";
    if (!broke && dat.score < 0) broke = "a negative score";
    if (!broke && PlayerStock < 0) broke = "a negative number of lives";
    if (!broke && (BombStock < 0 || BombStock > 6)) broke = "a bomb stock outside 0..6";
    if (!broke) return true;
    std::fprintf(stderr, "quellstorm: soak check failed at frame %ld: %s %s", frame, broke, where);
    if (index >= 0) std::fprintf(stderr, "[%d]", index);
    std::fprintf(stderr, "\n");
    return false;
}
