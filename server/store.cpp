#include "store.h"

#include <cerrno>
#include <chrono>
#include <cstring>
#include <cmath>
#include <map>
#include <memory>

#include "queries.h"

namespace board {

int64_t NowMs() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
}

std::string WriteErrorCause(int err) {
    switch (err) {
    case ENOSPC: return "the board's disk is full";
    case EDQUOT: return "the board's disk quota is used up";
    case EROFS: return "the board's disk is read-only";
    case EIO: return "the board's disk failed (input/output error)";
    case EACCES:
    case EPERM: return "the board may not write there (permission denied)";
    default: return strerror(err);
    }
}

Databases::Lease Databases::take() {
    {
        std::lock_guard<std::mutex> g(m_);
        while (!idle_.empty()) {
            std::unique_ptr<Db> db = std::move(idle_.back());
            idle_.pop_back();
            if (db->healthy()) return Lease(*this, std::move(db));
        }
    }
    return Lease(*this, open());
}

void Databases::giveBack(std::unique_ptr<Db> db) {
    if (!db->healthy()) return;
    std::lock_guard<std::mutex> g(m_);
    // As many as were busy at once at most, up to a few: the rest close.
    if (idle_.size() < 32) idle_.push_back(std::move(db));
}

void Databases::close() {
    std::lock_guard<std::mutex> g(m_);
    idle_.clear();
}

const char* DifficultyName(int64_t d) {
    static const char* const names[] = {"EASY", "NORMAL", "HARD", "SPECIAL"};
    return d >= 0 && d < 4 ? names[d] : "?";
}

std::string BoardKey(int64_t difficulty, int64_t speedSteps, int64_t startStage) {
    std::string k = "d" + std::to_string(difficulty);
    if (startStage > 1) k += "f" + std::to_string(startStage);
    if (speedSteps > 0) {
        char buf[48];
        snprintf(buf, sizeof buf, "s+%lld.%03lld", (long long)(speedSteps / 1000), (long long)(speedSteps % 1000));
        k += buf;
    }
    return k;
}

std::string BoardTitle(const std::string& key) {
    if (key.size() < 2 || key[0] != 'd') return key;
    std::string t = DifficultyName(key[1] - '0');
    size_t at = 2;
    if (key.size() > 3 && key[2] == 'f') {
        t += ", from stage " + key.substr(3, 1);
        at = 4;
    }
    if (key.size() > at + 1 && key[at] == 's') t += ", speed correction " + key.substr(at + 1);
    return t;
}

namespace {

Opt Int(const Cell& c) {
    if (!c) return std::nullopt;
    return std::stoll(*c);
}
std::string Text(const Cell& c) { return c.value_or(""); }
Param P(const Opt& v) { return v ? Param(*v) : Param::null(); }

Submission FromRow(const Row& r) {
    // The order of SUBMISSION_COLUMNS in queries.cpp.
    Submission s;
    s.id = Text(r[0]);
    s.name = Text(r[1]);
    s.size = Int(r[2]).value_or(0);
    s.created = Int(r[3]).value_or(0);
    s.status = Text(r[4]);
    s.attempts = Int(r[5]).value_or(0);
    s.reason = Text(r[6]);
    s.firstDifference = Int(r[7]);
    s.claimedScore = Int(r[8]);
    s.score = Int(r[9]);
    s.stage = Int(r[10]);
    s.difficulty = Int(r[11]);
    s.lives = Int(r[12]);
    s.bombs = Int(r[13]);
    s.startStage = Int(r[14]);
    s.jewels = Int(r[15]);
    s.ending = Text(r[16]);
    s.frames = Int(r[17]);
    if (r[18]) s.speed = std::stod(*r[18]);
    s.sim = Int(r[19]);
    s.board = Text(r[20]);
    s.gameVersion = Text(r[21]);
    s.played = Text(r[22]);
    s.verifiedAt = Int(r[23]);
    s.misses = Int(r[24]);
    s.bombsUsed = Int(r[25]);
    s.record = Int(r[26]).value_or(0) != 0;
    s.recordOver = Text(r[27]);
    s.removedAt = Int(r[28]);
    s.removedReason = Text(r[29]);
    s.heldAt = Int(r[30]);
    if (r.size() > 32) {
        s.passedName = Text(r[31]);
        s.passedScore = Int(r[32]);
    }
    return s;
}

std::vector<Submission> Rows(const Result& res) {
    std::vector<Submission> out;
    out.reserve(res.rows.size());
    for (const Row& r : res.rows) out.push_back(FromRow(r));
    return out;
}

std::vector<StageEntry> StageRows(const Result& res) {
    std::vector<StageEntry> out;
    for (const Row& r : res.rows) {
        StageEntry e{Text(r[0]), Text(r[1]), "", Int(r[2]).value_or(0), Int(r[3]).value_or(0), 0};
        if (r.size() > 5) {
            e.stage = int(Int(r[4]).value_or(0));
            e.board = Text(r[5]);
        }
        out.push_back(e);
    }
    return out;
}

int64_t Count(const Result& r) { return r.rows.empty() ? 0 : Int(r.rows[0][0]).value_or(0); }

void Log(Db& db, const std::string& act, const std::string& target, const std::string& reason) {
    db.exec(sql::kLog, {NowMs(), act, target, reason.empty() ? Param::null() : Param(reason)});
}

}  // namespace

std::optional<Submission> FindSubmission(Db& db, const std::string& id) {
    Result r = db.exec(sql::kFindSubmission, {id});
    if (r.rows.empty()) return std::nullopt;
    return FromRow(r.rows[0]);
}

SubmitResult Submit(Db& db, const std::string& id, const std::string& name, const std::string& address,
                    const std::string& bytes, Opt claimedScore, int64_t queueMax) {
    return InTransaction(db, [&] {
        if (!db.exec(sql::kFindSubmission, {id}).rows.empty()) return SubmitResult::Existing;
        int64_t waiting = std::stoll(db.exec(sql::kCountWaiting).rows.at(0).at(0).value_or("0"));
        if (waiting >= queueMax) return SubmitResult::QueueFull;
        // The bytes first: a submission row is only ever seen with them.
        db.exec(sql::kInsertReplay, {id, Param::blob(bytes)});
        Result r = db.exec(sql::kInsertSubmission,
                           {id, name, address, int64_t(bytes.size()), NowMs(), P(claimedScore)});
        // Two identical uploads at once: the second finds the first's row.
        return r.affected == 1 ? SubmitResult::Queued : SubmitResult::Existing;
    });
}

std::optional<std::string> ReplayBytes(Db& db, const std::string& id) {
    Result r = db.exec(sql::kReplayBytes, {id});
    if (r.rows.empty() || !r.rows[0][0]) return std::nullopt;
    return *r.rows[0][0];
}

std::optional<std::string> TrackBytes(Db& db, const std::string& id) {
    Result r = db.exec(sql::kTrackBytes, {id});
    if (r.rows.empty() || !r.rows[0][0]) return std::nullopt;
    return *r.rows[0][0];
}

std::optional<Job> ClaimJob(Db& db, const std::string& worker, int64_t leaseMs) {
    int64_t now = NowMs();
    return InTransaction(db, [&]() -> std::optional<Job> {
        Result r = db.exec(sql::ClaimJob(db.dialect()), {worker, now + leaseMs, now});
        if (r.rows.empty()) return std::nullopt;
        return Job{Text(r.rows[0][0]), Int(r.rows[0][1]).value_or(1)};
    });
}

bool FinishJob(Db& db, const std::string& id, const std::string& worker, const Outcome& o) {
    std::string board =
        o.verified && o.difficulty ? BoardKey(*o.difficulty, o.speedSteps.value_or(0), o.startStage.value_or(1)) : "";
    return InTransaction(db, [&] {
        // A new best on its board: higher than every run listed there now.
        bool record = false;
        Param passed = Param::null();
        if (o.verified && o.score) {
            Result best = db.exec(sql::kBestOnBoard, {board, id});
            record = best.rows.empty() || *o.score > Int(best.rows[0][1]).value_or(0);
            if (record && !best.rows.empty()) passed = Text(best.rows[0][0]);
        }
        Result r = db.exec(sql::kFinishJob,
                           {id, worker, o.verified ? "verified" : "rejected", o.reason, P(o.firstDifference),
                            P(o.score), P(o.stage), P(o.difficulty), P(o.lives), P(o.bombs), P(o.startStage),
                            P(o.jewels), o.ending, P(o.frames), o.speed ? Param(*o.speed) : Param::null(), P(o.sim),
                            board.empty() ? Param::null() : Param(board), o.gameVersion, o.played, NowMs(),
                            P(o.misses), P(o.bombsUsed), record ? 1 : 0, passed});
        if (r.affected != 1) return false;
        if (o.verified && !o.track.empty()) db.exec(sql::kInsertTrack, {id, Param::blob(o.track)});
        // Stage numbers count from the first stage played.
        if (o.verified)
            for (size_t i = 0; i < o.stageScores.size(); ++i)
                db.exec(sql::kInsertStageScore,
                        {id, int64_t(o.startStage.value_or(1) + int64_t(i)), board, o.stageScores[i]});
        return true;
    });
}

bool RenewLease(Db& db, const std::string& id, const std::string& worker, int64_t leaseMs) {
    return db.exec(sql::kRenewLease, {id, worker, NowMs() + leaseMs}).affected == 1;
}

void ReleaseJob(Db& db, const std::string& id, const std::string& worker, bool countTry) {
    db.exec(sql::kReleaseJob, {id, worker, countTry ? 0 : 1});
}

bool HoldJob(Db& db, const std::string& id, const std::string& worker, const std::string& cause) {
    return db.exec(sql::kHoldJob, {id, worker, cause, NowMs()}).affected == 1;
}

std::vector<Submission> HeldJobs(Db& db) { return Rows(db.exec(sql::kHeld)); }

std::vector<std::string> RetryHeld(Db& db, const std::string& id) {
    std::vector<std::string> ids;
    InTransaction(db, [&] {
        // The causes first: the retry forgets them.
        std::map<std::string, std::string> causes;
        for (const Submission& s : HeldJobs(db)) causes[s.id] = s.reason;
        for (const Row& r : db.exec(sql::kRetryHeld, {id}).rows) {
            ids.push_back(Text(r[0]));
            Log(db, "retry", ids.back(), "held: " + causes[ids.back()]);
        }
    });
    return ids;
}

int64_t ForgetRejectedBytes(Db& db, int64_t beforeMs) {
    return db.exec(sql::kForgetRejectedBytes, {beforeMs}).affected;
}

int64_t RankOf(Db& db, const Submission& s) {
    if (!s.listed() || !s.score) return 0;
    return Count(db.exec(sql::kRank, {s.board, *s.score, s.verifiedAt.value_or(0), s.id, s.name}));
}

std::vector<std::string> Boards(Db& db) {
    std::vector<std::string> out;
    for (const Row& r : db.exec(sql::kBoards).rows) out.push_back(Text(r[0]));
    return out;
}

namespace {
std::vector<Param> Filters(const BoardQuery& q) {
    return {q.board, q.noMiss ? 1 : 0, q.noBomb ? 1 : 0, q.clear ? 1 : 0};
}
}  // namespace

std::vector<Submission> BoardRuns(Db& db, const BoardQuery& q, int64_t limit, int64_t offset) {
    std::vector<Param> p = Filters(q);
    p.push_back(limit);
    p.push_back(offset);
    return Rows(db.exec(q.all ? sql::kBoardAll : sql::kBoardBest, p));
}

std::vector<StageEntry> StageRuns(Db& db, const BoardQuery& q, int64_t limit, int64_t offset) {
    return StageRows(db.exec(sql::kStageBoard, {q.board, q.stage, q.all ? 1 : 0, limit, offset}));
}

int64_t BoardCount(Db& db, const BoardQuery& q) {
    if (q.stage) return Count(db.exec(sql::kStageBoardCount, {q.board, q.stage, q.all ? 1 : 0}));
    return Count(db.exec(q.all ? sql::kBoardAllCount : sql::kBoardBestCount, Filters(q)));
}

std::vector<Submission> LatestRuns(Db& db, int64_t limit) { return Rows(db.exec(sql::kLatest, {limit})); }
std::vector<Submission> PlayerBests(Db& db, const std::string& name) {
    return Rows(db.exec(sql::kPlayerBests, {name}));
}
std::vector<Submission> PlayerLatest(Db& db, const std::string& name, int64_t limit) {
    return Rows(db.exec(sql::kPlayerLatest, {name, limit}));
}
std::vector<StageEntry> PlayerStageBests(Db& db, const std::string& name) {
    return StageRows(db.exec(sql::kPlayerStageBests, {name}));
}
std::vector<Submission> Records(Db& db, int64_t limit) { return Rows(db.exec(sql::kRecords, {limit})); }
std::vector<Submission> PlayerFeed(Db& db, const std::string& name, int64_t limit) {
    return Rows(db.exec(sql::kPlayerFeed, {name, name, limit}));
}
int64_t QueuedAhead(Db& db, const Submission& s) { return Count(db.exec(sql::kQueuedAhead, {s.created, s.id})); }

bool RemoveEntry(Db& db, const std::string& id, const std::string& reason) {
    return InTransaction(db, [&] {
        if (db.exec(sql::kRemove, {id, NowMs(), reason}).affected != 1) return false;
        Log(db, "remove", id, reason);
        return true;
    });
}

bool RestoreEntry(Db& db, const std::string& id) {
    return InTransaction(db, [&] {
        if (db.exec(sql::kRestore, {id}).affected != 1) return false;
        Log(db, "restore", id, "");
        return true;
    });
}

void Block(Db& db, const std::string& kind, const std::string& value, const std::string& reason) {
    InTransaction(db, [&] {
        db.exec(sql::kBlock, {kind, value, reason, NowMs()});
        Log(db, "block " + kind, value, reason);
    });
}

bool Unblock(Db& db, const std::string& kind, const std::string& value) {
    return InTransaction(db, [&] {
        if (db.exec(sql::kUnblock, {kind, value}).affected < 1) return false;
        Log(db, "unblock " + kind, value, "");
        return true;
    });
}

std::optional<BlockRow> BlockOf(Db& db, const std::string& name, const std::string& address) {
    Result r = db.exec(sql::kBlockOf, {name, address});
    if (r.rows.empty()) return std::nullopt;
    return BlockRow{Text(r.rows[0][0]), Text(r.rows[0][1]), Text(r.rows[0][2]), 0};
}

std::vector<BlockRow> Blocks(Db& db) {
    std::vector<BlockRow> out;
    for (const Row& r : db.exec(sql::kBlocks).rows)
        out.push_back({Text(r[0]), Text(r[1]), Text(r[2]), Int(r[3]).value_or(0)});
    return out;
}

std::vector<Submission> RemovedEntries(Db& db) {
    std::vector<Submission> out;
    for (const Row& r : db.exec(sql::kRemoved).rows) {
        Submission s;
        s.id = Text(r[0]);
        s.name = Text(r[1]);
        s.score = Int(r[2]);
        s.removedAt = Int(r[3]);
        s.removedReason = Text(r[4]);
        out.push_back(s);
    }
    return out;
}

std::vector<LogRow> ModerationLog(Db& db) {
    std::vector<LogRow> out;
    for (const Row& r : db.exec(sql::kLogList).rows) out.push_back({Int(r[0]).value_or(0), Text(r[1]), Text(r[2]), Text(r[3])});
    return out;
}

std::vector<std::pair<int, int64_t>> StageScoresOf(Db& db, const std::string& id) {
    std::vector<std::pair<int, int64_t>> out;
    for (const Row& r : db.exec(sql::kStageScoresOf, {id}).rows)
        out.emplace_back(int(Int(r[0]).value_or(0)), Int(r[1]).value_or(0));
    return out;
}

std::vector<std::pair<std::string, int64_t>> StatusCounts(Db& db) {
    std::vector<std::pair<std::string, int64_t>> out;
    for (const Row& r : db.exec(sql::kStatusCounts).rows) out.emplace_back(Text(r[0]), Int(r[1]).value_or(0));
    return out;
}

}  // namespace board
