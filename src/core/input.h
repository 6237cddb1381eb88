// Polled controls: the key states of six keyboard keys and of the
// joystick's four directions and ten buttons.
#pragma once
#include "platform/input.h"

// Each key or button state cycles 0 up -> 1 just pressed -> 3 held ->
// 2 just released -> 0 (a key pressed again right after release goes 2 -> 3).
enum { KEY_UP_STATE = 0, KEY_PUSH = 1, KEY_RELEASE = 2, KEY_HOLD = 3 };

struct KEYSTATE {
    int up, down, left, right;   // arrow keys
    int space, shift;            // shot, menu confirm
};

struct JOYSTATE {
    int up, down, left, right;   // stick or pad directions
    int button[10];              // 0 shot/confirm (A), 1 bomb (B), ...
};

// The joystick codes GetJoy takes for the directions; any other code is a
// button number.
enum { JOY_UP = 10, JOY_DOWN = 20, JOY_LEFT = 30, JOY_RIGHT = 40 };

extern KEYSTATE KeyData;
extern JOYSTATE JoyData;
extern bool JoyShow;         // true while a joystick is in use
extern bool DIuse;           // true while the joystick service is available
extern PlatJoyState dijs;    // the last joystick state read

// The next state of a key from the current one and whether it is down now.
int KeyStateNext(int state, bool pressed);
// Polls one keyboard key (virtual-key code) and advances its state.
void Key_Input(int vk, int* state);
// Reads the joystick anew and advances one state: code 10 up, 20 down,
// 30 left, 40 right, any other code a button. Without a joystick, or when
// the read fails, the state keeps its value; a lost device is acquired
// again.
void GetJoy(int code, int* state);
// Sets up the joystick (again at every game start). 1 on success or when
// there is no joystick at all, 0 when a found joystick cannot be used.
int InitDInput();
// Releases the joystick.
void EndDInput();
// Polls all fourteen joystick states, then all six keys, in their order.
void InputPoll();
