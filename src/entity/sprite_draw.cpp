// The common sprite-sheet draw rule.
#include "entity/entity.h"
#include "render/render.h"

// Positions far outside any screen (or not numbers at all) are not drawn,
// so the conversion to int never overflows.
static bool DrawableCoord(float v) { return v > -100000.0f && v < 100000.0f; }

void SpriteDraw(const SpriteData& s) {
    if (s.bmp < 0 || s.bmp >= 200) return;
    if (!DrawableCoord(s.x) || !DrawableCoord(s.y)) return;
    int left = s.col * s.w;
    int top = s.frame * s.h;
    DD_DrawBitmap((int)s.x, (int)s.y, Bitmap[s.bmp], left, top, left + s.w, (s.frame + 1) * s.h);
}
