// Keyboard keys by name, for the settings file, the settings page and the
// input scripts.
#include "platform/input.h"

#include <SDL.h>

int Plat_KeyFromName(const char* name) {
    if (!name || !*name) return 0;
    if (!SDL_strcasecmp(name, "Shift")) return SDLK_LSHIFT;  // either Shift, as the game has always read it
    if (!SDL_strcasecmp(name, "Esc")) return SDLK_ESCAPE;
    if (!SDL_strcasecmp(name, "Enter")) return SDLK_RETURN;
    SDL_Keycode k = SDL_GetKeyFromName(name);
    return k == SDLK_UNKNOWN ? 0 : (int)k;
}

const char* Plat_KeyName(int key) {
    if (key == SDLK_LSHIFT) return "Shift";
    return key ? SDL_GetKeyName((SDL_Keycode)key) : "";
}
