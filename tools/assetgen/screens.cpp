// Screen pictures: the title, the WARNING, STAGE CLEAR and GAME OVER
// banners, the HUD digits, gauge and boss bar, and the title screen's
// sliding blast doors.
#include <cmath>
#include "art.h"
#include "font.h"

namespace qsassets {

static cairo_pattern_t* metal_text(double y, double size, RGB top, RGB mid, RGB bot) {
    return lin(0, y, 0, y + size, {top, mid, bot});
}

void art_digits(Canvas& c) {
    for (int d = 0; d < 10; ++d) {
        cell_begin(c, d, 0);
        char s[2] = {(char)('0' + d), 0};
        cairo_save(c.cr);
        cairo_translate(c.cr, 3.2, 4);
        cairo_scale(c.cr, 0.6, 1);
        cairo_pattern_t* p = metal_text(0, 24, hex(0xffffff), hex(0xfff07a), hex(0xff8a1a));
        draw_text(c.cr, s, 0, 0, 24, 0, 4.4, p, pal::ink, 1.6);
        cairo_pattern_destroy(p);
        cairo_restore(c.cr);
        cell_end(c);
    }
}

static void lightning(cairo_t* cr, double x, double y, double len, double dir, uint32_t seed, double w) {
    Rng r(seed);
    std::vector<std::pair<double, double>> pts;
    pts.push_back({x, y});
    double a = dir;
    for (int i = 0; i < 14; ++i) {
        a = dir + r.range(-0.7, 0.7);
        x += std::cos(a) * len / 14;
        y += std::sin(a) * len / 14;
        pts.push_back({x, y});
    }
    for (int pass = 0; pass < 3; ++pass) {
        cairo_new_path(cr);
        for (size_t i = 0; i < pts.size(); ++i) cairo_line_to(cr, pts[i].first, pts[i].second);
        RGB col = pass == 0 ? hex(0x4060ff) : pass == 1 ? hex(0xa0c8ff) : hex(0xffffff);
        set(cr, col, pass == 0 ? 0.35 : 1.0);
        cairo_set_line_width(cr, w * (pass == 0 ? 6 : pass == 1 ? 2.2 : 0.9));
        cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
        cairo_stroke(cr);
    }
    // One branch.
    if (seed % 2 == 0 && pts.size() > 6) lightning(cr, pts[5].first, pts[5].second, len * 0.4, dir + 0.8, seed + 7, w * 0.6);
}

void draw_player_ship(cairo_t* cr, int flick, double bank);

void art_title(Canvas& c) {
    cairo_t* cr = c.cr;
    // Storm sky.
    cairo_pattern_t* sky = lin(0, 0, 0, 480, {hex(0x0a0620), hex(0x2a1850), hex(0x3a2a78), hex(0x101838)});
    cairo_set_source(cr, sky);
    cairo_paint(cr);
    cairo_pattern_destroy(sky);
    // Cloud masses lit from within.
    uint32_t* px = c.px();
    int st = c.stride();
    cairo_surface_flush(c.surf);
    for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 640; ++x) {
            double n = fbm(x, y * 1.6, 640, 768, 4, 5, 77);
            double band = 0.5 + 0.5 * std::sin(y / 480.0 * M_PI * 1.2 + 0.3);
            double v = std::max(0.0, (n - 0.42) * 2.6) * band;
            uint32_t p = px[y * st + x];
            double r = ((p >> 16) & 255) / 255.0, g = ((p >> 8) & 255) / 255.0, b = (p & 255) / 255.0;
            RGB cl = mix(hex(0x503a90), hex(0xb8a8ff), std::min(1.0, v * 1.4));
            double k = std::min(1.0, v * 1.2);
            r += (cl.r - r) * k;
            g += (cl.g - g) * k;
            b += (cl.b - b) * k;
            px[y * st + x] = 0xFF000000u | (uint32_t)(r * 255) << 16 | (uint32_t)(g * 255) << 8 | (uint32_t)(b * 255);
        }
    cairo_surface_mark_dirty(c.surf);
    glow(cr, 470, 60, 220, hex(0x8a70ff), 0.35);
    lightning(cr, 520, -5, 260, 1.9, 4, 1.4);
    lightning(cr, 90, -5, 200, 1.3, 9, 1.0);
    lightning(cr, 600, 150, 160, 2.2, 12, 0.8);
    // Dark storm front at the bottom.
    cairo_new_path(cr);
    cairo_move_to(cr, 0, 480);
    for (int x = 0; x <= 640; x += 20) cairo_line_to(cr, x, 392 + 18 * std::sin(x * 0.021) + 10 * std::sin(x * 0.07 + 1));
    cairo_line_to(cr, 640, 480);
    cairo_close_path(cr);
    cairo_pattern_t* front = lin(0, 380, 0, 480, {hex(0x2c2060), hex(0x100c28)});
    cairo_set_source(cr, front);
    cairo_fill(cr);
    cairo_pattern_destroy(front);
    // The ship climbing out of the storm.
    cairo_save(cr);
    cairo_translate(cr, 500, 300);
    cairo_rotate(cr, -0.32);
    cairo_scale(cr, 2.6, 2.6);
    draw_player_ship(cr, 0, -0.5);
    cairo_restore(cr);
    // Logo.
    const char* name = "QUELLSTORM";
    double size = 56, track = 0.7;
    double w = text_width(name, size, track);
    double x0 = (640 - w) / 2 + 6, y0 = 96;
    cairo_save(cr);
    cairo_translate(cr, x0, y0);
    cairo_matrix_t sh = {1, 0, -0.18, 1, 0, 0};
    cairo_transform(cr, &sh);
    cairo_new_path(cr);
    text_path(cr, name, 0, 0, size, track);
    set(cr, hex(0x6a80ff), 0.35);
    cairo_set_line_width(cr, 26);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_stroke(cr);
    cairo_pattern_t* mt = metal_text(-4, size + 8, hex(0xffffff), hex(0x8ae8ff), hex(0x2040c0));
    draw_text(cr, name, 0, 0, size, track, 9, mt, hex(0x0a0830), 3.5);
    cairo_pattern_destroy(mt);
    // A highlight line through the upper half of the letters.
    cairo_new_path(cr);
    text_path(cr, name, 0, 0, size, track);
    cairo_clip_preserve(cr);
    cairo_new_path(cr);
    cairo_restore(cr);
    // Underline blade.
    cairo_pattern_t* bl = lin(x0 - 20, 0, x0 + w + 20, 0, {hex(0x2040c0), hex(0xffffff), hex(0x2040c0)});
    cairo_set_source(cr, bl);
    poly(cr, {x0 - 30, 168, x0 + w + 10, 168, x0 + w - 4, 173, x0 - 44, 173});
    cairo_fill(cr);
    cairo_pattern_destroy(bl);
    // A quiet panel behind the menu.
    rrect(cr, 200, 308, 216, 60, 8);
    set(cr, hex(0x0c0a26), 0.5);
    cairo_fill_preserve(cr);
    set(cr, hex(0x8ab0ff), 0.5);
    cairo_set_line_width(cr, 1.5);
    cairo_stroke(cr);
}

void art_bar(Canvas& c) {
    cairo_pattern_t* p = lin(0, 0, 0, 10, {hex(0xffd0c0), hex(0xff3020), hex(0x901010)});
    cairo_set_source(c.cr, p);
    cairo_paint(c.cr);
    cairo_pattern_destroy(p);
}

// Diagonal warning stripes over a rectangle.
static void hazard(cairo_t* cr, double x, double y, double w, double h, RGB a, RGB b, double step) {
    cairo_save(cr);
    cairo_rectangle(cr, x, y, w, h);
    cairo_clip(cr);
    set(cr, a);
    cairo_paint(cr);
    set(cr, b);
    for (double s = x - h; s < x + w + h; s += step * 2) {
        poly(cr, {s, y + h, s + h, y, s + h + step, y, s + step, y + h});
        cairo_fill(cr);
    }
    cairo_restore(cr);
}

void art_warning(Canvas& c) {
    cairo_t* cr = c.cr;
    // The band the sweep reveals slice by slice.
    cairo_pattern_t* band = lin(0, 40, 0, 190, {hex(0x50060c), hex(0x8a0c18), hex(0x50060c)});
    cairo_set_source(cr, band);
    cairo_rectangle(cr, 0, 38, 620, 152);
    cairo_fill(cr);
    cairo_pattern_destroy(band);
    hazard(cr, 0, 6, 620, 26, hex(0xffc800), hex(0x3a0a0a), 16);
    hazard(cr, 0, 195, 620, 26, hex(0xffc800), hex(0x3a0a0a), 16);
    const char* t = "WARNING";
    double size = 84, track = 0.6, w = text_width(t, size, track);
    cairo_pattern_t* p = metal_text(60, size, hex(0xffffff), hex(0xffe0e0), hex(0xff4040));
    draw_text(cr, t, (617 - w) / 2, 62, size, track, 15, p, hex(0x2a0006), 3);
    cairo_pattern_destroy(p);
}

void art_warning2(Canvas& c) {
    cairo_t* cr = c.cr;
    hazard(cr, 0, 0, 640, 22, hex(0xe8b000), hex(0x401008), 14);
    hazard(cr, 0, 458, 640, 22, hex(0xe8b000), hex(0x401008), 14);
    set(cr, hex(0xff2030));
    cairo_rectangle(cr, 0, 22, 640, 3);
    cairo_rectangle(cr, 0, 455, 640, 3);
    cairo_fill(cr);
    // Corner brackets and the side caption.
    cairo_set_line_width(cr, 4);
    set(cr, hex(0xff3040));
    double m = 34;
    for (int k = 0; k < 4; ++k) {
        double x = k % 2 ? 640 - m : m, y = k / 2 ? 480 - m : m;
        double sx = k % 2 ? -1 : 1, sy = k / 2 ? -1 : 1;
        cairo_move_to(cr, x, y + sy * 40);
        cairo_line_to(cr, x, y);
        cairo_line_to(cr, x + sx * 40, y);
        cairo_stroke(cr);
    }
    cairo_pattern_t* p = lin(0, 36, 0, 50, {hex(0xffd0d0), hex(0xff3040)});
    draw_text(cr, "CAUTION  BOSS APPROACHING", 84, 36, 13, 0.8, 2.2, p, hex(0x300008), 1);
    cairo_pattern_destroy(p);
}

// A banner: a bar of colour across the screen behind big letters.
static void banner(cairo_t* cr, const char* text, double size, double y, RGB bandA, RGB bandB,
                   RGB top, RGB mid, RGB bot, RGB line) {
    double track = 0.8, w = text_width(text, size, track);
    cairo_pattern_t* band = lin(0, y - 24, 0, y + size + 24, {bandA, bandB, bandA});
    cairo_set_source(cr, band);
    poly(cr, {0, y - 22, 640, y - 22, 640, y + size + 22, 0, y + size + 22});
    cairo_fill(cr);
    cairo_pattern_destroy(band);
    set(cr, line);
    cairo_rectangle(cr, 0, y - 26, 640, 3);
    cairo_rectangle(cr, 0, y + size + 23, 640, 3);
    cairo_fill(cr);
    cairo_pattern_t* p = metal_text(y, size, top, mid, bot);
    draw_text(cr, text, (640 - w) / 2, y, size, track, size * 0.14, p, pal::ink, 3);
    cairo_pattern_destroy(p);
}

void art_stageclear(Canvas& c) {
    banner(c.cr, "STAGE CLEAR", 50, 215, hex(0x0a1440), hex(0x1a3a90), hex(0xffffff), hex(0xfff08a),
           hex(0xffa020), hex(0xffd040));
}

void art_gameover(Canvas& c) {
    banner(c.cr, "GAME OVER", 60, 210, hex(0x20040a), hex(0x500a18), hex(0xffffff), hex(0xff8a8a),
           hex(0xc01020), hex(0xff3040));
}

void art_gauge(Canvas& c) {
    cairo_t* cr = c.cr;
    cairo_pattern_t* p = lin(0, 0, 100, 0, {hex(0x1060ff), hex(0x20e0ff), hex(0x60ff80), hex(0xffe040), hex(0xff3020)});
    cairo_set_source(cr, p);
    cairo_paint(cr);
    cairo_pattern_destroy(p);
    set(cr, pal::white, 0.25);
    for (int x = -20; x < 110; x += 8) {
        poly(cr, {(double)x, 20, x + 10.0, 0, x + 14.0, 0, x + 4.0, 20});
        cairo_fill(cr);
    }
    cairo_pattern_t* sh = lin(0, 0, 0, 20, {hex(0xffffff), hex(0x000000)});
    cairo_pattern_add_color_stop_rgba(sh, 0.5, 0, 0, 0, 0);
    cairo_set_source(cr, sh);
    cairo_paint_with_alpha(cr, 0.35);
    cairo_pattern_destroy(sh);
}

void art_gauge_frame(Canvas& c) {
    cairo_t* cr = c.cr;
    rrect(cr, 1, 1, 98, 18, 3);
    set(cr, pal::ink);
    cairo_set_line_width(cr, 2.5);
    cairo_stroke_preserve(cr);
    set(cr, hex(0xd0e0ff));
    cairo_set_line_width(cr, 1.2);
    cairo_stroke(cr);
    for (int x = 10; x < 100; x += 10) {
        set(cr, hex(0xd0e0ff));
        cairo_rectangle(cr, x, 1, 1, x % 50 ? 3 : 5);
        cairo_rectangle(cr, x, 19 - (x % 50 ? 3 : 5), 1, x % 50 ? 3 : 5);
        cairo_fill(cr);
    }
}

// One blast door: its plate spans [x0, x1); `seam` is the side that meets
// the other door, `cx, cy` the centre of the emblem they share.
static void door(cairo_t* cr, double x0, double x1, double yOff, bool seamRight, double cx, double cy) {
    cairo_save(cr);
    cairo_rectangle(cr, x0, 0, x1 - x0, 600);
    cairo_clip(cr);
    cairo_pattern_t* p = lin(0, 0, 0, 600, {hex(0x5a6478), hex(0x3a4254), hex(0x2a3040), hex(0x454e62)});
    cairo_set_source(cr, p);
    cairo_paint(cr);
    cairo_pattern_destroy(p);
    // Panels and rivets.
    for (int i = 0; i < 6; ++i) {
        double y = 40 + yOff + i * 92;
        set(cr, hex(0x1a1e2a));
        cairo_rectangle(cr, x0, y, x1 - x0, 3);
        cairo_fill(cr);
        set(cr, hex(0x7a869e));
        cairo_rectangle(cr, x0, y + 3, x1 - x0, 1.5);
        cairo_fill(cr);
        for (double x = x0 + 24; x < x1 - 10; x += 60) lamp(cr, x, y + 14, 1.6, hex(0x9aa8c0));
    }
    for (int i = 0; i < 5; ++i) {
        double x = seamRight ? x1 - 250 - i * 90 : x0 + 250 + i * 90;
        set(cr, hex(0x20242e));
        cairo_rectangle(cr, x, 0, 2.5, 600);
        cairo_fill(cr);
    }
    // Along the seam: the left door's hazard strip shows between the right
    // door's teeth.
    if (seamRight) hazard(cr, x1 - 70, 0, 40, 600, hex(0x8a6a10), hex(0x2a2a34), 12);
    // Emblem engraved in the plates: a ring with the storm bolt.
    set(cr, hex(0x22283a));
    cairo_arc(cr, cx, cy, 96, 0, 2 * M_PI);
    cairo_set_line_width(cr, 12);
    cairo_stroke(cr);
    set(cr, hex(0x4a5470));
    cairo_arc(cr, cx, cy - 1.5, 96, 0, 2 * M_PI);
    cairo_set_line_width(cr, 3);
    cairo_stroke(cr);
    set(cr, hex(0x343e5a));
    poly(cr, {cx + 14, cy - 70, cx - 30, cy + 8, cx - 2, cy + 8, cx - 16, cy + 70, cx + 34, cy - 12, cx + 6, cy - 12});
    cairo_fill(cr);
    // Seam lights.
    if (!seamRight)
        for (int i = 0; i < 12; ++i) lamp(cr, x0 + 48 + (i % 2) * 0, 25 + yOff + i * 50, 2.2, hex(0x40c8ff));
    cairo_restore(cr);
}

void art_kabe(Canvas& c) {
    cairo_t* cr = c.cr;
    // Closed, the doors meet at picture x 555 (left) and 631 (right).
    door(cr, 0, 605, 0, true, 555, 250);
    // Right door, with teeth along its left edge that mesh over the left one.
    cairo_save(cr);
    cairo_new_path(cr);
    cairo_move_to(cr, 1216, 0);
    cairo_line_to(cr, 1216, 600);
    for (int i = 11; i >= 0; --i) {
        double y0 = i * 50, y1 = y0 + 50;
        double x = (i % 2) ? 611 : 651;
        cairo_line_to(cr, x + 6, y1);
        cairo_line_to(cr, x, y1 - 6);
        cairo_line_to(cr, x, y0 + 6);
        cairo_line_to(cr, x + 6, y0);
    }
    cairo_close_path(cr);
    cairo_clip(cr);
    door(cr, 611, 1216, 3, false, 631, 253);
    cairo_restore(cr);
}

}  // namespace qsassets
