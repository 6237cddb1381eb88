// The records page: best score of each stage alone (in a game or a stage
// practice), best total at each stage's clear, the best run and its date,
// each with its jewels, and the counters of games, completions and ships
// lost.
#include "pages/records_page.h"
#include "pages/pages.h"
#include "config/practice.h"
#include "core/lang.h"
#include "game/score.h"
#include "platform/display.h"
#include "render/render.h"

#include <cinttypes>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <ctime>

namespace {

// The jewel counters' colours, as the HUD draws them; the blue one a
// little lighter, which pure blue on the darkened picture would hide.
const int kJewelRGB[5][3] = {{255, 255, 0}, {110, 150, 255}, {0, 255, 0}, {255, 0, 0}, {255, 255, 255}};

const int kRowSize = 18;
const int kScoreRight = 320;  // right edge of the score column
const int kJewelX = 340;      // first jewel column
const int kJewelStep = 58;

// Digits at a fixed pitch, right-aligned, so the columns line up whatever
// the face's own widths.
void DrawNumberRight(const char* digits, int right, int y, int size, int r, int g, int b) {
    int pitch = size / 2;
    int n = (int)std::strlen(digits);
    char one[2] = {0, 0};
    for (int i = 0; i < n; i++) {
        one[0] = digits[i];
        DD_FontShow(one, size, right - (n - i) * pitch, y, r, g, b, false);
    }
}

// The five jewel counts in their colours. A count no game reaches (below
// 0, or more than five digits) can only come from a damaged file: it is
// shown within its column, as 0 or 99999; five digits take a smaller size.
void DrawJewels(const int32_t set[5], int y) {
    char text[24];
    for (int k = 0; k < 5; k++) {
        int n = set[k] < 0 ? 0 : set[k] > 99999 ? 99999 : (int)set[k];
        std::snprintf(text, sizeof text, "×%d", n);
        DD_FontShow(text, n >= 10000 ? kRowSize - 3 : kRowSize, kJewelX + kJewelStep * k, y, kJewelRGB[k][0],
                    kJewelRGB[k][1], kJewelRGB[k][2], false);
    }
}

// One table: a heading and a row per stage, its score and its jewels; a
// row whose score a practice made is marked so.
void DrawTable(int y, const char* heading, const int64_t scores[5], const int32_t jewels[5][5],
               const bool practice[5] = nullptr) {
    DD_FontShow(heading, 20, 30, y, 255, 255, 155, false);
    bool en = GameLanguage == LANG_EN;
    char text[32];
    for (int k = 0; k < 5; k++) {
        int ry = y + 22 + 19 * k;
        std::snprintf(text, sizeof text, en ? "STAGE %d" : "ステージ%d", k + 1);
        DD_FontShow(text, kRowSize, 50, ry, 255, 255, 255, false);
        if (practice && practice[k]) DD_FontShow(en ? "PRACTICE" : "練習", 12, 125, ry + 4, 150, 220, 255, false);
        // Scores below 0 show as 0, as on the HUD.
        std::snprintf(text, sizeof text, "%" PRId64, scores[k] < 0 ? (int64_t)0 : scores[k]);
        DrawNumberRight(text, kScoreRight, ry, kRowSize, 250, 250, 255);
        DrawJewels(jewels[k], ry);
    }
}

}  // namespace

void RecordsPage_FormatStamp(const DATTIME& t, char* out, int size) {
    if (size <= 0) return;
    out[0] = 0;
    if (t.time == 0) return;
    // The field holds the low 32 bits of the seconds; read it unsigned so
    // that dates after 2038 come out right.
    long long secs = (long long)(uint32_t)t.time - (long long)t.tzwest * 60 + (t.dstflag ? 3600 : 0);
    time_t when = (time_t)secs;
    struct tm tm;
    if (!gmtime_r(&when, &tm)) return;
    std::snprintf(out, (size_t)size, "%04d-%02d-%02d %02d:%02d", tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday,
                  tm.tm_hour, tm.tm_min);
}

void RecordsPage_Draw() {
    bool en = GameLanguage == LANG_EN;
    char text[96];

    Pages_Head(en ? "RECORDS" : "記録", en ? "F2 / ESC: back" : "Ｆ２・ＥＳＣ：戻る");

    std::snprintf(text, sizeof text, "HISCORE %019" PRId64, dat.hiscore < 0 ? (int64_t)0 : dat.hiscore);
    DD_FontShow(text, 20, 30, 46, 200, 200, 255, false);
    std::snprintf(text, sizeof text,
                  en ? "Games started %d    Completions %d    Ships lost %d"
                     : "プレイ回数 %d　　クリア回数 %d　　ミス回数 %d",
                  (int)dat.playcount, (int)dat.clearcount, (int)dat.deaths);
    DD_FontShow(text, 20, 30, 70, 255, 255, 255, false);

    // Each stage's best on its own, from games (the record) and stage
    // practice alike.
    int64_t stageBest[5];
    int32_t stageJewel[5][5];
    bool fromPractice[5];
    for (int k = 0; k < 5; k++) {
        fromPractice[k] = Practice.best[k] > dat.stagebest[k];
        stageBest[k] = fromPractice[k] ? Practice.best[k] : dat.stagebest[k];
        std::memcpy(stageJewel[k], fromPractice[k] ? Practice.bestJewel[k] : dat.stagebestjewel[k], sizeof stageJewel[k]);
    }
    DrawTable(100, en ? "Best score of each stage alone" : "ステージ単体のベストスコア", stageBest, stageJewel,
              fromPractice);
    // What one game would score with each stage played as well as its
    // best: the stages' bests added up (none: the line is left out).
    int64_t possible = 0;
    for (int64_t b : stageBest) possible += b > 0 && b < INT64_MAX / 8 ? b : 0;
    if (possible > 0) {
        std::snprintf(text, sizeof text, en ? "Best possible %" PRId64 : "理論値 %" PRId64, possible);
        DD_FontShow(text, 18, 400, 102, 150, 220, 255, false);
    }
    DrawTable(220, en ? "Best total at each stage's clear" : "ステージクリア時のベストトータル", dat.clearbest,
              dat.clearbestjewel);

    char when[32];
    RecordsPage_FormatStamp(dat.bestruntime, when, sizeof when);
    if (when[0]) std::snprintf(text, sizeof text, en ? "Best run    %s" : "ベストラン　　%s", when);
    else std::snprintf(text, sizeof text, "%s", en ? "Best run    (none yet)" : "ベストラン　　（記録なし）");
    DrawTable(340, text, dat.bestrun, dat.bestrunjewel);
    Pages_DrawBoardLine(8, 463, 12);
}

bool RecordsPage_Key(int) { return false; }
