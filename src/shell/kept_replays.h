// Kept replays: every game played in a window (and in a headless run given
// --keep-replays on), one game to a file, in the replay folder
// (Paths_DataHome() + "replays/", or DIR/replays/ with --home DIR).
//
// A game is recorded from its first frame as it is played, into
//   <start date>-<start time>-unfinished.qsr
// flushed at least once a second of play, so a run that is killed leaves
// it playable up to its last flush. When the game ends (game over, the
// staff roll, Escape or the close box during play) the file gets the lines
// describing the game in its header and is renamed by the game's start,
// difficulty and final score:
//   20261207-183512-NORMAL-1234560.qsr
// (a practice run: 20261207-183512-NORMAL-PRACTICE-1234560.qsr).
// After each save the folder keeps the 50 most recent replays and the 10
// best games by score (practice runs are not among them); the rest are
// deleted. Replays kept for good are in the
// folder's "kept/" and never pruned.
#pragma once
#include <string>
#include <vector>

enum { KEPT_RECENT = 50, KEPT_BEST = 10 };

// A kept replay's file name taken apart.
struct KeptName {
    std::string stamp;  // "YYYYMMDD-HHMMSS": when the game (or session) started
    long long score;    // final score; -1 for an unfinished session
    bool practice = false;  // a practice run (never a ghost, never among the best)
};

// Parses a file name of the folder; false for files that are not ours.
bool Kept_ParseName(const std::string& name, KeptName* out);
// The names among `names` the folder does not keep: all but the `recent`
// most recent and the `best` best by score. Names that are not ours are
// never in it.
std::vector<std::string> Kept_ToPrune(const std::vector<std::string>& names, size_t recent = KEPT_RECENT,
                                      size_t best = KEPT_BEST);

// Start-up of a session that keeps its games in `dir` (created if needed).
// False, with a message, when it cannot; the game plays on.
bool Kept_Start(const std::string& dir);
bool Kept_Active();
// After every game frame: whether a game is on, its difficulty and score
// (the final score once it has ended). Keeps the game that has just ended.
void Kept_AfterFrame(long frame, bool inGame, int difficulty, long long score);
// Where a game taken over from a playback is kept when the session keeps
// none of its own (a replay opened from outside); unset: keep-replays is
// off and nothing is taken over.
void Kept_SetFolder(const std::string& dir);
// Takes over the game played back, after frame `frame` (shell/replay.h):
// from now on it is recorded as a practice run in the folder, and kept
// as any game when it ends. False, with `problem` set, when it cannot.
bool Kept_TakeOver(long frame, int difficulty, const char* parent, std::string* problem);
// Keeps the game in play now (left before it ended).
void Kept_EndGame(long frame, long long score);
// The file of a game that has just ended and been kept (game over, the
// staff roll, or left for the title), once: true and its path the first
// time it is asked after that game. The score board takes it from here.
bool Kept_TakeFinished(std::string* path);
// The end of the session (after the last frame): keeps a game still in
// play.
void Kept_Close(long lastFrame, long long score);
