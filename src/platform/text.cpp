// Text and lines on the 16-bit back buffer.
#include "platform/text.h"
#include "platform/display.h"
#include "platform/plat_internal.h"

#include <SDL_ttf.h>
#include <cstdio>
#include <cstdlib>
#include <algorithm>
#include <cstring>
#include <string>
#include <sys/mman.h>

namespace {

// One face per style (upright, italic), set to whatever size the text in
// hand needs: FreeType keeps a single copy of the face's tables and one
// open file, whatever sizes the game asks for (the growing intro logo asks
// for hundreds). Glyphs of the usual sizes are cached below, so the face
// is resized only when a glyph not seen before is drawn.
const int kCachedSizes = 128;
const int kMaxSize = 4096;
TTF_Font* gFace[2];  // [italic]
int gFaceSize[2];    // cell height the face is set to
double gCellRatio;   // point size per pixel of cell height
bool gTtfUp;
bool gFontMissing;
std::string gFontPath;

// The game's face is a proportional Mincho: the desktop's IPA P Mincho, or
// the page's own face (text_desktop.cpp, text_web.cpp).
bool FindFont() {
    if (!gFontPath.empty()) return true;
    if (gFontMissing) return false;
    gFontPath = PlatI_FontFile();
    if (gFontPath.empty()) {
        gFontMissing = true;
        std::fprintf(stderr, "quellstorm: no Japanese serif font found (install the Debian package fonts-ipafont-mincho); text is not drawn\n");
        return false;
    }
    return true;
}

// Point size that gives a character cell (ascent + descent) of `size`
// pixels, as the old font API measured heights.
int PointSize(TTF_Font* probe, int probeSize, int size) {
    if (gCellRatio == 0) {
        int cell = TTF_FontHeight(probe);
        gCellRatio = cell > 0 ? (double)probeSize / cell : 1.0;
    }
    int pt = (int)(size * gCellRatio + 0.5);
    return pt < 1 ? 1 : pt;
}

TTF_Font* OpenFace(int size, bool italic) {
    TTF_Font* f = TTF_OpenFont(gFontPath.c_str(), size);
    if (!f) return nullptr;
    int pt = PointSize(f, size, size);
    if (pt != size && TTF_SetFontSize(f, pt) != 0) {
        TTF_CloseFont(f);
        return nullptr;
    }
    if (italic) TTF_SetFontStyle(f, TTF_STYLE_ITALIC);
    // Full hinting breaks the thin strokes of the Mincho face at small
    // sizes (the long-vowel bar falls apart); light hinting keeps them.
    TTF_SetFontHinting(f, TTF_HINTING_LIGHT);
    return f;
}

// The face of the style, opened on first use (not resized).
TTF_Font* Face(int size, bool italic) {
    if (size <= 0 || size > kMaxSize) return nullptr;
    if (!gTtfUp) {
        if (TTF_Init() != 0) return nullptr;
        gTtfUp = true;
    }
    if (!FindFont()) return nullptr;
    int it = italic ? 1 : 0;
    if (!gFace[it]) {
        gFace[it] = OpenFace(size, italic);
        gFaceSize[it] = size;
    }
    return gFace[it];
}

// The face of the style set to a cell of `size` pixels.
TTF_Font* GetFont(int size, bool italic) {
    TTF_Font* f = Face(size, italic);
    if (!f) return nullptr;
    int it = italic ? 1 : 0;
    if (gFaceSize[it] != size) {
        if (TTF_SetFontSize(f, PointSize(f, size, size)) != 0) return nullptr;
        gFaceSize[it] = size;
    }
    return f;
}

// Decodes one UTF-8 character; advances *p.
Uint32 NextChar(const char** p) {
    const unsigned char* s = reinterpret_cast<const unsigned char*>(*p);
    Uint32 c = s[0];
    int n = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 1;
    if (n > 1) {
        c &= 0x3F >> (n - 1);
        for (int i = 1; i < n; i++) {
            if ((s[i] & 0xC0) != 0x80) {
                n = i;
                c = 0xFFFD;
                break;
            }
            c = (c << 6) | (s[i] & 0x3F);
        }
    }
    *p += n;
    return c;
}

}  // namespace

// Blends an anti-aliased ARGB image onto the 16-bit surface at (x, y).
static void BlendImage(PlatSurface* dst, SDL_Surface* img, int x, int y) {
    SDL_Surface* argb = img;
    if (img->format->format != SDL_PIXELFORMAT_ARGB8888) {
        argb = SDL_ConvertSurfaceFormat(img, SDL_PIXELFORMAT_ARGB8888, 0);
        if (!argb) return;
    }
    int dw = Plat_SurfaceWidth(dst), dh = Plat_SurfaceHeight(dst);
    uint16_t* dp = Plat_SurfacePixels(dst);
    SDL_LockSurface(argb);
    for (int j = 0; j < argb->h; j++) {
        int yy = y + j;
        if (yy < 0 || yy >= dh) continue;
        const Uint32* sp = reinterpret_cast<const Uint32*>(static_cast<const Uint8*>(argb->pixels) + (size_t)j * argb->pitch);
        uint16_t* row = dp + (size_t)yy * dw;
        for (int i = 0; i < argb->w; i++) {
            int xx = x + i;
            if (xx < 0 || xx >= dw) continue;
            Uint32 p = sp[i];
            int a = (int)(p >> 24);
            if (a == 0) continue;
            int sr = (p >> 16) & 255, sg = (p >> 8) & 255, sb = p & 255;
            if (a < 255) {
                uint16_t d = row[xx];
                int dr = ((d >> 11) & 31) * 255 / 31, dg = ((d >> 5) & 63) * 255 / 63, db = (d & 31) * 255 / 31;
                sr = (sr * a + dr * (255 - a)) / 255;
                sg = (sg * a + dg * (255 - a)) / 255;
                sb = (sb * a + db * (255 - a)) / 255;
            }
            row[xx] = Plat_RGB565(sr, sg, sb);
        }
    }
    SDL_UnlockSurface(argb);
    if (argb != img) SDL_FreeSurface(argb);
}

// The glyph cache: the coverage of every glyph drawn so far, by size,
// style and character, in fixed storage. A glyph that no longer fits is
// drawn without being kept.
namespace {

struct Glyph {
    Uint32 ch;
    int16_t size;
    int8_t italic;
    int16_t w, h, advance;
    uint32_t offset;  // into gMasks
};
const int kGlyphSlots = 8192;      // open addressing, power of two
const size_t kMaskBytes = 16u << 20;
Glyph gGlyphs[kGlyphSlots];
bool gGlyphUsed[kGlyphSlots];
unsigned char* gMasks;
size_t gMaskUsed;
int gLargestCached;  // the largest size with a glyph in the cache
Glyph gScratch;
unsigned char gScratchMask[256 * 256];

}  // namespace

static bool RenderMask(TTF_Font* font, Uint32 c, Glyph* g, unsigned char* out, size_t room) {
    int minx, maxx, miny, maxy, advance;
    if (TTF_GlyphMetrics32(font, c, &minx, &maxx, &miny, &maxy, &advance) != 0) return false;
    SDL_Color white = {255, 255, 255, 255};
    SDL_Surface* img = TTF_RenderGlyph32_Blended(font, c, white);
    if (!img) return false;
    SDL_Surface* argb = img->format->format == SDL_PIXELFORMAT_ARGB8888 ? img : SDL_ConvertSurfaceFormat(img, SDL_PIXELFORMAT_ARGB8888, 0);
    bool ok = argb && (size_t)argb->w * argb->h <= room && argb->w < 32768 && argb->h < 32768;
    if (ok) {
        g->w = (int16_t)argb->w;
        g->h = (int16_t)argb->h;
        g->advance = (int16_t)advance;
        SDL_LockSurface(argb);
        for (int j = 0; j < argb->h; j++) {
            const Uint32* row = reinterpret_cast<const Uint32*>(static_cast<const Uint8*>(argb->pixels) + (size_t)j * argb->pitch);
            for (int i = 0; i < argb->w; i++) out[(size_t)j * argb->w + i] = (unsigned char)(row[i] >> 24);
        }
        SDL_UnlockSurface(argb);
    }
    if (argb && argb != img) SDL_FreeSurface(argb);
    SDL_FreeSurface(img);
    return ok;
}

static const unsigned char* MaskOf(const Glyph* g) { return g == &gScratch ? gScratchMask : gMasks + g->offset; }

// The mask store is mapped directly, so that what a release gives back
// leaves the process at once; its pages are touched only as glyphs fill it.
static unsigned char* MapMasks() {
    void* p = mmap(nullptr, kMaskBytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    return p == MAP_FAILED ? nullptr : static_cast<unsigned char*>(p);
}

static unsigned GlyphHash(Uint32 c, int size, bool italic) {
    return (c * 2654435761u) ^ (unsigned)(size * 40503) ^ (italic ? 0x9E37u : 0);
}

static const Glyph* CachedGlyph(int size, bool italic, Uint32 c) {
    unsigned h = GlyphHash(c, size, italic);
    TTF_Font* font = nullptr;
    for (int probe = 0; probe < 64; probe++) {
        int i = (int)((h + probe) & (kGlyphSlots - 1));
        if (gGlyphUsed[i]) {
            const Glyph& g = gGlyphs[i];
            if (g.ch == c && g.size == size && g.italic == (italic ? 1 : 0)) return &g;
            continue;
        }
        if (!gMasks) gMasks = MapMasks();
        if (!gMasks) break;
        font = GetFont(size, italic);
        if (!font) return nullptr;
        Glyph g = {c, (int16_t)size, (int8_t)(italic ? 1 : 0), 0, 0, 0, (uint32_t)gMaskUsed};
        if (!RenderMask(font, c, &g, gMasks + gMaskUsed, kMaskBytes - gMaskUsed)) break;
        gMaskUsed += (size_t)g.w * g.h;
        gGlyphs[i] = g;
        gGlyphUsed[i] = true;
        if (size > gLargestCached) gLargestCached = size;
        return &gGlyphs[i];
    }
    // Cache full: draw it once from scratch storage.
    if (!font) font = GetFont(size, italic);
    if (!font) return nullptr;
    gScratch = Glyph{c, (int16_t)size, (int8_t)(italic ? 1 : 0), 0, 0, 0, 0};
    return RenderMask(font, c, &gScratch, gScratchMask, sizeof gScratchMask) ? &gScratch : nullptr;
}

// Blends a coverage mask in colour `col` onto the 16-bit surface.
static void BlendMask(PlatSurface* dst, const Glyph* g, int x, int y, SDL_Color col) {
    int dw = Plat_SurfaceWidth(dst), dh = Plat_SurfaceHeight(dst);
    uint16_t* dp = Plat_SurfacePixels(dst);
    const unsigned char* m = MaskOf(g);
    uint16_t solid = Plat_RGB565(col.r, col.g, col.b);
    for (int j = 0; j < g->h; j++) {
        int yy = y + j;
        if (yy < 0 || yy >= dh) continue;
        uint16_t* row = dp + (size_t)yy * dw;
        const unsigned char* mr = m + (size_t)j * g->w;
        for (int i = 0; i < g->w; i++) {
            int xx = x + i, a = mr[i];
            if (a == 0 || xx < 0 || xx >= dw) continue;
            if (a == 255) {
                row[xx] = solid;
                continue;
            }
            uint16_t d = row[xx];
            int dr = ((d >> 11) & 31) * 255 / 31, dg = ((d >> 5) & 63) * 255 / 63, db = (d & 31) * 255 / 31;
            row[xx] = Plat_RGB565((col.r * a + dr * (255 - a)) / 255, (col.g * a + dg * (255 - a)) / 255,
                                  (col.b * a + db * (255 - a)) / 255);
        }
    }
}

bool Plat_DrawText(PlatSurface* dst, const char* text, int size, int x, int y, int r, int g, int b,
                   bool italic) {
    if (!dst || !text || !*text) return false;
    if (!Face(size, italic)) return false;
    if (!Plat_Drawing()) return true;
    SDL_Color col = {(Uint8)(r & 255), (Uint8)(g & 255), (Uint8)(b & 255), 255};
    int dw = Plat_SurfaceWidth(dst), dh = Plat_SurfaceHeight(dst);
    if (y >= dh || x >= dw) return true;
    if (size <= kCachedSizes) {
        // Glyphs of the usual sizes come from the cache: drawing text in a
        // frame allocates nothing once each glyph has been seen.
        int pen = x;
        for (const char* p = text; *p && pen < dw;) {
            Uint32 c = NextChar(&p);
            const Glyph* gl = CachedGlyph(size, italic, c);
            if (!gl) continue;
            if (pen + gl->w > 0) BlendMask(dst, gl, pen, y, col);
            pen += gl->advance;
        }
        return true;
    }
    // Huge text: only the characters that reach the screen are rendered.
    TTF_Font* font = GetFont(size, italic);
    if (!font) return false;
    int pen = x;
    for (const char* p = text; *p && pen < dw;) {
        Uint32 c = NextChar(&p);
        int minx, maxx, miny, maxy, advance;
        if (TTF_GlyphMetrics32(font, c, &minx, &maxx, &miny, &maxy, &advance) != 0) continue;
        if (pen + advance > 0) {
            SDL_Surface* img = TTF_RenderGlyph32_Blended(font, c, col);
            if (img) {
                BlendImage(dst, img, pen, y);
                SDL_FreeSurface(img);
            }
        }
        pen += advance;
    }
    return true;
}

bool Plat_TextPrepare(const char* text, int size) {
    if (!text || size <= 0 || size > kCachedSizes) return false;
    if (!Face(size, false)) return false;
    for (const char* p = text; *p;) CachedGlyph(size, false, NextChar(&p));
    return true;
}

int Plat_TextWidth(const char* text, int size) {
    if (!text || size <= 0 || size > kCachedSizes || !Face(size, false)) return -1;
    int w = 0;
    for (const char* p = text; *p;) {
        const Glyph* g = CachedGlyph(size, false, NextChar(&p));
        if (g) w += g->advance;
    }
    return w;
}

void Plat_TextRelease(int keepUpTo) {
    if (gLargestCached <= keepUpTo || !gMasks) return;
    // The glyphs kept move to a fresh store, in their old order; the old
    // store goes back to the system whole.
    unsigned char* fresh = MapMasks();
    if (!fresh) return;
    static Glyph kept[kGlyphSlots];
    int n = 0;
    for (int i = 0; i < kGlyphSlots; i++)
        if (gGlyphUsed[i] && gGlyphs[i].size <= keepUpTo) kept[n++] = gGlyphs[i];
    std::sort(kept, kept + n, [](const Glyph& a, const Glyph& b) { return a.offset < b.offset; });
    size_t used = 0;
    for (int k = 0; k < n; k++) {
        size_t bytes = (size_t)kept[k].w * kept[k].h;
        std::memcpy(fresh + used, gMasks + kept[k].offset, bytes);
        kept[k].offset = (uint32_t)used;
        used += bytes;
    }
    munmap(gMasks, kMaskBytes);
    gMasks = fresh;
    gMaskUsed = used;
    gLargestCached = 0;
    for (bool& u : gGlyphUsed) u = false;
    for (int k = 0; k < n; k++) {
        unsigned h = GlyphHash(kept[k].ch, kept[k].size, kept[k].italic != 0);
        for (int probe = 0; probe < 64; probe++) {
            int i = (int)((h + probe) & (kGlyphSlots - 1));
            if (gGlyphUsed[i]) continue;
            gGlyphs[i] = kept[k];
            gGlyphUsed[i] = true;
            if (kept[k].size > gLargestCached) gLargestCached = kept[k].size;
            break;
        }
    }
}

int Plat_TextFaceCount() { return (gFace[0] ? 1 : 0) + (gFace[1] ? 1 : 0); }

void Plat_TextShutdown() {
    if (gMasks) munmap(gMasks, kMaskBytes);
    gMasks = nullptr;
    gMaskUsed = 0;
    gLargestCached = 0;
    for (bool& u : gGlyphUsed) u = false;
    for (auto& f : gFace)
        if (f) {
            TTF_CloseFont(f);
            f = nullptr;
        }
    if (gTtfUp) TTF_Quit();
    gTtfUp = false;
}

// Solid lines: Bresenham steps from the first point up to, not including,
// the last; a wider pen repeats the run across the minor axis.
void Plat_DrawLine(PlatSurface* dst, int x1, int y1, int x2, int y2, int width, int r, int g, int b) {
    if (!dst || !Plat_Drawing()) return;
    int dw = Plat_SurfaceWidth(dst), dh = Plat_SurfaceHeight(dst);
    uint16_t* px = Plat_SurfacePixels(dst);
    uint16_t c = Plat_RGB565(r & 255, g & 255, b & 255);
    if (width < 1) width = 1;
    if (width > 64) width = 64;
    // Keep the walk bounded for wild coordinates.
    const long lim = 1 << 14;
    if (x1 < -lim || x1 > lim || x2 < -lim || x2 > lim || y1 < -lim || y1 > lim || y2 < -lim || y2 > lim) return;
    long adx = std::labs((long)x2 - x1), ady = std::labs((long)y2 - y1);
    int sx = x1 < x2 ? 1 : -1, sy = y1 < y2 ? 1 : -1;
    bool xmajor = adx >= ady;
    int lo = -(width - 1) / 2, hi = width / 2;
    long err = (xmajor ? adx : ady) / 2;
    long steps = xmajor ? adx : ady;
    long x = x1, y = y1;
    for (long n = 0; n < steps; n++) {
        for (int k = lo; k <= hi; k++) {
            long px_ = xmajor ? x : x + k, py_ = xmajor ? y + k : y;
            if (px_ >= 0 && px_ < dw && py_ >= 0 && py_ < dh) px[py_ * dw + px_] = c;
        }
        if (xmajor) {
            x += sx;
            err -= ady;
            if (err < 0) { y += sy; err += adx; }
        } else {
            y += sy;
            err -= adx;
            if (err < 0) { x += sx; err += ady; }
        }
    }
}
