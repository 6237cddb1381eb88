// The display, the bitmap table and the sprite, tile, digit, text and line
// drawing of the game. Everything draws into the back buffer.
#include "render/render.h"
#include "platform/files.h"
#include "platform/text.h"
#include "config/datadir.h"
#include "core/core.h"

#include <cstdio>

SurfaceData Bitmap[200];
PlatSurface* DDFront;
PlatSurface* DDBack;
bool DDObject;
float TileX, TileY, Tile2X, Tile2Y, Tile3X;

bool DD_INIT(PlatWindow*) {
    DDBack = Plat_SurfaceCreate(640, 480);
    if (!DDBack) return false;
    // The picture on screen is the back buffer itself; the frame loop's copy
    // to the front is the presentation of that buffer.
    DDFront = DDBack;
    DDObject = true;
    return true;
}

void DD_END(PlatWindow*) {
    for (SurfaceData& s : Bitmap) {
        Plat_SurfaceFree(s.surface);
        s.surface = nullptr;
    }
    Plat_SurfaceFree(DDBack);
    DDBack = DDFront = nullptr;
    DDObject = false;
}

void DD_BackInit() { Plat_Fill(DDBack, 0, 0, 640, 480, 0); }

void DD_Flip() {}

bool DD_LoadBitmap(SurfaceData& slot, const char* file) {
    char rel[512], path[1024];
    Plat_GamePath(file, rel, sizeof rel);
    std::snprintf(path, sizeof path, "%s%s", DataDir(), rel);
    PlatSurface* s = Plat_SurfaceLoadBMP(path);
    if (!s) {
        // No box for a picture, as ever; standard error says which one.
        std::fprintf(stderr, "quellstorm: picture %s: %s; it is left out\n", path, Plat_SurfaceLoadProblem());
        return false;
    }
    Plat_SurfaceFree(slot.surface);
    slot.surface = s;
    slot.file = file;
    slot.width = Plat_SurfaceWidth(s);
    slot.height = Plat_SurfaceHeight(s);
    slot.pitch = Plat_SurfacePitch(s);
    return true;
}

// Clipping in the old blitter's order; right and bottom edges exclusive.
// A source rectangle reaching outside the bitmap is refused by the copy.
DrawLogEntry DrawLog[DRAW_LOG_MAX];
int DrawLogCount;
bool DrawLogOn;

void DD_DrawBitmap(int x, int y, SurfaceData& source, int left, int top, int right, int bottom) {
    if (!source.surface || !Plat_Drawing()) return;
    if (DrawLogOn && DrawLogCount < DRAW_LOG_MAX) {
        uintptr_t at = reinterpret_cast<uintptr_t>(&source), first = reinterpret_cast<uintptr_t>(Bitmap);
        int16_t slot = at >= first && at < first + sizeof Bitmap ? (int16_t)((at - first) / sizeof(SurfaceData)) : -1;
        DrawLog[DrawLogCount++] = {slot, (int16_t)x, (int16_t)y, (int16_t)left,
                                   (int16_t)top, (int16_t)right, (int16_t)bottom};
    }
    if (x + (right - left) > 640) right = 640 - x + left;
    if (y + (bottom - top) > 480) bottom = 480 - y + top;
    if (x < 0) {
        left = left - x;
        x = 0;
    }
    if (y < 0) {
        top = top - y;
        y = 0;
    }
    if (right < left || bottom < top) return;
    Plat_Blit(DDBack, x, y, source.surface, left, top, right, bottom, true);
}

static void WrapOffset(float& off, int size) {
    if (off < -size) off += size;
    if (off > 0) off -= size;
}

// Fills the screen with copies of one rectangle, shifted by (ox, oy).
static void TileFill(float ox, float oy, SurfaceData& source, int left, int top, int right, int bottom) {
    int w = right - left, h = bottom - top;
    if (w <= 0 || h <= 0) return;
    for (int j = 0; j < 480 / h + 2; j++)
        for (int i = 0; i < 640 / w + 2; i++)
            DD_DrawBitmap(i * w + (int)ox, j * h + (int)oy, source, left, top, right, bottom);
}

void DD_DrawTile(float dx, float dy, SurfaceData& source, int left, int top, int right, int bottom, bool pinY) {
    int w = right - left, h = bottom - top;
    TileFill(TileX, TileY, source, left, top, right, bottom);
    if (pinY) TileY = 0;
    TileX = TileX + FrameStep * dx;
    TileY = TileY + FrameStep * dy;
    WrapOffset(TileX, w);
    WrapOffset(TileY, h);
}

void DD_DrawTile2(float dx, float dy, SurfaceData& source, int left, int top, int right, int bottom, bool pinY) {
    int w = right - left, h = bottom - top;
    TileFill(Tile2X, Tile2Y, source, left, top, right, bottom);
    if (pinY) Tile2Y = 0;
    Tile2X = Tile2X + FrameStep * dx;
    Tile2Y = Tile2Y + FrameStep * dy;
    WrapOffset(Tile2X, w);
    WrapOffset(Tile2Y, h);
}

void DD_DrawTile3(float dx, float y, SurfaceData& source, int left, int top, int right, int bottom) {
    int w = right - left;
    if (w <= 0) return;
    for (int i = 0; i < 640 / w + 2; i++)
        DD_DrawBitmap(i * w + (int)Tile3X, (int)y, source, left, top, right, bottom);
    Tile3X = Tile3X + FrameStep * dx;
    WrapOffset(Tile3X, w);
}

void MyFontShow(int x, int y, int digits, int value) {
    static const int kPow10[10] = {1, 10, 100, 1000, 10000, 100000, 1000000, 10000000, 100000000, 1000000000};
    for (int k = 0; k < digits; k++) {
        int place = digits - 1 - k;  // beyond 10^9 an int has only zeros
        int digit = place > 9 ? 0 : (value / kPow10[place]) % 10;
        DD_DrawBitmap(x + 16 * k, y, Bitmap[6], 16 * digit, 0, 16 * digit + 16, 32);
    }
}

void DD_FontShow(const char* text, int size, int x, int y, int r, int g, int b, bool italic) {
    if (!DDBack) return;
    Plat_DrawText(DDBack, text, size, x, y, r & 255, g & 255, b & 255, italic);
}

void DD_FontPrepare(const char* text, int size) { Plat_TextPrepare(text, size); }

// The largest text of the game besides the logo and the title letters is
// the staff roll's.
void DD_FontRelease() { Plat_TextRelease(40); }

void DD_DrawLine(int x1, int y1, int x2, int y2, int width, int r, int g, int b) {
    if (!DDBack) return;
    Plat_DrawLine(DDBack, x1, y1, x2, y2, width, r & 255, g & 255, b & 255);
}

void DD_DrawGhostBitmap(int x, int y, SurfaceData& source, int left, int top, int right, int bottom) {
    if (!source.surface || !DDBack || !Plat_Drawing()) return;
    if (x < 0) left -= x, x = 0;
    if (y < 0) top -= y, y = 0;
    if (x + (right - left) > 640) right = 640 - x + left;
    if (y + (bottom - top) > 480) bottom = 480 - y + top;
    if (left < 0 || top < 0 || right > Plat_SurfaceWidth(source.surface) || bottom > Plat_SurfaceHeight(source.surface) ||
        right <= left || bottom <= top)
        return;
    const uint16_t* src = Plat_SurfacePixels(source.surface);
    uint16_t* dst = Plat_SurfacePixels(DDBack);
    if (!src || !dst) return;
    int sp = Plat_SurfacePitch(source.surface) / 2, dp = Plat_SurfacePitch(DDBack) / 2;
    for (int row = 0; row < bottom - top; row++) {
        const uint16_t* s = src + (size_t)(top + row) * sp + left;
        uint16_t* d = dst + (size_t)(y + row) * dp + x;
        for (int i = 0; i < right - left; i++) {
            if (!s[i]) continue;  // the colour key
            // Half the picture, half what is under it, a little bluer.
            uint16_t mix = (uint16_t)(((s[i] & 0xF7DE) >> 1) + ((d[i] & 0xF7DE) >> 1));
            d[i] = (uint16_t)((mix & 0xFFE0) | (((mix & 31) + 31) >> 1));
        }
    }
}

void DD_DimRect(int left, int top, int right, int bottom) {
    if (!DDBack || !Plat_Drawing()) return;
    left = left < 0 ? 0 : left, top = top < 0 ? 0 : top;
    right = right > 640 ? 640 : right, bottom = bottom > 480 ? 480 : bottom;
    uint16_t* dst = Plat_SurfacePixels(DDBack);
    if (!dst || right <= left || bottom <= top) return;
    int dp = Plat_SurfacePitch(DDBack) / 2;
    for (int y = top; y < bottom; y++) {
        uint16_t* d = dst + (size_t)y * dp;
        for (int x = left; x < right; x++) d[x] = (uint16_t)((d[x] & 0xE79C) >> 2);
    }
}
