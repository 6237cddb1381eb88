// The settings file reader on arbitrary bytes: whatever the file holds,
// every setting ends inside its range, and the file the game would write
// for them reads back to the same settings and is written the same again.
#include <cstring>
#include <string>

#include "config/settings.h"

enum { SETTINGS_FUZZ_MAX = 256 };

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    ConfigQuiet = true;
    Settings_ResetDefaults();
    Config_LoadText(reinterpret_cast<const char*>(data), size, "fuzz");
    for (int i = 0; i < SettingsCount; i++) {
        const Setting& s = SettingsTable[i];
        if (s.home != SH_FILE || s.kind == SK_STRING) continue;
        int v = *s.value;
        if (s.kind == SK_INT && (v < s.min || v > s.max)) __builtin_trap();
        if ((s.kind == SK_BOOL) && v != 0 && v != 1) __builtin_trap();
        if (s.kind == SK_KEY && v == 0) __builtin_trap();
    }
    // Compared row by row as text: the settings hold strings now.
    std::string first[SETTINGS_FUZZ_MAX];
    int rows = SettingsCount < SETTINGS_FUZZ_MAX ? SettingsCount : SETTINGS_FUZZ_MAX;
    for (int i = 0; i < rows; i++) first[i] = Settings_ValueText(SettingsTable[i]);
    std::string text = Config_Text();
    Settings_ResetDefaults();
    ConfigWarnings = 0;
    Config_LoadText(text.data(), text.size(), "fuzz-again");
    // Keys it does not know are kept (and warned about again), so the check is
    // that the same settings come back and the file it writes is stable.
    for (int i = 0; i < rows; i++)
        if (Settings_ValueText(SettingsTable[i]) != first[i]) __builtin_trap();
    if (Config_Text() != text) __builtin_trap();
    return 0;
}
