// Pictures: BMP files (and the PNG files the browser build ships in their
// place) read into the game's 16-bit surfaces.
#include "platform/display.h"
#include "platform/files.h"

#include <SDL.h>
#include <SDL_image.h>
#include <cerrno>
#include <cstring>
#include <string>

// Decodes to 8 bits a channel first, then truncates to 5-6-5 ourselves, so
// which colours turn into the colour key is exactly the top-bits rule.
static PlatSurface* FromSDL(SDL_Surface* raw) {
    if (!raw) return nullptr;
    SDL_Surface* rgb = SDL_ConvertSurfaceFormat(raw, SDL_PIXELFORMAT_ARGB8888, 0);
    SDL_FreeSurface(raw);
    if (!rgb) return nullptr;
    PlatSurface* s = Plat_SurfaceCreate(rgb->w, rgb->h);
    if (s) {
        SDL_LockSurface(rgb);
        for (int y = 0; y < rgb->h; y++) {
            const Uint32* src = reinterpret_cast<const Uint32*>(static_cast<const Uint8*>(rgb->pixels) + (size_t)y * rgb->pitch);
            uint16_t* dst = Plat_SurfacePixels(s) + (size_t)y * rgb->w;
            for (int x = 0; x < rgb->w; x++) {
                Uint32 p = src[x];
                dst[x] = Plat_RGB565((p >> 16) & 255, (p >> 8) & 255, p & 255);
            }
        }
        SDL_UnlockSurface(rgb);
    }
    SDL_FreeSurface(rgb);
    return s;
}

// A header that promises more than any picture of ours, or more than the
// file can hold, is refused before the decoder allocates for it.
static bool BmpHeaderSane(const unsigned char* d, size_t n) {
    if (n < 26 || d[0] != 'B' || d[1] != 'M') return false;
    auto le32 = [&](size_t o) { return (int64_t)(int32_t)(d[o] | d[o + 1] << 8 | d[o + 2] << 16 | (uint32_t)d[o + 3] << 24); };
    auto le16 = [&](size_t o) { return (int64_t)(d[o] | d[o + 1] << 8); };
    int64_t headerSize = le32(14), w, h, bits, compression = 0;
    if (headerSize == 12) {  // the old core header
        w = le16(18);
        h = le16(20);
        bits = n >= 26 ? le16(24) : 0;
    } else {
        if (n < 34) return false;
        w = le32(18);
        h = le32(22);
        bits = le16(28);
        compression = le32(30);
    }
    if (h < 0) h = -h;
    if (w <= 0 || h <= 0 || w > 16384 || h > 16384 || w * h > 32 * 1024 * 1024) return false;
    if (compression == 0 || compression == 3) {  // uncompressed rows must all be in the file
        int64_t rowBytes = ((w * bits + 31) / 32) * 4;
        int64_t offset = le32(10);
        if (offset < 0 || bits <= 0 || offset + rowBytes * h > (int64_t)n) return false;
    }
    return true;
}

// A picture shipped compressed: "<name>.png" beside where "<name>" would
// be (the browser build's data), decoded to the same 5-6-5 pixels.
static PlatSurface* LoadPngBeside(const char* path) {
    std::string png = std::string(path) + ".png";
    long size;
    unsigned char* data = Plat_ReadWholeFile(png.c_str(), &size, 64L * 1024 * 1024);
    if (!data) return nullptr;
    PlatSurface* s = nullptr;
    SDL_RWops* rw = size >= 24 && std::memcmp(data, "\x89PNG", 4) == 0 ? SDL_RWFromConstMem(data, (int)size) : nullptr;
    if (rw) {
        // The header's size is checked before anything is decoded.
        uint32_t w = (uint32_t)data[16] << 24 | data[17] << 16 | data[18] << 8 | data[19];
        uint32_t h = (uint32_t)data[20] << 24 | data[21] << 16 | data[22] << 8 | data[23];
        if (w > 0 && h > 0 && w <= 16384 && h <= 16384 && (uint64_t)w * h <= 32u * 1024 * 1024)
            s = FromSDL(IMG_LoadTyped_RW(rw, 0, "PNG"));
        SDL_RWclose(rw);
    }
    Plat_FreeFile(data);
    return s;
}

static const char* gLoadProblem = "";

const char* Plat_SurfaceLoadProblem() { return gLoadProblem; }

PlatSurface* Plat_SurfaceLoadBMP(const char* path) {
    long size;
    // Our largest picture is a few megabytes.
    unsigned char* data = Plat_ReadWholeFile(path, &size, 256L * 1024 * 1024);
    if (!data) {
        int err = errno;
        if (size == -1) {
            if (PlatSurface* png = LoadPngBeside(path)) {
                gLoadProblem = "";
                return png;
            }
        }
        gLoadProblem = size == -2 ? "the file is too large to be one of the game's pictures" : std::strerror(err);
        return nullptr;
    }
    PlatSurface* s = Plat_SurfaceLoadBMPMem(data, (size_t)size);
    Plat_FreeFile(data);
    gLoadProblem = s ? "" : "it is damaged or not a BMP picture the game can read";
    return s;
}

PlatSurface* Plat_SurfaceLoadBMPMem(const void* data, size_t size) {
    if (!data || size > (size_t)INT32_MAX) return nullptr;
    if (!BmpHeaderSane(static_cast<const unsigned char*>(data), size)) return nullptr;
    SDL_RWops* rw = SDL_RWFromConstMem(data, (int)size);
    if (!rw) return nullptr;
    return FromSDL(SDL_LoadBMP_RW(rw, 1));
}

