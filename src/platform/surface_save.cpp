// Writing a surface to disk (screenshots for tests and players).
#include "platform/display.h"
#include "platform/plat_internal.h"

#include <SDL_image.h>
#include <cstring>
#include <strings.h>

bool Plat_SurfaceSave(PlatSurface* s, const char* path) {
    if (!s || !path) return false;
    SDL_Surface* view = SDL_CreateRGBSurfaceWithFormatFrom(
        Plat_SurfacePixels(s), Plat_SurfaceWidth(s), Plat_SurfaceHeight(s), 16,
        Plat_SurfacePitch(s), SDL_PIXELFORMAT_RGB565);
    if (!view) return false;
    SDL_Surface* rgb = SDL_ConvertSurfaceFormat(view, SDL_PIXELFORMAT_RGB24, 0);
    SDL_FreeSurface(view);
    if (!rgb) return false;
    size_t n = std::strlen(path);
    bool bmp = n >= 4 && strcasecmp(path + n - 4, ".bmp") == 0;
    int rc = bmp ? SDL_SaveBMP(rgb, path) : IMG_SavePNG(rgb, path);
    SDL_FreeSurface(rgb);
    return rc == 0;
}
