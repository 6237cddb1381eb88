// Keyboard and joystick key states.
#include "core/input.h"
#include "platform/msgbox.h"
#include "core/core.h"

KEYSTATE KeyData;
JOYSTATE JoyData;
bool JoyShow = false;
bool DIuse = false;
PlatJoyState dijs;

static const char* const kJoyOpenFailed = "ジョイスティックを取得できません";
static const char* const kJoyFormatFailed = "ジョイスティックデータフォーマットを設定できません";

int KeyStateNext(int state, bool pressed) {
    if (pressed) return state == KEY_UP_STATE ? KEY_PUSH : KEY_HOLD;
    return (state == KEY_PUSH || state == KEY_HOLD) ? KEY_RELEASE : KEY_UP_STATE;
}

void Key_Input(int vk, int* state) {
    *state = KeyStateNext(*state, Plat_KeyDown(vk));
}

static bool JoyPressed(int code, const PlatJoyState& js) {
    switch (code) {
    case JOY_UP: return js.y < 0;
    case JOY_DOWN: return js.y > 0;
    case JOY_LEFT: return js.x < 0;
    case JOY_RIGHT: return js.x > 0;
    default:
        if (code < 0 || code >= (int)sizeof(js.buttons)) return false;
        return js.buttons[code] != 0;
    }
}

void GetJoy(int code, int* state) {
    if (!JoyShow) return;
    PlatJoyResult res = Plat_JoyRead(&dijs);
    if (res == PLAT_JOY_LOST) {
        // Unplugged (or taken away): open whatever is attached now and keep
        // the state for this read. With nothing attached the control lets
        // go, so a direction held at the moment of the loss does not stick.
        if (!Plat_JoyAcquire()) *state = KeyStateNext(*state, false);
        return;
    }
    if (res != PLAT_JOY_OK) return;
    *state = KeyStateNext(*state, JoyPressed(code, dijs));
}

int InitDInput() {
    // A set-up at a game start first lets go of the device of the last one.
    EndDInput();
    JoyShow = true;
    DIuse = true;
    bool opened = Plat_JoyOpen();
    if (!Plat_JoyServiceUp()) {
        DIuse = false;
        JoyShow = false;
        return 1;
    }
    for (int i = Plat_JoyOpenFailures(); i > 0; i--) Shell_MessageBox(kJoyOpenFailed, "Error");
    if (!opened) {
        JoyShow = false;
        return 1;
    }
    // A device that opens but cannot even be read is given up.
    if (Plat_JoyRead(&dijs) == PLAT_JOY_FAIL) {
        EndDInput();
        Error(kJoyFormatFailed);
        Shell_MessageBox(kJoyFormatFailed, "Error");
        return 0;
    }
    return 1;
}

void EndDInput() {
    if (Plat_JoyIsOpen()) Plat_JoyClose();
    JoyShow = false;
}

void InputPoll() {
    GetJoy(JOY_UP, &JoyData.up);
    GetJoy(JOY_DOWN, &JoyData.down);
    GetJoy(JOY_LEFT, &JoyData.left);
    GetJoy(JOY_RIGHT, &JoyData.right);
    for (int i = 0; i < 10; i++) GetJoy(i, &JoyData.button[i]);
    Key_Input(VK_UP, &KeyData.up);
    Key_Input(VK_DOWN, &KeyData.down);
    Key_Input(VK_LEFT, &KeyData.left);
    Key_Input(VK_RIGHT, &KeyData.right);
    Key_Input(VK_SPACE, &KeyData.space);
    Key_Input(VK_SHIFT, &KeyData.shift);
}
