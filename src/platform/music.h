// Music service: one standard MIDI file at a time, through a software
// synthesiser and a General MIDI sound font. Our stand-in for the old MCI
// sequencer device.
#pragma once
#include <cstddef>

// Opens a tune from the image of a standard MIDI file, closing any open
// one. The image is taken over (freed with Plat_FreeFile when the tune is
// closed, or at once on failure); `name` names the tune on standard error.
// False when it cannot be played: a missing sound font or a tune the
// player refuses is said once on standard error.
bool Plat_MusicOpenData(unsigned char* data, size_t size, const char* name);
// Starts the open tune from its beginning, once. When it has run to its
// end, a completion event is queued for the window (PLAT_EV_MUSIC_DONE,
// code 1). A tune the synthesiser gave up on ends with code 2 (failed),
// is named once on standard error and is not started again.
void Plat_MusicPlay();
// Stops and closes the open tune, if any.
void Plat_MusicClose();
// True when the open tune is not playing (has run to its end or was never
// started): the device's "stopped" mode.
bool Plat_MusicStopped();
// Holds (true) or lets go on (false) the open tune where it is. A held
// tune counts as playing, not stopped; opening or playing a tune lets go.
void Plat_MusicPause(bool hold);
