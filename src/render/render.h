// Rendering: the display, the loaded bitmaps and every drawing operation
// of the game. All drawing goes to the back buffer DDBack.
#pragma once
#include <cstdint>
#include "platform/display.h"

struct PlatWindow;

// One loaded bitmap.
struct SurfaceData {
    PlatSurface* surface;  // null = empty slot
    const char* file;      // the path it was loaded from (caller's constant)
    int32_t width;
    int32_t height;
    int32_t pitch;         // bytes per row
};

extern SurfaceData Bitmap[200];

// Benchmarks: while DrawLogOn is set, every sprite copy is listed here
// (slot, position, source rectangle) up to the array's size.
struct DrawLogEntry {
    int16_t slot;
    int16_t x, y;
    int16_t left, top, right, bottom;
};
enum { DRAW_LOG_MAX = 65536 };
extern DrawLogEntry DrawLog[DRAW_LOG_MAX];
extern int DrawLogCount;
extern bool DrawLogOn;
extern PlatSurface* DDFront;  // what was last copied for display
extern PlatSurface* DDBack;   // the back buffer every frame draws into
extern bool DDObject;         // true while the display is up

// Tile scroll offsets; changed only by their tile fillers, never reset.
extern float TileX, TileY, Tile2X, Tile2Y, Tile3X;

// Start-up (shell): opens the display and creates the two 640x480 buffers.
bool DD_INIT(PlatWindow* window);
// Shutdown (shell): releases every bitmap and the buffers.
void DD_END(PlatWindow* window);
// Frame loop, before each frame: clears the back buffer to 0.
void DD_BackInit();
// Frame loop, after each frame: copies the back buffer to the front.
void DD_Flip();
// Loads a BMP (game path, '\' separators, relative to the program's
// directory) into `slot`. False, slot untouched, when it cannot be loaded.
bool DD_LoadBitmap(SurfaceData& slot, const char* file);
// Copies [left,right) x [top,bottom) of `source` to (x, y), colour-keyed,
// clipped to the screen in the old blitter's order.
void DD_DrawBitmap(int x, int y, SurfaceData& source, int left, int top, int right, int bottom);
// The same rectangle drawn see-through (half over what is under it),
// as a ghost is: only the picture changes.
void DD_DrawGhostBitmap(int x, int y, SurfaceData& source, int left, int top, int right, int bottom);
// Darkens a rectangle of the back buffer to a quarter of its brightness
// (text over play stays readable); clipped to the screen.
void DD_DimRect(int left, int top, int right, int bottom);
// Scrolling background fillers. `pinY`: the vertical offset is held at 0
// after the fill, so a strip scrolls sideways only (the stage decides).
void DD_DrawTile(float dx, float dy, SurfaceData& source, int left, int top, int right, int bottom, bool pinY);
void DD_DrawTile2(float dx, float dy, SurfaceData& source, int left, int top, int right, int bottom, bool pinY);
void DD_DrawTile3(float dx, float y, SurfaceData& source, int left, int top, int right, int bottom);
// `value` as exactly `digits` digits from the digit strip of slot 6.
void MyFontShow(int x, int y, int digits, int value);
// Text with a cell `size` pixels high; colour components taken mod 256.
void DD_FontShow(const char* text, int size, int x, int y, int r, int g, int b, bool italic);
// Readies the glyphs of `text` at `size`, so that showing them during play
// costs no rendering and no allocation.
void DD_FontPrepare(const char* text, int size);
// Forgets the glyphs of text larger than the game's usual texts (the
// intro's growing logo); cheap when there are none.
void DD_FontRelease();
// A solid line; the end point is not drawn.
void DD_DrawLine(int x1, int y1, int x2, int y2, int width, int r, int g, int b);

// The blended title picture (software pixel effects).
bool InitDIB(PlatWindow* window, int width, int height);
void DrawAlpha(int x, int y, SurfaceData& source, int left, int top, int right, int bottom,
               int factor, int mode);

// The blend's captures and work image (32-bit: blue, green, red, spare).
extern uint32_t FrontBuf[];
extern uint32_t BackBuf[];
extern uint32_t* DIBBuf;
extern bool BlendFlg;
