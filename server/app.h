// What the route files share: the settings, the verifiers to wake, the
// per-address limits, and the answers every route gives the same way.
#pragma once
#include <httplib.h>

#include <chrono>
#include <condition_variable>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <nlohmann/json.hpp>
#include <string>

#include "config.h"
#include "store.h"
#include "verifier.h"

namespace board {

using json = nlohmann::json;

// Per-address token buckets: `burst` at once, refilled at `perMinute`.
class RateLimiter {
public:
    RateLimiter(int64_t perMinute, int64_t burst) : perMinute_(perMinute), burst_(burst) {}
    // 0 when allowed; otherwise the seconds to wait.
    int take(const std::string& address);

private:
    struct Bucket {
        double tokens;
        std::chrono::steady_clock::time_point last;
    };
    int64_t perMinute_, burst_;
    std::mutex m_;
    std::map<std::string, Bucket> buckets_;
};

struct App {
    const Config& cfg;
    Verifiers* verifiers;  // null when this program verifies nothing
    RateLimiter submits;
};

void AddApiRoutes(httplib::Server& svr, App& app);
void AddPageRoutes(httplib::Server& svr, App& app);
void AddPlayRoutes(httplib::Server& svr, App& app);
void AddFeedRoutes(httplib::Server& svr, App& app);

// A refusal: the status and a JSON body saying why.
void SendError(httplib::Response& res, int status, const std::string& why);
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

// The boards change only when a verification ends, anywhere: their page
// and JSON are made at most once a second and shared by every reader.
// `make` is given the connection the copies are made on; it must stay
// callable until StopCopies() (the server calls it when it stops).
std::shared_ptr<const std::string> Cached(const std::string& key, const std::string& url,
                                          const std::function<std::string(Db&)>& make);
void StopCopies();

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
// Null when the name has never submitted.
json PlayerJson(Db& db, const std::string& name);

}  // namespace board
