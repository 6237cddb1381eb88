// The intro, the title menu and the options screen.
#include "game/game.h"
#include "core/lang.h"
#include "game/scene.h"
#include "game/score.h"
#include "render/render.h"
#include "core/input.h"
#include "core/core.h"
#include "sound/sound.h"

#include <cmath>

static const char* const kLetters[TITLE_LETTERS] = {"Ｑ", "Ｕ", "Ｅ", "Ｌ", "Ｌ", "Ｓ", "Ｔ", "Ｏ", "Ｒ", "Ｍ"};

// One option row: its label, where its values stand, and how they map.
struct OptionRowDef {
    const char* label;
    int labelY, valueY;
    int count;  // entries (the lives row has one more once unlocked)
    const char* names[6];
    int xs[6];
    int values[6];
};

static const OptionRowDef kRows[4] = {
    {"難易度", 80, 130, 4, {"ＥＡＳＹ", "ＮＯＲＭＡＬ", "ＨＡＲＤ", "ＳＰＥＣＩＡＬ"}, {100, 200, 340, 440}, {0, 1, 2, 3}},
    {"プレイヤー数", 180, 230, 4, {"１", "３", "５", "１０", "９９"}, {160, 220, 280, 340, 420}, {1, 3, 5, 10, 99}},
    {"ステージ", 280, 330, 4, {"１", "２", "３", "４"}, {180, 240, 300, 360}, {1, 2, 3, 4}},
    {"パワーストック", 380, 430, 6, {"１", "２", "３", "４", "５", "６"}, {180, 240, 300, 360, 420, 480},
     {1, 2, 3, 4, 5, 6}},
};

// The 99-lives entry opens once 99 ships have been lost in all games.
static bool LivesUnlocked() { return dat.deaths >= 99; }

static int* RowIndex(int row) {
    switch (row) {
    case 0: return &OPTION.DifficultyIndex;
    case 1: return &OPTION.PlayersIndex;
    case 2: return &OPTION.StartStageIndex;
    default: return &OPTION.PowerStockIndex;
    }
}

static int* RowValue(int row) {
    switch (row) {
    case 0: return &OPTION.Difficulty;
    case 1: return &OPTION.Players;
    case 2: return &OPTION.StartStage;
    default: return &OPTION.PowerStock;
    }
}

void OptionChange(int dir) {
    if (OptionRow < 0 || OptionRow > 3) return;
    int* idx = RowIndex(OptionRow);
    int last = kRows[OptionRow].count - 1;
    if (OptionRow == 1) {
        // Right from "１０" wraps to "１" unless the unlock opens "９９";
        // from "９９" it always wraps.
        if (dir > 0) *idx = *idx >= 4 ? 0 : *idx == 3 ? (LivesUnlocked() ? 4 : 0) : *idx + 1;
        else *idx = *idx <= 0 ? (LivesUnlocked() ? 4 : 3) : *idx - 1;
        return;
    }
    if (dir > 0) *idx = *idx >= last ? 0 : *idx + 1;
    else *idx = *idx <= 0 ? last : *idx - 1;
}

static void RandomColour(int* r, int* g, int* b) {
    *r = my_rand(0, 255);
    *g = my_rand(0, 255);
    *b = my_rand(0, 255);
}

static void DrawWalls() {
    DD_DrawBitmap((int)(WallPos - 230), -10, Bitmap[171], 0, 0, 605, 600);
    DD_DrawBitmap((int)(305 - WallPos), -13, Bitmap[171], 611, 0, 1216, 600);
}

static bool Pressed(int key, int joy) { return key == KEY_PUSH || joy == KEY_PUSH; }

static void TitleMenu() {
    FrameStep = PutFps() + SpeedAdjust;
    WallPos -= (FrameStep + 1) * 5;
    if (WallPos < -500) WallPos = -500;
    TitlePhase += 0.0174444 * 0.01 * 60;
    TitleAlpha = 255;
    DrawAlpha(0, 0, Bitmap[10], 0, 0, 640, 480, (int)TitleAlpha, 0);
    DrawWalls();
    if (WallPos != -500) return;
    if (Pressed(KeyData.up, JoyData.up) || Pressed(KeyData.down, JoyData.down)) TitleCursor += 1;
    if (TitleCursor == 2) {
        TitleCursor = 0;
        return;
    }
    int r, g, b;
    RandomColour(&r, &g, &b);
    if (TitleCursor == 0) {
        DD_FontShow("ＧＡＭＥ　ＳＴＡＲＴ", 20, 220, 320, r, g, b, false);
        DD_FontShow("ＯＰＴＩＯＮ", 20, 220, 340, 255, 255, 255, false);
    } else {
        DD_FontShow("ＧＡＭＥ　ＳＴＡＲＴ", 20, 220, 320, 255, 255, 255, false);
        DD_FontShow("ＯＰＴＩＯＮ", 20, 220, 340, r, g, b, false);
    }
}

static void OptionsScreen() {
    TitlePhase += 0.0174444 * 0.01 * 60;
    TitleAlpha = (float)((std::cos(TitlePhase) + 1) * 255 * 0.5);
    FrameStep = PutFps() + SpeedAdjust;
    DrawAlpha(0, 0, Bitmap[10], 0, 0, 640, 480, (int)TitleAlpha, 0);
    if (WallPos < 0) {
        WallPos += (FrameStep + 1) * 5;
        if (WallPos > 0) WallPos = 0;
    }
    DrawWalls();
    if (WallPos != 0) return;
    if (Pressed(KeyData.up, JoyData.up)) OptionRow = OptionRow <= 0 ? 3 : OptionRow - 1;
    if (Pressed(KeyData.down, JoyData.down)) OptionRow = OptionRow >= 3 ? 0 : OptionRow + 1;
    int r, g, b;
    for (int row = 0; row < 4; row++) {
        if (row == OptionRow) {
            RandomColour(&r, &g, &b);
            DD_FontShow(Lang_Text(kRows[row].label), 20, 220, kRows[row].labelY, r, g, b, false);
        } else {
            DD_FontShow(Lang_Text(kRows[row].label), 20, 220, kRows[row].labelY, 255, 255, 255, false);
        }
    }
    const OptionRowDef& def = kRows[OptionRow];
    int shown = OptionRow == 1 && LivesUnlocked() ? 5 : def.count;
    for (int i = 0; i < shown; i++) DD_FontShow(def.names[i], 20, def.xs[i], def.valueY, 255, 255, 255, false);
    int idx = *RowIndex(OptionRow);
    if (idx < 0 || idx > 5) return;
    RandomColour(&r, &g, &b);
    DD_FontShow(def.names[idx], 20, def.xs[idx], def.valueY, r, g, b, false);
    *RowValue(OptionRow) = def.values[idx];
}

void MenuStep() {
    if (MenuState == MENU_LOGO) {
        if (LogoTimer >= 0) {
            LogoSize += FrameStep * 5;
            int size = (int)LogoSize;
            DD_FontShow("ＴＥＡＭ", size, 70, 120, 255, 255, 255, false);
            DD_FontShow("ＱＳＭ", size, 90, (int)(LogoSize / 2 + 160), 255, 255, 255, false);
            DD_FontShow("ＰＲＥＳＥＮＴ", size, 30, (int)(210 + LogoSize), 255, 255, 255, false);
        } else {
            DS_Play(Wave[11]);
            MenuState = 1;
            LogoTimer = 0.3f;
        }
    } else if (MenuState >= 1 && MenuState <= TITLE_LETTERS) {
        if (LogoTimer >= 0) {
            DD_FontShow(kLetters[MenuState - 1], 400, 150, 50, 255, 255, 255, false);
        } else {
            LogoTimer = 0.3f;
            MenuState += 1;
            DS_Play(MenuState == MENU_TITLE ? Wave[12] : Wave[11]);
        }
    } else if (MenuState == MENU_TITLE || MenuState == MENU_TITLE2) {
        TitleMenu();
    } else if (MenuState == MENU_OPTIONS) {
        OptionsScreen();
    }
}
