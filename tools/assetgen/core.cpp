#include "core.h"
#include <sys/stat.h>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace qsassets {

RGB hex(uint32_t v) {
    return {((v >> 16) & 255) / 255.0, ((v >> 8) & 255) / 255.0, (v & 255) / 255.0};
}
RGB mix(RGB a, RGB b, double t) {
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}
RGB scale(RGB a, double k) {
    auto c = [](double v) { return v < 0 ? 0 : v > 1 ? 1 : v; };
    return {c(a.r * k), c(a.g * k), c(a.b * k)};
}
void set(cairo_t* cr, RGB c, double a) { cairo_set_source_rgba(cr, c.r, c.g, c.b, a); }

cairo_pattern_t* lin(double x0, double y0, double x1, double y1,
                     std::initializer_list<RGB> stops, double alpha) {
    cairo_pattern_t* p = cairo_pattern_create_linear(x0, y0, x1, y1);
    int n = (int)stops.size(), i = 0;
    for (const RGB& c : stops) {
        double t = n > 1 ? (double)i / (n - 1) : 0.0;
        cairo_pattern_add_color_stop_rgba(p, t, c.r, c.g, c.b, alpha);
        ++i;
    }
    return p;
}

void glow(cairo_t* cr, double x, double y, double r, RGB c, double a) {
    cairo_pattern_t* p = cairo_pattern_create_radial(x, y, 0, x, y, r);
    cairo_pattern_add_color_stop_rgba(p, 0, c.r, c.g, c.b, a);
    cairo_pattern_add_color_stop_rgba(p, 0.45, c.r, c.g, c.b, a * 0.45);
    cairo_pattern_add_color_stop_rgba(p, 1, c.r, c.g, c.b, 0);
    cairo_set_source(cr, p);
    cairo_arc(cr, x, y, r, 0, 2 * M_PI);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
}

void orb(cairo_t* cr, double x, double y, double r, RGB core, RGB halo) {
    cairo_pattern_t* p = cairo_pattern_create_radial(x - r * 0.2, y - r * 0.25, 0, x, y, r);
    cairo_pattern_add_color_stop_rgba(p, 0, 1, 1, 1, 1);
    cairo_pattern_add_color_stop_rgba(p, 0.3, core.r, core.g, core.b, 1);
    cairo_pattern_add_color_stop_rgba(p, 0.75, halo.r, halo.g, halo.b, 1);
    cairo_pattern_add_color_stop_rgba(p, 1, halo.r * 0.6, halo.g * 0.6, halo.b * 0.6, 1);
    cairo_set_source(cr, p);
    cairo_arc(cr, x, y, r, 0, 2 * M_PI);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
}

void ellipse(cairo_t* cr, double cx, double cy, double rx, double ry) {
    cairo_save(cr);
    cairo_translate(cr, cx, cy);
    cairo_scale(cr, rx, ry);
    cairo_new_sub_path(cr);
    cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
    cairo_restore(cr);
}

void rrect(cairo_t* cr, double x, double y, double w, double h, double r) {
    cairo_new_sub_path(cr);
    cairo_arc(cr, x + w - r, y + r, r, -M_PI / 2, 0);
    cairo_arc(cr, x + w - r, y + h - r, r, 0, M_PI / 2);
    cairo_arc(cr, x + r, y + h - r, r, M_PI / 2, M_PI);
    cairo_arc(cr, x + r, y + r, r, M_PI, 3 * M_PI / 2);
    cairo_close_path(cr);
}

void poly(cairo_t* cr, std::initializer_list<double> xy) {
    const double* v = xy.begin();
    int n = (int)xy.size() / 2;
    cairo_new_sub_path(cr);
    for (int i = 0; i < n; ++i) {
        if (i == 0) cairo_move_to(cr, v[0], v[1]);
        else cairo_line_to(cr, v[2 * i], v[2 * i + 1]);
    }
    cairo_close_path(cr);
}

void shade(cairo_t* cr, double y0, double y1, RGB light, RGB base, RGB dark,
           RGB line, double lw) {
    cairo_pattern_t* p = lin(0, y0, 0, y1, {light, base, dark});
    cairo_set_source(cr, p);
    if (lw > 0) {
        cairo_fill_preserve(cr);
        set(cr, line);
        cairo_set_line_width(cr, lw);
        cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
        cairo_stroke(cr);
    } else {
        cairo_fill(cr);
    }
    cairo_pattern_destroy(p);
}

void lamp(cairo_t* cr, double x, double y, double r, RGB c) {
    glow(cr, x, y, r * 2.2, c, 0.6);
    set(cr, mix(c, hex(0xffffff), 0.6));
    cairo_arc(cr, x, y, r * 0.6, 0, 2 * M_PI);
    cairo_fill(cr);
}

static uint32_t hash3(int x, int y, uint32_t seed) {
    uint32_t h = (uint32_t)x * 374761393u + (uint32_t)y * 668265263u + seed * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    return h ^ (h >> 16);
}

double vnoise(double x, double y, int px, int py, uint32_t seed) {
    int x0 = (int)std::floor(x), y0 = (int)std::floor(y);
    double fx = x - x0, fy = y - y0;
    auto wrap = [](int v, int p) { return ((v % p) + p) % p; };
    auto at = [&](int xi, int yi) {
        return (hash3(wrap(xi, px), wrap(yi, py), seed) & 0xFFFF) / 65535.0;
    };
    double sx = fx * fx * (3 - 2 * fx), sy = fy * fy * (3 - 2 * fy);
    double a = at(x0, y0), b = at(x0 + 1, y0), c = at(x0, y0 + 1), d = at(x0 + 1, y0 + 1);
    return (a + (b - a) * sx) + ((c + (d - c) * sx) - (a + (b - a) * sx)) * sy;
}

double fbm(double x, double y, double w, double h, int cells, int oct, uint32_t seed) {
    double sum = 0, amp = 0.5, norm = 0;
    int cx = cells, cy = (int)std::lround(cells * h / w);
    if (cy < 1) cy = 1;
    for (int o = 0; o < oct; ++o) {
        sum += amp * vnoise(x / w * cx, y / h * cy, cx, cy, seed + o * 101);
        norm += amp;
        amp *= 0.5;
        cx *= 2;
        cy *= 2;
    }
    return sum / norm;
}

Canvas canvas_new(const SheetDef& def) {
    Canvas c;
    c.def = &def;
    c.w = def.width;
    c.h = def.height;
    c.surf = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, c.w, c.h);
    c.cr = cairo_create(c.surf);
    cairo_set_antialias(c.cr, CAIRO_ANTIALIAS_GOOD);
    return c;
}

void canvas_free(Canvas& c) {
    cairo_destroy(c.cr);
    cairo_surface_destroy(c.surf);
    c.cr = nullptr;
    c.surf = nullptr;
}

void cell_begin(Canvas& c, int col, int row) {
    cairo_save(c.cr);
    double x = col * c.def->cellw, y = row * c.def->cellh;
    cairo_rectangle(c.cr, x, y, c.def->cellw, c.def->cellh);
    cairo_clip(c.cr);
    cairo_translate(c.cr, x, y);
}
void cell_end(Canvas& c) { cairo_restore(c.cr); }

std::vector<uint8_t> to_bgr(Canvas& c, EdgeMode mode) {
    cairo_surface_flush(c.surf);
    std::vector<uint8_t> out((size_t)c.w * c.h * 3);
    uint32_t* p = c.px();
    int st = c.stride();
    for (int y = 0; y < c.h; ++y) {
        for (int x = 0; x < c.w; ++x) {
            uint32_t v = p[y * st + x];
            int a = v >> 24, r = (v >> 16) & 255, g = (v >> 8) & 255, b = v & 255;
            if (mode == kEdgeSoft && a < 64) {
                // The faintest fringe (mostly glow spilling past a sprite's
                // edge) would show as a grey halo over bright backgrounds.
                r = g = b = 0;
            } else if (mode == kEdgeHard) {
                if (a < 128) {
                    r = g = b = 0;
                } else {
                    // Undo the premultiplication: the sprite's true colour.
                    r = (r * 255 + a / 2) / a;
                    g = (g * 255 + a / 2) / a;
                    b = (b * 255 + a / 2) / a;
                    if (r > 255) r = 255;
                    if (g > 255) g = 255;
                    if (b > 255) b = 255;
                }
            }
            if (near_black(r, g, b) && !(r == 0 && g == 0 && b == 0 && mode != kEdgeOpaque)) {
                // Faint fringes of a sprite become the key; inner dark shading
                // and every pixel of a background stay visible.
                if (mode == kEdgeSoft && a < 160) {
                    r = g = b = 0;
                } else {
                    if (r < 8) r = 8;
                    if (g < 4) g = 4;
                    if (b < 8) b = 8;
                }
            } else if (mode == kEdgeOpaque && r == 0 && g == 0 && b == 0) {
                r = 8;
                g = 4;
                b = 8;
            }
            uint8_t* o = &out[((size_t)y * c.w + x) * 3];
            o[0] = (uint8_t)b;
            o[1] = (uint8_t)g;
            o[2] = (uint8_t)r;
        }
    }
    return out;
}

static void put16(std::vector<uint8_t>& v, size_t at, uint32_t x) {
    v[at] = x & 255;
    v[at + 1] = (x >> 8) & 255;
}
static void put32(std::vector<uint8_t>& v, size_t at, uint32_t x) {
    put16(v, at, x & 0xFFFF);
    put16(v, at + 2, x >> 16);
}

bool write_bmp(const std::string& path, int w, int h, const std::vector<uint8_t>& bgr) {
    int rowBytes = (w * 3 + 3) & ~3;
    size_t dataSize = (size_t)rowBytes * h;
    std::vector<uint8_t> f(54 + dataSize, 0);  // every byte defined, padding 0
    f[0] = 'B';
    f[1] = 'M';
    put32(f, 2, (uint32_t)f.size());
    put32(f, 10, 54);
    put32(f, 14, 40);
    put32(f, 18, (uint32_t)w);
    put32(f, 22, (uint32_t)h);  // positive: rows stored bottom-up
    put16(f, 26, 1);
    put16(f, 28, 24);
    put32(f, 30, 0);            // no compression
    put32(f, 34, (uint32_t)dataSize);
    put32(f, 38, 2835);         // 72 dpi
    put32(f, 42, 2835);
    for (int y = 0; y < h; ++y) {
        const uint8_t* src = &bgr[(size_t)(h - 1 - y) * w * 3];
        std::memcpy(&f[54 + (size_t)y * rowBytes], src, (size_t)w * 3);
    }
    if (!make_dirs_for(path)) return false;
    FILE* fp = std::fopen(path.c_str(), "wb");
    if (!fp) return false;
    bool ok = std::fwrite(f.data(), 1, f.size(), fp) == f.size();
    return std::fclose(fp) == 0 && ok;
}

bool read_bmp(const std::string& path, int& w, int& h, std::vector<uint8_t>& bgr) {
    FILE* fp = std::fopen(path.c_str(), "rb");
    if (!fp) return false;
    std::vector<uint8_t> f;
    uint8_t buf[65536];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, fp)) > 0) f.insert(f.end(), buf, buf + n);
    std::fclose(fp);
    if (f.size() < 54 || f[0] != 'B' || f[1] != 'M') return false;
    auto rd32 = [&](size_t at) {
        return (uint32_t)f[at] | (uint32_t)f[at + 1] << 8 | (uint32_t)f[at + 2] << 16 |
               (uint32_t)f[at + 3] << 24;
    };
    w = (int)rd32(18);
    h = (int)rd32(22);
    uint32_t off = rd32(10);
    int bpp = f[28] | f[29] << 8;
    if (bpp != 24 || w <= 0 || h <= 0) return false;
    int rowBytes = (w * 3 + 3) & ~3;
    if (f.size() < off + (size_t)rowBytes * h) return false;
    bgr.assign((size_t)w * h * 3, 0);
    for (int y = 0; y < h; ++y)
        std::memcpy(&bgr[(size_t)(h - 1 - y) * w * 3], &f[off + (size_t)y * rowBytes],
                    (size_t)w * 3);
    return true;
}

bool make_dirs_for(const std::string& path) {
    for (size_t i = 1; i < path.size(); ++i) {
        if (path[i] != '/') continue;
        std::string d = path.substr(0, i);
        if (mkdir(d.c_str(), 0755) != 0 && errno != EEXIST) return false;
    }
    return true;
}

}  // namespace qsassets
