// Stand-ins for shell, render and platform services that are being built
// on another branch. All weak: the real definitions win as soon as they are
// linked in. Delete each one once its real code is on main.
#include <cstdio>
#include <cstring>
#include <string>
#include <unistd.h>

#include "platform/files.h"
#include "platform/input.h"
#include "platform/msgbox.h"
#include "render/render.h"
#include "shell/shell.h"

#define WEAK __attribute__((weak))

WEAK float FrameStep;
WEAK float SpeedAdjust;
WEAK SurfaceData Bitmap[200];

WEAK bool Error(const char* text) {
    Plat_MessageBox(text, "エラー発生");
    return false;
}

static bool sHeadless;
WEAK void Plat_SetHeadless(bool headless) { sHeadless = headless; }
WEAK bool Plat_IsHeadless() { return sHeadless; }
WEAK void Plat_MessageBox(const char* text, const char* caption) {
    std::fprintf(stderr, "[%s] %s\n", caption, text);
}

static bool sKeys[256];
WEAK bool Plat_KeyDown(int vk) { return vk >= 0 && vk < 256 && sKeys[vk]; }
WEAK void Plat_SetScriptedKeys(const bool* down256) { std::memcpy(sKeys, down256, sizeof sKeys); }
WEAK void Plat_ClearScriptedKeys() { std::memset(sKeys, 0, sizeof sKeys); }

WEAK const char* Plat_ProgramDir() { return "./"; }
WEAK long Plat_ReadFile(const char* path, void* buf, size_t max) {
    FILE* f = std::fopen(path, "rb");
    if (!f) return -1;
    long n = (long)std::fread(buf, 1, max, f);
    std::fclose(f);
    return n;
}
WEAK bool Plat_WriteFileAtomic(const char* path, const void* data, size_t size) {
    std::string tmp = std::string(path) + ".tmp";
    FILE* f = std::fopen(tmp.c_str(), "wb");
    if (!f) return false;
    bool ok = std::fwrite(data, 1, size, f) == size;
    ok = (std::fflush(f) == 0) && ok;
    ok = (fsync(fileno(f)) == 0) && ok;
    ok = (std::fclose(f) == 0) && ok;
    if (!ok || std::rename(tmp.c_str(), path) != 0) {
        std::remove(tmp.c_str());
        return false;
    }
    return true;
}

WEAK void DD_DrawBitmap(int, int, SurfaceData&, int, int, int, int) {}
