// Scripted input: a text file that gives, frame by frame, the keys held
// down and the key-down events, in place of the keyboard. Tests drive the
// real game with it.
//
//   # comment
//   <frame> hold KEY...   from this frame on exactly these keys are down
//   <frame> press KEY     a key-down event handed over before this frame
//   <frame> text TEXT     TEXT typed (UTF-8, up to 63 bytes, '#' included)
//                         before this frame, in its place among the
//                         frame's key-downs; only a text field being edited
//                         takes it (as the settings page's text rows)
//
// KEY: a keyboard key by name, as in the settings file but in one word:
// UP DOWN LEFT RIGHT SPACE SHIFT ESC RETURN Z C Q W E 1 2 3 F1 F2 F11 F12
// X ... The player's key bindings apply to them as to the real keyboard.
#pragma once

// Loads a script. False, with a message naming the line, on a bad file.
bool Script_Load(const char* path);
bool Script_Active();
// Before frame `frame` runs: sets the held keys and queues its key-downs.
void Script_BeginFrame(long frame);
