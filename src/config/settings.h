// The player's settings and the command line: one table. Each row names a
// setting or an option once (name, kind, default, range or choices, step,
// where it is kept, help text, label on the settings page, flags); the
// settings file, the command line, --help, the manual page and the settings
// page all read it, so a new setting is one row (docs/developing.md).
#pragma once
#include <cstdio>
#include <string>

// The game keys a player can rebind, in the order the settings page shows
// them. Each stands for one of the game's own virtual keys (GameKeyVK).
enum {
    GK_UP, GK_DOWN, GK_LEFT, GK_RIGHT, GK_SHOT, GK_SHOT2, GK_BOMB, GK_PAUSE,
    GK_FAST1, GK_FAST2, GK_FAST3, GK_SLOW1, GK_SLOW2, GK_SLOW3, GK_QUIT,
    GK_COUNT
};
extern const int GameKeyVK[GK_COUNT];

// How the 640x480 picture fills the window.
enum { SCALING_SHARP = 0, SCALING_FIT = 1, SCALING_SMOOTH = 2 };

// Every setting a player can keep. Plain ints: switches 0/1, choices by
// index, keys by the platform's key number, pad buttons by the game's
// button number (-1 none).
struct GameSettings {
    int fullscreen, scale, scaling, vsync, pace;
    int musicVolume, effectVolume, mute;  // volumes 0..100
    int key[GK_COUNT];
    int padShot, padBomb, padPause, padQuit;
    int deadZone;  // per cent of the stick's travel (of 32000) read as rest
    int language, pauseOnFocusLoss, keepReplays;
    int boardSubmit;         // BOARD_SUBMIT_*
    int ghost;               // GHOST_*
    char boardUrl[256];      // the score board's address; empty: nothing is ever sent
    char playerName[100];    // the name entries are sent under (24 characters of UTF-8)
};

// When a finished game's kept replay goes to the score board.
enum { BOARD_SUBMIT_ASK = 0, BOARD_SUBMIT_ALWAYS = 1, BOARD_SUBMIT_NEVER = 2 };
// The ghost a new game races: none, the player's best kept game on its
// difficulty, the board's best verified run on it.
enum { GHOST_NONE = 0, GHOST_BEST = 1, GHOST_BOARD = 2 };
extern GameSettings Settings;

enum SettingKind {
    SK_FLAG,    // command line only, takes no value
    SK_TEXT,    // command line only, takes a value its handler checks
    SK_BOOL,    // on / off
    SK_INT,     // a whole number in [min, max]
    SK_CHOICE,  // one of `choices`, kept as its index
    SK_KEY,     // a keyboard key, by name
    SK_PAD,     // a pad button, by name, or none
    SK_SPEED,   // the speed correction (kept in the record)
    SK_STRING,  // a line of text (`text`, at most `textSize` - 1 bytes), checked by `check`
};

enum SettingHome {
    SH_RUN,     // this run only (a command-line option)
    SH_FILE,    // the settings file (and --NAME VALUE for one run)
    SH_RECORD,  // the record "score.dat" (shown on the settings page)
};

// What a row does beyond its kind and home.
enum SettingFlag {
    SF_HIDDEN = 1,  // not listed by --help nor in the manual page (build aids)
    SF_HEARD = 2,   // a change on the settings page plays a sound effect, so
                    // that the player hears what the new value sounds like
    SF_WINDOW = 4,  // acts on a window of the game's own: the settings page
                    // of the browser build leaves it out (the page sizes the
                    // picture and the browser owns full screen and refresh)
};

struct Setting {
    const char* name;     // long option and key in the file
    const char* section;  // section of the file and group on the page
    SettingHome home;
    SettingKind kind;
    int def;              // default of SK_BOOL / SK_INT / SK_CHOICE
    const char* defName;  // default of SK_KEY / SK_PAD, by name
    int min, max;         // SK_INT; SK_STRING: `max` characters at most (0: as
                          // many as the bytes hold)
    int step;             // SK_INT: one press of left or right on the page
    const char* const* choices;  // SK_CHOICE, null-terminated
    int* value;           // where the setting lives (SH_FILE)
    bool (*run)(const char* arg);  // SH_RUN: takes the option; false when bad
    const char* arg;      // the value's name in --help (and the usage a bad
                          // SH_RUN value is told)
    const char* help;
    const char* label;    // the settings page's label; null: not shown there
    unsigned flags;       // SettingFlag bits
    char* text;           // SK_STRING: where the text lives (`value` is null)
    int textSize;
    // SK_STRING: null when the text is a value of the row, else one short
    // line saying why not (the settings page shows it to the player).
    const char* (*check)(const char* text);
};

extern const Setting SettingsTable[];
extern const int SettingsCount;

// Finds a row by name; null when there is none.
const Setting* Settings_Find(const char* section, const char* name);
// Every setting of the file back to its default (the game as designed),
// the file's values too.
void Settings_ResetDefaults();
// A row's default value.
int Settings_Default(const Setting& s);
// Sets a row from text as the file or the command line writes it. False
// (and nothing changed) when the text is not a value of the row.
bool Settings_SetFromText(const Setting& s, const char* text);
// The row's current value as the file writes it and the page shows it.
std::string Settings_ValueText(const Setting& s);
// A value of the row as text.
std::string Settings_TextOf(const Setting& s, int value);
// The allowed values of a row, for messages and --help ("on|off", "1-8").
std::string Settings_Range(const Setting& s);

// The command line. 1: go on; 0: bad arguments (reported on standard
// error); -1: done, nothing to run (--help, --version).
int Settings_ParseCommandLine(int argc, char** argv);
// The usage text, from the table.
void Settings_PrintUsage(FILE* out);
// The manual page's OPTIONS and SETTINGS sections (roff), from the table:
// the build puts them into the page, so the two cannot drift apart.
void Settings_PrintManual(FILE* out);
// Settings given on the command line win over the file for this run:
// called again after the file has been read.
void Settings_ReapplyOverrides();
// Whether the setting `name` was given on the command line for this run.
bool Settings_GivenForThisRun(const char* name);
// The file given with --config, or empty.
const std::string& Settings_ConfigOverride();

// Whether the last Config_Load found a file at all (a first start finds
// none).
bool Config_FileFound();
// The settings file: Paths_ConfigHome() + "quellstorm.ini" unless --config
// named another.
std::string Config_Path();
// Reads the file into the settings. A missing file is no error; anything
// it cannot use (unknown key, bad value, damaged or huge file) gives one
// warning line on standard error naming the file, line and key, and that
// setting keeps its default. The defaults are kept too when the file
// exists but cannot be read (or is far too large to be one): then the
// answer is false and `problem` (when given) says why, for a file the
// player named with --config, which the game does not start without.
bool Config_Load(const std::string& path, std::string* problem = nullptr);
// The same on text in memory; `name` names it in warnings.
void Config_LoadText(const char* text, size_t size, const char* name);
// Writes every setting of the file, atomically. Values given on the command
// line for this run are not written: the file keeps what it had. False
// (after a warning) when the file cannot be written.
bool Config_Save(const std::string& path);
// The file's text for the current settings.
std::string Config_Text();
// The current settings become what a save writes.
void Config_KeepCurrent();
// A setting was changed by the player (the settings page, F11): it is
// kept as the file's value and the file is written.
void Config_Changed(const Setting& s);
// Warnings are not printed while quiet (tests, fuzzing); the count of
// warnings given since the last reset is kept either way.
extern bool ConfigQuiet;
extern int ConfigWarnings;

// Puts the settings into the run's options and the game's language (at
// start-up, after the file and the command line).
void Settings_ToOptions();
// Puts into force what changed since the last call (everything on the
// first): the options and language, the key bindings, the pad, the volumes
// and the window. A window the player resized by hand keeps its size
// unless the scale itself changed.
void Settings_Apply();
// The next Settings_Apply puts everything into force again (a new window).
void Settings_ApplyAllNext();
