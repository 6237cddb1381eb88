#include "config/practice.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sstream>

PracticeRecord Practice;

namespace {

const char* const kDifficulty[4] = {"EASY", "NORMAL", "HARD", "SPECIAL"};
// A stage's score, as the game can make one (far below what overflows
// when five are added up).
const int64_t kScoreMax = 4000000000000000000LL / 8;

bool Whole(const std::string& word, long long lo, long long hi, long long* out) {
    if (word.empty() || word.size() > 19) return false;
    for (size_t i = 0; i < word.size(); i++)
        if (!(word[i] >= '0' && word[i] <= '9') && !(i == 0 && word[i] == '-' && word.size() > 1)) return false;
    long long v = std::strtoll(word.c_str(), nullptr, 10);
    if (v < lo || v > hi) return false;
    *out = v;
    return true;
}

}  // namespace

std::string Practice_Format(const PracticeRecord& r) {
    std::string out = "QSPRACTICE 1\n";
    char line[160];
    for (int d = 0; d < 4; d++) {
        std::snprintf(line, sizeof line, "reached %s %d\n", kDifficulty[d], r.reached[d]);
        out += line;
    }
    for (int k = 0; k < 5; k++) {
        if (r.best[k] < 0) continue;
        const int32_t* j = r.bestJewel[k];
        std::snprintf(line, sizeof line, "best %d %lld %d %d %d %d %d\n", k + 1, (long long)r.best[k], (int)j[0],
                      (int)j[1], (int)j[2], (int)j[3], (int)j[4]);
        out += line;
    }
    return out;
}

PracticeRecord Practice_Parse(const std::string& text) {
    PracticeRecord r;
    std::istringstream in(text);
    std::string line;
    bool head = false;
    while (std::getline(in, line)) {
        std::istringstream words(line);
        std::string key;
        words >> key;
        if (!head) {
            // Not our file (or a newer one): nothing of it is taken.
            std::string version;
            words >> version;
            if (key != "QSPRACTICE" || version != "1") return PracticeRecord();
            head = true;
            continue;
        }
        if (key == "reached") {
            std::string name, stage;
            long long v;
            words >> name >> stage;
            for (int d = 0; d < 4; d++)
                if (name == kDifficulty[d] && Whole(stage, 1, 5, &v)) r.reached[d] = (int)v;
        } else if (key == "best") {
            std::string w[7];
            long long v[7];
            bool ok = true;
            for (int i = 0; i < 7 && ok; i++) {
                words >> w[i];
                ok = i == 0 ? Whole(w[i], 1, 5, &v[i]) : i == 1 ? Whole(w[i], 0, kScoreMax, &v[i])
                                                                : Whole(w[i], 0, 99999, &v[i]);
            }
            if (!ok) continue;
            int k = (int)v[0] - 1;
            r.best[k] = v[1];
            for (int j = 0; j < 5; j++) r.bestJewel[k][j] = (int32_t)v[2 + j];
        }
    }
    return r;
}

bool Practice_Reached(PracticeRecord& r, int difficulty, int stage) {
    if (difficulty < 0 || difficulty > 3 || stage < 1) return false;
    if (stage > 5) stage = 5;
    if (stage <= r.reached[difficulty]) return false;
    r.reached[difficulty] = stage;
    return true;
}

bool Practice_StageBest(PracticeRecord& r, int stage, int64_t score, const int32_t jewels[5]) {
    // Equal scores never replace a best, as in the record; a stage that
    // cost points is no best.
    if (stage < 1 || stage > 5 || score <= 0 || score > kScoreMax || score <= r.best[stage - 1]) return false;
    r.best[stage - 1] = score;
    for (int j = 0; j < 5; j++) r.bestJewel[stage - 1][j] = jewels[j] < 0 ? 0 : jewels[j] > 99999 ? 99999 : jewels[j];
    return true;
}
