// The language page of a first start.
#include "pages/language_page.h"
#include "pages/pages.h"
#include "core/lang.h"
#include "config/settings.h"
#include "platform/input.h"
#include "render/render.h"

namespace {

int sChoice = LANG_EN;

const struct {
    const char* name;
    int lang;
} kRows[] = {{"日本語", LANG_JA}, {"English", LANG_EN}};

void Choose() {
    Settings.language = sChoice;
    Settings_Apply();
    Config_Changed(*Settings_Find("game", "language"));
    PageOpen = PAGE_NONE;
}

}  // namespace

void LanguagePage_Open(int preselected) {
    sChoice = preselected == LANG_JA ? LANG_JA : LANG_EN;
    PageOpen = PAGE_LANGUAGE;
}

bool LanguagePage_Key(int key) {
    switch (key) {
    case VK_UP:
    case VK_DOWN:
    case VK_LEFT:
    case VK_RIGHT: sChoice = sChoice == LANG_JA ? LANG_EN : LANG_JA; break;
    case VK_SPACE:
    case VK_SHIFT:
    case VK_RETURN:
    case VK_ESCAPE: Choose(); break;
    default: break;
    }
    return true;
}

void LanguagePage_Draw() {
    Pages_Backdrop();
    DD_FontShow("日本語 / English", 28, 215, 195, 255, 25, 25, false);
    for (int i = 0; i < 2; i++) {
        bool on = kRows[i].lang == sChoice;
        int y = 245 + i * 34;
        if (on) DD_FontShow(">", 24, 250, y, 255, 255, 0, false);
        DD_FontShow(kRows[i].name, 24, 275, y, 255, 255, on ? 0 : 255, false);
    }
    DD_FontShow("UP/DOWN: CHOOSE   SHOT/RETURN: OK", 14, 200, 440, 200, 200, 200, false);
}
