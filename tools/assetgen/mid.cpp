// Mid-size enemies: heavier machines with armour, turrets and moving parts.
// Gun muzzles sit where the game fires from.
#include <cmath>
#include "parts.h"

namespace qsassets {

static double wv(int f, int n, double k = 1) { return 0.5 + 0.5 * std::sin(2 * M_PI * k * f / n); }

// A plated slab with a bevelled edge (armour block).
static void plate(cairo_t* cr, const Livery& l, double x, double y, double w, double h, double r = 4) {
    rrect(cr, x, y, w, h, r);
    hull(cr, l, y, y + h, 1.4);
    set(cr, mix(l.light, hex(0xffffff), 0.3), 0.8);
    cairo_rectangle(cr, x + r, y + 1.5, w - 2 * r, 1.5);
    cairo_fill(cr);
}

// ------------------------------------------------------------ satellite

static void satellite(cairo_t* cr, int f, int n) {
    const Livery& L = kSteel;
    const double cx = 200, cy = 190;
    double a = 2 * M_PI * f / n;
    // Solar wings on booms.
    for (int s = -1; s <= 1; s += 2) {
        double x0 = s < 0 ? 10 : 270, x1 = s < 0 ? 130 : 390;
        set(cr, pal::ink);
        cairo_set_line_width(cr, 8);
        cairo_move_to(cr, s < 0 ? 110 : 290, cy);
        cairo_line_to(cr, cx + s * 60, cy);
        cairo_stroke(cr);
        set(cr, hex(0x9aa8c0));
        cairo_set_line_width(cr, 4);
        cairo_move_to(cr, s < 0 ? 110 : 290, cy);
        cairo_line_to(cr, cx + s * 60, cy);
        cairo_stroke(cr);
        for (int r = 0; r < 2; ++r) {
            double y0 = r ? cy + 12 : cy - 132;
            cairo_rectangle(cr, x0, y0, x1 - x0, 120);
            shade(cr, y0, y0 + 120, hex(0x6a9aff), hex(0x1a3a9a), hex(0x0a1650), pal::ink, 2);
            for (int i = 1; i < 6; ++i) seam(cr, x0 + i * (x1 - x0) / 6, y0 + 2, x0 + i * (x1 - x0) / 6, y0 + 118, hex(0x3a5ad8));
            for (int j = 1; j < 4; ++j) seam(cr, x0 + 2, y0 + j * 30, x1 - 2, y0 + j * 30, hex(0x3a5ad8));
            // A glint that travels across the cells.
            double gx = x0 + std::fmod(f * 24.0 + r * 50 + (s > 0 ? 40 : 0), x1 - x0);
            set(cr, hex(0xc0e0ff), 0.6);
            poly(cr, {gx, y0 + 2, gx + 10, y0 + 2, gx - 10, y0 + 118, gx - 20, y0 + 118});
            cairo_fill(cr);
        }
    }
    // Hull: an armoured drum with a gun blister and a launch bay below.
    plate(cr, L, 140, 70, 120, 250, 18);
    for (int i = 0; i < 5; ++i) seam(cr, 142, 110 + i * 42, 258, 110 + i * 42, L.base);
    rivets(cr, 150, 84, 250, 84, 8, L.base);
    rivets(cr, 150, 306, 250, 306, 8, L.base);
    // Rotating ring round the core.
    ellipse(cr, cx, cy, 90, 26);
    set(cr, pal::ink);
    cairo_set_line_width(cr, 12);
    cairo_stroke_preserve(cr);
    set(cr, hex(0x8a98b0));
    cairo_set_line_width(cr, 8);
    cairo_stroke(cr);
    for (int k = 0; k < 8; ++k) {
        double b = a + k * M_PI / 4;
        if (std::sin(b) < 0) continue;
        lamp(cr, cx + 90 * std::cos(b), cy + 26 * std::sin(b), 3, hex(0xffd040));
    }
    // Core lens, the gun above (fires from centre x - 10, y + 100).
    sphere(cr, cx, cy, 40, hex(0xffb0c0), hex(0xd02040), hex(0x500818), 2);
    glow(cr, cx, cy, 26 + 6 * wv(f, n), hex(0xffe0a0), 0.8);
    plate(cr, kCrimson, cx - 34, 86, 68, 28, 8);
    barrel(cr, cx - 8, 100, 44, 12, -90, hex(0xb0b8c8));
    eye(cr, cx - 10, 100, 7, hex(0x60ffff));
    // Launch bay at the bottom (drones leave from centre x - 50, bottom - 100).
    rrect(cr, cx - 56, 292, 72, 24, 6);
    set(cr, hex(0x20242e));
    cairo_fill(cr);
    for (int k = 0; k < 4; ++k) lamp(cr, cx - 48 + k * 18, 298, 2, ((f / 2 + k) % 4 == 0) ? hex(0x80ff80) : hex(0x208040));
    // Antennae.
    set(cr, pal::ink);
    cairo_set_line_width(cr, 3);
    cairo_move_to(cr, cx + 30, 70);
    cairo_line_to(cr, cx + 50, 20);
    cairo_move_to(cr, cx - 30, 320);
    cairo_line_to(cr, cx - 40, 380);
    cairo_stroke(cr);
    lamp(cr, cx + 50, 20, 3, (f % 4 < 2) ? hex(0xff4040) : hex(0x802020));
    lamp(cr, cx - 40, 380, 3, (f % 4 >= 2) ? hex(0xff4040) : hex(0x802020));
}

void art_eisei(Canvas& c) {
    for (int f = 0; f < 16; ++f) {
        cell_begin(c, 0, f);
        satellite(c.cr, f, 16);
        cell_end(c);
    }
}

// ------------------------------------------------------------ walkers

// The walker: legs stepping, cannon rising from its back as `deploy` grows.
static void walker(cairo_t* cr, double deploy, double step) {
    const Livery& L = kOlive;
    // Legs (back then front), knees pointing forward (left).
    for (int leg = 0; leg < 2; ++leg) {
        double ph = step * 2 * M_PI + leg * M_PI;
        double hipX = leg ? 84 : 120, hipY = 120;
        double footX = hipX + 18 * std::cos(ph), footY = 188 - std::max(0.0, 10 * std::sin(ph));
        double kneeX = (hipX + footX) / 2 - 22, kneeY = (hipY + footY) / 2;
        const Livery& ll = leg ? L : kDark;
        set(cr, pal::ink);
        cairo_set_line_width(cr, 16);
        cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
        cairo_move_to(cr, hipX, hipY);
        cairo_line_to(cr, kneeX, kneeY);
        cairo_line_to(cr, footX, footY);
        cairo_stroke(cr);
        set(cr, ll.base);
        cairo_set_line_width(cr, 11);
        cairo_move_to(cr, hipX, hipY);
        cairo_line_to(cr, kneeX, kneeY);
        cairo_line_to(cr, footX, footY);
        cairo_stroke(cr);
        sphere(cr, kneeX, kneeY, 8, ll.light, ll.base, ll.dark);
        poly(cr, {footX - 22, footY + 8, footX - 14, footY - 6, footX + 12, footY - 6, footX + 16, footY + 8});
        hull(cr, ll, footY - 6, footY + 8);
    }
    // Cannon on its back, swinging from upright to pointing forward (left),
    // its muzzle ending near (50, 35).
    double ang = -90 - 90 * deploy;  // degrees
    double px = 130 - 30 * deploy, py = 58;
    barrel(cr, px, py, 40 + 44 * deploy, 14, ang, hex(0x9aa088));
    plate(cr, L, px - 16, py - 12, 36, 26, 6);
    // Body.
    cairo_new_path(cr);
    cairo_move_to(cr, 40, 70);
    cairo_line_to(cr, 70, 50);
    cairo_line_to(cr, 156, 54);
    cairo_line_to(cr, 176, 90);
    cairo_line_to(cr, 150, 126);
    cairo_line_to(cr, 60, 124);
    cairo_close_path(cr);
    hull(cr, L, 50, 126);
    seam(cr, 66, 96, 160, 96, L.base);
    rivets(cr, 80, 110, 146, 110, 6, L.base);
    // Head with the laser eye (darts leave from (28, 64)).
    poly(cr, {22, 58, 44, 48, 60, 52, 62, 78, 40, 82, 22, 72});
    hull(cr, kDark, 48, 82);
    eye(cr, 30, 64, 5, hex(0xff4040));
    lamp(cr, 166, 64, 2.5, L.glow);
}

void art_robo(Canvas& c) {
    for (int f = 0; f < 25; ++f) {
        cell_begin(c, 0, f);
        double d = f / 24.0;
        walker(c.cr, d * d * (3 - 2 * d), f / 8.0);
        cell_end(c);
    }
}

void art_robo2(Canvas& c) {
    cell_begin(c, 0, 0);
    cairo_t* cr = c.cr;
    const Livery& L = kDark;
    // Four legs.
    for (int k = 0; k < 4; ++k) {
        double hx = 70 + k * 44, fx = hx + (k % 2 ? 14 : -14);
        set(cr, pal::ink);
        cairo_set_line_width(cr, 14);
        cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
        cairo_move_to(cr, hx, 96);
        cairo_line_to(cr, hx - 16, 118);
        cairo_line_to(cr, fx, 140);
        cairo_stroke(cr);
        set(cr, k < 2 ? L.base : L.light);
        cairo_set_line_width(cr, 9);
        cairo_move_to(cr, hx, 96);
        cairo_line_to(cr, hx - 16, 118);
        cairo_line_to(cr, fx, 140);
        cairo_stroke(cr);
        poly(cr, {fx - 14, 148, fx - 8, 138, fx + 10, 138, fx + 14, 148});
        hull(cr, L, 138, 148);
    }
    // Hull.
    cairo_new_path(cr);
    cairo_move_to(cr, 20, 50);
    cairo_line_to(cr, 60, 22);
    cairo_line_to(cr, 230, 26);
    cairo_line_to(cr, 250, 60);
    cairo_line_to(cr, 236, 100);
    cairo_line_to(cr, 40, 104);
    cairo_close_path(cr);
    hull(cr, L, 22, 104);
    plate(cr, kCrimson, 96, 8, 100, 26, 8);
    for (int i = 0; i < 4; ++i) seam(cr, 70 + i * 40, 30, 66 + i * 40, 100, L.base);
    rivets(cr, 60, 94, 220, 94, 10, L.base);
    // Laser rows (centre y - 3/-7 and -23/-27) and dart guns (y + 35, y + 57).
    barrel(cr, 30, 47, 20, 8, 180, hex(0xc0c8d8));
    barrel(cr, 30, 70, 20, 8, 180, hex(0xc0c8d8));
    barrel(cr, 30, 35, 14, 5, 180, hex(0xc0c8d8));
    barrel(cr, 30, 57, 14, 5, 180, hex(0xc0c8d8));
    eye(cr, 44, 58, 6, hex(0xff3030));
    for (int k = 0; k < 5; ++k) lamp(cr, 120 + k * 20, 60, 2.4, hex(0xff6020));
    cell_end(c);
}

// ------------------------------------------------------------ drones

// A boss drone: armoured orb with a turning shell; `dir` points its gun
// (degrees), the variants differ in colour.
static void drone(cairo_t* cr, int f, int n, double dir, const Livery& L) {
    double a = 2 * M_PI * f / n;
    barrel(cr, 50, 50, 48, 14, dir, hex(0xb8c0d0));
    sphere(cr, 50, 50, 36, L.light, L.base, L.dark, 1.6);
    for (int k = 0; k < 3; ++k) {
        double b = a + k * 2 * M_PI / 3;
        double x = 50 + 36 * std::cos(b);
        double wdt = 12 * std::fabs(std::sin(b)) + 2;
        if (std::sin(b) < 0) continue;
        rrect(cr, x - wdt / 2, 16, wdt, 68, std::min(3.0, wdt / 2));
        hull(cr, kSteel, 16, 84, 1.2);
    }
    eye(cr, 50 + 12 * std::cos(dir * M_PI / 180), 50 + 12 * std::sin(dir * M_PI / 180), 8, L.glow, 0.7 + 0.3 * wv(f, n));
}

void art_bit(Canvas& c) {
    const double dirs[7] = {180, 180, -90, 180, 180, 180, 90};
    const Livery* liv[7] = {&kPurple, &kCrimson, &kTeal, &kBlue, &kOrange, &kPink, &kTeal};
    for (int col = 0; col < 7; ++col)
        for (int f = 0; f < 9; ++f) {
            cell_begin(c, col, f);
            drone(c.cr, f, 9, dirs[col], *liv[col]);
            cell_end(c);
        }
}

// ------------------------------------------------------------ mid-size ships

void art_chu1(Canvas& c) {
    cairo_t* cr = c.cr;
    const Livery& L = kRed;
    exhaust(cr, 236, 50, 20, 14, hex(0xffa020), 1);
    exhaust(cr, 236, 78, 20, 14, hex(0xffa020), 0.8);
    cairo_new_path(cr);
    cairo_move_to(cr, 18, 62);
    cairo_line_to(cr, 60, 36);
    cairo_line_to(cr, 160, 28);
    cairo_line_to(cr, 240, 40);
    cairo_line_to(cr, 242, 90);
    cairo_line_to(cr, 160, 104);
    cairo_line_to(cr, 60, 94);
    cairo_close_path(cr);
    hull(cr, L, 28, 104);
    plate(cr, kSteel, 90, 8, 110, 30, 8);
    plate(cr, kSteel, 96, 92, 100, 24, 8);
    barrel(cr, 26, 61, 30, 12, 180, hex(0xc0c8d8));
    barrel(cr, 120, 20, 30, 6, 200, hex(0xc0c8d8));
    for (int i = 0; i < 4; ++i) seam(cr, 80 + i * 40, 38, 76 + i * 40, 96, L.base);
    rivets(cr, 70, 80, 220, 80, 10, L.base);
    cairo_new_path(cr);
    cairo_move_to(cr, 50, 52);
    cairo_curve_to(cr, 60, 40, 84, 38, 96, 42);
    cairo_line_to(cr, 94, 56);
    cairo_close_path(cr);
    shade(cr, 40, 56, hex(0xe0ffff), hex(0x30a0e0), hex(0x102a60), pal::ink, 1.2);
    for (int k = 0; k < 5; ++k) lamp(cr, 140 + k * 18, 60, 2.2, L.glow);
}

void art_chu2(Canvas& c) {
    cairo_t* cr = c.cr;
    const Livery& L = kBlue;
    exhaust(cr, 184, 50, 14, 18, hex(0x60e0ff), 1);
    cairo_new_path(cr);
    cairo_move_to(cr, 30, 50);
    cairo_curve_to(cr, 50, 18, 150, 14, 188, 34);
    cairo_line_to(cr, 188, 66);
    cairo_curve_to(cr, 150, 86, 50, 82, 30, 50);
    cairo_close_path(cr);
    hull(cr, L, 14, 86);
    poly(cr, {120, 20, 150, 2, 176, 4, 170, 26});
    trim(cr, L, 2, 26);
    poly(cr, {120, 80, 150, 98, 176, 96, 170, 74});
    trim(cr, L, 74, 98);
    // The ring emitter at the nose.
    ellipse(cr, 26, 50, 10, 20);
    set(cr, pal::ink);
    cairo_set_line_width(cr, 9);
    cairo_stroke_preserve(cr);
    set(cr, hex(0x9ad0ff));
    cairo_set_line_width(cr, 5);
    cairo_stroke(cr);
    glow(cr, 22, 50, 10, hex(0x80ffff), 1.0);
    seam(cr, 60, 50, 180, 50, L.base);
    rivets(cr, 70, 62, 170, 62, 8, L.base);
    eye(cr, 80, 40, 6, L.glow);
}

void art_sensha2(Canvas& c) {
    cairo_t* cr = c.cr;
    const Livery& L = kOlive;
    // Hover pads under the hull.
    for (int k = 0; k < 5; ++k) {
        double x = 130 + k * 72;
        ellipse(cr, x, 238, 30, 9);
        shade(cr, 229, 247, hex(0xa0a890), hex(0x4a5038), hex(0x202418), pal::ink, 1.4);
        glow(cr, x, 246, 14, hex(0x60e0ff), 0.8);
    }
    // Lower hull (x 100..500, y 150..250).
    cairo_new_path(cr);
    cairo_move_to(cr, 86, 168);
    cairo_line_to(cr, 120, 140);
    cairo_line_to(cr, 490, 142);
    cairo_line_to(cr, 498, 200);
    cairo_line_to(cr, 470, 232);
    cairo_line_to(cr, 110, 232);
    cairo_close_path(cr);
    hull(cr, L, 140, 232);
    for (int i = 0; i < 7; ++i) seam(cr, 150 + i * 50, 146, 150 + i * 50, 228, L.base);
    rivets(cr, 120, 220, 470, 220, 16, L.base);
    // Main cannon (muzzle at (60, 145)).
    barrel(cr, 140, 152, 84, 16, 180, hex(0x8a9080));
    // Turret tower (x 275..450, y 60..).
    cairo_new_path(cr);
    cairo_move_to(cr, 250, 142);
    cairo_line_to(cr, 276, 70);
    cairo_line_to(cr, 330, 56);
    cairo_line_to(cr, 440, 60);
    cairo_line_to(cr, 460, 142);
    cairo_close_path(cr);
    hull(cr, L, 56, 142);
    plate(cr, kDark, 300, 40, 120, 24, 6);
    // Upper gun (muzzle at (140, 90)).
    barrel(cr, 280, 92, 140, 12, 180, hex(0x9aa090));
    barrel(cr, 290, 108, 80, 8, 185, hex(0x9aa090));
    eye(cr, 300, 84, 7, hex(0xff4020));
    for (int k = 0; k < 6; ++k) lamp(cr, 340 + k * 16, 120, 2.4, L.glow);
    // Hatch and antenna.
    set(cr, pal::ink);
    cairo_set_line_width(cr, 3);
    cairo_move_to(cr, 420, 40);
    cairo_line_to(cr, 440, 6);
    cairo_stroke(cr);
    lamp(cr, 440, 6, 3, hex(0xff3030));
}

void art_puro(Canvas& c) {
    for (int f = 0; f < 6; ++f) {
        cell_begin(c, 0, f);
        cairo_t* cr = c.cr;
        const Livery& L = kGold;
        // Long fuselage with two engine pods.
        cairo_new_path(cr);
        cairo_move_to(cr, 24, 40);
        cairo_curve_to(cr, 40, 24, 120, 22, 290, 30);
        cairo_line_to(cr, 292, 50);
        cairo_curve_to(cr, 120, 58, 40, 56, 24, 40);
        cairo_close_path(cr);
        hull(cr, L, 22, 58);
        for (int i = 0; i < 6; ++i) seam(cr, 80 + i * 35, 28, 80 + i * 35, 54, L.base);
        rivets(cr, 70, 46, 280, 46, 14, L.base);
        cairo_new_path(cr);
        cairo_move_to(cr, 40, 36);
        cairo_curve_to(cr, 50, 26, 70, 26, 80, 30);
        cairo_line_to(cr, 78, 38);
        cairo_close_path(cr);
        shade(cr, 26, 38, hex(0xe0ffff), hex(0x30a0e0), hex(0x102a60), pal::ink, 1.2);
        // Engine pods with propellers at (x+40) and (x+150).
        for (int k = 0; k < 2; ++k) {
            double x = k ? 150 : 40;
            ellipse(cr, x + 22, 62, 26, 9);
            hull(cr, kSteel, 53, 71);
            double a = 2 * M_PI * f / 6 + k;
            for (int b = 0; b < 3; ++b) {
                double h = 16 * std::cos(a + b * 2 * M_PI / 3);
                set(cr, hex(0x404450));
                rrect(cr, x - 4, 62 - std::fabs(h) * (h < 0 ? 1 : 0), 5, std::fabs(h), 2);
                cairo_fill(cr);
            }
            set(cr, hex(0xd0d8e8), 0.5);
            ellipse(cr, x - 2, 62, 3, 16);
            cairo_fill(cr);
            sphere(cr, x - 3, 62, 4, hex(0xffffff), hex(0xc02a40), hex(0x501020), 1);
        }
        poly(cr, {250, 30, 276, 6, 292, 6, 290, 32});
        trim(cr, L, 6, 32);
        cell_end(c);
    }
}

// The pod turret: petals open over frames 0..6, then the core turns.
void art_chu5(Canvas& c) {
    for (int f = 0; f < 25; ++f) {
        cell_begin(c, 0, f);
        cairo_t* cr = c.cr;
        const Livery& L = kPink;
        double open = f >= 7 ? 1.0 : f / 7.0;
        double turn = f >= 7 ? (f - 7) * 2 * M_PI / 18 / 4 : 0;
        // Core (lasers leave from centre x - 14, centre y - 18).
        sphere(cr, 100, 100, 34, hex(0xffffff), hex(0x40e0ff), hex(0x104060), 2);
        cairo_save(cr);
        cairo_arc(cr, 100, 100, 34, 0, 2 * M_PI);
        cairo_clip(cr);
        glow(cr, 86, 82, 18 + 6 * std::sin(f * 0.7), hex(0xffffff), 0.7 * open);
        cairo_restore(cr);
        for (int k = 0; k < 6; ++k) {
            double a = turn + k * M_PI / 3;
            lamp(cr, 100 + 22 * std::cos(a), 100 + 22 * std::sin(a), 2.2, hex(0xffffff));
        }
        // Six petals.
        for (int k = 0; k < 6; ++k) {
            cairo_save(cr);
            cairo_translate(cr, 100, 100);
            cairo_rotate(cr, k * M_PI / 3 + turn * 0.5);
            cairo_translate(cr, 0, -(10 + 44 * open));
            cairo_move_to(cr, -34, 6);
            cairo_curve_to(cr, -30, -40, 30, -40, 34, 6);
            cairo_curve_to(cr, 16, 0, -16, 0, -34, 6);
            cairo_close_path(cr);
            hull(cr, L, -34, 6, 1.6);
            lamp(cr, 0, -18, 2.5, L.glow);
            cairo_restore(cr);
        }
        cell_end(c);
    }
}

// The battleship: a long armoured hull, bridge and gun turrets.
static void battleship(cairo_t* cr, const Livery& L, bool carrier) {
    exhaust(cr, 520, 120, 18, 26, hex(0x60c0ff), 1);
    exhaust(cr, 520, 160, 18, 22, hex(0x60c0ff), 0.8);
    cairo_new_path(cr);
    cairo_move_to(cr, 92, 140);
    cairo_line_to(cr, 140, 96);
    cairo_line_to(cr, 500, 90);
    cairo_line_to(cr, 530, 120);
    cairo_line_to(cr, 526, 190);
    cairo_line_to(cr, 470, 212);
    cairo_line_to(cr, 150, 206);
    cairo_close_path(cr);
    hull(cr, L, 90, 212, 2);
    for (int i = 0; i < 8; ++i) seam(cr, 160 + i * 44, 100, 156 + i * 44, 204, L.base);
    rivets(cr, 150, 196, 480, 196, 18, L.base);
    if (!carrier) {
        // Bridge tower and two turrets.
        cairo_new_path(cr);
        cairo_move_to(cr, 300, 92);
        cairo_line_to(cr, 320, 44);
        cairo_line_to(cr, 400, 40);
        cairo_line_to(cr, 420, 92);
        cairo_close_path(cr);
        hull(cr, L, 40, 92, 1.6);
        for (int k = 0; k < 5; ++k) lamp(cr, 332 + k * 16, 60, 2.4, hex(0x80f0ff));
        plate(cr, kSteel, 200, 80, 60, 20, 6);
        barrel(cr, 210, 88, 60, 8, 195, hex(0xc0c8d8));
        plate(cr, kSteel, 440, 78, 50, 18, 6);
        barrel(cr, 446, 86, 50, 7, 190, hex(0xc0c8d8));
        // Twin bow guns at (x+170, y+120/136) and the lower gun (x+99, y+120).
        barrel(cr, 190, 120, 90, 10, 180, hex(0xb0b8c8));
        barrel(cr, 190, 136, 90, 10, 180, hex(0xb0b8c8));
        eye(cr, 180, 128, 6, hex(0xff3030));
    } else {
        // Flight deck, hangar doors below (drones leave at x+256 and x+360).
        cairo_rectangle(cr, 160, 56, 300, 36);
        hull(cr, L, 56, 92, 1.6);
        for (int k = 0; k < 8; ++k) {
            set(cr, pal::white, 0.8);
            cairo_rectangle(cr, 176 + k * 36, 72, 18, 3);
            cairo_fill(cr);
        }
        plate(cr, kSteel, 150, 14, 60, 40, 8);
        barrel(cr, 160, 36, 40, 8, 190, hex(0xc0c8d8));
        eye(cr, 170, 26, 6, hex(0xff3030));
        for (int k = 0; k < 2; ++k) {
            double x = k ? 340 : 236;
            rrect(cr, x, 150, 44, 36, 4);
            set(cr, hex(0x1a1e2a));
            cairo_fill(cr);
            glow(cr, x + 22, 170, 14, hex(0xffa040), 0.8);
        }
        for (int k = 0; k < 6; ++k) lamp(cr, 420 + k * 14, 110, 2.2, hex(0x80ff80));
    }
}

void art_senkan1(Canvas& c) { battleship(c.cr, kSteel, false); }
void art_senkan2(Canvas& c) { battleship(c.cr, kOrange, true); }

void art_toge(Canvas& c) {
    for (int f = 0; f < 17; ++f) {
        cell_begin(c, 0, f);
        cairo_t* cr = c.cr;
        const Livery& L = kPurple;
        double a = 2 * M_PI * f / 17 / 3;
        cairo_save(cr);
        cairo_translate(cr, 80, 80);
        for (int k = 0; k < 12; ++k) {
            cairo_save(cr);
            cairo_rotate(cr, a + k * M_PI / 6);
            poly(cr, {-9, -44, 0, -76, 9, -44});
            shade(cr, -76, -44, hex(0xffffff), L.trim, scale(L.trim, 0.4), pal::ink, 1.4);
            cairo_restore(cr);
        }
        cairo_restore(cr);
        sphere(cr, 80, 80, 48, L.light, L.base, L.dark, 2);
        for (int k = 0; k < 6; ++k) {
            double b = -a * 2 + k * M_PI / 3;
            lamp(cr, 80 + 34 * std::cos(b), 80 + 34 * std::sin(b), 3, L.glow);
        }
        sphere(cr, 74, 76, 16, hex(0xffffff), hex(0xff3060), hex(0x601020), 1.6);
        cell_end(c);
    }
}

}  // namespace qsassets
