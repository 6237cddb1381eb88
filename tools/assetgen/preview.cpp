// Contact sheet of the generated bitmaps: every sheet with its slot number
// and its cell grid, see-through pixels shown as a checkerboard. Long
// animation strips are wrapped into several columns so every frame shows.
// Also writes each sheet at full size for a closer look.
#include "preview.h"
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>
#include "core.h"

namespace qsassets {

// The sheet as an image, key pixels replaced by a checkerboard.
static cairo_surface_t* sheet_image(const SheetSpec& sp, int w, int h,
                                    const std::vector<uint8_t>& bgr) {
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_RGB24, w, h);
    uint32_t* p = (uint32_t*)cairo_image_surface_get_data(s);
    int st = cairo_image_surface_get_stride(s) / 4;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const uint8_t* o = &bgr[((size_t)y * w + x) * 3];
            int b = o[0], g = o[1], r = o[2];
            if (sp.kind == kKeyed && near_black(r, g, b)) {
                bool odd = ((x / 8) + (y / 8)) & 1;
                r = g = b = odd ? 70 : 45;
                b += 25;
            }
            p[y * st + x] = (uint32_t)r << 16 | (uint32_t)g << 8 | (uint32_t)b;
        }
    cairo_surface_mark_dirty(s);
    return s;
}

struct Panel {
    const SheetSpec* sp;
    cairo_surface_t* img;
    int chunks, rowsPerChunk;  // wrapped layout of the cell rows
    double scale, w, h;        // drawn size
};

bool make_preview(const std::string& outDir, const std::string& dir) {
    const double kPageW = 2600, kMax = 520, kLabel = 18, kGap = 14;
    std::vector<Panel> panels;
    make_dirs_for(dir + "/sheets/x");
    for (int i = 0; i < kSheetCount; ++i) {
        const SheetSpec& sp = kSheets[i];
        int w, h;
        std::vector<uint8_t> bgr;
        if (!read_bmp(outDir + "/" + sp.file, w, h, bgr)) {
            std::fprintf(stderr, "preview: cannot read %s\n", sp.file);
            return false;
        }
        Panel pn{&sp, sheet_image(sp, w, h, bgr), 1, sp.rows, 1, 0, 0};
        char name[64];
        std::snprintf(name, sizeof name, "/sheets/%03d.png", sp.slot);
        {
            // Small sheets are written enlarged (nearest neighbour) for a close look.
            int z = std::max(1, std::min(8, 512 / std::max(w, h)));
            cairo_surface_t* big = cairo_image_surface_create(CAIRO_FORMAT_RGB24, w * z, h * z);
            cairo_t* bc = cairo_create(big);
            cairo_scale(bc, z, z);
            cairo_set_source_surface(bc, pn.img, 0, 0);
            cairo_pattern_set_filter(cairo_get_source(bc), CAIRO_FILTER_NEAREST);
            cairo_paint(bc);
            cairo_destroy(bc);
            cairo_surface_write_to_png(big, (dir + name).c_str());
            cairo_surface_destroy(big);
        }
        // Wrap tall strips so the panel is roughly as wide as it is tall.
        if (h > 2 * w && sp.rows > 1) {
            int best = 1;
            for (int c = 1; c <= sp.rows; ++c) {
                int rpc = (sp.rows + c - 1) / c;
                if (rpc * sp.cellh <= c * w * 1.3) { best = c; break; }
                best = c;
            }
            pn.chunks = best;
            pn.rowsPerChunk = (sp.rows + best - 1) / best;
        }
        double lw = pn.chunks * (w + 6.0) - 6.0;
        double lh = pn.rowsPerChunk * sp.cellh;
        if (pn.chunks == 1) lh = h;
        pn.scale = std::min(1.0, std::min(kMax / lw, kMax / lh));
        pn.w = lw * pn.scale;
        pn.h = lh * pn.scale;
        panels.push_back(pn);
    }
    // Shelf layout.
    std::vector<std::pair<double, double>> pos;
    double x = kGap, y = kGap, shelf = 0;
    for (const Panel& pn : panels) {
        double pw = std::max(pn.w, 150.0);
        if (x + pw > kPageW - kGap) {
            x = kGap;
            y += shelf + kLabel + kGap;
            shelf = 0;
        }
        pos.push_back({x, y});
        x += pw + kGap;
        shelf = std::max(shelf, pn.h);
    }
    double pageH = y + shelf + kLabel + kGap;
    cairo_surface_t* page = cairo_image_surface_create(CAIRO_FORMAT_RGB24, (int)kPageW, (int)pageH);
    cairo_t* cr = cairo_create(page);
    cairo_set_source_rgb(cr, 0.12, 0.12, 0.14);
    cairo_paint(cr);
    cairo_select_font_face(cr, "sans-serif", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_BOLD);
    cairo_set_font_size(cr, 12);
    for (size_t i = 0; i < panels.size(); ++i) {
        const Panel& pn = panels[i];
        const SheetSpec& sp = *pn.sp;
        double px = pos[i].first, py = pos[i].second + kLabel;
        char label[160];
        std::snprintf(label, sizeof label, "%d  %s  %dx%d", sp.slot, sp.file, sp.width, sp.height);
        cairo_set_source_rgb(cr, 1, 0.9, 0.4);
        cairo_move_to(cr, px, py - 5);
        cairo_show_text(cr, label);
        for (int c = 0; c < pn.chunks; ++c) {
            int r0 = c * pn.rowsPerChunk;
            int r1 = std::min(sp.rows, r0 + pn.rowsPerChunk);
            if (r0 >= r1) break;
            double srcY = pn.chunks == 1 ? 0 : r0 * sp.cellh;
            double srcH = pn.chunks == 1 ? sp.height : (r1 - r0) * sp.cellh;
            double dx = px + c * (sp.width + 6.0) * pn.scale;
            cairo_save(cr);
            cairo_rectangle(cr, dx, py, sp.width * pn.scale, srcH * pn.scale);
            cairo_clip(cr);
            cairo_translate(cr, dx, py);
            cairo_scale(cr, pn.scale, pn.scale);
            cairo_set_source_surface(cr, pn.img, 0, -srcY);
            cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_GOOD);
            cairo_paint(cr);
            // Cell grid.
            cairo_set_source_rgba(cr, 0.2, 1, 1, 0.55);
            cairo_set_line_width(cr, 1.0 / pn.scale);
            for (int gx = 0; gx <= sp.cols; ++gx) {
                double lx = std::min<double>(gx * sp.cellw, sp.width);
                cairo_move_to(cr, lx, 0);
                cairo_line_to(cr, lx, srcH);
            }
            for (int gy = 0; gy <= sp.rows; ++gy) {
                double ly = gy * sp.cellh - srcY;
                if (ly < -0.5 || ly > srcH + 0.5) continue;
                cairo_move_to(cr, 0, ly);
                cairo_line_to(cr, sp.width, ly);
            }
            cairo_stroke(cr);
            cairo_restore(cr);
        }
        cairo_surface_destroy(pn.img);
    }
    cairo_destroy(cr);
    bool ok = cairo_surface_write_to_png(page, (dir + "/contact.png").c_str()) == CAIRO_STATUS_SUCCESS;
    cairo_surface_destroy(page);
    if (ok) std::printf("preview: %s/contact.png\n", dir.c_str());
    return ok;
}

}  // namespace qsassets
