// The generated data files: every bitmap against the sheet table (size and
// colour-key rules), every effect as a clean PCM WAV, every tune as a
// loopable General MIDI file, and the generator's output stable from run to
// run.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <set>
#include <string>
#include <vector>
#include "../../tools/assetgen/sheets.h"

using namespace qsassets;

namespace {

std::string built(const char* file) { return std::string(QS_BUILD_DIR) + "/" + file; }

std::vector<uint8_t> slurp(const std::string& path) {
    std::vector<uint8_t> v;
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return v;
    uint8_t buf[65536];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) v.insert(v.end(), buf, buf + n);
    std::fclose(f);
    return v;
}

uint32_t le32(const std::vector<uint8_t>& v, size_t at) {
    return v[at] | v[at + 1] << 8 | v[at + 2] << 16 | (uint32_t)v[at + 3] << 24;
}
uint16_t le16(const std::vector<uint8_t>& v, size_t at) { return v[at] | v[at + 1] << 8; }
uint32_t be32(const std::vector<uint8_t>& v, size_t at) {
    return (uint32_t)v[at] << 24 | v[at + 1] << 16 | v[at + 2] << 8 | v[at + 3];
}

bool near_black(int r, int g, int b) { return r < 8 && g < 4 && b < 8; }

}  // namespace

TEST(Assets, EveryFileIsBuilt) {
    EXPECT_EQ(kSheetCount, 80);
    EXPECT_EQ(kSoundCount, 17);
    EXPECT_EQ(kTuneCount, 11);
    std::set<int> slots;
    for (const SheetDef& s : kSheets) {
        EXPECT_TRUE(slots.insert(s.slot).second) << "slot " << s.slot << " twice";
        struct stat st;
        EXPECT_EQ(stat(built(s.file).c_str(), &st), 0) << s.file;
    }
    for (const SoundSpec& s : kSounds) {
        struct stat st;
        EXPECT_EQ(stat(built(s.file).c_str(), &st), 0) << s.file;
    }
    for (const TuneSpec& t : kTunes) {
        struct stat st;
        EXPECT_EQ(stat(built(t.file).c_str(), &st), 0) << t.file;
    }
}

// The table itself: cells tile the sheet, nothing the game draws lies outside.
TEST(Assets, SheetTableIsConsistent) {
    for (const SheetDef& s : kSheets) {
        SCOPED_TRACE(s.file);
        EXPECT_GE(s.width, s.cols * s.cellw);
        EXPECT_GE(s.height, s.rows * s.cellh);
        EXPECT_GT(s.cellw, 0);
        EXPECT_GT(s.cellh, 0);
    }
}

TEST(Assets, BitmapsMatchTheTableAndTheColourKey) {
    for (const SheetDef& s : kSheets) {
        SCOPED_TRACE(s.file);
        std::vector<uint8_t> f = slurp(built(s.file));
        ASSERT_GE(f.size(), 54u);
        ASSERT_EQ(f[0], 'B');
        ASSERT_EQ(f[1], 'M');
        EXPECT_EQ(le32(f, 2), f.size());
        ASSERT_EQ(le32(f, 10), 54u);
        EXPECT_EQ(le32(f, 14), 40u);
        int w = (int)le32(f, 18), h = (int)le32(f, 22);
        EXPECT_EQ(w, s.width);
        EXPECT_EQ(h, s.height);  // positive: bottom-up rows
        EXPECT_EQ(le16(f, 26), 1);
        ASSERT_EQ(le16(f, 28), 24);
        EXPECT_EQ(le32(f, 30), 0u);
        int row = (w * 3 + 3) & ~3;
        ASSERT_EQ(f.size(), 54u + (size_t)row * h);
        int badKey = 0, holes = 0, padding = 0;
        std::vector<int> cellInk((size_t)s.rows * s.cols, 0);
        for (int y = 0; y < h; ++y) {
            const uint8_t* r = &f[54 + (size_t)(h - 1 - y) * row];
            for (int p = w * 3; p < row; ++p) padding += r[p] != 0;
            for (int x = 0; x < w; ++x) {
                int B = r[3 * x], G = r[3 * x + 1], R = r[3 * x + 2];
                bool key = near_black(R, G, B);
                if (s.kind == kOpaque && key) ++holes;
                if (s.kind == kKeyed && key && (R | G | B)) ++badKey;
                int cx = x / s.cellw, cy = y / s.cellh;
                if (!key && cx < s.cols && cy < s.rows) ++cellInk[(size_t)cy * s.cols + cx];
            }
        }
        EXPECT_EQ(padding, 0) << "row padding must be zero";
        EXPECT_EQ(holes, 0) << "see-through pixels in an opaque picture";
        EXPECT_EQ(badKey, 0) << "near-black pixels that the display would key out";
        for (size_t c = 0; c < cellInk.size(); ++c)
            EXPECT_GT(cellInk[c], 0) << "empty cell " << c % s.cols << "," << c / s.cols;
    }
}

TEST(Assets, EffectsAreCleanPcmWaves) {
    for (const SoundSpec& s : kSounds) {
        SCOPED_TRACE(s.file);
        std::vector<uint8_t> f = slurp(built(s.file));
        ASSERT_GE(f.size(), 44u);
        EXPECT_EQ(std::memcmp(&f[0], "RIFF", 4), 0);
        EXPECT_EQ(le32(f, 4), f.size() - 8);
        EXPECT_EQ(std::memcmp(&f[8], "WAVE", 4), 0);
        EXPECT_EQ(std::memcmp(&f[12], "fmt ", 4), 0) << "format chunk first";
        EXPECT_EQ(le32(f, 16), 16u);
        EXPECT_EQ(le16(f, 20), 1) << "integer PCM";
        EXPECT_EQ(le16(f, 22), 1) << "mono";
        uint32_t rate = le32(f, 24);
        EXPECT_TRUE(rate == 22050 || rate == 44100);
        EXPECT_EQ(le32(f, 28), rate * 2);
        EXPECT_EQ(le16(f, 32), 2);
        EXPECT_EQ(le16(f, 34), 16);
        EXPECT_EQ(std::memcmp(&f[36], "data", 4), 0);
        uint32_t n = le32(f, 40);
        ASSERT_EQ(n, f.size() - 44);
        ASSERT_EQ(n % 2, 0u);
        size_t count = n / 2;
        EXPECT_GT(count, rate / 50) << "at least 20 ms";
        EXPECT_LT(count, rate * 3) << "effects stay short";
        int peak = 0;
        double sum = 0;
        for (size_t i = 0; i < count; ++i) {
            int v = (int16_t)le16(f, 44 + 2 * i);
            peak = std::max(peak, std::abs(v));
            sum += (double)v * v;
        }
        EXPECT_LE(peak, 29204) << "peak below -1 dBFS";
        EXPECT_GT(std::sqrt(sum / count), 800.0) << "audible";
        EXPECT_LT(std::abs((int16_t)le16(f, 44)), 200) << "starts without a click";
        EXPECT_LT(std::abs((int16_t)le16(f, 44 + 2 * (count - 1))), 200) << "ends without a click";
    }
}

namespace {

struct MidiInfo {
    int format = -1, tracks = 0, division = 0;
    std::map<uint32_t, uint32_t> tempo;      // tick -> microseconds per quarter
    std::map<int, int> notesByChannel;       // note-ons per channel
    uint32_t endTick = 0, firstNote = UINT32_MAX, lastOff = 0;
    int hanging = 0, timeSigNum = 4;
    bool ok = true;
    std::string error;

    double seconds(uint32_t tick) const {
        double s = 0, us = 500000;
        uint32_t at = 0;
        for (auto& t : tempo) {
            if (t.first >= tick) break;
            s += (t.first - at) * us / division / 1e6;
            at = t.first;
            us = t.second;
        }
        return s + (tick - at) * us / division / 1e6;
    }
};

MidiInfo parse_midi(const std::vector<uint8_t>& f) {
    MidiInfo m;
    auto fail = [&](const char* why) { m.ok = false; m.error = why; return m; };
    if (f.size() < 14 || std::memcmp(&f[0], "MThd", 4) != 0 || be32(f, 4) != 6) return fail("header");
    m.format = f[8] << 8 | f[9];
    m.tracks = f[10] << 8 | f[11];
    m.division = f[12] << 8 | f[13];
    if (m.division <= 0 || m.division >= 0x8000) return fail("division");
    size_t p = 14;
    for (int t = 0; t < m.tracks; ++t) {
        if (p + 8 > f.size() || std::memcmp(&f[p], "MTrk", 4) != 0) return fail("track chunk");
        size_t end = p + 8 + be32(f, p + 4);
        if (end > f.size()) return fail("track length");
        p += 8;
        uint32_t tick = 0;
        int status = 0;
        bool eot = false;
        std::map<int, int> on;  // channel*128+key -> count
        auto vlq = [&](uint32_t& v) {
            v = 0;
            for (int k = 0; k < 4 && p < end; ++k) {
                uint8_t b = f[p++];
                v = v << 7 | (b & 0x7F);
                if (!(b & 0x80)) return true;
            }
            return false;
        };
        while (p < end && !eot) {
            uint32_t d;
            if (!vlq(d)) return fail("delta");
            tick += d;
            if (f[p] & 0x80) status = f[p++];
            if (status == 0xFF) {
                uint8_t type = f[p++];
                uint32_t len;
                if (!vlq(len)) return fail("meta length");
                if (type == 0x51 && len == 3) m.tempo[tick] = f[p] << 16 | f[p + 1] << 8 | f[p + 2];
                if (type == 0x58 && len >= 1) m.timeSigNum = f[p];
                if (type == 0x2F) eot = true;
                p += len;
                status = 0;
            } else if (status == 0xF0 || status == 0xF7) {
                uint32_t len;
                if (!vlq(len)) return fail("sysex length");
                p += len;
            } else if (status >= 0x80) {
                int kind = status & 0xF0, ch = status & 0x0F;
                int a = f[p++], b = (kind == 0xC0 || kind == 0xD0) ? 0 : f[p++];
                if (kind == 0x90 && b > 0) {
                    ++m.notesByChannel[ch];
                    ++on[ch * 128 + a];
                    m.firstNote = std::min(m.firstNote, tick);
                } else if (kind == 0x80 || (kind == 0x90 && b == 0)) {
                    if (on[ch * 128 + a] > 0) --on[ch * 128 + a];
                    m.lastOff = std::max(m.lastOff, tick);
                }
            } else {
                return fail("running status without status");
            }
        }
        if (!eot) return fail("missing end of track");
        for (auto& o : on) m.hanging += o.second;
        m.endTick = std::max(m.endTick, tick);
        p = end;
    }
    return m;
}

}  // namespace

TEST(Assets, TunesAreLoopableGeneralMidi) {
    for (const TuneSpec& t : kTunes) {
        SCOPED_TRACE(t.file);
        MidiInfo m = parse_midi(slurp(built(t.file)));
        ASSERT_TRUE(m.ok) << m.error;
        EXPECT_EQ(m.format, 1);
        EXPECT_GE(m.tracks, 2);
        ASSERT_FALSE(m.tempo.empty()) << "tempo event";
        EXPECT_EQ(m.tempo.begin()->first, 0u);
        EXPECT_GE(m.notesByChannel.size(), 4u) << "melody, harmony, bass, drums";
        EXPECT_GT(m.notesByChannel[9], 50) << "drums on channel 10";
        EXPECT_EQ(m.hanging, 0) << "every note is released";
        EXPECT_GE(m.seconds(m.endTick), 40.0);
        // A seamless loop: music from the first beat, the end on a bar line,
        // no note ringing past it.
        EXPECT_LT(m.firstNote, (uint32_t)m.division);
        EXPECT_EQ(m.endTick % (uint32_t)(m.division * m.timeSigNum), 0u);
        EXPECT_LE(m.lastOff, m.endTick);
    }
}

// Running the generator again gives the same bytes (no time stamps, no
// uninitialised padding, no unseeded randomness).
TEST(Assets, GeneratorIsDeterministic) {
    std::string tool = std::string(QS_BUILD_DIR) + "/tools/assetgen/qs_assetgen";
    struct stat st;
    ASSERT_EQ(stat(tool.c_str(), &st), 0) << tool << " is not built";
    char tmpl[] = "/tmp/qs_assets_XXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    std::string dir = tmpl;
    ASSERT_EQ(std::system(("'" + tool + "' " + dir + " >/dev/null").c_str()), 0);
    std::vector<const char*> files;
    for (const SheetDef& s : kSheets) files.push_back(s.file);
    for (const SoundSpec& s : kSounds) files.push_back(s.file);
    for (const TuneSpec& t : kTunes) files.push_back(t.file);
    for (const char* f : files) {
        std::vector<uint8_t> a = slurp(built(f)), b = slurp(dir + "/" + f);
        EXPECT_FALSE(a.empty()) << f;
        EXPECT_TRUE(a == b) << f << " differs between runs";
    }
    std::system(("rm -rf '" + dir + "'").c_str());
}
