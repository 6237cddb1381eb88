#include "config.h"

#include "http.h"
#include "text/text.h"

#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace board {

namespace {

// One setting: its option name, what it takes, its default and limits, and
// the member of Config it fills (exactly one of the four).
struct Setting {
    const char* name;
    const char* arg;
    const char* def;  // default as text; "" means none or computed (see ParseCommandLine)
    int64_t lo = 0, hi = 0;  // limits of a number
    std::string Config::*text = nullptr;
    int64_t Config::*num = nullptr;
    std::vector<std::string> Config::*list = nullptr;  // repeatable
    bool Config::*flag = nullptr;                       // takes no value
    const char* help = "";
};

Setting Text(const char* name, const char* arg, const char* def, std::string Config::*m, const char* help) {
    Setting s{name, arg, def};
    s.text = m;
    s.help = help;
    return s;
}
Setting Num(const char* name, const char* def, int64_t lo, int64_t hi, int64_t Config::*m, const char* help) {
    Setting s{name, "N", def, lo, hi};
    s.num = m;
    s.help = help;
    return s;
}
Setting List(const char* name, const char* arg, std::vector<std::string> Config::*m, const char* help) {
    Setting s{name, arg, ""};
    s.list = m;
    s.help = help;
    return s;
}
Setting Flag(const char* name, bool Config::*m, const char* help) {
    Setting s{name, "", ""};
    s.flag = m;
    s.help = help;
    return s;
}

const std::vector<Setting>& Table() {
    static const std::vector<Setting> t = {
        Text("config", "FILE", "", &Config::config,
             "read settings from FILE first: one \"name = value\" a line, the names of these options"),
        Text("listen", "HOST:PORT", "127.0.0.1:8090", &Config::listen, "address to answer on (serve)"),
        Text("db", "FILE|URL", "", &Config::db,
             "SQLite file, or postgresql://USER@HOST:PORT/DB (default: board.sqlite in the service's state folder, "
             "else in the XDG data folder)"),
        Text("web", "DIR", "", &Config::web, "the web build's folder, served under /play/ (default: the installed or built one)"),
        Text("game", "FILE", "", &Config::game, "the game's program that re-plays submissions (default: the one beside this)"),
        Num("verifiers", "0", -1, 256, &Config::verifiers, "games verified at once (0: one per core; -1: none, workers elsewhere verify)"),
        Num("job-seconds", "300", 1, 86400, &Config::jobSeconds, "wall-clock limit of one verification"),
        Num("job-memory-mb", "1024", 0, 1 << 20, &Config::jobMemoryMb, "address-space limit of one verification (0: none)"),
        Num("lease-seconds", "30", 1, 86400, &Config::leaseSeconds, "a verifier that stops renewing its claim for this long loses its job to another"),
        // A replay grows by about 12 bytes a frame when the keys change every
        // frame (the golden bot run: 452 KB for 43 000 frames); a game of five
        // stages played that way stays under 3 MB, a person's under 300 KB.
        Num("max-upload-kb", "4096", 1, 1 << 20, &Config::maxUploadKb, "largest replay file accepted"),
        Num("queue-max", "2000", 1, 100000000, &Config::queueMax, "submissions waiting at most; more are refused with 503"),
        Num("submit-per-minute", "20", 0, 1000000, &Config::submitPerMinute, "submissions per address per minute (0: no limit)"),
        Num("submit-burst", "10", 1, 1000000, &Config::submitBurst, "submissions per address at once"),
        Num("request-seconds", "10", 1, 3600, &Config::requestSeconds,
            "time a request may take from its first byte to its answer's last (and a kept-alive connection may idle)"),
        Num("http-threads", "4", 1, 256, &Config::httpThreads, "threads answering requests (serve)"),
        Num("max-connections", "4000", 16, 1000000, &Config::maxConnections, "connections open at once at most (serve)"),
        Num("connections-per-address", "64", 1, 1000000, &Config::perAddress,
            "connections one address (an IPv6 /64) may hold at once; trusted proxies have no limit (serve)"),
        Num("backlog", "4096", 16, 65535, &Config::backlog, "connections waiting to be accepted (serve)"),
        List("trusted-proxy", "ADDR[/BITS]", &Config::trustedProxies,
             "a proxy in front whose X-Forwarded-For names the client (repeatable)"),
        Text("access-log", "FILE", "", &Config::accessLog, "a line per request to FILE (-: standard output)"),
        Num("board-size", "10", 1, 1000, &Config::boardSize, "players shown per board on the front page and in /api/boards"),
        Num("keep-rejected-days", "30", 0, 36500, &Config::keepRejectedDays,
            "days a rejected file's bytes are kept; its entry and reason stay (0: for ever)"),
        Flag("quiet", &Config::quiet, "no line per verified submission"),
    };
    return t;
}

std::string Usage() {
    std::string s =
        "usage: quellstorm-board serve|worker|migrate|admin [OPTIONS]\n"
        "  serve    answer the web and API, and verify submissions on this machine's cores\n"
        "  worker   verify submissions only (with --db postgresql://...), on any machine\n"
        "  migrate  bring the database's tables up to date and stop\n"
        "  admin    the host's acts on the database (each logged with its time):\n"
        "             admin remove ID REASON        hide an entry from every board; its page says why\n"
        "             admin restore ID              list a removed entry again\n"
        "             admin block name|address VALUE REASON   refuse its submissions (403, with the reason)\n"
        "             admin unblock name|address VALUE\n"
        "             admin list                    what is removed and blocked\n"
        "             admin held                    jobs the board could not judge, with their causes\n"
        "             admin retry ID|all            have held jobs re-played, their tries afresh\n"
        "             admin log                     every act, with its time\n"
        "options:\n";
    for (const Setting& st : Table()) {
        std::string left = std::string("  --") + st.name + (st.flag ? "" : " ") + st.arg;
        if (left.size() < 28) left.resize(28, ' ');
        s += left + " " + st.help;
        if (*st.def) s += std::string(" [") + st.def + "]";
        s += "\n";
    }
    return s;
}

std::string Roff(const std::string& text) { return Text_Roff(text); }

// The options part of the manual page (quellstorm-board --print-manual),
// from the same table as --help.
std::string ManualOptions() {
    std::string s = ".\\\" The options, from the board's table of settings (quellstorm-board --print-manual).\n";
    for (const Setting& st : Table()) {
        if (st.flag) s += ".TP\n.B \\-\\-" + Roff(st.name) + "\n";
        else s += ".TP\n.BI \"\\-\\-" + Roff(st.name) + " \" " + Roff(st.arg) + "\n";
        std::string help = st.help;
        if (!help.empty()) help[0] = char(toupper((unsigned char)help[0]));
        s += Roff(help);
        if (*st.def) s += std::string(" (default ") + Roff(st.def) + ")";
        s += ".\n";
    }
    s += ".TP\n.BR \\-\\-help \", \" \\-h\nPrint the commands and options with their defaults, and stop.\n";
    return s;
}

// The settings file with every setting, each commented out at its default
// (quellstorm-board --print-config; the package's /etc/quellstorm-board.conf).
std::string SettingsFile() {
    std::string s =
        "# The settings of quellstorm-board (serve and worker): one \"name = value\" a\n"
        "# line, the names those of `quellstorm-board --help` without their dashes.\n"
        "# A line left commented out keeps the default it shows; an option given on\n"
        "# the command line wins over this file. The service reads this file\n"
        "# (quellstorm-board.service, quellstorm-board-worker@.service).\n";
    for (const Setting& st : Table()) {
        if (st.text == &Config::config) continue;
        s += "\n# " + std::string(st.help) + "\n";
        if (st.flag) s += std::string("#") + st.name + " = false\n";
        else if (st.list) s += std::string("#") + st.name + " = " + st.arg + "\n";
        else s += std::string("#") + st.name + (*st.def ? std::string(" = ") + st.def : std::string(" =")) + "\n";
    }
    return s;
}

bool SetValue(const Setting& st, const std::string& v, Config& cfg, std::string& error) {
    if (st.text) {
        cfg.*st.text = v;
        return true;
    }
    if (st.list) {
        (cfg.*st.list).push_back(v);
        return true;
    }
    if (st.flag) {
        if (v != "" && v != "true" && v != "yes" && v != "1" && v != "false" && v != "no" && v != "0") {
            error = std::string(st.name) + ": expected true or false, got \"" + v + "\"";
            return false;
        }
        cfg.*st.flag = v == "" || v == "true" || v == "yes" || v == "1";
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
    cfg.*st.num = n;
    return true;
}

const Setting* Find(const std::string& name) {
    for (const Setting& st : Table())
        if (name == st.name) return &st;
    return nullptr;
}

// The settings file: "name = value" lines, '#' starting a comment line,
// each name an option's; a repeatable option may come on several lines.
bool ReadSettingsFile(const std::string& path, Config& cfg, std::string& error) {
    FILE* f = fopen(path.c_str(), "re");
    if (!f) {
        error = "cannot read the settings file " + path + ": " + strerror(errno);
        return false;
    }
    char buf[4096];
    int line = 0;
    bool ok = true;
    while (ok && fgets(buf, sizeof buf, f)) {
        ++line;
        std::string l = buf;
        while (!l.empty() && (l.back() == '\n' || l.back() == '\r')) l.pop_back();
        size_t a = l.find_first_not_of(" \t");
        if (a == std::string::npos || l[a] == '#') continue;
        size_t eq = l.find('=');
        auto trim = [](std::string t) {
            size_t x = t.find_first_not_of(" \t"), y = t.find_last_not_of(" \t");
            return x == std::string::npos ? std::string() : t.substr(x, y - x + 1);
        };
        std::string name = trim(l.substr(0, eq)), value = eq == std::string::npos ? "" : trim(l.substr(eq + 1));
        const Setting* st = Find(name);
        std::string where = path + ":" + std::to_string(line) + ": ";
        if (!st || st->text == &Config::config) {
            error = where + "unknown setting \"" + name + "\" (the names are those of --help, without dashes)";
            ok = false;
        } else if (eq == std::string::npos && !st->flag) {
            error = where + "expected \"" + name + " = " + st->arg + "\"";
            ok = false;
        } else if (!SetValue(*st, value, cfg, error)) {
            error = where + error;
            ok = false;
        }
    }
    fclose(f);
    return ok;
}

}  // namespace

bool ValidNetwork(const std::string& net) { return http::Peers().trust(net); }

std::string ProgramPath() {
    char buf[4096];
    ssize_t n = readlink("/proc/self/exe", buf, sizeof buf - 1);
    return n > 0 ? std::string(buf, size_t(n)) : std::string("/proc/self/exe");
}

std::string ProgramDir() {
    char buf[4096];
    ssize_t n = readlink("/proc/self/exe", buf, sizeof buf - 1);
    if (n <= 0) return ".";
    std::string p(buf, size_t(n));
    size_t slash = p.rfind('/');
    return slash == std::string::npos ? "." : p.substr(0, slash);
}

std::string DefaultDatabasePath() {
    // Run as a service: the folder systemd made for it (StateDirectory=).
    const char* state = getenv("STATE_DIRECTORY");
    if (state && *state == '/' && !strchr(state, ':')) return std::string(state) + "/board.sqlite";
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
        if (*st.def && !SetValue(st, st.def, cfg, error)) return false;
    // Two passes: the settings file first, then the command line over it.
    struct Given {
        const Setting* st;
        std::string value;
    };
    std::vector<Given> given;
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
        if (a == "--print-config") {  // the build makes the package's settings file of it
            error = SettingsFile();
            helpShown = true;
            return false;
        }
        if (a.rfind("--", 0) != 0 && cfg.command == "admin") {
            cfg.args.push_back(a);
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
        const Setting* found = Find(name);
        if (!found) {
            error = "unknown option \"" + a + "\" (see --help)";
            return false;
        }
        if (!hasValue && !found->flag) {
            if (i + 1 >= argc) {
                error = "--" + name + " needs a value (" + found->arg + ")";
                return false;
            }
            value = argv[++i];
        }
        if (found->text == &Config::config) {
            cfg.config = value;
            continue;
        }
        given.push_back({found, value});
    }
    if (!cfg.config.empty() && !ReadSettingsFile(cfg.config, cfg, error)) return false;
    // A list given on the command line replaces the file's.
    for (const Setting& st : Table())
        if (st.list)
            for (const Given& g : given)
                if (g.st == &st) {
                    (cfg.*st.list).clear();
                    break;
                }
    for (const Given& g : given)
        if (!SetValue(*g.st, g.value, cfg, error)) return false;
    if (cfg.command != "serve" && cfg.command != "worker" && cfg.command != "migrate" && cfg.command != "admin") {
        error = (cfg.command.empty() ? std::string("no command given") : "unknown command \"" + cfg.command + "\"") +
                "\n" + Usage();
        return false;
    }
    for (const std::string& p : cfg.trustedProxies)
        if (!ValidNetwork(p)) {
            error = "--trusted-proxy: expected an IPv4 or IPv6 address, or one with /BITS, got \"" + p + "\"";
            return false;
        }
    if (cfg.db.empty()) cfg.db = DefaultDatabasePath();
    // The game runs in its job's folder: its path must not depend on ours.
    if (!cfg.game.empty() && cfg.game[0] != '/') {
        char cwd[4096];
        if (getcwd(cwd, sizeof cwd)) cfg.game = std::string(cwd) + "/" + cfg.game;
    }
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
    cfg.webGiven = !cfg.web.empty();
    if (cfg.web.empty()) {
        // None found: the board serves no /play/ (and says so at start).
        for (const char* rel : {"/../build-web/play", "/../share/quellstorm/web", "/../../share/quellstorm/web",
                                "/../../../usr/share/quellstorm/web"})
            if (access((here + rel + "/index.html").c_str(), R_OK) == 0) {
                cfg.web = here + rel;
                break;
            }
    }
    return true;
}

}  // namespace board
