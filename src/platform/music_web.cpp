// Tunes in a page. A page has no synthesiser: every tune comes rendered
// beforehand, with the same sound font, to Ogg Vorbis beside its MIDI file
// ("X.mid" -> "X.ogg"). The MIDI file itself (checked by the game) only says
// which one; the Ogg file loops and ends exactly as the MIDI tune does.
//
// The rendered tunes are most of the game's weight, so the page does not
// make the player wait for them: it fetches them after the start, the one
// asked for first. A tune asked for before it has arrived starts when it
// arrives, if it is still the one wanted.
#include "platform/files.h"
#include "platform/music.h"
#include "platform/plat_internal.h"

#include <SDL_mixer.h>
#include <cstdio>
#include <cstring>
#include <emscripten.h>
#include <string>

static char gWaitingFor[1024];  // the Ogg file the open tune waits for
static bool gPlayWhenThere;

static bool LoadRendered(const char* ogg) {
    Mix_Music* music = Mix_LoadMUS(ogg);
    if (!music) {
        std::fprintf(stderr, "quellstorm: tune %s cannot be played (%s); it stays silent\n", ogg, Mix_GetError());
        return false;
    }
    PlatI_MusicTake(music, nullptr);
    return true;
}

bool PlatI_MusicLoad(unsigned char* data, size_t, const char* name) {
    Plat_FreeFile(data);  // it only said which tune
    std::string ogg = name;
    size_t dot = ogg.rfind('.'), slash = ogg.rfind('/');
    if (dot != std::string::npos && (slash == std::string::npos || dot > slash)) ogg.erase(dot);
    ogg += ".ogg";
    gWaitingFor[0] = 0;
    gPlayWhenThere = false;
    if (Plat_Exists(ogg)) return LoadRendered(ogg.c_str());
    int asked = EM_ASM_INT({ return Module.qsWantTune ? (Module.qsWantTune(UTF8ToString($0)) ? 1 : 0) : 0; },
                           ogg.c_str());
    if (!asked) return LoadRendered(ogg.c_str());  // says why it stays silent
    std::snprintf(gWaitingFor, sizeof gWaitingFor, "%s", ogg.c_str());
    return true;
}

bool PlatI_TuneOnItsWay() { return gWaitingFor[0] != 0; }
void PlatI_TunePlayOnArrival() { gPlayWhenThere = true; }

void PlatI_TuneForget() {
    gWaitingFor[0] = 0;
    gPlayWhenThere = false;
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
