// Music on SDL_mixer's MIDI player (FluidSynth with a General MIDI sound
// font). The end of a tune is posted to the event queue from the audio
// thread and handed to the game between frames, like the old sequencer's
// completion notice.
//
// What goes wrong is said once on standard error: no sound font, a tune
// the synthesiser cannot read. A tune the synthesiser gave up on is not
// reported as finished, so the looping does not start it again and again.
#include "platform/music.h"
#include "platform/files.h"
#include "platform/plat_internal.h"

#include <SDL_mixer.h>
#ifndef __EMSCRIPTEN__
#include <fluidsynth.h>  // the synthesiser SDL_mixer plays MIDI with (linked, the same library)
#endif
#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>
#ifdef __EMSCRIPTEN__
#include <emscripten.h>
#endif

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

#ifndef __EMSCRIPTEN__
// The synthesiser's own messages would otherwise go to standard error,
// once for every attempt to play a damaged tune; an error while a tune
// plays marks it as one that cannot be played.
static void SynthLog(int level, const char*, void*) {
    const int kFluidError = 1;  // FLUID_PANIC is 0, FLUID_ERR 1
    if (level <= kFluidError) gSynthFailed = true;
}

static void QuietSynth() {
    static bool done;
    if (done) return;
    done = true;
    for (int level = FLUID_PANIC; level <= FLUID_DBG; level++) fluid_set_log_function(level, SynthLog, nullptr);
}

// Sound fonts. QUELLSTORM_SOUNDFONT names a font file or a folder of them;
// else SDL_mixer's own SDL_SOUNDFONTS; else the first font of the usual
// places (Debian's default-GM.sf2 first). One font is used.
static bool gFontsSet, gFontFound, gFontsNamed, gFontReported;
static std::string gFontPlaces;

static bool IsFontFile(const std::string& path) {
    struct stat st;
    size_t n = path.size();
    return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && access(path.c_str(), R_OK) == 0 && n > 4 &&
           (path.compare(n - 4, 4, ".sf2") == 0 || path.compare(n - 4, 4, ".sf3") == 0);
}

// The first font (by name) at `place`: the file itself or one in the folder.
static std::string FontAt(const std::string& place) {
    struct stat st;
    if (stat(place.c_str(), &st) != 0) return "";
    if (!S_ISDIR(st.st_mode)) return IsFontFile(place) ? place : "";
    std::vector<std::string> names;
    if (DIR* d = opendir(place.c_str())) {
        while (dirent* e = readdir(d)) names.push_back(e->d_name);
        closedir(d);
    }
    std::sort(names.begin(), names.end());
    for (const std::string& n : names) {
        std::string p = place + (place.back() == '/' ? "" : "/") + n;
        if (IsFontFile(p)) return p;
    }
    return "";
}

static void SetSoundFonts() {
    if (gFontsSet) return;
    gFontsSet = true;
    const char* ours = SDL_getenv("QUELLSTORM_SOUNDFONT");
    const char* sdl = SDL_getenv("SDL_SOUNDFONTS");
    std::string font;
    if (ours && *ours) {
        gFontsNamed = true;
        gFontPlaces = ours;
        font = FontAt(ours);
    } else if (sdl && *sdl) {
        gFontFound = true;  // SDL_mixer takes it from there
        return;
    } else {
        const char* places[] = {"/usr/share/sounds/sf2/default-GM.sf2", "/usr/share/sounds/sf2/TimGM6mb.sf2",
                                "/usr/share/sounds/sf2/FluidR3_GM.sf2", "/usr/share/sounds/sf2",
                                "/usr/share/soundfonts", "/usr/share/sounds/sf3"};
        gFontPlaces = "/usr/share/sounds/sf2, /usr/share/soundfonts, /usr/share/sounds/sf3";
        for (const char* p : places)
            if (font.empty()) font = FontAt(p);
    }
    if (font.empty()) return;
    Mix_SetSoundFonts(font.c_str());
    gFontFound = true;
}

static void ReportNoFont() {
    if (gFontReported) return;
    gFontReported = true;
    std::fprintf(stderr,
                 "quellstorm: no General MIDI sound font found (looked in %s); the music stays silent. "
                 "The Debian package timgm6mb-soundfont (or fluid-soundfont-gm) provides one\n",
                 gFontPlaces.c_str());
}

#endif

#ifdef __EMSCRIPTEN__
// A page has no synthesiser: every tune comes rendered beforehand, with the
// same sound font, to Ogg Vorbis beside its MIDI file ("X.mid" -> "X.ogg").
// The MIDI file itself (checked by the game) only says which one; the Ogg
// file loops and ends exactly as the MIDI tune does.
//
// The rendered tunes are most of the game's weight, so the page does not
// make the player wait for them: it fetches them after the start, the one
// asked for first. A tune asked for before it has arrived starts when it
// arrives, if it is still the one wanted.
static char gWaitingFor[1024];  // the Ogg file the open tune waits for
static bool gPlayWhenThere;

static bool LoadRendered(const char* ogg) {
    gMusic = Mix_LoadMUS(ogg);
    if (!gMusic) {
        std::fprintf(stderr, "quellstorm: tune %s cannot be played (%s); it stays silent\n", ogg, Mix_GetError());
        return false;
    }
    gBroken = false;
    gSynthFailed = false;
    gQuickEnds = 0;
    return true;
}

static bool OpenRendered(const char* name) {
    std::string ogg = name ? name : "";
    size_t dot = ogg.rfind('.'), slash = ogg.rfind('/');
    if (dot != std::string::npos && (slash == std::string::npos || dot > slash)) ogg.erase(dot);
    ogg += ".ogg";
    gWaitingFor[0] = 0;
    gPlayWhenThere = false;
    struct stat st;
    if (stat(ogg.c_str(), &st) == 0) return LoadRendered(ogg.c_str());
    int asked = EM_ASM_INT({ return Module.qsWantTune ? (Module.qsWantTune(UTF8ToString($0)) ? 1 : 0) : 0; },
                           ogg.c_str());
    if (!asked) return LoadRendered(ogg.c_str());  // says why it stays silent
    std::snprintf(gWaitingFor, sizeof gWaitingFor, "%s", ogg.c_str());
    return true;
}

// The page has put a tune's Ogg file in place (or given up on it: `ok` 0).
extern "C" EMSCRIPTEN_KEEPALIVE void qs_page_tune_arrived(const char* ogg, int ok) {
    if (!gWaitingFor[0] || std::strcmp(ogg, gWaitingFor) != 0) return;
    gWaitingFor[0] = 0;
    if (!ok) {
        std::fprintf(stderr, "quellstorm: tune %s could not be fetched; it stays silent\n", ogg);
        return;
    }
    if (LoadRendered(ogg) && gPlayWhenThere) Plat_MusicPlay();
}
#endif

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
#ifdef __EMSCRIPTEN__
    Plat_FreeFile(data);
    (void)size;
    std::snprintf(gMusicName, sizeof gMusicName, "%s", name ? name : "");
    Mix_HookMusicFinished(OnMusicFinished);
    return OpenRendered(name);
#else
    QuietSynth();
    SetSoundFonts();
    if (!gFontFound && gFontsNamed) {
        // Nothing where the player pointed: no quiet fallback to elsewhere.
        ReportNoFont();
        Plat_FreeFile(data);
        return false;
    }
    std::snprintf(gMusicName, sizeof gMusicName, "%s", name ? name : "");
    Mix_HookMusicFinished(OnMusicFinished);
    SDL_RWops* rw = SDL_RWFromConstMem(data, (int)size);
    gMusic = rw ? Mix_LoadMUS_RW(rw, 1) : nullptr;
    if (!gMusic) {
        if (!gFontFound) ReportNoFont();
        else std::fprintf(stderr, "quellstorm: tune %s cannot be played (%s); it stays silent\n", gMusicName, Mix_GetError());
        Plat_FreeFile(data);
        return false;
    }
    gMusicData = data;
    gBroken = false;
    gSynthFailed = false;
    gQuickEnds = 0;
    return true;
#endif
}

void Plat_MusicPause(bool hold) {
    if (!gMusic) return;
    if (hold) Mix_PauseMusic();
    else Mix_ResumeMusic();
}

void Plat_MusicPlay() {
#ifdef __EMSCRIPTEN__
    if (gWaitingFor[0]) {
        gPlayWhenThere = true;
        return;
    }
#endif
    if (!gMusic || gBroken.load()) return;
    gHalting = false;
    gSynthFailed = false;
    gStartedAt = SDL_GetTicks();
    Mix_ResumeMusic();
    Mix_PlayMusic(gMusic, 1);
}

void Plat_MusicClose() {
#ifdef __EMSCRIPTEN__
    gWaitingFor[0] = 0;
    gPlayWhenThere = false;
#endif
    if (!gMusic) return;
    gHalting = true;
    Mix_HaltMusic();
    Mix_FreeMusic(gMusic);
    gMusic = nullptr;
    Plat_FreeFile(gMusicData);
    gMusicData = nullptr;
}

bool Plat_MusicStopped() {
#ifdef __EMSCRIPTEN__
    if (gWaitingFor[0]) return false;  // on its way: counts as playing
#endif
    return !gMusic || !Mix_PlayingMusic();
}
