// Display service: the window, the 16-bit surfaces the game draws into,
// bitmap loading and the picture on screen. Our stand-in for the old
// full-screen 640x480x16 display and its rectangle copies.
//
// Pixels are RGB565. Pixel value 0 is the colour key: keyed copies skip it.
#pragma once
#include <cstddef>
#include <cstdint>

struct PlatSurface;  // opaque: a 16-bit off-screen picture

struct PlatDisplayConfig {
    bool headless;  // no window at all (SDL's dummy video driver)
    bool window;    // a window instead of desktop-sized full screen
    int scale;      // window scale factor (window mode only)
    int scaling;    // 0 sharp (whole multiples), 1 fit (default), 2 smooth
    bool vsync;     // wait for the display's refresh (default on)
};

// Opens the window (or nothing, headless). Called once at start-up.
// False when the display cannot be had; the caller reports it. Without
// --headless only a display someone can see is taken (X11 or Wayland, or
// the driver SDL_VIDEODRIVER names). A window larger than the screen
// opens at the largest scale that fits, saying so on standard error.
bool Plat_DisplayOpen(const PlatDisplayConfig& cfg);
// Why the display could not be opened, in plain words ("" when it could).
const char* Plat_DisplayProblem();
// False for a display nobody sees (SDL's dummy or offscreen driver, as the
// tests and benchmarks use): nothing there may wait for the player.
bool Plat_DisplaySeen();
// Closes the window; safe to call twice.
void Plat_DisplayClose();
// Shows `back` (640x480) on screen, scaled to fit, keeping its aspect.
// Waits for the vertical blank where the display offers it. No-op headless.
void Plat_Present(PlatSurface* back);
// A short notice (the screenshot's file name) shown over the picture on
// screen for `ms` milliseconds of real time: drawn by Plat_Present, never
// into the game's own picture, so screenshots and replays never hold it.
void Plat_ShowNotice(const char* text, double ms);
// True when presenting waits for the display's refresh (so the frame loop
// need not sleep on its own).
bool Plat_PresentWaits();
// False where the program cannot close its own window (a browser page):
// what would close it goes back to the title instead.
bool Plat_WindowClosable();
// The display's refresh rate in Hz (60 when the display does not say).
int Plat_RefreshRate();
// Full screen at the desktop's size, or a window of 640x480 times the
// scale (as large as fits for scale 0). No-op without a window.
void Plat_SetFullscreen(bool on);
bool Plat_IsFullscreen();
// 0: the largest window at the game's aspect that fits the screen.
void Plat_SetWindowScale(int scale);
// What the window's size came to, for the settings page ("AUTO: 968x726,
// THE LARGEST THAT FITS 1366x768"); empty where the program has no window
// of its own.
const char* Plat_WindowSizeNote();
// How the picture fills the window: 0 sharp (nearest neighbour, whole
// multiples, black bars elsewhere), 1 fit (nearest neighbour, as large as
// fits, aspect kept), 2 smooth (linear filtering).
void Plat_SetScaling(int mode);
void Plat_SetVsync(bool on);
// Shows or hides the mouse cursor over the window.
void Plat_ShowCursor(bool show);
// Leaves full screen so a message box can be seen (Error's first step);
// the box takes full screen back when it is dismissed.
void Plat_LeaveFullscreen();

// A new surface of w x h pixels, cleared to 0. Null on failure.
PlatSurface* Plat_SurfaceCreate(int w, int h);
// Reads a BMP file of any common depth and converts it to RGB565.
// Null when the file is missing or cannot be decoded. Where `path` is
// missing, a PNG file named `path` + ".png" is read instead (how the browser
// build ships its pictures).
PlatSurface* Plat_SurfaceLoadBMP(const char* path);
// Why the last Plat_SurfaceLoadBMP failed, in plain words.
const char* Plat_SurfaceLoadProblem();
// The same from a file image in memory.
PlatSurface* Plat_SurfaceLoadBMPMem(const void* data, size_t size);
void Plat_SurfaceFree(PlatSurface* s);
int Plat_SurfaceWidth(const PlatSurface* s);
int Plat_SurfaceHeight(const PlatSurface* s);
// Row length in bytes.
int Plat_SurfacePitch(const PlatSurface* s);
// Direct access to the pixels (rows of Plat_SurfacePitch bytes).
uint16_t* Plat_SurfacePixels(PlatSurface* s);

// Copies [l,r) x [t,b) of `src` to `dst` at (x, y). With `keyed`, source
// pixels of value 0 are skipped. The destination is clipped to `dst`; a
// source rectangle that reaches outside `src` is refused (returns false,
// nothing drawn), as the old blitter refused it.
bool Plat_Blit(PlatSurface* dst, int x, int y, PlatSurface* src,
               int l, int t, int r, int b, bool keyed);
// Keyed copies use 16 pixels at a time where the processor can (on at
// start); off, 8 at a time. For tests of both paths.
void Plat_SetWideCopies(bool on);
// Fills [l,r) x [t,b) of `dst` (clipped) with `pixel`.
void Plat_Fill(PlatSurface* dst, int l, int t, int r, int b, uint16_t pixel);

// Pixel work on or off (on at start). While off, copies, fills, text and
// lines check their arguments and answer as usual but change no pixel: for
// frames whose picture nobody will see.
void Plat_SetDrawing(bool on);
bool Plat_Drawing();

// Widens a row of n RGB565 pixels to 32-bit ARGB (opaque), each component
// scaled to 0..255 and rounded: what the window shows.
void Plat_RowToArgb(const uint16_t* in, uint32_t* out, int n);

// Converts 8-bit components to the display's pixel value.
inline uint16_t Plat_RGB565(int r, int g, int b) {
    return (uint16_t)(((r & 0xF8) << 8) | ((g & 0xFC) << 3) | ((b & 0xF8) >> 3));
}

// Writes a surface to a PNG or BMP file (chosen by the file's extension).
bool Plat_SurfaceSave(PlatSurface* s, const char* path);
