// The per-frame pass of the effects: explosions, jewels, sparks, debris and
// stars, each moved, drawn and animated, and freed when done.
#include "enemy/effects.h"
#include "entity/entity.h"
#include "entity/heading.h"
#include "game/frame.h"
#include "player/items.h"
#include "render/render.h"
#include "core/core.h"

static void Move(SpriteData& s) {
    s.x += s.dx * s.speed * FrameStep;
    s.y += s.dy * s.speed * FrameStep;
}

// Draws the record's current frame from the first column of Bitmap[bmp],
// its box's top-left `off` pixels up and left of (x, y).
static void DrawFrame(const SpriteData& s, int bmp, int off) {
    if (!ScreenCoordOk(s.x) || !ScreenCoordOk(s.y)) return;
    DD_DrawBitmap((int)s.x - off, (int)s.y - off, Bitmap[bmp], 0, s.frame * s.h, s.w, (s.frame + 1) * s.h);
}

// An explosion lives one cycle of its animation. Its position is its
// centre: the picture is drawn half a box up and left.
static void Explosion(SpriteData& s, int bmp, int off, bool moves) {
    if (moves) Move(s);
    DrawFrame(s, bmp, off);
    if (SpriteAnime(&s.anim, &s.frame, &s.frames)) SpriteRelease(s);
}

static void Spark(SpriteData& s) {
    DrawFrame(s, s.bmp, 0);
    if (SpriteAnime(&s.anim, &s.frame, &s.frames)) SpriteRelease(s);
}

static void Debris(SpriteData& s) {
    if (s.timer > 0) {
        Move(s);
        DrawFrame(s, 152, 8);
        SpriteAnime(&s.anim, &s.frame, &s.frames);
    } else {
        SpriteRelease(s);
    }
    s.timer -= FrameStep;
}

// A star is one pixel row of its sheet: row 2h of streak h.
static void Star(SpriteData& s) {
    if (s.x < -60) SpriteRelease(s);  // still moved and drawn this frame
    Move(s);
    if (!ScreenCoordOk(s.x) || !ScreenCoordOk(s.y)) return;
    DD_DrawBitmap((int)s.x - 8, (int)s.y - 8, Bitmap[172], 0, 2 * s.h, s.w, 2 * s.h + 1);
}

void EffectsPass() {
    // The three explosion pools side by side, slot for slot; an explosion
    // claims no explosion, so the end is fixed for the pass.
    SpriteTrim(POOL_Bom);
    SpriteTrim(POOL_Bom2);
    SpriteTrim(POOL_Bom3);
    const int end = SpriteEndOf(POOL_Bom, POOL_Bom2, POOL_Bom3);
    for (int i = 0; i < end; i++) {
        if (Bom[i].flag) Explosion(Bom[i], 1, 65, true);
        if (Bom2[i].flag) Explosion(Bom2[i], 5, 32, true);
        if (Bom3[i].flag) Explosion(Bom3[i], 7, 16, false);
    }
    JewelPass();
    SpriteWalk(Pom, Spark);
    SpriteWalk(gomi, Debris);
    SpriteWalk(hosi, Star);
}
