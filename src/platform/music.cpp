// Music on SDL_mixer: on a desktop its MIDI player (FluidSynth with a
// General MIDI sound font, music_desktop.cpp), in a page the tunes rendered
// beforehand (music_web.cpp). The end of a tune is posted to the event queue
// from the audio thread and handed to the game between frames, like the old
// sequencer's completion notice.
//
// What goes wrong is said once on standard error: no sound font, a tune
// the synthesiser cannot read. A tune the synthesiser gave up on is not
// reported as finished, so the looping does not start it again and again.
#include "platform/music.h"
#include "platform/files.h"
#include "platform/plat_internal.h"

#include <SDL_mixer.h>
#include <atomic>
#include <cstdio>

static Mix_Music* gMusic;
static unsigned char* gMusicData;  // the file image the tune was made from
static char gMusicName[1024];
static std::atomic<bool> gHalting{false};
static std::atomic<bool> gSynthFailed{false};  // the synthesiser reported an error for this tune
static std::atomic<bool> gBroken{false};       // this tune is not played again
static std::atomic<int> gQuickEnds{0};
static std::atomic<Uint32> gStartedAt{0};
static Uint32 gMusicEvent = (Uint32)-1;

Uint32 PlatI_MusicEventType() {
    if (gMusicEvent == (Uint32)-1) gMusicEvent = SDL_RegisterEvents(1);
    return gMusicEvent;
}

// A tune that runs to its end this quickly this many times in a row plays
// nothing at all (no tune of the game lasts less than a second).
static const Uint32 kQuickEndMs = 20;
static const int kQuickEndsToGiveUp = 8;

static void OnMusicFinished() {
    SDL_Event ev;
    SDL_zero(ev);
    ev.type = PlatI_MusicEventType();
    int code = gHalting.load() ? 0 : 1;  // 1 = ran to its end
    if (code == 1) {
        gQuickEnds = SDL_GetTicks() - gStartedAt.load() < kQuickEndMs ? gQuickEnds + 1 : 0;
        if (gSynthFailed.load() || gQuickEnds.load() >= kQuickEndsToGiveUp) {
            if (!gBroken.exchange(true))
                std::fprintf(stderr, "quellstorm: tune %s cannot be played by the synthesiser; it stays silent\n",
                             gMusicName);
            code = 2;  // failed: not a reason to play it again
        }
    }
    ev.user.code = code;
    SDL_PushEvent(&ev);
}

bool Plat_MusicOpenData(unsigned char* data, size_t size, const char* name) {
    Plat_MusicClose();
    if (!data) return false;
    // The tune's end must reach the window even when no audio device exists.
    PlatI_MusicEventType();
    int freq;
    Uint16 fmt;
    int ch;
    if (!Mix_QuerySpec(&freq, &fmt, &ch) || size > (size_t)INT32_MAX) {
        Plat_FreeFile(data);
        return false;
    }
    std::snprintf(gMusicName, sizeof gMusicName, "%s", name ? name : "");
    Mix_HookMusicFinished(OnMusicFinished);
    return PlatI_MusicLoad(data, size, gMusicName);
}

void PlatI_MusicTake(Mix_Music* music, unsigned char* data) {
    gMusic = music;
    gMusicData = data;
    gBroken = false;
    gSynthFailed = false;
    gQuickEnds = 0;
}

void PlatI_MusicSynthFailed() { gSynthFailed = true; }

void Plat_MusicPause(bool hold) {
    if (!gMusic) return;
    if (hold) Mix_PauseMusic();
    else Mix_ResumeMusic();
}

void Plat_MusicPlay() {
    if (PlatI_TuneOnItsWay()) {
        PlatI_TunePlayOnArrival();
        return;
    }
    if (!gMusic || gBroken.load()) return;
    gHalting = false;
    gSynthFailed = false;
    gStartedAt = SDL_GetTicks();
    Mix_ResumeMusic();
    Mix_PlayMusic(gMusic, 1);
}

void Plat_MusicClose() {
    PlatI_TuneForget();
    if (!gMusic) return;
    gHalting = true;
    Mix_HaltMusic();
    Mix_FreeMusic(gMusic);
    gMusic = nullptr;
    Plat_FreeFile(gMusicData);
    gMusicData = nullptr;
}

bool Plat_MusicStopped() {
    if (PlatI_TuneOnItsWay()) return false;  // on its way: counts as playing
    return !gMusic || !Mix_PlayingMusic();
}
