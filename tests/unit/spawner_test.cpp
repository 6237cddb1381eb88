#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <functional>
#include <vector>

#include "enemy/bullets.h"
#include "enemy/spawners.h"
#include "entity/entity.h"
#include "game/game.h"
#include "platform/msgbox.h"
#include "platform/sound.h"
#include "shell/shell.h"
#include "sound/sound.h"

namespace {

const float NOT_SET = -777.0f;  // a field the spawner must leave alone
const float RANDOM = -888.0f;   // a timer drawn from the generator

struct Row {
    const char* name;
    std::function<void()> spawn;  // at (100, 200), heading 90, speed 12.5
    SpriteData* pool;
    int slots;
    int w, h;
    float hp, timer;
    int frames, bmp;
    int mode;  // -1: not set
    float anim;
    int midCount;  // how much MidEnemyCount rises
};

std::vector<Row> Rows() {
    const float x = 100, y = 200, s = 12.5f;
    const int a = 90;
    return {
        {"zako1", [=] { zako1(x, y, a, s, 1); }, Enemy, 150, 64, 64, 2, 250, 20, 20, 0, 0, 0},
        {"zako2", [=] { zako2(x, y, a, s); }, Enemy2, 150, 64, 64, 3, RANDOM, 20, 21, 0, 0, 0},
        {"zako3", [=] { zako3(x, y, a, s); }, Enemy3, 150, 64, 64, 5, 250, 1, 22, 0, 0, 0},
        {"zako4", [=] { zako4(x, y, a, s); }, Enemy4, 150, 128, 128, 30, 200, 17, 23, 0, 5.0f, 0},
        {"zako5", [=] { zako5(x, y, a, s); }, Enemy5, 150, 128, 128, 30, 200, 23, 24, 0, 0, 0},
        {"zako6", [=] { zako6(x, y, a, s); }, Enemy6, 150, 100, 100, 100, RANDOM, 13, 25, 1, 0, 0},
        {"zako7", [=] { zako7(x, y, a, s); }, Enemy7, 150, 150, 150, 50, RANDOM, 10, 26, 0, 0, 0},
        {"zako8", [=] { zako8(x, y, a, s, 4); }, Enemy8, 150, 64, 64, NOT_SET, 20, 9, 27, 4, 0, 0},
        {"zako10", [=] { zako10(x, y, a, s); }, Enemy10, 150, 64, 64, 15, 10, 20, 29, 0, 0, 0},
        {"zako11", [=] { zako11(x, y, a, s, 3); }, Enemy11, 150, 64, 64, 1, 1, 10, 31, 3, 0, 0},
        {"haro", [=] { haro(x, y, a, s); }, HARO, 150, 64, 64, 20, RANDOM, 12, 30, -1, 0, 0},
        {"oozako1", [=] { oozako1(x, y, a, s); }, BEnemy, 150, 128, 128, 20, 250, 18, 40, 0, 0, 0},
        {"eisei", [=] { eisei(x, y, a, s, 1); }, BEnemy2, 150, 400, 400, 2000, 250, 16, 41, 0, 0, 1},
        {"robo", [=] { robo(x, y, a, s); }, BEnemy3, 150, 200, 200, 100, 150, 25, 42, 0, 0, 0},
        {"robo2", [=] { robo2(x, y, a, s); }, BEnemy4, 150, 256, 150, 1000, 10, 1, 43, 0, 0, 0},
        {"Chuugata", [=] { Chuugata(x, y, a, s); }, chuugata, 20, 256, 123, 350, 250, 1, 50, 0, 0, 1},
        {"Chuugata2", [=] { Chuugata2(x, y, a, s); }, chuugata2, 20, 200, 100, 100, 130, 1, 51, 0, 0, 1},
        {"Chuugata3", [=] { Chuugata3(x, y, a, s); }, chuugata8, 20, 500, 250, 5000, 250, 1, 52, 0, 0, 1},
        {"Chuugata4", [=] { Chuugata4(x, y, a, s, 1); }, chuugata4, 20, 300, 80, 500, 250, 6, 53, 0, 0, 1},
        {"Chuugata5", [=] { Chuugata5(x, y, a, s); }, chuugata5, 20, 200, 200, 800, 0, 25, 54, 0, 0, 1},
        {"Chuugata6", [=] { Chuugata6(x, y, a, s, 1); }, chuugata6, 20, 540, 240, 5000, 1000, 25, 55, 0, 0, 1},
        {"Chuugata7", [=] { Chuugata7(x, y, a, s, 1); }, chuugata7, 20, 540, 240, 4000, 50, 25, 56, 0, 0, 1},
        {"Chuugata9", [=] { Chuugata9(x, y, a, s); }, chuugata9, 20, 160, 160, 500, 100, 17, 57, 0, 0, 1},
        {"Bit", [=] { Bit(x, y, a, s, 2); }, bit, 8, 100, 100, 1000, 10, 9, 44, 2, 0, 0},
        {"Lastboss", [=] { Lastboss(x, y, a, s); }, LBOSS, 150, 400, 168, 40000, RANDOM, 1, 76, -1, 0, 0},
        {"Kumo", [=] { Kumo(x, y, a, s); }, kumo, 50, 200, 200, NOT_SET, NOT_SET, 1, 62, 0, 0, 0},
    };
}

// A used-up record: every field holds a value no spawner writes.
SpriteData Leftover() {
    SpriteData s;
    std::memset(&s, 0, sizeof s);
    s.mode = s.opt = s.opt2 = s.opt3 = -77;
    s.hp = s.timer = NOT_SET;
    s.time = s.fw[0] = s.fw[1] = s.gw[0] = 33.0f;
    s.iw[0] = s.iw[8] = s.num = s.loop = s.step = -5;
    s.frame = 7;
    s.anim = 3.0f;
    return s;
}

class SpawnerTest : public ::testing::Test {
protected:
    void SetUp() override {
        SpriteClearAll();
        MidEnemyCount = 0;
        StageNo = 1;
        RandState = 1;
        SpawnLogOn = false;
        SpawnLogClear();
    }
    void TearDown() override {
        SpriteClearAll();
        MidEnemyCount = 0;
        SpawnLogOn = false;
    }
};

TEST_F(SpawnerTest, EveryTypeGetsItsConstantsInTheFirstFreeSlot) {
    for (const Row& r : Rows()) {
        SCOPED_TRACE(r.name);
        for (int i = 0; i < r.slots; i++) r.pool[i] = Leftover();
        r.pool[0].flag = true;  // slot 0 taken: the spawn lands in slot 1
        MidEnemyCount = 0;
        uint32_t rand0 = RandState;
        r.spawn();
        const SpriteData& s = r.pool[1];
        ASSERT_TRUE(s.flag);
        EXPECT_FALSE(r.pool[2].flag);
        EXPECT_EQ(s.x, 100.0f);
        EXPECT_EQ(s.y, 200.0f);
        EXPECT_EQ(s.angle, 90.0f);
        EXPECT_NEAR(s.rad, 1.5700000f, 1e-6);  // 90 degrees with pi taken as 3.14
        EXPECT_NEAR(s.dx, std::cos(1.57), 1e-6);
        EXPECT_NEAR(s.dy, std::sin(1.57), 1e-6);
        EXPECT_EQ(s.speed, 12.5f);
        EXPECT_EQ(s.w, r.w);
        EXPECT_EQ(s.h, r.h);
        EXPECT_EQ(s.frames, r.frames);
        EXPECT_EQ(s.bmp, r.bmp);
        EXPECT_EQ(s.frame, 0);
        EXPECT_EQ(s.anim, r.anim);
        EXPECT_EQ(s.hp, r.hp);
        if (r.timer == RANDOM) {
            EXPECT_NE(RandState, rand0);
            EXPECT_GE(s.timer, 0.0f);
            EXPECT_EQ(s.timer, std::floor(s.timer));
        } else {
            EXPECT_EQ(s.timer, r.timer);
        }
        EXPECT_EQ(s.mode, r.mode == -1 ? -77 : r.mode);
        EXPECT_EQ(MidEnemyCount, r.midCount);
    }
}

TEST_F(SpawnerTest, ExtraFieldsOfEachType) {
    for (SpriteData* pool : {Enemy, Enemy7, Enemy8, BEnemy2, BEnemy4, chuugata, chuugata4, chuugata5,
                             chuugata6, chuugata7, bit})
        pool[0] = Leftover();
    zako1(0, 0, 180, 30, 1);
    EXPECT_EQ(Enemy[0].opt, 1);
    EXPECT_EQ(Enemy[0].opt3, 0);
    zako7(0, 0, 180, 30);
    EXPECT_EQ(Enemy7[0].step, 0);
    EXPECT_EQ(Enemy7[0].fw[0], 10.0f);
    zako8(0, 0, 180, 30, 2);
    EXPECT_EQ(Enemy8[0].time, 5.0f);
    eisei(0, 0, 180, 1, 6);
    EXPECT_EQ(BEnemy2[0].opt2, 6);
    EXPECT_EQ(BEnemy2[0].time, 0.0f);
    EXPECT_EQ(BEnemy2[0].fw[1], 0.0f);
    EXPECT_EQ(BEnemy2[0].num, 0);
    robo2(0, 0, 180, 5);
    EXPECT_EQ(BEnemy4[0].opt, 0);
    EXPECT_EQ(BEnemy4[0].opt2, 0);
    EXPECT_EQ(BEnemy4[0].time, 20.0f);
    Chuugata(0, 0, 180, 90);
    EXPECT_EQ(chuugata[0].num, 100000);
    EXPECT_EQ(chuugata[0].time, 0.0f);
    Chuugata4(0, 0, 180, 2, 1);
    EXPECT_EQ(chuugata4[0].opt2, 1);
    EXPECT_EQ(chuugata4[0].num, 100000);
    Chuugata5(0, 0, 180, 20);
    EXPECT_EQ(chuugata5[0].iw[0], 0);
    EXPECT_EQ(chuugata5[0].loop, 0);
    Chuugata6(0, 0, 180, 1.5f, 1);
    EXPECT_EQ(chuugata6[0].opt2, 1);
    EXPECT_EQ(chuugata6[0].gw[0], 0.0f);
    EXPECT_EQ(chuugata6[0].iw[0], 0);
    EXPECT_EQ(chuugata6[0].loop, 0);
    Chuugata7(0, 0, 180, 1, 0);
    EXPECT_EQ(chuugata7[0].opt2, 0);
    EXPECT_EQ(chuugata7[0].iw[8], 0);
    // A drone of mode 4 gets its turn rate; others keep what the slot had.
    bit[1] = Leftover();
    Bit(0, 0, 0, 1, 4);
    Bit(0, 0, 0, 1, 3);
    EXPECT_EQ(bit[0].gw[0], 10.0f);
    EXPECT_EQ(bit[1].gw[0], 33.0f);
    for (int i : {0, 1}) {
        EXPECT_EQ(bit[i].opt2, 0);
        EXPECT_EQ(bit[i].time, 0.0f);
        EXPECT_EQ(bit[i].fw[1], 0.0f);
        EXPECT_EQ(bit[i].num, 0);
        EXPECT_EQ(bit[i].iw[0], 0);
    }
    // Fields outside a type's list keep the old occupant's values.
    EXPECT_EQ(Enemy7[0].opt, -77);
    EXPECT_EQ(chuugata[0].iw[0], -5);
    // The big cruiser never goes into chuugata3.
    Chuugata3(0, 0, 0, 20);
    EXPECT_TRUE(chuugata8[0].flag);
    for (const SpriteData& s : chuugata3) EXPECT_FALSE(s.flag);
}

TEST_F(SpawnerTest, Zako1DrawsItsPowerThenItsChance) {
    for (int stage : {1, 5}) {
        StageNo = stage;
        for (int n = 0; n < 50; n++) {
            uint32_t saved = RandState;
            int power = my_rand(1, 5);
            int chance = my_rand(0, stage);
            RandState = saved;
            SpriteData* s = &Enemy[n];
            zako1(640, 0, 180, 30, 0);
            ASSERT_TRUE(s->flag);
            EXPECT_EQ(s->opt2, power * chance);
            EXPECT_GE(s->opt2, 0);
            EXPECT_LE(s->opt2, 5 * stage);
        }
        SpriteClearAll();
    }
}

TEST_F(SpawnerTest, AFullPoolDropsTheSpawnWithoutAnyEffect) {
    for (int i = 0; i < ENEMY_MAX; i++) zako1(640, i, 180, 30, 0);
    ASSERT_TRUE(Enemy[ENEMY_MAX - 1].flag);
    std::vector<unsigned char> before((unsigned char*)Enemy, (unsigned char*)(Enemy + ENEMY_MAX));
    uint32_t rand0 = RandState;
    zako1(1, 2, 3, 4, 1);
    EXPECT_EQ(0, std::memcmp(before.data(), Enemy, sizeof Enemy));
    EXPECT_EQ(RandState, rand0);  // no draws for a dropped spawn

    // A freed slot is the next one used, lowest first.
    SpriteRelease(Enemy[70]);
    SpriteRelease(Enemy[12]);
    zako1(5, 6, 180, 30, 0);
    EXPECT_EQ(Enemy[12].x, 5.0f);
    EXPECT_FALSE(Enemy[70].flag);

    // Drones have eight slots, clouds fifty.
    for (int i = 0; i < 9; i++) Bit(0, 0, 0, 1, 0);
    EXPECT_TRUE(bit[7].flag);
    for (int i = 0; i < 60; i++) Kumo(0, 0, 180, 0.9f);
    EXPECT_TRUE(kumo[49].flag);
}

TEST_F(SpawnerTest, MidEnemyCountFollowsTheSlotsFound) {
    for (int i = 0; i < CHUUGATA_MAX; i++) Chuugata(0, 0, 180, 90);
    for (int i = 0; i < CHUUGATA_MAX; i++) Chuugata6(0, 0, 180, 1, 0);
    eisei(0, 0, 180, 1, 0);
    zako1(0, 0, 180, 1, 0);
    oozako1(0, 0, 180, 1);
    EXPECT_EQ(MidEnemyCount, 41);
    // Full pools: the family counts only what it placed, except Chuugata6
    // and Chuugata7, which count first and look for a slot after.
    Chuugata(0, 0, 180, 90);
    EXPECT_EQ(MidEnemyCount, 41);
    Chuugata6(0, 0, 180, 1, 0);
    EXPECT_EQ(MidEnemyCount, 42);
    for (int i = 0; i < BENEMY_MAX; i++) BEnemy2[i].flag = true;
    eisei(0, 0, 180, 1, 0);
    EXPECT_EQ(MidEnemyCount, 42);
}

TEST_F(SpawnerTest, Zako9HeadsForTheShipAndPlaysItsSound) {
    SpriteData ship = P_Ship;
    P_Ship.x = 300;
    P_Ship.y = 97;
    P_Ship.w = 64;
    P_Ship.h = 65;  // centre (332, 129): halves are whole numbers
    for (int angle : {0, 180, 270}) {
        zako9(500, 300, angle, 10);
    }
    float expect = my_atan(532, 332, 332, 129);
    for (int i = 0; i < 3; i++) {
        const SpriteData& s = Enemy9[i];
        EXPECT_EQ(s.rad, expect);
        EXPECT_EQ(s.angle, expect);  // radians, whatever the caller passed
        EXPECT_NEAR(s.dx, std::cos(expect), 1e-6);
        EXPECT_NEAR(s.dy, std::sin(expect), 1e-6);
        EXPECT_EQ(s.timer, 10.0f);
        EXPECT_EQ(s.bmp, 28);
    }
    // From the right and below: up and to the left.
    EXPECT_LT(Enemy9[0].dx, 0.0f);
    EXPECT_LT(Enemy9[0].dy, 0.0f);
    P_Ship = ship;

    // The sound comes with every enemy that gets a slot, not with a dropped one.
    Plat_SetHeadless(true);
    DS_INIT(nullptr);
    ASSERT_TRUE(DSObject);
    std::vector<short> pcm(22050);
    PlatSound* sound = Plat_SoundCreate(pcm.data(), pcm.size() * 2, 1, 22050, 16);
    ASSERT_NE(sound, nullptr);
    Wave[9] = sound;
    zako9(0, 0, 0, 10);
    EXPECT_TRUE(Plat_SoundPlaying(sound));
    Plat_SoundFree(sound);
    sound = Plat_SoundCreate(pcm.data(), pcm.size() * 2, 1, 22050, 16);
    Wave[9] = sound;
    for (int i = 0; i < ENEMY_MAX; i++) Enemy9[i].flag = true;
    zako9(0, 0, 0, 10);
    EXPECT_FALSE(Plat_SoundPlaying(sound));
    Wave[9] = nullptr;
    Plat_SoundFree(sound);
    DS_END(nullptr);
}

TEST(AimTest, HeadingsInTheGamesRadians) {
    EXPECT_NEAR(my_atan(0, 0, 0, 10), 1.5708f, 1e-4);   // straight down
    EXPECT_EQ(my_atan(10, 0, 0, 0), 180 * 0.017444444f);  // straight left: 3.14
    EXPECT_NEAR(my_atan(0, 10, 10, 0), 5.4946f, 1e-4);  // up and right
    EXPECT_NEAR(my_atan(0, 0, 10, 10), 0.7854f, 1e-4);
    EXPECT_NEAR(my_atan(0, 0, -10, -10), 0.7854f + 3.14f, 1e-4);
    EXPECT_NEAR(my_atan(0, 10, 0, 0), 6.28f - 1.5708f, 1e-4);  // straight up
}

TEST_F(SpawnerTest, TheLogKeepsEveryCallMadeOrDropped) {
    SpawnLogOn = true;
    for (int i = 0; i < CHUUGATA_MAX; i++) chuugata4[i].flag = true;
    Chuugata4(640, 220, 180, 2.0f, 1);
    zako3(650, 30, 180, 40);
    ASSERT_EQ(SpawnLogCount, 2);
    EXPECT_STREQ(SpawnLog[0].name, "Chuugata4");
    EXPECT_TRUE(SpawnLog[0].hasExtra);
    EXPECT_EQ(SpawnLog[0].extra, 1);
    EXPECT_EQ(SpawnLog[0].speed, 2.0f);
    EXPECT_STREQ(SpawnLog[1].name, "zako3");
    EXPECT_FALSE(SpawnLog[1].hasExtra);
    EXPECT_EQ(SpawnLog[1].y, 30.0f);
    SpawnLogOn = false;
    zako3(0, 0, 0, 0);
    EXPECT_EQ(SpawnLogCount, 2);
}

}  // namespace
