// Shared between the platform layer's own files; never included by game code.
//
// Where a desktop and a browser page differ, the difference lives in a file
// of each kind, X_desktop.cpp and X_web.cpp (the build takes one of the
// two); the PlatI_ hooks below marked "variant" are defined in both.
#pragma once
#include <SDL.h>
#include <SDL_mixer.h>
#include <cstddef>
#include <string>

struct PlatDisplayConfig;

SDL_Window* PlatI_Window();
// After a message box: full screen again if the box left it, and the
// game's window raised.
void PlatI_ReturnFullscreen();
// Initialises one SDL subsystem once; false on failure.
bool PlatI_InitSubsystem(Uint32 flags);

// The window (variant: display_desktop.cpp / display_web.cpp).
// Chooses the video driver before SDL's video starts; false, with the
// reason written to `problem`, when there is no display to be had.
bool PlatI_PickVideoDriver(char* problem, size_t size);
// The window to open for the run's settings.
struct PlatIWindowPlan {
    Uint32 flags;  // SDL_CreateWindow's
    int x, y, w, h;
    bool vsync;    // presenting may wait for the display's refresh at all
};
PlatIWindowPlan PlatI_PlanWindow(const PlatDisplayConfig& cfg);
// True when only the processor can draw into the open window, so SDL's
// software renderer is taken without trying OpenGL first.
bool PlatI_ProcessorDrawsWindow();

// Gives the browser page its turn: always, or only when the game has kept
// it waiting for a while. Nothing on a desktop, where the game owns its
// thread (variant: time_desktop.cpp / time_web.cpp).
void PlatI_YieldNow(bool always);

// Files (variant: files_desktop.cpp / files_web.cpp).
// A file's bytes are on the disk before it takes its name (false: they
// could not be made so).
bool PlatI_FileOnDisk(int fd);
// A file has taken its name (`path`): on a desktop the folder's entry is
// made durable; a page puts the file into its lasting storage.
void PlatI_FileWritten(const char* path);

// Sound (variant: sound_desktop.cpp / sound_web.cpp). Before the audio
// device is opened: the driver for a run with (or without) a window.
void PlatI_AudioDriver(bool headless);
// After it is open: the decoders the tunes need.
void PlatI_AudioOpened();

// Music. User event type for the tune's completion notice (music.cpp).
Uint32 PlatI_MusicEventType();
// The open tune is `music`, made from the file image `data` (freed when it
// closes; may be null); music.cpp.
void PlatI_MusicTake(Mix_Music* music, unsigned char* data);
// The synthesiser reported an error while the tune played (music.cpp).
void PlatI_MusicSynthFailed();
// Makes the tune named `name` from the MIDI file image `data` (taken over)
// and hands it to PlatI_MusicTake; false when it cannot be played, said on
// standard error (variant: music_desktop.cpp / music_web.cpp).
bool PlatI_MusicLoad(unsigned char* data, size_t size, const char* name);
// A page fetches a tune when it is first wanted: the open tune has not
// arrived yet; play it once it has; forget about it (variant).
bool PlatI_TuneOnItsWay();
void PlatI_TunePlayOnArrival();
void PlatI_TuneForget();

// The game's face: the font file to read, "" when there is none (variant:
// text_desktop.cpp / text_web.cpp).
std::string PlatI_FontFile();

// Translates an SDL key to the old virtual-key code (0 when the game does
// not know the key).
int PlatI_KeyToVK(SDL_Keycode key);
// A pad event worth a PLAT_EV_PADBUTTON (a button down, the stick or pad
// pushed to a side): its number. False for any other event.
bool PlatI_PadEvent(const SDL_Event& e, int* button);

// The page (variant: page_desktop.cpp / page_web.cpp): it draws the canvas
// as the scaling setting says (sharp, fit, smooth: SCALING_*).
void PlatI_PageScaling(int mode);
// True while the game waits on a message box in a page, in the middle of a
// frame (msgbox_web.cpp; the page's only).
bool PlatI_BoxWaiting();
