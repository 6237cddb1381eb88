// Window events and the keyboard, translated to the old virtual-key codes.
// The player's key bindings apply here, at the edge: past this file the
// game, its scripts and its replays see only the game's own keys.
#include "platform/events.h"
#include "platform/input.h"
#include "platform/plat_internal.h"

#include <cstring>

namespace {

// Each game key and the keyboard key bound to it, as the settings bind
// them (their defaults are the settings' own; nothing is bound before).
// Left Shift stands for either Shift.
struct Binding {
    int vk;
    SDL_Keycode key;
};
Binding gBind[PLAT_BIND_MAX];
int gBindCount;

// Keys the shell itself answers (pages, full screen, screenshot), and the
// keys that move about the pages whatever the bindings.
struct SystemKey {
    SDL_Keycode key;
    int vk;
};
const SystemKey kSystem[] = {
    {SDLK_F1, VK_F1},         {SDLK_F2, VK_F2},     {SDLK_F3, VK_F3},       {SDLK_F4, VK_F4},
    {SDLK_F11, VK_F11},
    {SDLK_F12, VK_F12},       {SDLK_PAGEUP, VK_PRIOR}, {SDLK_PAGEDOWN, VK_NEXT}, {SDLK_DELETE, VK_DELETE},
    {SDLK_k, VK_K},           {SDLK_y, VK_Y},       {SDLK_n, VK_N},         {SDLK_b, VK_B},
    {SDLK_g, VK_G},           {SDLK_o, VK_O},       {SDLK_t, VK_T},
    {SDLK_RETURN, VK_RETURN}, {SDLK_KP_ENTER, VK_RETURN}, {SDLK_ESCAPE, VK_ESCAPE},
    {SDLK_UP, VK_UP},         {SDLK_DOWN, VK_DOWN}, {SDLK_LEFT, VK_LEFT},   {SDLK_RIGHT, VK_RIGHT},
};

const int kQueue = 64;
enum PushedKind { PUSHED_GAME, PUSHED_PHYSICAL, PUSHED_TEXT };
struct Pushed {
    int key;
    PushedKind kind;  // a game key (replays), a keyboard key or text (scripts)
    char text[sizeof PlatEvent::text];
};
Pushed gPushed[kQueue];
int gPushHead, gPushCount;

bool gScripted;          // a script or replay owns the keys
bool gScriptPhysical;    // ... as keyboard keys (scripts), else game keys
bool gScriptKeys[256];
const int kHeldMax = 16;
int gHeld[kHeldMax];
int gHeldCount;
bool gBlocked;
bool gTextOn;       // a text field has the keyboard
bool gTextSynced;   // SDL's own text input (on by default) is set to gTextOn

bool Matches(SDL_Keycode bound, SDL_Keycode key) {
    return bound == key || (bound == SDLK_LSHIFT && key == SDLK_RSHIFT);
}

Pushed* Push(int key, PushedKind kind) {
    if (gPushCount == kQueue) return nullptr;
    Pushed* p = &gPushed[(gPushHead + gPushCount) % kQueue];
    *p = {key, kind, {}};
    gPushCount++;
    return p;
}

// SDL starts with text input on; the game keeps it off but in a text field,
// so that an input method never swallows the keys of play (and the browser
// keeps no keys of the game for itself).
void SyncTextInput() {
    if (gTextSynced || !SDL_WasInit(SDL_INIT_VIDEO)) return;
    gTextSynced = true;
    // An input method shows what is being composed in its own window: the
    // game draws only the text it is given.
    SDL_SetHint(SDL_HINT_IME_INTERNAL_EDITING, "1");
    if (gTextOn) SDL_StartTextInput();
    else SDL_StopTextInput();
}

// The clipboard's first line, typed into the field (Ctrl+V).
void PasteClipboard() {
    if (!SDL_HasClipboardText()) return;
    char* clip = SDL_GetClipboardText();
    if (!clip) return;
    size_t n = std::strcspn(clip, "\r\n");
    if (n > 1024) n = 1024;  // more than any field holds
    clip[n] = 0;
    Plat_PushText(clip);
    SDL_free(clip);
}

// A keyboard key's event: its game key if it is bound to one, else the
// shell's key for it, if any.
bool KeyEvent(SDL_Keycode key, bool alt, PlatEvent* ev) {
    ev->type = PLAT_EV_KEYDOWN;
    ev->phys = (int)key;
    if (alt && (key == SDLK_RETURN || key == SDLK_KP_ENTER)) {
        ev->key = VK_F11;  // Alt+Enter: full screen, as F11
        return true;
    }
    ev->key = PlatI_KeyToVK(key);
    ev->game = ev->key != 0;
    if (ev->game) return true;
    for (const SystemKey& s : kSystem)
        if (s.key == key) ev->key = s.vk;
    return true;  // the shell may still want an unbound key (a page rebinding it)
}

}  // namespace

int PlatI_KeyToVK(SDL_Keycode key) {
    for (int i = 0; i < gBindCount; i++)
        if (gBind[i].key && Matches(gBind[i].key, key)) return gBind[i].vk;
    return 0;
}

void Plat_BindKey(int vk, int key) {
    for (int i = 0; i < gBindCount; i++)
        if (gBind[i].vk == vk) {
            gBind[i].key = (SDL_Keycode)key;
            return;
        }
    if (gBindCount < PLAT_BIND_MAX) gBind[gBindCount++] = {vk, (SDL_Keycode)key};
}

void Plat_PushKeyDown(int key) { Push(key, PUSHED_GAME); }
void Plat_PushPhysicalKey(int key) { Push(key, PUSHED_PHYSICAL); }

void Plat_PushText(const char* utf8) {
    const size_t room = sizeof PlatEvent::text - 1;
    for (size_t n = std::strlen(utf8); n;) {
        // Whole characters in each piece: never cut before a continuation byte.
        size_t take = n;
        if (take > room) {
            take = room;
            while (take && ((unsigned char)utf8[take] & 0xC0) == 0x80) take--;
            if (!take) return;  // no character is that long: not text
        }
        Pushed* p = Push(0, PUSHED_TEXT);
        if (!p) return;
        std::memcpy(p->text, utf8, take);
        utf8 += take;
        n -= take;
    }
}

void Plat_TextInput(bool on) {
    gTextOn = on;
    gTextSynced = false;
    SyncTextInput();
}

void Plat_TextInputRect(int x, int y, int w, int h) {
    SDL_Window* window = SDL_WasInit(SDL_INIT_VIDEO) ? PlatI_Window() : nullptr;
    if (!window) return;
    // The picture fills the window at its aspect, centred (near enough for
    // placing a window beside it).
    int ww, wh;
    SDL_GetWindowSize(window, &ww, &wh);
    double scale = ww * 480 < wh * 640 ? ww / 640.0 : wh / 480.0;
    SDL_Rect r = {(int)((ww - 640 * scale) / 2 + x * scale), (int)((wh - 480 * scale) / 2 + y * scale),
                  (int)(w * scale), (int)(h * scale)};
    SDL_SetTextInputRect(&r);
}

bool Plat_PollEvent(PlatEvent* ev) {
    std::memset(ev, 0, sizeof *ev);
    while (gPushCount) {
        Pushed p = gPushed[gPushHead];
        gPushHead = (gPushHead + 1) % kQueue;
        gPushCount--;
        if (p.kind == PUSHED_TEXT) {
            if (!gTextOn) continue;  // nobody is typing: dropped, as the keyboard's would be
            ev->type = PLAT_EV_TEXT;
            std::memcpy(ev->text, p.text, sizeof ev->text);
            return true;
        }
        if (p.kind == PUSHED_PHYSICAL) return KeyEvent((SDL_Keycode)p.key, false, ev);
        ev->type = PLAT_EV_KEYDOWN;
        ev->key = p.key;
        ev->game = true;
        return true;
    }
    if (!SDL_WasInit(SDL_INIT_EVENTS)) return false;
    SyncTextInput();
    SDL_Event e;
    while (SDL_PollEvent(&e)) {
        if (e.type == SDL_QUIT) {
            ev->type = PLAT_EV_QUIT;
            return true;
        }
        if (e.type == SDL_TEXTINPUT) {
            if (!gTextOn || gScripted) continue;
            ev->type = PLAT_EV_TEXT;
            SDL_strlcpy(ev->text, e.text.text, sizeof ev->text);
            return true;
        }
        if (e.type == SDL_KEYDOWN) {
            SDL_Keycode k = e.key.keysym.sym;
            bool alt = (e.key.keysym.mod & KMOD_ALT) != 0;
            if (gTextOn && !gScripted && k == SDLK_v && (e.key.keysym.mod & KMOD_CTRL)) {
                PasteClipboard();
                if (gPushCount) return Plat_PollEvent(ev);
                continue;
            }
            // A held shell key does not repeat (one screenshot, one toggle).
            if (e.key.repeat && (k == SDLK_F1 || k == SDLK_F2 || k == SDLK_F3 || k == SDLK_F4 || k == SDLK_F11 || k == SDLK_F12 ||
                                 (alt && k == SDLK_RETURN)))
                continue;
            if (gScripted && gScriptPhysical) {
                // A script owns the keys: Escape still quits, and full
                // screen and the screenshot still answer. (In a replay the
                // keyboard is the viewer's: the shell takes every key.)
                bool fullscreen = k == SDLK_F11 || (alt && k == SDLK_RETURN);
                if (k != SDLK_ESCAPE && k != SDLK_F12 && !fullscreen) continue;
                if (k == SDLK_ESCAPE) {
                    ev->type = PLAT_EV_KEYDOWN;
                    ev->key = VK_ESCAPE;
                    ev->game = true;
                    return true;
                }
            }
            KeyEvent(k, alt, ev);
            if (!ev->key && !ev->phys) continue;
            return true;
        }
        if (e.type == SDL_WINDOWEVENT &&
            (e.window.event == SDL_WINDOWEVENT_FOCUS_LOST || e.window.event == SDL_WINDOWEVENT_MINIMIZED)) {
            ev->type = PLAT_EV_FOCUS_LOST;
            return true;
        }
        if (e.type == SDL_MOUSEMOTION) {
            ev->type = PLAT_EV_MOUSEMOVE;
            ev->x = e.motion.x;
            ev->y = e.motion.y;
            return true;
        }
        if (e.type == PlatI_MusicEventType()) {
            ev->type = PLAT_EV_MUSIC_DONE;
            ev->x = e.user.code;  // 1 = successful
            return true;
        }
        // A script owns the pad too; in a replay the pad, like the
        // keyboard, is the viewer's (the game's keys come from the file).
        int button;
        if ((!gScripted || !gScriptPhysical) && PlatI_PadEvent(e, &button)) {
            ev->type = PLAT_EV_PADBUTTON;
            ev->key = button;
            return true;
        }
    }
    return false;
}

static bool HeldDown(SDL_Keycode bound) {
    for (int i = 0; i < gHeldCount; i++)
        if (Matches(bound, (SDL_Keycode)gHeld[i])) return true;
    return false;
}

bool Plat_KeyDown(int vk) {
    if (vk < 0 || vk > 255 || gBlocked) return false;
    if (gScripted && !gScriptPhysical) return gScriptKeys[vk];
    SDL_Keycode bound = 0;
    for (int i = 0; i < gBindCount; i++)
        if (gBind[i].vk == vk) bound = gBind[i].key;
    if (!bound) return false;
    if (gScripted) return HeldDown(bound);
    if (!SDL_WasInit(SDL_INIT_VIDEO)) return false;
    const Uint8* ks = SDL_GetKeyboardState(nullptr);
    if (bound == SDLK_LSHIFT) return ks[SDL_SCANCODE_LSHIFT] || ks[SDL_SCANCODE_RSHIFT];
    SDL_Scancode sc = SDL_GetScancodeFromKey(bound);
    return sc != SDL_SCANCODE_UNKNOWN && ks[sc];
}

void Plat_SetScriptedKeys(const bool* down256) {
    gScripted = true;
    gScriptPhysical = false;
    std::memcpy(gScriptKeys, down256, sizeof gScriptKeys);
}

void Plat_SetScriptedPhysical(const int* keys, int n) {
    gScripted = true;
    gScriptPhysical = true;
    gHeldCount = 0;
    for (int i = 0; i < n && gHeldCount < kHeldMax; i++) gHeld[gHeldCount++] = keys[i];
}

void Plat_ClearScriptedKeys() {
    gScripted = false;
    gScriptPhysical = false;
    gHeldCount = 0;
    std::memset(gScriptKeys, 0, sizeof gScriptKeys);
}

void Plat_SetInputBlocked(bool blocked) { gBlocked = blocked; }
bool Plat_InputBlocked() { return gBlocked; }
