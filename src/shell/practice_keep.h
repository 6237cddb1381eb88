// Keeping the practice record (config/practice.h) as games are played:
// how far each difficulty has been played, each stage's best practice.
#pragma once
#include <string>

// Start-up, once the record's place is known: reads "practice.txt" beside
// the record. Without one, the kept games in `replayDir` say how far each
// difficulty was played.
void PracticeKeep_Start(const std::string& replayDir);
// After every frame of a player's own (not a playback): a game that has
// just ended goes into the practice record, which is saved when it changed.
void PracticeKeep_AfterFrame();
// The end of the session: a game still in play counts as ended.
void PracticeKeep_Close();
// Where the practice record is kept (empty: nowhere).
std::string PracticeKeep_Path();
