// Window events and the keyboard, translated to the old virtual-key codes.
#include "platform/events.h"
#include "platform/input.h"
#include "platform/plat_internal.h"

#include <cstring>

namespace {

// Key-down events the game may see: one table, main-keyboard keys only
// (the keypad digits are not speed keys).
struct KeyMap {
    SDL_Keycode sdl;
    int vk;
};
const KeyMap kKeys[] = {
    {SDLK_ESCAPE, VK_ESCAPE}, {SDLK_1, VK_1},       {SDLK_2, VK_2},         {SDLK_3, VK_3},
    {SDLK_q, VK_Q},           {SDLK_w, VK_W},       {SDLK_e, VK_E},         {SDLK_c, VK_C},
    {SDLK_z, VK_Z},           {SDLK_LEFT, VK_LEFT}, {SDLK_RIGHT, VK_RIGHT}, {SDLK_UP, VK_UP},
    {SDLK_DOWN, VK_DOWN},     {SDLK_SPACE, VK_SPACE}, {SDLK_LSHIFT, VK_SHIFT}, {SDLK_RSHIFT, VK_SHIFT},
    {SDLK_F2, VK_F2},
};

const int kQueue = 64;
int gPushed[kQueue];
int gPushHead, gPushCount;

bool gScripted;
bool gScriptKeys[256];

}  // namespace

int PlatI_KeyToVK(SDL_Keycode key) {
    for (const KeyMap& k : kKeys)
        if (k.sdl == key) return k.vk;
    return 0;
}

void Plat_PushKeyDown(int key) {
    if (gPushCount == kQueue) return;
    gPushed[(gPushHead + gPushCount) % kQueue] = key;
    gPushCount++;
}

bool Plat_PollEvent(PlatEvent* ev) {
    ev->type = PLAT_EV_NONE;
    ev->key = ev->x = ev->y = 0;
    if (gPushCount) {
        ev->type = PLAT_EV_KEYDOWN;
        ev->key = gPushed[gPushHead];
        gPushHead = (gPushHead + 1) % kQueue;
        gPushCount--;
        return true;
    }
    if (!SDL_WasInit(SDL_INIT_EVENTS)) return false;
    SDL_Event e;
    while (SDL_PollEvent(&e)) {
        if (e.type == SDL_QUIT) {
            ev->type = PLAT_EV_QUIT;
            return true;
        }
        if (e.type == SDL_KEYDOWN) {
            int vk = PlatI_KeyToVK(e.key.keysym.sym);
            if (!vk || (gScripted && vk != VK_ESCAPE)) continue;  // a replay owns the keys; Escape still quits
            ev->type = PLAT_EV_KEYDOWN;
            ev->key = vk;
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
    }
    return false;
}

bool Plat_KeyDown(int vk) {
    if (vk < 0 || vk > 255) return false;
    if (gScripted) return gScriptKeys[vk];
    if (!SDL_WasInit(SDL_INIT_VIDEO)) return false;
    const Uint8* ks = SDL_GetKeyboardState(nullptr);
    switch (vk) {
    case VK_SHIFT: return ks[SDL_SCANCODE_LSHIFT] || ks[SDL_SCANCODE_RSHIFT];
    case VK_SPACE: return ks[SDL_SCANCODE_SPACE];
    case VK_LEFT: return ks[SDL_SCANCODE_LEFT];
    case VK_RIGHT: return ks[SDL_SCANCODE_RIGHT];
    case VK_UP: return ks[SDL_SCANCODE_UP];
    case VK_DOWN: return ks[SDL_SCANCODE_DOWN];
    case VK_ESCAPE: return ks[SDL_SCANCODE_ESCAPE];
    case VK_Z: return ks[SDL_SCANCODE_Z];
    case VK_C: return ks[SDL_SCANCODE_C];
    default: return false;
    }
}

void Plat_SetScriptedKeys(const bool* down256) {
    gScripted = true;
    std::memcpy(gScriptKeys, down256, sizeof gScriptKeys);
}

void Plat_ClearScriptedKeys() {
    gScripted = false;
    std::memset(gScriptKeys, 0, sizeof gScriptKeys);
}
