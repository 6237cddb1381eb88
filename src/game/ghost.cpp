#include "game/ghost.h"
#include "config/options.h"
#include "entity/entity.h"
#include "game/game.h"
#include "game/score.h"
#include "render/render.h"

#include <cstdio>
#include <cstring>

namespace {

// How long a stage's split stays up: three seconds of play.
const long kSplitFrames = 750;

const GhostTrack* gTrack;
bool gRacing;
long gFrame;        // frames of this game so far
int gLastStage;     // the stage of the frame before
long long gLastScore;
int gShownStage;    // the split on screen, 0 none
long gShownUntil;
GhostSplits gSplits;
long gDrawn;

void ClearSplits() {
    for (int k = 0; k < 6; k++) gSplits.mine[k] = gSplits.ghost[k] = gSplits.best[k] = -1;
}

// "+1234" in green when ahead, "-1234" in red when behind, white when even.
void Difference(const char* label, long long mine, long long other, int x, int y, int size) {
    char text[64];
    if (other < 0) {
        std::snprintf(text, sizeof text, "%s  -", label);
        DD_FontShow(text, size, x, y, 200, 200, 200, false);
        return;
    }
    long long d = mine - other;
    std::snprintf(text, sizeof text, "%s %s%lld", label, d > 0 ? "+" : "", d);
    if (d > 0) DD_FontShow(text, size, x, y, 90, 255, 90, false);
    else if (d < 0) DD_FontShow(text, size, x, y, 255, 90, 90, false);
    else DD_FontShow(text, size, x, y, 255, 255, 255, false);
}

// A small arrow at the screen's edge pointing where the ghost is.
void OffScreenMarker(int x, int y) {
    int cx = x + 32, cy = y + 32;
    int mx = cx < 8 ? 8 : cx > 631 ? 631 : cx, my = cy < 8 ? 8 : cy > 471 ? 471 : cy;
    int dx = cx < 8 ? -6 : cx > 631 ? 6 : 0, dy = cy < 8 ? -6 : cy > 471 ? 6 : 0;
    DD_DrawLine(mx - dy, my - dx, mx + dx, my + dy, 2, 120, 200, 255);
    DD_DrawLine(mx + dy, my + dx, mx + dx, my + dy, 2, 120, 200, 255);
    DD_DrawLine(mx - dy, my - dx, mx + dy, my + dx, 2, 120, 200, 255);
}

// The ghost's score at the end of stage k: when it left it, or, when its
// game ended there, its final score (-1: it never played that stage out).
long long GhostStageEnd(int k) {
    if (!gTrack) return -1;
    if (gTrack->stageEnd[k] >= 0) return gTrack->stageEnd[k];
    // The last frame is back on the title: the stage before it is where
    // the game ended.
    size_t n = gTrack->points.size();
    int last = n >= 2 ? gTrack->points[n - 2].stage : n ? gTrack->points[0].stage : 0;
    return last == k ? gTrack->points.back().score : -1;
}

// The table of splits under the game-over picture and the staff roll: one
// row per stage played, the one the game ended in marked (its score is the
// score so far, not a stage's end).
void SplitTable() {
    int over = PlayerStock == 0 && StageNo >= 1 && StageNo <= 5 ? StageNo : 0;
    int rows = over ? 1 : 0;
    for (int k = 1; k <= 5; k++) rows += gSplits.mine[k] >= 0 && k != over ? 1 : 0;
    if (!rows) return;
    int y = 300;
    DD_DimRect(30, y - 4, 630, y + 24 + 20 * rows);
    DD_FontShow("SPLITS", 16, 40, y, 255, 255, 155, false);
    for (int k = 1; k <= 5; k++) {
        bool ended = k == over;
        if (gSplits.mine[k] < 0 && !ended) continue;
        long long mine = ended ? (long long)dat.score : gSplits.mine[k];
        long long ghost = ended ? GhostStageEnd(k) : gSplits.ghost[k];
        y += 20;
        char text[48];
        std::snprintf(text, sizeof text, "STAGE %d", k);
        DD_FontShow(text, 16, 40, y, 255, 255, 255, false);
        // The score's digits right-aligned at a fixed pitch, so that the
        // column lines up whatever the face's widths.
        std::snprintf(text, sizeof text, "%lld", mine);
        int n = (int)std::strlen(text);
        char digit[2] = {0, 0};
        for (int i = 0; i < n; i++) {
            digit[0] = text[i];
            DD_FontShow(digit, 16, 235 - (n - i) * 9, y, 255, 255, 255, false);
        }
        if (ended) DD_FontShow("OVER", 12, 240, y + 3, 255, 120, 120, false);
        if (gTrack) Difference("GHOST", mine, ghost, 285, y, 16);
        Difference("BEST", mine, gSplits.best[k], 460, y, 16);
    }
}

}  // namespace

void Ghost_Start(const GhostTrack* track, bool racing) {
    gTrack = track && !track->empty() ? track : nullptr;
    gRacing = racing;
    gFrame = 0;
    gLastStage = StageNo;
    gLastScore = 0;
    gShownStage = 0;
    gDrawn = 0;
    ClearSplits();
    for (int k = 1; k <= 5; k++) gSplits.best[k] = dat.clearbest[k - 1] > 0 ? dat.clearbest[k - 1] : -1;
}

void Ghost_Stop() {
    gTrack = nullptr;
    gRacing = false;
}

const GhostSplits& Ghost_Splits() { return gSplits; }

void GhostDraw() {
    if (!gRacing) return;
    gFrame++;
    const GhostPoint* p = gTrack ? GhostTrack_At(*gTrack, gFrame) : nullptr;
    if (!p || !p->shown) return;
    if (p->x <= -64 || p->x >= 640 || p->y <= -64 || p->y >= 480) OffScreenMarker(p->x, p->y);
    else DD_DrawGhostBitmap(p->x, p->y, Bitmap[0], 0, 0, 64, 64);
    gDrawn++;
}

long Ghost_DrawnCount() { return gDrawn; }

void GhostSplitsDraw() {
    if (!gRacing) return;
    // A stage has been left: its split, the score at its last frame as the
    // ghost's track counts it.
    if (StageNo != gLastStage && gLastStage >= 1 && gLastStage <= 5 && StageNo > gLastStage) {
        int k = gLastStage;
        gSplits.mine[k] = gLastScore;
        gSplits.ghost[k] = GhostStageEnd(k);
        gShownStage = k;
        gShownUntil = gFrame + kSplitFrames;
        // A run nobody watches says it in words (tests, the bench).
        if (Options.headless)
            std::fprintf(stderr, "quellstorm: split: stage %d at frame %ld: %lld, ghost %lld, best %lld\n", k, gFrame,
                         gSplits.mine[k], gSplits.ghost[k], gSplits.best[k]);
    }
    gLastStage = StageNo;
    gLastScore = (long long)dat.score;
    if (PlayerStock == 0 || StageNo == 6) {
        SplitTable();
        return;
    }
    if (gShownStage && gFrame < gShownUntil) {
        int k = gShownStage;
        char text[48];
        // Over a darkened band, so that the colours read over any stage.
        DD_DimRect(190, 60, 450, gTrack ? 138 : 114);
        std::snprintf(text, sizeof text, "STAGE %d  %lld", k, gSplits.mine[k]);
        DD_FontShow(text, 20, 200, 64, 255, 255, 255, false);
        int y = 88;
        if (gTrack) Difference("GHOST", gSplits.mine[k], gSplits.ghost[k], 200, y, 20), y += 24;
        Difference("BEST", gSplits.mine[k], gSplits.best[k], 200, y, 20);
    }
}
