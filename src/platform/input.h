// Key-state and joystick service.
#pragma once

// The old virtual-key codes the game knows.
enum {
    VK_SHIFT = 0x10, VK_ESCAPE = 0x1B, VK_SPACE = 0x20,
    VK_LEFT = 0x25, VK_UP = 0x26, VK_RIGHT = 0x27, VK_DOWN = 0x28,
    VK_1 = 0x31, VK_2 = 0x32, VK_3 = 0x33,
    VK_C = 0x43, VK_E = 0x45, VK_Q = 0x51, VK_W = 0x57, VK_Z = 0x5A,
};

// Keys outside the game that the shell handles itself (settings and
// records pages, full screen, screenshot, confirm on the pages). They reach
// the shell as key-down events but are never game keys.
enum { VK_RETURN = 0x0D, VK_F1 = 0x70, VK_F2 = 0x71, VK_F3 = 0x72, VK_F4 = 0x73, VK_F11 = 0x7A, VK_F12 = 0x7B };
// Keys of the replays page and of watching a replay (never game keys).
enum { VK_PRIOR = 0x21, VK_NEXT = 0x22, VK_DELETE = 0x2E, VK_B = 0x42, VK_G = 0x47, VK_K = 0x4B, VK_N = 0x4E,
       VK_O = 0x4F, VK_T = 0x54, VK_Y = 0x59 };

// Physical keys by name ("Space", "Z", "Left Shift", "F5"; "Shift" is
// either Shift key, "Esc" Escape): the platform's key number, 0 when the
// name is no key. And back: the key's name ("" when unknown).
int Plat_KeyFromName(const char* name);
const char* Plat_KeyName(int key);

// Binds the game key `vk` to the keyboard key `key` (Plat_KeyFromName).
// Nothing is bound until the settings bind it; at most PLAT_BIND_MAX game
// keys.
enum { PLAT_BIND_MAX = 32 };
void Plat_BindKey(int vk, int key);
// True while the key is down now (either Shift for VK_SHIFT). In scripted
// and replayed runs, the state the script gives for the current frame.
bool Plat_KeyDown(int vk);
// Sets the state the next Plat_KeyDown queries see, overriding the
// keyboard (scripted runs and replays). `down` is indexed by key code.
void Plat_SetScriptedKeys(const bool* down256);
void Plat_ClearScriptedKeys();
// The same with the keyboard keys a script holds: the bindings apply.
void Plat_SetScriptedPhysical(const int* keys, int n);
// While blocked (a page is open), no key is down and the pad reads at
// rest, for the game and for the recorder alike.
void Plat_SetInputBlocked(bool blocked);
bool Plat_InputBlocked();

// The pad's buttons by the game's numbers (A shot, B bomb as designed),
// and the stick's directions as pad events.
enum { PAD_A = 0, PAD_B, PAD_X, PAD_Y, PAD_LB, PAD_RB, PAD_BACK, PAD_START, PAD_LS, PAD_RS, PAD_GUIDE, PAD_LT,
       PAD_RT, PAD_BUTTONS, PAD_UP = 100, PAD_DOWN, PAD_LEFT, PAD_RIGHT };
// The buttons read as the game's shot (button 0) and bomb (button 1)
// (-1: none), and the share of the stick's travel, 0..32767, read as rest.
void Plat_JoySetMapping(int shot, int bomb, int deadZone);

struct PlatJoyState {
    int x, y;          // -1000 .. 1000
    unsigned char buttons[32];
};

enum PlatJoyResult { PLAT_JOY_OK = 0, PLAT_JOY_LOST, PLAT_JOY_FAIL };

// Opens the first attached joystick or game controller. False when none.
bool Plat_JoyOpen();
void Plat_JoyClose();
bool Plat_JoyIsOpen();
// Reads the device now. PLAT_JOY_LOST when it was unplugged (acquire again
// with Plat_JoyAcquire: it opens whichever device is attached now).
PlatJoyResult Plat_JoyRead(PlatJoyState* out);
bool Plat_JoyAcquire();
// False when the joystick service itself could not be started (then no
// device is ever found).
bool Plat_JoyServiceUp();
// Attached devices that the last Plat_JoyOpen or Plat_JoyAcquire found but
// could not open (each was skipped for the next one).
int Plat_JoyOpenFailures();

// Replays. In the frozen mode (recording) the device is real but every read
// of a frame returns the snapshot set for that frame, and the outcome of
// every open or acquire is kept for the recording. In the replay mode no
// device is touched: opens give the queued outcomes, reads the snapshot.
enum PlatJoyTape { PLAT_JOY_LIVE = 0, PLAT_JOY_FROZEN, PLAT_JOY_REPLAY };
void Plat_JoySetTape(PlatJoyTape mode);
// Frozen mode: reads the device now, as a live read would.
PlatJoyResult Plat_JoyReadLive(PlatJoyState* out);
void Plat_JoySetSnapshot(PlatJoyResult res, const PlatJoyState* state);
// Frozen mode: the open outcomes since the last call, oldest first.
int Plat_JoyTakeOpens(bool* out, int max);
// Replay mode: the outcome of the next open or acquire.
void Plat_JoyQueueOpen(bool ok);
