// The eight sprite animation timers. They differ only in rate, threshold,
// direction and the frame they go back to at the end of a cycle.
#include "entity/entity.h"
#include "core/core.h"

// One step: the accumulator grows by FrameStep * rate; once it reaches the
// threshold it is reset (the excess is dropped, so at most one frame per
// call) and the frame moves by `dir`. Only a frame that lands exactly on
// `frames` ends the cycle: a frame already past it keeps counting.
static bool AnimeStep(float* anim, int* frame, const int* frames, float rate, float threshold,
                      int dir, int endFrame) {
    *anim += FrameStep * rate;
    if (*anim < threshold) return false;
    *anim = 0.0f;
    *frame += dir;
    if (*frame == *frames) {
        *frame = endFrame;
        return true;
    }
    return false;
}

// Player shots, Enemy7, chuugata4, BLaser: a frame every call at the usual step.
bool SpriteshotAnime(float* anim, int* frame, int* frames) {
    return AnimeStep(anim, frame, frames, 1000.0f, 1.0f, +1, 0);
}

// The ship: threshold 0, so it steps on every call, even while paused.
bool SpritePAnime(float* anim, int* frame, int* frames) {
    return AnimeStep(anim, frame, frames, 10.0f, 0.0f, +1, 0);
}

bool SpriteAnime(float* anim, int* frame, int* frames) {
    return AnimeStep(anim, frame, frames, 10.0f, 5.0f, +1, 0);
}

// Plays 0 .. frames-1 once, then loops over loop .. frames-1.
bool SpriteNewAnime(float* anim, int* frame, int* frames, int* loop) {
    return AnimeStep(anim, frame, frames, 10.0f, 5.0f, +1, *loop);
}

// Counts down; on reaching `frames` it jumps to 0.
bool SpriteAnimeR(float* anim, int* frame, int* frames) {
    return AnimeStep(anim, frame, frames, 25.0f, 5.0f, -1, 0);
}

bool SpriteAnimezako1(float* anim, int* frame, int* frames) {
    return AnimeStep(anim, frame, frames, 10.0f, 10.0f, +1, 0);
}

bool SpriteAnimezako9(float* anim, int* frame, int* frames) {
    return AnimeStep(anim, frame, frames, 100.0f, 10.0f, +1, 0);
}

bool SpriteAnimeBoss1(float* anim, int* frame, int* frames) {
    return AnimeStep(anim, frame, frames, 25.0f, 5.0f, +1, 0);
}
