// Line effects: each frame a line's far end moves, the line thins or
// fades, and it is drawn, also in the frame in which it ends.
#include "entity/entity.h"
#include "entity/heading.h"
#include "render/render.h"
#include "core/core.h"

// Pulls one coordinate of the far end towards the start by `step`. The two
// tests run one after the other on the moved value, so an end that passes
// the start is pushed straight back: it settles jittering around the start
// instead of overshooting.
static void Approach(float start, float& end, float step) {
    if (start < end) end -= step;
    if (start > end) end += step;
}

static void LineUpdate(SpriteData& s) {
    const float fs = FrameStep;
    switch (s.mode) {
    case 0:  // thins out
        s.fade -= 10 * fs;
        if (s.fade < 0) SpriteRelease(s);
        break;
    case 1:  // far end closes in at its own speed while the line thins
        Approach(s.x, s.x2, s.speed2 * fs);
        Approach(s.y, s.y2, s.speed2 * fs);
        s.fade -= s.speed2 * fs / 1.2f;
        if (s.fade < 0) SpriteRelease(s);
        break;
    case 2:  // bursts: the far end sweeps in for as long as speed2 lasts
        Approach(s.x, s.x2, 250 * fs);
        Approach(s.y, s.y2, 250 * fs);
        if (s.speed2 < 0) SpriteRelease(s);
        s.speed2 -= fs;
        break;
    case 3:  // grows to the right edge; whoever made it ends it
        if (s.x2 < 700) {
            s.x2 += 500 * fs;
            s.fade += 2;
        }
        break;
    default:
        break;
    }
    s.speed2 -= fs;
    // A closing line slows down but never turns round: stopped, its far
    // end would otherwise fly off and its pen grow without end.
    if (s.mode == 1 && s.speed2 < 0) s.speed2 = 0;

    if (!ScreenCoordOk(s.x) || !ScreenCoordOk(s.y) || !ScreenCoordOk(s.x2) || !ScreenCoordOk(s.y2)) return;
    float width = s.fade;
    if (!(width > -1000.0f)) width = 0.0f;       // also catches a width that is not a number
    if (width > 1000.0f) width = 1000.0f;
    DD_DrawLine((int)s.x, (int)s.y, (int)s.x2, (int)s.y2, (int)width, s.r, s.g, s.b);
}

void LinePass() {
    SpriteWalk(line, LineUpdate);
}
