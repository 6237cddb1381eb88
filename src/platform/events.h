// Window events, handed to the game between frames.
#pragma once

enum PlatEventType {
    PLAT_EV_NONE = 0,
    PLAT_EV_QUIT,        // the window was closed by the system
    PLAT_EV_KEYDOWN,     // `key` holds the old virtual-key code (VK_*)
    PLAT_EV_MOUSEMOVE,   // `x`, `y` in window pixels
    PLAT_EV_MUSIC_DONE,  // the tune ran to its end successfully
    PLAT_EV_PADBUTTON,   // a pad button went down: `key` is its number
                         // (PAD_A...), or PAD_UP...PAD_RIGHT for the stick
    PLAT_EV_FOCUS_LOST,  // the window lost the keyboard focus or was minimised
    PLAT_EV_TEXT,        // text typed while text input is on: `text`, UTF-8,
                         // whole characters (an input method's too)
};

struct PlatEvent {
    PlatEventType type;
    int key;    // key-down: the game's key (or the shell's VK_F1...; 0 none)
    int x, y;
    int phys;   // key-down: the keyboard key (Plat_KeyName), 0 for a replay's
    bool game;  // key-down: `key` is a game key (bound, or a replay's)
    char text[32];  // PLAT_EV_TEXT: the text, NUL-terminated
};

// Takes the next waiting event. False when none is waiting.
bool Plat_PollEvent(PlatEvent* ev);
// Queues a key-down event of a game key (replays, the random player).
void Plat_PushKeyDown(int key);
// Queues a keyboard key as if typed (scripts): the bindings apply to it.
void Plat_PushPhysicalKey(int key);

// Text input for a text field (the settings page's text rows): while on,
// typed text (and an input method's) comes as PLAT_EV_TEXT events between
// the key-downs, in the order typed; Ctrl+V types the clipboard. Off
// otherwise, so that in play no input method takes the game's keys.
void Plat_TextInput(bool on);
// Where the field being edited is on the game's 640x480 picture, so that an
// input method's window opens beside it rather than in a corner.
void Plat_TextInputRect(int x, int y, int w, int h);
// Queues text as if typed (scripts); nothing arrives while input is off.
void Plat_PushText(const char* utf8);
