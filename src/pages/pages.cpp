// Opening and closing the pages; the open page takes every key.
#include "pages/pages.h"
#include "game/game.h"
#include "game/scene.h"
#include "pages/records_page.h"
#include "platform/input.h"

int PageOpen = PAGE_NONE;

// Pages open from the title menu and the options screen only, never
// during the intro or play.
static bool PagesReachable() { return Scene == SCENE_TITLE && MenuState >= MENU_TITLE; }

bool Pages_KeyDown(int key) {
    if (PageOpen == PAGE_NONE) {
        if (key == VK_F2 && PagesReachable()) {
            PageOpen = PAGE_RECORDS;
            return true;
        }
        return false;
    }
    if (PageOpen == PAGE_RECORDS && RecordsPage_Key(key)) return true;
    if (key == VK_ESCAPE || key == VK_F2) PageOpen = PAGE_NONE;
    return true;
}

void Pages_Draw() {
    if (PageOpen == PAGE_RECORDS) RecordsPage_Draw();
}
