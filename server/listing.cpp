// The lists a community reads: the boards at a glance, one board page by
// page (each player's best or every run, filtered by what the runs met),
// a player's bests and latest runs. The JSON here; the pages build on it.
#include <cctype>
#include <cstdlib>

#include "app.h"

namespace board {

std::vector<std::string> Tags(const Submission& s) {
    std::vector<std::string> t;
    if (s.misses && *s.misses == 0) t.push_back("no-miss");
    if (s.bombsUsed && *s.bombsUsed == 0) t.push_back("no-bomb");
    if (s.ending == "staffroll") t.push_back("clear");
    return t;
}

bool ValidBoardKey(const std::string& key) {
    // As BoardKey writes them (d1, d1s+0.010, and whatever a board of its
    // own is named by): short, plain characters that need no escaping.
    if (key.empty() || key.size() > 32) return false;
    for (char c : key)
        if (!isalnum((unsigned char)c) && c != '+' && c != '-' && c != '.' && c != '_') return false;
    return true;
}

bool ParseBoardQuery(const std::string& board, const std::function<std::string(const char*)>& param, BoardQuery& q,
                     std::string& why) {
    q.board = board;
    if (!ValidBoardKey(board)) {
        why = "no board \"" + board + "\"";
        return false;
    }
    auto flag = [&](const char* name, bool& out) {
        std::string v = param(name);
        if (v.empty() || v == "0") return true;
        if (v == "1" || v == "on") return out = true;
        why = std::string(name) + " is 1 or 0";
        return false;
    };
    auto number = [&](const char* name, int64_t lo, int64_t hi, int64_t& out) {
        std::string v = param(name);
        if (v.empty()) return true;
        char* end = nullptr;
        long long n = strtoll(v.c_str(), &end, 10);
        if (*end || v.size() > 9 || n < lo || n > hi) {
            why = std::string(name) + " is a whole number from " + std::to_string(lo) + " to " + std::to_string(hi);
            return false;
        }
        out = n;
        return true;
    };
    int64_t stage = 0;
    if (!flag("all", q.all) || !flag("nomiss", q.noMiss) || !flag("nobomb", q.noBomb) || !flag("clear", q.clear) ||
        !number("page", 1, 1000000, q.page) || !number("stage", 1, 5, stage))
        return false;
    q.stage = int(stage);
    if (q.stage && (q.noMiss || q.noBomb || q.clear)) {
        why = "a stage's own board has no run filters";
        return false;
    }
    return true;
}

std::string BoardHref(const BoardQuery& q, int64_t page) {
    std::string h = "/board/" + q.board, sep = "?";
    auto add = [&](const std::string& kv) {
        h += sep + kv;
        sep = "&";
    };
    if (q.stage) add("stage=" + std::to_string(q.stage));
    if (q.all) add("all=1");
    if (q.noMiss) add("nomiss=1");
    if (q.noBomb) add("nobomb=1");
    if (q.clear) add("clear=1");
    if (page > 1) add("page=" + std::to_string(page));
    return h;
}

json RunJson(const Submission& s, int64_t rank) {
    json j = {{"id", s.id},
              {"name", s.name},
              {"score", OptJson(s.score)},
              {"stage", OptJson(s.stage)},
              {"start_stage", OptJson(s.startStage)},
              {"staff_roll", s.ending == "staffroll"},
              {"frames", OptJson(s.frames)},
              {"misses", OptJson(s.misses)},
              {"bombs_used", OptJson(s.bombsUsed)},
              {"tags", Tags(s)},
              {"verified_at", OptJson(s.verifiedAt)},
              {"date", s.verifiedAt ? json(IsoTime(*s.verifiedAt)) : json(nullptr)},
              {"board", s.board},
              {"entry", "/entry/" + s.id},
              {"player", "/player/" + UrlPart(s.name)},
              {"watch", "/play/#replay=/api/replays/" + s.id}};
    if (rank) j["rank"] = rank;
    return j;
}

namespace {

json StageRunJson(const StageEntry& e, int64_t rank) {
    json j = {{"id", e.id},
              {"name", e.name},
              {"score", e.score},
              {"date", IsoTime(e.verifiedAt)},
              {"entry", "/entry/" + e.id},
              {"player", "/player/" + UrlPart(e.name)}};
    if (rank) j["rank"] = rank;
    if (e.stage) {
        j["stage"] = e.stage;
        j["board"] = e.board;
    }
    return j;
}

}  // namespace

json BoardsJson(Db& db, const Config& cfg) {
    json boards = json::array();
    for (const std::string& key : Boards(db)) {
        BoardQuery q;
        q.board = key;
        json entries = json::array();
        int64_t rank = 0;
        for (const Submission& s : BoardRuns(db, q, cfg.boardSize, 0)) entries.push_back(RunJson(s, ++rank));
        json stages = json::array();
        for (int st = 1; st <= 5; ++st) {
            q.stage = st;
            json list = json::array();
            int64_t r = 0;
            for (const StageEntry& e : StageRuns(db, q, cfg.boardSize, 0)) list.push_back(StageRunJson(e, ++r));
            if (!list.empty()) stages.push_back({{"stage", st}, {"entries", list}});
        }
        boards.push_back({{"board", key},
                          {"title", BoardTitle(key)},
                          {"href", "/board/" + key},
                          {"entries", entries},
                          {"stages", stages}});
    }
    json latest = json::array();
    for (const Submission& s : LatestRuns(db, kLatestCount)) latest.push_back(RunJson(s, 0));
    return json{{"boards", boards}, {"latest", latest}};
}

bool BoardPageExists(Db& db, const BoardQuery& q, int64_t* rows) {
    int64_t total = BoardCount(db, q);
    if (rows) *rows = total;
    if (q.page > std::max<int64_t>(1, (total + kPageSize - 1) / kPageSize)) return false;
    if (total > 0) return true;
    // An empty view of a board that has entries is a page; an unknown board is not.
    BoardQuery plain;
    plain.board = q.board;
    return BoardCount(db, plain) > 0;
}

json BoardJson(Db& db, const BoardQuery& q) {
    int64_t total = 0;
    if (!BoardPageExists(db, q, &total)) return nullptr;
    int64_t pages = std::max<int64_t>(1, (total + kPageSize - 1) / kPageSize);
    int64_t offset = (q.page - 1) * kPageSize;
    json rows = json::array();
    int64_t rank = offset;
    if (q.stage)
        for (const StageEntry& e : StageRuns(db, q, kPageSize, offset)) rows.push_back(StageRunJson(e, ++rank));
    else
        for (const Submission& s : BoardRuns(db, q, kPageSize, offset)) rows.push_back(RunJson(s, ++rank));
    json view = {{"all", q.all},     {"no_miss", q.noMiss}, {"no_bomb", q.noBomb}, {"clear", q.clear},
                 {"page", q.page},   {"pages", pages},      {"rows", total},       {"page_size", kPageSize}};
    if (q.stage) view["stage"] = q.stage;
    json j = {{"board", q.board}, {"title", BoardTitle(q.board)}, {"view", view}, {"entries", rows}};
    if (q.page > 1) j["previous"] = BoardHref(q, q.page - 1);
    if (q.page < pages) j["next"] = BoardHref(q, q.page + 1);
    return j;
}

bool PlayerExists(Db& db, const std::string& name) { return !PlayerLatest(db, name, 1).empty(); }

json PlayerJson(Db& db, const std::string& name) {
    std::vector<Submission> latest = PlayerLatest(db, name, kLatestCount);
    if (latest.empty()) return nullptr;
    json bests = json::array();
    for (const Submission& s : PlayerBests(db, name)) {
        json j = RunJson(s, RankOf(db, s));
        j["title"] = BoardTitle(s.board);
        bests.push_back(j);
    }
    json runs = json::array();
    for (const Submission& s : latest) {
        json j = RunJson(s, 0);
        j["status"] = s.removedAt ? "removed" : s.status;
        if (s.status != "verified") j["score"] = nullptr;
        j["submitted"] = IsoTime(s.created);
        if (!s.listed()) j.erase("watch");
        runs.push_back(j);
    }
    json stages = json::array();
    for (const StageEntry& e : PlayerStageBests(db, name)) stages.push_back(StageRunJson(e, 0));
    return json{{"name", name},
                {"bests", bests},
                {"latest", runs},
                {"stage_bests", stages},
                {"feed", "/feeds/player/" + UrlPart(name)}};
}

}  // namespace board
