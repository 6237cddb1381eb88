// The window's icon, from one of the game's own icon files.
#include "platform/icon.h"
#include "platform/plat_internal.h"

#include <SDL_image.h>

bool Plat_SetWindowIcon(const char* path) {
    SDL_Window* w = PlatI_Window();
    if (!w || !path) return false;
    SDL_Surface* s = IMG_Load(path);
    if (!s) return false;
    SDL_SetWindowIcon(w, s);
    SDL_FreeSurface(s);
    return true;
}
