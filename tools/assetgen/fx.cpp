// Explosions, debris, enemy bullets and lasers, jewels, items, the shield
// and the small HUD icons. Glows are drawn as solid colour bands so they stay
// bright over any background once the colour key cuts their edges.
#include <cmath>
#include "art.h"
#include "font.h"

namespace qsassets {

// ---------------------------------------------------------------- explosions

// One fireball of `n` puffs at progress t (0 start .. 1 gone).
static void fireball(cairo_t* cr, double cx, double cy, double R, double t, int n, uint32_t seed) {
    Rng r(seed);
    // Colour over life: white -> yellow -> orange -> red -> smoke.
    auto heat = [](double h) {
        if (h < 0.15) return mix(hex(0xffffff), hex(0xfff27a), h / 0.15);
        if (h < 0.4) return mix(hex(0xfff27a), hex(0xff9a1a), (h - 0.15) / 0.25);
        if (h < 0.65) return mix(hex(0xff9a1a), hex(0xd2321e), (h - 0.4) / 0.25);
        return mix(hex(0xd2321e), hex(0x5a4a50), (h - 0.65) / 0.35);
    };
    if (t < 0.35) {
        // Shock ring.
        double rr = R * (0.3 + 1.6 * t);
        cairo_set_line_width(cr, R * 0.08 * (1 - t / 0.35) + 0.8);
        set(cr, hex(0xfff6c8), 1.0 - t / 0.35);
        cairo_arc(cr, cx, cy, rr, 0, 2 * M_PI);
        cairo_stroke(cr);
    }
    for (int i = 0; i < n; ++i) {
        double a = r.uni() * 2 * M_PI, d = r.uni() * 0.55, size = r.range(0.28, 0.5);
        double delay = r.uni() * 0.25, local = (t - delay) / (1 - delay);
        if (local < 0) continue;
        double grow = std::sqrt(local);
        double px = cx + std::cos(a) * d * R * (0.4 + grow), py = cy + std::sin(a) * d * R * (0.4 + grow) - local * R * 0.12;
        double pr = R * size * (0.35 + 0.75 * grow) * (local > 0.75 ? 1.0 - (local - 0.75) * 2.2 : 1.0);
        if (pr <= 0.5) continue;
        RGB c = heat(local * 0.9 + d * 0.2);
        cairo_pattern_t* p = cairo_pattern_create_radial(px - pr * 0.3, py - pr * 0.3, 0, px, py, pr);
        RGB hot = heat(std::max(0.0, local * 0.9 - 0.2));
        cairo_pattern_add_color_stop_rgba(p, 0, hot.r, hot.g, hot.b, 1);
        cairo_pattern_add_color_stop_rgba(p, 0.7, c.r, c.g, c.b, 1);
        cairo_pattern_add_color_stop_rgba(p, 1, c.r * 0.6, c.g * 0.5, c.b * 0.5, 0.0);
        cairo_set_source(cr, p);
        cairo_arc(cr, px, py, pr, 0, 2 * M_PI);
        cairo_fill(cr);
        cairo_pattern_destroy(p);
    }
    if (t < 0.5) glow(cr, cx, cy, R * 0.45 * (1 - t * 1.6), hex(0xffffff), 1.0);
}

static void explosion_sheet(Canvas& c, double R, int puffs, uint32_t seed, double end) {
    int n = c.def->rows;
    for (int f = 0; f < n; ++f) {
        cell_begin(c, 0, f);
        double t = (f + 0.6) / n * end;
        fireball(c.cr, c.def->cellw / 2.0, c.def->cellh / 2.0, R, t, puffs, seed);
        cell_end(c);
    }
}

void art_bom(Canvas& c) { explosion_sheet(c, 62, 22, 1, 0.95); }
void art_bom2(Canvas& c) { explosion_sheet(c, 31, 14, 2, 0.95); }
void art_bom3(Canvas& c) { explosion_sheet(c, 15, 9, 3, 0.95); }

void art_pom(Canvas& c) {
    for (int f = 0; f < 4; ++f) {
        cell_begin(c, 0, f);
        cairo_t* cr = c.cr;
        double s = 1.0 - f * 0.2;
        RGB col = mix(hex(0xfffbe0), hex(0xff8c30), f / 3.0);
        set(cr, col);
        cairo_set_line_width(cr, 1.6 * s);
        for (int k = 0; k < 4; ++k) {
            double a = k * M_PI / 2 + f * 0.4;
            cairo_move_to(cr, 8, 8);
            cairo_line_to(cr, 8 + std::cos(a) * 7 * s, 8 + std::sin(a) * 7 * s);
        }
        cairo_stroke(cr);
        set(cr, pal::white);
        cairo_arc(cr, 8, 8, 2.6 * s, 0, 2 * M_PI);
        cairo_fill(cr);
        cell_end(c);
    }
}

void art_gomi(Canvas& c) {
    // Tumbling fragments, hot metal cooling to grey.
    static const char* shapes[8] = {"1111", "0111", "1110", "0110", "1011", "1101", "0111", "1110"};
    for (int f = 0; f < 8; ++f) {
        RGB col = mix(hex(0xffd060), hex(0x8a7a80), f / 7.0);
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 4; ++x) {
                bool on = (y == 0 || y == 3) ? (x == 1 || x == 2) && shapes[f][x] == '1'
                                             : shapes[f][x] == '1';
                if (!on) continue;
                set(c.cr, (x + y) % 3 ? col : scale(col, 1.25));
                cairo_rectangle(c.cr, x, f * 4 + y, 1, 1);
                cairo_fill(c.cr);
            }
    }
}

// ---------------------------------------------------------------- bullets

// A round bullet: dark rim, coloured body, white core; `pulse` 0..1.
static void round_bullet(cairo_t* cr, RGB col, double pulse) {
    double R = 6.6 + 0.6 * pulse;
    set(cr, scale(col, 0.35));
    cairo_arc(cr, 8, 8, R + 0.9, 0, 2 * M_PI);
    cairo_fill(cr);
    cairo_pattern_t* p = cairo_pattern_create_radial(7, 7, 0, 8, 8, R);
    RGB hi = mix(col, hex(0xffffff), 0.85);
    cairo_pattern_add_color_stop_rgb(p, 0, 1, 1, 1);
    cairo_pattern_add_color_stop_rgb(p, 0.35 + 0.1 * pulse, hi.r, hi.g, hi.b);
    cairo_pattern_add_color_stop_rgb(p, 0.62, col.r, col.g, col.b);
    cairo_pattern_add_color_stop_rgb(p, 1, col.r * 0.7, col.g * 0.7, col.b * 0.7);
    cairo_set_source(cr, p);
    cairo_arc(cr, 8, 8, R, 0, 2 * M_PI);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
}

static void bullet_sheet(Canvas& c, RGB col) {
    static const double pulse[8] = {0, 1, 0.3, 0.8, 0.1, 0.9, 0.4, 0.7};
    for (int f = 0; f < 8; ++f) {
        cell_begin(c, 0, f);
        round_bullet(c.cr, col, pulse[f]);
        cell_end(c);
    }
}
void art_bullet_yellow(Canvas& c) { bullet_sheet(c, hex(0xffd000)); }
void art_bullet_red(Canvas& c) { bullet_sheet(c, hex(0xff2a3a)); }
void art_bullet_blue(Canvas& c) { bullet_sheet(c, hex(0x2a8cff)); }
void art_bullet_green(Canvas& c) { bullet_sheet(c, hex(0x2aff5a)); }

static void ring_sheet(Canvas& c, RGB col) {
    for (int f = 0; f < 8; ++f) {
        cell_begin(c, 0, f);
        cairo_t* cr = c.cr;
        set(cr, scale(col, 0.35));
        cairo_set_line_width(cr, 5.0);
        cairo_arc(cr, 8, 8, 5.2, 0, 2 * M_PI);
        cairo_stroke(cr);
        set(cr, col);
        cairo_set_line_width(cr, 3.0);
        cairo_arc(cr, 8, 8, 5.2, 0, 2 * M_PI);
        cairo_stroke(cr);
        // Two bright arcs turning round the ring.
        double a = f * 2 * M_PI / 8;
        set(cr, mix(col, hex(0xffffff), 0.8));
        cairo_set_line_width(cr, 2.2);
        cairo_arc(cr, 8, 8, 5.2, a, a + 1.0);
        cairo_stroke(cr);
        cairo_arc(cr, 8, 8, 5.2, a + M_PI, a + M_PI + 1.0);
        cairo_stroke(cr);
        set(cr, pal::white);
        cairo_arc(cr, 8, 8, 1.4, 0, 2 * M_PI);
        cairo_fill(cr);
        cell_end(c);
    }
}
void art_ring(Canvas& c) { ring_sheet(c, hex(0xff9a20)); }
void art_ring2(Canvas& c) { ring_sheet(c, hex(0xe040ff)); }

void art_flash(Canvas& c) {
    for (int f = 0; f < 8; ++f) {
        cell_begin(c, 0, f);
        cairo_t* cr = c.cr;
        double s = f == 0 ? 1.0 : 1.0 - (f - 1) * 0.09, a = f * M_PI / 8;
        RGB col = mix(hex(0xffffff), hex(0xffe060), f / 7.0);
        set(cr, col);
        cairo_save(cr);
        cairo_translate(cr, 8, 8);
        cairo_rotate(cr, a);
        poly(cr, {0, -7.5 * s, 1.6 * s, -1.6 * s, 7.5 * s, 0, 1.6 * s, 1.6 * s, 0, 7.5 * s,
                  -1.6 * s, 1.6 * s, -7.5 * s, 0, -1.6 * s, -1.6 * s});
        cairo_fill(cr);
        cairo_restore(cr);
        set(cr, pal::white);
        cairo_arc(cr, 8, 8, 2.2 * s, 0, 2 * M_PI);
        cairo_fill(cr);
        cell_end(c);
    }
}

void art_bigbullet(Canvas& c) {
    for (int f = 0; f < 2; ++f) {
        cell_begin(c, 0, f);
        cairo_t* cr = c.cr;
        RGB col = hex(0xffb000);
        set(cr, hex(0x7a2a00));
        cairo_arc(cr, 32, 32, 27, 0, 2 * M_PI);
        cairo_fill(cr);
        cairo_pattern_t* p = cairo_pattern_create_radial(28, 27, 0, 32, 32, 25);
        cairo_pattern_add_color_stop_rgb(p, 0, 1, 1, 1);
        cairo_pattern_add_color_stop_rgb(p, 0.3, 1, 0.97, 0.6);
        cairo_pattern_add_color_stop_rgb(p, 0.7, col.r, col.g, col.b);
        cairo_pattern_add_color_stop_rgb(p, 1, 0.85, 0.3, 0.05);
        cairo_set_source(cr, p);
        cairo_arc(cr, 32, 32, 25, 0, 2 * M_PI);
        cairo_fill(cr);
        cairo_pattern_destroy(p);
        // Swirling bands.
        set(cr, hex(0xfff4c0), 0.9);
        cairo_set_line_width(cr, 2.5);
        for (int k = 0; k < 3; ++k) {
            double a = k * 2 * M_PI / 3 + f * 0.5;
            cairo_arc(cr, 32, 32, 18, a, a + 0.9);
            cairo_stroke(cr);
        }
        cell_end(c);
    }
}

// A horizontal beam band: dark edge, colour, white core.
static void beam(cairo_t* cr, double x0, double x1, double cy, double h, RGB col) {
    set(cr, scale(col, 0.45));
    cairo_rectangle(cr, x0, cy - h / 2, x1 - x0, h);
    cairo_fill(cr);
    set(cr, col);
    cairo_rectangle(cr, x0, cy - h * 0.32, x1 - x0, h * 0.64);
    cairo_fill(cr);
    set(cr, mix(col, hex(0xffffff), 0.85));
    cairo_rectangle(cr, x0, cy - h * 0.14, x1 - x0, h * 0.28);
    cairo_fill(cr);
}

void art_slaser(Canvas& c) {
    cairo_t* cr = c.cr;
    beam(cr, 0, 64, 2.5, 5, hex(0xff3060));
    // The overlay for beams fired to the right: a hot leading tip.
    beam(cr, 0, 64, 8.5, 5, hex(0xff60a0));
    set(cr, pal::white);
    poly(cr, {50, 7.5, 64, 7.5, 64, 9.5, 50, 9.5});
    cairo_fill(cr);
}

void art_slaser2(Canvas& c) {
    const RGB cols[2] = {hex(0x30e0ff), hex(0xff50d0)};
    for (int row = 0; row < 2; ++row)
        for (int m = 0; m < 18; ++m) {
            cairo_t* cr = c.cr;
            cairo_save(cr);
            double cy = row == 0 ? 16 : 48.5;
            cairo_rectangle(cr, m * 32, row == 0 ? 0 : 33, 32, row == 0 ? 32 : 31);
            cairo_clip(cr);
            cairo_translate(cr, m * 32 + 16, cy);
            cairo_rotate(cr, (m * 10 + 1.5) * M_PI / 180);
            RGB col = cols[row];
            cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
            double seg[3][2] = {{7.0, 0.35}, {4.6, 1.0}, {2.0, 0.0}};
            for (int k = 0; k < 3; ++k) {
                RGB cc = k == 0 ? scale(col, 0.45) : k == 1 ? col : hex(0xffffff);
                set(cr, cc);
                cairo_set_line_width(cr, seg[k][0]);
                cairo_move_to(cr, -11, 0);
                cairo_line_to(cr, 11, 0);
                cairo_stroke(cr);
            }
            cairo_restore(cr);
        }
}

void art_blaser(Canvas& c) {
    // The great beam: its muzzle at the right end, the beam running off the
    // left edge; the bands ripple from frame to frame.
    for (int f = 0; f < 5; ++f) {
        cell_begin(c, 0, f);
        cairo_t* cr = c.cr;
        const RGB bands[4] = {hex(0x3a1aa0), hex(0x6a40ff), hex(0x9ae0ff), hex(0xffffff)};
        const double half[4] = {108, 82, 50, 22};
        for (int b = 0; b < 4; ++b) {
            set(cr, bands[b]);
            cairo_new_path(cr);
            for (int x = 0; x <= 640; x += 8) {
                double wob = std::sin(x * 0.045 + f * 1.26 + b) * (3 + b) + std::sin(x * 0.011 - f * 0.9) * 4;
                double hh = half[b] * (x > 600 ? std::max(0.15, (640 - x) / 40.0) : 1.0) + wob;
                if (x == 0) cairo_move_to(cr, x, 150 - hh);
                else cairo_line_to(cr, x, 150 - hh);
            }
            for (int x = 640; x >= 0; x -= 8) {
                double wob = std::sin(x * 0.05 - f * 1.1 + b * 2) * (3 + b);
                double hh = half[b] * (x > 600 ? std::max(0.15, (640 - x) / 40.0) : 1.0) + wob;
                cairo_line_to(cr, x, 150 + hh);
            }
            cairo_close_path(cr);
            cairo_fill(cr);
        }
        // Muzzle flare.
        set(cr, hex(0x9ae0ff));
        cairo_arc(cr, 612, 150, 40 + 4 * (f % 2), 0, 2 * M_PI);
        cairo_fill(cr);
        set(cr, pal::white);
        cairo_arc(cr, 612, 150, 26 + 3 * (f % 3), 0, 2 * M_PI);
        cairo_fill(cr);
        cell_end(c);
    }
}

void art_hosi(Canvas& c) {
    const RGB cols[4] = {hex(0xffffff), hex(0x9ad8ff), hex(0xfff0a0), hex(0xffa0d8)};
    for (int k = 0; k < 4; ++k) {
        for (int x = 0; x < 64; ++x) {
            double t = x / 63.0;
            if (t > 0.05 + 0.22 * k + 0.3) continue;  // streaks of different lengths
            set(c.cr, mix(cols[k], scale(cols[k], 0.35), std::min(1.0, t * 2)));
            cairo_rectangle(c.cr, x, 2 * k, 1, 1);
            cairo_fill(c.cr);
        }
    }
}

// ---------------------------------------------------------------- pickups

// A cut gem; `spin` turns the facet highlight, `tw` adds a twinkle.
static void gem(cairo_t* cr, double cx, double cy, double R, RGB col, double spin, double tw) {
    const int n = 6;
    double pts[n][2];
    for (int i = 0; i < n; ++i) {
        double a = -M_PI / 2 + i * 2 * M_PI / n;
        pts[i][0] = cx + R * std::cos(a) * 0.86;
        pts[i][1] = cy + R * std::sin(a);
    }
    set(cr, scale(col, 0.3));
    cairo_move_to(cr, pts[0][0], pts[0][1] - 1.2);
    for (int i = 1; i < n; ++i) cairo_line_to(cr, pts[i][0] + (i < 3 ? 1.2 : i > 3 ? -1.2 : 0), pts[i][1] + (i == 3 ? 1.2 : 0));
    cairo_close_path(cr);
    cairo_fill(cr);
    for (int i = 0; i < n; ++i) {
        int j = (i + 1) % n;
        double lit = 0.5 + 0.5 * std::cos(i * 2 * M_PI / n - spin);
        set(cr, mix(scale(col, 0.55), mix(col, hex(0xffffff), 0.7), lit));
        poly(cr, {cx, cy, pts[i][0], pts[i][1], pts[j][0], pts[j][1]});
        cairo_fill(cr);
    }
    set(cr, mix(col, hex(0xffffff), 0.5));
    double r2 = R * 0.42;
    cairo_new_path(cr);
    for (int i = 0; i < n; ++i) {
        double a = -M_PI / 2 + i * 2 * M_PI / n;
        cairo_line_to(cr, cx + r2 * std::cos(a) * 0.86, cy + r2 * std::sin(a));
    }
    cairo_close_path(cr);
    cairo_fill(cr);
    if (tw > 0) {
        set(cr, pal::white);
        double s = 6 * tw, x = cx - R * 0.35, y = cy - R * 0.45;
        poly(cr, {x, y - s, x + s * 0.22, y - s * 0.22, x + s, y, x + s * 0.22, y + s * 0.22, x, y + s,
                  x - s * 0.22, y + s * 0.22, x - s, y, x - s * 0.22, y - s * 0.22});
        cairo_fill(cr);
    }
}

void art_jewel(Canvas& c) {
    // Columns: 0 red (oldest), 1 green, 2 blue, 3 gold (fresh), 4 white (fast).
    const RGB cols[5] = {hex(0xff3040), hex(0x30e060), hex(0x3a8aff), hex(0xffd020), hex(0xf4f8ff)};
    for (int col = 0; col < 5; ++col)
        for (int f = 0; f < 9; ++f) {
            cell_begin(c, col, f);
            double tw = f == 2 ? 0.7 : f == 3 ? 1.0 : f == 4 ? 0.5 : 0.0;
            gem(c.cr, 16, 16, 12.5, cols[col], f * 2 * M_PI / 9, tw);
            cell_end(c);
        }
}

void art_pitem(Canvas& c) {
    const RGB cols[4] = {hex(0x20c8ff), hex(0x40e060), hex(0xff8a20), hex(0x3a60ff)};
    const char* letters[4] = {"S", "W", "M", ""};
    for (int k = 0; k < 4; ++k)
        for (int f = 0; f < 6; ++f) {
            cell_begin(c, k, f);
            cairo_t* cr = c.cr;
            double squash = 0.75 + 0.25 * std::fabs(std::cos(f * M_PI / 6));
            cairo_save(cr);
            cairo_translate(cr, 16, 16);
            cairo_scale(cr, squash, 1);
            rrect(cr, -13, -11, 26, 22, 8);
            cairo_restore(cr);
            cairo_pattern_t* p = lin(0, 5, 0, 27, {mix(cols[k], hex(0xffffff), 0.6), cols[k], scale(cols[k], 0.45)});
            cairo_set_source(cr, p);
            cairo_fill_preserve(cr);
            cairo_pattern_destroy(p);
            set(cr, pal::ink);
            cairo_set_line_width(cr, 1.5);
            cairo_stroke(cr);
            if (k < 3) {
                cairo_pattern_t* wp = lin(0, 9, 0, 23, {hex(0xffffff), hex(0xdde8ff)});
                double tw = text_width(letters[k], 13, 0) * squash;
                cairo_save(cr);
                cairo_translate(cr, 16 - tw / 2, 9.5);
                cairo_scale(cr, squash, 1);
                draw_text(cr, letters[k], 0, 0, 13, 0, 2.4, wp, pal::ink, 1.0);
                cairo_restore(cr);
                cairo_pattern_destroy(wp);
            } else {
                // The shield crest.
                cairo_save(cr);
                cairo_translate(cr, 16, 16);
                cairo_scale(cr, squash, 1);
                cairo_move_to(cr, -6, -7);
                cairo_line_to(cr, 6, -7);
                cairo_line_to(cr, 6, 0);
                cairo_curve_to(cr, 6, 4, 2, 7, 0, 8);
                cairo_curve_to(cr, -2, 7, -6, 4, -6, 0);
                cairo_close_path(cr);
                cairo_restore(cr);
                set(cr, pal::white);
                cairo_fill_preserve(cr);
                set(cr, pal::ink);
                cairo_set_line_width(cr, 1.0);
                cairo_stroke(cr);
            }
            // Glint sweeping across.
            set(cr, pal::white, 0.85);
            double gx = 6 + f * 4;
            poly(cr, {gx, 7, gx + 2.5, 7, gx - 1.5, 12, gx - 4, 12});
            cairo_fill(cr);
            cell_end(c);
        }
}

void art_shield(Canvas& c) {
    for (int f = 0; f < 3; ++f) {
        cell_begin(c, 0, f);
        cairo_t* cr = c.cr;
        double cx = 52, cy = 47;  // the ship's centre inside the shield box
        for (int k = 0; k < 12; ++k) {
            double a = k * 2 * M_PI / 12 + f * 0.18;
            double r0 = 44, r1 = 47;
            RGB col = (k + f) % 3 == 0 ? hex(0xc0f4ff) : hex(0x40a0ff);
            set(cr, scale(col, 0.5));
            cairo_set_line_width(cr, 5);
            cairo_arc(cr, cx, cy, (r0 + r1) / 2, a + 0.06, a + 2 * M_PI / 12 - 0.06);
            cairo_stroke(cr);
            set(cr, col);
            cairo_set_line_width(cr, 2.5);
            cairo_arc(cr, cx, cy, (r0 + r1) / 2, a + 0.08, a + 2 * M_PI / 12 - 0.08);
            cairo_stroke(cr);
        }
        // A hexagonal sheen on the front.
        set(cr, hex(0x80d8ff));
        cairo_set_line_width(cr, 1.6);
        for (int k = 0; k < 3; ++k) {
            double a = -0.5 + k * 0.5 + f * 0.12;
            cairo_arc(cr, cx, cy, 38, a, a + 0.25);
            cairo_stroke(cr);
        }
        cell_end(c);
    }
}

// The bomb-stock crystal turning; column 1 is its white-hot flash.
void art_cry(Canvas& c) {
    for (int col = 0; col < 2; ++col)
        for (int f = 0; f < 18; ++f) {
            cell_begin(c, col, f);
            cairo_t* cr = c.cr;
            double a = f * 2 * M_PI / 18;
            double wx = 8 * std::fabs(std::cos(a)) + 1.5, wz = 8 * std::fabs(std::sin(a)) + 1.5;
            RGB base = col ? hex(0xfff4ff) : hex(0xd040ff);
            RGB lite = col ? hex(0xffffff) : hex(0xffb0ff), dark = col ? hex(0xffc0f0) : hex(0x6a10a0);
            set(cr, pal::ink);
            poly(cr, {12, 0.5, 12 + std::max(wx, wz) + 1.2, 12, 12, 23.5, 12 - std::max(wx, wz) - 1.2, 12});
            cairo_fill(cr);
            set(cr, lite);
            poly(cr, {12, 1.5, 12 - wx, 12, 12, 12});
            cairo_fill(cr);
            set(cr, base);
            poly(cr, {12, 1.5, 12 + wz, 12, 12, 12});
            cairo_fill(cr);
            set(cr, scale(base, 0.7));
            poly(cr, {12, 22.5, 12 - wx, 12, 12, 12});
            cairo_fill(cr);
            set(cr, dark);
            poly(cr, {12, 22.5, 12 + wz, 12, 12, 12});
            cairo_fill(cr);
            cell_end(c);
        }
}

}  // namespace qsassets
