// The check a tune passes before the synthesiser gets it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../../tools/assetgen/sheets.h"
#include "platform/files.h"
#include "sound/midifile.h"

namespace {

std::vector<uint8_t> Header(int format, int tracks) {
    return {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, (uint8_t)format, 0, (uint8_t)tracks, 0, 96};
}

void AddTrack(std::vector<uint8_t>& f, const std::vector<uint8_t>& events) {
    uint32_t n = (uint32_t)events.size();
    std::vector<uint8_t> h = {'M', 'T', 'r', 'k', (uint8_t)(n >> 24), (uint8_t)(n >> 16), (uint8_t)(n >> 8), (uint8_t)n};
    f.insert(f.end(), h.begin(), h.end());
    f.insert(f.end(), events.begin(), events.end());
}

// Tempo, a note with running status for its release, a program change, a
// long delta time and the end of the track.
const std::vector<uint8_t> kTrack = {0x00, 0xFF, 0x51, 0x03, 0x07, 0xA1, 0x20,  // tempo
                                     0x00, 0xC0, 5,                             // program (one data byte)
                                     0x00, 0x90, 60, 100, 0x83, 0x60, 60, 0,    // on, then off by running status
                                     0x00, 0xF0, 0x02, 0x7E, 0xF7,              // system exclusive
                                     0x00, 0xFF, 0x2F, 0x00};

MidiResult Check(const std::vector<uint8_t>& f) { return Midi_Check(f.data(), f.size()); }

}  // namespace

TEST(MidiFile, SoundFilesPassAndEveryCutOrDamageIsCaught) {
    std::vector<uint8_t> one = Header(0, 1);
    AddTrack(one, kTrack);
    EXPECT_EQ(Check(one), MIDI_OK);
    std::vector<uint8_t> two = Header(1, 2);
    AddTrack(two, kTrack);
    std::vector<uint8_t> junk = {'X', 'Y', 'Z', 'W', 0, 0, 0, 2, 1, 2};  // other chunks are passed over
    two.insert(two.end(), junk.begin(), junk.end());
    AddTrack(two, kTrack);
    EXPECT_EQ(Check(two), MIDI_OK);

    // A file cut anywhere before its end never passes: the player would
    // give up on it the moment it starts.
    for (size_t n = 0; n < two.size(); n++) {
        std::vector<uint8_t> cut(two.begin(), two.begin() + n);
        EXPECT_NE(Check(cut), MIDI_OK) << "cut to " << n << " bytes";
    }
    EXPECT_EQ(Check(std::vector<uint8_t>(two.begin(), two.begin() + 30)), MIDI_CUT_TRACK);
    EXPECT_EQ(Check(std::vector<uint8_t>(one.begin(), one.begin() + 14)), MIDI_MISSING_TRACK);
    EXPECT_EQ(Check({'R', 'I', 'F', 'F', 0, 0, 0, 0}), MIDI_NOT_SMF);

    // Track lengths that fit the file but not their events.
    std::vector<uint8_t> bad = Header(0, 1);
    AddTrack(bad, {0x00, 60, 100});  // data bytes with no status before them
    EXPECT_EQ(Check(bad), MIDI_BAD_EVENT);
    bad = Header(0, 1);
    AddTrack(bad, {0x00, 0x90, 60});  // a note event one byte short
    EXPECT_EQ(Check(bad), MIDI_BAD_EVENT);
    bad = Header(0, 1);
    AddTrack(bad, {0x00, 0xFF, 0x01, 0x40, 'a'});  // a text event longer than its track
    EXPECT_EQ(Check(bad), MIDI_BAD_EVENT);
    bad = Header(0, 1);
    AddTrack(bad, {0xFF, 0xFF, 0xFF, 0xFF, 0x7F, 0xFF, 0x2F, 0x00});  // a five-byte delta time
    EXPECT_EQ(Check(bad), MIDI_BAD_EVENT);

    std::vector<uint8_t> noTracks = Header(1, 0);
    EXPECT_EQ(Check(noTracks), MIDI_BAD_HEADER);
    std::vector<uint8_t> format3 = Header(3, 1);
    AddTrack(format3, kTrack);
    EXPECT_EQ(Check(format3), MIDI_BAD_HEADER);
    for (MidiResult r : {MIDI_NOT_SMF, MIDI_BAD_HEADER, MIDI_MISSING_TRACK, MIDI_CUT_TRACK, MIDI_BAD_EVENT})
        EXPECT_STRNE(Midi_Problem(r), "");
}

TEST(MidiFile, EveryTuneOfTheGamePasses) {
    for (const qsassets::TuneSpec& t : qsassets::kTunes) {
        std::string path = std::string(Plat_ProgramDir()) + t.file;
        long size;
        unsigned char* data = Plat_ReadWholeFile(path.c_str(), &size, 1L << 20);
        ASSERT_NE(data, nullptr) << path;
        EXPECT_EQ(Midi_Check(data, (size_t)size), MIDI_OK) << path;
        Plat_FreeFile(data);
    }
}
