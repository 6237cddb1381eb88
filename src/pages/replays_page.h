// The replays page (F3): the kept replays, newest first, to watch, keep for
// good or delete. Files that cannot be played are listed as damaged with
// the reason, never hidden.
#pragma once
#include <string>

// The replay folder the page lists, and its "kept/" for replays kept for
// good (never pruned).
void ReplaysPage_SetFolder(const std::string& dir);
// Reads the folder again (on opening the page).
void ReplaysPage_Open();
void ReplaysPage_Draw();
// A key-down while the page is open. True when the page used it.
bool ReplaysPage_Key(int key);
// Back from watching: the page shows what the playback came to.
void ReplaysPage_Show(const char* message);

// Watching belongs to the frame loop: the page asks through this (null:
// no watching). False, with `problem` set, when the file cannot be played.
extern bool (*ReplaysPage_Watch)(const char* path, const char** problem);
// Sending a replay to a score board, when one is set: a row action on the
// key B, labelled `ReplaysPage_SendLabel`. The function says what became of
// it in `message` (shown on the page).
extern const char* ReplaysPage_SendLabel;
extern bool (*ReplaysPage_Send)(const char* path, std::string* message);

// The rows as the page lists them (tests): the file names, newest first,
// and for each whether it plays.
int ReplaysPage_RowCount();
std::string ReplaysPage_RowName(int i);
bool ReplaysPage_RowPlayable(int i);
