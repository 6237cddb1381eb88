// The 17 sound effects, synthesised: explosions from filtered noise and
// falling thumps, chirps for guns and lasers, chimes and arpeggios for
// pickups, a siren for the boss warning and thunder for the title.
#include <cmath>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include "audio.h"
#include "core.h"

namespace qsassets {

static const int kRate = 44100;

struct Buf {
    std::vector<double> s;
    explicit Buf(double seconds) : s((size_t)(seconds * kRate), 0.0) {}
    size_t n() const { return s.size(); }
};

// One-pole low-pass whose cut-off may change per sample.
struct LowPass {
    double y = 0;
    double run(double x, double hz) {
        double a = 1.0 - std::exp(-2.0 * M_PI * hz / kRate);
        y += a * (x - y);
        return y;
    }
};
// State-variable band-pass.
struct BandPass {
    double lp = 0, bp = 0;
    double run(double x, double hz, double q) {
        double f = 2.0 * std::sin(M_PI * std::min(hz, kRate / 6.0) / kRate);
        double hp = x - lp - bp / q;
        bp += f * hp;
        lp += f * bp;
        return bp;
    }
};

struct Noise {
    Rng r;
    explicit Noise(uint32_t seed) : r(seed) {}
    double next() { return r.uni() * 2.0 - 1.0; }
};

static double env_exp(double t, double decay) { return std::exp(-t / decay); }
static double saw(double ph) { return 2.0 * (ph - std::floor(ph + 0.5)); }
static double sq(double ph, double duty = 0.5) { return (ph - std::floor(ph)) < duty ? 1.0 : -1.0; }

// Adds an explosion: noise through a closing low-pass plus a falling thump.
static void boom(Buf& b, double start, double len, double bright, double thumpHz,
                 double amp, uint32_t seed) {
    Noise nz(seed);
    LowPass lp1, lp2;
    double ph = 0;
    size_t i0 = (size_t)(start * kRate);
    for (size_t i = i0; i < b.n(); ++i) {
        double t = (i - i0) / (double)kRate;
        if (t > len) break;
        double cut = 80 + bright * std::exp(-t / (len * 0.25));
        double n = lp2.run(lp1.run(nz.next(), cut), cut * 1.5);
        double crackle = (nz.r.uni() < 0.002 * std::exp(-t / (len * 0.3))) ? nz.next() * 0.8 : 0;
        double f = thumpHz * (0.45 + 0.55 * std::exp(-t / 0.12));
        ph += f / kRate;
        double thump = std::sin(2 * M_PI * ph) * env_exp(t, 0.18);
        double e = std::min(1.0, t / 0.004) * std::pow(1.0 - t / len, 1.6);
        b.s[i] += amp * e * (2.2 * n + 0.9 * thump + crackle);
    }
}

static void tone(Buf& b, double start, double len, double hz0, double hz1, double amp,
                 std::function<double(double)> wave, double decay) {
    size_t i0 = (size_t)(start * kRate);
    double ph = 0;
    for (size_t i = i0; i < b.n(); ++i) {
        double t = (i - i0) / (double)kRate;
        if (t > len) break;
        double f = hz0 * std::pow(hz1 / hz0, t / len);
        ph += f / kRate;
        double e = std::min(1.0, t / 0.003) * env_exp(t, decay) * std::min(1.0, (len - t) / 0.01);
        b.s[i] += amp * e * wave(ph);
    }
}

static auto sine = [](double ph) { return std::sin(2 * M_PI * ph); };

// Fades the ends, scales the peak to `gain` x -1.5 dBFS and converts to 16
// bits.
static std::vector<int16_t> finish(Buf& b, double gain) {
    double peak = 1e-9;
    size_t fin = (size_t)(0.004 * kRate), fout = (size_t)(0.012 * kRate);
    for (size_t i = 0; i < b.n(); ++i) {
        double g = 1.0;
        if (i < fin) g = (double)i / fin;
        if (b.n() - 1 - i < fout) g = std::min(g, (double)(b.n() - 1 - i) / fout);
        b.s[i] *= g;
        peak = std::max(peak, std::fabs(b.s[i]));
    }
    double k = 0.84 * gain * 32767.0 / peak;
    std::vector<int16_t> out(b.n());
    for (size_t i = 0; i < b.n(); ++i) out[i] = (int16_t)std::lround(b.s[i] * k);
    return out;
}

static Buf fx_explo1() {
    Buf b(0.6);
    boom(b, 0, 0.6, 3500, 110, 1.0, 11);
    return b;
}
static Buf fx_firehit() {
    Buf b(0.13);
    tone(b, 0, 0.13, 1100, 280, 0.8, [](double p) { return sq(p, 0.3); }, 0.05);
    Noise nz(2);
    for (size_t i = 0; i < 600; ++i) b.s[i] += nz.next() * 0.5 * (1.0 - i / 600.0);
    return b;
}
static Buf fx_thruster() {
    Buf b(1.8);
    Noise nz(3);
    LowPass lp;
    BandPass bp;
    double ph = 0;
    for (size_t i = 0; i < b.n(); ++i) {
        double t = i / (double)kRate;
        double swell = std::sin(M_PI * std::min(1.0, t / 1.8));
        double roar = lp.run(nz.next(), 300 + 900 * swell);
        double hiss = bp.run(nz.next(), 1500 + 2500 * swell, 2.0) * 0.25;
        ph += (45 + 30 * t) / kRate;
        b.s[i] = swell * (2.5 * roar + hiss + 0.35 * saw(ph) * (0.6 + 0.4 * std::sin(t * 40)));
    }
    return b;
}
static Buf fx_bom2() {
    Buf b(1.3);
    boom(b, 0, 1.3, 2200, 70, 1.0, 4);
    boom(b, 0.09, 1.0, 1200, 50, 0.6, 44);
    return b;
}
static Buf fx_laser() {
    Buf b(0.95);
    BandPass bp;
    double ph = 0, ph2 = 0;
    for (size_t i = 0; i < b.n(); ++i) {
        double t = i / (double)kRate;
        double f = 180 * std::pow(10.0, t / 0.95) * (1 + 0.03 * std::sin(t * 2 * M_PI * 14));
        ph += f / kRate;
        ph2 += f * 2.01 / kRate;
        double v = saw(ph) * 0.6 + std::sin(2 * M_PI * ph2) * 0.4;
        double e = std::min(1.0, t / 0.02) * std::pow(1.0 - t / 0.95, 0.7);
        b.s[i] = e * (0.5 * v + bp.run(v, f * 1.5, 3.0));
    }
    return b;
}
static Buf fx_lasergun() {
    Buf b(0.22);
    double ph = 0, mph = 0;
    for (size_t i = 0; i < b.n(); ++i) {
        double t = i / (double)kRate;
        double f = 2200 * std::exp(-t / 0.07) + 380;
        mph += f * 1.5 / kRate;
        ph += f / kRate + 0.004 * std::sin(2 * M_PI * mph);
        b.s[i] = std::sin(2 * M_PI * ph) * env_exp(t, 0.07) * std::min(1.0, t / 0.002);
    }
    return b;
}
static Buf fx_warning() {
    Buf b(2.1);
    double ph = 0;
    LowPass lp;
    for (size_t i = 0; i < b.n(); ++i) {
        double t = i / (double)kRate;
        double cyc = std::fmod(t, 0.52) / 0.52;
        double f = cyc < 0.5 ? 740 : 554;
        f *= 1.0 + 0.012 * std::sin(t * 2 * M_PI * 6);
        ph += f / kRate;
        double v = lp.run(sq(ph) * 0.7 + saw(ph * 0.5) * 0.3, 2600);
        double gate = std::min(1.0, std::min(cyc, 1 - cyc) * 40);
        double e = std::min(1.0, t / 0.05) * std::min(1.0, (2.1 - t) / 0.15);
        b.s[i] = v * e * (0.75 + 0.25 * gate);
    }
    return b;
}
static Buf fx_coin() {
    Buf b(0.32);
    auto bell = [](double p) { return std::sin(2 * M_PI * p) + 0.35 * std::sin(2 * M_PI * p * 2.76); };
    tone(b, 0, 0.08, 1975, 1975, 0.6, bell, 0.05);
    tone(b, 0.06, 0.26, 2637, 2637, 0.7, bell, 0.09);
    return b;
}
static Buf fx_fly() {
    Buf b(0.4);
    Noise nz(9);
    BandPass bp;
    for (size_t i = 0; i < b.n(); ++i) {
        double t = i / (double)kRate;
        double f = 400 * std::pow(8.0, t / 0.4);
        double e = std::sin(M_PI * t / 0.4);
        b.s[i] = bp.run(nz.next(), f, 4.0) * e;
    }
    tone(b, 0.0, 0.35, 300, 900, 0.12, sine, 0.2);
    return b;
}
static Buf fx_powerup() {
    Buf b(1.0);
    const double notes[] = {523.25, 659.25, 783.99, 1046.5, 1318.5, 1568.0, 2093.0};
    for (int k = 0; k < 7; ++k)
        tone(b, k * 0.075, k == 6 ? 0.45 : 0.16, notes[k], notes[k], 0.45,
             [](double p) { return 0.6 * sq(p, 0.25) + 0.4 * std::sin(2 * M_PI * p); },
             k == 6 ? 0.2 : 0.08);
    return b;
}
static Buf fx_msgtype() {
    Buf b(0.07);
    tone(b, 0, 0.07, 1250, 1100, 0.6, [](double p) { return sq(p, 0.5); }, 0.02);
    Noise nz(12);
    for (size_t i = 0; i < 120; ++i) b.s[i] += nz.next() * 0.6;
    return b;
}
static Buf fx_tunder() {
    Buf b(2.6);
    Noise nz(13);
    LowPass lp1, lp2;
    Rng r(77);
    double rumbleAmp = 0, target = 1;
    for (size_t i = 0; i < b.n(); ++i) {
        double t = i / (double)kRate;
        if (i % 2205 == 0) target = 0.35 + 0.65 * r.uni();
        rumbleAmp += (target - rumbleAmp) * 0.0008;
        double crack = nz.next() * std::exp(-t / 0.05) * 1.4;
        double rumble = lp2.run(lp1.run(nz.next(), 260), 400) * 4.5 * rumbleAmp;
        double e = std::min(1.0, t / 0.002) * std::pow(1.0 - t / 2.6, 1.3);
        b.s[i] = e * (crack + rumble * std::min(1.0, t / 0.08));
    }
    return b;
}
static Buf fx_bullet() {
    Buf b(0.07);
    tone(b, 0, 0.07, 1500, 700, 0.35, [](double p) { return sq(p, 0.125); }, 0.025);
    Noise nz(14);
    BandPass bp;
    for (size_t i = 0; i < b.n(); ++i) {
        double t = i / (double)kRate;
        b.s[i] += bp.run(nz.next(), 5000, 1.5) * env_exp(t, 0.012) * 0.8;
    }
    return b;
}
static Buf fx_pow() {
    Buf b(0.5);
    double ph = 0, ph2 = 0;
    for (size_t i = 0; i < b.n(); ++i) {
        double t = i / (double)kRate;
        double f = 300 * std::pow(4.0, t / 0.35);
        if (t > 0.35) f = 1200;
        ph += f / kRate;
        ph2 += f * 1.5 / kRate;
        double trem = 0.7 + 0.3 * std::sin(t * 2 * M_PI * 24);
        double e = std::min(1.0, t / 0.005) * (t > 0.35 ? std::exp(-(t - 0.35) / 0.05) : 1.0);
        b.s[i] = e * trem * (0.6 * sq(ph, 0.25) + 0.4 * sq(ph2, 0.5));
    }
    return b;
}
static Buf fx_blow() {
    Buf b(1.6);
    boom(b, 0, 1.6, 4000, 80, 1.0, 15);
    boom(b, 0.12, 1.4, 1800, 55, 0.7, 16);
    boom(b, 0.3, 1.2, 900, 40, 0.5, 17);
    return b;
}
static Buf fx_trash() {
    Buf b(0.35);
    // Metallic clank (inharmonic partials) over a low thoom.
    const double parts[] = {523, 1187, 1703, 2467};
    for (int k = 0; k < 4; ++k) tone(b, 0, 0.3, parts[k], parts[k] * 0.97, 0.25, sine, 0.04 + 0.02 * k);
    tone(b, 0, 0.35, 140, 55, 0.9, sine, 0.12);
    return b;
}
static Buf fx_blow2() {
    Buf b(2.6);
    boom(b, 0, 2.6, 3000, 60, 1.0, 18);
    boom(b, 0.25, 2.3, 1500, 45, 0.8, 19);
    boom(b, 0.6, 1.9, 800, 35, 0.7, 20);
    tone(b, 0, 2.5, 90, 30, 0.35, sine, 1.2);
    return b;
}

bool make_effects(const std::string& outDir) {
    typedef Buf (*Fx)();
    const Fx fx[kSoundCount] = {fx_explo1, fx_firehit, fx_thruster, fx_bom2, fx_laser, fx_lasergun,
                                fx_warning, fx_coin, fx_fly, fx_powerup, fx_msgtype, fx_tunder,
                                fx_bullet, fx_pow, fx_blow, fx_trash, fx_blow2};
    // Loudness in the mix: the effects heard many times a second (the
    // player's volley, enemy gunfire and lasers) sit lower than the rare
    // big moments.
    const double gain[kSoundCount] = {1.0, 0.5, 0.9, 1.0, 0.8, 0.5, 0.7, 0.65, 0.7,
                                      0.8, 0.55, 1.0, 0.4, 0.7, 1.0, 0.8, 1.0};
    bool ok = true;
    for (int i = 0; i < kSoundCount; ++i) {
        Buf b = fx[i]();
        std::string path = outDir + "/" + kSounds[i].file;
        if (!write_wav(path, kRate, finish(b, gain[i]))) {
            std::fprintf(stderr, "assetgen: cannot write %s\n", path.c_str());
            ok = false;
        }
    }
    return ok;
}

bool write_wav(const std::string& path, int rate, const std::vector<int16_t>& pcm) {
    std::vector<uint8_t> f(44 + pcm.size() * 2, 0);
    auto p32 = [&](size_t at, uint32_t v) {
        for (int k = 0; k < 4; ++k) f[at + k] = (v >> (8 * k)) & 255;
    };
    auto p16 = [&](size_t at, uint32_t v) {
        f[at] = v & 255;
        f[at + 1] = (v >> 8) & 255;
    };
    auto tag = [&](size_t at, const char* t) {
        for (int k = 0; k < 4; ++k) f[at + k] = (uint8_t)t[k];
    };
    tag(0, "RIFF");
    p32(4, (uint32_t)f.size() - 8);
    tag(8, "WAVE");
    tag(12, "fmt ");
    p32(16, 16);
    p16(20, 1);                 // PCM
    p16(22, 1);                 // mono
    p32(24, (uint32_t)rate);
    p32(28, (uint32_t)rate * 2);
    p16(32, 2);
    p16(34, 16);
    tag(36, "data");
    p32(40, (uint32_t)pcm.size() * 2);
    for (size_t i = 0; i < pcm.size(); ++i) p16(44 + i * 2, (uint16_t)pcm[i]);
    if (!make_dirs_for(path)) return false;
    FILE* fp = std::fopen(path.c_str(), "wb");
    if (!fp) return false;
    bool ok = std::fwrite(f.data(), 1, f.size(), fp) == f.size();
    return std::fclose(fp) == 0 && ok;
}

}  // namespace qsassets
