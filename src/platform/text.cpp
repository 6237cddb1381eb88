// Text and lines on the 16-bit back buffer.
#include "platform/text.h"
#include "platform/plat_internal.h"

#include <SDL_ttf.h>
#include <fontconfig/fontconfig.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

// Fonts of the usual text heights are kept open; larger ones (the growing
// intro logo, the big letters) share one face that is resized on use.
const int kCachedSizes = 128;
const int kMaxSize = 4096;
TTF_Font* gFonts[kCachedSizes + 1][2];  // [cell height][italic]
TTF_Font* gBig[2];
int gBigSize[2];
double gCellRatio;  // point size per pixel of cell height
bool gTtfUp;
bool gFontMissing;
std::string gFontPath;

// The game's face is a proportional Mincho; IPA P Mincho is the nearest
// we can ship. Asked of fontconfig rather than a fixed path.
bool FindFont() {
    if (!gFontPath.empty()) return true;
    if (gFontMissing) return false;
    const char* names[] = {"IPAPMincho", "IPA P明朝", "IPAMincho", "serif:lang=ja"};
    if (FcInit()) {
        for (const char* name : names) {
            FcPattern* pat = FcNameParse(reinterpret_cast<const FcChar8*>(name));
            if (!pat) continue;
            FcConfigSubstitute(nullptr, pat, FcMatchPattern);
            FcDefaultSubstitute(pat);
            FcResult res;
            FcPattern* match = FcFontMatch(nullptr, pat, &res);
            FcPatternDestroy(pat);
            if (!match) continue;
            FcChar8* file = nullptr;
            FcChar8* family = nullptr;
            if (FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch &&
                FcPatternGetString(match, FC_FAMILY, 0, &family) == FcResultMatch) {
                std::string fam = reinterpret_cast<const char*>(family);
                if (fam.find("IPA") != std::string::npos || std::strncmp(name, "serif", 5) == 0)
                    gFontPath = reinterpret_cast<const char*>(file);
            }
            FcPatternDestroy(match);
            if (!gFontPath.empty()) break;
        }
    }
    if (gFontPath.empty()) {
        gFontMissing = true;
        std::fprintf(stderr, "QUELLSTORM: no Japanese serif font found (install fonts-ipafont-mincho); text is not drawn\n");
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

TTF_Font* OpenSized(int size, bool italic) {
    TTF_Font* f = TTF_OpenFont(gFontPath.c_str(), size);
    if (!f) return nullptr;
    int pt = PointSize(f, size, size);
    if (pt != size && TTF_SetFontSize(f, pt) != 0) {
        TTF_CloseFont(f);
        return nullptr;
    }
    if (italic) TTF_SetFontStyle(f, TTF_STYLE_ITALIC);
    return f;
}

TTF_Font* GetFont(int size, bool italic) {
    if (size <= 0 || size > kMaxSize) return nullptr;
    if (!gTtfUp) {
        if (TTF_Init() != 0) return nullptr;
        gTtfUp = true;
    }
    if (!FindFont()) return nullptr;
    int it = italic ? 1 : 0;
    if (size <= kCachedSizes) {
        TTF_Font*& slot = gFonts[size][it];
        if (!slot) slot = OpenSized(size, italic);
        return slot;
    }
    if (!gBig[it]) {
        gBig[it] = OpenSized(size, italic);
        gBigSize[it] = size;
        return gBig[it];
    }
    if (gBigSize[it] != size) {
        if (TTF_SetFontSize(gBig[it], PointSize(gBig[it], size, size)) != 0) return nullptr;
        gBigSize[it] = size;
    }
    return gBig[it];
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

bool Plat_DrawText(PlatSurface* dst, const char* text, int size, int x, int y, int r, int g, int b,
                   bool italic) {
    if (!dst || !text || !*text) return false;
    TTF_Font* font = GetFont(size, italic);
    if (!font) return false;
    SDL_Color col = {(Uint8)(r & 255), (Uint8)(g & 255), (Uint8)(b & 255), 255};
    int dw = Plat_SurfaceWidth(dst), dh = Plat_SurfaceHeight(dst);
    if (y >= dh || x >= dw) return true;
    if (size <= kCachedSizes) {
        SDL_Surface* img = TTF_RenderUTF8_Blended(font, text, col);
        if (!img) return false;
        BlendImage(dst, img, x, y);
        SDL_FreeSurface(img);
        return true;
    }
    // Huge text: only the characters that reach the screen are rendered.
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

void Plat_TextShutdown() {
    for (auto& sizes : gFonts)
        for (auto& f : sizes)
            if (f) {
                TTF_CloseFont(f);
                f = nullptr;
            }
    for (auto& f : gBig)
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
    if (!dst) return;
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
