// Stage backgrounds. Every tile joins seamlessly with its own copies (the
// game repeats it as it scrolls): left to right, and for the sky also top to
// bottom. Opaque layers keep every colour visible on the 16-bit display.
#include <cmath>
#include <functional>
#include "parts.h"

namespace qsassets {

static double clamp01(double v) { return v < 0 ? 0 : v > 1 ? 1 : v; }
static double smooth(double a, double b, double v) {
    double t = clamp01((v - a) / (b - a));
    return t * t * (3 - 2 * t);
}

static void put(Canvas& c, int x, int y, RGB col, double a = 1.0) {
    uint32_t* p = &c.px()[y * c.stride() + x];
    auto ch = [](double v) { return (uint32_t)std::lround(clamp01(v) * 255); };
    uint32_t A = ch(a);
    *p = A << 24 | (ch(col.r * a) << 16) | (ch(col.g * a) << 8) | ch(col.b * a);
}

// Runs `fn` at x, x - period and x + period so shapes cross the seam.
static void wrapx(cairo_t* cr, double period, const std::function<void()>& fn) {
    for (int k = -1; k <= 1; ++k) {
        cairo_save(cr);
        cairo_translate(cr, k * period, 0);
        fn();
        cairo_restore(cr);
    }
}

// ------------------------------------------------------------ sky

void art_sky(Canvas& c) {
    cairo_surface_flush(c.surf);
    for (int y = 0; y < 480; ++y) {
        // Periodic bands: haze in the middle, deeper blue at the edges.
        double band = 0.5 - 0.5 * std::cos(2 * M_PI * y / 480.0);
        RGB sky = mix(hex(0x1e5ac8), hex(0x7ac0f8), band);
        for (int x = 0; x < 640; ++x) {
            double n = fbm(x, y, 640, 480, 4, 5, 11);
            double streak = fbm(x, y * 3.0, 640, 1440, 3, 4, 12);
            double cloud = smooth(0.6, 0.8, n * 0.7 + streak * 0.45 + band * 0.1);
            double lit = smooth(0.3, 0.8, fbm(x + 7, y - 9, 640, 480, 4, 4, 11));
            RGB cl = mix(hex(0xb8d0f0), hex(0xffffff), lit);
            RGB col = mix(sky, cl, cloud * 0.8);
            put(c, x, y, col);
        }
    }
    cairo_surface_mark_dirty(c.surf);
}

void art_cloud(Canvas& c) {
    cairo_surface_flush(c.surf);
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 200; ++x) {
            double dx = (x - 100) / 92.0, dy = (y - 110) / 70.0;
            double r = std::sqrt(dx * dx + dy * dy);
            double n = fbm(x, y, 200, 200, 3, 5, 21);
            double base = y > 150 ? smooth(182, 150, y) : 1.0;  // flat underside
            double d = (1.05 - r) + (n - 0.5) * 0.9;
            if (d * base < 0.18) continue;
            double top = clamp01(1.0 - (y - 40) / 140.0);
            double shade_ = smooth(0.2, 0.9, top + (n - 0.5) * 0.6);
            RGB col = mix(hex(0x9ab0d8), hex(0xffffff), shade_);
            put(c, x, y, col);
        }
    cairo_surface_mark_dirty(c.surf);
}

// ------------------------------------------------------------ forest

static void conifer(cairo_t* cr, double x, double base, double h, RGB col) {
    cairo_new_path(cr);
    cairo_move_to(cr, x, base - h);
    int tiers = 5;
    for (int i = 1; i <= tiers; ++i) {
        double y = base - h + h * i / tiers, w = h * 0.16 * (0.6 + i * 0.5);
        cairo_line_to(cr, x + w, y);
        cairo_line_to(cr, x + w * 0.45, y - h * 0.05);
    }
    for (int i = tiers; i >= 1; --i) {
        double y = base - h + h * i / tiers, w = h * 0.16 * (0.6 + i * 0.5);
        cairo_line_to(cr, x - w * 0.45, y - h * 0.05);
        cairo_line_to(cr, x - w, y);
    }
    cairo_close_path(cr);
    set(cr, col);
    cairo_fill(cr);
}

void art_forest(Canvas& c) {
    cairo_t* cr = c.cr;
    cairo_pattern_t* sky = lin(0, 0, 0, 480, {hex(0x1a4a3a), hex(0x5aa880), hex(0xc8e8a0), hex(0x4a8a5a)});
    cairo_set_source(cr, sky);
    cairo_paint(cr);
    cairo_pattern_destroy(sky);
    Rng r(63);
    // Far, middle and near rows of conifers, hazier with distance.
    const RGB rows[3] = {hex(0x6aa08a), hex(0x3a7a58), hex(0x1c4a30)};
    const double baseY[3] = {330, 380, 440}, hmin[3] = {80, 130, 190}, hmax[3] = {130, 200, 280};
    for (int row = 0; row < 3; ++row) {
        int n = 16 - row * 3;
        for (int i = 0; i < n; ++i) {
            double x = (i + r.uni() * 0.6) * 640.0 / n, h = r.range(hmin[row], hmax[row]);
            wrapx(cr, 640, [&]() { conifer(cr, x, baseY[row] + r.uni() * 0, h, rows[row]); });
        }
        set(cr, rows[row]);
        cairo_rectangle(cr, 0, baseY[row] - 2, 640, 480);
        cairo_fill(cr);
    }
    // Light shafts through the canopy.
    for (int k = 0; k < 4; ++k) {
        double x = 60 + k * 160;
        wrapx(cr, 640, [&]() {
            poly(cr, {x, 0, x + 40, 0, x - 120, 480, x - 200, 480});
            set(cr, hex(0xfff8c0), 0.12);
            cairo_fill(cr);
        });
    }
    // Near trunks and the leafy ceiling.
    for (int i = 0; i < 5; ++i) {
        double x = 40 + i * 128 + r.range(-20, 20), w = r.range(18, 28);
        wrapx(cr, 640, [&]() {
            cairo_rectangle(cr, x - w / 2, 0, w, 480);
            cairo_pattern_t* p = lin(x - w / 2, 0, x + w / 2, 0, {hex(0x4a3020), hex(0x7a5a3a), hex(0x2a1a12)});
            cairo_set_source(cr, p);
            cairo_fill(cr);
            cairo_pattern_destroy(p);
        });
    }
    for (int i = 0; i < 40; ++i) {
        double x = r.uni() * 640, y = r.range(-20, 60), rr = r.range(26, 50);
        RGB col = mix(hex(0x1a4a22), hex(0x3a8a3a), r.uni());
        wrapx(cr, 640, [&]() {
            sphere(cr, x, y, rr, mix(col, hex(0xc0ff80), 0.35), col, scale(col, 0.55), 0);
        });
    }
    // Vines hanging from the canopy.
    for (int i = 0; i < 9; ++i) {
        double x = r.uni() * 640, len = r.range(60, 160), sway = r.range(-14, 14);
        wrapx(cr, 640, [&]() {
            cairo_move_to(cr, x, 20);
            cairo_curve_to(cr, x + sway, 20 + len * 0.4, x - sway, 20 + len * 0.7, x + sway * 0.5, 20 + len);
            set(cr, hex(0x143a1a));
            cairo_set_line_width(cr, 3);
            cairo_stroke(cr);
            for (int k = 1; k < 6; ++k) {
                double t = k / 6.0;
                sphere(cr, x + sway * std::sin(t * 3) * 0.6, 20 + len * t, 3.2, hex(0x8ad860), hex(0x3a8a3a), hex(0x1a4a22), 0);
            }
        });
    }
    // Motes of light drifting between the trees.
    for (int i = 0; i < 36; ++i) {
        double x = r.uni() * 640, y = r.range(120, 430);
        wrapx(cr, 640, [&]() {
            glow(cr, x, y, 5, hex(0xfff0a0), 0.7);
            set(cr, hex(0xfffff0));
            cairo_arc(cr, x, y, 1.1, 0, 2 * M_PI);
            cairo_fill(cr);
        });
    }
    // Undergrowth.
    for (int i = 0; i < 50; ++i) {
        double x = r.uni() * 640, y = r.range(458, 490), rr = r.range(14, 30);
        RGB col = mix(hex(0x183a1c), hex(0x2e6a2a), r.uni());
        wrapx(cr, 640, [&]() {
            sphere(cr, x, y, rr, mix(col, hex(0xa0e060), 0.3), col, scale(col, 0.6), 0);
        });
    }
}

// ------------------------------------------------------------ crystal caverns

static void crystal(cairo_t* cr, double x, double y, double len, double w, double ang, RGB col) {
    cairo_save(cr);
    cairo_translate(cr, x, y);
    cairo_rotate(cr, ang);
    poly(cr, {-w, 0, -w * 0.8, -len * 0.8, 0, -len, w * 0.8, -len * 0.8, w, 0});
    cairo_pattern_t* p = lin(-w, 0, w, 0, {mix(col, hex(0xffffff), 0.7), col, scale(col, 0.45)});
    cairo_set_source(cr, p);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(p);
    set(cr, scale(col, 0.3));
    cairo_set_line_width(cr, 1.2);
    cairo_stroke(cr);
    set(cr, mix(col, hex(0xffffff), 0.85));
    cairo_move_to(cr, 0, -len);
    cairo_line_to(cr, -w * 0.2, -len * 0.1);
    cairo_set_line_width(cr, 1.0);
    cairo_stroke(cr);
    cairo_restore(cr);
}

void art_crystal_back(Canvas& c) {
    cairo_t* cr = c.cr;
    cairo_surface_flush(c.surf);
    for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 640; ++x) {
            double n = fbm(x, y, 640, 480, 3, 5, 65);
            double mid = 1.0 - std::fabs(y - 240) / 240.0;
            RGB col = mix(hex(0x1a0c3a), hex(0x4a2a8a), mid * 0.8 + (n - 0.5) * 0.6);
            col = mix(col, hex(0x2a6a9a), smooth(0.62, 0.8, n) * 0.5);
            put(c, x, y, col);
        }
    cairo_surface_mark_dirty(c.surf);
    Rng r(650);
    // Distant crystal clusters, faint and glowing.
    for (int i = 0; i < 14; ++i) {
        double x = r.uni() * 640;
        bool top = i % 2;
        double y = top ? r.range(0, 60) : r.range(420, 480);
        RGB col = i % 3 ? hex(0x6a8ae0) : hex(0xb06ad8);
        wrapx(cr, 640, [&]() {
            glow(cr, x, y, 90, col, 0.35);
            for (int k = 0; k < 5; ++k)
                crystal(cr, x + r.range(-30, 30), y, r.range(50, 140), r.range(8, 16),
                        (top ? M_PI : 0) + r.range(-0.5, 0.5), mix(col, hex(0x1a0c3a), 0.35));
        });
    }
    // Drifting motes.
    for (int i = 0; i < 90; ++i) {
        double x = r.uni() * 640, y = r.uni() * 480;
        set(cr, i % 2 ? hex(0xc0f0ff) : hex(0xf0c0ff), r.range(0.3, 0.9));
        cairo_arc(cr, x, y, r.range(0.6, 1.6), 0, 2 * M_PI);
        cairo_fill(cr);
    }
}

void art_crystal_front(Canvas& c) {
    cairo_t* cr = c.cr;
    Rng r(640);
    // Rock ceiling and floor with a periodic ragged edge.
    for (int side = 0; side < 2; ++side) {
        cairo_new_path(cr);
        cairo_move_to(cr, 0, side ? 480 : 0);
        for (int x = 0; x <= 640; x += 8) {
            double n = fbm(x, side * 100, 640, 480, 6, 4, 66 + side);
            double d = 24 + 70 * n + 20 * std::sin(2 * M_PI * x / 320.0 + side);
            cairo_line_to(cr, x, side ? 480 - d : d);
        }
        cairo_line_to(cr, 640, side ? 480 : 0);
        cairo_close_path(cr);
        cairo_pattern_t* p = side ? lin(0, 380, 0, 480, {hex(0x5a4a7a), hex(0x2a2042), hex(0x1a1430)})
                                  : lin(0, 0, 0, 100, {hex(0x1a1430), hex(0x2a2042), hex(0x5a4a7a)});
        cairo_set_source(cr, p);
        cairo_fill(cr);
        cairo_pattern_destroy(p);
        // Outline only the ragged edge, not the tile's sides.
        for (int x = 0; x <= 640; x += 8) {
            double n = fbm(x, side * 100, 640, 480, 6, 4, 66 + side);
            double d = 24 + 70 * n + 20 * std::sin(2 * M_PI * x / 320.0 + side);
            if (x == 0) cairo_move_to(cr, x, side ? 480 - d : d);
            else cairo_line_to(cr, x, side ? 480 - d : d);
        }
        set(cr, hex(0x120e24));
        cairo_set_line_width(cr, 2.5);
        cairo_stroke(cr);
        // Rock grain, inside the rock only.
        cairo_save(cr);
        cairo_move_to(cr, 0, side ? 480 : 0);
        for (int x = 0; x <= 640; x += 8) {
            double n = fbm(x, side * 100, 640, 480, 6, 4, 66 + side);
            double d = 24 + 70 * n + 20 * std::sin(2 * M_PI * x / 320.0 + side);
            cairo_line_to(cr, x, side ? 480 - d + 3 : d - 3);
        }
        cairo_line_to(cr, 640, side ? 480 : 0);
        cairo_close_path(cr);
        cairo_clip(cr);
        Rng g(700 + side);
        for (int k = 0; k < 160; ++k) {
            double x = g.uni() * 640, y = side ? g.range(400, 480) : g.range(0, 80);
            set(cr, k % 2 ? hex(0x6a5a8a) : hex(0x16122a), 0.5);
            cairo_rectangle(cr, x, y, g.range(2, 6), 1.5);
            cairo_fill(cr);
        }
        cairo_restore(cr);
    }
    // Crystal clusters growing from the rock.
    const RGB cols[3] = {hex(0x60e8ff), hex(0xd070ff), hex(0x80a0ff)};
    for (int i = 0; i < 22; ++i) {
        bool top = i % 2;
        double x = r.uni() * 640;
        double n = fbm(x, top ? 0 : 100, 640, 480, 6, 4, 66 + (top ? 0 : 1));
        double edge = 24 + 70 * n + 20 * std::sin(2 * M_PI * x / 320.0 + (top ? 0 : 1));
        double y = top ? edge - 6 : 480 - edge + 6;
        RGB col = cols[i % 3];
        int k = 2 + (int)(r.uni() * 3);
        std::vector<double> parts;
        for (int j = 0; j < k; ++j) {
            parts.push_back(r.range(-14, 14));
            parts.push_back(r.range(30, 90));
            parts.push_back(r.range(6, 12));
            parts.push_back(r.range(-0.45, 0.45));
        }
        wrapx(cr, 640, [&]() {
            for (int j = 0; j < k; ++j)
                crystal(cr, x + parts[4 * j], y, parts[4 * j + 1], parts[4 * j + 2],
                        (top ? M_PI : 0) + parts[4 * j + 3], col);
        });
    }
}

// ------------------------------------------------------------ space

void art_space(Canvas& c) {
    cairo_t* cr = c.cr;
    cairo_surface_flush(c.surf);
    for (int y = 0; y < 800; ++y)
        for (int x = 0; x < 640; ++x) {
            double n = fbm(x, y, 640, 800, 3, 6, 67);
            double band = std::exp(-std::pow((y - 300) / 170.0, 2));
            RGB col = hex(0x0a0c22);
            col = mix(col, hex(0x5a2a8a), clamp01((n - 0.32) * 2.0) * band);
            col = mix(col, hex(0x2a8ac0), clamp01((n - 0.52) * 2.5) * band);
            col = mix(col, hex(0xe080c0), clamp01((n - 0.66) * 3.0) * band);
            put(c, x, y, col);
        }
    cairo_surface_mark_dirty(c.surf);
    Rng r(670);
    for (int i = 0; i < 420; ++i) {
        double x = r.uni() * 640, y = r.uni() * 560, s = r.uni();
        RGB col = s < 0.3 ? hex(0xffe0c0) : s < 0.6 ? hex(0xc0d8ff) : hex(0xffffff);
        double rr = s > 0.97 ? 1.8 : s > 0.85 ? 1.1 : 0.6;
        wrapx(cr, 640, [&]() {
            if (rr > 1.5) glow(cr, x, y, 7, col, 0.6);
            set(cr, col, 0.6 + 0.4 * r.uni());
            cairo_arc(cr, x, y, rr, 0, 2 * M_PI);
            cairo_fill(cr);
        });
    }
    // A planet's limb along the bottom, lit from above, city lights below.
    cairo_save(cr);
    cairo_rectangle(cr, 0, 0, 640, 800);
    cairo_clip(cr);
    double R = 2600, pcx = 320, pcy = 620 + R;
    glow(cr, pcx, pcy, R + 40, hex(0x4aa0ff), 0.5);
    cairo_arc(cr, pcx, pcy, R, 0, 2 * M_PI);
    cairo_pattern_t* p = lin(0, 620, 0, 800, {hex(0x4a8ad8), hex(0x1a3a6a), hex(0x0c1a34), hex(0x0a1228)});
    cairo_set_source(cr, p);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
    set(cr, hex(0xc0f0ff));
    cairo_set_line_width(cr, 2);
    cairo_arc(cr, pcx, pcy, R, 0, 2 * M_PI);
    cairo_stroke(cr);
    for (int i = 0; i < 140; ++i) {
        double x = r.uni() * 640, y = r.range(680, 800);
        set(cr, hex(0xffc060), r.range(0.4, 0.9));
        cairo_rectangle(cr, x, y, 1.2, 1.2);
        cairo_fill(cr);
    }
    cairo_restore(cr);
    // The game may draw this tile lower or higher than the screen, leaving
    // the cleared (black) screen above or below it: fade both edges to a
    // black the display still shows.
    cairo_surface_flush(c.surf);
    uint32_t* px = c.px();
    int st = c.stride();
    for (int y = 0; y < 800; ++y) {
        double k = std::min(smooth(0, 140, y), smooth(800, 720, y));
        if (k >= 1) continue;
        for (int x = 0; x < 640; ++x) {
            uint32_t v = px[y * st + x];
            double r = ((v >> 16) & 255) / 255.0, g = ((v >> 8) & 255) / 255.0, b = (v & 255) / 255.0;
            put(c, x, y, mix(hex(0x02040a), {r, g, b}, k));
        }
    }
    cairo_surface_mark_dirty(c.surf);
}

// ------------------------------------------------------------ fortress

// Machinery along a band: panels, pipes and lights, periodic over `period`.
static void machinery(cairo_t* cr, double x0, double x1, double y0, double y1, uint32_t seed) {
    Rng r(seed);
    cairo_pattern_t* p = lin(0, y0, 0, y1, {hex(0x5a6078), hex(0x30344a), hex(0x1c1e30)});
    cairo_set_source(cr, p);
    cairo_rectangle(cr, x0, y0, x1 - x0, y1 - y0);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
    for (double x = x0; x < x1; x += 80) {
        double w = 76, h = (y1 - y0) * r.range(0.4, 0.8), y = y0 + (y1 - y0 - h) * r.uni();
        rrect(cr, x + 2, y, w, h, 4);
        shade(cr, y, y + h, hex(0x7a8098), hex(0x444a64), hex(0x22263a), hex(0x141626), 1.5);
        for (int k = 0; k < 3; ++k) lamp(cr, x + 14 + k * 24, y + h / 2, 1.8, r.uni() < 0.5 ? hex(0x40c8ff) : hex(0xff6030));
    }
    for (int k = 0; k < 2; ++k) {
        double y = y0 + (y1 - y0) * (k ? 0.2 : 0.85);
        cairo_rectangle(cr, x0, y - 4, x1 - x0, 8);
        shade(cr, y - 4, y + 4, hex(0xa0a8c0), hex(0x5a6078), hex(0x2a2e44), hex(0x141626), 1.0);
    }
}

void art_fortress_inside(Canvas& c) {
    cairo_t* cr = c.cr;
    // Back wall: receding panels with light strips.
    cairo_pattern_t* wall = lin(0, 100, 0, 380, {hex(0x1a1c34), hex(0x2c3050), hex(0x1a1c34)});
    cairo_set_source(cr, wall);
    cairo_paint(cr);
    cairo_pattern_destroy(wall);
    for (int k = 0; k < 8; ++k) {
        double x = k * 80;
        set(cr, hex(0x12142a));
        cairo_rectangle(cr, x, 100, 4, 280);
        cairo_fill(cr);
        set(cr, hex(0x3a4070));
        cairo_rectangle(cr, x + 4, 100, 1.5, 280);
        cairo_fill(cr);
        glow(cr, x + 40, 240, 30, hex(0x4060ff), 0.25);
    }
    for (int k = 0; k < 2; ++k) {
        double y = k ? 320 : 160;
        set(cr, hex(0x40e0ff), 0.8);
        cairo_rectangle(cr, 0, y, 640, 2);
        cairo_fill(cr);
        glow(cr, 320, y, 10, hex(0x40e0ff), 0.0);
    }
    machinery(cr, 0, 640, 0, 104, 170);
    machinery(cr, 0, 640, 376, 480, 171);
    // Warning stripes at the edges of the corridor.
    for (int k = 0; k < 2; ++k) {
        double y = k ? 370 : 100;
        cairo_save(cr);
        cairo_rectangle(cr, 0, y, 640, 10);
        cairo_clip(cr);
        set(cr, hex(0xe0a800));
        cairo_paint(cr);
        set(cr, hex(0x2a2a34));
        for (double x = -10; x < 660; x += 20) {
            poly(cr, {x, y + 10, x + 10, y, x + 20, y, x + 10, y + 10});
            cairo_fill(cr);
        }
        cairo_restore(cr);
    }
}

void art_fortress_hall(Canvas& c) {
    cairo_t* cr = c.cr;
    art_fortress_inside(c);
    // A reactor column glowing in the middle of the hall.
    cairo_pattern_t* p = lin(260, 0, 380, 0, {hex(0x3a1a5a), hex(0xff60c0), hex(0x3a1a5a)});
    cairo_set_source(cr, p);
    cairo_rectangle(cr, 280, 104, 80, 272);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
    glow(cr, 320, 240, 120, hex(0xff60c0), 0.5);
    for (int k = 0; k < 6; ++k) {
        set(cr, hex(0x2a2e44));
        cairo_rectangle(cr, 270, 120 + k * 44, 100, 8);
        cairo_fill(cr);
    }
}

void art_fortress_front(Canvas& c) {
    cairo_t* cr = c.cr;
    // Hull bands above and below the entrance corridor; the bow at the left
    // grows from a point to the full bands.
    auto topEdge = [](double x) {
        double t = smooth(40, 420, x);
        return t * (120 + 14 * std::sin(x * 0.02) + (std::fmod(x, 240) < 60 ? 18 : 0));
    };
    auto botEdge = [](double x) {
        double t = smooth(40, 420, x);
        return 480 - t * (116 + 12 * std::cos(x * 0.017) + (std::fmod(x + 120, 300) < 80 ? 20 : 0));
    };
    for (int side = 0; side < 2; ++side) {
        cairo_save(cr);
        cairo_new_path(cr);
        cairo_move_to(cr, 30, side ? 480 : 0);
        for (int x = 30; x <= 1920; x += 4) cairo_line_to(cr, x, side ? botEdge(x) : topEdge(x));
        cairo_line_to(cr, 1920, side ? 480 : 0);
        cairo_close_path(cr);
        cairo_clip_preserve(cr);
        machinery(cr, 0, 1920, side ? 340 : 0, side ? 480 : 140, 680 + side);
        cairo_new_path(cr);
        cairo_move_to(cr, 30, side ? 480 : 0);
        for (int x = 30; x <= 1920; x += 4) cairo_line_to(cr, x, side ? botEdge(x) : topEdge(x));
        set(cr, hex(0xff8030));
        cairo_set_line_width(cr, 5);
        cairo_stroke(cr);
        cairo_restore(cr);
    }
    // Towers and antennae on the upper hull, hangar lights along the edges.
    Rng r(68);
    for (int i = 0; i < 14; ++i) {
        double x = 480 + i * 100 + r.range(-20, 20);
        double e = topEdge(x);
        rrect(cr, x - 14, e - 6, 28, 34, 4);
        shade(cr, e - 6, e + 28, hex(0x8a90b0), hex(0x4a5070), hex(0x22263a), pal::ink, 1.5);
        lamp(cr, x, e + 14, 2.5, i % 2 ? hex(0xff4040) : hex(0x40e0ff));
    }
    for (int x = 440; x < 1920; x += 36) {
        lamp(cr, x, topEdge(x) - 6, 1.8, hex(0xffd060));
        lamp(cr, x + 18, botEdge(x + 18) + 6, 1.8, hex(0xffd060));
    }
    // The bow's entrance frame.
    set(cr, hex(0x40e0ff));
    cairo_set_line_width(cr, 3);
    cairo_move_to(cr, 260, topEdge(260) - 2);
    cairo_line_to(cr, 300, topEdge(300) - 2);
    cairo_move_to(cr, 260, botEdge(260) + 2);
    cairo_line_to(cr, 300, botEdge(300) + 2);
    cairo_stroke(cr);
}

}  // namespace qsassets
