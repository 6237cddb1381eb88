#include "compose.h"
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>
#include "core.h"

namespace qsassets {

const int kMajor[7] = {0, 2, 4, 5, 7, 9, 11};
const int kMinor[7] = {0, 2, 3, 5, 7, 8, 10};
const int kDorian[7] = {0, 2, 3, 5, 7, 9, 10};
const int kPhrygian[7] = {0, 1, 3, 5, 7, 8, 10};
const int kHarmonic[7] = {0, 2, 3, 5, 7, 8, 11};
const int kMixolydian[7] = {0, 2, 4, 5, 7, 9, 10};
const int kLydian[7] = {0, 2, 4, 6, 7, 9, 11};

static const int kPPQ = 480;
static const int kStep = kPPQ / 4;   // one sixteenth
static const int kBar = kPPQ * 4;    // 4/4 throughout

enum { CH_LEAD = 0, CH_HARM = 1, CH_BASS = 2, CH_ARP = 3, CH_LEAD2 = 4, CH_DRUM = 9 };
enum { KICK = 36, SNARE = 38, CLAP = 39, HAT = 42, OPENHAT = 46, TOM_LO = 45, TOM_MID = 47,
       TOM_HI = 50, CRASH = 49, RIDE = 51 };

struct Ev {
    uint32_t tick;
    int order;  // note-offs before note-ons at the same tick
    uint8_t d[8];
    int len;
};

struct Song {
    const SongDef& def;
    Rng rng;
    std::vector<Ev> tracks[10];
    uint32_t end = 0;
    int voicing[3] = {0, 0, 0};  // the pad's last chord, for smooth voice leading
    bool sectionB = false;       // drums vary in the middle section
    explicit Song(const SongDef& d) : def(d), rng(d.seed) {}

    void note(int ch, uint32_t t, uint32_t dur, int key, int vel) {
        if (key < 0 || key > 127 || dur == 0) return;
        vel = std::max(1, std::min(127, vel));
        uint32_t off = std::min(t + dur, end);  // nothing rings past the loop point
        if (off <= t) return;
        int tr = ch == CH_DRUM ? 5 : ch;
        tracks[tr].push_back({t, 1, {(uint8_t)(0x90 | ch), (uint8_t)key, (uint8_t)vel}, 3});
        tracks[tr].push_back({off, 0, {(uint8_t)(0x80 | ch), (uint8_t)key, 0}, 3});
    }
    int humanise(int vel) { return vel + (int)(rng.uni() * 10) - 5; }
    // MIDI key of scale degree index `idx` (0 = tonic) in octave offset.
    int key(int idx, int octave, int chordDeg) const {
        int o = idx >= 0 ? idx / 7 : -((-idx + 6) / 7);
        int s = idx - o * 7;
        int k = def.root + 12 * (o + octave) + def.scale[s];
        if (def.raiseV && chordDeg == 5 && s == 6) k += 1;  // leading tone over V
        return k;
    }
};

// Chords of one section: one degree per half bar.
static std::vector<int> chords(const char* s) {
    std::vector<int> out;
    while (*s) {
        while (*s == ' ') ++s;
        if (!*s) break;
        int a = *s - '0';
        ++s;
        int b = a;
        if (*s == '/') {
            b = s[1] - '0';
            s += 2;
        }
        out.push_back(a);
        out.push_back(b);
    }
    return out;
}

static bool chord_tone(int idx, int deg) {
    int r = ((idx - (deg - 1)) % 7 + 7) % 7;
    return r == 0 || r == 2 || r == 4;
}

// Rhythm cells of one bar: 'x' onset, '-' hold, '.' rest (sixteenths).
static const char* kRhythms[] = {
    "x-x-x---x-x-x---", "x--x--x-x---x-x-", "x-xxx-x-x---x---", "x---x-x-x-x-x---",
    "x-x-x-x-x-x-x-x-", "x--x--x---x-x-x-", "x-----x-x-x-x---", "x---x---x--xx---",
    "x-x---x-x-xxx---", "x--x--x-x-x-x-x-",
};
static const char* kCadences[] = {"x-x-x-----------", "x---------------", "x-x-x---x-------",
                                  "x--x--x---------"};

struct Motif {
    const char* rhythm;
    int steps[16];  // scale steps between successive notes
};

static Motif make_motif(Rng& r, bool calm) {
    Motif m;
    m.rhythm = kRhythms[r.next() % (calm ? 4 : 10)];
    for (int i = 0; i < 16; ++i) {
        double u = r.uni();
        m.steps[i] = u < 0.3 ? 1 : u < 0.55 ? -1 : u < 0.7 ? 2 : u < 0.85 ? -2 : u < 0.93 ? 0 : 3;
    }
    return m;
}

// Melody of one bar from a motif, starting near `cur`; returns the last
// degree index played.
static int play_bar(Song& s, int ch, uint32_t t0, const char* rhythm, const Motif& m,
                    int cur, int deg, int deg2, int lo, int hi, int vel, int octave,
                    int cadenceTo) {
    int count = 0;
    for (int i = 0; i < 16; ++i) {
        if (rhythm[i] != 'x') continue;
        int len = 1;
        while (i + len < 16 && rhythm[i + len] == '-') ++len;
        int d = i < 8 ? deg : deg2;
        if (count > 0) cur += m.steps[(count - 1) % 16];
        if (cur > hi) cur -= 2 * (cur - hi);
        if (cur < lo) cur += 2 * (lo - cur);
        bool strong = (i % 4) == 0;
        if (strong && !chord_tone(cur, d)) cur += chord_tone(cur + 1, d) ? 1 : -1;
        bool last = true;
        for (int j = i + 1; j < 16; ++j)
            if (rhythm[j] == 'x') last = false;
        if (last && cadenceTo >= 0) {
            // Land on the nearest tone of the target degree.
            int best = cur, bd = 99;
            for (int c = lo; c <= hi; ++c)
                if (((c - cadenceTo) % 7 + 7) % 7 == 0 && std::abs(c - cur) < bd) {
                    bd = std::abs(c - cur);
                    best = c;
                }
            cur = best;
        }
        int v = vel + (strong ? 8 : 0);
        s.note(ch, t0 + i * kStep, len * kStep - kStep / 8, s.key(cur, octave, d), s.humanise(v));
        ++count;
    }
    return cur;
}

static void chord_notes(const Song& s, int deg, int oct, int out[3]) {
    for (int k = 0; k < 3; ++k) out[k] = s.key(deg - 1 + 2 * k, oct, deg);
}

// The inversion of the chord nearest to the previous voicing, kept in the
// range around middle C, so the harmony moves by small steps.
static void voice_lead(Song& s, int deg, int out[3]) {
    int best[3] = {0, 0, 0}, bestCost = 1 << 30;
    for (int inv = 0; inv < 3; ++inv)
        for (int oct = -2; oct <= 0; ++oct) {
            int v[3];
            for (int k = 0; k < 3; ++k) {
                int idx = deg - 1 + 2 * ((k + inv) % 3);
                v[k] = s.key(idx, oct + ((k + inv) >= 3 ? 1 : 0), deg);
            }
            if (v[0] < 50 || v[2] > 72) continue;
            int cost = 0;
            for (int k = 0; k < 3; ++k) cost += s.voicing[0] ? std::abs(v[k] - s.voicing[k]) : std::abs(v[k] - 60);
            if (cost < bestCost) {
                bestCost = cost;
                for (int k = 0; k < 3; ++k) best[k] = v[k];
            }
        }
    if (bestCost == 1 << 30) chord_notes(s, deg, -1, best);
    for (int k = 0; k < 3; ++k) out[k] = s.voicing[k] = best[k];
}

static void harmony_bar(Song& s, uint32_t t0, int d1, int d2, int vel, bool sparse) {
    int n[3];
    for (int half = 0; half < 2; ++half) {
        int d = half ? d2 : d1;
        uint32_t th = t0 + half * kBar / 2;
        if (half == 0 || d1 != d2) voice_lead(s, d, n);
        switch (s.def.harmStyle) {
        case kHarmPad:
            if (half == 0 || d1 != d2)
                for (int k = 0; k < 3; ++k)
                    s.note(CH_HARM, th, (d1 == d2 ? kBar : kBar / 2) - 10, n[k], vel - 10);
            break;
        case kHarmStabs: {
            static const char* pat = "x.x.x.xx";
            for (int i = 0; i < 8; ++i)
                if (pat[i] == 'x' && !(sparse && i % 4))
                    for (int k = 0; k < 3; ++k)
                        s.note(CH_HARM, th + i * kStep, kStep - 20, n[k], s.humanise(vel - (i % 2) * 12));
            break;
        }
        case kHarmPower: {
            int r = s.key(d - 1, -2, d);
            for (int i = 0; i < 4; ++i) {
                if (sparse && i % 2) continue;
                int v = s.humanise(vel - (i % 2 ? 14 : 0));
                s.note(CH_HARM, th + i * 2 * kStep, 2 * kStep - 30, r, v);
                s.note(CH_HARM, th + i * 2 * kStep, 2 * kStep - 30, r + 7, v - 6);
                s.note(CH_HARM, th + i * 2 * kStep, 2 * kStep - 30, r + 12, v - 10);
            }
            break;
        }
        }
    }
}

static void arp_bar(Song& s, uint32_t t0, int d1, int d2, int vel) {
    static const int shape[8] = {0, 1, 2, 3, 4, 3, 2, 1};
    for (int i = 0; i < 16; ++i) {
        int d = i < 8 ? d1 : d2;
        int idx = d - 1 + 2 * shape[i % 8];
        s.note(CH_ARP, t0 + i * kStep, kStep - 15, s.key(idx, 0, d), s.humanise(vel - (i % 4 ? 10 : 0)));
    }
}

static void bass_bar(Song& s, uint32_t t0, int d1, int d2, int nextDeg, int vel) {
    for (int i = 0; i < 16; ++i) {
        int d = i < 8 ? d1 : d2;
        int root = s.key(d - 1, -2, d);
        int k = -1, len = 2;
        switch (s.def.bassStyle) {
        case kBassEighths:
            if (i % 2 == 0) k = (i % 4 == 2 && i > 8) ? root + 12 : root;
            break;
        case kBassDrive:
            if (i % 2 == 0) k = root;
            if (i == 14 && nextDeg > 0) k = s.key(nextDeg - 1, -2, nextDeg) + ((nextDeg > d2) ? -1 : 1);
            break;
        case kBassSync: {
            static const char* p = "x..x..x.x.xx..x.";
            static const int iv[16] = {0, 0, 0, 12, 0, 0, 7, 0, 0, 0, 12, 10, 0, 0, 7, 0};
            if (p[i] == 'x') k = root + iv[i];
            len = 1;
            break;
        }
        case kBassLong:
            if (i == 0 || i == 8) { k = root; len = 6; }
            if (i == 14) { k = root + 7; len = 2; }
            break;
        }
        if (k >= 0) s.note(CH_BASS, t0 + i * kStep, len * kStep - 20, k, s.humanise(vel));
    }
}

static void drum_bar(Song& s, uint32_t t0, bool crash, bool fill, bool light, int bar) {
    auto hit = [&](int step, int k, int v) { s.note(CH_DRUM, t0 + step * kStep, kStep / 2, k, s.humanise(v)); };
    if (crash) hit(0, CRASH, 110);
    int last = fill ? 8 : 16;
    for (int i = 0; i < last; ++i) {
        switch (s.def.drums) {
        case kDrumRock:
            if (i == 0 || i == 8 || (i == 10 && bar % 2)) hit(i, KICK, 112);
            if (i == 4 || i == 12) hit(i, SNARE, 110);
            if (i % 2 == 0) hit(i, s.sectionB ? RIDE : HAT, i % 4 ? 70 : 88);
            break;
        case kDrumDrive:
            if (i == 0 || i == 3 || i == 8 || i == 11) hit(i, KICK, 114);
            if (i == 4 || i == 12) hit(i, SNARE, 112);
            if (!light || i % 2 == 0) hit(i, i == 14 && bar % 2 ? OPENHAT : s.sectionB && i % 2 == 0 ? RIDE : HAT, i % 2 ? 60 : 85);
            break;
        case kDrumMetal:
            if (!light || i % 4 == 0) {
                if (i % 2 == 0 || bar % 4 == 3) hit(i, KICK, i % 4 ? 96 : 116);
            }
            if (i == 4 || i == 12) hit(i, SNARE, 116);
            if (i % 4 == 0) hit(i, i % 8 ? HAT : RIDE, 90);
            break;
        case kDrumHalf:
            if (i == 0 || i == 11) hit(i, KICK, 104);
            if (i == 8) hit(i, SNARE, 100);
            if (i % 2 == 0) hit(i, RIDE, i % 4 ? 58 : 74);
            if (i == 14 && !light) hit(i, CLAP, 70);
            break;
        case kDrumEpic:
            if (i == 0 || i == 6 || i == 8 || (i == 14 && bar % 2)) hit(i, KICK, 112);
            if (i == 4 || i == 12) hit(i, SNARE, 114);
            if (i % 2 == 0) hit(i, s.sectionB ? RIDE : HAT, i % 4 ? 66 : 84);
            if (s.sectionB && i == 12 && bar % 2) hit(i, CLAP, 90);
            if (!light && (i == 7 || i == 15)) hit(i, TOM_LO, 80);
            break;
        }
    }
    if (fill) {
        static const int toms[8] = {SNARE, SNARE, TOM_HI, TOM_HI, TOM_MID, TOM_MID, TOM_LO, TOM_LO};
        for (int i = 8; i < 16; ++i) {
            hit(i, toms[i - 8], 80 + (i - 8) * 5);
            if (i % 4 == 0) hit(i, KICK, 110);
        }
    }
}

// Writes one track chunk.
static void put_track(std::vector<uint8_t>& f, std::vector<Ev>& ev, uint32_t end) {
    std::stable_sort(ev.begin(), ev.end(), [](const Ev& a, const Ev& b) {
        return a.tick != b.tick ? a.tick < b.tick : a.order < b.order;
    });
    std::vector<uint8_t> d;
    uint32_t now = 0;
    auto vlq = [&](uint32_t v) {
        uint8_t b[5];
        int n = 0;
        b[n++] = v & 0x7F;
        while (v >>= 7) b[n++] = 0x80 | (v & 0x7F);
        while (n) d.push_back(b[--n]);
    };
    for (const Ev& e : ev) {
        vlq(e.tick - now);
        now = e.tick;
        d.insert(d.end(), e.d, e.d + e.len);
    }
    vlq(end - now);
    d.insert(d.end(), {0xFF, 0x2F, 0x00});
    f.insert(f.end(), {'M', 'T', 'r', 'k'});
    uint32_t n = (uint32_t)d.size();
    f.insert(f.end(), {(uint8_t)(n >> 24), (uint8_t)(n >> 16), (uint8_t)(n >> 8), (uint8_t)n});
    f.insert(f.end(), d.begin(), d.end());
}

static void ctl(std::vector<Ev>& t, int ch, int c, int v) {
    t.push_back({0, -1, {(uint8_t)(0xB0 | ch), (uint8_t)c, (uint8_t)v}, 3});
}

bool compose_song(const SongDef& def, const std::string& path) {
    Song s(def);
    std::vector<int> ci = chords(def.intro), ca = chords(def.a), cb = chords(def.b),
                     co = chords(def.outro);
    const int nIntro = (int)ci.size() / 2, nA = (int)ca.size() / 2, nB = (int)cb.size() / 2,
              nOut = (int)co.size() / 2;
    const int bars = nIntro + 2 * nA + nB + nOut;
    s.end = (uint32_t)bars * kBar;
    bool calm = def.bpm < 120;

    Motif ma = make_motif(s.rng, calm), ma2 = make_motif(s.rng, calm), mb = make_motif(s.rng, calm),
          mb2 = make_motif(s.rng, calm);
    int lo = 0, hi = 11;
    // Sections in order: intro, A, B, A', outro.
    struct Sec { const std::vector<int>* c; int n; int kind; };
    const Sec secs[5] = {{&ci, nIntro, 0}, {&ca, nA, 1}, {&cb, nB, 2}, {&ca, nA, 3}, {&co, nOut, 4}};
    uint32_t t = 0;
    int cur = 4;
    int barNo = 0;
    for (const Sec& sec : secs) {
        const std::vector<int>& c = *sec.c;
        for (int b = 0; b < sec.n; ++b, ++barNo, t += kBar) {
            int d1 = c[2 * b], d2 = c[2 * b + 1];
            int next = b + 1 < sec.n ? c[2 * b + 2] : 1;
            s.sectionB = sec.kind == 2;
            bool lastBar = b == sec.n - 1;
            // Drums: the intro builds up, every section opens with a crash and
            // closes with a fill.
            bool drumsOn = sec.kind != 0 || b >= sec.n / 2;
            if (drumsOn)
                drum_bar(s, t, b == 0 && sec.kind != 0, lastBar, sec.kind == 0 || (calm && sec.kind == 2), barNo);
            bass_bar(s, t, d1, d2, next, sec.kind == 0 && b < 2 ? 80 : 100);
            harmony_bar(s, t, d1, d2, sec.kind == 2 ? 92 : 84, sec.kind == 0 || sec.kind == 4);
            if (sec.kind == 0 || sec.kind == 2 || sec.kind == 3) arp_bar(s, t, d1, d2, sec.kind == 3 ? 62 : 72);
            // Melody.
            if (sec.kind == 1 || sec.kind == 3 || sec.kind == 2) {
                bool isB = sec.kind == 2;
                const Motif& m1 = isB ? mb : ma;
                const Motif& m2 = isB ? mb2 : ma2;
                int phraseBar = b % 8;
                const char* rh = phraseBar == 1 || phraseBar == 5 ? m2.rhythm : m1.rhythm;
                const Motif& m = phraseBar == 1 || phraseBar == 5 ? m2 : m1;
                int cad = -1;
                if (phraseBar == 3) { rh = kCadences[(def.seed + b) % 4]; cad = 4; }
                if (phraseBar == 7) { rh = kCadences[(def.seed + 1) % 2 == 0 ? 1 : 2]; cad = 0; }
                if (phraseBar == 0 || phraseBar == 4) cur = isB ? 7 : 4;
                int octave = def.leadOctave + (isB ? 0 : 0);
                int vel = sec.kind == 3 ? 108 : 100;
                int before = cur;
                cur = play_bar(s, CH_LEAD, t, rh, m, cur, d1, d2, lo + (isB ? 2 : 0), hi + (isB ? 2 : 0),
                               vel, octave, cad);
                if (sec.kind == 3) {
                    // A': a second voice a third below doubles the tune.
                    play_bar(s, CH_LEAD2, t, rh, m, before - 2, d1, d2, lo - 2, hi - 2, 78, octave, cad < 0 ? -1 : cad + 5);
                }
            } else if (sec.kind == 4) {
                // Outro: long tones over the turnaround.
                int k[3];
                chord_notes(s, d1, def.leadOctave, k);
                s.note(CH_LEAD, t, kBar - 60, k[b % 2 ? 1 : 2], 90);
            }
        }
    }

    // Assemble the file: track 0 tempo and metre, then one track per part.
    std::vector<uint8_t> f = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 1, 0, 7, kPPQ >> 8, kPPQ & 255};
    std::vector<Ev> meta;
    uint32_t us = 60000000u / (uint32_t)def.bpm;
    meta.push_back({0, -2, {0xFF, 0x51, 0x03, (uint8_t)(us >> 16), (uint8_t)(us >> 8), (uint8_t)us}, 6});
    meta.push_back({0, -2, {0xFF, 0x58, 0x04, 0x04, 0x02, 0x18, 0x08}, 7});
    put_track(f, meta, s.end);
    const int progs[6] = {def.lead, def.harm, def.bass, def.arp, def.lead, 0};
    const int chans[6] = {CH_LEAD, CH_HARM, CH_BASS, CH_ARP, CH_LEAD2, CH_DRUM};
    const int vols[6] = {100, 82, 104, 66, 76, 110};
    const int pans[6] = {64, 44, 64, 88, 76, 64};
    for (int tr = 0; tr < 6; ++tr) {
        std::vector<Ev>& ev = s.tracks[tr];
        int ch = chans[tr];
        if (ch != CH_DRUM) ev.push_back({0, -2, {(uint8_t)(0xC0 | ch), (uint8_t)progs[tr], 0}, 2});
        ctl(ev, ch, 7, std::min(127, (int)(vols[tr] * def.level + 0.5)));
        ctl(ev, ch, 10, pans[tr]);
        ctl(ev, ch, 91, ch == CH_DRUM ? 30 : 50);
        put_track(f, ev, s.end);
    }
    if (!make_dirs_for(path)) return false;
    FILE* fp = std::fopen(path.c_str(), "wb");
    if (!fp) return false;
    bool ok = std::fwrite(f.data(), 1, f.size(), fp) == f.size();
    return std::fclose(fp) == 0 && ok;
}

}  // namespace qsassets
