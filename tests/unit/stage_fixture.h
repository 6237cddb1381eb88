// The stage-flow test bench shared by the stage tests: the stage-flow part
// of a game frame and a stand-in for the player who clears the screen.
#pragma once
#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <string>

#include "enemy/spawners.h"
#include "entity/entity.h"
#include "game/frame.h"
#include "game/game.h"
#include "game/stage.h"
#include "shell/shell.h"
#include "game_reset.h"

// The pools whose enemies count in MidEnemyCount (the satellite, eisei,
// lives in BEnemy2), and the others.
struct CountedPool {
    SpriteData* pool;
    int size;
};
const CountedPool MidPools[] = {{chuugata, CHUUGATA_MAX},  {chuugata2, CHUUGATA_MAX}, {chuugata4, CHUUGATA_MAX},
                                {chuugata5, CHUUGATA_MAX}, {chuugata6, CHUUGATA_MAX}, {chuugata7, CHUUGATA_MAX},
                                {chuugata8, CHUUGATA_MAX}, {chuugata9, CHUUGATA_MAX}, {BEnemy2, BENEMY_MAX}};
SpriteData* const SmallPools[] = {Enemy,  Enemy2,  Enemy3,  Enemy4,  Enemy5, Enemy6, Enemy7,
                                  Enemy8, Enemy9,  Enemy10, Enemy11, HARO,   BEnemy, BEnemy3, BEnemy4};

class StageTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetGameState();
        RandState = 1;
        for (SpriteData* boss : {BOSS1, BOSS2, BOSS3, BOSS4, BOSS5}) boss[0].hp = 0;
        SpawnLogClear();
        SpawnLogOn = true;
    }
    void TearDown() override {
        SpawnLogOn = false;
        SpawnLogClear();
        SpriteClearAll();
        StageFlowReset();
        StageNo = 1;
    }

    // The stage-flow part of a game frame: the script, the accumulators,
    // the late drawing, the stage-clear wipe.
    void Frame() {
        frame++;
        StageScript();
        StepTimer += FrameStep;
        StepTimer2 += FrameStep;
        StageLateDraw();  // also lets stage 5's fortress front come in
        StageClearWipe();
    }

    // Small enemies leave at once; a mid-size enemy dies at the end of the
    // 200th frame after the one it came in.
    void PlayersAtWork() {
        for (SpriteData* pool : SmallPools)
            for (int i = 0; i < ENEMY_MAX; i++) pool[i].flag = false;
        static_assert(BENEMY_MAX == ENEMY_MAX, "one size for the small pools");
        for (const CountedPool& mid : MidPools) {
            for (int i = 0; i < mid.size; i++) {
                SpriteData* s = &mid.pool[i];
                if (!s->flag) continue;
                auto it = born.find(s);
                if (it == born.end()) it = born.emplace(s, frame).first;
                if (frame - it->second >= 200) {
                    SpriteRelease(*s);
                    MidEnemyCount--;
                    born.erase(it);
                }
            }
        }
    }

    // Runs whole frames until `done` holds; false after `limit` frames.
    template <typename Done>
    bool RunUntil(Done done, int limit) {
        for (int i = 0; i < limit; i++) {
            Frame();
            PlayersAtWork();
            if (done()) return true;
        }
        return false;
    }

    int Logged(const char* name) {
        int n = 0;
        for (int i = 0; i < SpawnLogCount; i++) n += std::string(SpawnLog[i].name) == name;
        return n;
    }

    int frame = 0;
    std::map<SpriteData*, int> born;
};


// One spawn as "<frame> <spawner> <x> <y> <angle> <speed> [<fifth>]".
inline std::string Line(int frame, const SpawnLogEntry& e) {
    char buf[160];
    int n = std::snprintf(buf, sizeof buf, "%d %s %g %g %d %g", frame, e.name, e.x, e.y, e.angle, e.speed);
    if (e.hasExtra) std::snprintf(buf + n, sizeof buf - n, " %d", e.extra);
    return buf;
}
