// The blitter: the game's 16-bit surfaces, rectangle copies with and
// without the colour key, and fills. Pixels are RGB565; value 0 is the key.
#include "platform/display.h"

#include <cstdlib>
#include <cstring>
#include <new>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

struct PlatSurface {
    int w, h;
    int pitch;  // bytes
    uint16_t* px;
};

static bool gDrawing = true;

void Plat_SetDrawing(bool on) { gDrawing = on; }
bool Plat_Drawing() { return gDrawing; }

PlatSurface* Plat_SurfaceCreate(int w, int h) {
    if (w <= 0 || h <= 0 || w > 16384 || h > 16384) return nullptr;
    PlatSurface* s = new (std::nothrow) PlatSurface;
    if (!s) return nullptr;
    s->w = w;
    s->h = h;
    s->pitch = w * 2;
    s->px = static_cast<uint16_t*>(std::calloc((size_t)w * h, 2));
    if (!s->px) {
        delete s;
        return nullptr;
    }
    return s;
}

void Plat_SurfaceFree(PlatSurface* s) {
    if (!s) return;
    std::free(s->px);
    delete s;
}

int Plat_SurfaceWidth(const PlatSurface* s) { return s ? s->w : 0; }
int Plat_SurfaceHeight(const PlatSurface* s) { return s ? s->h : 0; }
int Plat_SurfacePitch(const PlatSurface* s) { return s ? s->pitch : 0; }
uint16_t* Plat_SurfacePixels(PlatSurface* s) { return s ? s->px : nullptr; }

// The keyed copy of w x h pixels: a source pixel of value 0 leaves the
// destination as it is. No branches on the pixels: sprite edges would make
// them guess wrong.
static void KeyedRowsSse2(uint16_t* dp, int dpitch, const uint16_t* sp, int spitch, int w, int h) {
    for (int j = 0; j < h; j++, sp += spitch, dp += dpitch) {
        int i = 0;
#if defined(__SSE2__)
        const __m128i zero = _mm_setzero_si128();
        for (; i + 8 <= w; i += 8) {
            __m128i s8 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(sp + i));
            __m128i d8 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(dp + i));
            __m128i key = _mm_cmpeq_epi16(s8, zero);
            _mm_storeu_si128(reinterpret_cast<__m128i*>(dp + i), _mm_or_si128(_mm_and_si128(key, d8), s8));
        }
#endif
        for (; i < w; i++) {
            uint16_t p = sp[i];
            if (p) dp[i] = p;
        }
    }
}

#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
// Sixteen pixels at a time where the processor has AVX2.
__attribute__((target("avx2"))) static void KeyedRowsAvx2(uint16_t* dp, int dpitch, const uint16_t* sp, int spitch,
                                                           int w, int h) {
    const __m256i zero = _mm256_setzero_si256();
    for (int j = 0; j < h; j++, sp += spitch, dp += dpitch) {
        int i = 0;
        for (; i + 16 <= w; i += 16) {
            __m256i s16 = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(sp + i));
            __m256i d16 = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(dp + i));
            __m256i key = _mm256_cmpeq_epi16(s16, zero);
            _mm256_storeu_si256(reinterpret_cast<__m256i*>(dp + i), _mm256_or_si256(_mm256_and_si256(key, d16), s16));
        }
        if (i + 8 <= w) {
            __m128i s8 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(sp + i));
            __m128i d8 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(dp + i));
            __m128i key = _mm_cmpeq_epi16(s8, _mm_setzero_si128());
            _mm_storeu_si128(reinterpret_cast<__m128i*>(dp + i), _mm_or_si128(_mm_and_si128(key, d8), s8));
            i += 8;
        }
        for (; i < w; i++) {
            uint16_t p = sp[i];
            if (p) dp[i] = p;
        }
    }
}
static bool gHaveAvx2 = __builtin_cpu_supports("avx2");
#endif

void Plat_SetWideCopies(bool on) {
#if defined(__x86_64__) && defined(__GNUC__)
    gHaveAvx2 = on && __builtin_cpu_supports("avx2");
#else
    (void)on;
#endif
}

static void KeyedRows(uint16_t* dp, int dpitch, const uint16_t* sp, int spitch, int w, int h) {
#if defined(__x86_64__) && defined(__GNUC__)
    if (gHaveAvx2) {
        KeyedRowsAvx2(dp, dpitch, sp, spitch, w, h);
        return;
    }
#endif
    KeyedRowsSse2(dp, dpitch, sp, spitch, w, h);
}

bool Plat_Blit(PlatSurface* dst, int x, int y, PlatSurface* src, int l, int t, int r, int b, bool keyed) {
    if (!dst || !src) return false;
    if (l < 0 || t < 0 || r > src->w || b > src->h || r < l || b < t) return false;
    // Clip against the destination.
    if (x < 0) { l -= x; x = 0; }
    if (y < 0) { t -= y; y = 0; }
    if (x + (r - l) > dst->w) r = l + (dst->w - x);
    if (y + (b - t) > dst->h) b = t + (dst->h - y);
    int w = r - l, h = b - t;
    if (w <= 0 || h <= 0 || !gDrawing) return true;
    const uint16_t* sp = src->px + (size_t)t * src->w + l;
    uint16_t* dp = dst->px + (size_t)y * dst->w + x;
    if (!keyed) {
        for (int j = 0; j < h; j++, sp += src->w, dp += dst->w) std::memcpy(dp, sp, (size_t)w * 2);
        return true;
    }
    KeyedRows(dp, dst->w, sp, src->w, w, h);
    return true;
}

void Plat_Fill(PlatSurface* dst, int l, int t, int r, int b, uint16_t pixel) {
    if (!dst || !gDrawing) return;
    if (l < 0) l = 0;
    if (t < 0) t = 0;
    if (r > dst->w) r = dst->w;
    if (b > dst->h) b = dst->h;
    if (r <= l || b <= t) return;
    for (int y = t; y < b; y++) {
        uint16_t* p = dst->px + (size_t)y * dst->w;
        if (pixel == 0) std::memset(p + l, 0, (size_t)(r - l) * 2);
        else for (int x = l; x < r; x++) p[x] = pixel;
    }
}
