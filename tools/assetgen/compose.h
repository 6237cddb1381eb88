// A small composer for the game's tunes: chord progressions per section,
// motif-based melodies, bass lines, harmony and drum patterns, written as
// type-1 General MIDI files.
#pragma once
#include <cstdint>
#include <string>

namespace qsassets {

enum DrumStyle { kDrumRock, kDrumDrive, kDrumMetal, kDrumHalf, kDrumEpic };
enum BassStyle { kBassEighths, kBassDrive, kBassSync, kBassLong };
enum HarmStyle { kHarmPad, kHarmStabs, kHarmPower };

struct SongDef {
    const char* file;   // index into kTunes by file name
    uint32_t seed;
    int bpm;
    int root;           // MIDI note of the tonic (around middle C)
    const int* scale;   // seven semitone offsets
    bool raiseV;        // minor keys: major dominant chord
    int lead, harm, bass, arp;  // General MIDI programs (0-based)
    DrumStyle drums;
    BassStyle bassStyle;
    HarmStyle harmStyle;
    // Chord degrees per bar (1..7), "a/b" splits a bar in halves.
    const char* intro;  // 4 bars
    const char* a;      // 8 bars
    const char* b;      // 8 bars
    const char* outro;  // 4 bars, leads back to the start
    int leadOctave;     // octave shift of the melody
    double level;       // channel volumes scaled by this (loud arrangements lower)
};

extern const int kMajor[7], kMinor[7], kDorian[7], kPhrygian[7], kHarmonic[7], kMixolydian[7],
    kLydian[7];

// Composes `def` and writes it to `path`. False on a write error.
bool compose_song(const SongDef& def, const std::string& path);

}  // namespace qsassets
