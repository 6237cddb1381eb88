// Sound effects on SDL_mixer: every effect owns one mixer channel, so a new
// trigger cuts its own previous playback while different effects mix.
#include "platform/sound.h"
#include "platform/plat_internal.h"

#include <SDL_mixer.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

struct PlatSound {
    Mix_Chunk* chunk;
    Uint8* data;
    int channel;
};

static bool gAudioUp;
static int gNextChannel;
static const int kChannels = 128;
static int gMusicVolume = 100, gEffectVolume = 100;

static void ApplyVolumes() {
    Mix_VolumeMusic(gMusicVolume * MIX_MAX_VOLUME / 100);
    Mix_Volume(-1, gEffectVolume * MIX_MAX_VOLUME / 100);
}

void Plat_SetVolumes(int music, int effects) {
    gMusicVolume = music < 0 ? 0 : music > 100 ? 100 : music;
    gEffectVolume = effects < 0 ? 0 : effects > 100 ? 100 : effects;
    if (gAudioUp) ApplyVolumes();
}

bool Plat_AudioOpen(bool headless) {
    if (gAudioUp) return true;
    PlatI_AudioDriver(headless);
    bool up = PlatI_InitSubsystem(SDL_INIT_AUDIO) && Mix_OpenAudio(44100, AUDIO_S16SYS, 2, 1024) == 0;
    if (!up) {
        const char* why = SDL_GetError();
        std::fprintf(stderr, "quellstorm: no sound device could be opened (%s); the game runs without sound\n",
                     why && *why ? why : "no audio driver answered");
        return false;
    }
    PlatI_AudioOpened();
    Mix_AllocateChannels(kChannels);
    gAudioUp = true;
    ApplyVolumes();
    return true;
}

void Plat_AudioClose() {
    if (!gAudioUp) return;
    Mix_HaltChannel(-1);
    Mix_CloseAudio();
    gAudioUp = false;
}

bool Plat_AudioReady() { return gAudioUp; }

PlatSound* Plat_SoundCreate(const void* pcm, size_t bytes, int channels, int rate, int bits) {
    if (!gAudioUp || !pcm) return nullptr;
    if ((channels != 1 && channels != 2) || (bits != 8 && bits != 16) || rate < 1000 || rate > 192000)
        return nullptr;
    if (bytes > (size_t)64 * 1024 * 1024 || gNextChannel >= kChannels) return nullptr;
    int frame = channels * bits / 8;
    bytes -= bytes % frame;
    int dfreq, dchan;
    Uint16 dfmt;
    if (!Mix_QuerySpec(&dfreq, &dfmt, &dchan)) return nullptr;
    SDL_AudioCVT cvt;
    if (SDL_BuildAudioCVT(&cvt, bits == 8 ? AUDIO_U8 : AUDIO_S16LSB, (Uint8)channels, rate, dfmt, (Uint8)dchan, dfreq) < 0)
        return nullptr;
    cvt.len = (int)bytes;
    Uint8* buf = static_cast<Uint8*>(std::calloc(bytes ? bytes * cvt.len_mult : 1, 1));
    if (!buf) return nullptr;
    if (bytes) std::memcpy(buf, pcm, bytes);
    cvt.buf = buf;
    if (cvt.needed && SDL_ConvertAudio(&cvt) != 0) {
        std::free(buf);
        return nullptr;
    }
    Uint32 outlen = cvt.needed ? (Uint32)cvt.len_cvt : (Uint32)bytes;
    Mix_Chunk* chunk = Mix_QuickLoad_RAW(buf, outlen);
    if (!chunk) {
        std::free(buf);
        return nullptr;
    }
    PlatSound* s = new (std::nothrow) PlatSound;
    if (!s) {
        Mix_FreeChunk(chunk);
        std::free(buf);
        return nullptr;
    }
    s->chunk = chunk;
    s->data = buf;
    s->channel = gNextChannel++;
    return s;
}

void Plat_SoundFree(PlatSound* s) {
    if (!s) return;
    if (gAudioUp) Mix_HaltChannel(s->channel);
    Mix_FreeChunk(s->chunk);
    std::free(s->data);
    delete s;
}

void Plat_SoundPlay(PlatSound* s) {
    if (!s || !gAudioUp) return;
    Mix_HaltChannel(s->channel);
    Mix_PlayChannel(s->channel, s->chunk, 0);
}

bool Plat_SoundPlaying(const PlatSound* s) {
    return s && gAudioUp && Mix_Playing(s->channel) && Mix_GetChunk(s->channel) == s->chunk;
}
