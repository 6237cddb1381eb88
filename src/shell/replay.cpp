#include "shell/replay.h"
#include "config/options.h"
#include "game/statehash.h"
#include "platform/events.h"
#include "platform/files.h"
#include "platform/input.h"
#include "player/player.h"

#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

// The keys the game polls, one bit each.
const int kPolled[] = {VK_UP, VK_DOWN, VK_LEFT, VK_RIGHT, VK_SPACE, VK_SHIFT};
const int kPolledCount = 6;

enum Kind { EV_KEYS, EV_PRESS, EV_OPEN, EV_JOY, EV_HASH };
struct Event {
    long frame;
    Kind kind;
    uint32_t a;  // keys mask, key code, open outcome, joystick result
    int x, y;
    uint32_t buttons;
    uint64_t hash;
};

FILE* gOut;
std::vector<Event> gEvents;  // playback, loaded at start-up
std::vector<uint8_t> gDat;
size_t gNext;
bool gPlaying, gVerify;
long gEnd = -1;
long gLastWhole = -1;  // a recording without its end line: its last whole frame
int gExit;
std::string gPath;
bool gInvincible;  // the recording was made with the ship held invincible

uint32_t gLastKeys = 0xFFFFFFFF;
int gLastRes = -1;  // none recorded yet
PlatJoyState gLastJoy;

uint32_t ButtonsMask(const PlatJoyState& s) {
    uint32_t m = 0;
    for (int i = 0; i < 32; i++)
        if (s.buttons[i]) m |= 1u << i;
    return m;
}

bool ParseLine(char* line, Event* ev, int lineNo, const char* path) {
    char kind;
    int used = 0;
    if (std::sscanf(line, "%ld %c %n", &ev->frame, &kind, &used) < 2 || ev->frame < 1) goto bad;
    {
        const char* rest = line + used;
        switch (kind) {
        case 'K': ev->kind = EV_KEYS; if (std::sscanf(rest, "%" SCNx32, &ev->a) != 1) goto bad; return true;
        case 'P': ev->kind = EV_PRESS; if (std::sscanf(rest, "%" SCNx32, &ev->a) != 1 || ev->a > 255) goto bad; return true;
        case 'O': ev->kind = EV_OPEN; if (std::sscanf(rest, "%" SCNu32, &ev->a) != 1 || ev->a > 1) goto bad; return true;
        case 'J':
            ev->kind = EV_JOY;
            if (std::sscanf(rest, "%" SCNu32 " %d %d %" SCNx32, &ev->a, &ev->x, &ev->y, &ev->buttons) != 4 || ev->a > 2)
                goto bad;
            return true;
        case 'H': ev->kind = EV_HASH; if (std::sscanf(rest, "%" SCNx64, &ev->hash) != 1) goto bad; return true;
        default: break;
        }
    }
bad:
    if (!ReplayQuiet) std::fprintf(stderr, "quellstorm: replay %s, line %d: cannot read '%s'\n", path, lineNo, line);
    return false;
}

// Playback has reached the last whole frame of a recording without its end.
void ReportIncomplete(long frame) {
    std::fprintf(stderr,
                 "quellstorm: the replay %s is incomplete (its recording stopped without its end line); "
                 "it was played up to frame %ld, its last whole frame\n",
                 gPath.c_str(), frame);
    gExit = REPLAY_EXIT_INCOMPLETE;
}

}  // namespace

bool Replay_Record(const char* path) {
    gOut = std::fopen(path, "w");
    if (!gOut) {
        std::fprintf(stderr, "quellstorm: cannot write the replay %s\n", path);
        return false;
    }
    std::fprintf(gOut, "QSREPLAY %d\ngame QUELLSTORM 1\nhash-every %d\n", REPLAY_FORMAT, REPLAY_HASH_EVERY);
    // The testing aid changes the game, so a run made with it says so.
    if (Options.invincible) std::fprintf(gOut, "invincible 1\n");
    Plat_JoySetTape(PLAT_JOY_FROZEN);
    return true;
}

bool ReplayQuiet;

bool Replay_Parse(const char* text, size_t size, const char* path) {
    gInvincible = false;
    gEvents.clear();
    gDat.clear();
    gEnd = -1;
    gLastWhole = -1;
    static char line[4096];
    int lineNo = 0, version = 0, every = 0;
    bool ok = true;
    size_t pos = 0;
    while (ok && pos < size) {
        size_t len = 0;
        while (pos + len < size && text[pos + len] != '\n') len++;
        // A last line without its newline was cut short by a recording
        // that stopped mid-write: its frame number or fingerprint may be
        // whole-looking but wrong, so it does not count.
        if (pos + len == size && lineNo > 0) break;
        size_t keep = len < sizeof line - 1 ? len : sizeof line - 1;
        std::memcpy(line, text + pos, keep);
        line[keep] = 0;
        pos += len + 1;
        lineNo++;
        line[std::strcspn(line, "\r")] = 0;
        if (lineNo == 1) {
            if (std::sscanf(line, "QSREPLAY %d", &version) != 1 || version != REPLAY_FORMAT) {
                if (!ReplayQuiet) std::fprintf(stderr, "quellstorm: %s is not a replay of format %d\n", path, REPLAY_FORMAT);
                ok = false;
            }
            continue;
        }
        if (!line[0] || std::strncmp(line, "game ", 5) == 0) continue;
        if (std::sscanf(line, "hash-every %d", &every) == 1) continue;
        if (std::sscanf(line, "end %ld", &gEnd) == 1) continue;
        if (std::strcmp(line, "invincible 1") == 0) {
            gInvincible = true;
            continue;
        }
        if (std::strncmp(line, "dat ", 4) == 0) {
            gDat.clear();
            for (int i = 0; i < 1088 && ok; i++) {
                unsigned v;
                if (std::strlen(line + 4) < (size_t)(2 * i + 2) || std::sscanf(line + 4 + 2 * i, "%2x", &v) != 1)
                    ok = false;
                else
                    gDat.push_back((uint8_t)v);
            }
            if (!ok && !ReplayQuiet) std::fprintf(stderr, "quellstorm: replay %s, line %d: a broken score record\n", path, lineNo);
            continue;
        }
        Event ev = {};
        ok = ParseLine(line, &ev, lineNo, path);
        if (ok && !gEvents.empty() && ev.frame < gEvents.back().frame) {
            if (!ReplayQuiet) std::fprintf(stderr, "quellstorm: replay %s, line %d: frames out of order\n", path, lineNo);
            ok = false;
        }
        if (ok) gEvents.push_back(ev);
    }
    if (lineNo == 0) {
        if (!ReplayQuiet) std::fprintf(stderr, "quellstorm: %s is empty\n", path);
        ok = false;
    }
    if (!ok) {
        gEvents.clear();
        gDat.clear();
    }
    if (ok && gEnd < 0) {
        // No end line: the recording's process died. Its frames are whole
        // up to the one before the last frame it wrote anything for, and
        // including that one when its last line is that frame's
        // fingerprint (the last thing written for a frame).
        if (gEvents.empty()) gLastWhole = 0;
        else gLastWhole = gEvents.back().kind == EV_HASH ? gEvents.back().frame : gEvents.back().frame - 1;
    }
    return ok;
}

bool Replay_Play(const char* path, bool verify) {
    long size;
    unsigned char* text = Plat_ReadWholeFile(path, &size, 256L * 1024 * 1024);
    if (!text) {
        std::fprintf(stderr, "quellstorm: cannot open the replay %s\n", path);
        return false;
    }
    bool ok = Replay_Parse(reinterpret_cast<const char*>(text), (size_t)size, path);
    Plat_FreeFile(text);
    if (!ok) return false;
    gPlaying = true;
    gVerify = verify;
    gPath = path;
    if (gLastWhole == 0) ReportIncomplete(0);
    if (gInvincible) Options.invincible = true;
    bool none[256] = {};
    Plat_SetScriptedKeys(none);
    Plat_JoySetTape(PLAT_JOY_REPLAY);
    return true;
}

bool Replay_Recording() { return gOut != nullptr; }
bool Replay_Playing() { return gPlaying; }

void Replay_BeginFrame(long frame) {
    if (gPlaying) {
        while (gNext < gEvents.size() && gEvents[gNext].frame <= frame && gEvents[gNext].kind != EV_HASH) {
            const Event& ev = gEvents[gNext++];
            if (ev.kind == EV_KEYS) {
                bool down[256] = {};
                for (int i = 0; i < kPolledCount; i++) down[kPolled[i]] = (ev.a >> i) & 1;
                Plat_SetScriptedKeys(down);
            } else if (ev.kind == EV_PRESS) {
                Plat_PushKeyDown((int)ev.a);
            } else if (ev.kind == EV_OPEN) {
                Plat_JoyQueueOpen(ev.a != 0);
            } else if (ev.kind == EV_JOY) {
                PlatJoyState st = {};
                st.x = ev.x;
                st.y = ev.y;
                for (int i = 0; i < 32; i++) st.buttons[i] = (ev.buttons >> i) & 1 ? 0x80 : 0;
                Plat_JoySetSnapshot((PlatJoyResult)ev.a, &st);
            }
        }
    }
}

void Replay_SampleInputs(long frame) {
    if (!gOut) return;
    uint32_t keys = 0;
    for (int i = 0; i < kPolledCount; i++)
        if (Plat_KeyDown(kPolled[i])) keys |= 1u << i;
    if (keys != gLastKeys) std::fprintf(gOut, "%ld K %" PRIx32 "\n", frame, keys);
    gLastKeys = keys;
    PlatJoyState st = {};
    PlatJoyResult res = Plat_JoyReadLive(&st);
    if (res != PLAT_JOY_OK) st = PlatJoyState();
    Plat_JoySetSnapshot(res, &st);
    if ((int)res != gLastRes || st.x != gLastJoy.x || st.y != gLastJoy.y || ButtonsMask(st) != ButtonsMask(gLastJoy))
        std::fprintf(gOut, "%ld J %d %d %d %" PRIx32 "\n", frame, (int)res, st.x, st.y, ButtonsMask(st));
    gLastRes = (int)res;
    gLastJoy = st;
}

bool Replay_EndFrame(long frame) {
    if (gOut) {
        bool opens[16];
        int n = Plat_JoyTakeOpens(opens, 16);
        // Opens happen inside the frame; playback queues them before it.
        for (int i = 0; i < n; i++) std::fprintf(gOut, "%ld O %d\n", frame, opens[i] ? 1 : 0);
        if (frame % REPLAY_HASH_EVERY == 0) std::fprintf(gOut, "%ld H %016" PRIx64 "\n", frame, Game_StateHash());
        // On disk at least every second of play: a run that is killed or
        // crashes leaves a recording that plays up to here.
        if (frame % REPLAY_FLUSH_EVERY == 0) std::fflush(gOut);
        return true;
    }
    if (!gPlaying) return true;
    while (gNext < gEvents.size() && gEvents[gNext].frame <= frame && gEvents[gNext].kind == EV_HASH) {
        const Event& ev = gEvents[gNext++];
        if (gVerify && ev.frame == frame) {
            uint64_t now = Game_StateHash();
            if (now != ev.hash) {
                std::fprintf(stderr, "quellstorm: replay differs from its recording at frame %ld (state %016" PRIx64
                                     ", recorded %016" PRIx64 "); it first matched up to frame %ld\n",
                             frame, now, ev.hash, frame - REPLAY_HASH_EVERY);
                gExit = REPLAY_EXIT_DIFFERS;
                return false;
            }
        }
    }
    if (gLastWhole >= 0 && frame >= gLastWhole) {
        ReportIncomplete(frame);
        return false;
    }
    return gEnd < 0 || frame < gEnd;
}

void Replay_KeyDown(long frame, int vk) {
    if (gOut) std::fprintf(gOut, "%ld P %x\n", frame, vk);
}

void Replay_FilterDat(uint8_t* bytes) {
    if (gOut) {
        std::fprintf(gOut, "dat ");
        for (int i = 0; i < 1088; i++) std::fprintf(gOut, "%02x", bytes[i]);
        std::fprintf(gOut, "\n");
    } else if (gPlaying && gDat.size() == 1088) {
        std::memcpy(bytes, gDat.data(), 1088);
    }
}

void Replay_Flush() {
    if (gOut) std::fflush(gOut);
}

void Replay_Close(long lastFrame) {
    if (!gOut) return;
    std::fprintf(gOut, "end %ld\n", lastFrame);
    std::fclose(gOut);
    gOut = nullptr;
}

int Replay_ExitCode() { return gExit; }
