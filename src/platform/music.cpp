// Music on SDL_mixer's MIDI player (FluidSynth with a General MIDI sound
// font). The end of a tune is posted to the event queue from the audio
// thread and handed to the game between frames, like the old sequencer's
// completion notice.
#include "platform/music.h"
#include "platform/plat_internal.h"

#include <SDL_mixer.h>
#include <atomic>
#include <cstdio>
#include <string>
#include <unistd.h>

static Mix_Music* gMusic;
static bool gFontsSet;
static std::atomic<bool> gHalting{false};
static Uint32 gMusicEvent = (Uint32)-1;

Uint32 PlatI_MusicEventType() {
    if (gMusicEvent == (Uint32)-1) gMusicEvent = SDL_RegisterEvents(1);
    return gMusicEvent;
}

static void OnMusicFinished() {
    SDL_Event ev;
    SDL_zero(ev);
    ev.type = PlatI_MusicEventType();
    ev.user.code = gHalting.load() ? 0 : 1;  // 1 = ran to its end
    SDL_PushEvent(&ev);
}

static void SetSoundFonts() {
    if (gFontsSet) return;
    gFontsSet = true;
    const char* env = SDL_getenv("SDL_SOUNDFONTS");
    if (env && *env) return;
    const char* candidates[] = {"/usr/share/sounds/sf2/default-GM.sf2", "/usr/share/sounds/sf2/TimGM6mb.sf2",
                                "/usr/share/sounds/sf2/FluidR3_GM.sf2", "/usr/share/soundfonts/default.sf2"};
    for (const char* c : candidates)
        if (access(c, R_OK) == 0) {
            Mix_SetSoundFonts(c);
            return;
        }
}

bool Plat_MusicOpen(const char* path) {
    Plat_MusicClose();
    if (!path) return false;
    // The tune's end must reach the window even when no audio device exists.
    PlatI_MusicEventType();
    int freq;
    Uint16 fmt;
    int ch;
    if (!Mix_QuerySpec(&freq, &fmt, &ch)) return false;
    SetSoundFonts();
    Mix_HookMusicFinished(OnMusicFinished);
#ifdef __EMSCRIPTEN__
    // A page has no synthesiser: each tune comes rendered beforehand (same
    // sound font) as Ogg Vorbis beside where the MIDI file would be.
    std::string ogg = path;
    size_t dot = ogg.rfind('.'), slash = ogg.rfind('/');
    if (dot != std::string::npos && (slash == std::string::npos || dot > slash)) ogg.erase(dot);
    ogg += ".ogg";
    gMusic = Mix_LoadMUS(ogg.c_str());
#else
    gMusic = Mix_LoadMUS(path);
#endif
    return gMusic != nullptr;
}

void Plat_MusicPlay() {
    if (!gMusic) return;
    gHalting = false;
    Mix_PlayMusic(gMusic, 1);
}

void Plat_MusicClose() {
    if (!gMusic) return;
    gHalting = true;
    Mix_HaltMusic();
    Mix_FreeMusic(gMusic);
    gMusic = nullptr;
}

bool Plat_MusicStopped() { return !gMusic || !Mix_PlayingMusic(); }
