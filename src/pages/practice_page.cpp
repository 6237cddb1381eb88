#include "pages/practice_page.h"
#include "config/practice.h"
#include "core/lang.h"
#include "game/game.h"
#include "game/scene.h"
#include "game/score.h"
#include "pages/pages.h"
#include "platform/input.h"
#include "render/render.h"

#include <cinttypes>
#include <cstdio>

namespace {

const char* const kDifficulty[4] = {"EASY", "NORMAL", "HARD", "SPECIAL"};
const int kRowY = 230, kRowStep = 30;

int gDifficulty = 1;
int gStage = 1;

int Reached() {
    int r = Practice.reached[gDifficulty];
    return r < 1 ? 1 : r > 5 ? 5 : r;
}

void Start() {
    if (gStage < 1 || gStage > Reached()) return;
    // The difficulty as the options screen would choose it.
    OPTION.Difficulty = gDifficulty;
    OPTION.DifficultyIndex = gDifficulty;
    PracticeAsked = gStage;
    PageOpen = PAGE_NONE;
}

void Score(char* out, size_t size, int64_t v) {
    if (v > 0) std::snprintf(out, size, "%" PRId64, v);
    else std::snprintf(out, size, "-");
}

}  // namespace

void PracticePage_Open() {
    gDifficulty = OPTION.Difficulty >= 0 && OPTION.Difficulty <= 3 ? OPTION.Difficulty : 1;
    gStage = Reached();
}

bool PracticePage_Key(int key) {
    switch (key) {
    case VK_UP:
        if (gStage > 1) gStage--;
        return true;
    case VK_DOWN:
        if (gStage < Reached()) gStage++;
        return true;
    case VK_LEFT:
    case VK_RIGHT:
        gDifficulty = (gDifficulty + (key == VK_LEFT ? 3 : 1)) % 4;
        if (gStage > Reached()) gStage = Reached();
        return true;
    case VK_RETURN:
    case VK_SPACE:
    case VK_SHIFT:
        Start();
        return true;
    default: return false;
    }
}

void PracticePage_Draw() {
    bool en = GameLanguage == LANG_EN;
    char text[128];
    Pages_Head(en ? "STAGE PRACTICE" : "ステージ練習", en ? "F4 / ESC: back" : "Ｆ４・ＥＳＣ：戻る");
    DD_FontShow(en ? "Any stage you have reached, from its start, as often as you like."
                   : "到達したステージを最初から何度でも練習できます。",
                16, 30, 56, 220, 220, 220, false);
    DD_FontShow(en ? "Kept as a practice replay; the record (score.dat) never counts it."
                   : "練習のリプレイとして残ります。記録（score.dat）には数えません。",
                16, 30, 78, 220, 220, 220, false);

    std::snprintf(text, sizeof text, en ? "DIFFICULTY   <  %s  >" : "難易度　　<  %s  >", kDifficulty[gDifficulty]);
    DD_FontShow(text, 20, 30, 118, 255, 255, 155, false);
    std::snprintf(text, sizeof text, en ? "LIVES %d    POWER STOCK %d    (as on the options screen)"
                                        : "プレイヤー数 %d　　パワーストック %d　（オプションの設定）",
                  OPTION.Players, OPTION.PowerStock);
    DD_FontShow(text, 16, 30, 150, 220, 220, 255, false);

    DD_FontShow(en ? "BEST IN A GAME" : "ゲームでのベスト", 14, 200, kRowY - 26, 255, 255, 155, false);
    DD_FontShow(en ? "BEST IN PRACTICE" : "練習でのベスト", 14, 400, kRowY - 26, 255, 255, 155, false);
    int reached = Reached();
    for (int k = 1; k <= 5; k++) {
        int y = kRowY + (k - 1) * kRowStep;
        bool open = k <= reached, on = k == gStage;
        if (on) DD_FontShow(">", 20, 14, y, 255, 255, 120, false);
        int c = open ? 255 : 120;
        std::snprintf(text, sizeof text, en ? "STAGE %d" : "ステージ%d", k);
        DD_FontShow(text, 20, 40, y, c, c, on ? 120 : c, false);
        if (!open) {
            DD_FontShow(en ? "not reached yet on this difficulty" : "この難易度では未到達", 16, 200, y + 3, 150, 150, 150,
                        false);
            continue;
        }
        Score(text, sizeof text, dat.stagebest[k - 1]);
        DD_FontShow(text, 18, 200, y + 1, 250, 250, 255, false);
        Score(text, sizeof text, Practice.best[k - 1]);
        DD_FontShow(text, 18, 400, y + 1, 150, 220, 255, false);
    }
    DD_FontShow(en ? "UP/DOWN: STAGE   LEFT/RIGHT: DIFFICULTY   SHOT/RETURN: START"
                   : "上下：ステージ　左右：難易度　ショット・リターン：開始",
                14, 30, 440, 200, 200, 200, false);
}
