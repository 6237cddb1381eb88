#include "shell/ghosts.h"
#include "config/ghosttrack.h"
#include "config/replayfile.h"
#include "config/options.h"
#include "entity/entity.h"
#include "game/game.h"
#include "game/scene.h"
#include "game/score.h"
#include "platform/files.h"

#include <cstdio>
#include <cstdlib>

namespace {

GhostTrackWriter gWriter;
bool gGameFrame;    // the frame running is one of play
bool gFollowing;    // the last frame was one of play: the same game goes on

}  // namespace

void Ghosts_FrameBegins() { gGameFrame = Scene == SCENE_GAME; }

void Ghosts_FrameEnded() {
    if (!gGameFrame) {
        gFollowing = false;
        return;
    }
    if (!gFollowing) {
        // A new game: its first frame of play has just run. Room for an
        // hour of play is set aside now rather than grown while it plays.
        GhostTrack_Begin(&gWriter, REPLAY_SIM, OPTION.Difficulty, StageNo, 900000);
        gFollowing = true;
    }
    // The frame that went back to the title has cleared the score; its
    // score line still shows the final one.
    int64_t score = Scene == SCENE_GAME ? (int64_t)dat.score : (int64_t)std::atoll(dat.scoretext);
    GhostTrack_Add(&gWriter, P_Ship.x, P_Ship.y, P_Ship.flag, StageNo, score);
}

std::string Ghosts_TrackFile() { return GhostTrack_File(gWriter); }

bool Ghosts_WriteTrack(const std::string& path) {
    std::string file = Ghosts_TrackFile();
    if (Plat_WriteFileAtomic(path.c_str(), file.data(), file.size())) return true;
    std::fprintf(stderr, "quellstorm: cannot write the track %s\n", path.c_str());
    return false;
}

