// The program's start-up, window events and frame loop.
#pragma once
#include "config/options.h"

struct PlatWindow;
struct PlatEvent;

// Game frames run so far (the current frame's number while it runs).
extern long FrameCount;

// Parses the command line into Options and the settings (defaults, then
// the command line; the settings file is Shell_Start's). 1: go on; 0: bad
// arguments (after a message on standard error); -1: nothing to run
// (--help or --version has printed its text).
int Shell_ParseArgs(int argc, char** argv);
// Start-up: the arguments, the settings file, the input sources, the
// window, display and sound. 1 when the game can run, 0 when the data or
// the display is missing, 2 on bad arguments, -1 when the command line asked for no run.
int Shell_Start(int argc, char** argv);
// True until the window is closed (Escape, the close box, the end of a
// replay or of --frames).
bool Shell_Running();
// One game frame as the loop runs it: the inputs of the frame (script,
// bot, replay), its key-down events, then clear, Main_Proc and the copy.
// `seen` false: nobody will see this frame's picture (the display shows a
// later one), so a frame of play may leave out its pixel work.
void Shell_RunFrame(bool seen = true);
// Handles one window event. False when the window is gone (loop ends).
bool WindowProc(const PlatEvent& ev);
// The window lost its focus: pauses play as the pause key does (not
// headless, in playback, scripted or with the bot; off by the setting).
void Shell_FocusLost();
// Escape's save and release of the joystick.
void Shell_SaveOnQuit();
// Escape where the window cannot close (a browser page): the record is
// saved and a game in play is left for the title.
void Shell_SaveAndLeave();
// Escape and the close box: releases display, sound and music and ends
// the loop.
void Shell_CloseWindow(PlatWindow* window);
// The keys the shell answers before the game (F11 and Alt+Enter full
// screen, F12 screenshot, the pages). True when the key was used there or
// is no game key: it must not reach the game or a recording.
bool Shell_SystemKey(const PlatEvent& ev);
// A pad button's event: the game key it stands for (the pause and quit
// buttons), 0 when it went to a page or stands for nothing.
int Shell_PadKey(int button);
// Writes the game's picture to a PNG in the pictures folder.
void Shell_Screenshot();
