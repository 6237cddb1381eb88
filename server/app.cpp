#include "app.h"

#include "text/text.h"

#include <openssl/evp.h>

#include <cctype>
#include <ctime>
#include <map>
#include <set>
#include <sstream>
#include <vector>
#include <thread>

namespace board {

int RateLimiter::take(const std::string& address) {
    if (perMinute_ <= 0) return 0;
    auto now = std::chrono::steady_clock::now();
    std::string key = http::Peers::bucket(address);
    std::lock_guard<std::mutex> g(m_);
    auto found = buckets_.find(key);
    if (found == buckets_.end()) {
        if (buckets_.size() >= capacity_) {
            // A flood of addresses: the one unseen longest goes (it had
            // long refilled anyway, or soon would have).
            buckets_.erase(recent_.back().key);
            recent_.pop_back();
        }
        recent_.push_front(Bucket{key, double(burst_), now});
        found = buckets_.emplace(key, recent_.begin()).first;
    } else {
        recent_.splice(recent_.begin(), recent_, found->second);
    }
    Bucket& b = *found->second;
    double rate = double(perMinute_) / 60.0;
    b.tokens = std::min(double(burst_), b.tokens + std::chrono::duration<double>(now - b.last).count() * rate);
    b.last = now;
    if (b.tokens >= 1) {
        b.tokens -= 1;
        return 0;
    }
    return int((1 - b.tokens) / rate) + 1;
}

// The copies. The remaker remakes each one that readers keep asking for
// before it is a second old, so under a steady load no reader's thread
// waits for the database: on PostgreSQL, where a remaking is several round
// trips between processes, readers that did were kept waiting for hundreds
// of milliseconds. When reads are sparse the reader that finds its copy old
// remakes it itself, so a copy served is never older than about a second
// either way.
void Copies::remake(Copy& c, std::unique_lock<std::mutex>& l) {
    c.making = true;
    auto started = std::chrono::steady_clock::now();
    std::function<std::string(Db&)> make = c.make;
    l.unlock();
    std::shared_ptr<const std::string> body;
    try {
        std::lock_guard<std::mutex> g(makerM_);
        if (!makerDb_ || !makerDb_->healthy()) {
            makerDb_.reset();
            makerDb_ = dbs_.open();
        }
        body = std::make_shared<const std::string>(make(*makerDb_));
    } catch (...) {
        l.lock();
        c.making = false;
        changed_.notify_all();
        throw;
    }
    l.lock();
    c.body = body;
    c.made = started;
    c.making = false;
    changed_.notify_all();
}

void Copies::loop() {
    std::unique_lock<std::mutex> l(m_);
    while (!stop_) {
        changed_.wait_for(l, std::chrono::milliseconds(100));
        auto now = std::chrono::steady_clock::now();
        for (auto& [key, c] : copies_) {
            if (stop_) break;
            bool wanted = now - c.lastRead < std::chrono::seconds(2);
            if (c.body && !c.making && wanted && now - c.made >= std::chrono::milliseconds(700)) {
                try {
                    remake(c, l);
                } catch (...) {
                    // The database is away: the readers' own remaking says so.
                }
            }
        }
        for (auto it = copies_.begin(); it != copies_.end();) {
            if (!it->second.making && now - it->second.lastRead > std::chrono::minutes(5)) it = copies_.erase(it);
            else ++it;
        }
    }
}

bool Copies::has(const std::string& key) {
    std::lock_guard<std::mutex> g(m_);
    return copies_.count(key) > 0;
}

void Copies::start() {
    std::lock_guard<std::mutex> g(m_);
    stop_ = false;
    if (!remaker_.joinable()) remaker_ = std::thread([this] { loop(); });
}

void Copies::stop() {
    {
        std::lock_guard<std::mutex> g(m_);
        stop_ = true;
    }
    changed_.notify_all();
    if (remaker_.joinable()) remaker_.join();
    std::lock_guard<std::mutex> g(makerM_);
    makerDb_.reset();
}

std::shared_ptr<const std::string> Copies::get(const std::string& key, const std::function<std::string(Db&)>& make) {
    std::unique_lock<std::mutex> l(m_);
    Copy& c = copies_[key];
    if (!c.make) c.make = make;
    for (;;) {
        auto now = std::chrono::steady_clock::now();
        c.lastRead = now;
        if (c.body && (c.making || now - c.made < std::chrono::seconds(1))) return c.body;
        if (!c.making) break;
        changed_.wait(l);  // the first copy is being made (or its maker failed: then make it here)
    }
    remake(c, l);
    return c.body;
}

App::App(const Config& c)
    : cfg(c), dbs(c.db), copies(dbs), submits(c.submitPerMinute, c.submitBurst), verifierPool(c, dbs) {
    limits.requestSeconds = cfg.requestSeconds;
    limits.maxBodyBytes = cfg.maxUploadKb * 1024;
    // Bodies held at once: a few of the largest, and at least 32 MB (eight
    // of the default's largest). Uploads past it wait their turn (503).
    limits.bodiesInMemory = std::max<int64_t>(limits.maxBodyBytes * 4, int64_t(32) << 20);
    limits.maxConnections = cfg.maxConnections;
    limits.perAddress = cfg.perAddress;
    limits.backlog = cfg.backlog;
    limits.threads = cfg.httpThreads;
    for (const std::string& p : cfg.trustedProxies) peers.trust(p);  // checked when the settings were read
}

void App::housekeeping() {
    std::unique_lock<std::mutex> l(houseM_);
    while (!houseStop_) {
        l.unlock();
        try {
            int64_t before = NowMs() - cfg.keepRejectedDays * 86400 * 1000;
            if (int64_t n = ForgetRejectedBytes(*dbs.take(), before))
                fprintf(stderr, "quellstorm-board: deleted the bytes of %lld file%s rejected over %lld days ago\n",
                        (long long)n, n == 1 ? "" : "s", (long long)cfg.keepRejectedDays);
        } catch (const DbError& e) {
            fprintf(stderr, "quellstorm-board: cannot delete old rejected files now: %s\n", e.what());
        }
        l.lock();
        houseCv_.wait_for(l, std::chrono::hours(1), [this] { return houseStop_; });
    }
}

void App::start(int verifierCount) {
    if (cfg.keepRejectedDays > 0 && !housekeeper_.joinable()) {
        houseStop_ = false;
        housekeeper_ = std::thread([this] { housekeeping(); });
    }
    copies.start();
    if (verifierCount > 0) {
        verifierPool.start(verifierCount);
        verifiers = &verifierPool;
    }
}

void App::stop() {
    {
        std::lock_guard<std::mutex> g(houseM_);
        houseStop_ = true;
    }
    houseCv_.notify_all();
    if (housekeeper_.joinable()) housekeeper_.join();
    copies.stop();
    verifierPool.stop();
    dbs.close();
}

void SendError(http::Response& res, int status, const std::string& why) {
    res.status = status;
    res.set_content(json{{"error", why}}.dump(), "application/json");
}

std::string Html(const std::string& t) {
    std::string o;
    o.reserve(t.size());
    for (char c : t) {
        switch (c) {
        case '&': o += "&amp;"; break;
        case '<': o += "&lt;"; break;
        case '>': o += "&gt;"; break;
        case '"': o += "&quot;"; break;
        case '\'': o += "&#39;"; break;
        default: o += c;
        }
    }
    return o;
}

std::string UrlPart(const std::string& t) { return Text_UrlEncode(t); }

bool ValidId(const std::string& id) {
    if (id.size() != 32) return false;
    for (char c : id)
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'))) return false;
    return true;
}

bool ValidName(const std::string& name, std::string& why) {
    switch (Text_CheckName(name.data(), name.size())) {
    case TEXT_NAME_OK: return true;
    case TEXT_NAME_NOT_UTF8: why = "the name is not valid UTF-8 text"; break;
    case TEXT_NAME_CONTROL: why = "the name holds a control character: use printable characters only"; break;
    case TEXT_NAME_INVISIBLE:
        // Invisible characters would let two names look the same, and a
        // direction override would turn the boards' text around it.
        why = "the name holds an invisible formatting character (such as a zero-width space or a direction "
              "override): use printable characters only";
        break;
    case TEXT_NAME_NOTHING: why = "a name is needed (1 to 24 printable characters)"; break;
    case TEXT_NAME_TOO_LONG: why = "the name is longer than 24 characters"; break;
    }
    return false;
}

namespace {

std::string Sha256Id(const std::string& bytes) {
    unsigned char md[EVP_MAX_MD_SIZE];
    unsigned int n = 0;
    EVP_Digest(bytes.data(), bytes.size(), md, &n, EVP_sha256(), nullptr);
    static const char hex[] = "0123456789abcdef";
    std::string id;
    for (unsigned i = 0; i < 16; ++i) {
        id += hex[md[i] >> 4];
        id += hex[md[i] & 15];
    }
    return id;
}

// A run is its start and its inputs, not the file's bytes: the lines that
// only describe the game (date, score, stage, staff roll, frames) and keys
// the game does not read are left out, each header key counts once (the
// game reads the last), numbers are taken as numbers ("007" is 7, "0A" is
// "a"), line ends and spacing do not count. The same run sent again under
// another name, re-dated or re-scored, is the same submission.
std::string RunText(const std::string& b) {
    static const std::set<std::string> kRead = {
        "sim", "difficulty", "lives", "bombs", "start-stage", "stage-option", "invincible", "speed", "speed-steps",
        "random", "clock", "paused", "keys", "pad", "joystick", "record-hiscore", "record-plays", "record-deaths",
        "record-clears", "practice", "parent", "taken-at", "state", "dat"};
    // A token as a number when it is one: sign, leading zeros and case aside.
    auto number = [](std::string t) {
        bool neg = false;
        if (!t.empty() && (t[0] == '+' || t[0] == '-')) {
            neg = t[0] == '-';
            t.erase(0, 1);
        }
        if (t.empty() || t.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos) return std::string();
        for (char& c : t) c = char(std::tolower((unsigned char)c));
        size_t nz = t.find_first_not_of('0');
        t = nz == std::string::npos ? "0" : t.substr(nz);
        return (neg && t != "0" ? "-" : "") + t;
    };
    std::map<std::string, std::string> header;
    std::string events, format;
    size_t pos = 0;
    bool first = true;
    while (pos < b.size()) {
        size_t eol = b.find('\n', pos);
        if (eol == std::string::npos) eol = b.size();
        std::istringstream line(b.substr(pos, eol - pos));
        pos = eol + 1;
        std::vector<std::string> tokens;
        for (std::string t; line >> t;) tokens.push_back(t);
        if (tokens.empty()) continue;
        if (first) {
            format = tokens.size() > 1 ? number(tokens[1]) : "";
            first = false;
            continue;
        }
        bool event = std::isdigit((unsigned char)tokens[0][0]) != 0;
        if (!event && tokens[0] != "end" && !kRead.count(tokens[0])) continue;
        std::string out;
        for (size_t i = event ? 0 : 1; i < tokens.size(); ++i) {
            std::string n = number(tokens[i]);
            out += (out.empty() ? "" : " ") + (n.empty() ? tokens[i] : n);
        }
        if (event) events += out + "\n";
        else if (tokens[0] == "end") events += "end " + out + "\n";
        else header[tokens[0]] = out;
    }
    std::string run = "QSREPLAY " + format + "\n";
    for (const auto& kv : header) run += kv.first + " " + kv.second + "\n";
    return run + events;
}

// A quick look at the file before it takes a place in the queue: a replay
// is text that begins with its format line and, when its game was played
// to the end, closes with its end line. The full check is the re-play.
std::string QuickCheck(const std::string& b, Opt& claimedScore) {
    if (b.empty()) return "the body is empty: send the replay file's bytes";
    if (b.rfind("QSREPLAY ", 0) != 0) return "this is not a QUELLSTORM replay (it does not begin with \"QSREPLAY\")";
    if (b.find('\0') != std::string::npos) return "this is not a QUELLSTORM replay (it holds binary bytes)";
    size_t end = b.find_last_not_of("\r\n");
    size_t lineStart = b.rfind('\n', end);
    lineStart = lineStart == std::string::npos ? 0 : lineStart + 1;
    if (b.compare(lineStart, 4, "end ") != 0)
        return "the replay is cut short (it has no end line): only finished games are ranked";
    // The score the header claims, kept beside the one the game computes.
    size_t p = b.find("\nscore ");
    size_t header = b.find("\ndat ");
    if (p != std::string::npos && (header == std::string::npos || p < header)) {
        char* e = nullptr;
        long long v = strtoll(b.c_str() + p + 7, &e, 10);
        if (e && (*e == '\n' || *e == '\r')) claimedScore = v;
    }
    return "";
}

}  // namespace

Accepted AcceptSubmission(App& app, const std::string& address, const std::string& name, const std::string& bytes) {
    Accepted a;
    std::string why;
    if (!ValidName(name, why)) {
        a.status = 400;
        a.error = why;
        return a;
    }
    if (auto block = BlockOf(app.db(), name, address)) {
        a.status = 403;
        a.error = (block->kind == "name" ? "the name \"" + block->value + "\" is" : std::string("this address is")) +
                  " blocked from submitting by the board's host: " + block->reason;
        return a;
    }
    Opt claimed;
    why = QuickCheck(bytes, claimed);
    if (!why.empty()) {
        a.status = 400;
        a.error = why;
        return a;
    }
    if (int wait = app.submits.take(address)) {
        a.status = 429;
        a.error = "too many submissions from this address: try again in " + std::to_string(wait) + " s";
        a.retryAfter = wait;
        return a;
    }
    a.id = Sha256Id(RunText(bytes));
    switch (Submit(app.db(), a.id, name, address, bytes, claimed, app.cfg.queueMax)) {
    case SubmitResult::Queued:
        a.status = 202;
        if (app.verifiers) app.verifiers->wake();
        break;
    case SubmitResult::Existing: a.status = 200; break;
    case SubmitResult::QueueFull:
        a.status = 503;
        a.error = "the verification queue is full: try again in a minute";
        a.retryAfter = 60;
        break;
    }
    return a;
}

std::string FormatScore(int64_t v) { return std::to_string(v); }

std::string FormatLength(int64_t frames) {
    // Play runs at 250 frames a second.
    int64_t s = frames / 250;
    char buf[32];
    snprintf(buf, sizeof buf, "%lld:%02lld", (long long)(s / 60), (long long)(s % 60));
    return buf;
}

static std::string UtcTime(int64_t ms, const char* format) {
    time_t t = time_t(ms / 1000);
    struct tm tm;
    gmtime_r(&t, &tm);
    char buf[32];
    strftime(buf, sizeof buf, format, &tm);
    return buf;
}

std::string FormatTime(int64_t ms) { return UtcTime(ms, "%Y-%m-%d %H:%M UTC"); }

std::string FormatDate(int64_t ms) { return FormatTime(ms).substr(0, 10); }

std::string IsoTime(int64_t ms) { return UtcTime(ms, "%Y-%m-%dT%H:%M:%SZ"); }

json OptJson(const Opt& v) { return v ? json(*v) : json(nullptr); }

json SubmissionJson(Db& db, const Submission& s) {
    // A removed entry is no longer ranked; the host's reason says why.
    std::string status = s.removedAt ? "removed" : s.status;
    bool verified = status == "verified";
    json j = {{"id", s.id},
              {"name", s.name},
              {"status", status},
              {"score", verified ? OptJson(s.score) : json(nullptr)},
              {"rank", verified ? json(RankOf(db, s)) : json(nullptr)},
              {"board", verified ? json(s.board) : json(nullptr)},
              {"board_title", verified ? json(BoardTitle(s.board)) : json(nullptr)},
              {"start_stage", OptJson(s.startStage)},
              {"entry", "/entry/" + s.id},
              {"reason", status == "rejected" || status == "held" ? json(s.reason)
                         : s.removedAt ? json("removed by the board's host: " + s.removedReason)
                                       : json(nullptr)}};
    if (s.removedAt) j["removed_at"] = *s.removedAt;
    if (status == "held" && s.heldAt) j["held_at"] = *s.heldAt;
    if (s.firstDifference) j["first_difference_frame"] = *s.firstDifference;
    return j;
}

json EntryJson(Db& db, const Submission& s) {
    json j = SubmissionJson(db, s);
    j["submitted"] = s.created;
    j["size"] = s.size;
    j["claimed_score"] = OptJson(s.claimedScore);
    j["replay"] = "/api/replays/" + s.id;
    j["watch"] = "/play/#replay=/api/replays/" + s.id;
    if (s.status == "verified") {
        j["player"] = "/player/" + UrlPart(s.name);
        j["difficulty"] = OptJson(s.difficulty);
        j["stage"] = OptJson(s.stage);
        j["lives"] = OptJson(s.lives);
        j["bombs"] = OptJson(s.bombs);
        j["jewels"] = OptJson(s.jewels);
        j["ending"] = s.ending;
        j["staff_roll"] = s.ending == "staffroll";
        j["frames"] = OptJson(s.frames);
        j["misses"] = OptJson(s.misses);
        j["bombs_used"] = OptJson(s.bombsUsed);
        j["tags"] = Tags(s);
        j["record"] = s.record;
        j["speed"] = s.speed ? json(*s.speed) : json(nullptr);
        j["sim"] = OptJson(s.sim);
        j["game"] = s.gameVersion;
        j["played"] = s.played;
        j["verified_at"] = OptJson(s.verifiedAt);
        json stages = json::array();
        for (auto& [stage, score] : StageScoresOf(db, s.id)) stages.push_back({{"stage", stage}, {"score", score}});
        j["stage_scores"] = stages;
    }
    return j;
}

}  // namespace board
