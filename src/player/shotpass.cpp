// The flight of every player shot, once per game frame: slot i of the five
// shot pools in turn, for i = 0 .. 249. A shot released on this visit is
// still tested, drawn and animated on it.
#include "game/frame.h"
#include "entity/entity.h"
#include "player/shothit.h"
#include "render/render.h"
#include "core/core.h"

static void MoveAlongHeading(SpriteData& s) {
    s.x += s.speed * s.dx * FrameStep;
    s.y += s.speed * s.dy * FrameStep;
}

// Positions far off any screen are not drawn, so the conversion to int
// never overflows.
static bool OnDrawableRange(const SpriteData& s) {
    return s.x > -100000.0f && s.x < 100000.0f && s.y > -100000.0f && s.y < 100000.0f &&
           s.bmp >= 0 && s.bmp < 200;
}

// Frames side by side.
static void DrawAcross(SpriteData& s) {
    if (OnDrawableRange(s))
        DD_DrawBitmap((int)s.x, (int)s.y, Bitmap[s.bmp], s.w * s.frame, 0, s.w * (s.frame + 1), s.h);
    SpriteshotAnime(&s.anim, &s.frame, &s.frames);
}

// Frames one below the other, 100 wide.
static void DrawDown(SpriteData& s) {
    if (OnDrawableRange(s))
        DD_DrawBitmap((int)s.x, (int)s.y, Bitmap[s.bmp], 0, s.h * s.frame, 100, s.h * (s.frame + 1));
    SpriteshotAnime(&s.anim, &s.frame, &s.frames);
}

// Spread shot: fans out along its heading while its time lasts, then
// flies straight to the right.
static void SpreadShot(SpriteData& s) {
    if (s.hp >= 0.0f) {
        MoveAlongHeading(s);
        s.hp -= FrameStep;
    } else {
        s.x += s.speed * FrameStep;
    }
    if (s.x >= 650.0f) SpriteRelease(s);
    ShotHitMidAndBoss(s, SHOT_SPREAD);
    DrawAcross(s);
}

// Fan shot: full speed to the right whatever its heading, climbing or
// diving by the heading's share.
static void FanShot(SpriteData& s) {
    s.x += s.speed * FrameStep;
    s.y += s.speed * s.dy * FrameStep;
    if (s.x >= 650.0f || s.y < -60.0f || s.y > 480.0f) SpriteRelease(s);
    ShotHitMidAndBoss(s, SHOT_FAN);
    DrawAcross(s);
}

// Missile: accelerates along its heading.
static void Missile(SpriteData& s) {
    MoveAlongHeading(s);
    s.speed += 5 * FrameStep;
    if (s.x >= 650.0f) SpriteRelease(s);
    ShotHitMidAndBoss(s, SHOT_MISSILE);
    DrawAcross(s);
}

// Blast: drifts while its life lasts. What it hits is tested by the
// targets' own updates.
static void Blast(SpriteData& s) {
    MoveAlongHeading(s);
    s.hp -= FrameStep;
    if (s.hp < 0.0f) SpriteRelease(s);
    DrawAcross(s);
}

// Bomb missile: flies until its life runs out or it leaves the screen.
static void BombMissile(SpriteData& s) {
    MoveAlongHeading(s);
    s.hp -= FrameStep;
    if (s.hp < 0.0f || s.x > 640.0f || s.x < -80.0f || s.y > 480.0f || s.y < -80.0f) SpriteRelease(s);
    DrawDown(s);
}

void PlayerShotPass() {
    for (int id : {POOL_P_Shot, POOL_P_Shot2, POOL_P_Shot3, POOL_P_Shot4, POOL_P_Shot5}) SpriteTrim(id);
    for (int i = 0; i < ShotsEnd(); i++) {
        if (P_Shot[i].flag) SpreadShot(P_Shot[i]);
        if (P_Shot2[i].flag) FanShot(P_Shot2[i]);
        if (P_Shot3[i].flag) Missile(P_Shot3[i]);
        if (P_Shot4[i].flag) Blast(P_Shot4[i]);
        if (P_Shot5[i].flag) BombMissile(P_Shot5[i]);
    }
}
