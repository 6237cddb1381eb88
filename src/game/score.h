// The persistent record "score.dat": scores, statistics, per-stage records,
// time stamps and the speed correction, 1088 bytes little-endian.
#pragma once
#include <cstddef>
#include <cstdint>

// A time stamp: seconds since 1970-01-01 UTC, milliseconds, minutes west
// of UTC (standard time) and the daylight-saving flag.
struct DATTIME {
    int32_t time;
    uint16_t millitm;
    int16_t tzwest;     // minutes west of UTC
    int16_t dstflag;
    uint8_t pad[2];
};

// A jewel set: the five jewel counts of one stage, kinds 0..4.
// Stage index k = stage number - 1.
struct DAT {
    int64_t score;                 // score of the game in progress
    int64_t hiscore;               // best score ever
    uint8_t reserved0[8];
    char scoretext[20];            // decimal text of score, NUL-padded
    char hiscoretext[20];          // decimal text of hiscore
    uint8_t reserved1[20];
    int32_t playcount;             // games started
    int64_t runscore[5];           // score at the clear of stage k, this run
    uint8_t reserved2[100];
    int32_t runjewel[5][5];        // jewel sets at the clear of stage k, this run
    int64_t stagebest[5];          // best score gained within stage k alone
    uint8_t reserved3[100];
    int32_t stagebestjewel[5][5];
    int64_t clearbest[5];          // best total score at the clear of stage k
    uint8_t reserved4[100];
    int32_t clearbestjewel[5][5];
    int64_t bestrun[5];            // run scores of the best run through stage 5
    uint8_t reserved5[100];
    int32_t bestrunjewel[5][5];
    int32_t clearcount;            // games finished through the ending
    int32_t deaths;                // ships lost in all games
    DATTIME savetime;              // stamped by DataSave
    DATTIME bestruntime;           // stamped when a new best run is recorded
    float speed;                   // SpeedAdjust
    uint8_t reserved6[4];
};

enum { DAT_SIZE = 1088 };

static_assert(sizeof(DATTIME) == 12, "time stamp is 12 bytes");
static_assert(sizeof(DAT) == DAT_SIZE, "score.dat is 1088 bytes");
static_assert(offsetof(DAT, hiscore) == 8, "");
static_assert(offsetof(DAT, reserved0) == 16, "");
static_assert(offsetof(DAT, scoretext) == 24, "");
static_assert(offsetof(DAT, hiscoretext) == 44, "");
static_assert(offsetof(DAT, reserved1) == 64, "");
static_assert(offsetof(DAT, playcount) == 84, "");
static_assert(offsetof(DAT, runscore) == 88, "");
static_assert(offsetof(DAT, reserved2) == 128, "");
static_assert(offsetof(DAT, runjewel) == 228, "");
static_assert(offsetof(DAT, stagebest) == 328, "");
static_assert(offsetof(DAT, reserved3) == 368, "");
static_assert(offsetof(DAT, stagebestjewel) == 468, "");
static_assert(offsetof(DAT, clearbest) == 568, "");
static_assert(offsetof(DAT, reserved4) == 608, "");
static_assert(offsetof(DAT, clearbestjewel) == 708, "");
static_assert(offsetof(DAT, bestrun) == 808, "");
static_assert(offsetof(DAT, reserved5) == 848, "");
static_assert(offsetof(DAT, bestrunjewel) == 948, "");
static_assert(offsetof(DAT, clearcount) == 1048, "");
static_assert(offsetof(DAT, deaths) == 1052, "");
static_assert(offsetof(DAT, savetime) == 1056, "");
static_assert(offsetof(DAT, bestruntime) == 1068, "");
static_assert(offsetof(DAT, speed) == 1080, "");
static_assert(offsetof(DAT, reserved6) == 1084, "");

extern DAT dat;
// True once DataLoad has run (whether or not the file could be read).
extern bool DatLoaded;

// Reads "score.dat" into dat (a box when it cannot), then SpeedAdjust =
// the stored correction and the five run scores = 0.
void DataLoad();
// Stamps the save time, stores SpeedAdjust and writes dat to "score.dat"
// without ever losing the old file (a box when it cannot). Does nothing
// before DataLoad has run.
void DataSave();
// A stage practice is under way: until DataEndPractice, DataSave keeps
// the record as it is now, whatever play does to it (it writes it again
// only for a new speed correction). Not in a playback (which never saves).
void DataHoldForPractice();
void DataEndPractice();
// Copies SpeedAdjust into the record so the next save keeps it.
void DataStoreSpeed();
// The current time with milliseconds, time zone and daylight flag.
void DataStampTime(DATTIME* t);
// The full path DataSave writes "score.dat" to, and the one DataLoad reads:
// in HomeDir when set; else beside the program when a record lies there in
// a folder that can be written; else in $XDG_DATA_HOME/quellstorm/, read
// from beside the program until that copy exists. False when the path
// does not fit in `size`.
bool DataPath(char* out, size_t size);
bool DataLoadPath(char* out, size_t size);
// Tests: the folder that stands for the program's (null: the real one), and
// whether it counts as writable (-1: ask the system).
extern const char* RecordProgramDir;
extern int RecordProgramDirWritable;
// The file image of a record and back. DatFromBytes reads the first `size`
// bytes (at most 1088); the fields beyond them are 0.
void DatToBytes(const DAT& d, uint8_t out[DAT_SIZE]);
void DatFromBytes(DAT& d, const uint8_t* in, size_t size);
