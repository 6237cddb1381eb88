// STAND-IN until the small and mid-size enemy behaviours arrive: every live
// enemy just drifts along its heading at its speed and is drawn, so a stage
// can be watched and its groups seen coming in. One that is far outside the
// screen is let go (a mid-size enemy or satellite counting itself out), so
// the script's waits for mid-size enemies end. Nothing fires, nothing is hit.
// Delete this file when the real passes are written.
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
        if (FarOutside(s)) {
            SpriteRelease(s);
            if (counted && MidEnemyCount > 0) MidEnemyCount--;
            return;
        }
        SpriteDraw(s);
    });
}

void SmallEnemyPass() {
    Drift(Enemy, false); Drift(Enemy2, false); Drift(Enemy3, false); Drift(Enemy4, false);
    Drift(Enemy5, false); Drift(Enemy6, false); Drift(Enemy7, false); Drift(Enemy8, false);
    Drift(Enemy9, false); Drift(Enemy10, false); Drift(Enemy11, false); Drift(HARO, false);
    Drift(BEnemy, false); Drift(BEnemy2, true); Drift(BEnemy3, false); Drift(BEnemy4, false);
}

void MidEnemyPass() {
    Drift(chuugata, true); Drift(chuugata2, true); Drift(chuugata4, true);
    Drift(chuugata5, true); Drift(chuugata6, true); Drift(chuugata7, true);
    Drift(chuugata8, true); Drift(chuugata9, true);
}
