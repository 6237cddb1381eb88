// Application shell: the window, the game's per-frame function and key
// handler as the frame loop calls them.
#pragma once
#include "core/core.h"

struct PlatWindow;

extern PlatWindow* hwnd;     // the one window (opaque; null headless)
extern int MouseX, MouseY;   // written only

// The game's per-frame function (scenes): draws the next picture.
void Main_Proc(PlatWindow* window);
// Key-down handler; `key` is the virtual-key code.
void Event_Proc(int key, PlatWindow* window);
