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
static cairo_surface_t* sheet_image(const SheetDef& sp, int w, int h,
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
    const SheetDef* sp;
    cairo_surface_t* img;
    int chunks, rowsPerChunk;  // wrapped layout of the cell rows
    double scale, w, h;        // drawn size
};

// Draws a panel (wrapped chunks with the cell grid) with its top-left at
// (px, py) at scale `k`.
static void draw_panel(cairo_t* cr, const Panel& pn, double px, double py, double k) {
    const SheetDef& sp = *pn.sp;
    for (int c = 0; c < pn.chunks; ++c) {
        int r0 = c * pn.rowsPerChunk;
        int r1 = std::min(sp.rows, r0 + pn.rowsPerChunk);
        if (r0 >= r1) break;
        double srcY = pn.chunks == 1 ? 0 : r0 * sp.cellh;
        double srcH = pn.chunks == 1 ? sp.height : (r1 - r0) * sp.cellh;
        double dx = px + c * (sp.width + 6.0) * k;
        cairo_save(cr);
        cairo_rectangle(cr, dx, py, sp.width * k, srcH * k);
        cairo_clip(cr);
        cairo_translate(cr, dx, py);
        cairo_scale(cr, k, k);
        cairo_set_source_surface(cr, pn.img, 0, -srcY);
        cairo_pattern_set_filter(cairo_get_source(cr), k >= 1 ? CAIRO_FILTER_NEAREST : CAIRO_FILTER_GOOD);
        cairo_paint(cr);
        cairo_set_source_rgba(cr, 0.2, 1, 1, 0.55);
        cairo_set_line_width(cr, 1.0 / k);
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
}

bool make_preview(const std::string& outDir, const std::string& dir) {
    const double kPageW = 2600, kMax = 520, kLabel = 18, kGap = 14;
    std::vector<Panel> panels;
    make_dirs_for(dir + "/sheets/x");
    for (int i = 0; i < kSheetCount; ++i) {
        const SheetDef& sp = kSheets[i];
        int w, h;
        std::vector<uint8_t> bgr;
        if (!read_bmp(outDir + "/" + sp.file, w, h, bgr)) {
            std::fprintf(stderr, "preview: cannot read %s\n", sp.file);
            return false;
        }
        Panel pn{&sp, sheet_image(sp, w, h, bgr), 1, sp.rows, 1, 0, 0};
        char name[64];
        std::snprintf(name, sizeof name, "/sheets/%03d.png", sp.slot);
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
        {
            // Each sheet on its own, wrapped the same way, enlarged when small.
            double z = std::max(1.0, std::min(6.0, std::floor(700.0 / std::max(lw, lh))));
            cairo_surface_t* big = cairo_image_surface_create(CAIRO_FORMAT_RGB24, (int)(lw * z), (int)(lh * z));
            cairo_t* bc = cairo_create(big);
            cairo_set_source_rgb(bc, 0.12, 0.12, 0.14);
            cairo_paint(bc);
            draw_panel(bc, pn, 0, 0, z);
            cairo_destroy(bc);
            cairo_surface_write_to_png(big, (dir + name).c_str());
            cairo_surface_destroy(big);
        }
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
        const SheetDef& sp = *pn.sp;
        double px = pos[i].first, py = pos[i].second + kLabel;
        char label[160];
        std::snprintf(label, sizeof label, "%d  %s  %dx%d", sp.slot, sp.file, sp.width, sp.height);
        cairo_set_source_rgb(cr, 1, 0.9, 0.4);
        cairo_move_to(cr, px, py - 5);
        cairo_show_text(cr, label);
        draw_panel(cr, pn, px, py, pn.scale);
        cairo_surface_destroy(pn.img);
    }
    cairo_destroy(cr);
    bool ok = cairo_surface_write_to_png(page, (dir + "/contact.png").c_str()) == CAIRO_STATUS_SUCCESS;
    cairo_surface_destroy(page);
    if (ok) std::printf("preview: %s/contact.png\n", dir.c_str());
    bool make_scenes(const std::string& outDir, const std::string& dir);
    return ok && make_scenes(outDir, dir);
}

}  // namespace qsassets

namespace qsassets {

// Chosen cells side by side, enlarged: "slot:col:row" each.
bool make_montage(const std::string& outDir, const std::string& png, double zoom,
                  const std::vector<std::string>& cells) {
    struct Item { cairo_surface_t* img; double x, y, w, h; };
    std::vector<Item> items;
    double x = 4, y = 4, rowH = 0, pageW = 1400;
    for (const std::string& c : cells) {
        int slot = 0, col = 0, row = 0;
        std::sscanf(c.c_str(), "%d:%d:%d", &slot, &col, &row);
        const SheetDef* sp = nullptr;
        for (int i = 0; i < kSheetCount; ++i)
            if (kSheets[i].slot == slot) sp = &kSheets[i];
        if (!sp) return false;
        int w, h;
        std::vector<uint8_t> bgr;
        if (!read_bmp(outDir + "/" + sp->file, w, h, bgr)) return false;
        cairo_surface_t* img = sheet_image(*sp, w, h, bgr);
        double cw = sp->cellw * zoom, ch = sp->cellh * zoom;
        if (x + cw > pageW) { x = 4; y += rowH + 4; rowH = 0; }
        items.push_back({img, x - col * sp->cellw * zoom, y - row * sp->cellh * zoom, cw, ch});
        items.back().w = cw;
        items.back().h = ch;
        // remember the cell's on-page box in x/y via offsets
        items.back().x = x;
        items.back().y = y;
        cairo_surface_set_user_data(img, (cairo_user_data_key_t*)&items, nullptr, nullptr);
        // stash the source offset in the surface's device offset
        cairo_surface_set_device_offset(img, 0, 0);
        items.back().img = img;
        static std::vector<std::pair<double, double>> dummy;
        (void)dummy;
        x += cw + 4;
        rowH = std::max(rowH, ch);
        // store source offsets
        items.back().w = cw;
        items.back().h = ch;
        cairo_surface_set_device_offset(img, col * sp->cellw, row * sp->cellh);
    }
    cairo_surface_t* page = cairo_image_surface_create(CAIRO_FORMAT_RGB24, (int)pageW, (int)(y + rowH + 4));
    cairo_t* cr = cairo_create(page);
    cairo_set_source_rgb(cr, 0.12, 0.12, 0.14);
    cairo_paint(cr);
    for (Item& it : items) {
        cairo_save(cr);
        cairo_rectangle(cr, it.x, it.y, it.w, it.h);
        cairo_clip(cr);
        cairo_translate(cr, it.x, it.y);
        cairo_scale(cr, zoom, zoom);
        cairo_set_source_surface(cr, it.img, 0, 0);
        cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_NEAREST);
        cairo_paint(cr);
        cairo_restore(cr);
        cairo_surface_destroy(it.img);
    }
    cairo_destroy(cr);
    bool ok = cairo_surface_write_to_png(page, png.c_str()) == CAIRO_STATUS_SUCCESS;
    cairo_surface_destroy(page);
    return ok;
}

}  // namespace qsassets

namespace qsassets {

// Mock-ups of play: each stage's background with the ship, enemies,
// bullets, lasers, an explosion, jewels and the HUD pictures on it, copied
// colour-keyed as the game copies them, to judge contrast and scale.
namespace {

struct Pic {
    int w = 0, h = 0;
    std::vector<uint8_t> bgr;
};

struct Screen {
    std::vector<uint8_t> px = std::vector<uint8_t>(640 * 480 * 3, 0);
    void blit(const Pic& p, int x, int y, int l, int t, int r, int b, bool keyed = true) {
        for (int sy = t; sy < b; ++sy)
            for (int sx = l; sx < r; ++sx) {
                int dx = x + sx - l, dy = y + sy - t;
                if (dx < 0 || dy < 0 || dx >= 640 || dy >= 480 || sx >= p.w || sy >= p.h) continue;
                const uint8_t* s = &p.bgr[((size_t)sy * p.w + sx) * 3];
                if (keyed && near_black(s[2], s[1], s[0])) continue;
                uint8_t* d = &px[((size_t)dy * 640 + dx) * 3];
                d[0] = s[0];
                d[1] = s[1];
                d[2] = s[2];
            }
    }
    void tile(const Pic& p, int ox, int oy, bool keyed) {
        for (int y = oy - p.h; y < 480; y += p.h)
            for (int x = ox - p.w; x < 640; x += p.w) blit(p, x, y, 0, 0, p.w, p.h, keyed);
    }
};

}  // namespace

bool make_scenes(const std::string& outDir, const std::string& dir) {
    std::vector<Pic> pics(200);
    for (int i = 0; i < kSheetCount; ++i)
        if (!read_bmp(outDir + "/" + kSheets[i].file, pics[kSheets[i].slot].w, pics[kSheets[i].slot].h,
                      pics[kSheets[i].slot].bgr))
            return false;
    struct Stage { int back, front, offset; int enemy, ew, eh, ef; };
    const Stage stages[5] = {{60, -1, 0, 20, 64, 64, 0}, {63, -1, 0, 21, 64, 64, 3}, {65, 64, 0, 28, 64, 64, 2},
                             {67, -1, 100, 26, 150, 150, 1}, {170, -1, 0, 31, 64, 64, 0}};
    for (int si = 0; si < 5; ++si) {
        const Stage& st = stages[si];
        Screen s;
        if (st.back == 67) s.blit(pics[67], 0, st.offset, 0, 0, 640, 800, true);
        else s.tile(pics[st.back], -130 * si, 0, true);
        if (st.front >= 0) s.tile(pics[st.front], -200, 0, true);
        if (si == 0) {
            s.blit(pics[62], 380, 250, 0, 0, 200, 200);
            s.blit(pics[62], 60, -60, 0, 0, 200, 200);
        }
        // Enemies and a mid-size machine.
        for (int k = 0; k < 4; ++k) s.blit(pics[st.enemy], 400 + k * 50, 60 + k * 28, 0, st.ef * st.eh, st.ew, (st.ef + 1) * st.eh);
        s.blit(pics[50 + si], 300, 300, 0, 0, si == 3 ? 300 : si == 4 ? 200 : 256, si == 3 ? 80 : si == 4 ? 200 : 123);
        // Bullets of every colour, rings, lasers and darts.
        for (int k = 0; k < 16; ++k) {
            int g = 90 + k % 4;
            s.blit(pics[g], 200 + (k * 37) % 300, 40 + (k * 53) % 380, 0, 0, 16, 16);
        }
        for (int k = 0; k < 6; ++k) s.blit(pics[98 + k % 2], 150 + k * 40, 420 - k * 22, 0, 16 * (k % 8), 16, 16 * (k % 8 + 1));
        for (int k = 0; k < 3; ++k) s.blit(pics[94], 260 + k * 64, 250, 0, 0, 64, 5);
        for (int k = 0; k < 6; ++k) s.blit(pics[89], 120 + k * 30, 200 + k * 10, 32 * (k * 3), k % 2 ? 33 : 0, 32 * (k * 3) + 32, k % 2 ? 64 : 32);
        s.blit(pics[95], 470, 380, 0, 64, 64, 128);
        // The ship, its shots, an explosion and jewels.
        s.blit(pics[0], 60, 210, 64, 0, 128, 64);
        for (int k = 0; k < 4; ++k) s.blit(pics[3], 130 + k * 36, 205 + (k - 2) * 8, 0, 0, 32, 32);
        s.blit(pics[1], 420 - 65, 160 - 65, 0, 130 * 2, 130, 130 * 3);
        for (int k = 0; k < 5; ++k) s.blit(pics[15], 120 + k * 34, 120, k * 32, 0, k * 32 + 32, 32);
        s.blit(pics[110], 120, 330, 0, 0, 32, 32);
        // HUD.
        s.blit(pics[150], 10, 30, 0, 0, 70, 20);
        s.blit(pics[151], 10, 30, 0, 0, 100, 20);
        for (int k = 0; k < 3; ++k) s.blit(pics[66], 12 + 18 * k, 45, 0, 0, 24, 24);
        for (int k = 0; k < 4; ++k) s.blit(pics[6], 560 + 16 * k, 440, 16 * (k + 3), 0, 16 * (k + 3) + 16, 32);
        cairo_surface_t* img = cairo_image_surface_create(CAIRO_FORMAT_RGB24, 640, 480);
        uint32_t* p = (uint32_t*)cairo_image_surface_get_data(img);
        int stride = cairo_image_surface_get_stride(img) / 4;
        for (int y = 0; y < 480; ++y)
            for (int x = 0; x < 640; ++x) {
                const uint8_t* o = &s.px[((size_t)y * 640 + x) * 3];
                p[y * stride + x] = (uint32_t)o[2] << 16 | (uint32_t)o[1] << 8 | o[0];
            }
        cairo_surface_mark_dirty(img);
        char name[64];
        std::snprintf(name, sizeof name, "/scene%d.png", si + 1);
        cairo_surface_write_to_png(img, (dir + name).c_str());
        cairo_surface_destroy(img);
    }
    return true;
}

}  // namespace qsassets
