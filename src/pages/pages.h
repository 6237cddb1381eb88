// Pages drawn over the title and options screens: the settings page (F1,
// the pad's Back), the records page (F2), the replays page (F3, the
// pad's Y) and the practice page (F4). While a page is open the
// title runs on without input underneath and the page has the keyboard.
#pragma once

// PAGE_LANGUAGE: the language choice of a first start (language_page.h).
// PAGE_PRACTICE: stage practice (F4, practice_page.h).
enum { PAGE_NONE = 0, PAGE_SETTINGS = 1, PAGE_RECORDS = 2, PAGE_REPLAYS = 3, PAGE_LANGUAGE = 4, PAGE_PRACTICE = 5 };

extern int PageOpen;

// A key-down (virtual-key code): opens, closes or goes to the open page.
// True when the key was used here and must not reach the game.
bool Pages_KeyDown(int key);
// Text typed (UTF-8) while a page's text field is being edited.
void Pages_Text(const char* text);
// Draws the open page into the back buffer (nothing when none is open).
void Pages_Draw();
// The small "F1: SETTINGS" hint of the title and options screens (drawn
// after their frame; nothing while a page is open).
void Pages_DrawHint();
// The score board's answer about the latest game sent (one line; nothing
// when none was sent this run).
void Pages_DrawBoardLine(int x, int y, int size);
// Clears the back buffer to the title picture at a third of its
// brightness, so that a page's text over it reads.
void Pages_Backdrop();
// The backdrop, a page's title and its way back.
void Pages_Head(const char* title, const char* back);
