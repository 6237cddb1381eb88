#include "config.h"

#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <climits>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace board {

namespace {

struct Setting {
    const char* name;
    const char* arg;
    const char* def;  // default as text; "" means computed (see Defaults)
    int64_t lo, hi;   // limits of a number (lo > hi: a text)
    size_t textOff;   // Config member (text) or
    size_t numOff;    // Config member (number)
    const char* help;
};

constexpr size_t kNone = SIZE_MAX;
#define TEXT(name, arg, def, member, help) \
    { name, arg, def, 1, 0, offsetof(Config, member), kNone, help }
#define NUM(name, def, lo, hi, member, help) \
    { name, "N", def, lo, hi, kNone, offsetof(Config, member), help }

const std::vector<Setting>& Table() {
    static const std::vector<Setting> t = {
        TEXT("listen", "HOST:PORT", "127.0.0.1:8090", listen, "address to answer on (serve)"),
        TEXT("db", "FILE|URL", "", db,
             "SQLite file, or postgresql://USER@HOST:PORT/DB (default: board.sqlite in the XDG data folder)"),
        TEXT("web", "DIR", "", web, "the web build's folder, served under /play/ (default: the installed or built one)"),
        TEXT("game", "FILE", "", game, "the game's program that re-plays submissions (default: the one beside this)"),
        NUM("verifiers", "0", -1, 256, verifiers, "games verified at once (0: one per core; -1: none, workers elsewhere verify)"),
        NUM("job-seconds", "300", 1, 86400, jobSeconds, "wall-clock limit of one verification"),
        NUM("job-memory-mb", "1024", 0, 1 << 20, jobMemoryMb, "address-space limit of one verification (0: none)"),
        NUM("lease-seconds", "30", 1, 86400, leaseSeconds, "a verifier that stops renewing its claim for this long loses its job to another"),
        // A replay grows by about 12 bytes a frame when the keys change every
        // frame (the golden bot run: 452 KB for 43 000 frames); a game of five
        // stages played that way stays under 3 MB, a person's under 300 KB.
        NUM("max-upload-kb", "4096", 1, 1 << 20, maxUploadKb, "largest replay file accepted"),
        NUM("queue-max", "2000", 1, 100000000, queueMax, "submissions waiting at most; more are refused with 503"),
        NUM("submit-per-minute", "20", 0, 1000000, submitPerMinute, "submissions per address per minute (0: no limit)"),
        NUM("submit-burst", "10", 1, 1000000, submitBurst, "submissions per address at once"),
        NUM("request-seconds", "10", 1, 3600, requestSeconds, "time-out of reading or writing one request"),
        NUM("http-threads", "16", 1, 1024, httpThreads, "threads answering requests (serve)"),
        NUM("board-size", "100", 1, 10000, boardSize, "entries shown per board"),
    };
    return t;
}

std::string Usage() {
    std::string s =
        "usage: quellstorm-board serve|worker|migrate [OPTIONS]\n"
        "  serve    answer the web and API, and verify submissions on this machine's cores\n"
        "  worker   verify submissions only (with --db postgresql://...), on any machine\n"
        "  migrate  bring the database's tables up to date and stop\n"
        "options:\n";
    for (const Setting& st : Table()) {
        std::string left = std::string("  --") + st.name + " " + st.arg;
        if (left.size() < 28) left.resize(28, ' ');
        s += left + " " + st.help;
        if (*st.def) s += std::string(" [") + st.def + "]";
        s += "\n";
    }
    s += "  --quiet                      no line per verified submission\n";
    return s;
}

// Text for the manual page: its dashes and backslashes taken literally.
std::string Roff(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '\\') out += "\\e";
        else if (c == '-') out += "\\-";
        else out += c;
    }
    if (!out.empty() && (out[0] == '.' || out[0] == '\'')) out = "\\&" + out;
    return out;
}

// The options part of the manual page (quellstorm-board --print-manual),
// from the same table as --help.
std::string ManualOptions() {
    std::string s = ".\\\" The options, from the board's table of settings (quellstorm-board --print-manual).\n";
    for (const Setting& st : Table()) {
        s += ".TP\n.BI \"\\-\\-" + Roff(st.name) + " \" " + Roff(st.arg) + "\n";
        std::string help = st.help;
        if (!help.empty()) help[0] = char(toupper((unsigned char)help[0]));
        s += Roff(help);
        if (*st.def) s += std::string(" (default ") + Roff(st.def) + ")";
        s += ".\n";
    }
    s += ".TP\n.B \\-\\-quiet\nNo line per verified submission on standard output.\n";
    s += ".TP\n.BR \\-\\-help \", \" \\-h\nPrint the commands and options with their defaults, and stop.\n";
    return s;
}

bool SetValue(const Setting& st, const std::string& v, Config& cfg, std::string& error) {
    char* base = reinterpret_cast<char*>(&cfg);
    if (st.textOff != kNone) {
        *reinterpret_cast<std::string*>(base + st.textOff) = v;
        return true;
    }
    char* end = nullptr;
    errno = 0;
    long long n = strtoll(v.c_str(), &end, 10);
    if (v.empty() || *end || errno || n < st.lo || n > st.hi) {
        error = std::string("--") + st.name + ": expected a whole number from " + std::to_string(st.lo) + " to " +
                std::to_string(st.hi) + ", got \"" + v + "\"";
        return false;
    }
    *reinterpret_cast<int64_t*>(base + st.numOff) = n;
    return true;
}

}  // namespace

std::string ProgramDir() {
    char buf[4096];
    ssize_t n = readlink("/proc/self/exe", buf, sizeof buf - 1);
    if (n <= 0) return ".";
    std::string p(buf, size_t(n));
    size_t slash = p.rfind('/');
    return slash == std::string::npos ? "." : p.substr(0, slash);
}

std::string DefaultDatabasePath() {
    const char* x = getenv("XDG_DATA_HOME");
    std::string dir;
    if (x && *x == '/') dir = x;
    else if (const char* h = getenv("HOME")) dir = std::string(h) + "/.local/share";
    else dir = ".";
    return dir + "/quellstorm/board.sqlite";
}

bool ParseCommandLine(int argc, char** argv, Config& cfg, std::string& error, bool& helpShown) {
    helpShown = false;
    for (const Setting& st : Table())
        if (!SetValue(st, st.def, cfg, error) && *st.def) return false;
    int i = 1;
    if (i < argc && argv[i][0] != '-') cfg.command = argv[i++];
    for (; i < argc; ++i) {
        std::string a = argv[i];
        if (a == "--help" || a == "-h") {
            error = Usage();
            helpShown = true;
            return false;
        }
        if (a == "--print-manual") {  // the build puts it into the manual page
            error = ManualOptions();
            helpShown = true;
            return false;
        }
        if (a == "--quiet") {
            cfg.quiet = true;
            continue;
        }
        if (a.rfind("--", 0) != 0) {
            error = "unexpected argument \"" + a + "\"\n" + Usage();
            return false;
        }
        std::string name = a.substr(2), value;
        size_t eq = name.find('=');
        bool hasValue = eq != std::string::npos;
        if (hasValue) {
            value = name.substr(eq + 1);
            name.resize(eq);
        }
        const Setting* found = nullptr;
        for (const Setting& st : Table())
            if (name == st.name) found = &st;
        if (!found) {
            error = "unknown option \"" + a + "\" (see --help)";
            return false;
        }
        if (!hasValue) {
            if (i + 1 >= argc) {
                error = "--" + name + " needs a value (" + found->arg + ")";
                return false;
            }
            value = argv[++i];
        }
        if (!SetValue(*found, value, cfg, error)) return false;
    }
    if (cfg.command != "serve" && cfg.command != "worker" && cfg.command != "migrate") {
        error = (cfg.command.empty() ? std::string("no command given") : "unknown command \"" + cfg.command + "\"") +
                "\n" + Usage();
        return false;
    }
    if (cfg.db.empty()) cfg.db = DefaultDatabasePath();
    std::string here = ProgramDir();
    if (cfg.game.empty()) {
        // Built: the game sits beside this program. Installed: the game is
        // in games/ and this program in bin/ (or games/) under one prefix.
        for (const char* rel : {"/quellstorm", "/../games/quellstorm", "/../../games/quellstorm"})
            if (access((here + rel).c_str(), X_OK) == 0) {
                cfg.game = here + rel;
                break;
            }
        if (cfg.game.empty()) cfg.game = "/usr/games/quellstorm";
    }
    if (cfg.web.empty()) {
        for (const char* rel : {"/../build-web/play", "/../share/quellstorm/web", "/../../share/quellstorm/web"})
            if (access((here + rel + "/index.html").c_str(), R_OK) == 0) {
                cfg.web = here + rel;
                break;
            }
        if (cfg.web.empty()) cfg.web = "/usr/share/quellstorm/web";
    }
    return true;
}

}  // namespace board
