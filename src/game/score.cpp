// Loading and saving "score.dat".
#include "game/score.h"

#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <ctime>

#include "config/paths.h"
#include "config/recordpath.h"
#include "platform/files.h"
#include "platform/msgbox.h"
#include "core/core.h"

DAT dat;
bool DatLoaded;

static const char* const kOpenErrorCaption = "おーぷんえらー";
static const char* const kLoadError = "ハイスコアがロードできないよ～";
static const char* const kSaveError = "ハイスコアがセーブできないよ～";

// ---- Little-endian field packing -------------------------------------

namespace {

struct Writer {
    uint8_t* p;
    void u8s(const void* src, size_t n) { std::memcpy(p, src, n); p += n; }
    void i32(int32_t v) {
        uint32_t u = (uint32_t)v;
        for (int i = 0; i < 4; i++) *p++ = (uint8_t)(u >> (8 * i));
    }
    void i16(int16_t v) { u16((uint16_t)v); }
    void u16(uint16_t v) { *p++ = (uint8_t)v; *p++ = (uint8_t)(v >> 8); }
    void i64(int64_t v) {
        uint64_t u = (uint64_t)v;
        for (int i = 0; i < 8; i++) *p++ = (uint8_t)(u >> (8 * i));
    }
    void f32(float v) {
        uint32_t u;
        std::memcpy(&u, &v, 4);
        i32((int32_t)u);
    }
    void stamp(const DATTIME& t) { i32(t.time); u16(t.millitm); i16(t.tzwest); i16(t.dstflag); u8s(t.pad, 2); }
};

struct Reader {
    const uint8_t* p;
    void u8s(void* dst, size_t n) { std::memcpy(dst, p, n); p += n; }
    uint32_t u32() {
        uint32_t u = 0;
        for (int i = 0; i < 4; i++) u |= (uint32_t)*p++ << (8 * i);
        return u;
    }
    int32_t i32() { return (int32_t)u32(); }
    uint16_t u16() { uint16_t v = (uint16_t)(p[0] | (p[1] << 8)); p += 2; return v; }
    int16_t i16() { return (int16_t)u16(); }
    int64_t i64() {
        uint64_t u = 0;
        for (int i = 0; i < 8; i++) u |= (uint64_t)*p++ << (8 * i);
        return (int64_t)u;
    }
    float f32() {
        uint32_t u = u32();
        float v;
        std::memcpy(&v, &u, 4);
        return v;
    }
    void stamp(DATTIME& t) { t.time = i32(); t.millitm = u16(); t.tzwest = i16(); t.dstflag = i16(); u8s(t.pad, 2); }
};

}  // namespace

void DatToBytes(const DAT& d, uint8_t out[DAT_SIZE]) {
    Writer w{out};
    w.i64(d.score);
    w.i64(d.hiscore);
    w.u8s(d.reserved0, sizeof d.reserved0);
    w.u8s(d.scoretext, sizeof d.scoretext);
    w.u8s(d.hiscoretext, sizeof d.hiscoretext);
    w.u8s(d.reserved1, sizeof d.reserved1);
    w.i32(d.playcount);
    for (int64_t v : d.runscore) w.i64(v);
    w.u8s(d.reserved2, sizeof d.reserved2);
    for (auto& set : d.runjewel) for (int32_t v : set) w.i32(v);
    for (int64_t v : d.stagebest) w.i64(v);
    w.u8s(d.reserved3, sizeof d.reserved3);
    for (auto& set : d.stagebestjewel) for (int32_t v : set) w.i32(v);
    for (int64_t v : d.clearbest) w.i64(v);
    w.u8s(d.reserved4, sizeof d.reserved4);
    for (auto& set : d.clearbestjewel) for (int32_t v : set) w.i32(v);
    for (int64_t v : d.bestrun) w.i64(v);
    w.u8s(d.reserved5, sizeof d.reserved5);
    for (auto& set : d.bestrunjewel) for (int32_t v : set) w.i32(v);
    w.i32(d.clearcount);
    w.i32(d.deaths);
    w.stamp(d.savetime);
    w.stamp(d.bestruntime);
    w.f32(d.speed);
    w.u8s(d.reserved6, sizeof d.reserved6);
}

void DatFromBytes(DAT& d, const uint8_t* in, size_t size) {
    // What the file does not hold reads as zero bytes.
    uint8_t buf[DAT_SIZE] = {};
    if (size > DAT_SIZE) size = DAT_SIZE;
    if (size > 0) std::memcpy(buf, in, size);
    Reader r{buf};
    d.score = r.i64();
    d.hiscore = r.i64();
    r.u8s(d.reserved0, sizeof d.reserved0);
    r.u8s(d.scoretext, sizeof d.scoretext);
    r.u8s(d.hiscoretext, sizeof d.hiscoretext);
    r.u8s(d.reserved1, sizeof d.reserved1);
    d.playcount = r.i32();
    for (int64_t& v : d.runscore) v = r.i64();
    r.u8s(d.reserved2, sizeof d.reserved2);
    for (auto& set : d.runjewel) for (int32_t& v : set) v = r.i32();
    for (int64_t& v : d.stagebest) v = r.i64();
    r.u8s(d.reserved3, sizeof d.reserved3);
    for (auto& set : d.stagebestjewel) for (int32_t& v : set) v = r.i32();
    for (int64_t& v : d.clearbest) v = r.i64();
    r.u8s(d.reserved4, sizeof d.reserved4);
    for (auto& set : d.clearbestjewel) for (int32_t& v : set) v = r.i32();
    for (int64_t& v : d.bestrun) v = r.i64();
    r.u8s(d.reserved5, sizeof d.reserved5);
    for (auto& set : d.bestrunjewel) for (int32_t& v : set) v = r.i32();
    d.clearcount = r.i32();
    d.deaths = r.i32();
    r.stamp(d.savetime);
    r.stamp(d.bestruntime);
    d.speed = r.f32();
    r.u8s(d.reserved6, sizeof d.reserved6);
    // The texts are rebuilt every frame and never longer than 19 digits;
    // a damaged file must not leave them unterminated.
    d.scoretext[sizeof d.scoretext - 1] = '\0';
    d.hiscoretext[sizeof d.hiscoretext - 1] = '\0';
}

// ---- The file -----------------------------------------------------------

const char* RecordProgramDir;
int RecordProgramDirWritable = -1;

static RecordPaths Place() {
    const char* prog = RecordProgramDir ? RecordProgramDir : Plat_ProgramDir();
    if (!prog) prog = "./";
    bool writable = RecordProgramDirWritable >= 0 ? RecordProgramDirWritable != 0 : Plat_CanWriteDir(prog);
    return RecordPaths_Choose(HomeDir ? HomeDir : "", prog, writable);
}

static bool Fits(const std::string& path, char* out, size_t size) {
    if (path.size() >= size) return false;
    std::memcpy(out, path.c_str(), path.size() + 1);
    return true;
}

bool DataPath(char* out, size_t size) { return Fits(Place().save, out, size); }
bool DataLoadPath(char* out, size_t size) { return Fits(Place().load, out, size); }

void DataStampTime(DATTIME* t) {
    using namespace std::chrono;
    auto now = system_clock::now().time_since_epoch();
    long long ms = duration_cast<milliseconds>(now).count();
    time_t secs = (time_t)(ms / 1000);
    tzset();
    struct tm local;
    localtime_r(&secs, &local);
    t->time = (int32_t)(uint32_t)(uint64_t)secs;  // the field holds 32 bits
    t->millitm = (uint16_t)(ms % 1000);
    t->tzwest = (int16_t)(timezone / 60);
    t->dstflag = (int16_t)(local.tm_isdst > 0 ? 1 : 0);
    t->pad[0] = t->pad[1] = 0;
}

// A game comes with its empty record: the first start of a new player
// writes the all-zero record to their folder, so the load finds it instead
// of complaining. Only the player's own folder gets one: a --home folder
// is taken exactly as it is, and a record read from beside the program
// is not the player's yet.
static void MakeFreshRecord() {
    if (HomeDir && *HomeDir) return;
    RecordPaths place = Place();
    if (!RecordPaths_NeedsFresh(place)) return;
    static const uint8_t zeros[DAT_SIZE] = {};
    if (!Plat_MakeDirs(place.folder) || !Plat_WriteFileAtomic(place.save.c_str(), zeros, sizeof zeros))
        std::fprintf(stderr, "quellstorm: cannot make the record %s: %s\n", place.save.c_str(), std::strerror(errno));
}

void DataLoad() {
    DatLoaded = true;
    char path[1024];
    uint8_t buf[DAT_SIZE];
    // A playback carries the record its run started from: the player's own
    // file is neither read nor missed (nor made).
    bool playback = Recorder.playing && Recorder.playing();
    if (!playback) MakeFreshRecord();
    errno = 0;
    long got = playback ? 0 : DataLoadPath(path, sizeof path) ? Plat_ReadFile(path, buf, sizeof buf) : -1;
    if (got < 0) {
        // dat keeps what it holds (all zero at start-up). A record that is
        // there but unreadable is named, with the reason, besides the box.
        if (errno && errno != ENOENT) std::fprintf(stderr, "quellstorm: cannot read the record %s: %s\n", path, std::strerror(errno));
        Shell_MessageBox(kLoadError, kOpenErrorCaption);
    } else {
        DatFromBytes(dat, buf, (size_t)got);
    }
    // A recording keeps the record the run started from; a playback starts
    // from that same record whatever the player's file holds now.
    DatToBytes(dat, buf);
    if (Recorder.filterDat) Recorder.filterDat(buf);
    DatFromBytes(dat, buf, sizeof buf);
    // A damaged correction would stop or race the whole game.
    float speed = dat.speed;
    SpeedAdjust = (std::isfinite(speed) && speed >= 0.0f) ? speed : 0.0f;
    for (int64_t& v : dat.runscore) v = 0;
}

void DataStoreSpeed() { dat.speed = SpeedAdjust; }

static DAT sHeld;  // the record a stage practice found
static bool sHolding;

void DataHoldForPractice() {
    if (Recorder.playing && Recorder.playing()) return;
    sHeld = dat;
    sHeld.speed = SpeedAdjust;  // as the game starts with it
    sHolding = true;
}

void DataEndPractice() { sHolding = false; }

void DataSave() {
    // Before the record has been read, all we hold is the blank start-up
    // record: writing it would wipe the player's scores.
    if (!DatLoaded) return;
    // A playback never writes over the player's own record.
    if ((Recorder.playing && Recorder.playing())) return;
    if (Recorder.flush) Recorder.flush();
    // During a stage practice the record is the one it found: written
    // only for a new speed correction.
    if (sHolding && sHeld.speed == SpeedAdjust) return;
    DAT& out = sHolding ? sHeld : dat;
    DataStampTime(&out.savetime);
    out.speed = SpeedAdjust;
    uint8_t buf[DAT_SIZE];
    DatToBytes(out, buf);
    // The record's folder is made on the first save.
    RecordPaths place = Place();
    if (!place.folder.empty()) Plat_MakeDirs(place.folder);
    char path[1024];
    bool fits = Fits(place.save, path, sizeof path);
    if (!fits || !Plat_WriteFileAtomic(path, buf, sizeof buf)) {
        // The box says only that it failed: standard error says where and why.
        std::fprintf(stderr, "quellstorm: cannot save the record %s: %s\n", place.save.c_str(),
                     fits ? std::strerror(errno) : "the path is too long");
        Shell_MessageBox(kSaveError, kOpenErrorCaption);
    }
}
