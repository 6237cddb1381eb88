// What a game starts from beyond the game's own code: the choices made on
// the title and the few values the title leaves behind that play reads.
// NewGame notes them as it starts a game (a kept replay writes them in its
// header); the playback of a kept replay puts them in place and calls the
// same NewGame, as the title's shot key does. Everything else a game starts
// with is NewGame's own: every game starts as the first one after start-up.
#pragma once
#include <cstdint>

// REPLAY_SIM goes up by one whenever a change to the game makes old
// recordings play differently: 2 since every new game starts as the first
// one after start-up (before, a game kept what the last one left in its
// per-run values). Play follows GameSim (game/game.h), which a playback of
// an older recording sets to the recording's.
enum { REPLAY_SIM = 2 };

enum {
    GAMESTART_SPEED_MAX = 100000,      // the speed correction, thousandths: +100.000
    GAMESTART_COUNT_MAX = 1000000000,  // the record's counters (they go on counting in play)
    GAMESTART_KEYS = 6,                // up, down, left, right, space, shift
    GAMESTART_PAD = 14,                // up, down, left, right, buttons 0..9
    GAMESTART_PARENT_MAX = 64,         // the characters of a take-over's parent id
};
// A practice run (never ranked): none, a replay taken over while watched,
// a stage started on its own from the title.
enum { PRACTICE_NONE = 0, PRACTICE_TAKE_OVER = 1, PRACTICE_STAGE = 2 };
static const int64_t GAMESTART_HISCORE_MAX = 4000000000000000000LL;

struct GameStart {
    // The options screen's choices (lives: 1, 3, 5, 10, 99 once 99 ships
    // were lost; start stage 1..4).
    int difficulty = 1, lives = 3, bombs = 2, startStage = 1;
    // The testing aids: --stage (0 off, else the stage every game starts
    // at, 1..5) and --invincible.
    int stageOption = 0;
    bool invincible = false;
    int speedSteps = 0;      // the speed correction in its thousandths
    uint32_t random = 1;     // the random generator's state
    uint32_t clock = 0;      // the virtual clock, milliseconds
    int paused = 0;          // 1: the pause key was pressed an odd number of times
    int keys[GAMESTART_KEYS] = {};  // the keys' states as the title's last poll left them (0..3)
    int pad[GAMESTART_PAD] = {};    // the joystick's, the same way
    int joystick = 0;        // 1: a joystick was open and readable when the game started
    // The record as read (and counted on by the title): play shows the
    // high score and counts games, losses and finishes on.
    int64_t hiscore = 0;
    int plays = 0, deaths = 0, clears = 0;
    // A practice run: which kind; a take-over's parent (the board entry's
    // id, or the watched file's name) and the frame it was taken over at.
    int practice = PRACTICE_NONE;
    char parent[GAMESTART_PARENT_MAX + 1] = {};
    long takenAt = -1;
};

// The characters a take-over's parent id is made of: letters, digits and "._-+".
inline bool GameStart_ParentChar(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '.' || c == '_' ||
           c == '-' || c == '+';
}

// A take-over's parent id: 1..64 of those characters.
inline bool GameStart_ParentOk(const char* p) {
    int n = 0;
    for (; p[n]; n++)
        if (!GameStart_ParentChar(p[n]) || n >= GAMESTART_PARENT_MAX) return false;
    return n > 0;
}

// The name of the first value a title could not have left (out of its
// range, or lives of 99 without the 99 losses that open them), or null.
inline const char* GameStart_Problem(const GameStart& s) {
    if (s.difficulty < 0 || s.difficulty > 3) return "difficulty";
    if (s.lives != 1 && s.lives != 3 && s.lives != 5 && s.lives != 10 && s.lives != 99) return "lives";
    if (s.bombs < 1 || s.bombs > 6) return "bombs";
    // Stage practice starts any stage (and a take-over keeps the start of
    // what it took over); the options screen offers 1..4.
    if (s.practice < PRACTICE_NONE || s.practice > PRACTICE_STAGE) return "practice";
    if (s.startStage < 1 || s.startStage > (s.practice != PRACTICE_NONE ? 5 : 4)) return "start-stage";
    if (s.stageOption < 0 || s.stageOption > 5) return "stage-option";
    if (s.speedSteps < 0 || s.speedSteps > GAMESTART_SPEED_MAX) return "speed-steps";
    if (s.paused < 0 || s.paused > 1) return "paused";
    for (int k : s.keys)
        if (k < 0 || k > 3) return "keys";
    for (int k : s.pad)
        if (k < 0 || k > 3) return "pad";
    if (s.joystick < 0 || s.joystick > 1) return "joystick";
    if (s.hiscore < 0 || s.hiscore > GAMESTART_HISCORE_MAX) return "record-hiscore";
    if (s.plays < 0 || s.plays > GAMESTART_COUNT_MAX) return "record-plays";
    if (s.deaths < 0 || s.deaths > GAMESTART_COUNT_MAX) return "record-deaths";
    if (s.clears < 0 || s.clears > GAMESTART_COUNT_MAX) return "record-clears";
    if (s.lives == 99 && s.deaths < 99) return "lives";
    // Only a take-over has a parent and the frame it was taken at.
    if (s.practice == PRACTICE_TAKE_OVER ? !GameStart_ParentOk(s.parent) : s.parent[0] != 0) return "parent";
    if (s.practice == PRACTICE_TAKE_OVER ? s.takenAt < 0 : s.takenAt != -1) return "taken-at";
    return nullptr;
}
