#include "shell/practice_keep.h"
#include "config/options.h"
#include "config/practice.h"
#include "config/replayfile.h"
#include "game/game.h"
#include "game/scene.h"
#include "game/score.h"
#include "platform/files.h"
#include "shell/kept_replays.h"

#include <cstdio>

namespace {

std::string gPath;    // practice.txt beside the record
bool gInGame;         // the last frame was one of play
int gDifficulty;      // the game's
int gFurthest;        // the furthest stage it has been on

void Save() {
    if (gPath.empty()) return;
    std::string text = Practice_Format(Practice);
    std::string folder = gPath.substr(0, gPath.rfind('/') + 1);
    if (!Plat_MakeDirs(folder) || !Plat_WriteFileAtomic(gPath.c_str(), text.data(), text.size()))
        std::fprintf(stderr, "quellstorm: cannot save the practice record %s\n", gPath.c_str());
}

// A player's own game: not the bot's, nor one with a testing aid.
bool OwnGame() { return Options.bot < 0 && !Options.invincible && !Options.startStage; }

// How far the kept games went on each difficulty (a player's first start
// with stage practice: their games so far open it).
void ReachedFromKeptGames(const std::string& dir) {
    for (const std::string& sub : {std::string(), std::string("kept/")})
        for (const std::string& name : Plat_ListDir(dir + sub)) {
            KeptName k;
            if (!Kept_ParseName(name, &k) || k.score < 0) continue;
            ReplayInfo info;
            if (ReplayFile_InspectPath(dir + sub + name, &info) && info.game && !info.bot && !info.invincible && !info.stageOption)
                Practice_Reached(Practice, info.difficulty, info.staffRoll > 0 ? 6 : info.stage);
        }
}

void GameEnded() {
    bool changed = Practice_Reached(Practice, gDifficulty, gFurthest);
    if (GameStartNoted.practice == PRACTICE_STAGE)
        for (int k = 0; k < 5; k++) changed = Practice_StageBest(Practice, k + 1, GameStageScore[k], GameStageJewel[k]) || changed;
    if (changed) Save();
}

}  // namespace

std::string PracticeKeep_Path() { return gPath; }

void PracticeKeep_Start(const std::string& replayDir) {
    char path[1024];
    if (!DataPath(path, sizeof path)) return;
    gPath = path;
    gPath = gPath.substr(0, gPath.rfind('/') + 1) + "practice.txt";
    long size;
    unsigned char* text = Plat_ReadWholeFile(gPath.c_str(), &size, 64 * 1024);
    if (text) {
        Practice = Practice_Parse(std::string(reinterpret_cast<const char*>(text), (size_t)size));
        Plat_FreeFile(text);
        return;
    }
    Practice = PracticeRecord();
    ReachedFromKeptGames(Plat_WithSlash(replayDir));
    // Read once: from now on the file says it.
    for (int r : Practice.reached)
        if (r > 1) {
            Save();
            return;
        }
}

void PracticeKeep_AfterFrame() {
    bool inGame = Scene == SCENE_GAME;
    if (inGame && !gInGame) {
        gDifficulty = OPTION.Difficulty;
        gFurthest = StageNo;
    }
    if (inGame && StageNo > gFurthest) gFurthest = StageNo;
    if (!inGame && gInGame) {
        if (OwnGame()) GameEnded();
        PracticeEnded();
    }
    gInGame = inGame;
}

void PracticeKeep_Close() {
    if (gInGame && OwnGame()) GameEnded();
    gInGame = false;
}
