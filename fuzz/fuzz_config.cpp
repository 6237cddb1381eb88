// The settings file reader on arbitrary bytes: whatever the file holds,
// every setting ends inside its range, and the file the game would write
// for them reads back to the same settings without a warning.
#include <cstring>
#include <string>

#include "config/settings.h"

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
    GameSettings first = Settings;
    std::string text = Config_Text();
    Settings_ResetDefaults();
    ConfigWarnings = 0;
    Config_LoadText(text.data(), text.size(), "fuzz-again");
    if (ConfigWarnings != 0 || std::memcmp(&first, &Settings, sizeof first) != 0) __builtin_trap();
    return 0;
}
