// STAND-IN until the mid-size enemy behaviours arrive: every live mid-size
// enemy, satellite and heavy walker just drifts along its heading at its
// speed and is drawn, so a stage can be watched and its groups seen coming
// in. One that is far outside the screen, or whose hit points the
// player's shots have used up, is let go (a mid-size enemy or satellite
// counting itself out, a destroyed one with an explosion), so the
// script's waits for mid-size enemies end. Nothing fires. Delete this file
// when the real passes are written.
#include "enemy/effects.h"
#include "enemy/midsize.h"
#include "entity/entity.h"
#include "game/frame.h"
#include "game/game.h"
#include "shell/shell.h"

static bool FarOutside(const SpriteData& s) {
    return s.x < -s.w - 100.0f || s.x > 900.0f || s.y < -s.h - 300.0f || s.y > 800.0f;
}

template <size_t N>
static void Drift(SpriteData (&pool)[N], bool counted) {
    SpriteWalk(pool, [counted](SpriteData& s) {
        s.x += s.dx * s.speed * FrameStep;
        s.y += s.dy * s.speed * FrameStep;
        const bool destroyed = s.hp <= 0;
        if (destroyed) ExploHappen(s.x + s.w / 2, s.y + s.h / 2);
        if (FarOutside(s) || destroyed) {
            SpriteRelease(s);
            if (counted && MidEnemyCount > 0) MidEnemyCount--;
            return;
        }
        SpriteDraw(s);
    });
}

void BEnemy2Pass() { Drift(BEnemy2, true); }
void BEnemy4Pass() { Drift(BEnemy4, false); }

void MidEnemyPass() {
    Drift(chuugata, true); Drift(chuugata2, true); Drift(chuugata4, true);
    Drift(chuugata5, true); Drift(chuugata6, true); Drift(chuugata7, true);
    Drift(chuugata8, true); Drift(chuugata9, true);
}
