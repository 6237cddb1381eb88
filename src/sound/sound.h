// Sound effects and music.
#pragma once
#include "platform/sound.h"

struct PlatWindow;

extern PlatSound* Wave[100];  // slots 1..17 are loaded; null plays nothing
extern bool DSObject;         // true while there is a sound device
extern bool PlayFlg;          // true while a tune is open

// Start-up (shell): opens the sound device. Always true; a missing device
// is reported and the game runs silent.
bool DS_INIT(PlatWindow* window);
// Shutdown (shell): frees every effect, then the device.
void DS_END(PlatWindow* window);
// Reads a PCM WAV file (game path) into `buffer`. False, with the game's
// own message, on any failure.
bool DS_LoadWave(PlatSound*& buffer, const char* file);
// Restarts the effect from its start; null plays nothing.
void DS_Play(PlatSound* buffer);
// While set, effects are not played (a replay's jump runs many frames at once).
extern bool DS_Hushed;

// Plays a tune (game path relative to the program's directory), replacing
// the one that is open.
void MIDI_Play(const char* file);
// Stops and closes the open tune, if any.
void MIDI_Stop();
// The tune open (as given to MIDI_Play), or "" when none is: a replay's
// viewer puts the right one back after jumping.
const char* MIDI_Tune();
// Holds the open tune where it is while the game is held (the window lost
// its focus during play), and lets it go on again.
void MIDI_Pause(bool hold);
// Window procedure, on the tune's completion notice: restarts the tune
// while one is open and the device reports it stopped.
void MIDI_Notify(bool successful);
