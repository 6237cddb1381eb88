#include "verifier.h"

#include "sandbox.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
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
// A track takes about three bytes a frame; the game's file size limit
// below bounds it anyway.
constexpr size_t kMaxTrackBytes = 4u << 20;
// A job the board could not judge is tried this many times.
constexpr int kMaxTries = 3;

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

// The game's run in its sandbox: in its job folder, reading its own files.
JailPlan GamePlan(const Config& cfg, const std::string& dir, const std::string& log, std::vector<std::string> args,
                  int64_t cpuSeconds) {
    JailPlan plan;
    plan.game = cfg.game;
    plan.args = std::move(args);
    plan.dir = dir;
    plan.log = log;
    plan.memoryMb = cfg.jobMemoryMb;
    plan.cpuSeconds = cpuSeconds;
    plan.read = GameReadFolders(cfg.game);
    return plan;
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
    // The correction over the whole game, in its steps (older games say
    // only where it ended).
    o.speedSteps = JsonInt(j, "speed_steps_max");
    if (!o.speedSteps && j.contains("speed") && j["speed"].is_number())
        o.speedSteps = int64_t(std::llround(std::max(0.0, std::min(j["speed"].get<double>(), 1e6)) * 1000));
    if (o.speedSteps && (*o.speedSteps < 0 || *o.speedSteps > 100000000)) o.speedSteps = std::nullopt;
    if (o.speedSteps) o.speed = double(*o.speedSteps) / 1000;
    if (j.contains("ending") && j["ending"].is_string()) o.ending = j["ending"].get<std::string>();
    if (j.contains("game") && j["game"].is_string()) o.gameVersion = j["game"].get<std::string>();
    if (j.contains("date") && j["date"].is_string()) o.played = j["date"].get<std::string>();
    if (j.contains("stage_scores") && j["stage_scores"].is_array())
        for (const json& v : j["stage_scores"])
            if (v.is_number_integer() && o.stageScores.size() < 16) o.stageScores.push_back(v.get<int64_t>());
    std::string message = j.contains("message") && j["message"].is_string() ? j["message"].get<std::string>() : "";
    auto flag = [&](const char* key) { return j.contains(key) && j[key].is_boolean() && j[key].get<bool>(); };

    // The game refused the file before or while playing it (a start no
    // new game has, an end far past its lines, frames after its game was
    // over): the game names why.
    if (o.ending == "refused" || exitStatus == 7 || exitStatus == 8) {
        o.reason = (message.empty() ? std::string("the replay's start is not a new game's start") : message) +
                   ": not ranked";
        return o;
    }
    if (exitStatus == 2) {
        o.reason = message.empty() ? "the game could not read this file as a replay" : message;
        return o;
    }
    // What the game was started from. An older kept game's memory image
    // plays in the game, but what an earlier game left is in it: no board
    // can rank it. A whole run starts at the program's own start-up: one
    // game in it is that game's whole story; more are not one game.
    std::string start = j.contains("start") && j["start"].is_string() ? j["start"].get<std::string>() : "";
    Opt games = JsonInt(j, "games");
    if (start == "image") {
        o.reason = "recorded before version 2 of the game; its start cannot be proven; it still plays in the game: "
                   "not ranked";
        return o;
    }
    bool wholeRun = start == "start-up";
    if (wholeRun && games && *games != 1) {
        o.reason = "a whole-run recording (" + std::to_string(*games) +
                   " games); send the kept game's file: not ranked";
        return o;
    }
    // "sim" is the file's simulation version, "game_sim" the game's: a
    // file from another version plays differently and is refused by name
    // (a whole run of one game plays as its own version did).
    Opt gameSim = JsonInt(j, "game_sim");
    if (gameSim && o.sim && *gameSim != *o.sim && !wholeRun) {
        o.reason = "recorded with simulation version " + std::to_string(*o.sim) +
                   "; this board verifies version " + std::to_string(*gameSim) + ": not ranked";
        return o;
    }
    if (gameSim) o.sim = gameSim;
    if (!flag("verified")) {
        o.reason = o.firstDifference
                       ? "the game differs from the recording from frame " + std::to_string(*o.firstDifference) + " on"
                       : (message.empty() ? "the recording could not be reproduced" : message);
        return o;
    }
    // Whatever became of it, the bot's game is nobody's own play.
    if (flag("bot")) {
        o.reason = "played by the bot (--bot), not by a player: not ranked";
        return o;
    }
    // A practice run is the player's, but not a whole game of theirs: a
    // take-over began as someone else's run, a stage practice skipped the
    // stages before.
    std::string practice = j.contains("practice") && j["practice"].is_string() ? j["practice"].get<std::string>() : "";
    if (practice == "take-over") {
        std::string parent = j.contains("parent") && j["parent"].is_string() ? j["parent"].get<std::string>() : "";
        Opt at = JsonInt(j, "taken_at");
        o.reason = "a practice run is not ranked: taken over from run " + (parent.empty() ? "?" : parent) +
                   " at frame " + (at ? std::to_string(*at) : "?");
        return o;
    }
    if (!practice.empty()) {
        o.reason = "a stage practice run is not ranked";
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
    if (exitStatus != 0 || !o.score || !o.difficulty || *o.difficulty < 0 || *o.difficulty > 3 ||
        (o.startStage && (*o.startStage < 1 || *o.startStage > 5))) {
        o.reason = "the game's result is incomplete (status " + std::to_string(exitStatus) + ")";
        return o;
    }
    o.verified = true;
    return o;
}

std::string JobFolderRoot() {
    const char* t = getenv("TMPDIR");
    return t && *t == '/' ? t : "/tmp";
}

bool CheckGame(const Config& cfg, std::string& said) {
    if (access(cfg.game.c_str(), X_OK) != 0) {
        said = "the game's program " + cfg.game + " cannot be run: " + strerror(errno) + " (give its path with --game)";
        return false;
    }
    std::string tmpl = JobFolderRoot() + "/quellstorm-verify-" + std::to_string(getpid()) + "-XXXXXX";
    if (!mkdtemp(&tmpl[0])) {
        said = "cannot make a job folder in " + JobFolderRoot() + ": " + WriteErrorCause(errno);
        return false;
    }
    std::string dir = tmpl;
    JailPlan plan = GamePlan(cfg, dir, dir + "/game.log", {"--version"}, 30);
    std::string error;
    pid_t pid = SpawnJailed(plan, error);
    int status = 0;
    bool answered = false;
    if (pid > 0) {
        auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        while (waitpid(pid, &status, WNOHANG) == 0) {
            if (std::chrono::steady_clock::now() > deadline) {
                kill(-pid, SIGKILL);
                waitpid(pid, &status, 0);
                break;
            }
            usleep(10000);
        }
        answered = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    }
    std::string out = ReadSmallFile(plan.log, 4096);
    std::error_code ec;
    fs::remove_all(dir, ec);
    while (!out.empty() && (out.back() == '\n' || out.back() == '\r')) out.pop_back();
    if (pid < 0) said = error;
    else if (!answered) {
        // Past the sandbox's own line, what the program said, briefly.
        if (out.rfind("quellstorm-board sandbox: ", 0) == 0)
            out = out.find('\n') == std::string::npos ? "" : out.substr(out.find('\n') + 1);
        if (out.size() > 300) out = out.substr(0, 300) + "...";
        said = "the game's program " + cfg.game + " does not run in the verifier's sandbox (" +
               (WIFEXITED(status) ? "status " + std::to_string(WEXITSTATUS(status))
                                  : std::string("signal ") + strsignal(WTERMSIG(status))) +
               (out.empty() ? ")" : "): " + out);
    } else {
        said = out;
    }
    return answered;
}

int SweepJobFolders() {
    int removed = 0;
    std::error_code ec;
    const std::string prefix = "quellstorm-verify-";
    for (const auto& entry : fs::directory_iterator(JobFolderRoot(), ec)) {
        std::string name = entry.path().filename().string();
        if (name.rfind(prefix, 0) != 0) continue;
        // Ours: "quellstorm-verify-PID-XXXXXX" (anything else is not).
        const char* p = name.c_str() + prefix.size();
        char* end = nullptr;
        long owner = strtol(p, &end, 10);
        if (end == p || *end != '-' || owner <= 0) continue;
        // Its verifier's process is gone (or it was this process's number
        // before: a folder of ours cannot exist yet).
        if (owner != getpid() && (kill(pid_t(owner), 0) == 0 || errno == EPERM)) continue;
        std::error_code rec;
        if (fs::remove_all(entry.path(), rec) > 0 && !rec) ++removed;
    }
    return removed;
}

Outcome VerifyReplay(const Config& cfg, const std::string& bytes, const std::atomic<bool>& stop, double* seconds,
                     const std::function<bool()>& keep, int keepEveryMs) {
    Outcome o;
    // Named by this process, so that a later start can tell its own
    // leftovers (a verifier killed mid-job) from another board's.
    std::string tmpl = JobFolderRoot() + "/quellstorm-verify-" + std::to_string(getpid()) + "-XXXXXX";
    if (!mkdtemp(&tmpl[0])) {
        o.boardFault = "cannot make a job folder in " + JobFolderRoot() + ": " + strerror(errno);
        return o;
    }
    std::string dir = tmpl;
    struct Remove {
        std::string dir;
        ~Remove() {
            std::error_code ec;
            fs::remove_all(dir, ec);
        }
    } removeDir{dir};
    std::string replay = dir + "/submission.qsr", result = dir + "/result.json", log = dir + "/game.log",
                track = dir + "/track.qst";
    {
        std::ofstream f(replay, std::ios::binary);
        f.write(bytes.data(), std::streamsize(bytes.size()));
        f.flush();
        if (!f) {
            o.boardFault = "cannot write the replay into " + dir + ": " + WriteErrorCause(errno);
            return o;
        }
    }
    JailPlan plan = GamePlan(cfg, dir, log,
                             {"--headless", "--home", dir, "--play", replay, "--verify", "--draw-every", "0",
                              "--result-json", result, "--track", track},
                             cfg.jobSeconds + 1);
    auto start = std::chrono::steady_clock::now();
    std::string error;
    pid_t pid = SpawnJailed(plan, error);
    if (pid < 0) {
        o.boardFault = error;
        return o;
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
                if (lost) o.boardFault = "the job's claim was lost (another verifier took it over)";
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
    std::string trackBytes = ReadSmallFile(track, kMaxTrackBytes + 1);

    if (stopped) return o;  // not judged: tried again later
    if (timedOut) {
        o.reason = "the game took longer than " + std::to_string(cfg.jobSeconds) + " s to re-play this file";
        return o;
    }
    if (WIFSIGNALED(status)) {
        int sig = WTERMSIG(status);
        if (sig == SIGXCPU) {
            o.reason = "the game used more than its processor time re-playing this file";
            return o;
        }
        // Killed by no one of ours: the system's out-of-memory killer, or
        // an operator. A crash of the game on a file is the game's fault to
        // mend, not the player's: either way the file is tried again.
        o.boardFault = std::string("the game stopped on signal ") + strsignal(sig) +
                       (sig == SIGKILL ? " (killed from outside: out of memory?)" : "") +
                       " (memory limit " + std::to_string(cfg.jobMemoryMb) + " MB)";
        return o;
    }
    int code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    if ((code == 127 || code == kJailFailed) && resultText.empty()) {
        std::string said = ReadSmallFile(log, 4096);
        while (!said.empty() && (said.back() == '\n' || said.back() == '\r')) said.pop_back();
        size_t nl = said.rfind('\n');
        if (nl != std::string::npos) said = said.substr(nl + 1);
        o.boardFault = (code == 127 ? "the game's program could not be run" : "the sandbox could not be made") +
                       std::string(said.empty() ? "" : ": " + said);
        return o;
    }
    o = JudgeResult(code, resultText);
    // The track the game made while re-playing it, served for racing the
    // run's ghost; one that does not fit is left out.
    if (o.verified && trackBytes.size() <= kMaxTrackBytes && trackBytes.rfind("QSTRACK ", 0) == 0)
        o.track = std::move(trackBytes);
    return o;
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
        // Why the board could not judge the file after the bounded tries:
        // held for the host, never blamed on the file.
        std::string held;
        if (job->attempts > kMaxTries) {
            held = "verification was started " + std::to_string(job->attempts - 1) +
                   " times and never finished (its verifier stopped or lost its claim each time)";
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
            if (!o.boardFault.empty())
                fprintf(stderr, "quellstorm-board: verifier %d: could not judge %s (try %lld of %d): %s\n", index,
                        job->id.c_str(), (long long)job->attempts, kMaxTries, o.boardFault.c_str());
            if (!o.boardFault.empty() && job->attempts >= kMaxTries) {
                held = "the board could not verify this file (" + std::to_string(kMaxTries) +
                       " tries; the last: " + o.boardFault + ")";
            } else if (!o.verified && o.reason.empty()) {
                // Not judged (stopping, or the board's own trouble): the
                // job goes back to the queue for the next verifier.
                try {
                    ReleaseJob(db(), job->id, worker, !o.boardFault.empty());
                } catch (const DbError&) {
                }
                if (!stop_) idle(o.boardFault.empty() ? 1000 : 2000);
                continue;
            }
        }
        if (!held.empty()) {
            auto until = std::chrono::steady_clock::now() + std::chrono::seconds(cfg_.leaseSeconds);
            while (true) {
                try {
                    if (HoldJob(db(), job->id, worker, held))
                        fprintf(stderr, "quellstorm-board: held %s for the host (quellstorm-board admin retry): %s\n",
                                job->id.c_str(), held.c_str());
                    break;
                } catch (const DbError&) {
                    // Not written: the lease runs out and the next claim
                    // finds the tries spent.
                    if (stop_ || std::chrono::steady_clock::now() > until) break;
                    idle(500);
                }
            }
            continue;
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
                if (!e.cause.empty())
                    fprintf(stderr, "quellstorm-board: verifier %d: cannot write the result of %s: %s\n", index,
                            job->id.c_str(), e.cause.c_str());
                if (stop_ || std::chrono::steady_clock::now() > until) break;
                idle(500);
            }
        }
    }
}

}  // namespace board
