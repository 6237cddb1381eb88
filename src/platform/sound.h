// Sound-effect service: one buffer per effect, played once from its start.
#pragma once
#include <cstddef>

struct PlatSound;  // opaque: one loaded effect with its own mixer channel

// Opens the audio device. False when there is none (the game runs silent),
// after one line on standard error saying why; the ALSA library's own
// error lines are kept quiet.
// Headless runs use a device that plays into nothing.
bool Plat_AudioOpen(bool headless);
void Plat_AudioClose();
bool Plat_AudioReady();

// Volumes of the music and of the effects, 0..100 each (100 at start).
void Plat_SetVolumes(int music, int effects);

// Makes a buffer from raw PCM (`bits` 8 or 16, 1 or 2 channels, any rate).
// Null when the format cannot be played or there is no device.
PlatSound* Plat_SoundCreate(const void* pcm, size_t bytes, int channels,
                            int rate, int bits);
void Plat_SoundFree(PlatSound* s);
// Stops the effect if it is playing and starts it again from the start.
// Different effects mix; the same effect never overlaps itself.
void Plat_SoundPlay(PlatSound* s);
// True while the effect is audible (for tests).
bool Plat_SoundPlaying(const PlatSound* s);
