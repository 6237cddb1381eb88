// Drawing toolkit of the asset generator: a cairo canvas per sheet, colour
// helpers, deterministic noise, and the writers for the game's 24-bit BMPs.
#pragma once
#include <cairo.h>
#include <cstdint>
#include <string>
#include <vector>
#include "sheets.h"

namespace qsassets {

// How the alpha of a drawn sprite becomes the colour-keyed picture.
enum EdgeMode {
    kEdgeSoft,    // composited over black; faint fringes drop to the key
    kEdgeHard,    // true colours, cut where coverage falls below one half
    kEdgeOpaque,  // backgrounds: composited over black, nothing keyed
};

struct RGB {
    double r, g, b;
};
// 0xRRGGBB to components in 0..1.
RGB hex(uint32_t v);
RGB mix(RGB a, RGB b, double t);
RGB scale(RGB a, double k);
void set(cairo_t* cr, RGB c, double a = 1.0);

// A linear gradient from (x0,y0) to (x1,y1) through evenly spread stops.
cairo_pattern_t* lin(double x0, double y0, double x1, double y1,
                     std::initializer_list<RGB> stops, double alpha = 1.0);
// A radial glow: colour `c` at the centre fading to transparent at radius r.
void glow(cairo_t* cr, double x, double y, double r, RGB c, double a = 1.0);
// A bright core with a coloured halo, as used for shots and bullets.
void orb(cairo_t* cr, double x, double y, double r, RGB core, RGB halo);
void ellipse(cairo_t* cr, double cx, double cy, double rx, double ry);
void rrect(cairo_t* cr, double x, double y, double w, double h, double r);
void poly(cairo_t* cr, std::initializer_list<double> xy);
// Fills the current path with a vertical gradient light -> base -> dark
// over [y0, y1] and strokes it with `line` (width lw, none when lw <= 0).
void shade(cairo_t* cr, double y0, double y1, RGB light, RGB base, RGB dark,
           RGB line, double lw);
// A small rivet or lamp.
void lamp(cairo_t* cr, double x, double y, double r, RGB c);

// Deterministic pseudo-random numbers (an LCG of our own).
struct Rng {
    uint32_t s;
    explicit Rng(uint32_t seed) : s(seed * 2654435761u + 12345u) {}
    uint32_t next() {
        s = s * 1664525u + 1013904223u;
        return s >> 8;
    }
    double uni() { return (next() & 0xFFFFFF) / 16777216.0; }
    double range(double a, double b) { return a + (b - a) * uni(); }
};
// Smooth value noise in 0..1 that repeats every (px, py) lattice cells.
double vnoise(double x, double y, int px, int py, uint32_t seed);
// Fractal sum of `oct` octaves, periodic over a w x h picture when
// `cells` divides evenly.
double fbm(double x, double y, double w, double h, int cells, int oct, uint32_t seed);

// One sheet being drawn.
struct Canvas {
    const SheetDef* def;
    cairo_surface_t* surf;
    cairo_t* cr;
    int w, h;
    uint32_t* px() { return (uint32_t*)cairo_image_surface_get_data(surf); }
    int stride() { return cairo_image_surface_get_stride(surf) / 4; }
};
Canvas canvas_new(const SheetDef& def);
void canvas_free(Canvas& c);
// Saves the state, moves the origin to cell (col,row) and clips to it.
void cell_begin(Canvas& c, int col, int row);
void cell_end(Canvas& c);

// Converts the drawn sheet to the game's colours (colour key rules) as
// 8-bit BGR rows, top row first.
std::vector<uint8_t> to_bgr(Canvas& c, EdgeMode mode);
// Writes a 24-bit uncompressed bottom-up BMP. False on a write error.
bool write_bmp(const std::string& path, int w, int h, const std::vector<uint8_t>& bgr);
// Reads one of our BMPs back (preview); false if it is not one.
bool read_bmp(const std::string& path, int& w, int& h, std::vector<uint8_t>& bgr);
// The pictures as shipped: SRC/X.bmp -> OUT/X.bmp.png, cut to 5-6-5
// (png.cpp), and the check that each reads back as its BMP.
bool make_png_copies(const std::string& src, const std::string& out);
bool check_png_copies(const std::string& src, const std::string& pngDir);

// True when the game's 16-bit display turns this colour into the key.
inline bool near_black(int r, int g, int b) { return r < 8 && g < 4 && b < 8; }

// Creates the folders of `path` (everything before the last '/').
bool make_dirs_for(const std::string& path);

}  // namespace qsassets
