// Window events, handed to the game between frames.
#pragma once

enum PlatEventType {
    PLAT_EV_NONE = 0,
    PLAT_EV_QUIT,        // the window was closed by the system
    PLAT_EV_KEYDOWN,     // `key` holds the old virtual-key code (VK_*)
    PLAT_EV_MOUSEMOVE,   // `x`, `y` in window pixels
    PLAT_EV_MUSIC_DONE,  // the tune ran to its end successfully
    PLAT_EV_FOCUS_LOST,  // the window lost the keyboard focus or was minimised
};

struct PlatEvent {
    PlatEventType type;
    int key;
    int x, y;
};

// Takes the next waiting event. False when none is waiting.
bool Plat_PollEvent(PlatEvent* ev);
// Queues a key-down event as if typed (scripted runs and replays).
void Plat_PushKeyDown(int key);
