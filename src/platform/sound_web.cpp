// Sound in a page: the page's audio whatever the run (a page's SDL has no
// threads, which the silent driver needs, so a page run without a picture
// still plays through it), tunes played from Ogg Vorbis, and a count of
// what the mixer put out for the page and its test.
#include "platform/plat_internal.h"

#include <SDL_mixer.h>
#include <emscripten.h>

// Sample frames mixed while a tune played, and how many were not silent.
static double gMusicFrames, gMusicLoudFrames;

static void CountMixed(void*, Uint8* stream, int len) {
    if (!Mix_PlayingMusic()) return;
    const Sint16* s = reinterpret_cast<const Sint16*>(stream);
    int frames = len / 4;
    gMusicFrames += frames;
    for (int i = 0; i < frames; i++)
        if (s[2 * i] || s[2 * i + 1]) gMusicLoudFrames++;
}

extern "C" EMSCRIPTEN_KEEPALIVE double qs_music_frames_mixed(int loud) { return loud ? gMusicLoudFrames : gMusicFrames; }

void PlatI_AudioDriver(bool) {}

void PlatI_AudioOpened() {
    Mix_Init(MIX_INIT_OGG);
    Mix_SetPostMix(CountMixed, nullptr);
}
