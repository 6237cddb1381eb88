// What is drawn over the play field: the charge gauge and its reward, the
// bomb icons, the floating score numbers, the lives and jewel lines, the
// jewel counters, and the score line at the end of the frame.
#include "game/hud.h"
#include "game/scene.h"

#include <cinttypes>
#include <cstdio>
#include <cstring>

#include "entity/entity.h"
#include "entity/heading.h"
#include "game/frame.h"
#include "game/game.h"
#include "game/score.h"
#include "player/items.h"
#include "player/player.h"
#include "player/weapons.h"
#include "render/render.h"
#include "core/core.h"
#include "core/lang.h"

enum { ICON_W = 24, ICON_X = 12, ICON_STEP = 18 };
static const float kIconAnimEnd = 24.0f;    // the bomb icons' flash is used up
static const float kLevelUpShow = 20.0f;    // "LEVEL UP!!" time

static void RandomColour(int* r, int* g, int* b) {
    *r = my_rand(0, 255);
    *g = my_rand(0, 255);
    *b = my_rand(0, 255);
}

// The gauge, and its reward once it is full: "ＭＡＸ" is drawn first, in
// a colour of its own, then the gauge empties into a bomb or an item.
static void ChargeGaugeDraw() {
    int fill = ChargeGauge < 0 ? 0 : ChargeGauge > 100 ? 100 : ChargeGauge;
    DD_DrawBitmap(10, 30, Bitmap[150], 0, 0, fill, 20);
    DD_DrawBitmap(10, 30, Bitmap[151], 0, 0, 100, 20);
    std::snprintf(str, sizeof str, "charge %d", ChargeCount);
    DD_FontShow(str, 20, 20, 30, 255, 255, 255, false);
    int r, g, b;
    if (ChargeGauge >= 100) {
        RandomColour(&r, &g, &b);
        DD_FontShow("ＭＡＸ", 20, 20, 30, r, g, b, false);
        ChargeGaugeReward();
    }
    if (LevelUpFlag == 1) {
        LevelUpTime = kLevelUpShow;
        LevelUpFlag = 0;
    }
    if (LevelUpTime > 1.0f) {
        RandomColour(&r, &g, &b);
        DD_FontShow("ＭＡＸ", 20, 20, 30, r, g, b, false);
        if (ScreenCoordOk(P_Ship.x) && ScreenCoordOk(P_Ship.y))
            DD_FontShow("LEVEL UP!!", 20, (int)P_Ship.x, (int)(P_Ship.y - 20), r, g, b, false);
        LevelUpTime -= FrameStep;
    }
}

// One icon per bomb. After a bomb every icon shows its white-hot half,
// cut shorter from the bottom as BombIconTime grows; a second bomb in
// that time starts the barrage.
static void BombIcons() {
    for (int i = 0; i < BombStock && i < CRY_MAX; i++) {
        SpriteData& c = cry[i];
        SpriteAnimezako1(&c.anim, &c.frame, &c.frames);
        int x = ICON_X + ICON_STEP * i;
        int y = ScreenCoordOk(c.y) ? (int)c.y + 5 : 45;
        int top = c.frame * c.h;
        DD_DrawBitmap(x, y, Bitmap[66], 0, top, ICON_W, top + c.h);
        if (BombIconAnim) {
            int bottom = top + c.h - (int)BombIconTime;
            if (bottom > top) DD_DrawBitmap(x, y, Bitmap[66], ICON_W, top, 2 * ICON_W, bottom);
        }
        if (BombIconTime > kIconAnimEnd) BombIconAnim = false;
    }
    BombIconTime += FrameStep * 0.5f;
}

// Lives, the jewel value and the five jewel counters.
static void StockLines() {
    if (P_Ship.y < 390) {
        std::snprintf(str, sizeof str, "PLAYER %d", PlayerStock);
        DD_FontShow(str, 20, 0, 460, 255, 255, 255, false);
        std::snprintf(str, sizeof str, "JEWEL %d", JewelValue);
        DD_FontShow(str, 20, 0, 440, 255, 255, 155, false);
        if (GamePractice == PRACTICE_STAGE) DD_FontShow("PRACTICE", 14, 112, 465, 150, 220, 255, false);
    }
    static const struct {
        int x, r, g, b;
    } kCounters[5] = {{300, 255, 255, 0}, {350, 0, 0, 255}, {400, 0, 255, 0}, {450, 255, 0, 0}, {500, 255, 255, 255}};
    for (int k = 0; k < 5; k++) {
        std::snprintf(str, sizeof str, "× %d", JewelCount[k]);
        DD_FontShow(str, 20, kCounters[k].x, 0, kCounters[k].r, kCounters[k].g, kCounters[k].b, false);
    }
}

void HudDraw() {
    ChargeGaugeDraw();
    BombIcons();
    ShieldPass();
    JewelFontPass();
    StockLines();
}

// ---- The score line -------------------------------------------------------

void ScorePad19(const char* text, char out[20]) {
    size_t n = strnlen(text, 19);
    size_t pad = 19 - n;
    std::memset(out, '0', pad);
    std::memcpy(out + pad, text, n);
    out[19] = '\0';
}

void ScoreText(int64_t value, char out[20]) {
    std::memset(out, 0, 20);
    std::snprintf(out, 20, "%" PRId64, value);
}

// After every entity has scored: a new high score shows in this same frame.
void ScoreLine() {
    if (dat.score < 0) dat.score = 0;
    ScoreText(dat.score, dat.scoretext);
    if (dat.score > dat.hiscore) dat.hiscore = dat.score;
    ScoreText(dat.hiscore, dat.hiscoretext);
    char padded[20];
    ScorePad19(dat.hiscoretext, padded);
    std::snprintf(str, sizeof str, "HISCORE %s", padded);
    DD_FontShow(str, 10, 0, 0, 200, 200, 255, false);
    ScorePad19(dat.scoretext, padded);
    std::snprintf(str, sizeof str, "SCORE %s", padded);
    DD_FontShow(str, 20, 0, 11, 250, 250, 255, false);
}

// Shows the speed correction in red in the upper left corner.
void ShowSpeedAdjust() {
    std::snprintf(str, sizeof str, Lang_Text("補正 %f"), SpeedAdjust);
    DD_FontShow(str, 25, 0, 25, 255, 25, 25, false);
}
