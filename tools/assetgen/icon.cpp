// The desktop icon: the player's ship climbing out of a night sky, drawn at
// 48, 64, 128 and 256 pixels into icons/hicolor/NxN/apps/quellstorm.png
// (the layout of the desktop's icon theme).
#include <cmath>
#include <cstdio>
#include <string>
#include "art.h"

namespace qsassets {

void draw_player_ship(cairo_t* cr, int flick, double bank);

static void draw_icon(cairo_t* cr, double n) {
    cairo_scale(cr, n / 256.0, n / 256.0);
    // A rounded tile of deep sky with a few stars and a glow behind the ship.
    rrect(cr, 8, 8, 240, 240, 44);
    cairo_pattern_t* sky = lin(0, 8, 0, 248, {hex(0x0a0830), hex(0x20145a), hex(0x3a1c6e)});
    cairo_set_source(cr, sky);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(sky);
    cairo_save(cr);
    cairo_clip(cr);
    Rng rng(16);
    for (int i = 0; i < 18; ++i) {
        double x = rng.range(16, 240), y = rng.range(16, 240), r = rng.range(1.2, 3.0);
        glow(cr, x, y, r * 2.5, hex(0xb8d8ff), 0.8);
    }
    glow(cr, 128, 132, 120, hex(0x58c8ff), 0.35);
    // The ship, three times its size on screen, banking upwards.
    cairo_save(cr);
    cairo_translate(cr, 140, 136);
    cairo_rotate(cr, -18 * M_PI / 180);
    cairo_scale(cr, 3.1, 3.1);
    draw_player_ship(cr, 0, -0.5);
    cairo_restore(cr);
    cairo_restore(cr);
    set(cr, hex(0x8070d0));
    cairo_set_line_width(cr, 5);
    rrect(cr, 8, 8, 240, 240, 44);
    cairo_stroke(cr);
}

bool make_icons(const std::string& out) {
    bool ok = true;
    for (int n : {48, 64, 128, 256}) {
        cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, n, n);
        cairo_t* cr = cairo_create(s);
        draw_icon(cr, n);
        cairo_destroy(cr);
        std::string path = out + "/icons/hicolor/" + std::to_string(n) + "x" + std::to_string(n) + "/apps/quellstorm.png";
        if (!make_dirs_for(path) || cairo_surface_write_to_png(s, path.c_str()) != CAIRO_STATUS_SUCCESS) {
            std::fprintf(stderr, "assetgen: cannot write %s\n", path.c_str());
            ok = false;
        }
        cairo_surface_destroy(s);
    }
    return ok;
}

}  // namespace qsassets
