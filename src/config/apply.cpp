// Putting the settings into force: the run's options, the language, and
// (through the platform) the display, the sound and the controls.
#include "config/lang.h"
#include "config/settings.h"
#include "shell/frameloop.h"

void Settings_ToOptions() {
    Options.window = !Settings.fullscreen;
    Options.scale = Settings.scale;
    Options.pace = Settings.pace;
    Options.pauseOnFocusLoss = Settings.pauseOnFocusLoss != 0;
    Options.keepReplays = Settings.keepReplays != 0;
    GameLanguage = Settings.language;
}
