// Verifiers: each claims a queued submission from the database and
// re-plays it with the game's own program in a process of its own, under a
// time and memory limit, so that a hostile file can at worst fail its own
// job. Only what the simulation reached is ranked.
#pragma once
#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "config.h"
#include "store.h"

namespace board {

// Re-plays `bytes` with the game and reads its result. `stop` ends the
// game early (the outcome's reason is then empty and verified false), and
// so does `keep` returning false; it is called about every `keepEveryMs`
// while the game runs.
Outcome VerifyReplay(const Config& cfg, const std::string& bytes, const std::atomic<bool>& stop,
                     double* seconds = nullptr, const std::function<bool()>& keep = {}, int keepEveryMs = 1000);

// Runs `game --version` in the sandbox, as a job would: true when it
// answers; `said` holds its answer and the sandbox's own line (what the
// host could give), or why it failed.
bool CheckGame(const Config& cfg, std::string& said);

// Removes the job folders that verifiers of processes no longer running
// left behind (killed mid-job); their count.
int SweepJobFolders();

// Turns the game's result (its exit status and its result file) into what
// the board ranks or refuses.
Outcome JudgeResult(int exitStatus, const std::string& resultJson);

class Verifiers {
public:
    Verifiers(const Config& cfg, Databases& dbs) : cfg_(cfg), dbs_(dbs) {}
    ~Verifiers() { stop(); }
    void start(int count);
    void stop();
    // A new submission is waiting: wakes an idle verifier now rather than
    // at its next look at the queue.
    void wake();

private:
    void loop(int index);
    const Config& cfg_;
    Databases& dbs_;
    std::vector<std::thread> threads_;
    std::atomic<bool> stop_{false};
    std::mutex m_;
    std::condition_variable cv_;
    unsigned pending_ = 0;
};

}  // namespace board
