// The settings page: every setting of the table with its value, over the
// darkened title picture. Up and down choose; left, right, shot or Return
// change (a key or pad button row asks for the new key); every change is
// put into force at once and written to the settings file.
#pragma once

// Paints the whole page into the back buffer.
void SettingsPage_Draw();
// A key-down while the page is open (virtual-key code, 0 for a key the
// game does not know). True when the page used it; false leaves Escape,
// F1 and F2 to close or switch the page.
bool SettingsPage_Key(int key);
// Text typed while a text row is being edited (Return or the pad's
// confirm on the row begins; Return accepts, Escape cancels).
void SettingsPage_Text(const char* text);
// The keyboard key (Plat_KeyName) or pad button behind the next
// SettingsPage_Key call, for a rebinding. The shell sets one of them
// before each call.
void SettingsPage_TakePhysical(int key);
void SettingsPage_TakePad(int button);
struct Setting;
// The table's row of a setting's value.
const Setting* SettingsTable_ForValue(const int* value);
// The page opens on its first row.
void SettingsPage_Reset();
