#include "config/replayfile.h"

#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

bool ParseLine(const char* line, ReplayEvent* ev) {
    char kind;
    int used = 0;
    if (std::sscanf(line, "%ld %c %n", &ev->frame, &kind, &used) < 2 || ev->frame < 1) return false;
    const char* rest = line + used;
    switch (kind) {
    case 'K': ev->kind = EV_KEYS; return std::sscanf(rest, "%" SCNx32, &ev->a) == 1;
    case 'P': ev->kind = EV_PRESS; return std::sscanf(rest, "%" SCNx32, &ev->a) == 1 && ev->a <= 255;
    case 'O': ev->kind = EV_OPEN; return std::sscanf(rest, "%" SCNu32, &ev->a) == 1 && ev->a <= 1;
    case 'J':
        ev->kind = EV_JOY;
        return std::sscanf(rest, "%" SCNu32 " %d %d %" SCNx32, &ev->a, &ev->x, &ev->y, &ev->buttons) == 4 && ev->a <= 2;
    case 'H': ev->kind = EV_HASH; return std::sscanf(rest, "%" SCNx64, &ev->hash) == 1;
    default: return false;
    }
}

bool Hex(const char* s, std::vector<uint8_t>* out) {
    size_t n = std::strlen(s);
    if (n % 2) return false;
    out->resize(n / 2);
    for (size_t i = 0; i < n / 2; i++) {
        int v = 0;
        for (int k = 0; k < 2; k++) {
            char c = s[2 * i + k];
            int d = c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
            if (d < 0) return false;
            v = v * 16 + d;
        }
        (*out)[i] = (uint8_t)v;
    }
    return true;
}

int Int(const char* s) { return (int)std::strtol(s, nullptr, 10); }

}  // namespace

bool ReplayFile_Parse(const char* text, size_t size, const char* path, ReplayParsed* out, bool quiet) {
    *out = ReplayParsed();
    auto Problem = [&](const std::string& text) {
        if (!quiet) std::fprintf(stderr, "quellstorm: %s\n", text.c_str());
    };
    ReplayInfo& info = out->info;
    std::string line;
    int lineNo = 0;
    bool ok = true;
    size_t pos = 0;
    auto bad = [&](const std::string& what) {
        info.problem = std::string("replay ") + path + ", line " + std::to_string(lineNo) + ": " + what;
        Problem(info.problem);
        ok = false;
    };
    while (ok && pos < size) {
        size_t len = 0;
        while (pos + len < size && text[pos + len] != '\n') len++;
        // A last line without its newline was cut short by a recording
        // that stopped mid-write: its frame number or fingerprint may be
        // whole-looking but wrong, so it does not count.
        if (pos + len == size && lineNo > 0) break;
        line.assign(text + pos, len);
        pos += len + 1;
        lineNo++;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.find('\0') != std::string::npos) {
            bad("not a line of text");
            break;
        }
        const char* l = line.c_str();
        if (lineNo == 1) {
            if (std::sscanf(l, "QSREPLAY %d", &info.format) != 1 || info.format < 1 || info.format > REPLAY_FORMAT) {
                info.problem = std::string(path) + " is not a replay of format 1 to " + std::to_string(REPLAY_FORMAT);
                Problem(info.problem);
                ok = false;
            }
            continue;
        }
        if (!*l) continue;
        if (*l >= '0' && *l <= '9') {
            ReplayEvent ev = {};
            if (!ParseLine(l, &ev)) {
                bad("cannot read '" + line.substr(0, 80) + "'");
            } else if (!out->events.empty() && ev.frame < out->events.back().frame) {
                bad("frames out of order");
            } else {
                out->events.push_back(ev);
            }
            continue;
        }
        // A header line: its key, a space, its value.
        size_t sp = line.find(' ');
        std::string key = line.substr(0, sp);
        const char* v = sp == std::string::npos ? "" : l + sp + 1;
        if (key == "end") out->end = std::strtol(v, nullptr, 10);
        else if (key == "sim") info.sim = Int(v);
        else if (key == "date") info.date = v;
        else if (key == "difficulty") info.difficulty = Int(v);
        else if (key == "lives") info.lives = Int(v);
        else if (key == "bombs") info.bombs = Int(v);
        else if (key == "start-stage") info.startStage = Int(v);
        else if (key == "score") info.score = std::strtoll(v, nullptr, 10);
        else if (key == "stage") info.stage = Int(v);
        else if (key == "staff-roll") info.staffRoll = Int(v);
        else if (key == "frames") info.frames = std::strtol(v, nullptr, 10);
        else if (key == "speed") info.speed = std::strtod(v, nullptr);
        else if (key == "invincible") info.invincible = Int(v) != 0;
        else if (key == "stage-option") info.stageOption = Int(v) != 0;
        else if (key == "bot") info.bot = Int(v) != 0;
        else if (key == "state") {
            if (!Hex(v, &out->state) || out->state.empty()) bad("a broken game state");
            info.game = true;
        } else if (key == "dat") {
            if (!Hex(v, &out->dat) || out->dat.size() != 1088) bad("a broken score record");
        }
        // Other keys (game, hash-every, and those of later versions) say
        // nothing the playback needs.
    }
    if (lineNo == 0) {
        info.problem = std::string(path) + " is empty";
        Problem(info.problem);
        ok = false;
    }
    // A file cut before its sim line says nothing either way.
    if (ok && info.format >= 2 && info.sim != 0 && info.sim != REPLAY_SIM) {
        info.problem = std::string(path) + " was recorded with simulation version " + std::to_string(info.sim) +
                       "; this game is version " + std::to_string(REPLAY_SIM) + " and plays it differently";
        Problem(info.problem);
        ok = false;
    }
    if (!ok) {
        out->events.clear();
        return false;
    }
    info.complete = out->end >= 0;
    if (out->end < 0) {
        // No end line: the recording's process died. Its frames are whole
        // up to the one before the last frame it wrote anything for, and
        // including that one when its last line is that frame's
        // fingerprint (the last thing written for a frame).
        if (out->events.empty()) out->lastWhole = 0;
        else out->lastWhole = out->events.back().kind == EV_HASH ? out->events.back().frame : out->events.back().frame - 1;
    }
    long last = out->end >= 0 ? out->end : out->lastWhole;
    if (info.frames < 0 || !info.complete) info.frames = last;
    return true;
}


bool ReplayFile_Inspect(const char* text, size_t size, ReplayInfo* out) {
    ReplayParsed p;
    bool ok = ReplayFile_Parse(text, size, "the file", &p, true);
    *out = p.info;
    if (ok && out->frames <= 0 && !out->complete) {
        out->problem = "it holds no whole frame";
        ok = false;
    }
    return ok;
}
