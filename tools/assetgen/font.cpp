// The game's display lettering: a bold, chamfered stroke font drawn as
// vector paths, so the logos and digits look the same on every machine
// without depending on installed fonts.
#include "font.h"
#include <cctype>
#include <cstdlib>
#include <cstring>

namespace qsassets {

// Strokes on a 4 x 6 grid, y down; '|' separates strokes.
static const char* glyph(char ch) {
    switch (std::toupper((unsigned char)ch)) {
    case 'A': return "0,6 0,2 2,0 4,2 4,6|0,3.6 4,3.6";
    case 'B': return "0,0 3,0 4,1 4,2 3,3 0,3|3,3 4,4 4,5 3,6 0,6 0,0";
    case 'C': return "4,0 1,0 0,1 0,5 1,6 4,6";
    case 'D': return "0,0 3,0 4,1 4,5 3,6 0,6 0,0";
    case 'E': return "4,0 0,0 0,6 4,6|0,3 3,3";
    case 'F': return "4,0 0,0 0,6|0,3 3,3";
    case 'G': return "4,1 3,0 1,0 0,1 0,5 1,6 3,6 4,5 4,3.2 2.2,3.2";
    case 'H': return "0,0 0,6|4,0 4,6|0,3 4,3";
    case 'I': return "1,0 3,0|2,0 2,6|1,6 3,6";
    case 'K': return "0,0 0,6|4,0 0.2,3.6|1.6,2.4 4,6";
    case 'L': return "0,0 0,6 4,6";
    case 'M': return "0,6 0,0 2,3 4,0 4,6";
    case 'N': return "0,6 0,0 4,6 4,0";
    case 'O': return "1,0 3,0 4,1 4,5 3,6 1,6 0,5 0,1 1,0";
    case 'P': return "0,6 0,0 3,0 4,1 4,2 3,3 0,3";
    case 'Q': return "1,0 3,0 4,1 4,5 3,6 1,6 0,5 0,1 1,0|2.4,4.4 4.2,6.2";
    case 'R': return "0,6 0,0 3,0 4,1 4,2 3,3 0,3|2,3 4,6";
    case 'S': return "4,0 1,0 0,1 0,2 1,3 3,3 4,4 4,5 3,6 0,6";
    case 'T': return "0,0 4,0|2,0 2,6";
    case 'U': return "0,0 0,5 1,6 3,6 4,5 4,0";
    case 'V': return "0,0 2,6 4,0";
    case 'W': return "0,0 0.8,6 2,2.4 3.2,6 4,0";
    case 'X': return "0,0 4,6|4,0 0,6";
    case 'Y': return "0,0 2,3 4,0|2,3 2,6";
    case '0': return "1,0 3,0 4,1 4,5 3,6 1,6 0,5 0,1 1,0|1.2,4.2 2.8,1.8";
    case '1': return "0.8,1.2 2,0 2,6|0.8,6 3.2,6";
    case '2': return "0,1 1,0 3,0 4,1 4,2.2 0,6 4,6";
    case '3': return "0,0 4,0 2,2.5 3,2.5 4,3.5 4,5 3,6 1,6 0,5";
    case '4': return "3,6 3,0 0,4 4,4";
    case '5': return "4,0 0,0 0,2.6 3,2.6 4,3.6 4,5 3,6 0,6";
    case '6': return "3.4,0 1,0 0,1 0,5 1,6 3,6 4,5 4,3.6 3,2.6 0,2.6";
    case '7': return "0,0 4,0 1.4,6";
    case '8': return "1,0 3,0 4,1 4,2 3,3 1,3 0,2 0,1 1,0|1,3 3,3 4,4 4,5 3,6 1,6 0,5 0,4 1,3";
    case '9': return "4,3.4 1,3.4 0,2.4 0,1 1,0 3,0 4,1 4,5 3,6 0.6,6";
    case '!': return "2,0 2,4|2,5.6 2,6";
    default: return "";
    }
}

static double advance(char ch) { return (ch == ' ') ? 3.0 : (ch == '!' ? 3.0 : 5.2); }

double text_width(const char* s, double size, double track) {
    double u = size / 6.0, w = 0;
    size_t n = std::strlen(s);
    for (size_t i = 0; i < n; ++i) w += (advance(s[i]) + (i + 1 < n ? track : 0)) * u;
    return w - 1.2 * u;  // the last letter has no gap after it
}

void text_path(cairo_t* cr, const char* s, double x, double y, double size, double track) {
    double u = size / 6.0;
    for (const char* p = s; *p; ++p) {
        const char* g = glyph(*p);
        bool first = true;
        while (*g) {
            if (*g == '|') {
                first = true;
                ++g;
                continue;
            }
            char* end;
            double gx = std::strtod(g, &end);
            g = end + 1;  // skip ','
            double gy = std::strtod(g, &end);
            g = end;
            while (*g == ' ') ++g;
            if (first) cairo_move_to(cr, x + gx * u, y + gy * u);
            else cairo_line_to(cr, x + gx * u, y + gy * u);
            first = false;
        }
        x += (advance(*p) + track) * u;
    }
}

void draw_text(cairo_t* cr, const char* s, double x, double y, double size, double track,
               double pen, cairo_pattern_t* fill, RGB outline, double olw) {
    cairo_save(cr);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_SQUARE);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_MITER);
    cairo_set_miter_limit(cr, 2.0);
    if (olw > 0) {
        cairo_new_path(cr);
        text_path(cr, s, x, y, size, track);
        set(cr, outline);
        cairo_set_line_width(cr, pen + 2 * olw);
        cairo_stroke(cr);
    }
    cairo_new_path(cr);
    text_path(cr, s, x, y, size, track);
    cairo_set_source(cr, fill);
    cairo_set_line_width(cr, pen);
    cairo_stroke(cr);
    cairo_restore(cr);
}

}  // namespace qsassets
