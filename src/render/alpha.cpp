// The blended title picture: a rectangle of a bitmap mixed with what lies
// under it, in 32-bit pixels (blue, green, red, spare byte). The picture
// and its background are captured once, on the first call of the run, and
// every later call blends those same two captures.
#include "render/render.h"

#include <cstring>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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

// Weighted blend. The sum d*(256-f) + s*f never exceeds 65280, so it is
// done in 16-bit lanes, eight bytes at a time where the processor can;
// the spare byte's lane weighs the background 256 and the source 0, which
// copies it from the background.
static void BlendWeighted(size_t i, size_t n, uint32_t f) {
#if defined(__SSE2__)
    const __m128i fv = _mm_setr_epi16((short)f, (short)f, (short)f, 0, (short)f, (short)f, (short)f, 0);
    const short nf = (short)(256 - f);
    const __m128i nfv = _mm_setr_epi16(nf, nf, nf, 256, nf, nf, nf, 256);
    const __m128i zero = _mm_setzero_si128();
    for (; i + 4 <= n; i += 4) {
        __m128i sv = _mm_loadu_si128(reinterpret_cast<const __m128i*>(FrontBuf + i));
        __m128i dv = _mm_loadu_si128(reinterpret_cast<const __m128i*>(BackBuf + i));
        __m128i lo = _mm_add_epi16(_mm_mullo_epi16(_mm_unpacklo_epi8(dv, zero), nfv),
                                   _mm_mullo_epi16(_mm_unpacklo_epi8(sv, zero), fv));
        __m128i hi = _mm_add_epi16(_mm_mullo_epi16(_mm_unpackhi_epi8(dv, zero), nfv),
                                   _mm_mullo_epi16(_mm_unpackhi_epi8(sv, zero), fv));
        __m128i out = _mm_packus_epi16(_mm_srli_epi16(lo, 8), _mm_srli_epi16(hi, 8));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(DIBBuf + i), out);
    }
#endif
    const uint32_t nf32 = 256 - f;
    for (; i < n; i++) {
        uint32_t s = FrontBuf[i], d = BackBuf[i];
        uint32_t rb = (((d & 0xFF00FF) * nf32 + (s & 0xFF00FF) * f) >> 8) & 0xFF00FF;
        uint32_t g = (((d >> 8) & 0xFF) * nf32 + ((s >> 8) & 0xFF) * f) & 0xFF00;
        DIBBuf[i] = rb | g | (d & 0xFF000000);
    }
}

// One row of the work image to display pixels.
static void RowTo16(const uint32_t* in, uint16_t* out, int count) {
    int i = 0;
#if defined(__SSE2__)
    const __m128i mr = _mm_set1_epi32(0xF800), mg = _mm_set1_epi32(0x07E0), mb = _mm_set1_epi32(0x001F);
    const __m128i bias32 = _mm_set1_epi32(0x8000), bias16 = _mm_set1_epi16((short)0x8000);
    for (; i + 8 <= count; i += 8) {
        __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + i));
        __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + i + 4));
        __m128i pa = _mm_or_si128(_mm_or_si128(_mm_and_si128(_mm_srli_epi32(a, 8), mr),
                                               _mm_and_si128(_mm_srli_epi32(a, 5), mg)),
                                  _mm_and_si128(_mm_srli_epi32(a, 3), mb));
        __m128i pb = _mm_or_si128(_mm_or_si128(_mm_and_si128(_mm_srli_epi32(b, 8), mr),
                                               _mm_and_si128(_mm_srli_epi32(b, 5), mg)),
                                  _mm_and_si128(_mm_srli_epi32(b, 3), mb));
        // Signed packing: shift into range and back.
        __m128i packed = _mm_packs_epi32(_mm_sub_epi32(pa, bias32), _mm_sub_epi32(pb, bias32));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), _mm_xor_si128(packed, bias16));
    }
#endif
    for (; i < count; i++) out[i] = To16(in[i]);
}

static void BlendAdd(size_t i, size_t n, uint32_t f) {
    for (; i < n; i++) {
        uint32_t s = FrontBuf[i], d = BackBuf[i], out = d & 0xFF000000;
        for (int sh = 0; sh < 24; sh += 8) {
            uint32_t v = ((d >> sh) & 255) + ((((s >> sh) & 255) * f) >> 8);
            out |= (v > 255 ? 255 : v) << sh;
        }
        DIBBuf[i] = out;
    }
}

static void BlendSub(size_t i, size_t n, uint32_t f) {
    for (; i < n; i++) {
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
    if (w != sDibW || h != sDibH || !Plat_Drawing()) return;
    // Row by row, so that each blended row is copied out while it is hot.
    uint16_t* dst = Plat_SurfacePixels(DDBack);
    for (int j = 0; j < h; j++) {
        size_t from = (size_t)j * w, to = from + w;
        if (mode == 0) BlendWeighted(from, to, (uint32_t)factor);
        else if (mode == 1) BlendAdd(from, to, (uint32_t)factor);
        else if (mode == 2) BlendSub(from, to, (uint32_t)factor);
        int yy = y + j;
        if (yy < 0 || yy >= 480) continue;
        int i0 = x < 0 ? -x : 0, i1 = x + w > 640 ? 640 - x : w;
        if (i1 > i0) RowTo16(DIBBuf + from + i0, dst + (size_t)yy * 640 + x + i0, i1 - i0);
    }
}
