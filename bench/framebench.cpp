// The frame benchmark: what a game frame costs against what the machine
// can do at best (floors), measured in one run on four scenarios:
//   floors   clearing and copying the back buffer, and SDL's own
//            colour-keyed RLE blit of the stress scenario's sprite list
//   typical  a recorded stage-1 run played back
//   stress   every bullet, laser and jewel pool full, 150 small enemies,
//            blasts and a boss on HARD
//   title    the title with its blended picture
// Ratios are what to track: these machines are noisy. Each scenario checks
// that the frames it measures hold what it says (the sprites drawn, the
// pools live, the scene reached) and stops the run with an error when they
// do not: a benchmark of an empty scene measures nothing.
#include <SDL.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <string>
#include <strings.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include "entity/entity.h"
#include "config/ghosttrack.h"
#include "game/game.h"
#include "game/ghost.h"
#include "game/scene.h"
#include "platform/display.h"
#include "render/render.h"
#include "shell/frameloop.h"
#include "shell/shell.h"

extern long AllocCount;
extern bool AllocReport;

namespace {

double NowMs() { return SDL_GetPerformanceCounter() * 1000.0 / SDL_GetPerformanceFrequency(); }

struct Stats {
    double median, p99;
};

Stats Summarise(std::vector<double> v) {
    if (v.empty()) return {0, 0};
    std::sort(v.begin(), v.end());
    return {v[v.size() / 2], v[std::min(v.size() - 1, v.size() * 99 / 100)]};
}

// Results travel from a scenario's child process to the table as lines
// "name value".
FILE* gOut;
void Emit(const char* name, double v) { std::fprintf(gOut, "%s %.6f\n", name, v); }

std::string gHome;
const char* gCurrent;  // the scenario a child runs
bool gInChild;         // (else the one scenario runs in this process)

// A scenario whose frames are not what it says ends the run.
void Expect(bool ok, const std::string& what) {
    if (ok) return;
    std::fprintf(stderr, "qs_framebench: %s: not as stated: %s\n", gCurrent ? gCurrent : "scenario", what.c_str());
    std::fflush(stderr);
    if (!gInChild) std::system(("rm -rf '" + gHome + "'").c_str());
    _exit(3);
}

// Memory and files: the peak resident size of this process so far (MB)
// and the descriptors it holds open now.
double PeakRssMb() {
    FILE* f = std::fopen("/proc/self/status", "r");
    if (!f) return 0;
    char line[256];
    double kb = 0;
    while (std::fgets(line, sizeof line, f))
        if (std::sscanf(line, "VmHWM: %lf", &kb) == 1) break;
    std::fclose(f);
    return kb / 1024;
}

int OpenFiles() {
    DIR* d = opendir("/proc/self/fd");
    if (!d) return 0;
    int n = 0;
    while (dirent* e = readdir(d))
        if (e->d_name[0] != '.') n++;
    closedir(d);
    return n - 1;  // the listing's own descriptor
}
int gMostOpenFiles;

bool Start(const std::vector<std::string>& extra) {
    // A 640x480 window on the dummy display: presenting is the real
    // upload path through the software renderer.
    std::vector<std::string> args = {"qs_framebench", "--window", "--scale", "1", "--home", gHome};
    args.insert(args.end(), extra.begin(), extra.end());
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(&a[0]);
    bool started = Shell_Start((int)argv.size(), argv.data()) == 1;
    Expect(started, "the game did not start");
    return started;
}

// Runs frames until the title menu stands still, then starts a game.
void ToTitle() {
    for (int i = 0; i < 3 && Shell_Running(); i++) Shell_RunFrame();
    MenuState = MENU_TITLE2;
    for (int i = 0; i < 10 && Shell_Running(); i++) Shell_RunFrame();
}

// The measured calls, kept out of line so that callgrind can count them
// one by one (make bench-instr).
__attribute__((noinline)) void DrawnFrame() { Shell_RunFrame(true); }
__attribute__((noinline)) void UndrawnFrame() { Shell_RunFrame(false); }
__attribute__((noinline)) void PresentFrame() { Plat_Present(DDBack); }

bool gInstr;  // under callgrind: fewer frames, no timing table

// Runs frames as a window at 60 Hz does: 250 game frames a second, one
// picture every 1/60 s, so about one game frame in four is drawn and then
// presented, and the frames in between leave their pixel work out.
// Figures: "shown" frames are those whose picture is presented (update,
// drawing), "between" the frames in between (play leaves their drawing
// out; the title draws them all the same), "frame.mean" the mean cost of a
// game frame with the presents shared out, what the 4 ms step must hold.
int Measure(const char* name, int frames, void (*before)()) {
    std::vector<double> drawn, undrawn, present;
    size_t room = frames < 100000 ? (size_t)frames : 100000;
    drawn.reserve(room);
    undrawn.reserve(room);
    present.reserve(room);
    long allocs = 0, presentAllocs = 0;
    double total = 0, due = 0;
    int counted = 0;
    for (int i = 0; i < frames && Shell_Running(); i++) {
        if (before) before();
        due += 60.0 / 250.0;
        bool seen = due >= 1.0;
        if (seen) due -= 1.0;
        bool steady = i >= std::min(frames / 10, 300);  // after a warm-up
        AllocReport = steady;  // the first allocation of a steady frame says where it came from
        long a0 = AllocCount;
        double t0 = NowMs();
        if (seen) DrawnFrame();
        else UndrawnFrame();
        double t1 = NowMs();
        long a1 = AllocCount;
        AllocReport = false;
        if (seen) PresentFrame();
        double t2 = NowMs();
        if (steady && Shell_Running()) {  // the end of a replay closes everything: not a frame of play
            allocs += a1 - a0;
            presentAllocs += AllocCount - a1;
            total += t2 - t0;
            counted++;
        }
        (seen ? drawn : undrawn).push_back(t1 - t0);
        if (seen) present.push_back(t2 - t1);
        if (i % 500 == 0 && Shell_Running()) gMostOpenFiles = std::max(gMostOpenFiles, OpenFiles());
    }
    int ran = (int)(drawn.size() + undrawn.size());
    if (gInstr) {
        Emit((std::string(name) + ".shown.count").c_str(), (double)drawn.size());
        Emit((std::string(name) + ".between.count").c_str(), (double)undrawn.size());
        return ran;
    }
    Stats d = Summarise(drawn), u = Summarise(undrawn), p = Summarise(present);
    std::string n = name;
    Emit((n + ".frame.mean").c_str(), counted ? total / counted : 0);
    Emit((n + ".shown.median").c_str(), d.median);
    Emit((n + ".shown.p99").c_str(), d.p99);
    Emit((n + ".between.median").c_str(), u.median);
    Emit((n + ".between.p99").c_str(), u.p99);
    Emit((n + ".present.median").c_str(), p.median);
    Emit((n + ".present.p99").c_str(), p.p99);
    Emit((n + ".allocs").c_str(), (double)allocs);
    Emit((n + ".present.allocs").c_str(), (double)presentAllocs);
    Emit((n + ".frames").c_str(), (double)ran);
    return ran;
}

void Fill(SpriteData* pool, int count, int bmp, int w, int h, float speed) {
    for (int i = 0; i < count; i++) {
        SpriteData& s = pool[i];
        s = SpriteData();
        s.flag = 1;
        s.x = (float)((i * 37) % 620);
        s.y = (float)((i * 53) % 460);
        s.w = w;
        s.h = h;
        s.bmp = bmp;
        s.frames = 1;
        s.speed = speed;
        s.angle = 180;
        s.rad = 3.14f;
        s.dx = -1;
        s.dy = 0;
        s.hp = 1e9f;
        s.timer = 1e9f;
        s.time = 75;
    }
}

// The stress scene, built anew before every measured frame: the pools
// filled as they stand, their end marks raised from the flags as after a
// loaded state, so the frame's passes see every slot.
const int kStressPoolSlots = TAMA_MAX + BAKA_MAX + 2 * SLASER_MAX + JEWEL_MAX + ENEMY_MAX;
const int kStressSprites = kStressPoolSlots + 50 + 1;  // and the player's shots and a boss
void StressScene() {
    OPTION.Difficulty = HARD;
    P_Ship.time = 1e9f;  // untouchable, so the scene keeps its shape
    Fill(tama, TAMA_MAX, 90, 16, 16, 0.1f);
    Fill(Baka, BAKA_MAX, 91, 16, 16, 0.1f);
    Fill(sLaser, SLASER_MAX, 94, 32, 8, 0.1f);
    Fill(sLaser2, SLASER_MAX, 89, 32, 32, 0.1f);
    Fill(jewel, JEWEL_MAX, 15, 32, 32, 0.1f);
    Fill(Enemy, ENEMY_MAX, 20, 64, 64, 0.1f);
    Fill(P_Shot4, 50, 9, 100, 100, 0.1f);
    Fill(BOSS1, 1, 70, 200, 200, 0.0f);
    BOSS1[0].x = 400;
    BOSS1[0].y = 100;
    SpriteMarksFromFlags();
}

// One stress frame with every sprite copy listed; stops the run unless
// the filled pools' marks reach their tops (the frame's passes look at
// every slot) and the frame drew at least the sprites filled.
void StressFrameLogged() {
    struct {
        const SpriteData* pool;
        int count;
    } const filled[] = {{tama, TAMA_MAX}, {Baka, BAKA_MAX}, {sLaser, SLASER_MAX},
                        {sLaser2, SLASER_MAX}, {jewel, JEWEL_MAX}, {Enemy, ENEMY_MAX}};
    int seen = 0;
    for (const auto& f : filled) {
        int id = SpritePoolOf(f.pool);
        seen += id >= 0 ? std::min(PoolEnd[id], f.count) : 0;
    }
    Expect(seen == kStressPoolSlots, "the pools' marks let the passes see " + std::to_string(seen) + " of the " +
                                         std::to_string(kStressPoolSlots) + " filled slots");
    DrawLogOn = true;
    DrawLogCount = 0;
    Shell_RunFrame();
    DrawLogOn = false;
    Expect(DrawLogCount >= kStressSprites, "the frame drew " + std::to_string(DrawLogCount) + " sprites of the " +
                                               std::to_string(kStressSprites) + " filled");
}

// Floor 3: SDL's colour-keyed RLE blit of the very sprite list that one
// stress frame draws, against our own copies of the same list.
void StressFloor() {
    StressFrameLogged();
    SDL_Surface* sheets[200] = {};
    for (int i = 0; i < 200; i++)
        if (Bitmap[i].surface) {
            sheets[i] = SDL_CreateRGBSurfaceWithFormatFrom(Plat_SurfacePixels(Bitmap[i].surface), Bitmap[i].width,
                                                           Bitmap[i].height, 16, Bitmap[i].pitch,
                                                           SDL_PIXELFORMAT_RGB565);
            SDL_SetColorKey(sheets[i], SDL_TRUE, 0);
            SDL_SetSurfaceRLE(sheets[i], 1);
        }
    SDL_Surface* back = SDL_CreateRGBSurfaceWithFormat(0, 640, 480, 16, SDL_PIXELFORMAT_RGB565);
    auto sdlList = [&] {
        for (int k = 0; k < DrawLogCount; k++) {
            const DrawLogEntry& e = DrawLog[k];
            if (e.slot < 0 || !sheets[e.slot]) continue;
            SDL_Rect src = {e.left, e.top, e.right - e.left, e.bottom - e.top};
            SDL_Rect dst = {e.x, e.y, 0, 0};
            SDL_BlitSurface(sheets[e.slot], &src, back, &dst);
        }
    };
    auto ourList = [&] {
        for (int k = 0; k < DrawLogCount; k++) {
            const DrawLogEntry& e = DrawLog[k];
            if (e.slot < 0) continue;
            DD_DrawBitmap(e.x, e.y, Bitmap[e.slot], e.left, e.top, e.right, e.bottom);
        }
    };
    sdlList();  // the first blit encodes the RLE
    std::vector<double> sdlT, ourT;
    for (int r = 0; r < 200; r++) {
        double t0 = NowMs();
        sdlList();
        double t1 = NowMs();
        ourList();
        double t2 = NowMs();
        sdlT.push_back(t1 - t0);
        ourT.push_back(t2 - t1);
    }
    Emit("floor.sdlblit", Summarise(sdlT).median);
    Emit("sprites.ours", Summarise(ourT).median);
    Emit("sprites.count", DrawLogCount);
    for (int i = 0; i < 200; i++) SDL_FreeSurface(sheets[i]);
    SDL_FreeSurface(back);
}

// The ghost over the stress scene: its drawing alone, as a drawn frame of
// play does it, for its share of a stress frame.
void StressGhost() {
    static GhostTrack track;
    GhostTrackWriter w;
    GhostTrack_Begin(&w, 1, HARD, 1, 4000);
    for (int i = 0; i < 4000; i++) GhostTrack_Add(&w, 100.0f + i % 400, 150.0f + i % 200, true, 1, i);
    std::string file = GhostTrack_File(w), why;
    if (!GhostTrack_Parse(file.data(), file.size(), &track, &why)) {
        std::fprintf(stderr, "qs_framebench: the ghost's track does not read back: %s\n", why.c_str());
        std::exit(3);
    }
    Ghost_Start(&track, true);
    Plat_SetDrawing(true);
    std::vector<double> t;
    for (int i = 0; i < 3000; i++) {
        double t0 = NowMs();
        GhostDraw();
        t.push_back(NowMs() - t0);
    }
    Ghost_Stop();
    if (Ghost_DrawnCount() != 3000) {
        std::fprintf(stderr, "qs_framebench: the ghost was drawn %ld times of 3000: not the scenario measured\n",
                     Ghost_DrawnCount());
        std::exit(3);
    }
    Emit("stress.ghost.draw", Summarise(t).median);
}

// A recorded stage-1 game played back: at least 1200 frames of play.
void ScenarioTypical(const char* replay) {
    if (!Start({"--play", replay})) return;
    // Loading, the intro and the title are not play: measured from the
    // first frame of the game on.
    while (Shell_Running() && Scene != 1) Shell_RunFrame();
    Expect(Scene == 1, std::string("the replay ") + replay + " never reaches the game");
    int ran = Measure("typical", gInstr ? 1200 : 1 << 30, nullptr);
    Expect(ran >= 1200, std::string("the replay ") + replay + " plays only " + std::to_string(ran) + " frames");
}

// The stress scene on HARD, the frames of the game; every frame draws at
// least the sprites filled.
void ScenarioStress() {
    if (!Start({})) return;
    ToTitle();
    NewGame();
    // Past the stage's opening, so that loading its tune is not measured.
    for (int i = 0; i < 300; i++) Shell_RunFrame();
    Expect(Scene == 1 && Shell_Running(), "no game running after the title");
    StressScene();
    if (gInstr) StressFrameLogged();
    else StressFloor();
    int frames = gInstr ? 25 : 400;
    Expect(Measure("stress", frames, StressScene) == frames, "the game ended during the stress frames");
    StressScene();
    StressFrameLogged();  // and the scene still stands after them
    if (!gInstr) StressGhost();
}

// The title menu standing, drawn every frame.
void ScenarioTitle() {
    if (!Start({})) return;
    ToTitle();
    Expect(Scene == 0 && MenuState == MENU_TITLE2, "the title menu is not up");
    int frames = gInstr ? 100 : 1000;
    Expect(Measure("title", frames, nullptr) == frames, "the game left the title during the frames");
    Expect(Scene == 0 && MenuState == MENU_TITLE2, "the title menu did not stay up");
}

// From the start of the program to the end of the loading pass: every
// bitmap and sound, the input devices and "score.dat".
void ScenarioLoading() {
    double t0 = NowMs();
    if (!Start({})) return;
    Shell_RunFrame();  // the instructions picture
    Shell_RunFrame();  // the loading pass
    double t1 = NowMs();
    int loaded = 0;
    for (int i = 0; i < 200; i++) loaded += Bitmap[i].surface != nullptr;
    // Every picture of the data folder (the build's, beside the bench).
    int files = 0;
    for (const char* dir : {"BMP", "BG"})
        if (DIR* d = opendir(dir)) {
            while (dirent* e = readdir(d)) {
                std::string n = e->d_name;
                files += n.size() > 4 && strcasecmp(n.c_str() + n.size() - 4, ".bmp") == 0;
            }
            closedir(d);
        }
    Expect(files > 0, "no BMP/ and BG/ pictures in the folder the bench runs in");
    Expect(loaded == files, "the loading pass loaded " + std::to_string(loaded) + " of the " + std::to_string(files) +
                                " pictures");
    gMostOpenFiles = OpenFiles();
    Emit("loading.ms", t1 - t0);
    Emit("loading.bitmaps", loaded);
}

void Floors() {
    std::vector<uint16_t> a(640 * 480, 0x1234), b(640 * 480);
    std::vector<double> set, cpy;
    for (int r = 0; r < 2000; r++) {
        double t0 = NowMs();
        std::memset(a.data(), 0, a.size() * 2);
        double t1 = NowMs();
        std::memcpy(b.data(), a.data(), a.size() * 2);
        double t2 = NowMs();
        set.push_back(t1 - t0);
        cpy.push_back(t2 - t1);
        a[r % a.size()] = (uint16_t)r;
    }
    Emit("floor.memset", Summarise(set).median);
    Emit("floor.memcpy", Summarise(cpy).median);
}

struct Scenario {
    const char* name;
    void (*run)(const char* replay);
};
const Scenario kScenarios[] = {
    {"floors", [](const char*) { Floors(); }},
    {"loading", [](const char*) { ScenarioLoading(); }},
    {"typical", [](const char* r) { ScenarioTypical(r); }},
    {"stress", [](const char*) { ScenarioStress(); }},
    {"title", [](const char*) { ScenarioTitle(); }},
};

// Runs one scenario in a child process and gathers its lines; false when
// the scenario stopped with an error.
bool RunChild(void (*fn)(const char*), const char* arg, std::vector<std::pair<std::string, double>>& rows) {
    int fds[2];
    if (pipe(fds) != 0) return false;
    pid_t pid = fork();
    if (pid == 0) {
        gInChild = true;
        close(fds[0]);
        gOut = fdopen(fds[1], "w");
        gMostOpenFiles = 0;
        fn(arg);
        if (gCurrent) {
            Emit((std::string(gCurrent) + ".peak_rss_mb").c_str(), PeakRssMb());
            if (gMostOpenFiles) Emit((std::string(gCurrent) + ".open_files").c_str(), gMostOpenFiles);
        }
        std::fflush(gOut);
        _exit(0);
    }
    close(fds[1]);
    FILE* in = fdopen(fds[0], "r");
    char name[128];
    double v;
    while (std::fscanf(in, "%127s %lf", name, &v) == 2) rows.push_back({name, v});
    std::fclose(in);
    int status = 0;
    if (pid < 0 || waitpid(pid, &status, 0) != pid) return false;
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

void PrintTable(const std::vector<std::pair<std::string, double>>& rows) {
    auto get = [&](const std::string& n) {
        for (auto& r : rows)
            if (r.first == n) return r.second;
        return 0.0;
    };
    double cpy = get("floor.memcpy");
    std::printf("%-28s %12s %12s\n", "figure", "ms", "x memcpy");
    for (auto& r : rows) {
        const std::string& n = r.first;
        if (n.find(".allocs") != std::string::npos || n.find(".frames") != std::string::npos ||
            n.find(".peak_rss_mb") != std::string::npos || n.find(".open_files") != std::string::npos ||
            n == "sprites.count" || n == "loading.bitmaps") {
            std::printf("%-28s %12.0f\n", n.c_str(), r.second);
            continue;
        }
        std::printf("%-28s %12.4f %12.2f\n", n.c_str(), r.second, cpy > 0 ? r.second / cpy : 0.0);
    }
    double sdl = get("floor.sdlblit"), ours = get("sprites.ours");
    if (sdl > 0) std::printf("%-28s %12.2f\n", "sprites: ours / SDL RLE", ours / sdl);
    std::printf("%-28s %12.1f%%\n", "stress frame / 4 ms step", get("stress.frame.mean") / 4.0 * 100);
    // Drawn on every frame whose picture is shown (about one in four at
    // 60 Hz); taken here as if on all of them.
    if (get("stress.frame.mean") > 0)
        std::printf("%-28s %12.2f%% (2%% at most)\n", "ghost / stress frame",
                    get("stress.ghost.draw") / get("stress.frame.mean") * 100);
}

}  // namespace

// qs_framebench [--only SCENARIO] [--instr] [REPLAY]
//   --only   one scenario, in this process (for profilers)
//   --instr  fewer frames and no timing: for counting instructions under
//            callgrind, which counts DrawnFrame, UndrawnFrame, PresentFrame
int main(int argc, char** argv) {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    const char* only = nullptr;
    std::string replay = QS_SOURCE_DIR "/tests/golden/stage1_normal.qsr";
    for (int i = 1; i < argc; i++) {
        if (!std::strcmp(argv[i], "--only") && i + 1 < argc) only = argv[++i];
        else if (!std::strcmp(argv[i], "--instr")) gInstr = true;
        else replay = argv[i];
    }
    char tmpl[] = "/tmp/qs_bench_XXXXXX";
    gHome = mkdtemp(tmpl);
    // A score record to start from, so that no run complains of a missing one.
    if (FILE* f = std::fopen((gHome + "/score.dat").c_str(), "wb")) {
        static const unsigned char zero[1088] = {};
        std::fwrite(zero, 1, sizeof zero, f);
        std::fclose(f);
    }
    std::vector<std::pair<std::string, double>> rows;
    int status = 0;
    if (only) {
        gOut = stdout;
        const Scenario* found = nullptr;
        for (const Scenario& sc : kScenarios)
            if (!std::strcmp(sc.name, only)) found = &sc;
        if (found) {
            gCurrent = found->name;
            found->run(replay.c_str());
        }
        else {
            std::fprintf(stderr, "qs_framebench: no scenario '%s'\n", only);
            status = 2;
        }
    } else {
        std::string failed;
        for (const Scenario& sc : kScenarios) {
            gCurrent = std::strcmp(sc.name, "floors") ? sc.name : nullptr;
            if (!RunChild(sc.run, replay.c_str(), rows)) failed += std::string(" ") + sc.name;
        }
        gCurrent = nullptr;
        PrintTable(rows);
        if (!failed.empty()) {
            std::fprintf(stderr, "qs_framebench: scenarios not as stated:%s\n", failed.c_str());
            status = 1;
        }
    }
    std::system(("rm -rf '" + gHome + "'").c_str());
    return status;
}
