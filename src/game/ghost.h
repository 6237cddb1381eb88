// The ghost a game races and the splits at each stage's end. Both only
// draw: nothing here is part of the game's state or reads a key, so a game
// with a ghost plays (and fingerprints) exactly as one without.
#pragma once
#include "config/ghosttrack.h"

// Before a game's first frame: the ghost to show (null: none) and whether
// the splits are shown (racing: a ghost was asked for). The record's best
// scores at each stage's clear are taken now, before this game adds to
// them.
void Ghost_Start(const GhostTrack* track, bool racing);
// Racing no more (back on the title, watching a replay).
void Ghost_Stop();
// In the game frame, before the ship: the ghost where its ship was after
// the same frame of its game.
void GhostDraw();
// At the end of the game frame, over everything: a stage's split for a
// few seconds after its end; the table of splits on the game-over picture
// and the staff roll.
void GhostSplitsDraw();

// The splits so far (tests, the page): the score when each stage 1-5 was
// left, -1 where not reached; the ghost's and the best at the same place.
struct GhostSplits {
    long long mine[6], ghost[6], best[6];
};
const GhostSplits& Ghost_Splits();
// Frames the ghost's ship was drawn in since Ghost_Start (the benchmark).
long Ghost_DrawnCount();
