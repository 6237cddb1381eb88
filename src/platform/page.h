// What the program tells the page that hosts it (the browser build): the
// page and its tests read the game's state and learn of its end. On the
// desktop these do nothing.
#pragma once

// The function that describes the game's state in one line; the page asks
// it when it wants to know (never during a frame).
void Plat_SetPageState(void (*describe)(char* out, int size));
// The program has ended with `code` (the value main returns).
void Plat_ReportExit(int code);
// A finished game has been kept in `path`: the page sends it to the board
// it is served by (`submit`: the board-submit setting; `name`: the
// player's name). On the desktop nothing happens (the board client does).
void Plat_PageGameKept(const char* path, int submit, const char* name);
