// Display service on SDL2: a window with a streaming texture that shows the
// game's own 640x480 back buffer, scaled crisply to fit. Where the window
// differs between a desktop and a page, display_desktop.cpp and
// display_web.cpp decide.
#include "platform/display.h"
#include "platform/plat_internal.h"
#include "platform/text.h"
#include "platform/time.h"

#include <cstdio>
#include <cstring>
#include <string>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

static SDL_Window* gWindow;
static SDL_Renderer* gRenderer;
static SDL_Texture* gTexture;
static bool gVsync;
static bool gVsyncAllowed;  // presenting may wait for the display's refresh at all
static bool gTextureArgb;  // the texture is 32-bit XRGB or ARGB (else RGB565)
static bool gVideoUp;

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

static char gProblem[512];

const char* Plat_DisplayProblem() { return gProblem; }

bool Plat_DisplayOpen(const PlatDisplayConfig& cfg) {
    gProblem[0] = 0;
    if (cfg.headless) {
        // No window at all: the game draws into its own buffers as usual.
        SDL_setenv("SDL_VIDEODRIVER", "dummy", 1);
        gVideoUp = PlatI_InitSubsystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS);
        return gVideoUp;
    }
    if (!PlatI_PickVideoDriver(gProblem, sizeof gProblem)) return false;
    if (!PlatI_InitSubsystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS)) {
        const char* x = SDL_getenv("DISPLAY");
        std::snprintf(gProblem, sizeof gProblem, "cannot open the display%s%s (%s)", x && *x ? " " : "", x && *x ? x : "",
                      SDL_GetError());
        return false;
    }
    gVideoUp = true;
    PlatIWindowPlan plan = PlatI_PlanWindow(cfg);
    gWindow = SDL_CreateWindow("QUELLSTORM", plan.x, plan.y, plan.w, plan.h, plan.flags);
    if (!gWindow) {
        std::snprintf(gProblem, sizeof gProblem, "cannot open a window (%s)", SDL_GetError());
        return false;
    }
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "0");  // crisp, not blurred
    gVsyncAllowed = plan.vsync;
    Uint32 vsync = cfg.vsync && plan.vsync ? SDL_RENDERER_PRESENTVSYNC : 0;
    if (!SDL_GetHint(SDL_HINT_RENDER_DRIVER) && PlatI_ProcessorDrawsWindow()) {
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
    gVsync = gVsyncAllowed && (info.flags & SDL_RENDERER_PRESENTVSYNC) != 0;
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

bool Plat_IsFullscreen() { return gWindow && (SDL_GetWindowFlags(gWindow) & SDL_WINDOW_FULLSCREEN_DESKTOP); }

void Plat_SetScaling(int mode) {
    PlatI_PageScaling(mode);  // a page scales the canvas itself
    if (!gRenderer) return;
    SDL_RenderSetIntegerScale(gRenderer, mode == 0 ? SDL_TRUE : SDL_FALSE);
    if (gTexture) SDL_SetTextureScaleMode(gTexture, mode == 2 ? SDL_ScaleModeLinear : SDL_ScaleModeNearest);
}

void Plat_SetVsync(bool on) {
    if (!gVsyncAllowed || !gRenderer || SDL_RenderSetVSync(gRenderer, on ? 1 : 0) != 0) return;
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
        SDL_Surface* view = SDL_CreateRGBSurfaceWithFormatFrom(Plat_SurfacePixels(s), gNoticeW, gNoticeH, 16,
                                                               Plat_SurfacePitch(s), SDL_PIXELFORMAT_RGB565);
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
    int w = Plat_SurfaceWidth(back), h = Plat_SurfaceHeight(back);
    if (!gTextureArgb) {
        SDL_UpdateTexture(gTexture, nullptr, Plat_SurfacePixels(back), Plat_SurfacePitch(back));
    } else if (SDL_LockTexture(gTexture, nullptr, &pixels, &pitch) == 0) {
        for (int y = 0; y < h && y < 480; y++)
            Plat_RowToArgb(Plat_SurfacePixels(back) + (size_t)y * w,
                           reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(pixels) + (size_t)y * pitch), w < 640 ? w : 640);
        SDL_UnlockTexture(gTexture);
    }
    SDL_RenderClear(gRenderer);
    SDL_RenderCopy(gRenderer, gTexture, nullptr, nullptr);
    DrawNotice();
    SDL_RenderPresent(gRenderer);
    PlatI_YieldNow(true);  // a page shows the picture once it has its turn
}

bool Plat_PresentWaits() { return gRenderer && gVsync; }

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
