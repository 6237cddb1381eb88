// Tunes on a desktop: the MIDI file itself, played by FluidSynth (SDL_mixer's
// synthesiser; linked, the same library) with a General MIDI sound font.
#include "platform/files.h"
#include "platform/plat_internal.h"

#include <SDL_mixer.h>
#include <algorithm>
#include <cstdio>
#include <fluidsynth.h>
#include <string>
#include <vector>

// The synthesiser's own messages would otherwise go to standard error,
// once for every attempt to play a damaged tune; an error while a tune
// plays marks it as one that cannot be played.
static void SynthLog(int level, const char*, void*) {
    const int kFluidError = 1;  // FLUID_PANIC is 0, FLUID_ERR 1
    if (level <= kFluidError) PlatI_MusicSynthFailed();
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
    size_t n = path.size();
    return Plat_IsFile(path) && Plat_CanRead(path) && n > 4 &&
           (path.compare(n - 4, 4, ".sf2") == 0 || path.compare(n - 4, 4, ".sf3") == 0);
}

// The first font (by name) at `place`: the file itself or one in the folder.
static std::string FontAt(const std::string& place) {
    if (!Plat_IsDir(place)) return IsFontFile(place) ? place : "";
    std::vector<std::string> names = Plat_ListDir(place);
    std::sort(names.begin(), names.end());
    for (const std::string& n : names) {
        std::string p = Plat_WithSlash(place) + n;
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

bool PlatI_MusicLoad(unsigned char* data, size_t size, const char* name) {
    QuietSynth();
    SetSoundFonts();
    if (!gFontFound && gFontsNamed) {
        // Nothing where the player pointed: no quiet fallback to elsewhere.
        ReportNoFont();
        Plat_FreeFile(data);
        return false;
    }
    SDL_RWops* rw = SDL_RWFromConstMem(data, (int)size);
    Mix_Music* music = rw ? Mix_LoadMUS_RW(rw, 1) : nullptr;
    if (!music) {
        if (!gFontFound) ReportNoFont();
        else std::fprintf(stderr, "quellstorm: tune %s cannot be played (%s); it stays silent\n", name, Mix_GetError());
        Plat_FreeFile(data);
        return false;
    }
    PlatI_MusicTake(music, data);
    return true;
}

// A tune on a desktop is there as soon as it is opened.
bool PlatI_TuneOnItsWay() { return false; }
void PlatI_TunePlayOnArrival() {}
void PlatI_TuneForget() {}
