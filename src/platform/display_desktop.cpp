// The window on a desktop: which display to take, the window's size and
// place, full screen and the window scale, and whether its X server can
// draw for us at all.
#include "platform/display.h"
#include "platform/plat_internal.h"

#include <SDL_syswm.h>
#include <X11/Xlib.h>
#include <cstdio>

static int gScale = 0;  // the window's size in multiples of 640x480; 0: as large as fits
static char gSizeNote[160];  // what the window's size came to, in words

// The display to open. A driver named in SDL_VIDEODRIVER is the user's
// choice; otherwise only a display that someone can see will do: X11 or
// Wayland, as the session's variables say. SDL on its own would fall back
// to a display that draws into memory, and the game would run unseen.
bool PlatI_PickVideoDriver(char* problem, size_t size) {
    const char* chosen = SDL_getenv("SDL_VIDEODRIVER");
    if (chosen && *chosen) return true;
    const char* x = SDL_getenv("DISPLAY");
    const char* wl = SDL_getenv("WAYLAND_DISPLAY");
    bool hasX = x && *x, hasWl = wl && *wl;
    if (!hasX && !hasWl) {
        std::snprintf(problem, size, "no display found (neither DISPLAY nor WAYLAND_DISPLAY is set)");
        return false;
    }
    SDL_SetHint(SDL_HINT_VIDEODRIVER, hasX && hasWl ? "x11,wayland" : hasX ? "x11" : "wayland");
    return true;
}

// The window's size for the scale: 640x480 times the largest whole scale,
// at most `scale`, whose window fits the usable part of the desktop; for
// scale 0, the largest size at the game's aspect that fits it, its frame
// allowed for (the picture scales by a fraction then, as the fit filter
// does). Never below 640x480. Says what it chose in gSizeNote, and on
// standard error when a scale asked for does not fit.
static void WindowSize(int scale, int* w, int* h) {
    SDL_Rect usable;
    bool known = SDL_GetDisplayUsableBounds(0, &usable) == 0 && usable.w > 0 && usable.h > 0;
    if (scale <= 0) {
        // The window manager's frame: a title bar and thin borders.
        int fh = known ? usable.h - 40 : 480, fw = known ? usable.w - 16 : 640;
        int third = (fh < fw * 3 / 4 ? fh : fw * 3 / 4) / 3;
        if (third < 160) third = 160;
        *w = 4 * third;
        *h = 3 * third;
        if (known)
            std::snprintf(gSizeNote, sizeof gSizeNote, "AUTO: %dx%d, THE LARGEST THAT FITS %dx%d", *w, *h, usable.w,
                          usable.h);
        else
            std::snprintf(gSizeNote, sizeof gSizeNote, "AUTO: %dx%d", *w, *h);
        return;
    }
    int fit = scale;
    while (known && fit > 1 && (640 * fit > usable.w || 480 * fit > usable.h)) fit--;
    *w = 640 * fit;
    *h = 480 * fit;
    if (fit != scale) {
        std::fprintf(stderr, "quellstorm: a %dx%d window (scale %d) does not fit the %dx%d screen; opening it at scale %d (%dx%d)\n",
                     640 * scale, 480 * scale, scale, usable.w, usable.h, fit, 640 * fit, 480 * fit);
        std::snprintf(gSizeNote, sizeof gSizeNote, "%d: TOO LARGE FOR %dx%d, SO %dx%d", scale, usable.w, usable.h, *w,
                      *h);
    } else {
        std::snprintf(gSizeNote, sizeof gSizeNote, "%d: %dx%d", scale, *w, *h);
    }
}

const char* Plat_WindowSizeNote() { return gSizeNote; }

PlatIWindowPlan PlatI_PlanWindow(const PlatDisplayConfig& cfg) {
    gScale = cfg.scale > 0 ? cfg.scale : 0;
    PlatIWindowPlan plan;
    plan.flags = cfg.window ? SDL_WINDOW_RESIZABLE : SDL_WINDOW_FULLSCREEN_DESKTOP;
    // (Full screen too: the window it leaves full screen for.)
    WindowSize(gScale, &plan.w, &plan.h);
    plan.x = plan.y = SDL_WINDOWPOS_CENTERED;
    plan.vsync = true;
    SDL_DisplayMode desktop;
    if (!cfg.window && SDL_GetDesktopDisplayMode(0, &desktop) == 0 && desktop.w > 0 && desktop.h > 0) {
        // Full screen from the start at the desktop's size, so the picture
        // fills it even where no window manager resizes the window.
        plan.w = desktop.w;
        plan.h = desktop.h;
        plan.x = plan.y = 0;
    }
    return plan;
}

// True when the window is on an X server that offers no direct rendering
// (no DRI2 or DRI3: a virtual X server such as Xvfb, a remote display):
// OpenGL there can only be drawn by the processor, and merely trying it
// maps a software rasteriser of some fifty megabytes into the process.
bool PlatI_ProcessorDrawsWindow() {
    SDL_SysWMinfo wm;
    SDL_VERSION(&wm.version);
    if (!SDL_GetWindowWMInfo(PlatI_Window(), &wm) || wm.subsystem != SDL_SYSWM_X11 || !wm.info.x11.display)
        return false;
    int op, ev, err;
    Display* d = wm.info.x11.display;
    return !XQueryExtension(d, "DRI3", &op, &ev, &err) && !XQueryExtension(d, "DRI2", &op, &ev, &err);
}

void Plat_SetFullscreen(bool on) {
    SDL_Window* window = PlatI_Window();
    if (!window || on == Plat_IsFullscreen()) return;
    if (on) {
        SDL_SetWindowFullscreen(window, SDL_WINDOW_FULLSCREEN_DESKTOP);
    } else {
        SDL_SetWindowFullscreen(window, 0);
        SDL_SetWindowResizable(window, SDL_TRUE);
        int w, h;
        WindowSize(gScale, &w, &h);
        SDL_SetWindowSize(window, w, h);
        SDL_SetWindowPosition(window, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED);
    }
}

void Plat_SetWindowScale(int scale) {
    gScale = scale < 0 ? 0 : scale;
    if (!PlatI_Window() || Plat_IsFullscreen()) return;
    int w, h;
    WindowSize(gScale, &w, &h);  // says when the scale does not fit
    SDL_SetWindowSize(PlatI_Window(), w, h);
}

bool Plat_WindowClosable() { return true; }
