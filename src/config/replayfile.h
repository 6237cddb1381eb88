// A replay file read into memory: its header and its events. The layout is
// described in docs/replay-format.md; recording and playing are the
// shell's (shell/replay.h).
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "config/gamestart.h"

// A recording of another simulation (REPLAY_SIM, config/gamestart.h) than
// this game's or one it still plays is refused rather than shown going
// wrong.
enum { REPLAY_FORMAT = 2, REPLAY_HASH_EVERY = 50 };

// What a replay file says about itself (its header) and whether it plays.
struct ReplayInfo {
    int format = 0, sim = 0;
    std::string date;                  // "YYYY-MM-DD HH:MM:SS", local time of the game's start
    int difficulty = -1, lives = -1, bombs = -1, startStage = -1;
    long long score = -1;              // as recorded: descriptive only
    int stage = -1, staffRoll = -1;
    long frames = -1;                  // its end line, else its last whole frame
    double speed = 0;                  // the speed correction at the start
    bool invincible = false, stageOption = false;
    bool bot = false;                  // played by --bot, not by a player
    bool game = false;                 // one game, started from its typed start (or an older file's state)
    bool complete = false;             // it has its end line
    int practice = 0;                  // PRACTICE_* (config/gamestart.h): never ranked
    std::string parent;                // a take-over: the run it was taken from
    long takenAt = -1;                 // ... and the frame it was taken at
    std::string problem;               // why it cannot be played; empty when it can
};

// Reads a replay from memory without playing it (the replays page).
// False, with `problem` set, when it cannot be played at all.
bool Replay_Inspect(const char* text, size_t size, ReplayInfo* out);


enum ReplayEventKind { EV_KEYS, EV_PRESS, EV_OPEN, EV_JOY, EV_HASH };
struct ReplayEvent {
    long frame;
    ReplayEventKind kind;
    uint32_t a;  // keys mask, key code, open outcome, joystick result
    int x, y;
    uint32_t buttons;
    uint64_t hash;
};

// A replay file read into memory.
struct ReplayParsed {
    std::vector<ReplayEvent> events;
    std::vector<uint8_t> dat;    // a whole run: the record it read
    std::vector<uint8_t> state;  // one game of simulation 1: the state of its start
    GameStart start;             // one game of simulation 2 on: its typed start
    bool typedStart = false;     // `start` was read
    long end = -1;
    long lastWhole = -1;  // a recording without its end line: its last whole frame
    ReplayInfo info;
};


// Reads a whole file. False, with `info.problem` set (and said on standard
// error unless `quiet`), when it cannot be played at all; a file cut short
// is fine: it plays up to its last whole frame.
bool ReplayFile_Parse(const char* text, size_t size, const char* path, ReplayParsed* out, bool quiet);
// Reads the file's header without playing it (the replays page). False,
// with `problem` set, when it cannot be played at all.
bool ReplayFile_Inspect(const char* text, size_t size, ReplayInfo* out);
// The same of the file at `path`, read whole.
bool ReplayFile_InspectPath(const std::string& path, ReplayInfo* out);
