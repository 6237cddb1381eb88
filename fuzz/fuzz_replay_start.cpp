// A kept game's file as the game plays it: its start read and made into a
// game (the typed start through NewGame, an older file's image checked and
// put in place), then up to 500 frames of its inputs played and verified.
// Seeded with kept files of both versions (fuzz/corpus/replay_start/).
#include "game/game.h"
#include "game/scene.h"
#include "platform/display.h"
#include "platform/events.h"
#include "platform/input.h"
#include "platform/time.h"
#include "render/render.h"
#include "shell/frameloop.h"
#include "shell/replay.h"
#include "shell/savestate.h"
#include "shell/shell.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

std::string gDir;
std::vector<uint8_t> gLoaded;  // the game as the loading pass leaves it

void StartOnce() {
    char tmpl[] = "/tmp/qs-fuzz-start-XXXXXX";
    gDir = std::string(mkdtemp(tmpl)) + "/";
    setenv("XDG_CONFIG_HOME", gDir.c_str(), 1);
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    std::string home = gDir;
    const char* args[] = {"quellstorm", "--headless", "--draw-every", "0", "--home", home.c_str()};
    if (Shell_Start(6, const_cast<char**>(args)) != 1) std::abort();
    ReplayQuiet = true;
    LoadEverything();
    gLoaded.resize(State_MaxBytes());
    gLoaded.resize(State_Save(gLoaded.data(), gLoaded.size()));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static bool started = (StartOnce(), true);
    (void)started;
    State_Load(gLoaded.data(), gLoaded.size());
    std::string path = gDir + "input.qsr";
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return 0;
    std::fwrite(data, 1, size, f);
    std::fclose(f);
    if (!Replay_Play(path.c_str(), true)) {
        Replay_Stop();
        return 0;
    }
    if (Replay_IsGame() && Replay_StartGame()) {
        for (long frame = 1; frame <= 500; frame++) {
            Plat_AdvanceFrame();
            Replay_BeginFrame(frame);
            PlatEvent ev;
            bool leave = false;
            while (Plat_PollEvent(&ev))
                if (ev.type == PLAT_EV_KEYDOWN) {
                    if (ev.key == VK_ESCAPE) leave = true;  // the window would close
                    else if (!leave) Event_Proc(ev.key, hwnd);
                }
            if (leave) break;
            Plat_SetDrawing(false);
            DD_BackInit();
            Main_Proc(hwnd);
            if (!Replay_EndFrame(frame)) break;
        }
    }
    Replay_Stop();
    return 0;
}
