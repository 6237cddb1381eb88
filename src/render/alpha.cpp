// The blended title picture: a rectangle of a bitmap mixed with what lies
// under it, in 32-bit pixels (blue, green, red, spare byte). The picture
// and its background are captured once, on the first call of the run, and
// every later call blends those same two captures.
#include "render/render.h"

#include <cstring>

enum { BLEND_MAX = 786432 };  // pixels: 1024 x 768

uint32_t FrontBuf[BLEND_MAX];  // captured source picture
uint32_t BackBuf[BLEND_MAX];   // captured background
static uint32_t DIBWork[BLEND_MAX];
uint32_t* DIBBuf;              // the work image, width x height pixels
bool BlendFlg;
static int sDibW, sDibH;

// 16-bit display pixels to and from the work image, kept in one place.
static inline uint32_t To32(uint16_t p) {
    uint32_t r = (p >> 11) & 31, g = (p >> 5) & 63, b = p & 31;
    r = (r << 3) | (r >> 2);
    g = (g << 2) | (g >> 4);
    b = (b << 3) | (b >> 2);
    return r << 16 | g << 8 | b;
}

static inline uint16_t To16(uint32_t p) {
    return (uint16_t)(((p >> 8) & 0xF800) | ((p >> 5) & 0x07E0) | ((p >> 3) & 0x001F));
}

bool InitDIB(PlatWindow*, int width, int height) {
    sDibW = width;
    sDibH = height;
    DIBBuf = DIBWork;
    return true;
}

// Copies a w x h rectangle of `s` at (x, y) into `out`; pixels outside the
// surface read as black.
static void Capture(PlatSurface* s, int x, int y, int w, int h, uint32_t* out) {
    int sw = Plat_SurfaceWidth(s), sh = Plat_SurfaceHeight(s);
    const uint16_t* px = Plat_SurfacePixels(s);
    for (int j = 0; j < h; j++)
        for (int i = 0; i < w; i++) {
            int xx = x + i, yy = y + j;
            out[(size_t)j * w + i] = (xx >= 0 && yy >= 0 && xx < sw && yy < sh) ? To32(px[(size_t)yy * sw + xx]) : 0;
        }
}

static void BlendWeighted(size_t n, uint32_t f) {
    const uint32_t nf = 256 - f;
    for (size_t i = 0; i < n; i++) {
        uint32_t s = FrontBuf[i], d = BackBuf[i];
        uint32_t rb = (((d & 0xFF00FF) * nf + (s & 0xFF00FF) * f) >> 8) & 0xFF00FF;
        uint32_t g = (((d >> 8) & 0xFF) * nf + ((s >> 8) & 0xFF) * f) & 0xFF00;
        DIBBuf[i] = rb | g | (d & 0xFF000000);
    }
}

static void BlendAdd(size_t n, uint32_t f) {
    for (size_t i = 0; i < n; i++) {
        uint32_t s = FrontBuf[i], d = BackBuf[i], out = d & 0xFF000000;
        for (int sh = 0; sh < 24; sh += 8) {
            uint32_t v = ((d >> sh) & 255) + ((((s >> sh) & 255) * f) >> 8);
            out |= (v > 255 ? 255 : v) << sh;
        }
        DIBBuf[i] = out;
    }
}

static void BlendSub(size_t n, uint32_t f) {
    for (size_t i = 0; i < n; i++) {
        uint32_t s = FrontBuf[i], d = BackBuf[i], out = d & 0xFF000000;
        for (int sh = 0; sh < 24; sh += 8) {
            int v = (int)((d >> sh) & 255) - (int)((((s >> sh) & 255) * f) >> 8);
            out |= (uint32_t)(v < 0 ? 0 : v) << sh;
        }
        DIBBuf[i] = out;
    }
}

void DrawAlpha(int x, int y, SurfaceData& source, int left, int top, int right, int bottom, int factor,
               int mode) {
    if (factor >= 255) factor = 255;
    if (factor < 0) factor = 0;
    int w = right - left, h = bottom - top;
    // Refuse what would overrun the captures instead of blending it: a
    // rectangle that is empty, too large, outside the bitmap, or of another
    // size than the one captured.
    if (!DDBack || w <= 0 || h <= 0 || (long)w * h > BLEND_MAX) return;
    if (!BlendFlg) {
        if (!source.surface || left < 0 || top < 0 || right > source.width || bottom > source.height) return;
        BlendFlg = true;
        InitDIB(nullptr, w, h);
        Capture(source.surface, left, top, w, h, FrontBuf);
        Capture(DDBack, x, y, w, h, BackBuf);
        std::memcpy(DIBBuf, BackBuf, (size_t)w * h * 4);
    }
    if (w != sDibW || h != sDibH) return;
    size_t n = (size_t)w * h;
    if (mode == 0) BlendWeighted(n, (uint32_t)factor);
    else if (mode == 1) BlendAdd(n, (uint32_t)factor);
    else if (mode == 2) BlendSub(n, (uint32_t)factor);
    // Copy the work image out, clipped to the screen.
    uint16_t* dst = Plat_SurfacePixels(DDBack);
    for (int j = 0; j < h; j++) {
        int yy = y + j;
        if (yy < 0 || yy >= 480) continue;
        const uint32_t* row = DIBBuf + (size_t)j * w;
        int i0 = x < 0 ? -x : 0, i1 = x + w > 640 ? 640 - x : w;
        uint16_t* out = dst + (size_t)yy * 640 + x;
        for (int i = i0; i < i1; i++) out[i] = To16(row[i]);
    }
}
