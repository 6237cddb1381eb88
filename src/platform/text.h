// Text and line service: what the old windowing system drew onto the back
// buffer through its device context.
#pragma once
#include "platform/display.h"

// Draws UTF-8 `text` with its character cell `size` pixels high, top-left
// at (x, y), colour (r, g, b) (each 0..255), transparent background, in the
// game's proportional Mincho face; optionally italic. One face per style
// serves every size; the glyphs of sizes up to 128 are cached. Returns
// false when no font can be had (nothing drawn).
bool Plat_DrawText(PlatSurface* dst, const char* text, int size, int x, int y,
                   int r, int g, int b, bool italic);
// Makes ready every glyph of `text` at `size` (non-italic), so that
// drawing them later neither renders nor allocates. False when no font
// can be had.
bool Plat_TextPrepare(const char* text, int size);
// The width in pixels of `text` at `size` (non-italic); -1 without a font.
int Plat_TextWidth(const char* text, int size);
// Forgets the cached glyphs of sizes above `keepUpTo` and gives their
// memory back (the intro's growing logo leaves hundreds behind).
void Plat_TextRelease(int keepUpTo);
// Faces open (one per style used so far): for tests of the bound.
int Plat_TextFaceCount();
// Releases the cached fonts. Called at shutdown.
void Plat_TextShutdown();

// Draws a solid line from (x1, y1) towards (x2, y2), `width` pixels wide
// (0 and 1 both give a one-pixel line); the end point itself is not drawn.
void Plat_DrawLine(PlatSurface* dst, int x1, int y1, int x2, int y2, int width,
                   int r, int g, int b);
