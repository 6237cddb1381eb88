// Display service on SDL2: a window with a streaming RGB565 texture that
// shows the game's own 640x480 back buffer, scaled crisply to fit.
#include "platform/display.h"
#include "platform/files.h"
#include "platform/msgbox.h"
#include "platform/plat_internal.h"
#include "platform/text.h"
#include "platform/time.h"

#include <SDL_syswm.h>
#ifndef __EMSCRIPTEN__
#include <X11/Xlib.h>
#endif
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#include <SDL_image.h>
#include <cstring>
#include <new>
#include <string>
#ifdef __EMSCRIPTEN__
#include <emscripten.h>
#endif

struct PlatSurface {
    int w, h;
    int pitch;  // bytes
    uint16_t* px;
};

static SDL_Window* gWindow;
static SDL_Renderer* gRenderer;
static SDL_Texture* gTexture;
static bool gVsync;
static int gScale = 2;  // the window's size in multiples of 640x480
static bool gTextureArgb;  // the texture is 32-bit XRGB or ARGB (else RGB565)
static bool gVideoUp;
static bool gDrawing = true;

void Plat_SetDrawing(bool on) { gDrawing = on; }
bool Plat_Drawing() { return gDrawing; }

SDL_Window* PlatI_Window() { return gWindow; }

bool PlatI_InitSubsystem(Uint32 flags) {
    if (SDL_WasInit(flags) == flags) return true;
    return SDL_InitSubSystem(flags) == 0;
}

// True when the renderer just made draws through OpenGL and that OpenGL is
// a software rasteriser (Mesa's llvmpipe, softpipe or swrast).
static bool SoftwareGL() {
    SDL_RendererInfo info;
    if (SDL_GetRendererInfo(gRenderer, &info) != 0 || !info.name || std::strncmp(info.name, "opengl", 6) != 0)
        return false;
    typedef const unsigned char* (*GetString)(unsigned);
    GetString getString = reinterpret_cast<GetString>(SDL_GL_GetProcAddress("glGetString"));
    const unsigned GL_RENDERER_NAME = 0x1F01;
    const char* name = getString ? reinterpret_cast<const char*>(getString(GL_RENDERER_NAME)) : nullptr;
    return name && (std::strstr(name, "llvmpipe") || std::strstr(name, "softpipe") || std::strstr(name, "swrast") ||
                    std::strstr(name, "Software Rasterizer"));
}

// True when the window is on an X server that offers no direct rendering
// (no DRI2 or DRI3: a virtual X server such as Xvfb, a remote display):
// OpenGL there can only be drawn by the processor, and merely trying it
// maps a software rasteriser of some fifty megabytes into the process.
static bool X11WithoutDirectRendering() {
#ifdef __EMSCRIPTEN__
    return false;  // a page draws through the browser's WebGL
#else
    SDL_SysWMinfo wm;
    SDL_VERSION(&wm.version);
    if (!SDL_GetWindowWMInfo(gWindow, &wm) || wm.subsystem != SDL_SYSWM_X11 || !wm.info.x11.display) return false;
    int op, ev, err;
    Display* d = wm.info.x11.display;
    return !XQueryExtension(d, "DRI3", &op, &ev, &err) && !XQueryExtension(d, "DRI2", &op, &ev, &err);
#endif
}

static char gProblem[512];

const char* Plat_DisplayProblem() { return gProblem; }

// The display to open. A driver named in SDL_VIDEODRIVER is the user's
// choice; otherwise only a display that someone can see will do: X11 or
// Wayland, as the session's variables say. SDL on its own would fall back
// to a display that draws into memory, and the game would run unseen.
static bool PickVideoDriver() {
#ifdef __EMSCRIPTEN__
    return true;  // a page's only display is its canvas
#endif
    const char* chosen = SDL_getenv("SDL_VIDEODRIVER");
    if (chosen && *chosen) return true;
    const char* x = SDL_getenv("DISPLAY");
    const char* wl = SDL_getenv("WAYLAND_DISPLAY");
    bool hasX = x && *x, hasWl = wl && *wl;
    if (!hasX && !hasWl) {
        std::snprintf(gProblem, sizeof gProblem, "no display found (neither DISPLAY nor WAYLAND_DISPLAY is set)");
        return false;
    }
    SDL_SetHint(SDL_HINT_VIDEODRIVER, hasX && hasWl ? "x11,wayland" : hasX ? "x11" : "wayland");
    return true;
}

// The largest window scale, at most `scale`, whose window fits the usable
// part of the desktop; 1 at least.
static int FittingScale(int scale) {
    SDL_Rect usable;
    if (SDL_GetDisplayUsableBounds(0, &usable) != 0 || usable.w <= 0 || usable.h <= 0) return scale;
    int fit = scale;
    while (fit > 1 && (640 * fit > usable.w || 480 * fit > usable.h)) fit--;
    if (fit != scale)
        std::fprintf(stderr, "quellstorm: a %dx%d window (scale %d) does not fit the %dx%d screen; opening it at scale %d (%dx%d)\n",
                     640 * scale, 480 * scale, scale, usable.w, usable.h, fit, 640 * fit, 480 * fit);
    return fit;
}

bool Plat_DisplayOpen(const PlatDisplayConfig& cfg) {
    gProblem[0] = 0;
    if (cfg.headless) {
        // No window at all: the game draws into its own buffers as usual.
        SDL_setenv("SDL_VIDEODRIVER", "dummy", 1);
        gVideoUp = PlatI_InitSubsystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS);
        return gVideoUp;
    }
    if (!PickVideoDriver()) return false;
    if (!PlatI_InitSubsystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS)) {
        const char* x = SDL_getenv("DISPLAY");
        std::snprintf(gProblem, sizeof gProblem, "cannot open the display%s%s (%s)", x && *x ? " " : "", x && *x ? x : "",
                      SDL_GetError());
        return false;
    }
    gVideoUp = true;
    int scale = cfg.scale > 0 ? cfg.scale : 2;
    if (cfg.window) scale = FittingScale(scale);
    Uint32 wflags = cfg.window ? SDL_WINDOW_RESIZABLE : SDL_WINDOW_FULLSCREEN_DESKTOP;
    int ww = 640 * scale, wh = 480 * scale, wx = SDL_WINDOWPOS_CENTERED, wy = SDL_WINDOWPOS_CENTERED;
#ifdef __EMSCRIPTEN__
    // In a page the canvas holds the picture at its own size; the page
    // scales it (a page may not take the screen without the player asking).
    wflags = 0;
    ww = 640;
    wh = 480;
#endif
    SDL_DisplayMode desktop;
    if ((wflags & SDL_WINDOW_FULLSCREEN_DESKTOP) && SDL_GetDesktopDisplayMode(0, &desktop) == 0 && desktop.w > 0 && desktop.h > 0) {
        // Full screen from the start at the desktop's size, so the picture
        // fills it even where no window manager resizes the window.
        ww = desktop.w;
        wh = desktop.h;
        wx = wy = 0;
    }
    gWindow = SDL_CreateWindow("QUELLSTORM", wx, wy, ww, wh, wflags);
    if (!gWindow) {
        std::snprintf(gProblem, sizeof gProblem, "cannot open a window (%s)", SDL_GetError());
        return false;
    }
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "0");  // crisp, not blurred
    gScale = scale;
    Uint32 vsync = cfg.vsync ? SDL_RENDERER_PRESENTVSYNC : 0;
#ifdef __EMSCRIPTEN__
    vsync = 0;  // a page's loop is paced by its own waits
#endif
    if (!SDL_GetHint(SDL_HINT_RENDER_DRIVER) && X11WithoutDirectRendering()) {
        SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
        gRenderer = SDL_CreateRenderer(gWindow, -1, SDL_RENDERER_SOFTWARE | vsync);
    }
    if (!gRenderer) gRenderer = SDL_CreateRenderer(gWindow, -1, SDL_RENDERER_ACCELERATED | vsync);
    if (gRenderer && !SDL_GetHint(SDL_HINT_RENDER_DRIVER) && SoftwareGL()) {
        // GL drawn by the processor (a machine or virtual display without a
        // graphics card) costs a third of a core for our one picture; SDL's
        // own software path straight to the window costs a small share.
        SDL_DestroyRenderer(gRenderer);
        SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
        gRenderer = SDL_CreateRenderer(gWindow, -1, SDL_RENDERER_SOFTWARE | vsync);
    }
    if (!gRenderer) gRenderer = SDL_CreateRenderer(gWindow, -1, 0);
    if (!gRenderer) {
        std::snprintf(gProblem, sizeof gProblem, "cannot draw into the window (%s)", SDL_GetError());
        return false;
    }
    SDL_RendererInfo info = {};
    if (SDL_GetRendererInfo(gRenderer, &info) != 0) info = SDL_RendererInfo();
    gVsync = (info.flags & SDL_RENDERER_PRESENTVSYNC) != 0;
    SDL_RenderSetLogicalSize(gRenderer, 640, 480);
    // The renderers take 32-bit pixels without converting them themselves
    // (the GL renderer has no 16-bit textures at all and would convert
    // every picture through a slow general path): we widen our pixels while
    // copying them out, to the window's own layout (XRGB) where the
    // renderer takes it, else ARGB. A renderer with neither gets 16 bits.
    Uint32 format = SDL_PIXELFORMAT_RGB565;
    for (Uint32 k = 0; k < info.num_texture_formats; k++) {
        Uint32 f = info.texture_formats[k];
        if (f == SDL_PIXELFORMAT_RGB888 || (f == SDL_PIXELFORMAT_ARGB8888 && format == SDL_PIXELFORMAT_RGB565))
            format = f;
    }
    gTextureArgb = format != SDL_PIXELFORMAT_RGB565;
    gTexture = SDL_CreateTexture(gRenderer, format, SDL_TEXTUREACCESS_STREAMING, 640, 480);
    if (!gTexture) {
        std::snprintf(gProblem, sizeof gProblem, "cannot draw into the window (%s)", SDL_GetError());
        return false;
    }
    SDL_SetTextureBlendMode(gTexture, SDL_BLENDMODE_NONE);  // a copy, not a blend, whatever its alpha
    Plat_SetScaling(cfg.scaling);
    SDL_SetRenderDrawColor(gRenderer, 0, 0, 0, 255);
    SDL_RenderClear(gRenderer);
    SDL_RenderPresent(gRenderer);
    return true;
}

void Plat_SetFullscreen(bool on) {
#ifdef __EMSCRIPTEN__
    // In a page full screen is the browser's, asked for by the page itself
    // on F11 or Alt+Enter (a browser grants it only during a key or click).
    (void)on;
    return;
#endif
    if (!gWindow || on == Plat_IsFullscreen()) return;
    if (on) {
        SDL_SetWindowFullscreen(gWindow, SDL_WINDOW_FULLSCREEN_DESKTOP);
    } else {
        SDL_SetWindowFullscreen(gWindow, 0);
        SDL_SetWindowResizable(gWindow, SDL_TRUE);
        int fit = FittingScale(gScale);
        SDL_SetWindowSize(gWindow, 640 * fit, 480 * fit);
        SDL_SetWindowPosition(gWindow, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED);
    }
}

bool Plat_IsFullscreen() { return gWindow && (SDL_GetWindowFlags(gWindow) & SDL_WINDOW_FULLSCREEN_DESKTOP); }

void Plat_SetWindowScale(int scale) {
    gScale = scale < 1 ? 1 : scale;
#ifdef __EMSCRIPTEN__
    return;  // the page sizes the canvas to fit
#endif
    if (!gWindow || Plat_IsFullscreen()) return;
    int fit = FittingScale(gScale);  // says once when the scale does not fit
    SDL_SetWindowSize(gWindow, 640 * fit, 480 * fit);
}

void Plat_SetScaling(int mode) {
#ifdef __EMSCRIPTEN__
    PlatI_PageScaling(mode);  // the page scales the canvas itself
#endif
    if (!gRenderer) return;
    SDL_RenderSetIntegerScale(gRenderer, mode == 0 ? SDL_TRUE : SDL_FALSE);
    if (gTexture) SDL_SetTextureScaleMode(gTexture, mode == 2 ? SDL_ScaleModeLinear : SDL_ScaleModeNearest);
}

void Plat_SetVsync(bool on) {
#ifdef __EMSCRIPTEN__
    (void)on;
    return;  // a page's loop is paced by its own waits
#endif
    if (!gRenderer || SDL_RenderSetVSync(gRenderer, on ? 1 : 0) != 0) return;
    gVsync = on;
}

bool Plat_DisplaySeen() {
    const char* driver = gWindow ? SDL_GetCurrentVideoDriver() : nullptr;
    return driver && std::strcmp(driver, "dummy") && std::strcmp(driver, "offscreen");
}

void Plat_DisplayClose() {
    Plat_ShowNotice(nullptr, 0);  // its picture goes with the renderer
    if (gTexture) SDL_DestroyTexture(gTexture);
    if (gRenderer) SDL_DestroyRenderer(gRenderer);
    if (gWindow) SDL_DestroyWindow(gWindow);
    gTexture = nullptr;
    gRenderer = nullptr;
    gWindow = nullptr;
}

void Plat_RowToArgb(const uint16_t* in, uint32_t* out, int n) {
    int i = 0;
#if defined(__SSE2__)
    // Eight pixels at a time in 16-bit lanes: each component scaled to 0..255
    // and rounded, so that full intensity is 255: v * 255 / 31 rounded is
    // (v * 527 + 23) >> 6 and v * 255 / 63 rounded is (v * 259 + 33) >> 6,
    // for every v of their ranges.
    const __m128i m5 = _mm_set1_epi16(31), m6 = _mm_set1_epi16(63), alpha = _mm_set1_epi16((short)0xFF00);
    const __m128i k527 = _mm_set1_epi16(527), k23 = _mm_set1_epi16(23);
    const __m128i k259 = _mm_set1_epi16(259), k33 = _mm_set1_epi16(33);
    for (; i + 8 <= n; i += 8) {
        __m128i p = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + i));
        __m128i r = _mm_and_si128(_mm_srli_epi16(p, 11), m5);
        __m128i g = _mm_and_si128(_mm_srli_epi16(p, 5), m6);
        __m128i b = _mm_and_si128(p, m5);
        r = _mm_srli_epi16(_mm_add_epi16(_mm_mullo_epi16(r, k527), k23), 6);
        g = _mm_srli_epi16(_mm_add_epi16(_mm_mullo_epi16(g, k259), k33), 6);
        b = _mm_srli_epi16(_mm_add_epi16(_mm_mullo_epi16(b, k527), k23), 6);
        __m128i lo = _mm_or_si128(b, _mm_slli_epi16(g, 8));  // bytes B, G
        __m128i hi = _mm_or_si128(r, alpha);                  // bytes R, A
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), _mm_unpacklo_epi16(lo, hi));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i + 4), _mm_unpackhi_epi16(lo, hi));
    }
#endif
    for (; i < n; i++) {
        uint32_t p = in[i], r = (p >> 11) & 31, g = (p >> 5) & 63, b = p & 31;
        r = (r * 527 + 23) >> 6;
        g = (g * 259 + 33) >> 6;
        b = (b * 527 + 23) >> 6;
        out[i] = 0xFF000000u | r << 16 | g << 8 | b;
    }
}

static std::string gNotice;
static double gNoticeUntil;
static SDL_Texture* gNoticeTexture;  // gNotice drawn, made on its first showing
static int gNoticeW, gNoticeH;

void Plat_ShowNotice(const char* text, double ms) {
    gNotice = text ? text : "";
    gNoticeUntil = Plat_RealMs() + ms;
    if (gNoticeTexture) SDL_DestroyTexture(gNoticeTexture);
    gNoticeTexture = nullptr;
}

// The notice in the lower left corner of the picture, on a dark band.
static void DrawNotice() {
    if (gNotice.empty()) return;
    if (Plat_RealMs() >= gNoticeUntil) {
        gNotice.clear();
        if (gNoticeTexture) SDL_DestroyTexture(gNoticeTexture);
        gNoticeTexture = nullptr;
        return;
    }
    const int size = 14, pad = 4;
    if (!gNoticeTexture) {
        int tw = Plat_TextWidth(gNotice.c_str(), size);
        if (tw <= 0) return;
        gNoticeW = tw + 2 * pad > 632 ? 632 : tw + 2 * pad;
        gNoticeH = size + 2 * pad;
        PlatSurface* s = Plat_SurfaceCreate(gNoticeW, gNoticeH);
        if (!s) return;
        bool drawing = Plat_Drawing();
        Plat_SetDrawing(true);
        Plat_Fill(s, 0, 0, gNoticeW, gNoticeH, Plat_RGB565(16, 16, 16));
        Plat_DrawText(s, gNotice.c_str(), size, pad, pad, 255, 255, 255, false);
        Plat_SetDrawing(drawing);
        SDL_Surface* view = SDL_CreateRGBSurfaceWithFormatFrom(s->px, s->w, s->h, 16, s->pitch, SDL_PIXELFORMAT_RGB565);
        if (view) {
            gNoticeTexture = SDL_CreateTextureFromSurface(gRenderer, view);
            SDL_FreeSurface(view);
        }
        Plat_SurfaceFree(s);
        if (!gNoticeTexture) return;
    }
    SDL_Rect at = {4, 480 - gNoticeH - 4, gNoticeW, gNoticeH};
    SDL_RenderCopy(gRenderer, gNoticeTexture, nullptr, &at);
}

void Plat_Present(PlatSurface* back) {
    if (!gRenderer || !back) return;
    void* pixels;
    int pitch;
    if (!gTextureArgb) {
        SDL_UpdateTexture(gTexture, nullptr, back->px, back->pitch);
    } else if (SDL_LockTexture(gTexture, nullptr, &pixels, &pitch) == 0) {
        for (int y = 0; y < back->h && y < 480; y++)
            Plat_RowToArgb(back->px + (size_t)y * back->w,
                           reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(pixels) + (size_t)y * pitch),
                           back->w < 640 ? back->w : 640);
        SDL_UnlockTexture(gTexture);
    }
    SDL_RenderClear(gRenderer);
    SDL_RenderCopy(gRenderer, gTexture, nullptr, nullptr);
    DrawNotice();
    SDL_RenderPresent(gRenderer);
#ifdef __EMSCRIPTEN__
    PlatI_YieldNow(true);  // the page shows the picture once it has its turn
#endif
}

#ifdef __EMSCRIPTEN__
bool Plat_PresentWaits() { return false; }
bool Plat_WindowClosable() { return false; }
#else
bool Plat_PresentWaits() { return gRenderer && gVsync; }
bool Plat_WindowClosable() { return true; }
#endif

int Plat_RefreshRate() {
    SDL_DisplayMode mode;
    int index = gWindow ? SDL_GetWindowDisplayIndex(gWindow) : 0;
    if (SDL_GetCurrentDisplayMode(index < 0 ? 0 : index, &mode) == 0 && mode.refresh_rate >= 24 && mode.refresh_rate <= 500)
        return mode.refresh_rate;
    return 60;
}

void Plat_ShowCursor(bool show) {
    if (gVideoUp) SDL_ShowCursor(show ? SDL_ENABLE : SDL_DISABLE);
}

static bool gLeftFullscreen;  // for a message box, to be taken back after it

void Plat_LeaveFullscreen() {
    if (gWindow && (SDL_GetWindowFlags(gWindow) & SDL_WINDOW_FULLSCREEN_DESKTOP)) {
        SDL_SetWindowFullscreen(gWindow, 0);
        gLeftFullscreen = true;
    }
}

void PlatI_ReturnFullscreen() {
    if (!gWindow) return;
    if (gLeftFullscreen) SDL_SetWindowFullscreen(gWindow, SDL_WINDOW_FULLSCREEN_DESKTOP);
    gLeftFullscreen = false;
    SDL_RaiseWindow(gWindow);
}

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
            uint16_t* dst = s->px + (size_t)y * s->w;
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
