// Opening and closing the pages; the open page takes every key.
#include "pages/pages.h"
#include "boardclient/board.h"
#include "game/game.h"
#include "game/scene.h"
#include "pages/language_page.h"
#include "pages/practice_page.h"
#include "pages/records_page.h"
#include "pages/replays_page.h"
#include "pages/settings_page.h"
#include "platform/display.h"
#include "platform/input.h"
#include "render/render.h"

int PageOpen = PAGE_NONE;

// Pages open from the title menu and the options screen only, never
// during the intro or play.
static bool PagesReachable() { return Scene == SCENE_TITLE && MenuState >= MENU_TITLE; }

static int PageOf(int key) {
    return key == VK_F1 ? PAGE_SETTINGS : key == VK_F2 ? PAGE_RECORDS : key == VK_F3 ? PAGE_REPLAYS : PAGE_PRACTICE;
}

static void Open(int page) {
    if (page == PAGE_SETTINGS) SettingsPage_Reset();
    if (page == PAGE_REPLAYS) ReplaysPage_Open();
    if (page == PAGE_PRACTICE) PracticePage_Open();
    PageOpen = page;
}

bool Pages_KeyDown(int key) {
    if (PageOpen == PAGE_NONE) {
        if ((key == VK_F1 || key == VK_F2 || key == VK_F3 || key == VK_F4) && PagesReachable()) {
            Open(PageOf(key));
            return true;
        }
        return false;
    }
    if (PageOpen == PAGE_LANGUAGE) return LanguagePage_Key(key);
    if (PageOpen == PAGE_SETTINGS && SettingsPage_Key(key)) return true;
    if (PageOpen == PAGE_RECORDS && RecordsPage_Key(key)) return true;
    if (PageOpen == PAGE_REPLAYS && ReplaysPage_Key(key)) return true;
    if (PageOpen == PAGE_PRACTICE && PracticePage_Key(key)) return true;
    // F1 to F4 switch between the pages; the open page's own key, or
    // Escape, closes it.
    if (key == VK_F1 || key == VK_F2 || key == VK_F3 || key == VK_F4) {
        int page = PageOf(key);
        if (PageOpen == page) PageOpen = PAGE_NONE;
        else Open(page);
    } else if (key == VK_ESCAPE) {
        PageOpen = PAGE_NONE;
    }
    return true;
}

void Pages_Text(const char* text) {
    if (PageOpen == PAGE_SETTINGS) SettingsPage_Text(text);
}

void Pages_Draw() {
    if (PageOpen == PAGE_SETTINGS) SettingsPage_Draw();
    else if (PageOpen == PAGE_RECORDS) RecordsPage_Draw();
    else if (PageOpen == PAGE_REPLAYS) ReplaysPage_Draw();
    else if (PageOpen == PAGE_LANGUAGE) LanguagePage_Draw();
    else if (PageOpen == PAGE_PRACTICE) PracticePage_Draw();
}

void Pages_DrawHint() {
    if (PageOpen == PAGE_NONE && PagesReachable() && MenuState != MENU_OPTIONS && WallPos == -500) {
        DD_FontShow("F1: SETTINGS  F2: RECORDS  F3: REPLAYS  F4: PRACTICE", 12, 262, 464, 160, 160, 160, false);
        Pages_DrawBoardLine(8, 448, 12);
    }
}

void Pages_DrawBoardLine(int x, int y, int size) {
    std::string line = Board_Line();
    if (line.empty()) return;
    // Green once listed, red when refused or not sent, grey on the way.
    int r = 200, g = 200, b = 200;
    if (BoardLast.state == BOARD_VERIFIED) r = 120, g = 255, b = 120;
    else if (BoardLast.state == BOARD_REJECTED || BoardLast.state == BOARD_FAILED) r = 255, g = 140, b = 120;
    if (line.size() > 100) line = line.substr(0, 97) + "...";
    DD_FontShow(line.c_str(), size, x, y, r, g, b, false);
}

void Pages_Head(const char* title, const char* back) {
    Pages_Backdrop();
    DD_FontShow(title, 30, 30, 8, 255, 0, 0, false);
    DD_FontShow(back, 16, 470, 16, 255, 255, 255, false);
}

void Pages_Backdrop() {
    DD_BackInit();
    DD_DrawBitmap(0, 0, Bitmap[10], 0, 0, 640, 480);
    if (!DDBack || !Plat_Drawing()) return;
    int w = Plat_SurfaceWidth(DDBack), h = Plat_SurfaceHeight(DDBack);
    int stride = Plat_SurfacePitch(DDBack) / 2;
    uint16_t* px = Plat_SurfacePixels(DDBack);
    for (int y = 0; y < h; y++)
        for (int x = 0; x < w; x++) {
            uint16_t& p = px[(size_t)y * stride + x];
            p = (uint16_t)((((p >> 11) & 31) / 3) << 11 | (((p >> 5) & 63) / 3) << 5 | ((p & 31) / 3));
        }
}
