#include "config/ghosttrack.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

// A record's first byte.
enum { GT_SHOWN = 1, GT_ABSOLUTE = 2, GT_SCORE = 4, GT_STAGE = 8, GT_KNOWN = 15 };

int16_t Pixel(float v) {
    if (!(v > -32768.0f)) return -32768;  // NaN too
    if (v > 32767.0f) return 32767;
    return (int16_t)(int)v;  // as the game shows it: truncated
}

void PutVarint(std::string* s, uint64_t v) {
    while (v >= 0x80) {
        s->push_back((char)(0x80 | (v & 0x7F)));
        v >>= 7;
    }
    s->push_back((char)v);
}

}  // namespace

void GhostTrack_Begin(GhostTrackWriter* w, int sim, int difficulty, int startStage, long framesHint) {
    *w = GhostTrackWriter();
    w->sim = sim;
    w->difficulty = difficulty;
    w->startStage = startStage;
    if (framesHint > 0 && framesHint < GHOST_TRACK_MAX_FRAMES) w->data.reserve((size_t)framesHint * 3 + 64);
}

void GhostTrack_Add(GhostTrackWriter* w, float shipX, float shipY, bool shown, int stage, int64_t score) {
    if (w->frames >= GHOST_TRACK_MAX_FRAMES) return;
    int16_t x = Pixel(shipX), y = Pixel(shipY);
    int dx = x - w->x, dy = y - w->y;
    bool absolute = w->frames == 0 || dx < -128 || dx > 127 || dy < -128 || dy > 127;
    bool first = w->frames == 0;
    uint8_t flags = (uint8_t)((shown ? GT_SHOWN : 0) | (absolute ? GT_ABSOLUTE : 0) |
                              (first || score != w->score ? GT_SCORE : 0) | (first || stage != w->stage ? GT_STAGE : 0));
    w->data.push_back((char)flags);
    if (absolute) {
        for (int16_t v : {x, y}) {
            w->data.push_back((char)(uint8_t)((uint16_t)v & 0xFF));
            w->data.push_back((char)(uint8_t)((uint16_t)v >> 8));
        }
    } else {
        w->data.push_back((char)(int8_t)dx);
        w->data.push_back((char)(int8_t)dy);
    }
    if (flags & GT_SCORE) {
        // The change, zigzagged so a loss stays short too.
        uint64_t d = (uint64_t)score - (uint64_t)w->score;
        PutVarint(&w->data, (d << 1) ^ (uint64_t)((int64_t)d >> 63));
    }
    if (flags & GT_STAGE) w->data.push_back((char)(uint8_t)(stage < 0 ? 0 : stage > 255 ? 255 : stage));
    w->x = x;
    w->y = y;
    w->score = score;
    w->stage = stage;
    w->frames++;
}

std::string GhostTrack_File(const GhostTrackWriter& w) {
    char head[256];
    std::snprintf(head, sizeof head, "QSTRACK %d\nsim %d\ndifficulty %d\nstart-stage %d\nframes %ld\nscore %lld\ndata %zu\n",
                  GHOST_TRACK_FORMAT, w.sim, w.difficulty, w.startStage, w.frames, (long long)w.score, w.data.size());
    return head + w.data;
}

bool GhostTrack_Parse(const char* bytes, size_t size, GhostTrack* out, std::string* problem) {
    *out = GhostTrack();
    auto bad = [&](const std::string& why) {
        *problem = "not a ghost track: " + why;
        out->points.clear();
        return false;
    };
    size_t pos = 0;
    long frames = -1;
    long long dataBytes = -1;
    int format = 0;
    // The text head: "key value" lines up to the data line.
    for (int line = 0; line < 64; line++) {
        const char* nl = static_cast<const char*>(std::memchr(bytes + pos, '\n', size - pos));
        if (!nl) return bad("its head is cut short");
        std::string text(bytes + pos, nl);
        pos = (size_t)(nl - bytes) + 1;
        char key[32];
        long long v;
        if (text.size() > 64 || std::sscanf(text.c_str(), "%31s %lld", key, &v) != 2) return bad("line " + text);
        if (line == 0) {
            if (std::strcmp(key, "QSTRACK") != 0) return bad("no QSTRACK line");
            format = (int)v;
            if (format != GHOST_TRACK_FORMAT) return bad("format " + std::to_string(v));
        } else if (!std::strcmp(key, "sim")) {
            out->sim = (int)v;
        } else if (!std::strcmp(key, "difficulty")) {
            if (v < 0 || v > 3) return bad("difficulty");
            out->difficulty = (int)v;
        } else if (!std::strcmp(key, "start-stage")) {
            if (v < 1 || v > 6) return bad("start stage");
            out->startStage = (int)v;
        } else if (!std::strcmp(key, "frames")) {
            if (v < 0 || v > GHOST_TRACK_MAX_FRAMES) return bad("frames");
            frames = (long)v;
        } else if (!std::strcmp(key, "data")) {
            dataBytes = v;
            break;
        }  // other keys (score) are for people; unknown keys are skipped
    }
    if (!format || frames < 0 || dataBytes < 0) return bad("its head lacks frames or data");
    if ((unsigned long long)dataBytes != size - pos) return bad("its data is not as long as it says");
    out->points.reserve((size_t)frames);
    const uint8_t* p = reinterpret_cast<const uint8_t*>(bytes) + pos;
    const uint8_t* end = p + dataBytes;
    GhostPoint at = {0, 0, 0, 0, 0};
    for (long f = 0; f < frames; f++) {
        if (p >= end) return bad("cut short at frame " + std::to_string(f + 1));
        uint8_t flags = *p++;
        if (flags & ~GT_KNOWN) return bad("frame " + std::to_string(f + 1));
        if (f == 0 && (flags & (GT_ABSOLUTE | GT_STAGE)) != (GT_ABSOLUTE | GT_STAGE)) return bad("its first frame");
        if (flags & GT_ABSOLUTE) {
            if (end - p < 4) return bad("cut short at frame " + std::to_string(f + 1));
            at.x = (int16_t)(uint16_t)(p[0] | p[1] << 8);
            at.y = (int16_t)(uint16_t)(p[2] | p[3] << 8);
            p += 4;
        } else {
            if (end - p < 2) return bad("cut short at frame " + std::to_string(f + 1));
            at.x = (int16_t)(at.x + (int8_t)p[0]);
            at.y = (int16_t)(at.y + (int8_t)p[1]);
            p += 2;
        }
        if (flags & GT_SCORE) {
            uint64_t v = 0;
            int shift = 0;
            for (;;) {
                if (p >= end || shift > 63) return bad("a score at frame " + std::to_string(f + 1));
                uint8_t b = *p++;
                v |= (uint64_t)(b & 0x7F) << shift;
                shift += 7;
                if (!(b & 0x80)) break;
            }
            uint64_t d = (v >> 1) ^ (0 - (v & 1));
            at.score = (int64_t)((uint64_t)at.score + d);
        }
        if (flags & GT_STAGE) {
            if (p >= end) return bad("cut short at frame " + std::to_string(f + 1));
            uint8_t s = *p++;
            if (s < 1 || s > 6) return bad("a stage at frame " + std::to_string(f + 1));
            if (f > 0 && at.stage >= 1) out->stageEnd[at.stage] = out->points.back().score;
            at.stage = s;
        }
        at.shown = flags & GT_SHOWN ? 1 : 0;
        out->points.push_back(at);
    }
    if (p != end) return bad("bytes after its last frame");
    return true;
}

const GhostPoint* GhostTrack_At(const GhostTrack& t, long frame) {
    if (frame < 1 || (size_t)frame > t.points.size()) return nullptr;
    return &t.points[(size_t)frame - 1];
}

std::string GhostTrack_PathOf(const std::string& replayPath) {
    std::string p = replayPath;
    if (p.size() >= 4 && p.compare(p.size() - 4, 4, ".qsr") == 0) p.resize(p.size() - 4);
    return p + ".qst";
}
