// Shared between the platform layer's own files; never included by game code.
#pragma once
#include <SDL.h>

SDL_Window* PlatI_Window();
// After a message box: full screen again if the box left it, and the
// game's window raised.
void PlatI_ReturnFullscreen();
// A file's bytes are on the disk before it takes its name (false: they
// could not be made so). files_desktop.cpp / files_web.cpp.
bool PlatI_FileOnDisk(int fd);
// A file has taken its name (`path`): on a desktop the folder's entry is
// made durable; a page puts the file into its lasting storage.
void PlatI_FileWritten(const char* path);
// Initialises one SDL subsystem once; false on failure.
bool PlatI_InitSubsystem(Uint32 flags);
// User event type for the tune's completion notice.
Uint32 PlatI_MusicEventType();
// Translates an SDL key to the old virtual-key code (0 when the game does
// not know the key).
int PlatI_KeyToVK(SDL_Keycode key);
// A pad event worth a PLAT_EV_PADBUTTON (a button down, the stick or pad
// pushed to a side): its number. False for any other event.
bool PlatI_PadEvent(const SDL_Event& e, int* button);
#ifdef __EMSCRIPTEN__
// Gives the browser page its turn: always, or only when the game has kept
// it waiting for a while.
void PlatI_YieldNow(bool always);
// The page draws the canvas as the scaling setting says (sharp, fit,
// smooth: SCALING_*).
void PlatI_PageScaling(int mode);
// True while the game waits on a message box (in the middle of a frame).
bool PlatI_BoxWaiting();
#endif
