// The settings page, drawn in the game's own face and colours over its
// title picture, from the one settings table.
#include "pages/settings_page.h"
#include "pages/pages.h"
#include "config/settings.h"
#include "platform/display.h"
#include "platform/input.h"
#include "platform/page.h"
#include "render/render.h"
#include "game/score.h"
#include "core/core.h"
#include "sound/sound.h"

#include <cstdio>
#include <cstring>
#include <vector>

namespace {

const int kTop = 50;       // first row
const int kRowH = 20;
const int kVisible = 19;   // rows on the page at once
const int kLabelX = 130, kValueX = 400;

std::vector<int> sRows;  // the table's rows shown here, in order (made once)
int sCount;
int sCursor, sFirst;
enum { WAIT_NONE, WAIT_KEY, WAIT_PAD } sWait;
int sPhys;
int sPad = -1;

void Collect() {
    if (sCount) return;
    for (int i = 0; i < SettingsCount; i++)
        if (SettingsTable[i].label && !(Plat_InPage() && (SettingsTable[i].flags & SF_WINDOW))) sRows.push_back(i);
    sCount = (int)sRows.size();
}

// A change made: into force, into the file, and heard where it is a sound.
void Changed(const Setting& s) {
    Settings_Apply();
    Config_Changed(s);
    if (s.flags & SF_HEARD) DS_Play(Wave[11]);
}

void Step(const Setting& s, int dir) {
    switch (s.kind) {
    case SK_BOOL: *s.value = !*s.value; break;
    case SK_INT: {
        int v = *s.value + dir * (s.step > 0 ? s.step : 1);
        *s.value = v < s.min ? s.min : v > s.max ? s.max : v;
        break;
    }
    case SK_CHOICE: {
        int n = 0;
        while (s.choices[n]) n++;
        *s.value = (*s.value + dir + n) % n;
        break;
    }
    case SK_PAD: {
        int v = *s.value + dir;  // -1 none, then the buttons
        *s.value = v < -1 ? PAD_BUTTONS - 1 : v >= PAD_BUTTONS ? -1 : v;
        break;
    }
    case SK_SPEED:
        SpeedAdjust = 0;  // the only change the page offers: back to none
        DataStoreSpeed();
        return;
    default: return;
    }
    Changed(s);
}

bool Reserved(int key) {
    static const char* const names[] = {"F1", "F2", "F11", "F12"};
    for (const char* n : names)
        if (key == Plat_KeyFromName(n)) return true;
    return false;
}

// A key for a key row: a key already bound to another game key trades
// places with it, so no game key is ever left without one.
void Bind(const Setting& s, int key) {
    for (int k = 0; k < GK_COUNT; k++)
        if (&Settings.key[k] != s.value && Settings.key[k] == key) {
            Settings.key[k] = *s.value;
            Config_Changed(*SettingsTable_ForValue(&Settings.key[k]));
        }
    *s.value = key;
    Changed(s);
}

}  // namespace

const Setting* SettingsTable_ForValue(const int* value) {
    for (int i = 0; i < SettingsCount; i++)
        if (SettingsTable[i].value == value) return &SettingsTable[i];
    return nullptr;
}

void SettingsPage_TakePhysical(int key) {
    sPhys = key;
    sPad = -1;
}

void SettingsPage_TakePad(int button) {
    sPad = button;
    sPhys = 0;
}

void SettingsPage_Reset() {
    sCursor = sFirst = 0;
    sWait = WAIT_NONE;
}

bool SettingsPage_Key(int key) {
    Collect();
    const Setting& s = SettingsTable[sRows[sCursor]];
    if (sWait == WAIT_KEY) {
        if (sPhys && (key != VK_ESCAPE || s.value == &Settings.key[GK_QUIT])) {
            if (!Reserved(sPhys)) Bind(s, sPhys);
            sWait = WAIT_NONE;
        } else if (key == VK_ESCAPE || sPad >= 0) {
            sWait = WAIT_NONE;  // given up
        }
        return true;
    }
    if (sWait == WAIT_PAD) {
        if (sPad >= 0 && sPad < PAD_BUTTONS) {
            *s.value = sPad;
            Changed(s);
            sWait = WAIT_NONE;
        } else if (key == VK_ESCAPE) {
            sWait = WAIT_NONE;
        }
        return true;
    }
    switch (key) {
    case VK_UP: sCursor = (sCursor + sCount - 1) % sCount; break;
    case VK_DOWN: sCursor = (sCursor + 1) % sCount; break;
    case VK_LEFT: Step(s, -1); break;
    case VK_RIGHT: Step(s, 1); break;
    case VK_SPACE:
    case VK_SHIFT:
    case VK_RETURN:
        if (s.kind == SK_KEY) sWait = WAIT_KEY;
        else if (s.kind == SK_PAD) sWait = WAIT_PAD;
        else Step(s, 1);
        break;
    default: return false;
    }
    if (sCursor < sFirst) sFirst = sCursor;
    if (sCursor >= sFirst + kVisible) sFirst = sCursor - kVisible + 1;
    return true;
}

void SettingsPage_Draw() {
    Collect();
    Pages_Backdrop();
    DD_FontShow("SETTINGS", 24, 30, 10, 255, 25, 25, false);
    DD_FontShow("F1/ESC: BACK   F2: RECORDS", 14, 400, 16, 200, 200, 200, false);
    const char* section = "";
    for (int i = sFirst; i < sCount && i < sFirst + kVisible; i++) {
        const Setting& s = SettingsTable[sRows[i]];
        int y = kTop + (i - sFirst) * kRowH;
        bool on = i == sCursor;
        if (std::strcmp(section, s.section)) {
            section = s.section;
            char head[32];
            std::snprintf(head, sizeof head, "%s", section);
            for (char* c = head; *c; c++) *c = (char)(*c >= 'a' && *c <= 'z' ? *c - 32 : *c);
            DD_FontShow(head, 14, 20, y + 3, 120, 160, 255, false);
        }
        int r = on ? 255 : 255, g = on ? 255 : 255, b = on ? 0 : 255;
        if (on) DD_FontShow(">", 18, kLabelX - 16, y, r, g, b, false);
        DD_FontShow(s.label, 18, kLabelX, y, r, g, b, false);
        std::string value = Settings_ValueText(s);
        if (on && sWait == WAIT_KEY) value = "PRESS A KEY";
        else if (on && sWait == WAIT_PAD) value = "PRESS A PAD BUTTON";
        else if (s.kind == SK_SPEED) value += "   (RESET: SHOT)";
        else if (s.kind == SK_KEY || s.kind == SK_PAD) value = "[" + value + "]";
        else if (s.kind == SK_STRING && value.empty()) value = "(NONE: SET IN THE FILE)";
        DD_FontShow(value.c_str(), 18, kValueX, y, on ? 255 : 200, on ? 255 : 230, on ? 0 : 255, false);
    }
    // More rows above or below.
    if (sFirst > 0) DD_FontShow("▲", 14, 610, kTop, 200, 200, 200, false);
    if (sFirst + kVisible < sCount) DD_FontShow("▼", 14, 610, kTop + (kVisible - 1) * kRowH, 200, 200, 200, false);
    DD_FontShow("UP/DOWN: CHOOSE   LEFT/RIGHT/SHOT: CHANGE", 14, 30, 458, 200, 200, 200, false);
}
