// Putting the settings into force: the run's options, the language, and
// (through the platform) the display, the sound and the controls.
#include "core/lang.h"
#include "config/settings.h"
#include "platform/display.h"
#include "platform/input.h"
#include "platform/page.h"
#include "platform/sound.h"
#include "config/options.h"

ShellOptions Options;

#include <string>

void Settings_ToOptions() {
    Options.window = !Settings.fullscreen;
    Options.scale = Settings.scale;
    Options.pace = Settings.pace;
    Options.pauseOnFocusLoss = Settings.pauseOnFocusLoss != 0;
    Options.keepReplays = Settings.keepReplays != 0;
    GameLanguage = Settings.language;
    Plat_PageLanguage(GameLanguage == LANG_EN ? "en" : "ja");
}

namespace {
// What the window was last given; the window settings are put into force
// only when they change, so that a change of volume on the settings page
// leaves alone a window the player has resized by hand (and does not
// repeat the warning of a scale too large for the screen).
GameSettings sApplied;
bool sAppliedOnce;
}  // namespace

void Settings_ApplyAllNext() { sAppliedOnce = false; }

static_assert((int)GK_COUNT <= (int)PLAT_BIND_MAX, "every game key has a place among the platform's bindings");

void Settings_Apply() {
    Settings_ToOptions();
    for (int k = 0; k < GK_COUNT; k++) Plat_BindKey(GameKeyVK[k], Settings.key[k]);
    // The English instructions name the keys as bound.
    std::string names[GK_COUNT];
    for (int k = 0; k < GK_COUNT; k++)
        for (int i = 0; i < SettingsCount; i++)
            if (SettingsTable[i].value == &Settings.key[k]) names[k] = Settings_ValueText(SettingsTable[i]);
    std::string padShot = Settings_ValueText(*Settings_Find("pad", "pad-shot"));
    std::string padBomb = Settings_ValueText(*Settings_Find("pad", "pad-bomb"));
    LangKeyNames n = {names[GK_SHOT].c_str(), names[GK_SHOT2].c_str(), names[GK_BOMB].c_str(), names[GK_PAUSE].c_str(),
                      names[GK_QUIT].c_str(),
                      {names[GK_FAST1].c_str(), names[GK_FAST2].c_str(), names[GK_FAST3].c_str()},
                      {names[GK_SLOW1].c_str(), names[GK_SLOW2].c_str(), names[GK_SLOW3].c_str()},
                      padShot.c_str(), padBomb.c_str()};
    Lang_NameKeys(n);
    Plat_JoySetMapping(Settings.padShot, Settings.padBomb, Settings.deadZone * 320);
    Plat_SetVolumes(Settings.mute ? 0 : Settings.musicVolume, Settings.mute ? 0 : Settings.effectVolume);
    // The window follows (nothing happens before it is open, or headless).
    bool all = !sAppliedOnce;
    if (all || Settings.scale != sApplied.scale) Plat_SetWindowScale(Settings.scale);
    if (all || Settings.fullscreen != sApplied.fullscreen) Plat_SetFullscreen(Settings.fullscreen != 0);
    if (all || Settings.scaling != sApplied.scaling) Plat_SetScaling(Settings.scaling);
    if (all || Settings.vsync != sApplied.vsync) Plat_SetVsync(Settings.vsync != 0);
    sApplied = Settings;
    sAppliedOnce = true;
}
