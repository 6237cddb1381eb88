// The settings page, drawn in the game's own face and colours over its
// title picture, from the one settings table.
#include "pages/settings_page.h"
#include "pages/pages.h"
#include "config/settings.h"
#include "platform/display.h"
#include "platform/events.h"
#include "platform/input.h"
#include "platform/page.h"
#include "platform/text.h"
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
const int kValueRight = 604;  // the value's room ends before the scroll marks
const int kValueSize = 18;    // the rows' text size

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

// A text row being edited: its text so far, the caret (a byte offset, at
// a character's start), and why the last Return was refused (null: it was
// not). The row's own text changes only when the edit is accepted.
bool sEditing;
bool sEditByPad;  // begun from the pad: the player may have no keyboard
char sEdit[256];
int sEditLen, sCaret;
const char* sEditWhy;
static_assert(sizeof sEdit >= sizeof GameSettings::boardUrl && sizeof sEdit >= sizeof GameSettings::playerName,
              "every text row fits the edit");

bool IsCont(char c) { return ((unsigned char)c & 0xC0) == 0x80; }

int CharCount(const char* t, int len) {
    int n = 0;
    for (int i = 0; i < len; i++) n += !IsCont(t[i]);
    return n;
}

void BeginEdit(const Setting& s) {
    std::snprintf(sEdit, sizeof sEdit, "%s", s.text);
    sEditLen = sCaret = (int)std::strlen(sEdit);
    sEditWhy = nullptr;
    sEditByPad = sPad >= 0;
    sEditing = true;
    Plat_TextInput(true);
    Plat_TextInputRect(kValueX, kTop + (sCursor - sFirst) * kRowH, kValueRight - kValueX, kRowH);
}

void EndEdit() {
    if (sEditing) Plat_TextInput(false);
    sEditing = false;
}

// Typed text goes in at the caret, one whole character at a time, as long
// as the row has room for it (its bytes, and for a name the characters the
// board lists): what does not fit is left out, never cut in half. Control
// characters (a pasted line's tab) are not text here.
void Insert(const Setting& s, const char* text) {
    int room = (s.textSize < (int)sizeof sEdit ? s.textSize : (int)sizeof sEdit) - 1;
    for (const unsigned char* c = (const unsigned char*)text; *c;) {
        int len = *c < 0x80 ? 1 : (*c & 0xE0) == 0xC0 ? 2 : (*c & 0xF0) == 0xE0 ? 3 : (*c & 0xF8) == 0xF0 ? 4 : 1;
        bool whole = true;
        for (int k = 1; k < len; k++)
            if (!IsCont((char)c[k])) whole = false, len = k;
        if (whole && *c >= 0x20 && *c != 0x7f && (len > 1 || *c < 0x80)) {
            if (sEditLen + len > room || (s.max && CharCount(sEdit, sEditLen) >= s.max)) return;
            std::memmove(sEdit + sCaret + len, sEdit + sCaret, sEditLen - sCaret + 1);
            std::memcpy(sEdit + sCaret, c, len);
            sEditLen += len;
            sCaret += len;
            sEditWhy = nullptr;
        }
        c += len;
    }
}

// The character before (dir -1) or after (dir 1) the caret: its offset.
int Neighbour(int dir) {
    int p = sCaret;
    if (dir < 0) {
        while (p > 0 && IsCont(sEdit[--p])) {}
    } else if (p < sEditLen) {
        while (++p < sEditLen && IsCont(sEdit[p])) {}
    }
    return p;
}

void Erase(int from, int to) {
    std::memmove(sEdit + from, sEdit + to, sEditLen - to + 1);
    sEditLen -= to - from;
    sCaret = from;
    sEditWhy = nullptr;
}

// Return: the row takes the text if its check lets it (and only a change
// is applied and saved); else the page says why and the edit goes on.
void Accept(const Setting& s) {
    if (const char* why = s.check ? s.check(sEdit) : nullptr) {
        sEditWhy = why;
        return;
    }
    if (std::strcmp(sEdit, s.text) && Settings_SetFromText(s, sEdit)) Changed(s);
    EndEdit();
}

// A key while editing. Keyboard keys act by what they are, whatever game
// key they are bound to; every other key is swallowed, so typing never
// moves the cursor, changes a row or leaves the page. The pad can only
// keep (confirm) or give up (bomb).
void EditKey(const Setting& s, int key) {
    if (!sPhys) {
        if (key == VK_RETURN) Accept(s);
        else if (key == VK_ESCAPE) EndEdit();
        return;
    }
    auto is = [](const char* name) { return sPhys == Plat_KeyFromName(name); };
    if (is("Return") || is("Keypad Enter")) Accept(s);
    else if (is("Escape")) EndEdit();
    else if (is("Backspace") && sCaret > 0) Erase(Neighbour(-1), sCaret);
    else if (is("Delete") && sCaret < sEditLen) Erase(sCaret, Neighbour(1));
    else if (is("Left")) sCaret = Neighbour(-1);
    else if (is("Right")) sCaret = Neighbour(1);
    else if (is("Home")) sCaret = 0;
    else if (is("End")) sCaret = sEditLen;
}

int Width(const std::string& t) {
    int w = Plat_TextWidth(t.c_str(), kValueSize);
    return w >= 0 ? w : CharCount(t.c_str(), (int)t.size()) * kValueSize / 2;
}

// The part of `text` shown in `room` pixels: from `from` (a character's
// start) as much as fits, with an ellipsis where the text goes on.
std::string Clip(const std::string& text, size_t from, int room) {
    std::string head = from ? "…" : "";
    std::string shown = head + text.substr(from);
    if (Width(shown) <= room) return shown;
    size_t end = text.size();
    do {
        while (end > from && IsCont(text[--end])) {}
        shown = head + text.substr(from, end - from) + "…";
    } while (end > from && Width(shown) > room);
    return shown;
}

// The edit as shown: clipped around the caret so that the caret is always
// in view. Gives the caret's x.
std::string EditShown(int room, int* caretX) {
    std::string text(sEdit, sEditLen);
    size_t from = 0;
    // Drop characters from the front until the text up to the caret fits
    // (with the ellipsis that then leads it, and one that may follow it).
    int fit = room - (sCaret < sEditLen ? Width("…") : 2);
    while (from < (size_t)sCaret && Width((from ? "…" : "") + text.substr(from, sCaret - from)) > fit) {
        while (++from < (size_t)sCaret && IsCont(text[from])) {}
    }
    std::string before = (from ? "…" : "") + text.substr(from, sCaret - from);
    *caretX = Width(before);
    return Clip(text, from, room);
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
    EndEdit();
}

void SettingsPage_Text(const char* text) {
    Collect();
    if (sEditing) Insert(SettingsTable[sRows[sCursor]], text);
}

bool SettingsPage_Key(int key) {
    Collect();
    const Setting& s = SettingsTable[sRows[sCursor]];
    if (sEditing) {
        EditKey(s, key);
        return true;
    }
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
        else if (s.kind == SK_STRING) BeginEdit(s);
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
        int vr = on ? 255 : 200, vg = on ? 255 : 230, vb = on ? 0 : 255;
        if (on && sEditing) {
            // A field: the text around the caret, a line under it.
            int caretX;
            std::string shown = EditShown(kValueRight - kValueX, &caretX);
            DD_FontShow(shown.c_str(), kValueSize, kValueX, y, 255, 255, 255, false);
            DD_DrawLine(kValueX + caretX + 1, y + 1, kValueX + caretX + 1, y + kRowH - 1, 2, 255, 255, 0);
            DD_DrawLine(kValueX - 2, y + kRowH, kValueRight, y + kRowH, 1, 255, 255, 0);
            continue;
        }
        std::string value = Settings_ValueText(s);
        if (on && sWait == WAIT_KEY) value = "PRESS A KEY";
        else if (on && sWait == WAIT_PAD) value = "PRESS A PAD BUTTON";
        else if (s.kind == SK_SPEED) value += "   (RESET: SHOT)";
        else if (s.kind == SK_KEY || s.kind == SK_PAD) value = "[" + value + "]";
        else if (s.kind == SK_STRING && value.empty()) value = "(NONE)";
        else if (s.kind == SK_STRING) value = Clip(value, 0, kValueRight - kValueX);
        else if (s.value == &Settings.scale && *s.value == 0) value = "AUTO";
        DD_FontShow(value.c_str(), kValueSize, kValueX, y, vr, vg, vb, false);
    }
    // More rows above or below.
    if (sFirst > 0) DD_FontShow("▲", 14, 610, kTop, 200, 200, 200, false);
    if (sFirst + kVisible < sCount) DD_FontShow("▼", 14, 610, kTop + (kVisible - 1) * kRowH, 200, 200, 200, false);
    if (sEditing && sEditWhy) DD_FontShow(sEditWhy, 14, 30, 438, 255, 120, 100, false);
    // The window's size as it came out (the screen may not hold the scale).
    if (SettingsTable[sRows[sCursor]].value == &Settings.scale && *Plat_WindowSizeNote())
        DD_FontShow((std::string("WINDOW ") + Plat_WindowSizeNote()).c_str(), 14, 30, 438, 160, 220, 255, false);
    if (sEditing && sEditByPad)
        DD_FontShow("TYPE ON A KEYBOARD   SHOT: KEEP   BOMB: GIVE UP", 14, 30, 458, 255, 255, 0, false);
    else if (sEditing)
        DD_FontShow("TYPE   RETURN: KEEP   ESC: GIVE UP   BACKSPACE: DELETE", 14, 30, 458, 255, 255, 0, false);
    else if (SettingsTable[sRows[sCursor]].kind == SK_STRING)
        DD_FontShow("UP/DOWN: CHOOSE   RETURN/SHOT: TYPE", 14, 30, 458, 200, 200, 200, false);
    else
        DD_FontShow("UP/DOWN: CHOOSE   LEFT/RIGHT/SHOT: CHANGE", 14, 30, 458, 200, 200, 200, false);
}
