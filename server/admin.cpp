// quellstorm-board admin: what a host does about abuse, on the database
// itself (no web login). A removed entry is kept, hidden from every list,
// and its page says why; a blocked name or address is refused at
// submission with the reason. A job the board itself could not judge is
// held until the host has it tried again. Every act goes to the moderation
// log with its time.
#include <cstdio>

#include "app.h"

namespace board {

namespace {

int Fail(const std::string& why) {
    fprintf(stderr, "quellstorm-board admin: %s\n", why.c_str());
    return 2;
}

std::string Joined(const std::vector<std::string>& a, size_t from) {
    std::string out;
    for (size_t i = from; i < a.size(); ++i) out += (out.empty() ? "" : " ") + a[i];
    return out;
}

int Act(const Config& cfg) {
    const std::vector<std::string>& a = cfg.args;
    if (a.empty()) return Fail("what to do? remove, restore, block, unblock, list, held, retry or log (see --help)");
    std::unique_ptr<Db> db = OpenDb(cfg.db);
    const std::string& act = a[0];
    if (act == "remove" || act == "restore") {
        if (a.size() < 2 || !ValidId(a[1])) return Fail(act + " wants an entry's id (32 hexadecimal digits)");
        if (act == "remove") {
            std::string reason = Joined(a, 2);
            if (reason.empty()) return Fail("remove wants a reason: it is shown on the entry's page");
            if (!FindSubmission(*db, a[1])) return Fail("no entry " + a[1]);
            if (!RemoveEntry(*db, a[1], reason)) return Fail("the entry " + a[1] + " is removed already");
            printf("removed %s: %s\n", a[1].c_str(), reason.c_str());
        } else {
            if (!RestoreEntry(*db, a[1])) return Fail("no removed entry " + a[1]);
            printf("restored %s\n", a[1].c_str());
        }
        return 0;
    }
    if (act == "block" || act == "unblock") {
        if (a.size() < 3 || (a[1] != "name" && a[1] != "address"))
            return Fail(act + " wants name NAME or address ADDRESS" + (act == "block" ? ", then a reason" : ""));
        if (act == "block") {
            std::string reason = Joined(a, 3);
            if (reason.empty()) return Fail("block wants a reason: it is given with every refusal");
            Block(*db, a[1], a[2], reason);
            printf("blocked %s %s: %s\n", a[1].c_str(), a[2].c_str(), reason.c_str());
        } else {
            if (!Unblock(*db, a[1], a[2])) return Fail("no blocked " + a[1] + " \"" + a[2] + "\"");
            printf("unblocked %s %s\n", a[1].c_str(), a[2].c_str());
        }
        return 0;
    }
    if (act == "list" && a.size() == 1) {
        std::vector<Submission> removed = RemovedEntries(*db);
        printf("removed entries: %zu\n", removed.size());
        for (const Submission& s : removed)
            printf("  %s  %s  %s  score %lld: %s\n", IsoTime(*s.removedAt).c_str(), s.id.c_str(), s.name.c_str(),
                   (long long)s.score.value_or(0), s.removedReason.c_str());
        std::vector<BlockRow> blocks = Blocks(*db);
        printf("blocked: %zu\n", blocks.size());
        for (const BlockRow& b : blocks)
            printf("  %s  %s %s: %s\n", IsoTime(b.at).c_str(), b.kind.c_str(), b.value.c_str(), b.reason.c_str());
        return 0;
    }
    if (act == "held" && a.size() == 1) {
        std::vector<Submission> held = HeldJobs(*db);
        printf("held jobs: %zu\n", held.size());
        for (const Submission& s : held)
            printf("  %s  %s  %s: %s\n", IsoTime(s.heldAt.value_or(0)).c_str(), s.id.c_str(), s.name.c_str(),
                   s.reason.c_str());
        return 0;
    }
    if (act == "retry") {
        if (a.size() != 2 || (a[1] != "all" && !ValidId(a[1])))
            return Fail("retry wants a held entry's id (32 hexadecimal digits) or all");
        std::vector<std::string> ids = RetryHeld(*db, a[1] == "all" ? "" : a[1]);
        if (ids.empty()) return Fail(a[1] == "all" ? "nothing is held" : "no held entry " + a[1]);
        for (const std::string& id : ids) printf("queued again %s\n", id.c_str());
        return 0;
    }
    if (act == "log" && a.size() == 1) {
        for (const LogRow& r : ModerationLog(*db))
            printf("%s  %s %s%s%s\n", IsoTime(r.at).c_str(), r.act.c_str(), r.target.c_str(),
                   r.reason.empty() ? "" : ": ", r.reason.c_str());
        return 0;
    }
    return Fail("unknown act \"" + Joined(a, 0) + "\": remove, restore, block, unblock, list, held, retry or log");
}

}  // namespace

int Admin(const Config& cfg) {
    try {
        return Act(cfg);
    } catch (const std::exception& e) {
        fprintf(stderr, "quellstorm-board admin: %s\n", e.what());
        return 1;
    }
}

}  // namespace board
