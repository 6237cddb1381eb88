// The settings file, quellstorm.ini: read with inih, written whole and
// atomically. Whatever the file holds, the game starts: what cannot be used
// is named on standard error and that setting keeps its default.
#include "config/paths.h"
#include "config/settings.h"
#include "platform/files.h"

#include <cerrno>
#include <cstring>
#include <ini.h>
#include <string>
#include <vector>

bool ConfigQuiet;
int ConfigWarnings;

namespace {

// A settings file is a few kilobytes; anything much larger is not one.
const long kMaxFile = 256 * 1024;

// The file's version, its first setting line. Version 0 is a file from
// before that line (the same keys as version 1).
const int kFileVersion = 1;

// Each step reads a line of a file of version v as version v + 1 would
// write it: a key renamed or moved to another section, a value spelled
// anew. A new version of the file adds its step here.
using UpgradeStep = void (*)(std::string& section, std::string& name, std::string& value);
const UpgradeStep kUpgrades[] = {
    [](std::string&, std::string&, std::string&) {},  // 0 -> 1: only the version line is new
};
static_assert(sizeof kUpgrades / sizeof kUpgrades[0] == kFileVersion, "one upgrade step for each older version");

// What the file holds for each row (or the default), apart from what the
// command line overrides for this run: the values a save writes.
std::vector<int> sFileValue(SettingsCount);
std::vector<std::string> sFileText(SettingsCount);  // the same for the rows of text

// A line the game does not know (a setting of a newer version, another
// tool's): written back as it was, with the comments just above it, in
// its section, whenever the game saves the file.
struct KeptLine {
    std::string section;
    std::string text;  // the comments above and the line itself
};
std::vector<KeptLine> sKept;

struct Reading {
    const char* name;  // the file, for warnings
    const char* text;
    size_t size, pos;
    int line;          // the line inih is working on
    std::string raw;       // that line as the file has it
    std::string comments;  // the comment lines just above it
    int version;
};

void Warn(const char* name, int line, const char* key, const std::string& what) {
    ConfigWarnings++;
    if (ConfigQuiet) return;
    if (line > 0 && key) std::fprintf(stderr, "quellstorm: %s, line %d, key '%s': %s\n", name, line, key, what.c_str());
    else if (line > 0) std::fprintf(stderr, "quellstorm: %s, line %d: %s\n", name, line, what.c_str());
    else std::fprintf(stderr, "quellstorm: %s: %s\n", name, what.c_str());
}

// inih's line reader over the text in memory. A line too long for inih's
// buffer, or one that is not text (a NUL or other control byte), is
// reported and handed on as an empty line, so a damaged line never turns
// into a setting.
char* ReadLine(char* buf, int num, void* stream) {
    Reading* r = static_cast<Reading*>(stream);
    if (r->pos >= r->size || num < 4) return nullptr;
    r->line++;
    size_t end = r->pos;
    while (end < r->size && r->text[end] != '\n') end++;
    size_t len = end - r->pos;
    bool binary = false;
    for (size_t i = r->pos; i < end; i++) {
        unsigned char c = (unsigned char)r->text[i];
        if (c < 0x20 && c != '\t' && c != '\r') binary = true;
    }
    const char* start = r->text + r->pos;
    r->pos = end < r->size ? end + 1 : end;
    // Comment lines gather until a setting takes them; a blank line or a
    // section starts afresh.
    size_t first = 0;
    while (first < len && (start[first] == ' ' || start[first] == '\t')) first++;
    if (r->raw.size() && r->raw[0] != ';' && r->raw[0] != '#') r->comments.clear();
    r->raw.assign(start + first, len - first);
    while (r->raw.size() && (r->raw.back() == '\r' || r->raw.back() == ' ')) r->raw.pop_back();
    if (r->raw.empty() || r->raw[0] == '[') r->comments.clear();
    else if (r->raw[0] == ';' || r->raw[0] == '#') r->comments += r->raw + "\n";
    if (binary || len + 2 >= (size_t)num) {
        Warn(r->name, r->line, nullptr, binary ? "not text; line ignored" : "line too long; ignored");
        std::strcpy(buf, "\n");
        return buf;
    }
    std::memcpy(buf, start, len);
    buf[len] = '\n';
    buf[len + 1] = 0;
    return buf;
}

int OnValue(void* user, const char* section, const char* name, const char* text) {
    Reading* r = static_cast<Reading*>(user);
    std::string comments;
    comments.swap(r->comments);
    if (!*section && !std::strcmp(name, "version")) {
        char* end;
        long v = std::strtol(text, &end, 10);
        if (!*text || *end || v < 1 || v > 1000000) {
            Warn(r->name, r->line, name, std::string("bad version '") + text + "'; read as version " +
                                             std::to_string(kFileVersion));
            v = kFileVersion;
        } else if (v > kFileVersion) {
            Warn(r->name, r->line, name, "written by a newer QUELLSTORM (file version " + std::to_string(v) +
                                             ", this one knows " + std::to_string(kFileVersion) +
                                             "); settings it does not know are kept as they are");
        }
        r->version = (int)v;
        return 1;
    }
    std::string sec = section, key = name, value = text;
    for (int v = r->version; v < kFileVersion; v++) kUpgrades[v](sec, key, value);
    const Setting* s = Settings_Find(sec.c_str(), key.c_str());
    if (!s || s->home != SH_FILE) {
        // Kept for a save; a newer game's setting is no surprise.
        if (r->version <= kFileVersion)
            Warn(r->name, r->line, name, "unknown setting in [" + sec + "]; kept in the file, not used");
        sKept.push_back({sec, comments + r->raw});
        return 1;
    }
    if (!Settings_SetFromText(*s, value.c_str())) {
        if (s->kind == SK_STRING) {
            Warn(r->name, r->line, name, "bad value '" + value + "' (" + s->help + "); left empty");
            Settings_SetFromText(*s, "");
            return 1;
        }
        // Back to the default, even when an earlier line had set it.
        int def = Settings_Default(*s);
        std::string what = "bad value '" + value + "' (" + Settings_Range(*s) + "); using the default " +
                           Settings_TextOf(*s, def);
        Warn(r->name, r->line, name, what);
        *s->value = def;
    }
    return 1;
}

}  // namespace

void Config_KeepCurrent() {
    for (int i = 0; i < SettingsCount; i++)
        if (SettingsTable[i].home != SH_FILE) continue;
        else if (SettingsTable[i].kind == SK_STRING) sFileText[i] = SettingsTable[i].text;
        else sFileValue[i] = *SettingsTable[i].value;
}

std::string Config_Path() {
    const std::string& o = Settings_ConfigOverride();
    return o.empty() ? Paths_ConfigHome() + "quellstorm.ini" : o;
}

void Config_LoadText(const char* text, size_t size, const char* name) {
    ini_allow_multiline = false;  // an indented line is a line of its own
    sKept.clear();
    Reading r = {name, text, size, 0, 0, "", "", 0};
    // A byte-order mark is allowed at the very start.
    int err = ini_parse_stream(ReadLine, &r, OnValue, &r);
    if (err > 0) Warn(name, err, nullptr, "not a setting ('name = value' or '[section]'); ignored");
    Config_KeepCurrent();
}

void Config_Load(const std::string& path) {
    long size;
    unsigned char* data = Plat_ReadWholeFile(path.c_str(), &size, kMaxFile);
    if (!data) {
        sKept.clear();
        if (size == -2) Warn(path.c_str(), 0, nullptr, "too large to be a settings file; using the defaults");
        else if (errno != ENOENT) Warn(path.c_str(), 0, nullptr, std::string("cannot read: ") + std::strerror(errno));
        Config_KeepCurrent();
        return;
    }
    Config_LoadText(reinterpret_cast<const char*>(data), (size_t)size, path.c_str());
    Plat_FreeFile(data);
}

std::string Config_Text() {
    std::string out = "# QUELLSTORM settings. Written by the game whenever a setting changes;\n"
                      "# 'quellstorm --help' lists every setting and its values.\n"
                      "version = " + std::to_string(kFileVersion) + "\n";
    std::vector<bool> written(sKept.size());
    // The kept lines of a section, after the game's own.
    auto keptOf = [&](const std::string& section) {
        for (size_t k = 0; k < sKept.size(); k++)
            if (!written[k] && sKept[k].section == section) {
                out += sKept[k].text + "\n";
                written[k] = true;
            }
    };
    keptOf("");
    const char* section = "";
    for (int i = 0; i < SettingsCount; i++) {
        const Setting& s = SettingsTable[i];
        if (s.home != SH_FILE) continue;
        if (std::strcmp(section, s.section)) {
            keptOf(section);
            section = s.section;
            out += std::string("\n[") + section + "]\n";
        }
        out += "; " + std::string(s.help) + " (" + Settings_Range(s) + ")\n";
        out += std::string(s.name) + " = " + (s.kind == SK_STRING ? sFileText[i] : Settings_TextOf(s, sFileValue[i])) +
               "\n";
    }
    keptOf(section);
    // Sections the game has none of, in the order the file had them.
    for (size_t k = 0; k < sKept.size(); k++)
        if (!written[k]) {
            out += "\n[" + sKept[k].section + "]\n";
            keptOf(sKept[k].section);
        }
    return out;
}

bool Config_Save(const std::string& path) {
    size_t slash = path.rfind('/');
    if (slash != std::string::npos && slash > 0) Plat_MakeDirs(path.substr(0, slash + 1));
    std::string text = Config_Text();
    if (Plat_WriteFileAtomic(path.c_str(), text.data(), text.size())) return true;
    Warn(path.c_str(), 0, nullptr, std::string("cannot write the settings: ") + std::strerror(errno));
    return false;
}

void Config_Changed(const Setting& s) {
    int i = (int)(&s - SettingsTable);
    if (i < 0 || i >= SettingsCount || s.home != SH_FILE) return;
    if (s.kind == SK_STRING) sFileText[i] = s.text;
    else sFileValue[i] = *s.value;
    Config_Save(Config_Path());
}
