#include "verifier.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

namespace board {

namespace fs = std::filesystem;
using json = nlohmann::json;

namespace {

// What the game's result file may hold at most; anything larger is not
// the game's.
constexpr size_t kMaxResultBytes = 64 * 1024;

std::string ReadSmallFile(const std::string& path, size_t limit) {
    std::ifstream f(path, std::ios::binary);
    if (!f) return "";
    std::string s(limit, '\0');
    f.read(&s[0], std::streamsize(limit));
    s.resize(size_t(f.gcount()));
    return s;
}

Opt JsonInt(const json& j, const char* key) {
    auto it = j.find(key);
    if (it == j.end() || !it->is_number_integer()) return std::nullopt;
    return it->get<int64_t>();
}

}  // namespace

Outcome JudgeResult(int exitStatus, const std::string& text) {
    Outcome o;
    json j = json::parse(text, nullptr, false);
    if (j.is_discarded() || !j.is_object()) {
        switch (exitStatus) {
        case 2: o.reason = "the game could not read this file as a replay"; break;
        case 7: o.reason = "the replay's start is not a new game's start: not ranked"; break;
        default:
            o.reason = "the game ended (status " + std::to_string(exitStatus) + ") without a result for this file";
        }
        return o;
    }
    o.sim = JsonInt(j, "sim");
    o.score = JsonInt(j, "score");
    o.stage = JsonInt(j, "stage");
    o.difficulty = JsonInt(j, "difficulty");
    o.lives = JsonInt(j, "lives");
    o.bombs = JsonInt(j, "bombs");
    o.startStage = JsonInt(j, "start_stage");
    o.jewels = JsonInt(j, "jewels");
    o.frames = JsonInt(j, "frames");
    o.misses = JsonInt(j, "misses");
    o.bombsUsed = JsonInt(j, "bombs_used");
    o.firstDifference = JsonInt(j, "first_difference_frame");
    if (j.contains("speed") && j["speed"].is_number()) o.speed = j["speed"].get<double>();
    if (j.contains("ending") && j["ending"].is_string()) o.ending = j["ending"].get<std::string>();
    if (j.contains("game") && j["game"].is_string()) o.gameVersion = j["game"].get<std::string>();
    if (j.contains("date") && j["date"].is_string()) o.played = j["date"].get<std::string>();
    if (j.contains("stage_scores") && j["stage_scores"].is_array())
        for (const json& v : j["stage_scores"])
            if (v.is_number_integer() && o.stageScores.size() < 16) o.stageScores.push_back(v.get<int64_t>());
    std::string message = j.contains("message") && j["message"].is_string() ? j["message"].get<std::string>() : "";
    auto flag = [&](const char* key) { return j.contains(key) && j[key].is_boolean() && j[key].get<bool>(); };

    // "sim" is the file's simulation version, "game_sim" the game's: a
    // file from another version plays differently and is refused by name.
    Opt gameSim = JsonInt(j, "game_sim");
    if (gameSim && o.sim && *gameSim != *o.sim) {
        o.reason = "recorded with simulation version " + std::to_string(*o.sim) +
                   "; this board verifies version " + std::to_string(*gameSim) + ": not ranked";
        return o;
    }
    if (gameSim) o.sim = gameSim;
    // The file's saved start holds what no new game starts with (more
    // lives, bombs or score than chosen): the game names what.
    if (o.ending == "refused" || exitStatus == 7) {
        o.reason = (message.empty() ? std::string("the replay's start is not a new game's start") : message) +
                   ": not ranked";
        return o;
    }
    if (exitStatus == 2) {
        o.reason = message.empty() ? "the game could not read this file as a replay" : message;
        return o;
    }
    if (!flag("verified")) {
        o.reason = o.firstDifference
                       ? "the game differs from the recording from frame " + std::to_string(*o.firstDifference) + " on"
                       : (message.empty() ? "the recording could not be reproduced" : message);
        return o;
    }
    if (!flag("complete") || exitStatus == 5) {
        o.reason = "the recording is cut short" +
                   (o.frames ? " after frame " + std::to_string(*o.frames) : std::string()) +
                   ": only finished games are ranked";
        return o;
    }
    if (o.ending != "gameover" && o.ending != "staffroll") {
        o.reason = "the game was left before it ended (" + (o.ending.empty() ? std::string("no ending") : o.ending) +
                   "): only games that reach game over or the staff roll are ranked";
        return o;
    }
    if (flag("invincible")) {
        o.reason = "played with the testing aid invincible on: not ranked";
        return o;
    }
    if (flag("stage_option")) {
        o.reason = "played from a stage chosen with --stage (a testing aid): not ranked";
        return o;
    }
    // The stages' own scores add up to the game's score when it began at
    // zero; a file that starts its game from a state already holding
    // points does not.
    int64_t sum = 0;
    for (int64_t v : o.stageScores) sum += v;
    if (o.score && sum != *o.score) {
        o.reason = "the game did not start from a score of zero (stages add up to " + std::to_string(sum) +
                   ", the game ended at " + std::to_string(*o.score) + "): not ranked";
        return o;
    }
    if (exitStatus != 0 || !o.score || !o.difficulty || *o.difficulty < 0 || *o.difficulty > 3) {
        o.reason = "the game's result is incomplete (status " + std::to_string(exitStatus) + ")";
        return o;
    }
    o.verified = true;
    return o;
}

Outcome VerifyReplay(const Config& cfg, const std::string& bytes, const std::atomic<bool>& stop, double* seconds,
                     const std::function<bool()>& keep, int keepEveryMs) {
    Outcome o;
    char tmpl[] = "/tmp/quellstorm-verify-XXXXXX";
    if (!mkdtemp(tmpl)) {
        o.reason = "";  // not the file's fault: the job is tried again
        return o;
    }
    std::string dir = tmpl;
    std::string replay = dir + "/submission.qsr", result = dir + "/result.json", log = dir + "/game.log";
    {
        std::ofstream f(replay, std::ios::binary);
        f.write(bytes.data(), std::streamsize(bytes.size()));
    }
    std::vector<std::string> args = {cfg.game,     "--headless",     "--home",       dir,   "--play",
                                     replay,       "--verify",       "--draw-every", "0",   "--result-json",
                                     result};
    auto start = std::chrono::steady_clock::now();
    pid_t pid = fork();
    if (pid == 0) {
        // The game: ends with this program, cannot grow past its memory
        // limit or fill the disk with messages, and sees no settings of
        // whoever runs the board.
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        setpgid(0, 0);
        if (cfg.jobMemoryMb > 0) {
            rlimit as{rlim_t(cfg.jobMemoryMb) << 20, rlim_t(cfg.jobMemoryMb) << 20};
            setrlimit(RLIMIT_AS, &as);
        }
        rlimit cpu{rlim_t(cfg.jobSeconds + 1), rlim_t(cfg.jobSeconds + 2)};
        setrlimit(RLIMIT_CPU, &cpu);
        rlimit fsize{rlim_t(4) << 20, rlim_t(4) << 20};
        setrlimit(RLIMIT_FSIZE, &fsize);
        int fd = open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        int in = open("/dev/null", O_RDONLY);
        if (fd >= 0) {
            dup2(fd, 1);
            dup2(fd, 2);
        }
        if (in >= 0) dup2(in, 0);
        setenv("HOME", dir.c_str(), 1);
        setenv("XDG_CONFIG_HOME", dir.c_str(), 1);
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        std::vector<char*> argv;
        for (auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        execv(argv[0], argv.data());
        _exit(127);
    }
    int status = 0;
    bool timedOut = false, stopped = false;
    if (pid > 0) {
        auto deadline = start + std::chrono::seconds(cfg.jobSeconds);
        auto nextKeep = start + std::chrono::milliseconds(keepEveryMs);
        for (;;) {
            pid_t w = waitpid(pid, &status, WNOHANG);
            if (w == pid) break;
            if (w < 0 && errno != EINTR) break;
            auto now = std::chrono::steady_clock::now();
            bool lost = false;
            if (keep && now >= nextKeep) {
                lost = !keep();
                nextKeep = now + std::chrono::milliseconds(keepEveryMs);
            }
            if (now > deadline || stop || lost) {
                timedOut = !stop && !lost;
                stopped = stop || lost;
                kill(-pid, SIGKILL);
                kill(pid, SIGKILL);
                waitpid(pid, &status, 0);
                break;
            }
            usleep(5000);
        }
    }
    if (seconds) *seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::string resultText = ReadSmallFile(result, kMaxResultBytes);
    std::error_code ec;
    fs::remove_all(dir, ec);

    if (pid < 0 || stopped) return o;  // not judged: tried again later
    if (timedOut) {
        o.reason = "the game took longer than " + std::to_string(cfg.jobSeconds) + " s to re-play this file";
        return o;
    }
    if (WIFSIGNALED(status)) {
        int sig = WTERMSIG(status);
        o.reason = sig == SIGXCPU ? "the game used more than its processor time re-playing this file"
                                  : std::string("the game stopped on signal ") + strsignal(sig) +
                                        " re-playing this file (memory limit " + std::to_string(cfg.jobMemoryMb) +
                                        " MB)";
        return o;
    }
    int code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    if (code == 127 && resultText.empty()) {
        o.reason = "";  // the game's program is missing: the board's fault, not the file's
        return o;
    }
    return JudgeResult(code, resultText);
}

void Verifiers::start(int count) {
    for (int i = 0; i < count; ++i) threads_.emplace_back([this, i] { loop(i); });
}

void Verifiers::stop() {
    stop_ = true;
    cv_.notify_all();
    for (auto& t : threads_)
        if (t.joinable()) t.join();
    threads_.clear();
}

void Verifiers::wake() {
    {
        std::lock_guard<std::mutex> g(m_);
        ++pending_;
    }
    cv_.notify_one();
}

void Verifiers::loop(int index) {
    char host[256] = "";
    gethostname(host, sizeof host - 1);
    std::string worker = std::string(host) + ":" + std::to_string(getpid()) + ":" + std::to_string(index);
    bool dbDown = false;
    // This verifier's own connection, made again when it breaks.
    std::unique_ptr<Db> conn;
    auto db = [&]() -> Db& {
        if (!conn || !conn->healthy()) {
            conn.reset();
            conn = dbs_.open();
        }
        return *conn;
    };
    auto idle = [&](int ms) {
        std::unique_lock<std::mutex> l(m_);
        cv_.wait_for(l, std::chrono::milliseconds(ms), [&] { return stop_ || pending_ > 0; });
        if (pending_ > 0) --pending_;
    };
    while (!stop_) {
        std::optional<Job> job;
        try {
            job = ClaimJob(db(), worker, cfg_.leaseSeconds * 1000);
            if (dbDown) fprintf(stderr, "quellstorm-board: verifier %d: the database answers again\n", index);
            dbDown = false;
        } catch (const DbError& e) {
            if (!dbDown) fprintf(stderr, "quellstorm-board: verifier %d: %s (trying again)\n", index, e.what());
            dbDown = true;
            idle(1000);
            continue;
        }
        if (!job) {
            idle(500);
            continue;
        }
        Outcome o;
        double seconds = 0;
        std::optional<std::string> bytes;
        try {
            bytes = ReplayBytes(db(), job->id);
        } catch (const DbError&) {
            continue;  // the lease runs out and the job is claimed again
        }
        if (job->attempts > 3) {
            o.reason = "verification was started " + std::to_string(job->attempts - 1) +
                       " times and never finished: not ranked";
        } else if (!bytes) {
            o.reason = "the replay's bytes are missing";
        } else {
            // The claim is renewed while the game runs, so a short lease
            // finds a dead verifier quickly however long a game is.
            auto keep = [&] {
                try {
                    return RenewLease(db(), job->id, worker, cfg_.leaseSeconds * 1000);
                } catch (const DbError&) {
                    return true;  // the database is away: carry on, write later
                }
            };
            o = VerifyReplay(cfg_, *bytes, stop_, &seconds, keep, int(cfg_.leaseSeconds * 1000 / 3));
            if (!o.verified && o.reason.empty()) {
                // Not judged (stopping, or the board's own trouble): the
                // job goes back to the queue for the next verifier.
                try {
                    ReleaseJob(db(), job->id, worker);
                } catch (const DbError&) {
                }
                if (!stop_) idle(1000);
                continue;
            }
        }
        // The result is written once the database answers, while this
        // verifier still holds the job.
        auto until = std::chrono::steady_clock::now() + std::chrono::seconds(cfg_.leaseSeconds);
        while (true) {
            try {
                bool mine = FinishJob(db(), job->id, worker, o);
                if (!cfg_.quiet) {
                    double fps = seconds > 0 && o.frames ? double(*o.frames) / seconds : 0;
                    if (!mine)
                        fprintf(stderr, "quellstorm-board: %s was taken over by another verifier\n", job->id.c_str());
                    else if (o.verified)
                        fprintf(stderr, "quellstorm-board: verified %s: score %lld, %lld frames in %.2f s (%.0f frames/s)\n",
                                job->id.c_str(), (long long)o.score.value_or(0), (long long)o.frames.value_or(0),
                                seconds, fps);
                    else
                        fprintf(stderr, "quellstorm-board: rejected %s: %s\n", job->id.c_str(), o.reason.c_str());
                }
                break;
            } catch (const DbError& e) {
                if (stop_ || std::chrono::steady_clock::now() > until) break;
                idle(500);
            }
        }
    }
}

}  // namespace board
