// Enemy spawners: every small enemy, large enemy, mid-size enemy, boss
// drone, the last boss and the clouds enter play through one of these.
// Each takes the first free slot of its pool and fills it with the type's
// constants; a full pool drops the request silently. (x, y) is the top-left
// corner of the new box, `angle` the heading in whole degrees (0 right,
// 90 down), `speed` pixels per unit of FrameStep.
#pragma once

// Small enemies (pools Enemy ... Enemy11, HARO).
void zako1(float x, float y, int angle, float speed, int variant);  // variant: entry side and sheet column
void zako2(float x, float y, int angle, float speed);
void zako3(float x, float y, int angle, float speed);
void zako4(float x, float y, int angle, float speed);
void zako5(float x, float y, int angle, float speed);
void zako6(float x, float y, int angle, float speed);
void zako7(float x, float y, int angle, float speed);
void zako8(float x, float y, int angle, float speed, int mode);
void zako9(float x, float y, int angle, float speed);  // heads for the ship; angle unused
void zako10(float x, float y, int angle, float speed);
void zako11(float x, float y, int angle, float speed, int mode);
void haro(float x, float y, int angle, float speed);

// Large enemies (pools BEnemy ... BEnemy4).
void oozako1(float x, float y, int angle, float speed);
void eisei(float x, float y, int angle, float speed, int value);  // satellite, counts as mid-size
void robo(float x, float y, int angle, float speed);
void robo2(float x, float y, int angle, float speed);

// Mid-size enemies (pools chuugata ...); each raises MidEnemyCount.
void Chuugata(float x, float y, int angle, float speed);
void Chuugata2(float x, float y, int angle, float speed);
void Chuugata3(float x, float y, int angle, float speed);  // fills chuugata8
void Chuugata4(float x, float y, int angle, float speed, int value);
void Chuugata5(float x, float y, int angle, float speed);
void Chuugata6(float x, float y, int angle, float speed, int value);
void Chuugata7(float x, float y, int angle, float speed, int value);
void Chuugata9(float x, float y, int angle, float speed);

// Boss drones, the last boss and the stage-1 clouds.
void Bit(float x, float y, int angle, float speed, int mode);
void Lastboss(float x, float y, int angle, float speed);
void Kumo(float x, float y, int angle, float speed);

// Spawn log for tests: while SpawnLogOn is set, every spawner call (made
// or dropped) appends its name and arguments here, up to SPAWN_LOG_MAX
// entries; later calls are counted in SpawnLogLost.
enum { SPAWN_LOG_MAX = 4096 };
struct SpawnLogEntry {
    const char* name;
    float x, y;
    int angle;
    float speed;
    int extra;
    bool hasExtra;
};
extern bool SpawnLogOn;
extern int SpawnLogCount;
extern int SpawnLogLost;
extern SpawnLogEntry SpawnLog[SPAWN_LOG_MAX];
void SpawnLogClear();
// Appends one entry while the log is on (used by the spawners).
void SpawnLogAdd(const char* name, float x, float y, int angle, float speed, int extra, bool hasExtra);
