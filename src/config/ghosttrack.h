// A ghost's track: where a game's ship was and what it had scored, frame
// by frame, made once by playing its replay (or while the game itself is
// played) so that a later game can show it without playing it again. The
// file layout is described in docs/replay-format.md ("The ghost's track").
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

enum { GHOST_TRACK_FORMAT = 1 };
// A track longer than this (about five hours of play) is not a game's.
enum { GHOST_TRACK_MAX_FRAMES = 5000000 };

// One frame of the track: the ship after the frame.
struct GhostPoint {
    int16_t x, y;   // the ship's top-left corner, whole pixels
    uint8_t shown;  // the ship was in play (not lost, waiting to come back)
    uint8_t stage;  // StageNo (6: the staff roll)
    int64_t score;
};

struct GhostTrack {
    int sim = 0, difficulty = -1, startStage = 1;
    std::vector<GhostPoint> points;  // points[0] is the game's first frame
    // The score when each stage was left (the last frame on it); -1 when
    // the track never left it.
    int64_t stageEnd[7] = {-1, -1, -1, -1, -1, -1, -1};
    bool empty() const { return points.empty(); }
};

// Builds a track frame by frame and writes its file.
struct GhostTrackWriter {
    std::string data;  // the records so far
    long frames = 0;
    int sim = 0, difficulty = -1, startStage = 1;
    int16_t x = 0, y = 0;
    int stage = 0;
    int64_t score = 0;
};
void GhostTrack_Begin(GhostTrackWriter* w, int sim, int difficulty, int startStage, long framesHint);
void GhostTrack_Add(GhostTrackWriter* w, float shipX, float shipY, bool shown, int stage, int64_t score);
// The whole file.
std::string GhostTrack_File(const GhostTrackWriter& w);

// Reads a track file (untrusted: every count is checked). False, with
// `problem` set, when it is not a track this game can show.
bool GhostTrack_Parse(const char* bytes, size_t size, GhostTrack* out, std::string* problem);
// The point of game frame `frame` (1 is the first), or null past its end.
const GhostPoint* GhostTrack_At(const GhostTrack& t, long frame);
// Where a replay's track is kept: beside it, ".qst" for ".qsr".
std::string GhostTrack_PathOf(const std::string& replayPath);
