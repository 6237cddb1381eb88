// The output meter taps SDL_mixer's post-mix stream (signed 16-bit, the
// format the device was opened with) on the audio thread.
#include "platform/meter.h"

#include <SDL_mixer.h>
#include <atomic>
#include <cmath>
#include <cstdint>

static std::atomic<uint64_t> gSumSq{0};
static std::atomic<uint64_t> gSamples{0};
static std::atomic<int> gChannels{2};

static void Tap(void*, Uint8* stream, int len) {
    const Sint16* s = reinterpret_cast<const Sint16*>(stream);
    int n = len / 2;
    uint64_t sum = 0;
    for (int i = 0; i < n; ++i) sum += (uint64_t)((int64_t)s[i] * s[i]);
    gSumSq += sum;
    gSamples += (uint64_t)n;
}

void Plat_MeterStart() {
    int freq, ch;
    Uint16 fmt;
    if (!Mix_QuerySpec(&freq, &fmt, &ch) || fmt != AUDIO_S16SYS) return;
    gChannels = ch > 0 ? ch : 1;
    gSumSq = 0;
    gSamples = 0;
    Mix_SetPostMix(Tap, nullptr);
}

void Plat_MeterStop() { Mix_SetPostMix(nullptr, nullptr); }

long Plat_MeterFrames() { return (long)(gSamples.load() / (uint64_t)gChannels.load()); }

double Plat_MeterRms() {
    uint64_t n = gSamples.load();
    if (n == 0) return 0.0;
    return std::sqrt((double)gSumSq.load() / (double)n) / 32768.0;
}
