// Ghosts: the tracks of games (where the ship was, what it had scored,
// frame by frame) and the ghost a new game races.
//
// Every game played or played back is followed as it goes; its track is
// the file `--track FILE` writes after a playback, and the one kept beside
// a kept game's replay (X.qsr: X.qst). The format is described in
// docs/replay-format.md.
#pragma once
#include <string>

// The frame loop: before a frame runs, and after it.
void Ghosts_FrameBegins();
void Ghosts_FrameEnded();
// The track of the last game followed, as a file.
std::string Ghosts_TrackFile();
// Writes it to `path`. False, with a message, when it cannot.
bool Ghosts_WriteTrack(const std::string& path);

// The replay folder the player's own ghosts come from.
void Ghosts_SetFolder(const std::string& dir);
// The player's best kept game on `difficulty` that has a track, or empty.
std::string Ghosts_BestKept(int difficulty);
// With the board's ghost chosen and a board set: fetches the board's best
// runs' tracks (once a session; a headless run waits for them).
void Ghosts_FetchBoard();
// Where the board's best run's track on `difficulty` is kept once fetched.
std::string Ghosts_BoardCache(int difficulty);
