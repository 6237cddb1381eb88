// Checking a standard MIDI file before the synthesiser gets it: a tune the
// synthesiser cannot read would otherwise "end" the moment it starts, and
// the looping would start it again on every notice.
#pragma once
#include <cstddef>
#include <cstdint>

enum MidiResult {
    MIDI_OK = 0,
    MIDI_NOT_SMF,        // no "MThd" header chunk
    MIDI_BAD_HEADER,     // header too short, unknown format, no tracks, zero division
    MIDI_MISSING_TRACK,  // fewer track chunks than the header promises
    MIDI_CUT_TRACK,      // a track chunk longer than what is left of the file
    MIDI_BAD_EVENT,      // an event running past its track, or data without a status
};

// Walks the header, every chunk and every event of every track.
MidiResult Midi_Check(const uint8_t* buf, size_t n);
// What is wrong, in plain words, for standard error.
const char* Midi_Problem(MidiResult r);
