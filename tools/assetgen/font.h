// Vector lettering for logos, banners and the HUD digits.
#pragma once
#include "core.h"

namespace qsassets {

// Width of `s` drawn with cap height `size` and extra letter gap `track`
// (in grid units of size/6).
double text_width(const char* s, double size, double track);
// Adds the letters' centre lines to the current path, top-left at (x, y).
void text_path(cairo_t* cr, const char* s, double x, double y, double size, double track);
// Strokes the letters with pen width `pen` in `fill`, under an outline of
// `olw` pixels on each side (none when olw <= 0).
void draw_text(cairo_t* cr, const char* s, double x, double y, double size, double track,
               double pen, cairo_pattern_t* fill, RGB outline, double olw);

}  // namespace qsassets
