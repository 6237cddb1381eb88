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
enum LineKind { LINE_HOLD, LINE_PRESS, LINE_TEXT };
struct ScriptLine {
    long frame;
    LineKind kind;
    int n;
    union {
        int keys[kMaxKeys];
        char text[kMaxKeys * sizeof(int)];  // LINE_TEXT, NUL-terminated
    };
};

// "<frame> text ..." : the text is the rest of the line after one space,
// as it is ('#' included). Null when the line is no text line.
const char* TextOfLine(const char* line, long* frame) {
    char* end;
    *frame = std::strtol(line, &end, 10);
    if (end == line || (*end != ' ' && *end != '\t')) return nullptr;
    while (*end == ' ' || *end == '\t') end++;
    if (std::strncmp(end, "text", 4) || (end[4] != ' ' && end[4] != '\t' && end[4] != '\n' && end[4] && end[4] != '\r'))
        return nullptr;
    return end + 4 + (end[4] == ' ' || end[4] == '\t');
}
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
        long textFrame;
        if (const char* text = TextOfLine(buf, &textFrame)) {
            size_t n = std::strcspn(text, "\r\n");
            if (textFrame < 1 || textFrame < lastFrame || !n || n >= sizeof gLines[0].text || gCount == kMaxLines) {
                std::fprintf(stderr, "QUELLSTORM: input script %s, line %d: expected '<frame> text TEXT' with 1 to %d "
                                     "bytes of text and frames in increasing order\n",
                             path, lineNo, (int)sizeof gLines[0].text - 1);
                ok = false;
                break;
            }
            lastFrame = textFrame;
            ScriptLine& l = gLines[gCount++];
            std::memset(&l, 0, sizeof l);
            l.frame = textFrame;
            l.kind = LINE_TEXT;
            std::memcpy(l.text, text, n);
            continue;
        }
        char* hash = std::strchr(buf, '#');
        if (hash) *hash = 0;
        char* tok = std::strtok(buf, " \t\r\n");
        if (!tok) continue;
        char* end;
        long frame = std::strtol(tok, &end, 10);
        char* verb = std::strtok(nullptr, " \t\r\n");
        if (*end || frame < 1 || frame < lastFrame || !verb ||
            (std::strcmp(verb, "hold") != 0 && std::strcmp(verb, "press") != 0) || gCount == kMaxLines) {
            std::fprintf(stderr, "QUELLSTORM: input script %s, line %d: expected '<frame> hold|press KEY...' or "
                                 "'<frame> text TEXT' "
                                 "with frames in increasing order\n", path, lineNo);
            ok = false;
            break;
        }
        lastFrame = frame;
        ScriptLine& l = gLines[gCount];
        std::memset(&l, 0, sizeof l);
        l.frame = frame;
        l.kind = verb[0] == 'p' ? LINE_PRESS : LINE_HOLD;
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
        if (ok && l.kind == LINE_PRESS && n != 1) {
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
        if (l.kind == LINE_PRESS) Plat_PushPhysicalKey(l.keys[0]);
        else if (l.kind == LINE_TEXT) Plat_PushText(l.text);
        else Plat_SetScriptedPhysical(l.keys, l.n);
    }
}
