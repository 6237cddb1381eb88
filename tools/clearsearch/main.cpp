// qs_clearsearch: finds a whole game played from stage 1 to the staff roll
// without losing a ship, and writes it as an input script for --script.
//
//   qs_clearsearch --out FILE.keys [--seconds N] [--seed N] [--home DIR]
//
// It runs the game headless in this process, chooses the options on the
// title (EASY, the largest power stock) and plays as a seeded random
// player that fires all the time, lines up with bosses, bombs when it is
// stuck and tries each move ahead before it takes it. Every CHECK_EVERY
// frames of play it keeps a snapshot of the whole game state; when a ship
// is hit it goes back to a snapshot before the hit and plays on with other
// choices, further back the more often a place has failed. The inputs of the path that got through are written
// as a script: played with `quellstorm --script FILE.keys --keep-replays on`
// they make the same game, which the game keeps as its own replay.
//
// Nothing here is part of the game: it only drives it through the inputs a
// script could give.
#include "entity/entity.h"
#include "game/game.h"
#include "game/score.h"
#include "platform/events.h"
#include "platform/input.h"
#include "platform/time.h"
#include "player/player.h"
#include "shell/frameloop.h"
#include "shell/savestate.h"

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

enum : uint8_t { K_UP = 1, K_DOWN = 2, K_LEFT = 4, K_RIGHT = 8, K_SPACE = 16, K_BOMB = 32 };
const char* const kNames[] = {"UP", "DOWN", "LEFT", "RIGHT", "SPACE"};
int gCodes[5], gBombCode;

// Snapshots: one every CHECK_EVERY frames near where the search stands,
// thinned further back (one every SPARSE frames past SPARSE_AFTER frames,
// one every SPARSER past SPARSER_AFTER) to keep memory small: a state in
// play is about half a megabyte.
enum {
    CHECK_EVERY = 50,
    SPARSE = 500,
    SPARSE_AFTER = 1500,
    SPARSER = 2500,
    SPARSER_AFTER = 12000,
    BACK_AT_LEAST = 40,   // frames before a hit to go back to, at least
    TRIES = 5,            // tries from one snapshot before going further back
};

struct Check {
    long frame;
    std::vector<uint8_t> state;
    uint64_t rng;
    int fails;  // tries from here that lost a ship
};

uint64_t gRng;
uint32_t Next() {
    gRng = gRng * 6364136223846793005ull + 1442695040888963407ull;
    return (uint32_t)(gRng >> 33);
}
int Below(int n) { return (int)(Next() % (uint32_t)n); }

// The inputs of every frame so far, index = frame.
std::vector<uint8_t> gInputs;

void Apply(uint8_t k) {
    int held[5], n = 0;
    for (int i = 0; i < 5; i++)
        if (k & (1 << i)) held[n++] = gCodes[i];
    Plat_SetScriptedPhysical(held, n);
    if (k & K_BOMB) Plat_PushPhysicalKey(gBombCode);
}

void RunFrame(uint8_t k) {
    Apply(k);
    long next = FrameCount + 1;
    if ((long)gInputs.size() <= next) gInputs.resize(next + 1);
    gInputs[next] = k;
    Shell_RunFrame(false);
}

// The title: through OPTION to EASY and a power stock of six, back, start.
// Each entry is a frame and the keys pressed on it (released the frame after).
struct Press {
    long frame;
    uint8_t keys;
};
const Press kTitle[] = {
    {5, K_SPACE},    // skip the intro
    {10, K_DOWN},    // OPTION
    {15, K_SPACE},   // the options screen
    {150, K_LEFT},   // difficulty: NORMAL -> EASY
    {155, K_UP},     // the power stock row (from the first, up wraps)
    {160, K_LEFT},   // 2 -> 1
    {165, K_LEFT},   // 1 -> 6
    {180, K_SPACE},  // back to the title
    {300, K_SPACE},  // GAME START
};

// The random player's state within a game: a move is a direction held
// for a number of frames, lined up with a boss or not.
struct Move {
    uint8_t keys;
    bool align, bomb;
    int frames;
};
Move gMove;
int gMoveLeft;
int gBombChance;  // per thousand, per move: where the search has failed often
int gDeaths0;     // the record's ships lost when the game began

bool ShipLost() { return dat.deaths != gDeaths0 || !P_Ship.flag || PlayerStock <= 0; }

Move RandomMove() {
    Move mv = {};
    mv.frames = 8 + Below(40);
    int dir = Below(9);
    if (dir == 1 || dir == 5 || dir == 6) mv.keys |= K_UP;
    if (dir == 2 || dir == 7 || dir == 8) mv.keys |= K_DOWN;
    if (dir == 3 || dir == 5 || dir == 7) mv.keys |= K_LEFT;
    if (dir == 4 || dir == 6 || dir == 8) mv.keys |= K_RIGHT;
    // Keep to the left part of the screen, where there is time to see
    // what comes.
    if (P_Ship.x > 260) mv.keys = (uint8_t)((mv.keys & ~K_RIGHT) | (Below(2) ? K_LEFT : 0));
    if (P_Ship.x < 20) mv.keys &= (uint8_t)~K_LEFT;
    mv.align = Below(4) != 0;
    // A bomb costs a step of every weapon's power: only where the search
    // keeps failing, and never the last steps.
    mv.bomb = gBombChance && BombStock >= 3 && Below(1000) < gBombChance;
    return mv;
}

// The keys of a move's frame: with a boss on screen, lined up with its
// middle when the move says so; the shot key always held.
uint8_t KeysOf(const Move& mv, bool first) {
    uint8_t m = mv.keys;
    const SpriteData* boss = nullptr;
    SpriteData* bosses[6] = {BOSS1, BOSS2, BOSS3, BOSS4, BOSS5, LBOSS};
    for (SpriteData* b : bosses)
        if (!boss && b[0].flag) boss = &b[0];
    if (boss && StagePhase == 2 && mv.align) {
        float want = boss->y + boss->h / 2 - P_Ship.h / 2, at = P_Ship.y;
        m &= (uint8_t)~(K_UP | K_DOWN);
        if (at > want + 8) m |= K_UP;
        if (at < want - 8) m |= K_DOWN;
    }
    return (uint8_t)(m | K_SPACE | (first && mv.bomb ? K_BOMB : 0));
}

// Looking ahead: a move is tried for LOOK frames (or its own length) from
// a snapshot, and the first of a few that keeps the ship is taken, so that
// the search meets fewer hits it could have seen coming.
enum { LOOK = 40, CANDIDATES = 6 };
std::vector<uint8_t> gLookBuf;
long gLookFrames;

uint8_t Choose() {
    if (--gMoveLeft > 0) return KeysOf(gMove, false);
    if (gLookBuf.empty()) gLookBuf.resize(State_MaxBytes());
    size_t n = State_Save(gLookBuf.data(), gLookBuf.size());
    long at = FrameCount;
    Move pick = RandomMove();
    for (int c = 0; c < CANDIDATES; c++) {
        Move mv = c == 0 ? pick : RandomMove();
        bool kept = true;
        for (int f = 0; f < (mv.frames > LOOK ? mv.frames : LOOK) && kept && Scene == SCENE_GAME; f++) {
            RunFrame(KeysOf(mv, f == 0));
            gLookFrames++;
            kept = !ShipLost();
        }
        State_Load(gLookBuf.data(), n);
        FrameCount = at;
        gInputs.resize(at + 1);
        if (kept) {
            pick = mv;
            break;
        }
    }
    gMove = pick;
    gMoveLeft = pick.frames;
    return KeysOf(gMove, true);
}

double Now() { return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count(); }

bool WriteScript(const char* path, long lastFrame) {
    FILE* f = std::fopen(path, "w");
    if (!f) return false;
    std::fprintf(f, "# frames: %ld\n", lastFrame + 1);
    std::fprintf(f, "# A whole game on EASY with the largest power stock, from stage 1 through the\n"
                    "# staff roll without a ship lost, found by tools/clearsearch (qs_clearsearch).\n");
    uint8_t held = 0;
    int lines = 0;
    for (long fr = 1; fr <= lastFrame && fr < (long)gInputs.size(); fr++) {
        uint8_t k = gInputs[fr];
        uint8_t h = (uint8_t)(k & ~K_BOMB);
        if (h != held) {
            std::fprintf(f, "%ld hold", fr);
            for (int i = 0; i < 5; i++)
                if (h & (1 << i)) std::fprintf(f, " %s", kNames[i]);
            std::fprintf(f, "\n");
            held = h;
            lines++;
        }
        if (k & K_BOMB) {
            std::fprintf(f, "%ld press Z\n", fr);
            lines++;
        }
    }
    std::fclose(f);
    std::fprintf(stderr, "clearsearch: %d script lines\n", lines);
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    const char* out = nullptr;
    double seconds = 3000;
    unsigned long seed = 1;
    std::string home = "/tmp/qs-clearsearch/";
    for (int i = 1; i < argc; i++) {
        std::string a = argv[i];
        if (a == "--out" && i + 1 < argc) out = argv[++i];
        else if (a == "--seconds" && i + 1 < argc) seconds = std::atof(argv[++i]);
        else if (a == "--seed" && i + 1 < argc) seed = std::strtoul(argv[++i], nullptr, 10);
        else if (a == "--home" && i + 1 < argc) home = std::string(argv[++i]) + "/";
        else {
            std::fprintf(stderr, "usage: qs_clearsearch --out FILE.keys [--seconds N] [--seed N] [--home DIR]\n");
            return 2;
        }
    }
    if (!out) {
        std::fprintf(stderr, "qs_clearsearch: --out FILE.keys is needed\n");
        return 2;
    }
    // As the scripted run that plays it back: no settings file, no window.
    setenv("XDG_CONFIG_HOME", home.c_str(), 1);
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    std::string mk = "mkdir -p '" + home + "'";
    if (std::system(mk.c_str()) != 0) return 2;
    std::vector<std::string> args = {"qs_clearsearch", "--headless", "--home", home, "--draw-every", "0"};
    std::vector<char*> av;
    for (auto& a : args) av.push_back(&a[0]);
    if (Shell_Start((int)av.size(), av.data()) != 1) {
        std::fprintf(stderr, "qs_clearsearch: the game did not start\n");
        return 1;
    }
    for (int i = 0; i < 5; i++) gCodes[i] = Plat_KeyFromName(kNames[i]);
    gBombCode = Plat_KeyFromName("Z");
    Plat_SetScriptedPhysical(nullptr, 0);

    // The title.
    size_t t = 0;
    while (Shell_Running() && Scene != SCENE_GAME && FrameCount < 2000) {
        long next = FrameCount + 1;
        uint8_t k = 0;
        if (t < sizeof kTitle / sizeof kTitle[0] && kTitle[t].frame == next) k = kTitle[t++].keys;
        // The shot key stays held from GAME START on.
        if (t == sizeof kTitle / sizeof kTitle[0]) k = K_SPACE;
        RunFrame(k);
    }
    if (Scene != SCENE_GAME || OPTION.Difficulty != 0 || BombStock != 6) {
        std::fprintf(stderr, "qs_clearsearch: the title did not start a game on EASY with six (scene %d, "
                             "difficulty %d, power %d at frame %ld)\n", Scene, OPTION.Difficulty, BombStock, FrameCount);
        return 1;
    }
    long start = FrameCount;
    gDeaths0 = dat.deaths;
    std::fprintf(stderr, "clearsearch: game started at frame %ld: difficulty %d, lives %d, power %d\n", start,
                 OPTION.Difficulty, PlayerStock, BombStock);

    std::vector<Check> checks;
    std::vector<uint8_t> buf(State_MaxBytes());
    auto keep = [&]() {
        size_t n = State_Save(buf.data(), buf.size());
        checks.push_back({FrameCount, std::vector<uint8_t>(buf.begin(), buf.begin() + n), gRng, 0});
        // Thin the ones further back.
        size_t w = 0;
        for (size_t i = 0; i < checks.size(); i++) {
            long age = FrameCount - checks[i].frame, fr = checks[i].frame - start;
            bool keepIt = i == 0 || age < SPARSE_AFTER || (age < SPARSER_AFTER ? fr % SPARSE == 0 : fr % SPARSER == 0);
            if (keepIt) {
                if (w != i) checks[w] = std::move(checks[i]);
                w++;
            }
        }
        checks.resize(w);
    };
    gRng = seed * 2654435761ull + 7;
    keep();
    double began = Now(), lastReport = began;
    long simulated = 0, losses = 0, furthest = start;
    int furthestStage = 1;
    bool done = false;
    while (!done) {
        if (Now() - began > seconds || !Shell_Running()) break;  // the time is up, or a signal asked to stop
        uint8_t k = Choose();
        RunFrame(k);
        simulated++;
        if (Scene != SCENE_GAME) {
            done = furthestStage == 6;  // back on the title after the staff roll
            if (!done) {
                std::fprintf(stderr, "clearsearch: the game left play at frame %ld without its staff roll\n",
                             FrameCount);
                return 1;
            }
            break;
        }
        if (FrameCount > furthest) {
            furthest = FrameCount;
            furthestStage = StageNo;
        }
        if (ShipLost()) {
            losses++;
            // Back to a snapshot well before the hit; one that has failed
            // TRIES times sends the search further back (the way out can
            // lie well before the hit: the ship cornered, a boss reached
            // too late).
            int i = (int)checks.size() - 1;
            while (i > 0 && checks[i].frame > FrameCount - BACK_AT_LEAST) i--;
            while (i > 0 && checks[i].fails >= TRIES) i--;
            Check& c = checks[i];
            c.fails++;
            if (!State_Load(c.state.data(), c.state.size())) {
                std::fprintf(stderr, "qs_clearsearch: a snapshot did not load\n");
                return 1;
            }
            FrameCount = c.frame;
            gInputs.resize(c.frame + 1);
            gRng = c.rng ^ ((uint64_t)losses * 0x9E3779B97F4A7C15ull);
            Next();
            gMoveLeft = 0;
            gBombChance = c.fails >= 3 ? 150 * (c.fails - 2) : 0;
            checks.resize(i + 1);
            continue;
        }
        if (FrameCount % CHECK_EVERY == 0) {
            keep();
            gBombChance = 0;
        }
        if (Now() - lastReport > 30) {
            lastReport = Now();
            std::fprintf(stderr,
                         "clearsearch: %.0f s: at frame %ld (stage %d, phase %d, power %d), furthest %ld (stage %d), "
                         "%ld frames run (%ld looking ahead), %ld ships that would have been lost, %zu snapshots\n",
                         lastReport - began, FrameCount, StageNo, StagePhase, BombStock, furthest, furthestStage,
                         simulated, gLookFrames, losses, checks.size());
        }
    }
    if (!done) {
        std::fprintf(stderr, "clearsearch: no clear within %.0f s: furthest frame %ld (stage %d), %ld frames run, "
                             "%ld ships that would have been lost\n",
                     seconds, furthest, furthestStage, simulated, losses);
        WriteScript(out, FrameCount);
        return 3;
    }
    // A few frames on the title: the game is kept once it is back there.
    long end = FrameCount;
    for (int i = 0; i < 5; i++) RunFrame(0);
    WriteScript(out, FrameCount);
    std::fprintf(stderr,
                 "clearsearch: cleared: the staff roll ended at frame %ld (%ld frames of play), score %s, "
                 "%ld frames run in %.0f s, %ld ships that would have been lost; bombs used %ld\n",
                 end, end - start, dat.scoretext, simulated, Now() - began, losses, BombsUsed);
    return 0;
}
