#include "config/replayfile.h"
#include "platform/files.h"

#include <cerrno>
#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>

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

// A whole number in decimal, nothing else on the line, from lo to hi.
bool Whole(const char* s, long long lo, long long hi, long long* out) {
    const char* p = s;
    if (*p == '-') p++;
    if (*p < '0' || *p > '9') return false;
    errno = 0;
    char* end = nullptr;
    long long v = std::strtoll(s, &end, 10);
    if (errno || *end || v < lo || v > hi) return false;
    *out = v;
    return true;
}

// `count` whole numbers from lo to hi, one space apart.
bool Wholes(const char* s, int count, long long lo, long long hi, int* out) {
    for (int i = 0; i < count; i++) {
        const char* p = s;
        while (*p >= '0' && *p <= '9') p++;
        if (p == s || p - s > 12 || (i < count - 1 ? *p != ' ' : *p != '\0')) return false;
        std::string one(s, p);
        long long v;
        if (!Whole(one.c_str(), lo, hi, &v)) return false;
        out[i] = (int)v;
        s = *p ? p + 1 : p;
    }
    return true;
}

// The typed start of a one-game file: each value named, in its range;
// the name of the first missing or unreadable one, else null.
const char* TypedStart(const std::map<std::string, std::string>& kv, GameStart* s) {
    long long v;
    auto get = [&](const char* key, long long lo, long long hi) -> bool {
        auto it = kv.find(key);
        return it != kv.end() && Whole(it->second.c_str(), lo, hi, &v);
    };
    struct IntKey {
        const char* key;
        int* out;
        int lo, hi;
    } ints[] = {
        {"difficulty", &s->difficulty, 0, 3},  {"lives", &s->lives, 1, 99},
        {"bombs", &s->bombs, 1, 6},            {"start-stage", &s->startStage, 1, 5},
        {"stage-option", &s->stageOption, 0, 5}, {"speed-steps", &s->speedSteps, 0, GAMESTART_SPEED_MAX},
        {"paused", &s->paused, 0, 1},          {"joystick", &s->joystick, 0, 1},
        {"record-plays", &s->plays, 0, GAMESTART_COUNT_MAX}, {"record-deaths", &s->deaths, 0, GAMESTART_COUNT_MAX},
        {"record-clears", &s->clears, 0, GAMESTART_COUNT_MAX},
    };
    for (const IntKey& k : ints) {
        if (!get(k.key, k.lo, k.hi)) return k.key;
        *k.out = (int)v;
    }
    if (!get("invincible", 0, 1)) return "invincible";
    s->invincible = v != 0;
    if (!get("clock", 0, 0xFFFFFFFFLL)) return "clock";
    s->clock = (uint32_t)v;
    if (!get("record-hiscore", 0, GAMESTART_HISCORE_MAX)) return "record-hiscore";
    s->hiscore = v;
    auto random = kv.find("random");
    if (random == kv.end()) return "random";
    {
        const char* r = random->second.c_str();
        size_t n = std::strlen(r);
        if (n < 1 || n > 8 || std::strspn(r, "0123456789abcdef") != n) return "random";
        s->random = (uint32_t)std::strtoul(r, nullptr, 16);
    }
    auto keys = kv.find("keys");
    if (keys == kv.end() || !Wholes(keys->second.c_str(), GAMESTART_KEYS, 0, 3, s->keys)) return "keys";
    auto pad = kv.find("pad");
    if (pad == kv.end() || !Wholes(pad->second.c_str(), GAMESTART_PAD, 0, 3, s->pad)) return "pad";
    // A practice run's marks, absent in a game of its own.
    auto practice = kv.find("practice");
    if (practice != kv.end()) {
        if (practice->second == "take-over") s->practice = PRACTICE_TAKE_OVER;
        else if (practice->second == "stage") s->practice = PRACTICE_STAGE;
        else return "practice";
    }
    auto parent = kv.find("parent");
    if (parent != kv.end()) {
        if (!GameStart_ParentOk(parent->second.c_str())) return "parent";
        std::snprintf(s->parent, sizeof s->parent, "%s", parent->second.c_str());
    }
    if (kv.count("taken-at")) {
        if (!get("taken-at", 0, 0x7FFFFFFF)) return "taken-at";
        s->takenAt = (long)v;
    }
    return GameStart_Problem(*s);
}

// The keys only a typed start has.
bool StartKey(const std::string& key) {
    static const char* const kOnly[] = {"speed-steps", "random", "clock", "paused", "keys", "pad", "joystick",
                                        "record-hiscore", "record-plays", "record-deaths", "record-clears"};
    for (const char* k : kOnly)
        if (key == k) return true;
    return false;
}

}  // namespace

bool ReplayFile_Parse(const char* text, size_t size, const char* path, ReplayParsed* out, bool quiet) {
    *out = ReplayParsed();
    auto Problem = [&](const std::string& text) {
        if (!quiet) std::fprintf(stderr, "quellstorm: %s\n", text.c_str());
    };
    ReplayInfo& info = out->info;
    std::string line;
    std::map<std::string, std::string> typed;  // the header's values, read once the sim is known
    bool startKeys = false;
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
        if (key != "state" && key != "dat") typed[key] = v;
        if (StartKey(key)) startKeys = true;
        if (key == "end") {
            long long e;
            if (!Whole(v, 0, 0x7FFFFFFF, &e)) bad("the end line names no frame");
            else out->end = (long)e;
        }
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
    // A file cut before its sim line says nothing either way. Version 1
    // files still play as they were recorded.
    if (ok && info.format >= 2 && info.sim != 0 && info.sim != 1 && info.sim != REPLAY_SIM) {
        info.problem = std::string(path) + " was recorded with simulation version " + std::to_string(info.sim) +
                       "; this game is version " + std::to_string(REPLAY_SIM) + " and plays it differently";
        Problem(info.problem);
        ok = false;
    }
    // From version 2 on a game's start is named values, never a memory
    // image; a whole run brings the record it read instead.
    if (ok && info.format >= 2 && info.sim >= 2) {
        if (!out->state.empty()) {
            info.problem = std::string("replay ") + path + ": a game state image in a file of version " +
                           std::to_string(info.sim) + " (only older files hold one)";
            Problem(info.problem);
            ok = false;
        } else if (startKeys) {
            if (const char* key = TypedStart(typed, &out->start)) {
                std::string k = key;
                std::string why = k == "practice" ? "' is neither 'take-over' nor 'stage'"
                                  : k == "parent" ? "' is not a take-over's parent id (1 to 64 letters, digits, "
                                                    "'.', '_', '-' or '+'; a take-over only)"
                                  : k == "taken-at" ? "' is not the frame a take-over was taken at (a take-over only)"
                                                    : "' is missing or not one a new game can start from";
                info.problem = std::string("replay ") + path + ": its start's value '" + key + why;
                Problem(info.problem);
                ok = false;
            } else if (!out->dat.empty()) {
                info.problem = std::string("replay ") + path + ": both a game's start and a whole run's record";
                Problem(info.problem);
                ok = false;
            } else {
                out->typedStart = true;
                info.game = true;
                const GameStart& s = out->start;
                info.difficulty = s.difficulty;
                info.lives = s.lives;
                info.bombs = s.bombs;
                info.startStage = s.stageOption ? s.stageOption : s.startStage;
                info.speed = s.speedSteps / 1000.0;
                info.invincible = s.invincible;
                info.stageOption = s.stageOption != 0;
                info.practice = s.practice;
                info.parent = s.parent;
                info.takenAt = s.takenAt;
            }
        }
    }
    // Practice marks belong to one game's typed start.
    if (ok && !out->typedStart && (typed.count("practice") || typed.count("parent") || typed.count("taken-at"))) {
        info.problem = std::string("replay ") + path + ": practice marks in a file without a game's typed start";
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
    // Every frame of a recording has its fingerprint line every 50 frames:
    // an end further than that past the last line is frames the file does
    // not hold, and nobody's game.
    long lastLine = out->events.empty() ? 0 : out->events.back().frame;
    if (out->end >= 0 && out->end > lastLine + REPLAY_HASH_EVERY) {
        info.problem = std::string("replay ") + path + ": its end line (frame " + std::to_string(out->end) +
                       ") lies far past its last recorded frame (" + std::to_string(lastLine) +
                       "); the file holds no game that long";
        Problem(info.problem);
        out->events.clear();
        return false;
    }
    if (info.frames < 0 || !info.complete) info.frames = last;
    // A take-over was taken within the game the file holds (a file cut
    // short may have lost the frames after it).
    if (out->start.practice == PRACTICE_TAKE_OVER && out->end >= 0 && out->start.takenAt > out->end) {
        info.problem = std::string("replay ") + path + ": taken over at frame " + std::to_string(out->start.takenAt) +
                       ", past its end (frame " + std::to_string(out->end) + ")";
        Problem(info.problem);
        out->events.clear();
        return false;
    }
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

bool ReplayFile_InspectPath(const std::string& path, ReplayInfo* out) {
    long size;
    unsigned char* text = Plat_ReadWholeFile(path.c_str(), &size, 256L * 1024 * 1024);
    if (!text) {
        out->problem = size == -2 ? "too large to be a replay" : "cannot be read";
        return false;
    }
    bool ok = ReplayFile_Inspect(reinterpret_cast<const char*>(text), (size_t)size, out);
    Plat_FreeFile(text);
    return ok;
}
