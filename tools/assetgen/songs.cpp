// The eleven tunes: one mood per place in the game. Stage tunes drive,
// boss tunes menace, the last tune (last boss and the staff roll) is the
// heroic one.
#include <cstdio>
#include "audio.h"
#include "compose.h"
#include "sheets.h"

namespace qsassets {

// GM programs used below (0-based).
enum {
    HARPSICHORD = 6, CELESTA = 8, VIBES = 11, ORGAN = 19, DIST_GUITAR = 30, FINGER_BASS = 33,
    PICK_BASS = 34, SYNTH_BASS1 = 38, SYNTH_BASS2 = 39, VIOLIN = 40, STRINGS = 48,
    SYNTH_STRINGS = 50, CHOIR = 52, BRASS = 61, SYNTH_BRASS = 62, LEAD_SQUARE = 80,
    LEAD_SAW = 81, LEAD_CHARANG = 84, WARM_PAD = 89, POLYSYNTH = 90, ELECTRIC_PIANO = 4
};

static const SongDef kSongs[] = {
    // Stage 1: bright and driving, over the clouds.
    {"MIDI/1ワンダータイム.mid", 101, 156, 62, kMajor, false, LEAD_SQUARE, POLYSYNTH, FINGER_BASS,
     ELECTRIC_PIANO, kDrumDrive, kBassDrive, kHarmStabs, "1 5 6 4", "1 5 6 4 1 5 4/5 1",
     "6 4 1 5 6 4 2 5", "4 5 6 5", 0, 0.85},
    // First boss (and the stage-5 mid-boss): dark phrygian riffing.
    {"MIDI/3.mid", 303, 168, 64, kPhrygian, false, LEAD_SAW, DIST_GUITAR, SYNTH_BASS1, SYNTH_BRASS,
     kDrumMetal, kBassSync, kHarmPower, "1 1 2 1", "1 2 1 7 1 6 2 7", "4 4 6 6 7 7 2 2", "1 2 6 7", 0, 0.85},
    // Stage 2: the forest run, dorian and urgent.
    {"MIDI/Fatal.mid", 202, 150, 57, kDorian, false, LEAD_SAW, STRINGS, PICK_BASS, POLYSYNTH,
     kDrumRock, kBassEighths, kHarmPad, "1 4 1 4", "1 4 1 4 7 4 5 1", "6 7 1 4 6 7 4 5", "1 7 6 7", 1, 0.72},
    // Second boss: harmonic minor, brass over guitars.
    {"MIDI/Ravin'_U.mid", 404, 172, 60, kHarmonic, true, SYNTH_BRASS, DIST_GUITAR, SYNTH_BASS2,
     LEAD_SAW, kDrumMetal, kBassDrive, kHarmPower, "1 6 1 6", "1 6 4 5 1 6 2 5", "4 5 1 6 4 5 6 5",
     "1 6 4 5", 1, 0.85},
    // Stage 3: the crystal caverns, glassy and mysterious, half-time.
    {"MIDI/空落ちる日.mid", 505, 128, 66, kMinor, false, VIBES, WARM_PAD, SYNTH_BASS1, CELESTA,
     kDrumHalf, kBassLong, kHarmPad, "1 6 1 6", "1 6 3 7 1 6 4 5", "4 5 6 6 4 5 7 7", "6 7 1 1", 1, 1.1},
    // Third boss: racing strings and harpsichord.
    {"MIDI/Vbattle.mid", 606, 176, 59, kHarmonic, true, VIOLIN, STRINGS, SYNTH_BASS1, HARPSICHORD,
     kDrumMetal, kBassSync, kHarmStabs, "1 1 5 5", "1 4 5 1 6 4 5 5", "6 4 1 6 4 5 1 5", "6 4 5 5", 1, 0.78},
    // Stage 4: back in the open sky, uplifting.
    {"MIDI/2.MID", 707, 160, 64, kMajor, false, LEAD_CHARANG, STRINGS, FINGER_BASS, POLYSYNTH,
     kDrumDrive, kBassSync, kHarmPad, "4 5 1 1", "1 3 4 5 1 3 4 5", "6 5 4 5 6 5 4 5", "4 4 5 5", 0, 0.74},
    // Fourth boss: a music box gone wrong over heavy guitars.
    {"MIDI/HA_Doll.mid", 808, 164, 55, kHarmonic, true, HARPSICHORD, DIST_GUITAR, SYNTH_BASS2, CELESTA,
     kDrumMetal, kBassEighths, kHarmPower, "1 1 6 5", "1 6 4 5 1 6 2 5", "4 1 6 5 4 1 2 5", "1 4 5 5", 2, 0.92},
    // Stage 5: space and the fortress, epic minor.
    {"MIDI/Db.MID", 909, 148, 62, kMinor, false, LEAD_SAW, SYNTH_STRINGS, SYNTH_BASS1, POLYSYNTH,
     kDrumEpic, kBassDrive, kHarmPad, "1 6 7 1", "1 7 6 7 1 7 6 5", "6 7 1 1 6 7 5 5", "4 5 6 7", 0, 0.85},
    // The fortress core: organ-coloured drama.
    {"MIDI/rpglast.mid", 1010, 158, 60, kHarmonic, true, BRASS, ORGAN, SYNTH_BASS2, HARPSICHORD,
     kDrumEpic, kBassSync, kHarmStabs, "1 1 6 5", "1 4 5 1 6 4 2 5", "6 4 1 5 6 4 2 5", "6 4 5 5", 1, 1.15},
    // The last boss, still playing through the staff roll: heroic.
    {"MIDI/BdBt4Bt.Mid", 1111, 150, 57, kMinor, true, BRASS, CHOIR, FINGER_BASS, STRINGS,
     kDrumEpic, kBassDrive, kHarmPad, "6 7 1 1", "1 6 3 7 6 7 1 1", "6 7 3 3 6 7 5 5", "6 7 1 1", 1, 0.95},
};

bool make_tunes(const std::string& outDir) {
    bool ok = true;
    for (const SongDef& d : kSongs) {
        std::string path = outDir + "/" + d.file;
        if (!compose_song(d, path)) {
            std::fprintf(stderr, "assetgen: cannot write %s\n", path.c_str());
            ok = false;
        }
    }
    static_assert(sizeof(kSongs) / sizeof(kSongs[0]) == sizeof(kTunes) / sizeof(kTunes[0]),
                  "one composition per tune");
    return ok;
}

}  // namespace qsassets
