// The shield: it surrounds the ship for a time set by the difficulty and
// ends with the ship. The bullet updates destroy what touches it.
#include "entity/entity.h"
#include "entity/heading.h"
#include "game/frame.h"
#include "game/game.h"
#include "player/items.h"
#include "render/render.h"
#include "core/core.h"

float ShieldTime(int difficulty) {
    switch (difficulty) {
    case EASY: return 600.0f;
    case NORMAL: return 300.0f;
    case HARD: return 100.0f;
    case SPECIAL: return 50.0f;
    default: return 300.0f;
    }
}

void SHIELD(int angle, int value) {
    SpriteData* s = SpriteClaim(Shield);
    if (!s) return;
    s->mode = 0;
    s->opt2 = value;
    s->x = P_Ship.x - 20;
    s->y = P_Ship.y - 15;
    SpriteSetAngle(*s, (float)angle);
    s->w = s->h = 100;
    s->time = ShieldTime(OPTION.Difficulty);
    s->frame = 0;
    s->frames = 3;
    s->anim = 0.0f;
    s->bmp = 111;
}

static void ShieldHandle(SpriteData& s, bool late) {
    if (late && s.opt2 != 0) {
        // A free shield follows its own heading.
        s.x += s.dx * s.speed * FrameStep;
        s.y += s.dy * s.speed * FrameStep;
        s.speed = 1.0f;
    } else {
        s.x = P_Ship.x - 20;
        s.y = P_Ship.y - 15;
    }
    s.time -= FrameStep;
    if (s.time <= 0 || !P_Ship.flag) SpriteRelease(s);  // still drawn this frame
    SpriteNewAnime(&s.anim, &s.frame, &s.frames, &s.loop);
    if (ScreenCoordOk(s.x) && ScreenCoordOk(s.y))
        DD_DrawBitmap((int)s.x, (int)s.y, Bitmap[s.bmp], 0, s.frame * s.h, s.w, (s.frame + 1) * s.h);
}

void ShieldPass() {
    Shield[0].mode += 1;
    SpriteWalk(Shield, [](SpriteData& s) {
        if (s.mode % 2 == 0) ShieldHandle(s, false);
    });
}

void ShieldLatePass() {
    SpriteWalk(Shield, [](SpriteData& s) {
        if (s.mode % 2 != 0) ShieldHandle(s, true);
    });
}
