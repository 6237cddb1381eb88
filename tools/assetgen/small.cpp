// The small enemies. Each kind has its own silhouette and colour: red dart
// fighters, purple pop-up gunners, green drones, orange and teal frigates,
// pink jellyfish pods, an olive rotor gunship, blue spinners, red homing
// darts, grey mines, gold ring drones, needle fighters and the heavy
// crimson fighter.
#include <cmath>
#include "parts.h"

namespace qsassets {

typedef void (*Frame)(cairo_t*, int f, int n);

// Draws every frame of column `col` with `fn`; `mirror` flips it to face right.
static void frames(Canvas& c, int col, Frame fn, bool mirror = false) {
    for (int f = 0; f < c.def->rows; ++f) {
        cell_begin(c, col, f);
        if (mirror) {
            cairo_translate(c.cr, c.def->cellw, 0);
            cairo_scale(c.cr, -1, 1);
        }
        fn(c.cr, f, c.def->rows);
        cell_end(c);
    }
}

static double wave(int f, int n, double k = 1) { return 0.5 + 0.5 * std::sin(2 * M_PI * k * f / n); }

// Red dart fighter, nose to the left.
static void dart(cairo_t* cr, int f, int n) {
    const Livery& L = kRed;
    exhaust(cr, 52, 32, 12, 6, hex(0xff8020), wave(f, n, 5));
    poly(cr, {24, 27, 44, 12, 52, 12, 44, 28});
    trim(cr, L, 12, 28);
    poly(cr, {24, 37, 44, 52, 52, 52, 44, 36});
    trim(cr, L, 36, 52);
    cairo_new_path(cr);
    cairo_move_to(cr, 6, 32);
    cairo_curve_to(cr, 16, 25, 34, 24, 54, 27);
    cairo_line_to(cr, 54, 37);
    cairo_curve_to(cr, 34, 40, 16, 39, 6, 32);
    cairo_close_path(cr);
    hull(cr, L, 24, 40);
    seam(cr, 30, 32, 52, 32, L.base);
    eye(cr, 24, 30.5, 3.4, L.glow, 1.0);
    if ((f / 2) % 2 == 0) {
        lamp(cr, 48, 13.5, 1.3, hex(0x80ffff));
        lamp(cr, 48, 50.5, 1.3, hex(0x80ffff));
    }
}

void art_zako1(Canvas& c) {
    frames(c, 0, dart);
    frames(c, 1, dart, true);
}

// Purple pop-up gunner: a round pod with a turning band and a gun.
static void gunner(cairo_t* cr, int f, int n) {
    const Livery& L = kPurple;
    barrel(cr, 22, 33, 16, 6, 180, hex(0xa0a8c0));
    sphere(cr, 34, 32, 20, L.light, L.base, L.dark);
    // Turning band of lights.
    cairo_save(cr);
    cairo_arc(cr, 34, 32, 20, 0, 2 * M_PI);
    cairo_clip(cr);
    ellipse(cr, 34, 32, 21, 5);
    set(cr, L.dark);
    cairo_fill(cr);
    for (int k = 0; k < 6; ++k) {
        double a = 2 * M_PI * (k / 6.0 + (double)f / n);
        double x = 34 + 18 * std::cos(a);
        if (std::sin(a) < 0) continue;
        lamp(cr, x, 32, 1.6, L.glow);
    }
    cairo_restore(cr);
    eye(cr, 26, 24, 3.5, hex(0xffffff), 0.6 + 0.4 * wave(f, n, 2));
    poly(cr, {42, 12, 56, 4, 52, 16});
    trim(cr, L, 4, 16);
    poly(cr, {42, 52, 56, 60, 52, 48});
    trim(cr, L, 48, 60);
}
void art_zako2(Canvas& c) { frames(c, 0, gunner); }

// Green braking drone.
static void drone(cairo_t* cr, int, int) {
    const Livery& L = kGreen;
    ellipse(cr, 34, 32, 24, 12);
    hull(cr, L, 20, 44);
    ellipse(cr, 34, 27, 14, 6);
    shade(cr, 21, 33, hex(0xe0ffe0), L.base, L.dark, pal::ink, 1.2);
    eye(cr, 22, 33, 5, hex(0xff3030));
    exhaust(cr, 56, 32, 8, 6, hex(0x80ff60), 1);
    rivets(cr, 30, 39, 50, 39, 5, L.base);
}
void art_zako3(Canvas& c) { frames(c, 0, drone); }

// Orange laser frigate with a long emitter prow.
static void frigate(cairo_t* cr, int f, int n) {
    const Livery& L = kOrange;
    exhaust(cr, 108, 52, 18, 12, hex(0x40c0ff), wave(f, n, 3));
    exhaust(cr, 108, 76, 18, 12, hex(0x40c0ff), wave(f, n, 3) * 0.7);
    poly(cr, {50, 40, 84, 14, 104, 14, 96, 44});
    trim(cr, L, 14, 44);
    poly(cr, {50, 88, 84, 114, 104, 114, 96, 84});
    trim(cr, L, 84, 114);
    cairo_new_path(cr);
    cairo_move_to(cr, 20, 64);
    cairo_line_to(cr, 46, 44);
    cairo_line_to(cr, 108, 40);
    cairo_line_to(cr, 110, 88);
    cairo_line_to(cr, 46, 84);
    cairo_close_path(cr);
    hull(cr, L, 40, 88);
    // Emitter prow.
    poly(cr, {4, 64, 24, 56, 40, 58, 40, 70, 24, 72});
    shade(cr, 56, 72, hex(0xe0e8ff), hex(0x6a7a98), hex(0x2a3048), pal::ink, 1.2);
    double charge = wave(f, n);
    glow(cr, 8, 64, 6 + 5 * charge, L.glow, 0.9);
    set(cr, pal::white);
    cairo_arc(cr, 8, 64, 2.5 + charge, 0, 2 * M_PI);
    cairo_fill(cr);
    seam(cr, 50, 64, 104, 64, L.base);
    rivets(cr, 56, 50, 100, 48, 6, L.base);
    eye(cr, 58, 56, 4, hex(0x60f0ff));
    // Rotating sensor dish on top.
    double a = 2 * M_PI * f / n;
    ellipse(cr, 78, 38, 10 * std::fabs(std::cos(a)) + 2, 4);
    shade(cr, 34, 42, hex(0xffffff), hex(0x9aa8c0), hex(0x3a4458), pal::ink, 1.0);
}
void art_zako4(Canvas& c) { frames(c, 0, frigate); }

// Teal twin-prong frigate with an arc between the prongs.
static void twin(cairo_t* cr, int f, int n) {
    const Livery& L = kTeal;
    exhaust(cr, 110, 64, 16, 16, hex(0xff70b0), wave(f, n, 4));
    for (int s = -1; s <= 1; s += 2) {
        double y = 64 + s * 22;
        poly(cr, {10, y, 30, y - 7, 90, y - 8 * s - 4, 90, y + 8 * s + 4, 30, y + 7});
        hull(cr, L, y - 10, y + 10);
        lamp(cr, 12, y, 2.0, L.glow);
    }
    cairo_new_path(cr);
    cairo_move_to(cr, 50, 50);
    cairo_curve_to(cr, 70, 30, 100, 34, 112, 52);
    cairo_line_to(cr, 112, 76);
    cairo_curve_to(cr, 100, 94, 70, 98, 50, 78);
    cairo_close_path(cr);
    hull(cr, L, 34, 94);
    // Crackling arc between the prongs.
    Rng r(31 + f);
    set(cr, hex(0xd0fff8));
    cairo_set_line_width(cr, 1.6);
    for (int k = 0; k < 2; ++k) {
        double x = 18 + r.uni() * 20;
        cairo_move_to(cr, x, 46);
        for (int j = 1; j <= 5; ++j) cairo_line_to(cr, x + r.range(-5, 5), 46 + j * 7.2);
        cairo_stroke(cr);
    }
    eye(cr, 70, 64, 7, L.trim, 0.5 + 0.5 * wave(f, n, 2));
    seam(cr, 78, 44, 104, 50, L.base);
    seam(cr, 78, 84, 104, 78, L.base);
}
void art_zako5(Canvas& c) { frames(c, 0, twin); }

// Pink jellyfish pod with waving tentacle thrusters.
static void jelly(cairo_t* cr, int f, int n) {
    const Livery& L = kPink;
    for (int k = 0; k < 5; ++k) {
        double x = 30 + k * 10;
        cairo_new_path(cr);
        cairo_move_to(cr, x, 52);
        for (int j = 1; j <= 8; ++j) {
            double y = 52 + j * 5;
            cairo_line_to(cr, x + 4 * std::sin(2 * M_PI * (f / (double)n + j * 0.12 + k * 0.3)), y);
        }
        set(cr, pal::ink);
        cairo_set_line_width(cr, 5);
        cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
        cairo_stroke_preserve(cr);
        set(cr, k % 2 ? L.base : L.light);
        cairo_set_line_width(cr, 2.6);
        cairo_stroke(cr);
        lamp(cr, x + 4 * std::sin(2 * M_PI * (f / (double)n + 0.96 + k * 0.3)), 92, 1.6, L.glow);
    }
    cairo_new_path(cr);
    cairo_move_to(cr, 18, 54);
    cairo_curve_to(cr, 18, 14, 82, 14, 82, 54);
    cairo_curve_to(cr, 70, 60, 30, 60, 18, 54);
    cairo_close_path(cr);
    hull(cr, L, 16, 60);
    ellipse(cr, 42, 32, 10, 6);
    set(cr, hex(0xffffff), 0.7);
    cairo_fill(cr);
    eye(cr, 50, 46, 5, hex(0x80ffff), 0.5 + 0.5 * wave(f, n, 1));
}
void art_zako6(Canvas& c) { frames(c, 0, jelly); }

// Olive rotor gunship; the rotor turns a little each frame.
static void rotor(cairo_t* cr, int f, int n) {
    const Livery& L = kOlive;
    // Tail boom.
    poly(cr, {80, 70, 140, 62, 142, 72, 84, 84});
    hull(cr, L, 62, 84);
    poly(cr, {126, 46, 140, 46, 144, 66, 132, 66});
    trim(cr, L, 46, 66);
    // Body.
    cairo_new_path(cr);
    cairo_move_to(cr, 14, 84);
    cairo_curve_to(cr, 14, 60, 40, 48, 70, 50);
    cairo_curve_to(cr, 96, 52, 100, 76, 96, 96);
    cairo_curve_to(cr, 70, 104, 30, 102, 14, 84);
    cairo_close_path(cr);
    hull(cr, L, 48, 104);
    // Canopy.
    cairo_new_path(cr);
    cairo_move_to(cr, 18, 80);
    cairo_curve_to(cr, 20, 64, 36, 58, 48, 60);
    cairo_line_to(cr, 46, 80);
    cairo_close_path(cr);
    shade(cr, 58, 80, hex(0xe0ffff), hex(0x40a8d0), hex(0x103050), pal::ink, 1.2);
    // Gun pods and skids.
    barrel(cr, 40, 98, 30, 6, 180, hex(0x8a8a7a));
    set(cr, pal::ink);
    cairo_set_line_width(cr, 3);
    cairo_move_to(cr, 28, 112);
    cairo_line_to(cr, 92, 112);
    cairo_stroke(cr);
    seam(cr, 56, 70, 92, 72, L.base);
    rivets(cr, 54, 92, 90, 92, 5, L.base);
    // Rotor mast and blades.
    cairo_rectangle(cr, 62, 38, 8, 12);
    hull(cr, L, 38, 50);
    double a = 2 * M_PI * f / n;
    for (int k = 0; k < 3; ++k) {
        double b = a + k * 2 * M_PI / 3;
        double len = 64 * std::cos(b);
        set(cr, k == 0 ? hex(0x3a3a30) : hex(0x5a5a48));
        cairo_save(cr);
        cairo_translate(cr, 66, 36);
        cairo_scale(cr, 1, 0.16);
        cairo_set_line_width(cr, 6 / 0.16 * 0.16);
        cairo_restore(cr);
        cairo_set_line_width(cr, 3.5);
        cairo_move_to(cr, 66, 36);
        cairo_line_to(cr, 66 + len, 36 + 4 * std::sin(b));
        cairo_stroke(cr);
    }
    lamp(cr, 66, 36, 2.2, L.glow);
    if (f % 2) lamp(cr, 140, 50, 1.5, hex(0xff4040));
}
void art_zako7(Canvas& c) { frames(c, 0, rotor); }

// Blue four-bladed spinner.
static void spinner(cairo_t* cr, int f, int n) {
    const Livery& L = kBlue;
    cairo_save(cr);
    cairo_translate(cr, 32, 32);
    cairo_rotate(cr, (M_PI / 2) * f / n);
    for (int k = 0; k < 4; ++k) {
        cairo_save(cr);
        cairo_rotate(cr, k * M_PI / 2);
        cairo_move_to(cr, 0, -6);
        cairo_curve_to(cr, 14, -14, 26, -8, 28, 0);
        cairo_curve_to(cr, 18, -2, 8, 2, 0, 6);
        cairo_close_path(cr);
        hull(cr, L, -14, 6);
        cairo_restore(cr);
    }
    cairo_restore(cr);
    sphere(cr, 32, 32, 10, L.light, L.base, L.dark);
    eye(cr, 32, 32, 4.5, L.trim);
}
void art_zako8(Canvas& c) { frames(c, 0, spinner); }

// Red homing dart: a spiked ball whose core pulses fast.
static void homer(cairo_t* cr, int f, int n) {
    const Livery& L = kCrimson;
    cairo_save(cr);
    cairo_translate(cr, 32, 32);
    cairo_rotate(cr, 2 * M_PI * f / n / 3);
    for (int k = 0; k < 8; ++k) {
        cairo_save(cr);
        cairo_rotate(cr, k * M_PI / 4);
        poly(cr, {-4, -12, 0, -27, 4, -12});
        shade(cr, -27, -12, hex(0xffffff), L.trim, scale(L.trim, 0.45), pal::ink, 1.0);
        cairo_restore(cr);
    }
    cairo_restore(cr);
    sphere(cr, 32, 32, 14, L.light, L.base, L.dark);
    double p = wave(f, n, 5);
    glow(cr, 32, 32, 6 + 4 * p, L.glow, 1.0);
    set(cr, pal::white);
    cairo_arc(cr, 32, 32, 2.5 + 1.5 * p, 0, 2 * M_PI);
    cairo_fill(cr);
}
void art_zako9(Canvas& c) { frames(c, 0, homer); }

// Grey space mine with studs and a blinking lamp.
static void mine(cairo_t* cr, int f, int n) {
    const Livery& L = kSteel;
    double a = 2 * M_PI * f / n / 2;
    for (int k = 0; k < 6; ++k) {
        double b = a + k * M_PI / 3;
        double x = 32 + 22 * std::cos(b), y = 32 + 22 * std::sin(b);
        barrel(cr, 32 + 14 * std::cos(b), 32 + 14 * std::sin(b), 10, 5, b * 180 / M_PI, hex(0xa0a8b8));
        (void)x;
        (void)y;
    }
    sphere(cr, 32, 32, 17, L.light, L.base, L.dark);
    seam(cr, 17, 32, 47, 32, L.base);
    bool on = (f % 5) < 2;
    eye(cr, 32, 26, 4.5, on ? hex(0xff3030) : hex(0x802030));
}
void art_kirai(Canvas& c) { frames(c, 0, mine); }

// Gold ring drone: a spinning torus round a core.
static void ringdrone(cairo_t* cr, int f, int n) {
    const Livery& L = kGold;
    double a = 2 * M_PI * f / n;
    double sq = std::fabs(std::cos(a));
    sphere(cr, 32, 32, 9, hex(0xffffff), L.glow, scale(L.glow, 0.4));
    // Ring: back half, core, front half.
    for (int half = 0; half < 2; ++half) {
        cairo_save(cr);
        cairo_rectangle(cr, 0, half ? 32 : 0, 64, 32);
        cairo_clip(cr);
        ellipse(cr, 32, 32, 28, 28 * sq * 0.9 + 3);
        set(cr, pal::ink);
        cairo_set_line_width(cr, 9);
        cairo_stroke_preserve(cr);
        cairo_pattern_t* p = lin(0, 4, 0, 60, {L.light, L.base, L.dark});
        cairo_set_source(cr, p);
        cairo_set_line_width(cr, 6);
        cairo_stroke(cr);
        cairo_pattern_destroy(p);
        cairo_restore(cr);
    }
    for (int k = 0; k < 4; ++k) {
        double b = a + k * M_PI / 2;
        if (std::sin(b) < 0) continue;
        lamp(cr, 32 + 28 * std::cos(b), 32 + (28 * sq * 0.9 + 3) * std::sin(b) * 0.0 + 0, 1.8, L.trim);
    }
}
void art_harotate(Canvas& c) { frames(c, 0, ringdrone); }

// Needle fighter, facing left in column 0 and right in column 1.
static void needle(cairo_t* cr, int f, int n) {
    const Livery& L = kIce;
    exhaust(cr, 56, 33, 8, 5, hex(0xff9a30), wave(f, n, 3));
    poly(cr, {30, 30, 50, 16, 56, 18, 48, 31});
    trim(cr, L, 16, 31);
    poly(cr, {30, 36, 50, 50, 56, 48, 48, 35});
    trim(cr, L, 35, 50);
    poly(cr, {2, 33, 20, 29, 56, 28, 58, 38, 20, 37});
    hull(cr, L, 28, 38);
    eye(cr, 26, 31.5, 2.4, hex(0xff4080));
}
void art_zako11(Canvas& c) {
    frames(c, 0, needle);
    frames(c, 1, needle, true);
}

// Crimson heavy fighter with a twin laser nose.
static void heavy(cairo_t* cr, int f, int n) {
    const Livery& L = kCrimson;
    exhaust(cr, 112, 56, 14, 10, hex(0xff60ff), wave(f, n, 3));
    exhaust(cr, 112, 72, 14, 10, hex(0xff60ff), wave(f, n, 3) * 0.8);
    poly(cr, {46, 48, 70, 8, 96, 6, 100, 48});
    hull(cr, L, 6, 48);
    poly(cr, {46, 80, 70, 120, 96, 122, 100, 80});
    hull(cr, L, 80, 122);
    poly(cr, {70, 12, 92, 10, 94, 20, 72, 22});
    trim(cr, L, 10, 22);
    poly(cr, {70, 116, 92, 118, 94, 108, 72, 106});
    trim(cr, L, 106, 118);
    cairo_new_path(cr);
    cairo_move_to(cr, 8, 64);
    cairo_curve_to(cr, 20, 44, 60, 42, 114, 46);
    cairo_line_to(cr, 114, 82);
    cairo_curve_to(cr, 60, 86, 20, 84, 8, 64);
    cairo_close_path(cr);
    hull(cr, L, 42, 86);
    barrel(cr, 30, 61, 26, 4, 180, hex(0xc8d0e0));
    barrel(cr, 30, 67, 26, 4, 180, hex(0xc8d0e0));
    cairo_new_path(cr);
    cairo_move_to(cr, 40, 58);
    cairo_curve_to(cr, 50, 48, 70, 48, 78, 52);
    cairo_line_to(cr, 76, 60);
    cairo_close_path(cr);
    shade(cr, 48, 60, hex(0xffe0ff), hex(0xc040c0), hex(0x401040), pal::ink, 1.2);
    seam(cr, 60, 72, 110, 72, L.base);
    rivets(cr, 64, 78, 106, 78, 6, L.base);
    double rot = 2 * M_PI * f / n;
    for (int k = 0; k < 3; ++k) {
        double x = 84 + 10 * std::cos(rot + k * 2.09);
        if (std::sin(rot + k * 2.09) > 0) lamp(cr, x, 64, 1.8, L.glow);
    }
}
void art_oozako1(Canvas& c) { frames(c, 0, heavy); }

}  // namespace qsassets
