#include "shell/script.h"
#include "platform/events.h"
#include "platform/input.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

const int kMaxLines = 20000;
struct ScriptLine {
    long frame;
    bool press;  // key-down event (else a held set)
    bool keys[256];
};
ScriptLine* gLines;
int gCount;
int gNext;
bool gActive;

int KeyCode(const char* name) {
    static const struct {
        const char* name;
        int vk;
    } names[] = {{"UP", VK_UP},       {"DOWN", VK_DOWN},   {"LEFT", VK_LEFT}, {"RIGHT", VK_RIGHT},
                 {"SPACE", VK_SPACE}, {"SHIFT", VK_SHIFT}, {"ESC", VK_ESCAPE}, {"Z", VK_Z},
                 {"C", VK_C},         {"Q", VK_Q},         {"W", VK_W},        {"E", VK_E},
                 {"1", VK_1},         {"2", VK_2},         {"3", VK_3},
                 {"F2", VK_F2}};
    for (auto& n : names)
        if (std::strcmp(n.name, name) == 0) return n.vk;
    return -1;
}

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
            int vk = KeyCode(k);
            if (vk < 0) {
                std::fprintf(stderr, "QUELLSTORM: input script %s, line %d: unknown key '%s'\n", path, lineNo, k);
                ok = false;
                break;
            }
            l.keys[vk] = true;
            n++;
        }
        if (ok && l.press && n != 1) {
            std::fprintf(stderr, "QUELLSTORM: input script %s, line %d: 'press' takes one key\n", path, lineNo);
            ok = false;
        }
        gCount++;
    }
    std::fclose(f);
    gActive = ok;
    gNext = 0;
    if (ok) {
        bool none[256] = {};
        Plat_SetScriptedKeys(none);
    }
    return ok;
}

bool Script_Active() { return gActive; }

void Script_BeginFrame(long frame) {
    if (!gActive) return;
    while (gNext < gCount && gLines[gNext].frame <= frame) {
        const ScriptLine& l = gLines[gNext++];
        if (l.press) {
            for (int k = 0; k < 256; k++)
                if (l.keys[k]) Plat_PushKeyDown(k);
        } else {
            Plat_SetScriptedKeys(l.keys);
        }
    }
}
