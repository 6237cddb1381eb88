#include "parts.h"
#include <cmath>

namespace qsassets {

const Livery kRed = {hex(0xff9a8a), hex(0xd8283a), hex(0x6a1020), hex(0xffd040), hex(0xffe060)};
const Livery kPurple = {hex(0xd8a0ff), hex(0x8a3ad8), hex(0x3a1470), hex(0x40e0ff), hex(0x60ffe0)};
const Livery kGreen = {hex(0xb0ffa0), hex(0x3ab84a), hex(0x145a28), hex(0xffe040), hex(0xff4040)};
const Livery kOrange = {hex(0xffd8a0), hex(0xf08a20), hex(0x7a3a10), hex(0x4a5a78), hex(0x60f0ff)};
const Livery kTeal = {hex(0xa0fff0), hex(0x20a8a0), hex(0x0c4a50), hex(0xff6aa0), hex(0xfff060)};
const Livery kPink = {hex(0xffc0e8), hex(0xe05aa8), hex(0x70205a), hex(0x80f0ff), hex(0xfff0ff)};
const Livery kOlive = {hex(0xd8e0a0), hex(0x8a9a48), hex(0x3a4420), hex(0xe06a20), hex(0xff5030)};
const Livery kBlue = {hex(0xb0d0ff), hex(0x3a6ad8), hex(0x14286a), hex(0xffb020), hex(0xff4060)};
const Livery kGold = {hex(0xfff0b0), hex(0xe0b030), hex(0x6a4a10), hex(0xc02a40), hex(0x60e0ff)};
const Livery kSteel = {hex(0xe0e8f4), hex(0x8a98b0), hex(0x343c50), hex(0xe0283c), hex(0xff3a4a)};
const Livery kCrimson = {hex(0xff8aa0), hex(0xa01838), hex(0x400818), hex(0xd0d8e8), hex(0xff40ff)};
const Livery kIce = {hex(0xf0ffff), hex(0x80c8f0), hex(0x2a5a90), hex(0xc060ff), hex(0xb0ffff)};
const Livery kDark = {hex(0x8a90b0), hex(0x3a3e58), hex(0x16182a), hex(0xff3030), hex(0xff5a20)};

void hull(cairo_t* cr, const Livery& l, double y0, double y1, double lw) {
    shade(cr, y0, y1, l.light, l.base, l.dark, pal::ink, lw);
}
void trim(cairo_t* cr, const Livery& l, double y0, double y1, double lw) {
    shade(cr, y0, y1, mix(l.trim, hex(0xffffff), 0.4), l.trim, scale(l.trim, 0.5), pal::ink, lw);
}

void barrel(cairo_t* cr, double x, double y, double len, double th, double deg, RGB metal) {
    cairo_save(cr);
    cairo_translate(cr, x, y);
    cairo_rotate(cr, deg * M_PI / 180);
    cairo_rectangle(cr, 0, -th / 2, len, th);
    shade(cr, -th / 2, th / 2, mix(metal, hex(0xffffff), 0.5), metal, scale(metal, 0.4), pal::ink, 1.2);
    cairo_rectangle(cr, len - th * 0.6, -th * 0.7, th * 0.6, th * 1.4);
    shade(cr, -th * 0.7, th * 0.7, mix(metal, hex(0xffffff), 0.5), metal, scale(metal, 0.4), pal::ink, 1.2);
    cairo_restore(cr);
}

void exhaust(cairo_t* cr, double x, double y, double len, double th, RGB col, double f) {
    double L = len * (0.7 + 0.3 * f);
    cairo_save(cr);
    cairo_translate(cr, x, y);
    cairo_pattern_t* p = lin(0, 0, L, 0, {hex(0xffffff), mix(col, hex(0xffffff), 0.3), col});
    cairo_set_source(cr, p);
    cairo_move_to(cr, 0, -th / 2);
    cairo_curve_to(cr, L * 0.5, -th * 0.45, L * 0.8, -th * 0.15, L, 0);
    cairo_curve_to(cr, L * 0.8, th * 0.15, L * 0.5, th * 0.45, 0, th / 2);
    cairo_close_path(cr);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
    cairo_restore(cr);
}

void eye(cairo_t* cr, double x, double y, double r, RGB col, double open) {
    set(cr, pal::ink);
    ellipse(cr, x, y, r + 1.2, (r + 1.2) * std::max(0.25, open));
    cairo_fill(cr);
    cairo_pattern_t* p = cairo_pattern_create_radial(x - r * 0.3, y - r * 0.3, 0, x, y, r);
    RGB hi = mix(col, hex(0xffffff), 0.8);
    cairo_pattern_add_color_stop_rgb(p, 0, hi.r, hi.g, hi.b);
    cairo_pattern_add_color_stop_rgb(p, 0.6, col.r, col.g, col.b);
    cairo_pattern_add_color_stop_rgb(p, 1, col.r * 0.5, col.g * 0.5, col.b * 0.5);
    cairo_set_source(cr, p);
    ellipse(cr, x, y, r, r * std::max(0.2, open));
    cairo_fill(cr);
    cairo_pattern_destroy(p);
}

void seam(cairo_t* cr, double x0, double y0, double x1, double y1, RGB base) {
    set(cr, scale(base, 0.45));
    cairo_set_line_width(cr, 1.0);
    cairo_move_to(cr, x0, y0);
    cairo_line_to(cr, x1, y1);
    cairo_stroke(cr);
    set(cr, mix(base, hex(0xffffff), 0.45));
    cairo_move_to(cr, x0, y0 + 1);
    cairo_line_to(cr, x1, y1 + 1);
    cairo_stroke(cr);
}

void rivets(cairo_t* cr, double x0, double y0, double x1, double y1, int n, RGB base) {
    for (int i = 0; i < n; ++i) {
        double t = n > 1 ? (double)i / (n - 1) : 0.5;
        double x = x0 + (x1 - x0) * t, y = y0 + (y1 - y0) * t;
        set(cr, scale(base, 0.4));
        cairo_arc(cr, x + 0.4, y + 0.4, 1.3, 0, 2 * M_PI);
        cairo_fill(cr);
        set(cr, mix(base, hex(0xffffff), 0.6));
        cairo_arc(cr, x, y, 0.9, 0, 2 * M_PI);
        cairo_fill(cr);
    }
}

void sphere(cairo_t* cr, double cx, double cy, double r, RGB light, RGB base, RGB dark, double lw) {
    cairo_pattern_t* p = cairo_pattern_create_radial(cx - r * 0.35, cy - r * 0.4, r * 0.05, cx, cy, r);
    cairo_pattern_add_color_stop_rgb(p, 0, light.r, light.g, light.b);
    cairo_pattern_add_color_stop_rgb(p, 0.55, base.r, base.g, base.b);
    cairo_pattern_add_color_stop_rgb(p, 1, dark.r, dark.g, dark.b);
    cairo_arc(cr, cx, cy, r, 0, 2 * M_PI);
    cairo_set_source(cr, p);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(p);
    if (lw > 0) {
        set(cr, pal::ink);
        cairo_set_line_width(cr, lw);
        cairo_stroke(cr);
    } else {
        cairo_new_path(cr);
    }
}

}  // namespace qsassets
