// Sound on a desktop: the silent driver for a run without a window, ALSA
// kept quiet, and tunes played as MIDI by the synthesiser.
#include "platform/plat_internal.h"

#include <SDL_mixer.h>
#include <alsa/asoundlib.h>

static void QuietAlsa(const char*, int, const char*, int, const char*, ...) {}

// The ALSA library writes its own errors to standard error, eight lines of
// them on a machine without a sound card. SDL loads the library by name;
// it is the same library the game links, so its errors go nowhere: the
// game says in one line what it means.
void PlatI_AudioDriver(bool headless) {
    if (headless) SDL_setenv("SDL_AUDIODRIVER", "dummy", 1);
    else snd_lib_error_set_handler(QuietAlsa);
}

void PlatI_AudioOpened() { Mix_Init(MIX_INIT_MID); }
