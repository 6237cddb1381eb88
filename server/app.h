// What the route files share: the application (its settings, database,
// boards' copies, limits and verifiers) and the answers every route gives
// the same way.
#pragma once
#include <chrono>
#include <condition_variable>
#include <functional>
#include <list>
#include <map>
#include <memory>
#include <mutex>
#include <nlohmann/json.hpp>
#include <string>
#include <thread>
#include <unordered_map>

#include "config.h"
#include "http.h"
#include "store.h"
#include "verifier.h"

namespace board {

using json = nlohmann::json;

// Per-client token buckets: `burst` at once, refilled at `perMinute`. An
// IPv6 client is its /64. The table holds `capacity` clients at most; past
// it the one unseen longest is forgotten.
class RateLimiter {
public:
    RateLimiter(int64_t perMinute, int64_t burst, size_t capacity = 100000)
        : perMinute_(perMinute), burst_(burst), capacity_(capacity) {}
    // 0 when allowed; otherwise the seconds to wait.
    int take(const std::string& address);

private:
    struct Bucket {
        std::string key;
        double tokens;
        std::chrono::steady_clock::time_point last;
    };
    int64_t perMinute_, burst_;
    size_t capacity_;
    std::mutex m_;
    std::list<Bucket> recent_;  // most recently seen first
    std::unordered_map<std::string, std::list<Bucket>::iterator> buckets_;
};

// The boards change only when a verification ends, anywhere: their page
// and JSON are made at most once a second and shared by every reader.
// A thread of its own remakes the copies readers keep asking for, on one
// connection of its own.
class Copies {
public:
    explicit Copies(Databases& dbs) : dbs_(dbs) {}
    ~Copies() { stop(); }
    void start();
    void stop();
    // The copy under `key`, made by `make` (which must stay callable until
    // stop()) when there is none or it is older than a second.
    std::shared_ptr<const std::string> get(const std::string& key, const std::function<std::string(Db&)>& make);
    // Whether there is a copy under `key` (a page that exists: the caller
    // checks others itself before it asks for a copy, so that addresses
    // made up by the thousand neither fill this table nor queue on the
    // copies' one connection). Copies unread for minutes are dropped.
    bool has(const std::string& key);

private:
    struct Copy {
        std::chrono::steady_clock::time_point made, lastRead;
        std::shared_ptr<const std::string> body;
        std::function<std::string(Db&)> make;
        bool making = false;
    };
    void remake(Copy& c, std::unique_lock<std::mutex>& l);
    void loop();
    Databases& dbs_;
    std::mutex m_;
    std::condition_variable changed_;
    std::map<std::string, Copy> copies_;
    std::thread remaker_;
    bool stop_ = false;
    std::mutex makerM_;
    std::unique_ptr<Db> makerDb_;  // used by one maker at a time (makerM_)
};

// The board: what `serve` and `worker` run, owned in one place and
// started and stopped in order.
class App {
public:
    explicit App(const Config& cfg);
    ~App() { stop(); }
    // Starts `verifierCount` verifiers and the boards' copies.
    void start(int verifierCount);
    void stop();

    const Config& cfg;
    Databases dbs;
    Copies copies;
    RateLimiter submits;
    http::HttpLimits limits;
    http::Peers peers;
    Verifiers verifierPool;
    Verifiers* verifiers = nullptr;  // null when this program verifies nothing

    // A database connection for the length of a request.
    Databases::Lease db() { return dbs.take(); }
    // A board's copy (see Copies).
    std::shared_ptr<const std::string> cached(const std::string& key, const std::function<std::string(Db&)>& make) {
        return copies.get(key, make);
    }

private:
    // Once an hour: the bytes of files rejected long ago deleted.
    void housekeeping();
    std::thread housekeeper_;
    std::mutex houseM_;
    std::condition_variable houseCv_;
    bool houseStop_ = false;
};

void AddApiRoutes(http::Router& svr, App& app);
void AddPageRoutes(http::Router& svr, App& app);
void AddPlayRoutes(http::Router& svr, App& app);
void AddFeedRoutes(http::Router& svr, App& app);
// quellstorm-board admin ...: the host's acts on the database (admin.cpp).
int Admin(const Config& cfg);

// A refusal: the status and a JSON body saying why.
void SendError(http::Response& res, int status, const std::string& why);
std::string Html(const std::string& text);     // escaped for HTML text and attributes
std::string UrlPart(const std::string& text);  // percent-encoded for a URL
bool ValidId(const std::string& id);
// A player's name: 1 to 24 printable characters (UTF-8).
bool ValidName(const std::string& name, std::string& why);

// Checks and queues an uploaded replay (the API and the form share it).
struct Accepted {
    int status = 0;  // 200 existing, 202 queued, or the refusal's status
    std::string id, error;
    int retryAfter = 0;
};
Accepted AcceptSubmission(App& app, const std::string& address, const std::string& name, const std::string& bytes);

json OptJson(const Opt& v);
json SubmissionJson(Db& db, const Submission& s);
json EntryJson(Db& db, const Submission& s);
std::string FormatScore(int64_t v);
std::string FormatLength(int64_t frames);
std::string FormatTime(int64_t ms);
std::string FormatDate(int64_t ms);      // 2026-12-08
std::string IsoTime(int64_t ms);         // 2026-12-08T10:05:00Z

// The lists (listing.cpp): the boards, one board's pages, a player's.
constexpr int64_t kPageSize = 50;       // rows on a page of a board
constexpr int64_t kLatestCount = 20;    // latest verified runs on the front page
// The conditions a run met, read from what its playback counted:
// "no-miss" (no ship lost), "no-bomb" (no bomb used), "clear" (the staff roll).
std::vector<std::string> Tags(const Submission& s);
// A board's view from a request's query (all=1, page=N, nomiss=1,
// nobomb=1, clear=1, stage=N); false with the reason on a bad value.
bool ParseBoardQuery(const std::string& board, const std::function<std::string(const char*)>& param, BoardQuery& q,
                     std::string& why);
// The view's address with another page (or filters off: "" for the key).
std::string BoardHref(const BoardQuery& q, int64_t page);
bool ValidBoardKey(const std::string& key);
json RunJson(const Submission& s, int64_t rank);
json BoardsJson(Db& db, const Config& cfg);
// Null when there is no such board or page.
json BoardJson(Db& db, const BoardQuery& q);
bool BoardPageExists(Db& db, const BoardQuery& q, int64_t* rows = nullptr);
bool PlayerExists(Db& db, const std::string& name);
// Null when the name has never submitted.
json PlayerJson(Db& db, const std::string& name);

}  // namespace board
