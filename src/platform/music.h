// Music service: one standard MIDI file at a time, through a software
// synthesiser and a General MIDI sound font. Our stand-in for the old MCI
// sequencer device.
#pragma once

// Opens the tune at `path` (replacing none: close first). False on failure.
bool Plat_MusicOpen(const char* path);
// Starts the open tune from its beginning, once. When it has run to its
// end, a completion event is queued for the window (PLAT_EV_MUSIC_DONE).
void Plat_MusicPlay();
// Stops and closes the open tune, if any.
void Plat_MusicClose();
// True when the open tune is not playing (has run to its end or was never
// started): the device's "stopped" mode.
bool Plat_MusicStopped();
// Holds (true) or lets go on (false) the open tune where it is. A held
// tune counts as playing, not stopped; opening or playing a tune lets go.
void Plat_MusicPause(bool hold);
