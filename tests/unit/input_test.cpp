#include <gtest/gtest.h>

#include <SDL.h>
#include <cstring>

#include "platform/msgbox.h"
#include "core/input.h"

namespace {

TEST(KeyState, FourStateCycle) {
    int s = 0;
    const bool presses[] = {true, true, true, false, false, true, false, true, true};
    const int expected[] = {1, 3, 3, 2, 0, 1, 2, 3, 3};
    for (size_t i = 0; i < sizeof presses; i++) {
        s = KeyStateNext(s, presses[i]);
        EXPECT_EQ(s, expected[i]) << "poll " << i;
    }
}

class KeyInputTest : public ::testing::Test {
protected:
    bool keys[256] = {};
    void Press(int vk, bool down) {
        keys[vk] = down;
        Plat_SetScriptedKeys(keys);
    }
    void TearDown() override { Plat_ClearScriptedKeys(); }
};

TEST_F(KeyInputTest, WithoutJoystickOnlyTheKeyboardCounts) {
    Plat_SetHeadless(true);
    ASSERT_EQ(InitDInput(), 1);
    EXPECT_FALSE(JoyShow);
    std::memset(&KeyData, 0, sizeof KeyData);
    std::memset(&JoyData, 0, sizeof JoyData);
    Press(VK_LEFT, true);
    Press(VK_SHIFT, true);
    InputPoll();
    EXPECT_EQ(KeyData.left, 1);
    InputPoll();
    EXPECT_EQ(KeyData.left, 3);
    EXPECT_EQ(KeyData.shift, 3);
    EXPECT_EQ(KeyData.right, 0);
    Press(VK_LEFT, false);
    InputPoll();
    EXPECT_EQ(KeyData.left, 2);
    const JOYSTATE zero = {};
    EXPECT_EQ(0, std::memcmp(&JoyData, &zero, sizeof zero));
    int held = 3;
    GetJoy(0, &held);  // no device: the state keeps its value
    EXPECT_EQ(held, 3);
}

// A virtual device stands in for a plugged-in pad.
class JoystickTest : public ::testing::Test {
protected:
    int index = -1;
    SDL_Joystick* handle = nullptr;  // our own handle, to set its controls
    SDL_JoystickType type = SDL_JOYSTICK_TYPE_UNKNOWN;  // no known layout: raw
    int axes = 2, buttons = 12, hats = 1;

    void SetUp() override {
        Plat_SetHeadless(true);
        ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER), 0) << SDL_GetError();
        Attach();
        ASSERT_EQ(InitDInput(), 1);
        ASSERT_TRUE(JoyShow);
    }
    void Attach() {
        index = SDL_JoystickAttachVirtual(type, axes, buttons, hats);
        ASSERT_GE(index, 0) << SDL_GetError();
        handle = SDL_JoystickOpen(index);
        ASSERT_NE(handle, nullptr);
    }
    void Detach() {
        SDL_JoystickID id = SDL_JoystickInstanceID(handle);
        SDL_JoystickClose(handle);
        handle = nullptr;
        for (int i = 0; i < SDL_NumJoysticks(); i++) {
            if (SDL_JoystickGetDeviceInstanceID(i) == id) SDL_JoystickDetachVirtual(i);
        }
    }
    void TearDown() override {
        EndDInput();
        if (handle) Detach();
        SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
    }
};

TEST_F(JoystickTest, StickPadAndButtons) {
    int left = 0, right = 0, up = 0, b0 = 0, b1 = 0;
    SDL_JoystickSetVirtualAxis(handle, 0, -32768);
    SDL_JoystickSetVirtualButton(handle, 0, 1);
    GetJoy(JOY_LEFT, &left);
    GetJoy(JOY_RIGHT, &right);
    GetJoy(0, &b0);
    GetJoy(1, &b1);
    EXPECT_EQ(left, 1);
    EXPECT_EQ(right, 0);
    EXPECT_EQ(b0, 1);
    EXPECT_EQ(b1, 0);
    EXPECT_EQ(dijs.x, -1000);

    // A stick resting a little off centre is not a press.
    SDL_JoystickSetVirtualAxis(handle, 0, 1500);
    SDL_JoystickSetVirtualButton(handle, 0, 0);
    GetJoy(JOY_LEFT, &left);
    GetJoy(JOY_RIGHT, &right);
    GetJoy(0, &b0);
    EXPECT_EQ(left, 2);
    EXPECT_EQ(right, 0);
    EXPECT_EQ(b0, 2);

    // The hat steers as well.
    SDL_JoystickSetVirtualHat(handle, 0, SDL_HAT_UP);
    GetJoy(JOY_UP, &up);
    EXPECT_EQ(up, 1);
    EXPECT_EQ(dijs.y, -1000);
}

TEST_F(JoystickTest, UnpluggedPadIsAcquiredAgain) {
    int right = 0;
    SDL_JoystickSetVirtualAxis(handle, 0, 32767);
    GetJoy(JOY_RIGHT, &right);
    GetJoy(JOY_RIGHT, &right);
    ASSERT_EQ(right, 3);

    // Replugged between two reads: the lost read keeps the state...
    Detach();
    Attach();
    GetJoy(JOY_RIGHT, &right);
    EXPECT_EQ(right, 3);
    EXPECT_TRUE(Plat_JoyIsOpen());
    // ...and the next one reads the new device (stick at rest).
    GetJoy(JOY_RIGHT, &right);
    EXPECT_EQ(right, 2);

    // Unplugged for good while held: the direction lets go.
    SDL_JoystickSetVirtualAxis(handle, 0, 32767);
    GetJoy(JOY_RIGHT, &right);
    GetJoy(JOY_RIGHT, &right);
    ASSERT_EQ(right, 3);
    Detach();
    GetJoy(JOY_RIGHT, &right);
    EXPECT_EQ(right, 2);
    GetJoy(JOY_RIGHT, &right);
    EXPECT_EQ(right, 0);
    // Plugged in again later: picked up by the next read.
    Attach();
    SDL_JoystickSetVirtualButton(handle, 1, 1);
    int b1 = 0;
    GetJoy(1, &b1);  // acquires
    GetJoy(1, &b1);
    EXPECT_EQ(b1, 1);
}

// SDL's virtual controller layout: a b0, b b1, x b2, y b3, back b4,
// guide b5, start b6, sticks b7 b8, shoulders b9 b10, pad b11..b14,
// left stick a0 a1, triggers a4 a5.
class ControllerTest : public JoystickTest {
protected:
    void SetUp() override {
        type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
        axes = 6;
        buttons = 15;
        hats = 0;
        JoystickTest::SetUp();
    }
};

TEST_F(ControllerTest, ButtonsInTheOldPadOrderAndPadAsStick) {
    ASSERT_TRUE(SDL_IsGameController(index));
    SDL_JoystickSetVirtualButton(handle, 1, 1);   // B: bomb
    SDL_JoystickSetVirtualButton(handle, 9, 1);   // left shoulder
    SDL_JoystickSetVirtualButton(handle, 6, 1);   // start
    SDL_JoystickSetVirtualButton(handle, 13, 1);  // pad left
    SDL_JoystickSetVirtualAxis(handle, 1, 32767); // stick down
    SDL_JoystickSetVirtualAxis(handle, 5, 32767); // right trigger
    int state[14] = {};
    GetJoy(JOY_UP, &state[0]);
    GetJoy(JOY_DOWN, &state[1]);
    GetJoy(JOY_LEFT, &state[2]);
    GetJoy(JOY_RIGHT, &state[3]);
    for (int i = 0; i < 10; i++) GetJoy(i, &state[4 + i]);
    const int expected[14] = {0, 1, 1, 0, /*A*/ 0, /*B*/ 1, 0, 0, /*LB*/ 1, 0, 0, /*start*/ 1, 0, 0};
    for (int i = 0; i < 14; i++) EXPECT_EQ(state[i], expected[i]) << i;
    EXPECT_EQ(dijs.x, -1000);
    EXPECT_EQ(dijs.y, 1000);
    EXPECT_NE(dijs.buttons[12], 0);  // triggers come after the ten
}

}  // namespace
