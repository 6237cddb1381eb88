// quellstorm-board: a score board whose every entry was re-played by the
// game before it was ranked.
//   serve    the web pages, the API and verifiers on this machine's cores
//   worker   verifiers alone, against a shared PostgreSQL database
//   migrate  the database's tables brought up to date
#include <signal.h>

#include <cstdio>
#include <filesystem>
#include <thread>

#include "app.h"

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
        Migrate(ThreadDb(cfg.db));
        return true;
    } catch (const std::exception& e) {
        fprintf(stderr, "quellstorm-board: %s\n", e.what());
        return false;
    }
}

int VerifierCount(const Config& cfg) {
    if (cfg.verifiers < 0) return 0;
    if (cfg.verifiers > 0) return int(cfg.verifiers);
    return std::max(1u, std::thread::hardware_concurrency());
}

void ErrorBody(const httplib::Request&, httplib::Response& res, const Config& cfg) {
    if (!res.body.empty()) return;
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

int Serve(const Config& cfg) {
    httplib::Server svr;
    auto [host, portText] = [&]() -> std::pair<std::string, std::string> {
        size_t c = cfg.listen.rfind(':');
        if (c == std::string::npos) return {cfg.listen, "8090"};
        return {cfg.listen.substr(0, c), cfg.listen.substr(c + 1)};
    }();
    int port = atoi(portText.c_str());
    if (port < 0 || port > 65535 || portText.find_first_not_of("0123456789") != std::string::npos) {
        fprintf(stderr, "quellstorm-board: --listen wants HOST:PORT, got \"%s\"\n", cfg.listen.c_str());
        return 2;
    }
    Verifiers verifiers(cfg);
    int count = VerifierCount(cfg);
    App app{cfg, count ? &verifiers : nullptr, RateLimiter(cfg.submitPerMinute, cfg.submitBurst)};

    svr.new_task_queue = [&cfg] { return new httplib::ThreadPool(size_t(cfg.httpThreads)); };
    // The limit is checked against the announced length before any of the
    // body is kept (the rest is read past and dropped), and while reading a
    // chunked one.
    svr.set_payload_max_length(size_t(cfg.maxUploadKb) * 1024);
    svr.set_read_timeout(time_t(cfg.requestSeconds));
    svr.set_write_timeout(time_t(cfg.requestSeconds));
    // Answers go out at once, not held back to fill a packet.
    svr.set_tcp_nodelay(true);
    svr.set_keep_alive_timeout(5);
    svr.set_keep_alive_max_count(1000);
    svr.set_error_handler([&cfg](const httplib::Request& req, httplib::Response& res) { ErrorBody(req, res, cfg); });
    svr.set_exception_handler([](const httplib::Request&, httplib::Response& res, std::exception_ptr ep) {
        try {
            std::rethrow_exception(ep);
        } catch (const DbError& e) {
            if (e.unavailable) {
                res.set_header("Retry-After", "5");
                return SendError(res, 503, "the board's database is not answering: try again shortly");
            }
            fprintf(stderr, "quellstorm-board: %s\n", e.what());
        } catch (const std::exception& e) {
            fprintf(stderr, "quellstorm-board: %s\n", e.what());
        } catch (...) {
        }
        SendError(res, 500, "the board failed to answer this request");
    });
    AddApiRoutes(svr, app);
    AddPageRoutes(svr, app);
    AddPlayRoutes(svr, app);
    AddFeedRoutes(svr, app);

    if (port == 0) port = svr.bind_to_any_port(host);
    else if (!svr.bind_to_port(host, port)) port = -1;
    if (port <= 0) {
        fprintf(stderr, "quellstorm-board: cannot listen on %s\n", cfg.listen.c_str());
        return 1;
    }
    verifiers.start(count);
    printf("quellstorm-board: serving http://%s:%d/ (database %s, %d verifier%s)\n", host.c_str(), port,
           IsPostgresUrl(cfg.db) ? "PostgreSQL" : cfg.db.c_str(), count, count == 1 ? "" : "s");
    fflush(stdout);

    std::thread stopper([&] {
        sigset_t set = StopSignals();
        int sig = 0;
        sigwait(&set, &sig);
        svr.stop();
    });
    svr.listen_after_bind();
    StopCopies();
    verifiers.stop();
    // Whichever way listening ended, the signal thread goes too.
    kill(getpid(), SIGTERM);
    stopper.join();
    return 0;
}

int Work(const Config& cfg) {
    int count = VerifierCount(cfg);
    if (count == 0) count = 1;
    Verifiers verifiers(cfg);
    verifiers.start(count);
    printf("quellstorm-board: verifying with %d verifier%s (database %s)\n", count, count == 1 ? "" : "s",
           IsPostgresUrl(cfg.db) ? "PostgreSQL" : cfg.db.c_str());
    fflush(stdout);
    sigset_t set = StopSignals();
    int sig = 0;
    sigwait(&set, &sig);
    verifiers.stop();
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    Config cfg;
    std::string error;
    bool help = false;
    if (!ParseCommandLine(argc, argv, cfg, error, help)) {
        fputs(error.c_str(), help ? stdout : stderr);
        if (!help) fputc('\n', stderr);
        return help ? 0 : 2;
    }
    signal(SIGPIPE, SIG_IGN);
    sigset_t set = StopSignals();
    pthread_sigmask(SIG_BLOCK, &set, nullptr);
    if (!OpenAndMigrate(cfg)) return 1;
    if (cfg.command == "migrate") return 0;
    if (cfg.command == "worker") return Work(cfg);
    return Serve(cfg);
}
