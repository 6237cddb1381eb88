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

const int kMaxSize = 256;
TTF_Font* gFonts[kMaxSize + 1][2];  // [cell height][italic]
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

// Opens the face so that its character cell (ascent + descent) is `size`
// pixels high, as the old font API measured heights.
TTF_Font* GetFont(int size, bool italic) {
    if (size <= 0 || size > kMaxSize) return nullptr;
    TTF_Font*& slot = gFonts[size][italic ? 1 : 0];
    if (slot) return slot;
    if (!gTtfUp) {
        if (TTF_Init() != 0) return nullptr;
        gTtfUp = true;
    }
    if (!FindFont()) return nullptr;
    TTF_Font* f = TTF_OpenFont(gFontPath.c_str(), size);
    if (!f) return nullptr;
    int cell = TTF_FontHeight(f);
    if (cell > 0 && cell != size) {
        int pt = (size * size + cell / 2) / cell;
        if (pt < 1) pt = 1;
        TTF_Font* g = TTF_OpenFont(gFontPath.c_str(), pt);
        if (g) {
            TTF_CloseFont(f);
            f = g;
        }
    }
    if (italic) TTF_SetFontStyle(f, TTF_STYLE_ITALIC);
    slot = f;
    return f;
}

}  // namespace

bool Plat_DrawText(PlatSurface* dst, const char* text, int size, int x, int y, int r, int g, int b,
                   bool italic) {
    if (!dst || !text || !*text) return false;
    TTF_Font* font = GetFont(size, italic);
    if (!font) return false;
    SDL_Color col = {(Uint8)(r & 255), (Uint8)(g & 255), (Uint8)(b & 255), 255};
    SDL_Surface* img = TTF_RenderUTF8_Blended(font, text, col);
    if (!img) return false;
    SDL_Surface* argb = img;
    if (img->format->format != SDL_PIXELFORMAT_ARGB8888) {
        argb = SDL_ConvertSurfaceFormat(img, SDL_PIXELFORMAT_ARGB8888, 0);
        SDL_FreeSurface(img);
        if (!argb) return false;
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
    SDL_FreeSurface(argb);
    return true;
}

void Plat_TextShutdown() {
    for (auto& sizes : gFonts)
        for (auto& f : sizes)
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
