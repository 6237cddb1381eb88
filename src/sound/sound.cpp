// Sound effects and the looping music.
#include "sound/sound.h"
#include "sound/wave.h"
#include "platform/files.h"
#include "platform/msgbox.h"
#include "platform/music.h"
#include "shell/shell.h"

#include <cstdio>

PlatSound* Wave[100];
bool DSObject;
bool PlayFlg;

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

bool DS_LoadWave(PlatSound*& buffer, const char* file) {
    char rel[512], path[1024];
    Plat_GamePath(file, rel, sizeof rel);
    std::snprintf(path, sizeof path, "%s%s", Plat_ProgramDir(), rel);
    long size;
    // Effects are short; anything past 64 MiB is not one of ours.
    unsigned char* data = Plat_ReadWholeFile(path, &size, 64L * 1024 * 1024);
    if (!data) {
        if (size == -2) return Error("ウエイブデータ読み込みに失敗しました");
        Shell_MessageBox("ファイルオープンに失敗しました", "Error");
        return false;
    }
    WaveInfo info;
    WaveResult r = Wave_Parse(data, (size_t)size, &info);
    if (r != WAVE_OK) {
        Plat_FreeFile(data);
        return Error(Wave_Message(r));
    }
    if (!DSObject) {  // no device: the game runs silent
        Plat_FreeFile(data);
        return false;
    }
    PlatSound* s = Plat_SoundCreate(data + info.dataOffset, info.dataSize, info.channels, (int)info.rate, info.bits);
    Plat_FreeFile(data);
    if (!s) return Error("サウンドバッファの生成に失敗しました");
    Plat_SoundFree(buffer);
    buffer = s;
    return true;
}

void DS_Play(PlatSound* buffer) {
    if (!buffer || !DSObject) return;
    Plat_SoundPlay(buffer);
}

void MIDI_Play(const char* file) {
    char rel[512], path[1024];
    Plat_GamePath(file, rel, sizeof rel);
    std::snprintf(path, sizeof path, "%s%s", DirectoryFound(), rel);
    if (PlayFlg) MIDI_Stop();
    // As with the old sequencer, a tune that cannot be opened is silent.
    if (Plat_MusicOpen(path)) Plat_MusicPlay();
    PlayFlg = true;
}

void MIDI_Stop() {
    if (!PlayFlg) return;
    Plat_MusicClose();
    PlayFlg = false;
}

// The tune's completion notice: while a tune is open and the device says it
// has stopped, play it again from the start.
void MIDI_Notify(bool successful) {
    if (!successful || !PlayFlg) return;
    if (Plat_MusicStopped()) Plat_MusicPlay();
}
