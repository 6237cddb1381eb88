// Joystick service on SDL: a game controller where SDL knows the device's
// layout, a raw joystick otherwise.
#include <SDL.h>
#include <cstring>

#include "platform/input.h"

static SDL_GameController* sController;  // set when opened as a controller
static SDL_Joystick* sJoystick;          // the open device (either way)
static bool sLost;   // the device went away and none has been found since
static bool sServiceUp;
static int sOpenFailures;

// Replays (see input.h).
static PlatJoyTape sTape;
static PlatJoyResult sSnapRes = PLAT_JOY_FAIL;
static PlatJoyState sSnap;
static bool sTapeOpen;  // replay: the device as the recording had it
static const int kOpenLog = 16;
static bool sOpens[kOpenLog];
static int sOpenHead, sOpenCount;

static void PushOpen(bool ok) {
    if (sOpenCount == kOpenLog) return;
    sOpens[(sOpenHead + sOpenCount) % kOpenLog] = ok;
    sOpenCount++;
}

static bool PopOpen(bool* ok) {
    if (!sOpenCount) return false;
    *ok = sOpens[sOpenHead];
    sOpenHead = (sOpenHead + 1) % kOpenLog;
    sOpenCount--;
    return true;
}

// Sticks at rest rarely read exactly 0: a quarter of the travel is ignored
// so that a released stick never moves the ship or a menu.
static const int kDeadZone = 8000;

static bool StartService() {
    if (SDL_WasInit(SDL_INIT_GAMECONTROLLER) == SDL_INIT_GAMECONTROLLER) return true;
    // Read the device even while the window is not in front.
    SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
    return SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) == 0;
}

// -32768 .. 32767 to -1000 .. 1000, 0 inside the dead zone.
static int ScaleAxis(Sint16 raw) {
    int v = raw;
    if (v > -kDeadZone && v < kDeadZone) return 0;
    long scaled = (long)v * 1000 / 32767;
    if (scaled < -1000) scaled = -1000;
    if (scaled > 1000) scaled = 1000;
    return (int)scaled;
}

static bool OpenFirst() {
    sOpenFailures = 0;
    sServiceUp = StartService();
    if (!sServiceUp) return false;
    SDL_JoystickUpdate();  // notices devices attached since the last look
    int count = SDL_NumJoysticks();
    for (int i = 0; i < count; i++) {
        if (SDL_IsGameController(i)) {
            sController = SDL_GameControllerOpen(i);
            if (sController) {
                sJoystick = SDL_GameControllerGetJoystick(sController);
                return true;
            }
        }
        sJoystick = SDL_JoystickOpen(i);
        if (sJoystick) return true;
        sOpenFailures++;
    }
    return false;
}

static void CloseDevice() {
    if (sController) {
        SDL_GameControllerClose(sController);
    } else if (sJoystick) {
        SDL_JoystickClose(sJoystick);
    }
    sController = nullptr;
    sJoystick = nullptr;
}

bool Plat_JoyOpen() {
    if (sTape == PLAT_JOY_REPLAY) {
        bool ok = false;
        PopOpen(&ok);
        sTapeOpen = ok;
        return ok;
    }
    CloseDevice();
    sLost = false;
    bool ok = OpenFirst();
    if (sTape == PLAT_JOY_FROZEN) PushOpen(ok);
    return ok;
}

void Plat_JoyClose() {
    CloseDevice();
    sLost = false;
}

bool Plat_JoyIsOpen() { return sTape == PLAT_JOY_REPLAY ? sTapeOpen : sJoystick != nullptr; }

// After a loss: whichever device is attached now. Until one is found every
// read reports the loss again, so the caller keeps trying.
bool Plat_JoyAcquire() {
    if (sTape == PLAT_JOY_REPLAY) {
        bool ok = false;
        PopOpen(&ok);
        sTapeOpen = ok;
        return ok;
    }
    CloseDevice();
    bool ok = OpenFirst();
    sLost = !ok;
    if (sTape == PLAT_JOY_FROZEN) PushOpen(ok);
    return ok;
}

bool Plat_JoyServiceUp() { return sTape == PLAT_JOY_REPLAY || sServiceUp; }

int Plat_JoyOpenFailures() { return sTape == PLAT_JOY_REPLAY ? 0 : sOpenFailures; }

static void ReadController(PlatJoyState* out) {
    SDL_GameController* c = sController;
    out->x = ScaleAxis(SDL_GameControllerGetAxis(c, SDL_CONTROLLER_AXIS_LEFTX));
    out->y = ScaleAxis(SDL_GameControllerGetAxis(c, SDL_CONTROLLER_AXIS_LEFTY));
    // The pad wins over the stick.
    if (SDL_GameControllerGetButton(c, SDL_CONTROLLER_BUTTON_DPAD_LEFT)) out->x = -1000;
    if (SDL_GameControllerGetButton(c, SDL_CONTROLLER_BUTTON_DPAD_RIGHT)) out->x = 1000;
    if (SDL_GameControllerGetButton(c, SDL_CONTROLLER_BUTTON_DPAD_UP)) out->y = -1000;
    if (SDL_GameControllerGetButton(c, SDL_CONTROLLER_BUTTON_DPAD_DOWN)) out->y = 1000;
    // Button numbers as on the old pads: A shot, B bomb, then the rest.
    static const SDL_GameControllerButton kOrder[] = {
        SDL_CONTROLLER_BUTTON_A,         SDL_CONTROLLER_BUTTON_B,
        SDL_CONTROLLER_BUTTON_X,         SDL_CONTROLLER_BUTTON_Y,
        SDL_CONTROLLER_BUTTON_LEFTSHOULDER, SDL_CONTROLLER_BUTTON_RIGHTSHOULDER,
        SDL_CONTROLLER_BUTTON_BACK,      SDL_CONTROLLER_BUTTON_START,
        SDL_CONTROLLER_BUTTON_LEFTSTICK, SDL_CONTROLLER_BUTTON_RIGHTSTICK,
        SDL_CONTROLLER_BUTTON_GUIDE,
    };
    int n = 0;
    for (SDL_GameControllerButton b : kOrder) {
        out->buttons[n++] = SDL_GameControllerGetButton(c, b) ? 0x80 : 0;
    }
    // The triggers count as buttons when pulled half way.
    out->buttons[n++] = SDL_GameControllerGetAxis(c, SDL_CONTROLLER_AXIS_TRIGGERLEFT) > 16384 ? 0x80 : 0;
    out->buttons[n++] = SDL_GameControllerGetAxis(c, SDL_CONTROLLER_AXIS_TRIGGERRIGHT) > 16384 ? 0x80 : 0;
}

static void ReadJoystick(PlatJoyState* out) {
    SDL_Joystick* j = sJoystick;
    if (SDL_JoystickNumAxes(j) >= 2) {
        out->x = ScaleAxis(SDL_JoystickGetAxis(j, 0));
        out->y = ScaleAxis(SDL_JoystickGetAxis(j, 1));
    }
    if (SDL_JoystickNumHats(j) >= 1) {
        Uint8 hat = SDL_JoystickGetHat(j, 0);
        if (hat & SDL_HAT_LEFT) out->x = -1000;
        if (hat & SDL_HAT_RIGHT) out->x = 1000;
        if (hat & SDL_HAT_UP) out->y = -1000;
        if (hat & SDL_HAT_DOWN) out->y = 1000;
    }
    int buttons = SDL_JoystickNumButtons(j);
    if (buttons > (int)sizeof(out->buttons)) buttons = (int)sizeof(out->buttons);
    for (int i = 0; i < buttons; i++) out->buttons[i] = SDL_JoystickGetButton(j, i) ? 0x80 : 0;
}

PlatJoyResult Plat_JoyRead(PlatJoyState* out) {
    if (sTape != PLAT_JOY_LIVE) {
        *out = sSnap;
        return sSnapRes;
    }
    return Plat_JoyReadLive(out);
}

PlatJoyResult Plat_JoyReadLive(PlatJoyState* out) {
    if (sTape == PLAT_JOY_REPLAY) return Plat_JoyRead(out);
    if (!sJoystick) return sLost ? PLAT_JOY_LOST : PLAT_JOY_FAIL;
    SDL_JoystickUpdate();
    if (!SDL_JoystickGetAttached(sJoystick)) {
        sLost = true;
        return PLAT_JOY_LOST;
    }
    std::memset(out, 0, sizeof(*out));
    if (sController) {
        ReadController(out);
    } else {
        ReadJoystick(out);
    }
    return PLAT_JOY_OK;
}

void Plat_JoySetTape(PlatJoyTape mode) {
    sTape = mode;
    sOpenHead = sOpenCount = 0;
    sTapeOpen = false;
}

void Plat_JoySetSnapshot(PlatJoyResult res, const PlatJoyState* state) {
    sSnapRes = res;
    sSnap = *state;
}

int Plat_JoyTakeOpens(bool* out, int max) {
    int n = 0;
    while (n < max && PopOpen(&out[n])) n++;
    return n;
}

void Plat_JoyQueueOpen(bool ok) { PushOpen(ok); }
