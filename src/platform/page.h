// What the program tells the page that hosts it (the browser build), and
// what the page asks of it: the page and its tests read the game's state
// and learn of its end; the page saves the record when it is hidden or
// closed; files the player should keep are handed to the page as
// downloads. On the desktop these do nothing.
#pragma once

// True in the browser build: the game runs inside a page.
bool Plat_InPage();
// The function that describes the game's state in one line; the page asks
// it when it wants to know (never during a frame).
void Plat_SetPageState(void (*describe)(char* out, int size));
// The program has ended with `code` (the value main returns).
void Plat_ReportExit(int code);
// The game's save (what Escape keeps), run by the page when the tab is
// hidden or closed. It runs between frames and must not wait on anything.
void Plat_SetPageSave(void (*save)());
// True while the page has called into the game between frames (the save
// above): message boxes are written out but not waited on then.
bool Plat_InPageCall();
// Hands the file at `path` to the player as a download named after it
// (a page keeps its files out of the player's reach otherwise). False where
// there is no page.
bool Plat_PageOffer(const char* path);
// The language of the game's texts ("ja", "en"), for the page's own words.
void Plat_PageLanguage(const char* code);
// A finished game has been kept in `path`: the page sends it to the board
// it is served by (`submit`: the board-submit setting; `name`: the
// player's name). On the desktop nothing happens (the board client does).
void Plat_PageGameKept(const char* path, int submit, const char* name);
// True when the page is served by a score board (it sends its games
// there, and the board's best runs can be raced). False on the desktop.
bool Plat_PageOnBoard();
// Asks the page for the tracks of its board's best verified runs, one a
// difficulty (the ghosts a game races). Each one answered is handed, between
// frames, to `take` with the file it was written to, or with null when the
// board has no run on that difficulty. False when there is no board to ask
// (the desktop: the board client fetches them itself).
bool Plat_PageFetchGhosts(void (*take)(int difficulty, const char* path));
// True while the page is still fetching them.
bool Plat_PageFetchingGhosts();
// The replay played back was taken over after frame `frame`: the page
// says so in place of the replay's verdict.
void Plat_PageTakenOver(long frame);
// Opens the web address `url` (http or https only) for the player: on the
// desktop with the system's opener (xdg-open), never waited for; in a page
// as a link beside the picture, also opened in a new tab where the browser
// lets it. False when it cannot be.
bool Plat_OpenUrl(const char* url);
// Puts `text` on the clipboard. False when it cannot be.
bool Plat_CopyText(const char* text);
