// Joystick service on SDL: a game controller where SDL knows the device's
// layout, a raw joystick otherwise.
#include <SDL.h>
#include <cstring>

#include "platform/input.h"
#include "platform/plat_internal.h"

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

// Sticks at rest rarely read exactly 0: part of the travel is read as rest
// so that a released stick never moves the ship or a menu (the settings'
// dead zone, given before any stick is read).
static int sDeadZone;
// The buttons read as the game's shot and bomb.
static int sShotButton = PAD_A, sBombButton = PAD_B;

void Plat_JoySetMapping(int shot, int bomb, int deadZone) {
    sShotButton = shot;
    sBombButton = bomb;
    sDeadZone = deadZone < 0 ? 0 : deadZone > 32767 ? 32767 : deadZone;
}

static bool StartService() {
    if (SDL_WasInit(SDL_INIT_GAMECONTROLLER) == SDL_INIT_GAMECONTROLLER) return true;
    // Read the device even while the window is not in front.
    SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
    return SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) == 0;
}

// -32768 .. 32767 to -1000 .. 1000, 0 inside the dead zone.
static int ScaleAxis(Sint16 raw) {
    int v = raw;
    if (v > -sDeadZone && v < sDeadZone) return 0;
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

// Button numbers as on the old pads: A shot, B bomb, then the rest (the
// triggers follow as PAD_LT and PAD_RT).
static const SDL_GameControllerButton kOrder[] = {
    SDL_CONTROLLER_BUTTON_A,         SDL_CONTROLLER_BUTTON_B,
    SDL_CONTROLLER_BUTTON_X,         SDL_CONTROLLER_BUTTON_Y,
    SDL_CONTROLLER_BUTTON_LEFTSHOULDER, SDL_CONTROLLER_BUTTON_RIGHTSHOULDER,
    SDL_CONTROLLER_BUTTON_BACK,      SDL_CONTROLLER_BUTTON_START,
    SDL_CONTROLLER_BUTTON_LEFTSTICK, SDL_CONTROLLER_BUTTON_RIGHTSTICK,
    SDL_CONTROLLER_BUTTON_GUIDE,
};

static void ReadController(PlatJoyState* out) {
    SDL_GameController* c = sController;
    out->x = ScaleAxis(SDL_GameControllerGetAxis(c, SDL_CONTROLLER_AXIS_LEFTX));
    out->y = ScaleAxis(SDL_GameControllerGetAxis(c, SDL_CONTROLLER_AXIS_LEFTY));
    // The pad wins over the stick.
    if (SDL_GameControllerGetButton(c, SDL_CONTROLLER_BUTTON_DPAD_LEFT)) out->x = -1000;
    if (SDL_GameControllerGetButton(c, SDL_CONTROLLER_BUTTON_DPAD_RIGHT)) out->x = 1000;
    if (SDL_GameControllerGetButton(c, SDL_CONTROLLER_BUTTON_DPAD_UP)) out->y = -1000;
    if (SDL_GameControllerGetButton(c, SDL_CONTROLLER_BUTTON_DPAD_DOWN)) out->y = 1000;
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
    if (Plat_InputBlocked()) return PLAT_JOY_OK;  // at rest while a page is open
    if (sController) {
        ReadController(out);
    } else {
        ReadJoystick(out);
    }
    // The player's shot and bomb buttons become the game's buttons 0 and 1.
    if (sShotButton != PAD_A || sBombButton != PAD_B) {
        unsigned char raw[sizeof out->buttons];
        std::memcpy(raw, out->buttons, sizeof raw);
        out->buttons[0] = sShotButton >= 0 ? raw[sShotButton] : 0;
        out->buttons[1] = sBombButton >= 0 ? raw[sBombButton] : 0;
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

// The stick's side as a pad event, once each time it leaves the middle.
static int sStickX, sStickY;

static bool StickEvent(int* side, int value, int neg, int pos, int* button) {
    int now = value < -16384 ? -1 : value > 16384 ? 1 : 0;
    bool fire = now != 0 && now != *side;
    *side = now;
    if (fire) *button = now < 0 ? neg : pos;
    return fire;
}

bool PlatI_PadEvent(const SDL_Event& e, int* button) {
    if (!sJoystick) return false;
    SDL_JoystickID id = SDL_JoystickInstanceID(sJoystick);
    if (sController) {
        if (e.type == SDL_CONTROLLERBUTTONDOWN && e.cbutton.which == id) {
            switch (e.cbutton.button) {
            case SDL_CONTROLLER_BUTTON_DPAD_UP: *button = PAD_UP; return true;
            case SDL_CONTROLLER_BUTTON_DPAD_DOWN: *button = PAD_DOWN; return true;
            case SDL_CONTROLLER_BUTTON_DPAD_LEFT: *button = PAD_LEFT; return true;
            case SDL_CONTROLLER_BUTTON_DPAD_RIGHT: *button = PAD_RIGHT; return true;
            default: break;
            }
            for (int i = 0; i < (int)(sizeof kOrder / sizeof kOrder[0]); i++)
                if (kOrder[i] == e.cbutton.button) {
                    *button = i;
                    return true;
                }
            return false;
        }
        if (e.type == SDL_CONTROLLERAXISMOTION && e.caxis.which == id) {
            if (e.caxis.axis == SDL_CONTROLLER_AXIS_LEFTX) return StickEvent(&sStickX, e.caxis.value, PAD_LEFT, PAD_RIGHT, button);
            if (e.caxis.axis == SDL_CONTROLLER_AXIS_LEFTY) return StickEvent(&sStickY, e.caxis.value, PAD_UP, PAD_DOWN, button);
        }
        return false;
    }
    if (e.type == SDL_JOYBUTTONDOWN && e.jbutton.which == id) {
        *button = e.jbutton.button;
        return true;
    }
    if (e.type == SDL_JOYAXISMOTION && e.jaxis.which == id && e.jaxis.axis < 2)
        return e.jaxis.axis == 0 ? StickEvent(&sStickX, e.jaxis.value, PAD_LEFT, PAD_RIGHT, button)
                                 : StickEvent(&sStickY, e.jaxis.value, PAD_UP, PAD_DOWN, button);
    if (e.type == SDL_JOYHATMOTION && e.jhat.which == id && e.jhat.value != SDL_HAT_CENTERED) {
        Uint8 h = e.jhat.value;
        *button = (h & SDL_HAT_UP) ? PAD_UP : (h & SDL_HAT_DOWN) ? PAD_DOWN : (h & SDL_HAT_LEFT) ? PAD_LEFT : PAD_RIGHT;
        return true;
    }
    return false;
}
