// The player's ship and its shots. The ship is white and sky blue with a red
// stripe, a glass cockpit and a blue engine glow; it faces right and banks
// into climbs and dives.
#include <cmath>
#include "art.h"

namespace qsassets {

static const RGB kHullLight = hex(0xffffff), kHull = hex(0xd8e4f4), kHullDark = hex(0x7088b0);
static const RGB kAccent = hex(0xe8283c), kBlue = hex(0x2a6cf0), kGlow = hex(0x58c8ff);

// The ship centred at the origin, nose towards +x, about 50 pixels long.
// `flick` (0..3) varies the exhaust; `bank` (-1 climb .. 1 dive) squashes
// the fins as the ship rolls into the turn.
static void ship(cairo_t* cr, int flick, double bank) {
    const double L = 0.5 * (1.0 - 0.25 * std::fabs(bank));
    // Exhaust: a long blue flame with a white core, length by frame.
    static const double flame[4] = {1.0, 0.78, 0.92, 0.68};
    double fl = 14 * flame[flick];
    cairo_save(cr);
    cairo_translate(cr, -21, 0.5);
    cairo_scale(cr, 1, 0.55);
    glow(cr, -fl * 0.4, 0, fl + 4, kGlow, 0.9);
    cairo_restore(cr);
    cairo_pattern_t* fp = lin(-21 - fl, 0, -19, 0, {hex(0x1040ff), hex(0x80e0ff), hex(0xffffff)});
    cairo_set_source(cr, fp);
    poly(cr, {-19, -3.2, -21 - fl, 0.5, -19, 4.2});
    cairo_fill(cr);
    cairo_pattern_destroy(fp);

    // Upper fin (tail) and lower wing, drawn behind the hull.
    double up = 1.0 + bank * 0.35, dn = 1.0 - bank * 0.35;
    cairo_save(cr);
    poly(cr, {-14, -4, -7, -4 - 13 * up * L * 2, -2, -4 - 13 * up * L * 2, 4, -4});
    shade(cr, -4 - 13 * up, -4, kHull, kHullDark, hex(0x3a4a78), pal::ink, 1.2);
    poly(cr, {-12, 5, -4, 5 + 15 * dn * L * 2, 2, 5 + 15 * dn * L * 2, 8, 5});
    shade(cr, 5, 5 + 15 * dn, kHullDark, kBlue, hex(0x1a2c70), pal::ink, 1.2);
    // Red tips.
    set(cr, kAccent);
    poly(cr, {-7.6, -4 - 13 * up * L * 2 + 2.5, -6.6, -4 - 13 * up * L * 2,
              -2.2, -4 - 13 * up * L * 2, -2.6, -4 - 13 * up * L * 2 + 2.5});
    cairo_fill(cr);
    cairo_restore(cr);

    // Fuselage.
    cairo_new_path(cr);
    cairo_move_to(cr, -20, -3.5);
    cairo_curve_to(cr, -12, -8.5, 6, -8, 14, -5);
    cairo_curve_to(cr, 21, -2.5, 26, -0.5, 29, 1);
    cairo_curve_to(cr, 24, 3.5, 14, 6.5, 2, 7);
    cairo_line_to(cr, -17, 6.5);
    cairo_line_to(cr, -20, 4.5);
    cairo_close_path(cr);
    shade(cr, -8, 7, kHullLight, kHull, kHullDark, pal::ink, 1.4);
    // Blue belly panel and red stripe.
    cairo_new_path(cr);
    cairo_move_to(cr, -17, 3.5);
    cairo_line_to(cr, 18, 3.2);
    cairo_curve_to(cr, 22, 3.0, 25, 2.2, 27, 1.5);
    cairo_curve_to(cr, 22, 4.5, 12, 6.4, 2, 6.6);
    cairo_line_to(cr, -17, 6.2);
    cairo_close_path(cr);
    set(cr, kBlue);
    cairo_fill(cr);
    set(cr, kAccent);
    poly(cr, {-15, -1.5, 4, -1.2, 5, 0.6, -15, 0.6});
    cairo_fill(cr);
    // Intake and engine bell.
    set(cr, hex(0x28304a));
    rrect(cr, -22, -3.6, 5, 8, 1.5);
    cairo_fill(cr);
    set(cr, hex(0x9fb2d0));
    rrect(cr, -20.5, -2.6, 2, 6, 0.8);
    cairo_fill(cr);
    // Cockpit glass.
    ellipse(cr, 10, -4.2, 8.5, 3.6);
    cairo_pattern_t* gp = lin(0, -8, 0, -1, {hex(0xcffaff), hex(0x34b8ff), hex(0x0a2a88)});
    cairo_set_source(cr, gp);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(gp);
    set(cr, pal::ink);
    cairo_set_line_width(cr, 1.1);
    cairo_stroke(cr);
    set(cr, pal::white, 0.9);
    ellipse(cr, 8, -5.6, 3.5, 1.0);
    cairo_fill(cr);
    // Nose sensor and a blinking wing light.
    lamp(cr, 27.5, 1.1, 0.9, hex(0xff6070));
    if (flick % 2 == 0) lamp(cr, -3, 5 + 14 * dn * L * 2, 1.1, hex(0x7af0ff));
}

void art_player(Canvas& c) {
    for (int row = 0; row < 3; ++row)
        for (int f = 0; f < 4; ++f) {
            cell_begin(c, f, row);
            // Level flight bobs its exhaust; climbs and dives tilt further with
            // every frame and hold at frame 3.
            double tilt = row == 0 ? 0 : (row == 1 ? -1 : 1) * (f + 1) / 4.0;
            cairo_translate(c.cr, 34.5, row == 0 ? 32 : 31.5);
            cairo_rotate(c.cr, tilt * 16 * M_PI / 180);
            cairo_scale(c.cr, 1.08, 1.08);
            ship(c.cr, row == 0 ? f : (f + row) % 4, tilt);
            cell_end(c);
        }
}

void art_shot(Canvas& c) {
    // A fat energy bolt in solid bands, so the colour key keeps it bright.
    for (int f = 0; f < 2; ++f) {
        cell_begin(c, f, 0);
        cairo_t* cr = c.cr;
        double k = f ? 1.08 : 1.0;
        const RGB bands[3] = {hex(0x1a9ae8), hex(0x7ae8ff), hex(0xffffff)};
        const double rx[3] = {14.5, 11, 7}, ry[3] = {6.5, 4.2, 2.0};
        for (int b = 0; b < 3; ++b) {
            cairo_save(cr);
            cairo_translate(cr, 17 + b * 1.5, 16);
            cairo_scale(cr, rx[b] * k, ry[b] * (f ? 0.92 : 1.0));
            cairo_move_to(cr, 1, 0);
            cairo_curve_to(cr, 0.6, -1.0, -0.6, -1.0, -1.0, 0);
            cairo_curve_to(cr, -0.6, 1.0, 0.6, 1.0, 1, 0);
            cairo_restore(cr);
            set(cr, bands[b]);
            cairo_fill(cr);
        }
        cell_end(c);
    }
}

void art_shot2(Canvas& c) {
    // A crescent wave of green light sweeping to the right.
    for (int f = 0; f < 2; ++f) {
        cell_begin(c, f, 0);
        cairo_t* cr = c.cr;
        for (int k = 0; k < 2; ++k) {
            cairo_new_path(cr);
            double w = f ? 1.0 : 0.85;
            cairo_move_to(cr, 4, 2);
            cairo_curve_to(cr, 14 * w + 2, 8, 14 * w + 2, 24, 4, 30);
            cairo_curve_to(cr, 9 * w + 1, 22, 9 * w + 1, 10, 4, 2);
            cairo_close_path(cr);
            if (k == 0) {
                set(cr, hex(0x40ff80));
                cairo_set_line_width(cr, 3);
                cairo_stroke_preserve(cr);
                cairo_fill(cr);
            } else {
                cairo_translate(cr, 2.5, 0);
                cairo_scale(cr, 1, 1);
                set(cr, hex(0xeaffd0));
                cairo_fill(cr);
            }
        }
        cell_end(c);
    }
}

void art_shot3(Canvas& c) {
    for (int f = 0; f < 4; ++f) {
        cell_begin(c, f, 0);
        cairo_t* cr = c.cr;
        static const double fl[4] = {5, 3.5, 6, 4};
        glow(cr, 3.5, 8, fl[f], hex(0xffa020), 1.0);
        set(cr, hex(0xfff0a0));
        ellipse(cr, 4.5, 8, fl[f] * 0.45, 1.4);
        cairo_fill(cr);
        poly(cr, {5, 6, 12, 6, 15, 8, 12, 10, 5, 10});
        shade(cr, 6, 10, hex(0xffffff), hex(0xb8c4d8), hex(0x505a78), pal::ink, 0.8);
        set(cr, hex(0xe8283c));
        poly(cr, {5, 4.5, 8, 6, 8, 10, 5, 11.5});
        cairo_fill(cr);
        cell_end(c);
    }
}

// A ring of plasma with a hot centre; `phase` turns its sparks.
static void plasma_burst(cairo_t* cr, double cx, double cy, double r, double phase, RGB col) {
    glow(cr, cx, cy, r, col, 0.95);
    glow(cr, cx, cy, r * 0.55, hex(0xffffff), 0.9);
    cairo_set_line_width(cr, r * 0.09);
    for (int k = 0; k < 10; ++k) {
        double a = phase + k * 2 * M_PI / 10;
        double r0 = r * 0.35, r1 = r * (0.8 + 0.15 * std::sin(k * 2.3 + phase * 3));
        set(cr, mix(col, hex(0xffffff), 0.5));
        cairo_move_to(cr, cx + r0 * std::cos(a), cy + r0 * std::sin(a));
        cairo_line_to(cr, cx + r1 * std::cos(a + 0.12), cy + r1 * std::sin(a + 0.12));
        cairo_stroke(cr);
    }
}

void art_shot4(Canvas& c) {
    // The missile blast: a ragged ball of plasma in solid heat bands.
    for (int f = 0; f < 2; ++f) {
        cell_begin(c, f, 0);
        cairo_t* cr = c.cr;
        const RGB bands[4] = {hex(0xc83a10), hex(0xff8a20), hex(0xffe060), hex(0xffffff)};
        const double rad[4] = {44, 34, 22, 11};
        Rng r(90 + f);
        double wob[24];
        for (double& w : wob) w = r.range(0.8, 1.12);
        for (int b = 0; b < 4; ++b) {
            cairo_new_path(cr);
            for (int k = 0; k < 24; ++k) {
                double a = k * 2 * M_PI / 24 + f * 0.13, rr = rad[b] * (f ? 1.05 : 0.95) * (b < 3 ? wob[k] : 1.0);
                cairo_line_to(cr, 50 + rr * std::cos(a), 50 + rr * std::sin(a));
            }
            cairo_close_path(cr);
            set(cr, bands[b]);
            cairo_fill(cr);
        }
        cell_end(c);
    }
}

void art_shot5(Canvas& c) {
    // The bomb missile: a comet of violet plasma whose rings turn.
    for (int f = 0; f < 10; ++f) {
        cell_begin(c, 0, f);
        cairo_t* cr = c.cr;
        double ph = f * 2 * M_PI / 10;
        cairo_save(cr);
        cairo_translate(cr, 40, 50);
        cairo_scale(cr, 2.0, 0.7);
        glow(cr, 0, 0, 22, hex(0xb040ff), 0.9);
        cairo_restore(cr);
        glow(cr, 62, 50, 30, hex(0xe070ff), 1.0);
        for (int k = 0; k < 3; ++k) {
            cairo_save(cr);
            cairo_translate(cr, 62, 50);
            cairo_rotate(cr, ph + k * M_PI / 3);
            cairo_scale(cr, 1.0, 0.35);
            cairo_arc(cr, 0, 0, 22, 0, 2 * M_PI);
            cairo_restore(cr);
            set(cr, hex(0xffd0ff), 0.9);
            cairo_set_line_width(cr, 2.2);
            cairo_stroke(cr);
        }
        glow(cr, 62, 50, 13, hex(0xffffff), 1.0);
        cell_end(c);
    }
}

void art_shot6(Canvas& c) {
    cell_begin(c, 0, 0);
    plasma_burst(c.cr, 50, 50, 44, 0.2, hex(0x30d8ff));
    cell_end(c);
}

}  // namespace qsassets

namespace qsassets {
// The ship for other pictures (the title).
void draw_player_ship(cairo_t* cr, int flick, double bank) { ship(cr, flick, bank); }
}  // namespace qsassets
