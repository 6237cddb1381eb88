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

std::string BoardKey(int64_t difficulty, double speed) {
    std::string k = "d" + std::to_string(difficulty);
    if (speed != 0) {
        char buf[32];
        snprintf(buf, sizeof buf, "s%+.3f", speed);
        k += buf;
    }
    return k;
}

std::string BoardTitle(const std::string& key) {
    if (key.size() < 2 || key[0] != 'd') return key;
    std::string t = DifficultyName(key[1] - '0');
    if (key.size() > 3 && key[2] == 's') t += ", speed correction " + key.substr(3);
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
    return s;
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
    std::string board = o.verified && o.difficulty ? BoardKey(*o.difficulty, o.speed.value_or(0)) : "";
    return InTransaction(db, [&] {
        Result r = db.exec(sql::kFinishJob,
                           {id, worker, o.verified ? "verified" : "rejected", o.reason, P(o.firstDifference),
                            P(o.score), P(o.stage), P(o.difficulty), P(o.lives), P(o.bombs), P(o.startStage),
                            P(o.jewels), o.ending, P(o.frames), o.speed ? Param(*o.speed) : Param::null(), P(o.sim),
                            board.empty() ? Param::null() : Param(board), o.gameVersion, o.played, NowMs()});
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

int64_t ForgetRejectedBytes(Db& db, int64_t beforeMs) {
    return db.exec(sql::kForgetRejectedBytes, {beforeMs}).affected;
}

int64_t RankOf(Db& db, const Submission& s) {
    if (s.status != "verified" || !s.score) return 0;
    Result r = db.exec(sql::kRank, {s.board, *s.score, s.verifiedAt.value_or(0), s.id});
    return Int(r.rows.at(0).at(0)).value_or(0);
}

std::vector<std::string> Boards(Db& db) {
    std::vector<std::string> out;
    for (const Row& r : db.exec(sql::kBoards).rows) out.push_back(Text(r[0]));
    return out;
}

std::vector<Submission> BoardEntries(Db& db, const std::string& board, int64_t limit) {
    std::vector<Submission> out;
    for (const Row& r : db.exec(sql::kBoardEntries, {board, limit}).rows) out.push_back(FromRow(r));
    return out;
}

std::vector<StageEntry> StageBoard(Db& db, const std::string& board, int stage, int64_t limit) {
    std::vector<StageEntry> out;
    for (const Row& r : db.exec(sql::kStageBoard, {board, stage, limit}).rows)
        out.push_back({Text(r[0]), Text(r[1]), Int(r[2]).value_or(0)});
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
