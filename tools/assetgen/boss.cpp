// The bosses: big, detailed machines sized to their boxes, with their guns
// where the game fires from, and the hit-flash copies.
#include <cmath>
#include "parts.h"

namespace qsassets {

static void plate(cairo_t* cr, const Livery& l, double x, double y, double w, double h, double r = 4) {
    rrect(cr, x, y, w, h, r);
    hull(cr, l, y, y + h, 1.6);
    set(cr, mix(l.light, hex(0xffffff), 0.3), 0.8);
    cairo_rectangle(cr, x + r, y + 1.5, w - 2 * r, 1.5);
    cairo_fill(cr);
}

// Washes what was drawn in the current clip with white: the hit flash.
static void flash_over(cairo_t* cr, double amount) {
    cairo_set_operator(cr, CAIRO_OPERATOR_ATOP);
    set(cr, hex(0xfff0f0), amount);
    cairo_paint(cr);
    cairo_set_operator(cr, CAIRO_OPERATOR_OVER);
}

// ------------------------------------------------------------ first boss

static void boss1(cairo_t* cr, int f, int n) {
    const Livery& L = kSteel;
    const double cx = 130, cy = 120, R = 86;
    double a = 2 * M_PI * f / n;
    // Rear thrusters.
    for (int k = -1; k <= 1; ++k) exhaust(cr, 214, cy + k * 44, 22, 18, hex(0x60c0ff), 0.5 + 0.5 * std::sin(a * 3 + k));
    for (int k = -1; k <= 1; ++k) {
        rrect(cr, 196, cy + k * 44 - 12, 22, 24, 5);
        hull(cr, kDark, cy + k * 44 - 12, cy + k * 44 + 12, 1.4);
    }
    // Swept fins above and below.
    poly(cr, {96, 44, 150, 4, 206, 2, 186, 56});
    hull(cr, kCrimson, 2, 56);
    poly(cr, {96, 196, 150, 236, 206, 238, 186, 184});
    hull(cr, kCrimson, 184, 238);
    seam(cr, 150, 14, 190, 14, kCrimson.base);
    seam(cr, 150, 226, 190, 226, kCrimson.base);
    // The armoured globe, its meridian plates turning.
    sphere(cr, cx, cy, R, L.light, L.base, L.dark, 2.4);
    cairo_save(cr);
    cairo_arc(cr, cx, cy, R - 1, 0, 2 * M_PI);
    cairo_clip(cr);
    for (int k = 0; k < 8; ++k) {
        double b = a / 4 + k * M_PI / 8;
        double c = std::cos(b);
        cairo_save(cr);
        cairo_translate(cr, cx, cy);
        cairo_scale(cr, std::max(0.02, std::fabs(c)), 1.0);
        cairo_arc(cr, 0, 0, R, c >= 0 ? -M_PI / 2 : M_PI / 2, c >= 0 ? M_PI / 2 : 3 * M_PI / 2);
        cairo_restore(cr);
        set(cr, hex(0x1a1e30));
        cairo_set_line_width(cr, 5);
        cairo_stroke_preserve(cr);
        set(cr, mix(L.light, L.base, 1 - std::fabs(std::sin(b))));
        cairo_set_line_width(cr, 1.6);
        cairo_stroke(cr);
    }
    // Equator band with running lights.
    cairo_rectangle(cr, cx - R, cy - 7, 2 * R, 14);
    hull(cr, kDark, cy - 7, cy + 7, 1.2);
    for (int k = 0; k < 10; ++k) {
        double b = a / 2 + k * 2 * M_PI / 10;
        if (std::sin(b) < 0.1) continue;
        lamp(cr, cx + R * std::cos(b), cy, 2.6, (k % 3) ? hex(0x40c0ff) : hex(0xff5070));
    }
    cairo_restore(cr);
    // Face plate with the eye.
    cairo_new_path(cr);
    cairo_move_to(cr, 56, 66);
    cairo_curve_to(cr, 80, 46, 120, 46, 138, 66);
    cairo_line_to(cr, 138, 174);
    cairo_curve_to(cr, 120, 194, 80, 194, 56, 174);
    cairo_close_path(cr);
    hull(cr, L, 46, 194, 2);
    seam(cr, 64, 100, 134, 100, L.base);
    seam(cr, 64, 140, 134, 140, L.base);
    rivets(cr, 70, 62, 126, 62, 6, L.base);
    rivets(cr, 70, 178, 126, 178, 6, L.base);
    double pulse = 0.5 + 0.5 * std::sin(a * 2);
    glow(cr, 98, cy, 28 + 8 * pulse, hex(0xff4060), 0.8);
    eye(cr, 98, cy, 15, hex(0xff3050));
    set(cr, pal::white);
    cairo_arc(cr, 92, cy - 6, 4, 0, 2 * M_PI);
    cairo_fill(cr);
    // Four guns: long ones with muzzles at (40, 90) and (40, 150), short
    // ones at (80, 90) and (80, 150).
    for (int k = 0; k < 2; ++k) {
        double y = k ? 150 : 90;
        barrel(cr, 132, y + (k ? 12 : -12), 52, 10, 180, hex(0x9aa4b8));
        barrel(cr, 120, y, 80, 14, 180, hex(0xc8d0e0));
        glow(cr, 42, y, 6 + 3 * pulse, hex(0xff80a0), 0.8);
    }
    // Laser rails along the front (rows from y 65 to 150).
    for (int k = 0; k < 2; ++k) {
        double y = k ? 152 : 62;
        rrect(cr, 6, y - 4, 56, 9, 3);
        hull(cr, kDark, y - 4, y + 5, 1.2);
        lamp(cr, 9, y + 0.5, 2.2, hex(0xff60a0));
    }
}

void art_boss1(Canvas& c) {
    for (int f = 0; f < 23; ++f) {
        cell_begin(c, 0, f);
        boss1(c.cr, f, 23);
        cell_end(c);
        // The flash copy starts one pixel further right (x 241).
        cairo_save(c.cr);
        cairo_rectangle(c.cr, 241, f * 240, 239, 240);
        cairo_clip(c.cr);
        cairo_push_group(c.cr);
        cairo_translate(c.cr, 241, f * 240);
        boss1(c.cr, f, 23);
        flash_over(c.cr, 0.6);
        cairo_pop_group_to_source(c.cr);
        cairo_paint(c.cr);
        cairo_restore(c.cr);
    }
}

// ------------------------------------------------------------ second boss

static void boss2(cairo_t* cr) {
    const Livery& L = kBlue;
    // Engines at the stern.
    for (int k = 0; k < 3; ++k) exhaust(cr, 462, 200 + k * 26, 30, 18, hex(0xffa040), 1.0 - k * 0.15);
    // Lower hull (x 80..450, y 200..270).
    cairo_new_path(cr);
    cairo_move_to(cr, 60, 206);
    cairo_line_to(cr, 100, 190);
    cairo_line_to(cr, 470, 186);
    cairo_line_to(cr, 480, 262);
    cairo_line_to(cr, 420, 284);
    cairo_line_to(cr, 120, 280);
    cairo_close_path(cr);
    hull(cr, L, 186, 284, 2);
    for (int i = 0; i < 9; ++i) seam(cr, 130 + i * 38, 194, 128 + i * 38, 276, L.base);
    rivets(cr, 120, 268, 440, 268, 16, L.base);
    // Mid deck (x 100..380, y 150..200).
    plate(cr, L, 100, 146, 300, 50, 10);
    // Bridge tower (x 250..380 from y 90).
    cairo_new_path(cr);
    cairo_move_to(cr, 240, 150);
    cairo_line_to(cr, 262, 84);
    cairo_line_to(cr, 360, 74);
    cairo_line_to(cr, 392, 150);
    cairo_close_path(cr);
    hull(cr, L, 74, 150, 2);
    for (int k = 0; k < 6; ++k) lamp(cr, 276 + k * 16, 104, 2.6, hex(0x80f0ff));
    plate(cr, kSteel, 290, 54, 60, 24, 6);
    set(cr, pal::ink);
    cairo_set_line_width(cr, 3);
    cairo_move_to(cr, 330, 54);
    cairo_line_to(cr, 344, 8);
    cairo_stroke(cr);
    lamp(cr, 344, 8, 3, hex(0xff3030));
    // The great bow cannon: muzzle at (140, 90).
    cairo_new_path(cr);
    cairo_move_to(cr, 150, 76);
    cairo_line_to(cr, 250, 70);
    cairo_line_to(cr, 262, 112);
    cairo_line_to(cr, 150, 106);
    cairo_close_path(cr);
    hull(cr, kSteel, 70, 112, 1.8);
    cairo_rectangle(cr, 136, 80, 20, 22);
    shade(cr, 80, 102, hex(0xffffff), hex(0x8a98b0), hex(0x343c50), pal::ink, 1.6);
    glow(cr, 140, 91, 10, hex(0x80e0ff), 0.9);
    poly(cr, {200, 106, 230, 108, 240, 150, 190, 150});
    hull(cr, kSteel, 106, 150, 1.6);
    // Turrets at (111, 140) and (245, 132).
    for (int k = 0; k < 2; ++k) {
        double x = k ? 245 : 111, y = k ? 132 : 140;
        barrel(cr, x + 14, y, 30, 7, 190, hex(0xc0c8d8));
        sphere(cr, x + 18, y + 4, 14, kSteel.light, kSteel.base, kSteel.dark, 1.6);
    }
    // Six hull guns on the line y 195.
    const double gx[6] = {110, 160, 220, 270, 340, 390};
    for (double x : gx) {
        barrel(cr, x + 6, 200, 18, 6, 170, hex(0xc0c8d8));
        sphere(cr, x + 8, 202, 8, kCrimson.light, kCrimson.base, kCrimson.dark, 1.2);
    }
}

void art_boss2(Canvas& c) {
    cell_begin(c, 0, 0);
    boss2(c.cr);
    cell_end(c);
    cell_begin(c, 0, 1);
    cairo_push_group(c.cr);
    boss2(c.cr);
    flash_over(c.cr, 0.6);
    cairo_pop_group_to_source(c.cr);
    cairo_paint(c.cr);
    cell_end(c);
}

// ------------------------------------------------------------ third boss

void art_boss3(Canvas& c) {
    cairo_t* cr = c.cr;
    const Livery& L = kIce;
    // Crystal spines behind.
    Rng r(33);
    for (int k = 0; k < 9; ++k) {
        double x = 170 + k * 26, h = r.range(90, 170);
        poly(cr, {x - 16, 200, x, 200 - h, x + 16, 200});
        shade(cr, 200 - h, 200, hex(0xffffff), hex(0xb070ff), hex(0x40207a), pal::ink, 1.4);
        poly(cr, {x - 16, 200, x, 200 + h * 0.8, x + 16, 200});
        shade(cr, 200, 200 + h, hex(0xd0a0ff), hex(0x8040d0), hex(0x301060), pal::ink, 1.4);
    }
    // Main body (x 128..400, y 100..300).
    cairo_new_path(cr);
    cairo_move_to(cr, 128, 200);
    cairo_curve_to(cr, 140, 110, 300, 90, 390, 150);
    cairo_line_to(cr, 396, 250);
    cairo_curve_to(cr, 300, 310, 140, 290, 128, 200);
    cairo_close_path(cr);
    hull(cr, L, 96, 304, 2.2);
    // Inner glow between the ribs.
    glow(cr, 240, 200, 70, hex(0x80ffff), 0.9);
    // Two jaws ending in the beam mouths at (9, 180) and (9, 216).
    for (int s = 0; s < 2; ++s) {
        double y = s ? 218 : 182, d = s ? 1 : -1;
        cairo_new_path(cr);
        cairo_move_to(cr, 6, y);
        cairo_line_to(cr, 60, y + d * 10);
        cairo_line_to(cr, 150, y + d * 34);
        cairo_line_to(cr, 150, y - d * 6);
        cairo_line_to(cr, 60, y - d * 6);
        cairo_close_path(cr);
        shade(cr, std::min(y - 6, y + d * 34), std::max(y + 6, y + d * 34), hex(0xffffff), hex(0x9060e0), hex(0x2a1060), pal::ink, 1.6);
        glow(cr, 10, s ? 216 : 180, 9, hex(0xff80ff), 1.0);
        // Front laser emitters at x 40.
        lamp(cr, 42, s ? 208 : 174, 2.4, hex(0xffa0ff));
        lamp(cr, 42, s ? 219 : 184, 2.4, hex(0xffa0ff));
    }
    // Three ribs (x 120-150, 195-215, 270-300).
    const double rx[3][3] = {{120, 150, 65}, {195, 215, 50}, {270, 300, 75}};
    for (auto& rb : rx) {
        double y0 = rb[2], y1 = 400 - rb[2];
        rrect(cr, rb[0], y0, rb[1] - rb[0], y1 - y0, (rb[1] - rb[0]) / 2);
        shade(cr, y0, y1, hex(0xf0e0ff), hex(0x7040c0), hex(0x201050), pal::ink, 2);
        for (double y = y0 + 24; y < y1 - 16; y += 36) lamp(cr, (rb[0] + rb[1]) / 2, y, 2.4, hex(0x80ffff));
    }
    // Gun ports.
    eye(cr, 204, 151, 8, hex(0xff60c0));
    eye(cr, 204, 239, 8, hex(0xff60c0));
    eye(cr, 243, 190, 10, hex(0xffe060));
    seam(cr, 310, 130, 390, 160, L.base);
    seam(cr, 310, 270, 390, 240, L.base);
}

// ------------------------------------------------------------ fourth boss

void art_boss4(Canvas& c) {
    cairo_t* cr = c.cr;
    const Livery& L = kGold;
    // Engine pods at the back.
    for (int k = 0; k < 2; ++k) {
        double y = k ? 300 : 100;
        exhaust(cr, 372, y, 26, 24, hex(0x60e0ff), 1);
        ellipse(cr, 340, y, 40, 22);
        hull(cr, kSteel, y - 22, y + 22, 1.8);
        lamp(cr, 310, y, 3, hex(0x60e0ff));
    }
    // Wings.
    poly(cr, {230, 160, 300, 20, 360, 16, 320, 170});
    hull(cr, L, 16, 170, 1.8);
    poly(cr, {230, 240, 300, 380, 360, 384, 320, 230});
    hull(cr, L, 230, 384, 1.8);
    // Central hull (x 158..330, y 30..370).
    cairo_new_path(cr);
    cairo_move_to(cr, 158, 120);
    cairo_curve_to(cr, 170, 40, 300, 30, 330, 90);
    cairo_line_to(cr, 330, 310);
    cairo_curve_to(cr, 300, 370, 170, 360, 158, 280);
    cairo_close_path(cr);
    hull(cr, L, 30, 370, 2.2);
    for (int i = 0; i < 6; ++i) seam(cr, 166, 90 + i * 44, 326, 90 + i * 44, L.base);
    // Nose section reaching forward (x 30..160 around y 140..180).
    cairo_new_path(cr);
    cairo_move_to(cr, 22, 150);
    cairo_line_to(cr, 70, 128);
    cairo_line_to(cr, 170, 118);
    cairo_line_to(cr, 170, 230);
    cairo_line_to(cr, 70, 196);
    cairo_close_path(cr);
    hull(cr, kSteel, 118, 230, 2);
    cairo_new_path(cr);
    cairo_move_to(cr, 80, 140);
    cairo_curve_to(cr, 100, 128, 130, 126, 150, 130);
    cairo_line_to(cr, 148, 150);
    cairo_close_path(cr);
    shade(cr, 126, 150, hex(0xe0ffff), hex(0x30a0e0), hex(0x102a60), pal::ink, 1.4);
    // Guns: nose (80, 170), launcher (30, 140), lasers (200, 52) and (60, 160).
    barrel(cr, 90, 170, 24, 10, 180, hex(0xc0c8d8));
    eye(cr, 36, 141, 7, hex(0xff3040));
    barrel(cr, 74, 160, 16, 6, 180, hex(0xc0c8d8));
    plate(cr, kCrimson, 180, 36, 50, 30, 8);
    glow(cr, 200, 52, 10, hex(0xff80ff), 0.9);
    lamp(cr, 200, 52, 3, hex(0xffffff));
    eye(cr, 250, 200, 18, hex(0x60f0ff));
    for (int k = 0; k < 5; ++k) lamp(cr, 296, 130 + k * 34, 2.6, hex(0xff5030));
}

// ------------------------------------------------------------ fifth boss

void art_core(Canvas& c) {
    for (int f = 0; f < 27; ++f) {
        cell_begin(c, 0, f);
        cairo_t* cr = c.cr;
        double a = 2 * M_PI * f / 27;
        double pulse = 0.5 + 0.5 * std::sin(a * 3);
        sphere(cr, 50, 50, 46, hex(0xb0b8d0), hex(0x4a5068), hex(0x16182a), 2);
        glow(cr, 50, 50, 34 + 6 * pulse, hex(0xff40a0), 1.0);
        sphere(cr, 50, 50, 22, hex(0xffffff), hex(0xff50b0), hex(0x800040), 1.6);
        // Iris shutters turning round the core.
        for (int k = 0; k < 6; ++k) {
            double b = a + k * M_PI / 3;
            cairo_save(cr);
            cairo_translate(cr, 50, 50);
            cairo_rotate(cr, b);
            poly(cr, {24, -8, 44, -14, 44, 14, 24, 8});
            hull(cr, kSteel, -14, 14, 1.2);
            cairo_restore(cr);
        }
        set(cr, pal::white);
        cairo_arc(cr, 44, 44, 5, 0, 2 * M_PI);
        cairo_fill(cr);
        cell_end(c);
    }
}

void art_boss5(Canvas& c) {
    cairo_t* cr = c.cr;
    const Livery& L = kDark;
    const double cx = 413, cy = 245;
    // The fortress face: symmetric armour wings round the core socket.
    auto outline = [&]() {
        cairo_new_path(cr);
        cairo_move_to(cr, cx, 4);
        cairo_line_to(cr, cx + 200, 40);
        cairo_line_to(cr, cx + 410, 150);
        cairo_line_to(cr, cx + 420, 340);
        cairo_line_to(cr, cx + 210, 460);
        cairo_line_to(cr, cx, 495);
        cairo_line_to(cr, cx - 210, 460);
        cairo_line_to(cr, cx - 410, 340);
        cairo_line_to(cr, cx - 410, 150);
        cairo_line_to(cr, cx - 200, 40);
        cairo_close_path(cr);
    };
    outline();
    hull(cr, L, 4, 495, 2.5);
    cairo_save(cr);
    outline();
    cairo_clip(cr);
    // Armour plates in two tiers on each side.
    for (int s = -1; s <= 1; s += 2)
        for (int k = 0; k < 4; ++k) {
            double x0 = cx + s * (90 + k * 80), x1 = x0 + s * 72;
            double top = 60 + k * 24, bot = 440 - k * 24;
            cairo_new_path(cr);
            cairo_move_to(cr, x0, top + 20);
            cairo_line_to(cr, x1, top + 36);
            cairo_line_to(cr, x1, bot - 36);
            cairo_line_to(cr, x0, bot - 20);
            cairo_close_path(cr);
            shade(cr, top, bot, hex(0x9aa0c0), hex(0x4a5070), hex(0x1c1e34), pal::ink, 2);
            for (double y = top + 50; y < bot - 50; y += 26) seam(cr, x0 + s * 6, y, x1 - s * 6, y + 4, hex(0x4a5070));
        }
    // Plating rings and conduits glowing towards the core.
    for (int k = 1; k < 6; ++k) {
        double r = 60 + k * 60;
        set(cr, hex(0x0e1020));
        cairo_set_line_width(cr, 4);
        cairo_arc(cr, cx, cy, r, 0, 2 * M_PI);
        cairo_stroke(cr);
        set(cr, hex(0x6a7090));
        cairo_set_line_width(cr, 1.5);
        cairo_arc(cr, cx, cy - 2, r, 0, 2 * M_PI);
        cairo_stroke(cr);
    }
    for (int k = 0; k < 12; ++k) {
        double b = k * M_PI / 6 + M_PI / 12;
        double x0 = cx + 70 * std::cos(b), y0 = cy + 70 * std::sin(b);
        double x1 = cx + 420 * std::cos(b), y1 = cy + 280 * std::sin(b);
        set(cr, hex(0xff2090), 0.55);
        cairo_set_line_width(cr, 9);
        cairo_move_to(cr, x0, y0);
        cairo_line_to(cr, x1, y1);
        cairo_stroke(cr);
        set(cr, hex(0xffa0e0));
        cairo_set_line_width(cr, 2.5);
        cairo_move_to(cr, x0, y0);
        cairo_line_to(cr, x1, y1);
        cairo_stroke(cr);
    }
    // Vent grilles top and bottom.
    for (int k = -4; k <= 4; ++k) {
        set(cr, hex(0x0e1020));
        cairo_rectangle(cr, cx + k * 16 - 5, 30, 10, 40);
        cairo_rectangle(cr, cx + k * 16 - 5, 430, 10, 40);
        cairo_fill(cr);
        glow(cr, cx + k * 16, 50, 6, hex(0xff6020), 0.7);
        glow(cr, cx + k * 16, 450, 6, hex(0xff6020), 0.7);
    }
    cairo_restore(cr);
    // Gun batteries on the wings.
    for (int s = -1; s <= 1; s += 2)
        for (int k = 0; k < 3; ++k) {
            double x = cx + s * (150 + k * 80), y = 120 + k * 40;
            plate(cr, kCrimson, x - 24, y - 14, 48, 28, 6);
            barrel(cr, x, y, 30, 8, s < 0 ? 200 : -20, hex(0xc0c8d8));
            plate(cr, kCrimson, x - 24, 480 - y - 14, 48, 28, 6);
            barrel(cr, x, 480 - y, 30, 8, s < 0 ? 160 : 20, hex(0xc0c8d8));
        }
    // The break line (the upper half flies off later): a seam at y 245.
    set(cr, hex(0xff6020));
    cairo_rectangle(cr, cx - 410, 243, 820, 3);
    cairo_fill(cr);
    // Socket ring and the see-through hole where the core sits.
    set(cr, pal::ink);
    cairo_arc(cr, cx, cy, 64, 0, 2 * M_PI);
    cairo_fill(cr);
    cairo_pattern_t* p = lin(0, cy - 60, 0, cy + 60, {hex(0xd0d8f0), hex(0x5a6080), hex(0x1a1c30)});
    cairo_set_source(cr, p);
    cairo_arc(cr, cx, cy, 60, 0, 2 * M_PI);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
    for (int k = 0; k < 16; ++k) {
        double b = k * M_PI / 8;
        lamp(cr, cx + 55 * std::cos(b), cy + 55 * std::sin(b), 2.2, hex(0xff60c0));
    }
    cairo_set_operator(cr, CAIRO_OPERATOR_CLEAR);
    cairo_arc(cr, cx, cy, 48, 0, 2 * M_PI);
    cairo_fill(cr);
    cairo_set_operator(cr, CAIRO_OPERATOR_OVER);
}

// ------------------------------------------------------------ last boss

void art_lastboss(Canvas& c) {
    cairo_t* cr = c.cr;
    const Livery& L = kDark;
    // Hull, nose to the right.
    cairo_new_path(cr);
    cairo_move_to(cr, 4, 60);
    cairo_line_to(cr, 60, 28);
    cairo_line_to(cr, 250, 26);
    cairo_line_to(cr, 396, 96);
    cairo_line_to(cr, 330, 130);
    cairo_line_to(cr, 200, 150);
    cairo_line_to(cr, 60, 146);
    cairo_line_to(cr, 4, 110);
    cairo_close_path(cr);
    hull(cr, L, 26, 150, 2);
    // Crimson armour stripes.
    poly(cr, {60, 60, 250, 56, 330, 92, 60, 92});
    hull(cr, kCrimson, 56, 92, 1.4);
    for (int i = 0; i < 7; ++i) seam(cr, 80 + i * 34, 96, 80 + i * 34, 140, L.base);
    rivets(cr, 70, 138, 300, 124, 12, L.base);
    // Bridge.
    cairo_new_path(cr);
    cairo_move_to(cr, 200, 56);
    cairo_curve_to(cr, 220, 34, 260, 34, 286, 56);
    cairo_close_path(cr);
    shade(cr, 34, 56, hex(0xffe0ff), hex(0xc040c0), hex(0x401040), pal::ink, 1.4);
    // Guns: top (43, 43), centre (160, 39), front (303, 136), rear (30, 19) / (30, 109).
    sphere(cr, 48, 44, 12, kSteel.light, kSteel.base, kSteel.dark, 1.4);
    barrel(cr, 50, 43, 22, 6, -10, hex(0xc0c8d8));
    sphere(cr, 160, 42, 12, kSteel.light, kSteel.base, kSteel.dark, 1.4);
    barrel(cr, 162, 40, 26, 7, 0, hex(0xc0c8d8));
    barrel(cr, 260, 136, 50, 12, 0, hex(0xb0b8c8));
    eye(cr, 300, 136, 5, hex(0xff4040));
    barrel(cr, 50, 19, 24, 8, 180, hex(0xc0c8d8));
    barrel(cr, 50, 109, 24, 8, 180, hex(0xc0c8d8));
    // Engine block at the rear (the flame is drawn beside it).
    plate(cr, kSteel, 0, 64, 30, 44, 6);
    glow(cr, 6, 86, 12, hex(0xff8040), 0.9);
    for (int k = 0; k < 6; ++k) lamp(cr, 100 + k * 26, 76, 2.4, hex(0xff3070));
    eye(cr, 360, 98, 6, hex(0xff2020));
}

void art_fire(Canvas& c) {
    // Cell (col, row) shows frame (col + row) mod 5, so the five frames run
    // both down the first column and across the first row.
    for (int row = 0; row < 5; ++row)
        for (int col = 0; col < 5; ++col) {
            cell_begin(c, col, row);
            cairo_t* cr = c.cr;
            int f = (col + row) % 5;
            static const double len[5] = {1.0, 0.82, 0.94, 0.72, 0.88};
            double L = 96 * len[f];
            cairo_translate(cr, 100, 20);
            cairo_scale(cr, -1, 1);
            exhaust(cr, 0, 0, L, 30, hex(0xff4010), 1.0);
            exhaust(cr, 0, 0, L * 0.7, 18, hex(0xffc040), 1.0);
            exhaust(cr, 0, 0, L * 0.4, 8, hex(0xffffff), 1.0);
            cell_end(c);
        }
}

}  // namespace qsassets
