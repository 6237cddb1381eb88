// quellstorm-board: a score board whose every entry was re-played by the
// game before it was ranked.
//   serve    the web pages, the API and verifiers on this machine's cores
//   worker   verifiers alone, against a shared PostgreSQL database
//   migrate  the database's tables brought up to date
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <thread>

#include "app.h"
#include "sandbox.h"

using namespace board;

namespace {

// Signals are taken by one thread that then stops everything in order.
sigset_t StopSignals() {
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGINT);
    sigaddset(&set, SIGTERM);
    sigaddset(&set, SIGHUP);
    return set;
}

bool OpenAndMigrate(const Config& cfg) {
    try {
        if (!IsPostgresUrl(cfg.db)) {
            std::error_code ec;
            std::filesystem::path parent = std::filesystem::path(cfg.db).parent_path();
            if (!parent.empty()) std::filesystem::create_directories(parent, ec);
        }
        Migrate(*OpenDb(cfg.db));
        return true;
    } catch (const std::exception& e) {
        fprintf(stderr, "quellstorm-board: %s\n", e.what());
        return false;
    }
}

// A board that verifies checks first that the game runs in its sandbox,
// and clears what killed verifiers of earlier runs left.
bool ReadyToVerify(const Config& cfg) {
    if (int n = SweepJobFolders())
        fprintf(stderr, "quellstorm-board: removed %d job folder%s left by verifiers that were killed\n", n,
                n == 1 ? "" : "s");
    std::string said;
    if (!CheckGame(cfg, said)) {
        fprintf(stderr, "quellstorm-board: %s\n", said.c_str());
        return false;
    }
    // Its version, then what the host's sandbox gives.
    std::string version = said.substr(said.rfind('\n') == std::string::npos ? 0 : said.rfind('\n') + 1);
    std::string sandbox = said.substr(0, said.find('\n'));
    if (sandbox.rfind("quellstorm-board sandbox: ", 0) == 0) sandbox = sandbox.substr(26);
    fprintf(stderr, "quellstorm-board: verifying with %s (%s); sandbox: %s\n", cfg.game.c_str(), version.c_str(),
            sandbox.c_str());
    return true;
}

int VerifierCount(const Config& cfg) {
    if (cfg.verifiers < 0) return 0;
    if (cfg.verifiers > 0) return int(cfg.verifiers);
    return std::max(1u, std::thread::hardware_concurrency());
}

// The wording of a refusal the routes did not word themselves (and of a
// handler's failure).
void ErrorAnswer(std::exception_ptr ep, http::Response& res, const Config& cfg) {
    if (ep) {
        try {
            std::rethrow_exception(ep);
        } catch (const DbError& e) {
            if (!e.cause.empty()) fprintf(stderr, "quellstorm-board: %s (%s)\n", e.cause.c_str(), e.what());
            if (e.unavailable || !e.cause.empty()) {
                res.set_header("Retry-After", "5");
                return SendError(res, 503, e.cause.empty()
                                               ? "the board's database is not answering: try again shortly"
                                               : "the board cannot keep anything now (" + e.cause + "): try again later");
            }
            fprintf(stderr, "quellstorm-board: %s\n", e.what());
        } catch (const std::exception& e) {
            fprintf(stderr, "quellstorm-board: %s\n", e.what());
        } catch (...) {
        }
        return SendError(res, 500, "the board failed to answer this request");
    }
    std::string why;
    switch (res.status) {
    case 413:
        why = "the upload is larger than " + std::to_string(cfg.maxUploadKb) +
              " KB: a finished game's replay is much smaller";
        break;
    case 404: why = "no such page"; break;
    case 405: why = "this method is not allowed here"; break;
    case 408: why = "the request took too long"; break;
    case 414: why = "the address is too long"; break;
    default: why = res.status >= 500 ? "the board failed to answer this request" : "bad request";
    }
    SendError(res, res.status, why);
}

// The pages a visitor opens first (the boards, their JSON, the records'
// feed) are made before the board answers anyone, on the copies' own
// connection, which is then open: the first visitors after a start wait
// neither for them nor for the database's first answers. A database that
// does not answer yet is no reason not to start (each read says so).
void MakeFirstCopies(const http::Router& router) {
    for (const char* path : {"/", "/api/boards", "/feeds/records.atom"}) {
        http::Request req;
        req.method = "GET";
        req.path = path;
        http::Response res;
        try {
            router.dispatch(req, res);
        } catch (const std::exception& e) {
            fprintf(stderr, "quellstorm-board: cannot make %s before the first visitor: %s\n", path, e.what());
        }
    }
}

int Serve(const Config& cfg) {
    auto [host, portText] = [&]() -> std::pair<std::string, std::string> {
        size_t c = cfg.listen.rfind(':');
        if (c == std::string::npos || cfg.listen.back() == ']') return {cfg.listen, "8090"};
        return {cfg.listen.substr(0, c), cfg.listen.substr(c + 1)};
    }();
    int port = atoi(portText.c_str());
    if (port < 0 || port > 65535 || portText.empty() || portText.find_first_not_of("0123456789") != std::string::npos) {
        fprintf(stderr, "quellstorm-board: --listen wants HOST:PORT, got \"%s\"\n", cfg.listen.c_str());
        return 2;
    }
    // The page must be there before anyone is sent to /play/, with the
    // manifest that says how its files are served.
    for (const char* needed : {"index.html", "manifest.json"})
        if (cfg.webGiven && access((cfg.web + "/" + needed).c_str(), R_OK) != 0) {
            fprintf(stderr,
                    "quellstorm-board: --web %s: there is no %s in that folder (%s); give the web build's "
                    "folder (make web builds it in build-web/play, with its index.html and manifest.json)\n",
                    cfg.web.c_str(), needed, strerror(errno));
            return 2;
        }
    if (cfg.web.empty())
        fprintf(stderr, "quellstorm-board: no web build found: /play/ is off (give its folder with --web DIR)\n");
    App app(cfg);
    http::AccessLog accessLog;
    std::string error;
    if (!accessLog.open(cfg.accessLog, error)) {
        fprintf(stderr, "quellstorm-board: %s\n", error.c_str());
        return 1;
    }
    http::Router router;
    AddApiRoutes(router, app);
    AddPageRoutes(router, app);
    AddPlayRoutes(router, app);
    AddFeedRoutes(router, app);
    MakeFirstCopies(router);
    http::Server server(router, app.limits, app.peers, accessLog,
                        [&cfg](std::exception_ptr ep, http::Response& res) { ErrorAnswer(ep, res, cfg); });
    port = server.start(host, port, error);
    if (port <= 0) {
        fprintf(stderr, "quellstorm-board: %s\n", error.c_str());
        return 1;
    }
    int count = VerifierCount(cfg);
    if (count > 0 && !ReadyToVerify(cfg)) return 1;
    app.start(count);
    printf("quellstorm-board: serving http://%s:%d/ (database %s, %d verifier%s)\n", host.c_str(), port,
           IsPostgresUrl(cfg.db) ? "PostgreSQL" : cfg.db.c_str(), count, count == 1 ? "" : "s");
    fflush(stdout);

    sigset_t set = StopSignals();
    int sig = 0;
    sigwait(&set, &sig);
    server.stop();
    app.stop();
    return 0;
}

int Work(const Config& cfg) {
    int count = VerifierCount(cfg);
    if (count == 0) count = 1;
    if (!ReadyToVerify(cfg)) return 1;
    App app(cfg);
    app.start(count);
    printf("quellstorm-board: verifying with %d verifier%s (database %s)\n", count, count == 1 ? "" : "s",
           IsPostgresUrl(cfg.db) ? "PostgreSQL" : cfg.db.c_str());
    fflush(stdout);
    sigset_t set = StopSignals();
    int sig = 0;
    sigwait(&set, &sig);
    app.stop();
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    // The verifier's child, closing its sandbox before it runs the game.
    if (argc > 1 && strcmp(argv[1], "jail") == 0) return JailMain(argc, argv);
    Config cfg;
    std::string error;
    bool help = false;
    if (!ParseCommandLine(argc, argv, cfg, error, help)) {
        fputs(error.c_str(), help ? stdout : stderr);
        if (!help) fputc('\n', stderr);
        return help ? 0 : 2;
    }
    signal(SIGPIPE, SIG_IGN);
    // Every file the board makes (the database above all) is its own.
    umask(077);
    // One descriptor per connection: as many as the host allows.
    rlimit files;
    if (getrlimit(RLIMIT_NOFILE, &files) == 0 && files.rlim_cur < files.rlim_max) {
        files.rlim_cur = files.rlim_max;
        setrlimit(RLIMIT_NOFILE, &files);
    }
    sigset_t set = StopSignals();
    pthread_sigmask(SIG_BLOCK, &set, nullptr);
    if (!OpenAndMigrate(cfg)) return 1;
    if (cfg.command == "migrate") return 0;
    if (cfg.command == "worker") return Work(cfg);
    if (cfg.command == "admin") return Admin(cfg);
    return Serve(cfg);
}
