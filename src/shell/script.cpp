#include "shell/script.h"
#include "platform/events.h"
#include "platform/input.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

const int kMaxLines = 20000;
const int kMaxKeys = 16;
// A script names keyboard keys ("SPACE", "Z", "F1", "X"...): the player's
// bindings turn them into game keys, as they do the real keyboard's.
struct ScriptLine {
    long frame;
    bool press;  // key-down event (else a held set)
    int n;
    int keys[kMaxKeys];
};
ScriptLine* gLines;
int gCount;
int gNext;
bool gActive;

}  // namespace

bool Script_Load(const char* path) {
    FILE* f = std::fopen(path, "r");
    if (!f) {
        std::fprintf(stderr, "QUELLSTORM: cannot open input script %s\n", path);
        return false;
    }
    if (!gLines) gLines = static_cast<ScriptLine*>(std::calloc(kMaxLines, sizeof(ScriptLine)));
    gCount = 0;
    char buf[512];
    int lineNo = 0;
    long lastFrame = 0;
    bool ok = gLines != nullptr;
    while (ok && std::fgets(buf, sizeof buf, f)) {
        lineNo++;
        char* hash = std::strchr(buf, '#');
        if (hash) *hash = 0;
        char* tok = std::strtok(buf, " \t\r\n");
        if (!tok) continue;
        char* end;
        long frame = std::strtol(tok, &end, 10);
        char* verb = std::strtok(nullptr, " \t\r\n");
        if (*end || frame < 1 || frame < lastFrame || !verb ||
            (std::strcmp(verb, "hold") != 0 && std::strcmp(verb, "press") != 0) || gCount == kMaxLines) {
            std::fprintf(stderr, "QUELLSTORM: input script %s, line %d: expected '<frame> hold|press KEY...' "
                                 "with frames in increasing order\n", path, lineNo);
            ok = false;
            break;
        }
        lastFrame = frame;
        ScriptLine& l = gLines[gCount];
        std::memset(&l, 0, sizeof l);
        l.frame = frame;
        l.press = verb[0] == 'p';
        int n = 0;
        for (char* k = std::strtok(nullptr, " \t\r\n"); k; k = std::strtok(nullptr, " \t\r\n")) {
            int key = Plat_KeyFromName(k);
            if (!key || n == kMaxKeys) {
                std::fprintf(stderr, "QUELLSTORM: input script %s, line %d: unknown key '%s'\n", path, lineNo, k);
                ok = false;
                break;
            }
            l.keys[n++] = key;
        }
        l.n = n;
        if (ok && l.press && n != 1) {
            std::fprintf(stderr, "QUELLSTORM: input script %s, line %d: 'press' takes one key\n", path, lineNo);
            ok = false;
        }
        gCount++;
    }
    std::fclose(f);
    gActive = ok;
    gNext = 0;
    if (ok) Plat_SetScriptedPhysical(nullptr, 0);
    return ok;
}

bool Script_Active() { return gActive; }

void Script_BeginFrame(long frame) {
    if (!gActive) return;
    while (gNext < gCount && gLines[gNext].frame <= frame) {
        const ScriptLine& l = gLines[gNext++];
        if (l.press) Plat_PushPhysicalKey(l.keys[0]);
        else Plat_SetScriptedPhysical(l.keys, l.n);
    }
}
