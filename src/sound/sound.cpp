// Sound effects and the looping music.
#include "sound/sound.h"
#include "sound/midifile.h"
#include "sound/wave.h"
#include "platform/files.h"
#include "platform/msgbox.h"
#include "platform/music.h"
#include "config/datadir.h"
#include "core/core.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

PlatSound* Wave[100];
bool DSObject;
bool PlayFlg;
static char sTune[128];  // the open tune's game path

bool DS_INIT(PlatWindow*) {
    DSObject = Plat_AudioOpen(Plat_IsHeadless());
    if (!DSObject) Error("DirectSoundが生成できませんDirectSoundの使用が不可能です");
    return true;
}

void DS_END(PlatWindow*) {
    MIDI_Stop();
    for (PlatSound*& w : Wave) {
        Plat_SoundFree(w);
        w = nullptr;
    }
    Plat_AudioClose();
    DSObject = false;
}

// The boxes never say which file failed: standard error does, once.
static void EffectProblem(const char* path, const char* what) {
    std::fprintf(stderr, "quellstorm: sound effect %s: %s; it stays silent\n", path, what);
}

bool DS_LoadWave(PlatSound*& buffer, const char* file) {
    char rel[512], path[1024];
    Plat_GamePath(file, rel, sizeof rel);
    std::snprintf(path, sizeof path, "%s%s", DataDir(), rel);
    long size;
    // Effects are short; anything past 64 MiB is not one of ours.
    unsigned char* data = Plat_ReadWholeFile(path, &size, 64L * 1024 * 1024);
    if (!data) {
        if (size == -2) {
            EffectProblem(path, "the file is too large to be one of the game's effects");
            return Error("ウエイブデータ読み込みに失敗しました");
        }
        EffectProblem(path, std::strerror(errno));
        Shell_MessageBox("ファイルオープンに失敗しました", "Error");
        return false;
    }
    WaveInfo info;
    WaveResult r = Wave_Parse(data, (size_t)size, &info);
    if (r != WAVE_OK) {
        Plat_FreeFile(data);
        EffectProblem(path, Wave_Problem(r));
        return Error(Wave_Message(r));
    }
    if (!DSObject) {  // no device: the game runs silent
        Plat_FreeFile(data);
        return false;
    }
    PlatSound* s = Plat_SoundCreate(data + info.dataOffset, info.dataSize, info.channels, (int)info.rate, info.bits);
    Plat_FreeFile(data);
    if (!s) {
        EffectProblem(path, "the sound device cannot play its format (8 or 16 bits, 1 or 2 channels)");
        return Error("サウンドバッファの生成に失敗しました");
    }
    Plat_SoundFree(buffer);
    buffer = s;
    return true;
}

bool DS_Hushed;

void DS_Play(PlatSound* buffer) {
    if (!buffer || !DSObject || DS_Hushed) return;
    Plat_SoundPlay(buffer);
}

// A tune that cannot be played is named on standard error once a run,
// however often the game asks for it.
static bool FirstComplaint(const char* path) {
    static char told[16][1024];
    static int count;
    for (int i = 0; i < count; i++)
        if (!std::strncmp(told[i], path, sizeof told[i] - 1)) return false;
    if (count < 16) std::snprintf(told[count++], sizeof told[0], "%s", path);
    return true;
}

// The tune's file, read and checked; null (after saying why, once) when
// it is missing or damaged.
static unsigned char* ReadTune(const char* path, long* size) {
    // Our tunes are a few kilobytes; a megabyte is far more than any.
    unsigned char* data = Plat_ReadWholeFile(path, size, 1L << 20);
    const char* problem = nullptr;
    if (!data) problem = *size == -2 ? "the file is too large to be a tune" : std::strerror(errno);
    else if (MidiResult r = Midi_Check(data, (size_t)*size)) problem = Midi_Problem(r);
    if (!problem) return data;
    if (FirstComplaint(path)) std::fprintf(stderr, "quellstorm: tune %s: %s; it stays silent\n", path, problem);
    Plat_FreeFile(data);
    return nullptr;
}

void MIDI_Play(const char* file) {
    char rel[512], path[1024];
    Plat_GamePath(file, rel, sizeof rel);
    std::snprintf(path, sizeof path, "%s%s", DataDir(), rel);
    if (PlayFlg) MIDI_Stop();
    // As with the old sequencer, a tune that cannot be opened is silent.
    long size;
    if (DSObject) {
        unsigned char* data = ReadTune(path, &size);
        if (data && Plat_MusicOpenData(data, (size_t)size, path)) Plat_MusicPlay();
    }
    PlayFlg = true;
    std::snprintf(sTune, sizeof sTune, "%s", file);
}

void MIDI_Stop() {
    if (!PlayFlg) return;
    Plat_MusicClose();
    PlayFlg = false;
    sTune[0] = 0;
}

const char* MIDI_Tune() { return sTune; }

void MIDI_Pause(bool hold) {
    if (PlayFlg) Plat_MusicPause(hold);
}

// The tune's completion notice: while a tune is open and the device says it
// has stopped, play it again from the start.
void MIDI_Notify(bool successful) {
    if (!successful || !PlayFlg) return;
    if (Plat_MusicStopped()) Plat_MusicPlay();
}
