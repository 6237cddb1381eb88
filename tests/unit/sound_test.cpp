// WAV reading on crafted files, effect playback and the music's looping.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "platform/events.h"
#include "platform/files.h"
#include "platform/msgbox.h"
#include "platform/music.h"
#include "platform/time.h"
#include "shell/frameloop.h"
#include "sound/sound.h"
#include "sound/wave.h"

namespace {

void Put32(std::vector<uint8_t>& v, uint32_t x) {
    for (int i = 0; i < 4; i++) v.push_back((uint8_t)(x >> (8 * i)));
}
void Put16(std::vector<uint8_t>& v, uint16_t x) {
    v.push_back((uint8_t)x);
    v.push_back((uint8_t)(x >> 8));
}
void PutId(std::vector<uint8_t>& v, const char* id) { v.insert(v.end(), id, id + 4); }

std::vector<uint8_t> FmtChunk(uint16_t tag, uint32_t size = 16) {
    std::vector<uint8_t> c;
    PutId(c, "fmt ");
    Put32(c, size);
    Put16(c, tag);
    Put16(c, 1);
    Put32(c, 22050);
    Put32(c, 44100);
    Put16(c, 2);
    Put16(c, 16);
    for (uint32_t i = 16; i < size; i++) c.push_back(0);
    return c;
}

std::vector<uint8_t> Chunk(const char* id, uint32_t claimed, size_t actual) {
    std::vector<uint8_t> c;
    PutId(c, id);
    Put32(c, claimed);
    for (size_t i = 0; i < actual; i++) c.push_back((uint8_t)(i * 7));
    return c;
}

std::vector<uint8_t> Riff(std::vector<std::vector<uint8_t>> chunks) {
    std::vector<uint8_t> body;
    PutId(body, "WAVE");
    for (auto& c : chunks) body.insert(body.end(), c.begin(), c.end());
    std::vector<uint8_t> f;
    PutId(f, "RIFF");
    Put32(f, (uint32_t)body.size());
    f.insert(f.end(), body.begin(), body.end());
    return f;
}

WaveResult Parse(const std::vector<uint8_t>& f, WaveInfo* info) { return Wave_Parse(f.data(), f.size(), info); }

}  // namespace

TEST(WaveParse, AcceptsPlainAndExtendedFormatChunks) {
    WaveInfo info;
    auto f = Riff({FmtChunk(1, 16), Chunk("data", 100, 100)});
    ASSERT_EQ(Parse(f, &info), WAVE_OK);
    EXPECT_EQ(info.channels, 1);
    EXPECT_EQ(info.rate, 22050u);
    EXPECT_EQ(info.bits, 16);
    EXPECT_EQ(info.dataSize, 100u);
    EXPECT_EQ(info.dataOffset, 12u + 24u + 8u);
    // The 16-byte chunk lends two bytes of the next header as "extra size".
    EXPECT_EQ(info.extra, 'd' | 'a' << 8);

    auto g = Riff({FmtChunk(1, 18), Chunk("LIST", 4, 4), Chunk("data", 10, 10)});
    ASSERT_EQ(Parse(g, &info), WAVE_OK);
    EXPECT_EQ(info.dataSize, 10u);
}

TEST(WaveParse, RefusesWhatTheGameRefuses) {
    WaveInfo info;
    // Another chunk first: its bytes are taken as the format, and refused.
    EXPECT_EQ(Parse(Riff({Chunk("LIST", 20, 20), FmtChunk(1), Chunk("data", 4, 4)}), &info), WAVE_NOT_PCM);
    EXPECT_EQ(Parse(Riff({FmtChunk(3), Chunk("data", 4, 4)}), &info), WAVE_NOT_PCM);
    EXPECT_EQ(Parse(Riff({FmtChunk(1), Chunk("LIST", 4, 4)}), &info), WAVE_NO_DATA);
    // Only the 16 format bytes and nothing after: the 18-byte read falls short.
    EXPECT_EQ(Parse(Riff({FmtChunk(1)}), &info), WAVE_SHORT_FORMAT);
    // A data chunk claiming more than the file holds is refused, not read.
    EXPECT_EQ(Parse(Riff({FmtChunk(1), Chunk("data", 1000, 10)}), &info), WAVE_SHORT_DATA);
    EXPECT_EQ(Parse(Riff({FmtChunk(1), Chunk("data", 0xFFFFFFF0u, 10)}), &info), WAVE_SHORT_DATA);
    // A format chunk claiming to run past the file.
    EXPECT_EQ(Parse(Riff({FmtChunk(1, 16), Chunk("data", 4, 4)}), &info), WAVE_OK);
    auto huge = Riff({FmtChunk(1, 16), Chunk("data", 4, 4)});
    huge[16] = 0xFF;
    huge[17] = 0xFF;
    EXPECT_EQ(Parse(huge, &info), WAVE_BAD_ASCENT);
    // Truncated inside the format.
    auto t = Riff({FmtChunk(1)});
    t.resize(30);
    EXPECT_EQ(Parse(t, &info), WAVE_SHORT_FORMAT);
    std::vector<uint8_t> junk = {'R', 'I', 'F', 'F', 1, 0, 0, 0, 'A', 'V', 'I', ' '};
    EXPECT_EQ(Parse(junk, &info), WAVE_NO_RIFF);
    EXPECT_EQ(Parse(std::vector<uint8_t>(), &info), WAVE_NO_RIFF);
    EXPECT_STREQ(Wave_Message(WAVE_NOT_PCM), "不正なウエイブフォーマットです");
    EXPECT_STREQ(Wave_Message(WAVE_SHORT_DATA), "ウエイブデータ読み込みに失敗しました");
}

class SoundDevice : public ::testing::Test {
protected:
    void SetUp() override {
        Plat_SetHeadless(true);
        DS_INIT(nullptr);
        // A tune an earlier test left open, and the notices its stop queues,
        // are not this test's.
        MIDI_Stop();
        PlatEvent ev;
        while (Plat_PollEvent(&ev)) {
        }
    }
    void TearDown() override { DS_END(nullptr); }

    // Writes a file next to the test binary and returns its game path.
    std::string WriteFile(const char* name, const std::vector<uint8_t>& bytes) {
        std::string path = std::string(Plat_ProgramDir()) + name;
        FILE* f = std::fopen(path.c_str(), "wb");
        std::fwrite(bytes.data(), 1, bytes.size(), f);
        std::fclose(f);
        return name;
    }
};

TEST_F(SoundDevice, LoadsAndRestartsAnEffect) {
    ASSERT_TRUE(DSObject);
    std::vector<uint8_t> pcm = Chunk("data", 44100, 44100);  // one second
    std::string ok = WriteFile("test_ok.wav", Riff({FmtChunk(1), pcm}));
    std::string bad = WriteFile("test_bad.wav", Riff({FmtChunk(3), pcm}));
    PlatSound* s = nullptr;
    ASSERT_TRUE(DS_LoadWave(s, ok.c_str()));
    ASSERT_NE(s, nullptr);
    PlatSound* b = nullptr;
    EXPECT_FALSE(DS_LoadWave(b, bad.c_str()));
    EXPECT_EQ(b, nullptr);
    EXPECT_FALSE(DS_LoadWave(b, "no\\such.wav"));
    DS_Play(s);
    EXPECT_TRUE(Plat_SoundPlaying(s));
    DS_Play(s);  // cut and restarted, still one playback
    EXPECT_TRUE(Plat_SoundPlaying(s));
    DS_Play(nullptr);  // a slot that failed to load plays nothing
    Plat_SoundFree(s);
}

namespace {

// A tiny type-0 MIDI file: one short note at a fast tempo.
std::vector<uint8_t> ShortTune() {
    std::vector<uint8_t> trk = {0x00, 0xFF, 0x51, 0x03, 0x01, 0x00, 0x00,  // tempo
                                0x00, 0x90, 60,   100,  0x30, 0x80, 60,   0,
                                0x00, 0xFF, 0x2F, 0x00};
    std::vector<uint8_t> f = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1, 0, 96, 'M', 'T', 'r', 'k', 0, 0, 0,
                              (uint8_t)trk.size()};
    f.insert(f.end(), trk.begin(), trk.end());
    return f;
}

// Waits (real time) for the tune's completion notice; with `want` 0 or 1,
// for a notice with that code (an aborted notice of a tune closed before
// this one may still be on its way and is passed over).
bool WaitForMusicDone(PlatEvent* ev, double ms, int want = -1) {
    double until = Plat_RealMs() + ms;
    while (Plat_RealMs() < until) {
        while (Plat_PollEvent(ev))
            if (ev->type == PLAT_EV_MUSIC_DONE && (want < 0 || ev->x == want)) return true;
        Plat_SleepMs(5);
    }
    return false;
}

// How long a notice may take: the synthesiser renders in real time on a
// thread of its own, which a machine busy with builds can starve for many
// seconds; a notice that comes sooner ends the wait at once.
const double kTuneEnds = 60000;

}  // namespace

TEST_F(SoundDevice, MusicRestartsOnlyWhileATuneIsOpen) {
    std::string tune = WriteFile("test_tune.mid", ShortTune());
    MIDI_Play(tune.c_str());
    ASSERT_TRUE(PlayFlg);
    PlatEvent ev;
    ASSERT_TRUE(WaitForMusicDone(&ev, kTuneEnds, 1)) << "the tune never ended";
    EXPECT_EQ(ev.x, 1);
    EXPECT_TRUE(Plat_MusicStopped());
    WindowProc(ev);  // the completion notice restarts it
    EXPECT_FALSE(Plat_MusicStopped());

    MIDI_Stop();
    EXPECT_FALSE(PlayFlg);
    // Stopping is reported as an aborted tune, never as a finished one.
    ASSERT_TRUE(WaitForMusicDone(&ev, kTuneEnds));
    EXPECT_EQ(ev.x, 0);
    MIDI_Stop();  // nothing open: nothing happens
    // A notice arriving after the stop is ignored.
    MIDI_Notify(true);
    EXPECT_TRUE(Plat_MusicStopped());

    // Aborted or superseded notices do nothing either.
    MIDI_Play(tune.c_str());
    ASSERT_TRUE(WaitForMusicDone(&ev, kTuneEnds, 1));
    MIDI_Notify(false);
    EXPECT_TRUE(Plat_MusicStopped());
    MIDI_Stop();
}
