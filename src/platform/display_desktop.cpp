// The window on a desktop: which display to take, the window's size and
// place, full screen and the window scale, and whether its X server can
// draw for us at all.
#include "platform/display.h"
#include "platform/plat_internal.h"

#include <SDL_syswm.h>
#include <X11/Xlib.h>
#include <cstdio>

static int gScale = 2;  // the window's size in multiples of 640x480

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

PlatIWindowPlan PlatI_PlanWindow(const PlatDisplayConfig& cfg) {
    int scale = cfg.scale > 0 ? cfg.scale : 2;
    if (cfg.window) scale = FittingScale(scale);
    gScale = scale;
    PlatIWindowPlan plan;
    plan.flags = cfg.window ? SDL_WINDOW_RESIZABLE : SDL_WINDOW_FULLSCREEN_DESKTOP;
    plan.w = 640 * scale;
    plan.h = 480 * scale;
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
        int fit = FittingScale(gScale);
        SDL_SetWindowSize(window, 640 * fit, 480 * fit);
        SDL_SetWindowPosition(window, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED);
    }
}

void Plat_SetWindowScale(int scale) {
    gScale = scale < 1 ? 1 : scale;
    if (!PlatI_Window() || Plat_IsFullscreen()) return;
    int fit = FittingScale(gScale);  // says once when the scale does not fit
    SDL_SetWindowSize(PlatI_Window(), 640 * fit, 480 * fit);
}

bool Plat_WindowClosable() { return true; }
