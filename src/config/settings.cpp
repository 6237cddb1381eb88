// The one table of settings and command-line options, and the command line
// read from it with getopt_long.
#include "config/settings.h"
#include "config/options.h"
#include "core/core.h"
#include "core/lang.h"
#include "platform/input.h"
#include "text/text.h"

#include <cstdlib>
#include <cstring>
#include <getopt.h>
#include <vector>

#ifndef QS_VERSION
#define QS_VERSION "1.0"
#endif

GameSettings Settings;

const int GameKeyVK[GK_COUNT] = {VK_UP, VK_DOWN, VK_LEFT, VK_RIGHT, VK_SPACE, VK_SHIFT, VK_Z, VK_C,
                                 VK_1,  VK_2,    VK_3,    VK_Q,     VK_W,     VK_E,     VK_ESCAPE};

namespace {

const char* const kOnOff[] = {"off", "on", nullptr};
const char* const kScaling[] = {"sharp", "fit", "smooth", nullptr};
const char* const kPace[] = {"exact", "smooth", nullptr};
const char* const kLanguage[] = {"ja", "en", nullptr};
const char* const kBoardSubmit[] = {"ask", "always", "never", nullptr};
const char* const kGhost[] = {"none", "best", "board", nullptr};
// The longest name the board lists, in characters; any such name fits.
const int kNameChars = kTextNameChars;
static_assert(sizeof GameSettings::playerName > 4 * kNameChars, "a name of 24 four-byte characters must fit");
// The pad's buttons by the game's numbers (A shot and B bomb as designed).
const char* const kPadButtons[] = {"A", "B", "X", "Y", "LB", "RB", "BACK", "START", "LS", "RS", "GUIDE", "LT", "RT",
                                   nullptr};

std::string sHome;
std::string sConfigFile;

bool ParseLong(const char* s, long* out) {
    char* end;
    long v = std::strtol(s, &end, 10);
    if (!*s || *end || v < 0) return false;
    *out = v;
    return true;
}

bool SetNumber(const char* arg, long* out, long min, long max) {
    long n;
    if (!ParseLong(arg, &n) || n < min || n > max) return false;
    *out = n;
    return true;
}

bool OptFrames(const char* a) { return SetNumber(a, &Options.maxFrames, 0, 2000000000L); }
bool OptDrawEvery(const char* a) { return SetNumber(a, &Options.drawEvery, 0, 1000000); }
bool OptBot(const char* a) { return SetNumber(a, &Options.bot, 0, 2000000000L); }
bool OptStage(const char* a) {
    long n;
    if (!SetNumber(a, &n, 1, 5)) return false;
    Options.startStage = (int)n;  // testing aid: new games start at this stage
    return true;
}
bool OptHome(const char* a) {
    sHome = a;
    if (sHome.empty() || sHome.back() != '/') sHome += '/';
    Options.home = sHome.c_str();
    return true;
}
bool OptShot(const char* a) {
    const char* colon = std::strchr(a, ':');
    long frame;
    std::string num = colon ? std::string(a, colon - a) : "";
    if (!colon || !colon[1] || !ParseLong(num.c_str(), &frame) || frame < 1 || Options.shotCount == 64) return false;
    Options.shotFrame[Options.shotCount] = frame;
    Options.shotFile[Options.shotCount] = colon + 1;
    Options.shotCount++;
    return true;
}
struct Override {
    const Setting* row;
    std::string text;
};
std::vector<Override> sOverrides;

bool OptWindow(const char*) {
    const Setting* fs = Settings_Find("display", "fullscreen");
    Settings_SetFromText(*fs, "off");
    sOverrides.push_back({fs, "off"});
    return true;
}
bool OptLang(const char* a) {
    const Setting* lang = Settings_Find("game", "language");
    if (!Settings_SetFromText(*lang, a)) return false;
    sOverrides.push_back({lang, a});
    return true;
}
// A board's address: http or https, one line of plain characters (it goes
// into requests as it is). Empty: no board.
const char* BoardUrlWhy(const char* t) {
    static const char* const why = "NOT A VALID ADDRESS (http://... or https://...)";
    if (!*t) return nullptr;
    if (std::strncmp(t, "http://", 7) && std::strncmp(t, "https://", 8)) return why;
    if (!t[std::strncmp(t, "http://", 7) ? 8 : 7]) return why;  // a scheme and nothing after it
    for (const unsigned char* c = (const unsigned char*)t; *c; c++)
        if (*c <= ' ' || *c >= 0x7f) return why;
    return nullptr;
}
// A player's name as the board takes it (the board refuses anything else,
// and the game would only learn so after a finished game): up to 24
// characters of well-formed UTF-8, no control or invisible formatting
// character, one at least that shows (text/text.h: the board's own rule).
// Empty: the board's entries say PLAYER.
const char* PlayerNameWhy(const char* t) {
    static const char* const why = "NOT A NAME THE BOARD TAKES (UP TO 24 PRINTABLE CHARACTERS)";
    if (!*t) return nullptr;
    return Text_CheckName(t, std::strlen(t)) == TEXT_NAME_OK ? nullptr : why;
}

bool OptConfig(const char* a) {
    sConfigFile = a;
    return *a != 0;
}

bool sHelp, sVersion, sManual;

// How a row is written: RUN* for this run's options, SET for a setting of
// the file (SK_INT rows give their page step; others 0; SETF: a SET with
// SF_* flags), TEXTSET for a text setting, KEY and PAD for the controls. A
// new setting is one such line in its section (and a field of
// GameSettings); the page shows it when it has a label.
#define RUN(name, kind, fn, arg, help) \
    {name, nullptr, SH_RUN, kind, 0, nullptr, 0, 0, 0, nullptr, nullptr, fn, arg, help, nullptr, 0, nullptr, 0, nullptr}
#define RUNFLAG(name, stmt, help) \
    RUN(name, SK_FLAG, [](const char*) { stmt; return true; }, nullptr, help)
#define RUNTEXT(name, field, arg, help) \
    RUN(name, SK_TEXT, [](const char* a) { Options.field = a; return true; }, arg, help)
#define SETF(flags, sec, name, kind, def, min, max, step, choices, field, arg, help, label) \
    {name, sec, SH_FILE, kind, def, nullptr, min, max, step, choices, &Settings.field, nullptr, arg, help, label, flags, \
     nullptr, 0, nullptr}
#define SET(...) SETF(0, __VA_ARGS__)
#define SETW(...) SETF(SF_WINDOW, __VA_ARGS__)
#define TEXTSET(sec, name, field, chars, check, arg, help, label) \
    {name, sec, SH_FILE, SK_STRING, 0, nullptr, 0, chars, 0, nullptr, nullptr, nullptr, arg, help, label, 0, \
     Settings.field, (int)sizeof Settings.field, check}
#define KEY(name, gk, def, help, label) \
    {name, "keys", SH_FILE, SK_KEY, 0, def, 0, 0, 0, nullptr, &Settings.key[gk], nullptr, "KEY", help, label, 0, nullptr, 0, nullptr}
#define PAD(name, field, def, help, label) \
    {name, "pad", SH_FILE, SK_PAD, 0, def, 0, 0, 0, kPadButtons, &Settings.field, nullptr, "BUTTON", help, label, 0, nullptr, 0, nullptr}

}  // namespace

// clang-format off
const Setting SettingsTable[] = {
    // This run only.
    RUNFLAG("help", sHelp = true, "print this help and exit"),
    RUNFLAG("version", sVersion = true, "print the version and exit"),
    {"print-manual", nullptr, SH_RUN, SK_FLAG, 0, nullptr, 0, 0, 0, nullptr, nullptr,
     [](const char*) { return sManual = true; }, nullptr, "print the manual page's options and settings (the build's)",
     nullptr, SF_HIDDEN, nullptr, 0, nullptr},
    RUN("window", SK_FLAG, OptWindow, nullptr, "play in a window this time (the same as --fullscreen off)"),
    RUN("lang", SK_TEXT, OptLang, "ja|en", "the game's texts in this language this time (as --language)"),
    RUN("config", SK_TEXT, OptConfig, "FILE", "read and write the settings in FILE instead of the usual file"),
    RUN("home", SK_TEXT, OptHome, "DIR", "keep \"score.dat\" in DIR"),
    RUNTEXT("play", play, "FILE", "play back the replay FILE (also: quellstorm FILE.qsr)"),
    RUNFLAG("verify", Options.verify = true, "with --play: check the replay's state fingerprints"),
    RUNTEXT("record", record, "FILE", "record this run to the replay FILE"),
    RUNTEXT("submit", submit, "FILE", "send the replay FILE to the score board (board-url) and follow it; exit 0 verified, 3 rejected, 4 held by the board, 1 not sent"),
    RUN("pace-log", SK_TEXT, [](const char* a) { Options.paceLog = a; return true; }, "FILE",
        "log each picture's time and steps to FILE"),
    RUNFLAG("headless", Options.headless = true, "run without a window or sound device (tests)"),
    RUN("frames", SK_TEXT, OptFrames, "N", "stop after N game frames"),
    RUN("shot", SK_TEXT, OptShot, "FRAME:FILE", "write the picture of frame FRAME to FILE (.png or .bmp; up to 64)"),
    RUNTEXT("script", script, "FILE", "play the keys of the script FILE"),
    RUNTEXT("state-out", stateOut, "FILE", "write a line describing the game state at the end to FILE"),
    RUN("bot", SK_TEXT, OptBot, "SEED", "let the random player play, checking the game's invariants"),
    RUNFLAG("invincible", Options.invincible = true, "the ship cannot be hit (testing aid)"),
    RUN("draw-every", SK_TEXT, OptDrawEvery, "K",
        "headless: draw only every K-th picture of play, none with 0 (testing aid)"),
    RUNTEXT("result-json", resultJson, "FILE", "with --play: write what the replay's game came to, as JSON, to FILE"),
    RUNTEXT("track", track, "FILE", "with --play: write the track a ghost of the replay's game follows to FILE"),
    RUN("stage", SK_TEXT, OptStage, "N", "new games start at stage N, 1-5 (testing aid)"),

    // The settings file, section by section.
    SETW("display", "fullscreen", SK_BOOL, 1, 0, 1, 0, kOnOff, fullscreen, "on|off", "full screen, or a window", "FULL SCREEN"),
    SETW("display", "scale", SK_INT, 0, 0, 8, 1, nullptr, scale, "N",
         "window size in multiples of 640x480; 0: the largest that fits the screen", "WINDOW SIZE"),
    SET("display", "scaling", SK_CHOICE, SCALING_FIT, 0, 0, 0, kScaling, scaling, "sharp|fit|smooth",
        "sharp: whole multiples, black bars; fit: as large as fits; smooth: filtered", "SCALING"),
    SETW("display", "vsync", SK_BOOL, 1, 0, 1, 0, kOnOff, vsync, "on|off", "wait for the display's refresh", "VSYNC"),
    SET("display", "pace", SK_CHOICE, 0, 0, 0, 0, kPace, pace, "exact|smooth",
        "exact: every picture shows the latest step; smooth: even steps per picture", "PACING"),
    SET("sound", "music-volume", SK_INT, 100, 0, 100, 5, nullptr, musicVolume, "0-100", "music volume", "MUSIC VOLUME"),
    SETF(SF_HEARD, "sound", "effect-volume", SK_INT, 100, 0, 100, 5, nullptr, effectVolume, "0-100", "sound effect volume",
        "EFFECT VOLUME"),
    SETF(SF_HEARD, "sound", "mute", SK_BOOL, 0, 0, 1, 0, kOnOff, mute, "on|off", "no sound at all", "MUTE"),
    KEY("key-up", GK_UP, "Up", "move up; menu up", "KEY UP"),
    KEY("key-down", GK_DOWN, "Down", "move down; menu down", "KEY DOWN"),
    KEY("key-left", GK_LEFT, "Left", "move left; option down", "KEY LEFT"),
    KEY("key-right", GK_RIGHT, "Right", "move right; option up", "KEY RIGHT"),
    KEY("key-shot", GK_SHOT, "Space", "shot; confirm", "KEY SHOT"),
    KEY("key-shot2", GK_SHOT2, "Shift", "second shot key; confirm", "KEY SHOT 2"),
    KEY("key-bomb", GK_BOMB, "Z", "bomb", "KEY BOMB"),
    KEY("key-pause", GK_PAUSE, "C", "pause and resume", "KEY PAUSE"),
    KEY("key-faster1", GK_FAST1, "1", "speed correction +0.001", "KEY SPEED +0.001"),
    KEY("key-faster2", GK_FAST2, "2", "speed correction +0.01", "KEY SPEED +0.01"),
    KEY("key-faster3", GK_FAST3, "3", "speed correction +0.1", "KEY SPEED +0.1"),
    KEY("key-slower1", GK_SLOW1, "Q", "speed correction -0.001", "KEY SPEED -0.001"),
    KEY("key-slower2", GK_SLOW2, "W", "speed correction -0.01", "KEY SPEED -0.01"),
    KEY("key-slower3", GK_SLOW3, "E", "speed correction -0.1", "KEY SPEED -0.1"),
    KEY("key-quit", GK_QUIT, "Escape", "save and quit", "KEY QUIT"),
    PAD("pad-shot", padShot, "A", "pad button: shot; confirm", "PAD SHOT"),
    PAD("pad-bomb", padBomb, "B", "pad button: bomb", "PAD BOMB"),
    PAD("pad-pause", padPause, "none", "pad button: pause and resume", "PAD PAUSE"),
    PAD("pad-quit", padQuit, "none", "pad button: save and quit", "PAD QUIT"),
    SET("pad", "dead-zone", SK_INT, 25, 0, 90, 5, nullptr, deadZone, "0-90",
        "per cent of the stick's travel read as rest", "STICK DEAD ZONE"),
    SET("game", "language", SK_CHOICE, LANG_JA, 0, 0, 0, kLanguage, language, "ja|en", "language of the game's texts",
        "LANGUAGE"),
    SET("game", "pause-on-focus-loss", SK_BOOL, 1, 0, 1, 0, kOnOff, pauseOnFocusLoss, "on|off",
        "pause when the window loses the focus", "PAUSE WITHOUT FOCUS"),
    SET("game", "keep-replays", SK_BOOL, 1, 0, 1, 0, kOnOff, keepReplays, "on|off",
        "record every game played in a window to the replay folder", "KEEP REPLAYS"),
    SET("game", "ghost", SK_CHOICE, GHOST_NONE, 0, 0, 0, kGhost, ghost, "none|best|board",
        "a ghost to race: none; best, your best kept game; board, the board's best run (on the same difficulty)",
        "GHOST"),
    TEXTSET("board", "board-url", boardUrl, 0, BoardUrlWhy, "URL",
            "the score board finished games are sent to (empty: nothing is ever sent)", "BOARD"),
    TEXTSET("board", "player-name", playerName, kNameChars, PlayerNameWhy, "NAME",
            "the name your games are listed under on the board (up to 24 characters)", "PLAYER NAME"),
    SET("board", "board-submit", SK_CHOICE, BOARD_SUBMIT_ASK, 0, 0, 0, kBoardSubmit, boardSubmit, "ask|always|never",
        "send each finished game to the board: always; ask (from the replays page); never", "SEND GAMES"),
    {"speed-correction", "game", SH_RECORD, SK_SPEED, 0, nullptr, 0, 0, 0, nullptr, nullptr, nullptr, nullptr,
     "added to every step of the game (speed keys; kept in the record)", "SPEED CORRECTION", 0, nullptr, 0, nullptr},
};
// clang-format on
const int SettingsCount = (int)(sizeof SettingsTable / sizeof SettingsTable[0]);

const Setting* Settings_Find(const char* section, const char* name) {
    for (const Setting& s : SettingsTable)
        if (!std::strcmp(s.name, name) && (!section || (s.section && !std::strcmp(s.section, section)))) return &s;
    return nullptr;
}

static int PadFromName(const char* text) {
    if (!strcasecmp(text, "none")) return -1;
    for (int i = 0; kPadButtons[i]; i++)
        if (!strcasecmp(text, kPadButtons[i])) return i;
    return -2;
}

int Settings_Default(const Setting& s) {
    if (s.kind == SK_KEY) return Plat_KeyFromName(s.defName);
    if (s.kind == SK_PAD) return PadFromName(s.defName);
    return s.def;
}

void Settings_ResetDefaults() {
    for (const Setting& s : SettingsTable) {
        if (s.home != SH_FILE) continue;
        if (s.kind == SK_STRING) std::memset(s.text, 0, s.textSize);
        else *s.value = Settings_Default(s);
    }
    Config_KeepCurrent();
}

bool Settings_SetFromText(const Setting& s, const char* text) {
    if (s.kind == SK_STRING && s.text && text) {
        // The whole buffer is rewritten, so equal settings are equal bytes.
        if (std::strlen(text) >= (size_t)s.textSize || (s.check && s.check(text))) return false;
        std::memset(s.text, 0, s.textSize);
        std::memcpy(s.text, text, std::strlen(text));
        return true;
    }
    if (!s.value || !text) return false;
    switch (s.kind) {
    case SK_BOOL: {
        static const char* const yes[] = {"on", "yes", "true", "1"};
        static const char* const no[] = {"off", "no", "false", "0"};
        for (const char* y : yes)
            if (!strcasecmp(text, y)) return (*s.value = 1), true;
        for (const char* n : no)
            if (!strcasecmp(text, n)) return (*s.value = 0), true;
        return false;
    }
    case SK_INT: {
        char* end;
        long v = std::strtol(text, &end, 10);
        if (!*text || *end || v < s.min || v > s.max) return false;
        *s.value = (int)v;
        return true;
    }
    case SK_CHOICE:
        for (int i = 0; s.choices[i]; i++)
            if (!strcasecmp(text, s.choices[i])) return (*s.value = i), true;
        return false;
    case SK_KEY: {
        int k = Plat_KeyFromName(text);
        if (!k) return false;
        *s.value = k;
        return true;
    }
    case SK_PAD: {
        int b = PadFromName(text);
        if (b < -1) return false;
        *s.value = b;
        return true;
    }
    default:
        return false;
    }
}

std::string Settings_ValueText(const Setting& s) {
    if (s.kind == SK_SPEED) {
        char buf[32];
        std::snprintf(buf, sizeof buf, "%f", SpeedAdjust);
        return buf;
    }
    if (s.kind == SK_STRING) return s.text;
    return s.value ? Settings_TextOf(s, *s.value) : "";
}

std::string Settings_TextOf(const Setting& s, int v) {
    switch (s.kind) {
    case SK_BOOL: return v ? "on" : "off";
    case SK_INT: return std::to_string(v);
    case SK_CHOICE: return s.choices[v];
    case SK_KEY: return Plat_KeyName(v);
    case SK_PAD: return v < 0 ? "none" : kPadButtons[v];
    default: return "";
    }
}

std::string Settings_Range(const Setting& s) {
    switch (s.kind) {
    case SK_INT: return std::to_string(s.min) + "-" + std::to_string(s.max);
    case SK_BOOL: return "on|off";
    case SK_KEY: return "a key name such as Space, Z, Left Shift, F5";
    case SK_PAD: {
        std::string r = "none";
        for (int i = 0; kPadButtons[i]; i++) r += std::string("|") + kPadButtons[i];
        return r;
    }
    case SK_CHOICE: {
        std::string r;
        for (int i = 0; s.choices[i]; i++) r += (i ? "|" : "") + std::string(s.choices[i]);
        return r;
    }
    default: return s.arg ? s.arg : "";
    }
}

// --- the command line -----------------------------------------------------

const std::string& Settings_ConfigOverride() { return sConfigFile; }

bool Settings_GivenForThisRun(const char* name) {
    for (const Override& o : sOverrides)
        if (std::strcmp(o.row->name, name) == 0) return true;
    return false;
}

void Settings_ReapplyOverrides() {
    for (const Override& o : sOverrides) Settings_SetFromText(*o.row, o.text.c_str());
}

namespace {

// The default as --help and the manual page name it (keys by the names
// the table gives them, not the desktop's longer ones).
std::string DefaultText(const Setting& s) {
    if (s.kind == SK_KEY || s.kind == SK_PAD) return s.defName;
    if (s.kind == SK_STRING) return "empty";
    return Settings_TextOf(s, s.def);
}

std::string Roff(const std::string& text) { return Text_Roff(text); }

// "--name ARG": the value in italics when it names something (FILE, N),
// upright when it lists the words to write (on|off).
void ManualTerm(FILE* out, const Setting& s, const char* arg) {
    std::fprintf(out, ".TP\n");
    if (!arg) {
        std::fprintf(out, ".B %s\n", Roff(std::string("--") + s.name).c_str());
        return;
    }
    bool words = false;
    for (const char* c = arg; *c; c++) words |= *c >= 'a' && *c <= 'z';
    std::fprintf(out, ".%s %s \" %s\"\n", words ? "BR" : "BI", Roff(std::string("--") + s.name).c_str(),
                 Roff(arg).c_str());
}

// The help text as a sentence.
std::string Sentence(const std::string& help) {
    std::string out = help;
    if (!out.empty() && out[0] >= 'a' && out[0] <= 'z') out[0] = (char)(out[0] - 32);
    return out;
}

}  // namespace

namespace {

// The rows of one home that --help and the manual page list, in order,
// with a call at the start of each section of the file.
template <class Section, class Row>
void EachListed(SettingHome home, Section onSection, Row onRow) {
    const char* section = "";
    for (const Setting& s : SettingsTable) {
        if (s.home != home || (s.flags & SF_HIDDEN)) continue;
        if (s.section && std::strcmp(section, s.section)) {
            section = s.section;
            onSection(s);
        }
        onRow(s);
    }
}

}  // namespace

void Settings_PrintUsage(FILE* out) {
    std::fprintf(out, "usage: quellstorm [OPTION]... [FILE.qsr]\n\n"
                      "Options for this run:\n");
    EachListed(SH_RUN, [](const Setting&) {}, [&](const Setting& s) {
        std::string left = std::string("--") + s.name + (s.arg ? std::string(" ") + s.arg : "");
        std::fprintf(out, "  %-22s %s\n", left.c_str(), s.help);
    });
    std::fprintf(out, "\nSettings (kept in %s; given here, they hold for this run only):\n",
                 Config_Path().c_str());
    EachListed(SH_FILE, [&](const Setting& s) { std::fprintf(out, " [%s]\n", s.section); }, [&](const Setting& s) {
        std::string left = std::string("--") + s.name + " " + (s.arg ? s.arg : "VALUE");
        std::fprintf(out, "  %-30s %s (default %s)\n", left.c_str(), s.help, DefaultText(s).c_str());
    });
    std::fprintf(out, "\nKeys: F1 settings, F2 records (on the title), F11 or Alt+Enter full screen,\n"
                      "F12 screenshot.\n");
}

void Settings_PrintManual(FILE* out) {
    std::fprintf(out, ".\\\" The options, from the game's table of settings (quellstorm --print-manual).\n");
    EachListed(SH_RUN, [](const Setting&) {}, [&](const Setting& s) {
        ManualTerm(out, s, s.arg);
        std::fprintf(out, "%s.\n", Roff(Sentence(s.help)).c_str());
    });
    std::fprintf(out, ".\\\" @SETTINGS@\n");
    EachListed(SH_FILE, [&](const Setting& s) {
        std::fprintf(out, ".SS [%s]\n", s.section);
        if (s.kind == SK_KEY || s.kind == SK_PAD) std::fprintf(out, "Each takes %s.\n", Roff(Settings_Range(s)).c_str());
    }, [&](const Setting& s) {
        bool named = s.kind == SK_KEY || s.kind == SK_PAD;
        ManualTerm(out, s, named ? s.arg : Settings_Range(s).c_str());
        std::fprintf(out, "%s (default %s).\n", Roff(Sentence(s.help)).c_str(), Roff(DefaultText(s)).c_str());
    });
}

int Settings_ParseCommandLine(int argc, char** argv) {
    sOverrides.clear();
    sConfigFile.clear();
    std::vector<option> longopts;
    for (int i = 0; i < SettingsCount; i++) {
        const Setting& s = SettingsTable[i];
        if (s.home == SH_RECORD) continue;
        longopts.push_back({s.name, s.kind == SK_FLAG ? no_argument : required_argument, nullptr, 1000 + i});
    }
    longopts.push_back({nullptr, 0, nullptr, 0});
    optind = 0;  // a fresh scan, whatever an earlier call left
    opterr = 0;
    sHelp = sVersion = sManual = false;
    for (;;) {
        int c = getopt_long(argc, argv, ":h", longopts.data(), nullptr);
        if (c == -1) break;
        if (c == 'h') {
            sHelp = true;
            continue;
        }
        const char* word = argv[optind - 1 < argc ? optind - 1 : argc - 1];
        if (c == '?') {
            std::fprintf(stderr, "quellstorm: unknown argument '%s'\n", word);
            std::fprintf(stderr, "Try 'quellstorm --help' for the options.\n");
            return 0;
        }
        if (c == ':') {
            std::fprintf(stderr, "quellstorm: %s needs a value\n", word);
            return 0;
        }
        const Setting& s = SettingsTable[c - 1000];
        bool ok;
        if (s.home == SH_RUN) {
            ok = s.run(optarg);
        } else {
            ok = Settings_SetFromText(s, optarg);
            if (ok) sOverrides.push_back({&s, optarg});
        }
        if (!ok) {
            std::fprintf(stderr, "quellstorm: bad value for --%s: '%s' (%s)\n", s.name, optarg ? optarg : "",
                         Settings_Range(s).c_str());
            return 0;
        }
    }
    // The options that are the whole run (the first of the table wins:
    // --help over --version).
    if (sHelp) {
        Settings_PrintUsage(stdout);
        return -1;
    }
    if (sVersion) {
        std::printf("quellstorm %s\n", QS_VERSION);
        return -1;
    }
    if (sManual) {
        Settings_PrintManual(stdout);
        return -1;
    }
    // One plain argument: a replay to play.
    if (optind < argc) {
        const char* file = argv[optind];
        size_t n = std::strlen(file);
        if (argc - optind > 1 || n < 4 || std::strcmp(file + n - 4, ".qsr") || Options.play) {
            std::fprintf(stderr, "quellstorm: unknown argument '%s'\n", file);
            std::fprintf(stderr, "Try 'quellstorm --help' for the options.\n");
            return 0;
        }
        Options.play = file;
    }
    return 1;
}
