// The whole state of the game at the end of a frame, as bytes: every pool
// (freed slots included), the game-wide values, the record, the input edges,
// the random generator, the pacing and the virtual clock. Restoring it and
// running the same inputs gives the same frames, picture for picture: a kept
// replay starts its game from one, and watching a replay jumps back to them.
//
// The bytes are the state's memory, runs of zeros squeezed out, with the
// layout's size up front so that another build's state is refused rather
// than misread. They are only good for the same build of the simulation
// (the replay's `sim` version says which).
#pragma once
#include <cstddef>
#include <cstdint>

// Each game-wide value the state holds beyond the pools, in order (tests:
// every one is either the title's or put back by a new game).
void State_EachValue(void (*fn)(void* p, size_t n));
// The most bytes State_Save can need.
size_t State_MaxBytes();
// Writes the state into `out`. The byte count, or 0 when `cap` is too small.
size_t State_Save(uint8_t* out, size_t cap);
// Puts the state back. False, with nothing changed, when the bytes are not
// a whole state of this layout. Without `marks` the pools' end marks are
// left for the caller to take (SpriteMarksFromFlags) once it has checked
// bytes that did not come from this run.
bool State_Load(const uint8_t* in, size_t size, bool marks = true);
