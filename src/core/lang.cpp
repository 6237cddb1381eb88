// The language in force and the English counterparts of the game's texts.
#include "core/lang.h"

#include <cstring>

int GameLanguage = LANG_JA;

namespace {

struct Pair {
    const char* ja;
    const char* en;
};

const Pair kTexts[] = {
    // The instruction screen.
    {"操作説明　（　）内はパッド時のボタン", "Controls   (pad buttons in brackets)"},
    {"ショット：スペース　or　Ｓｈｉｆｔ（Ａ）", "Shot:  Space  or  Shift  (A)"},
    {"ボム：Ｚ（Ｂ）　１ストック消費", "Bomb:  Z  (B)   uses one stock"},
    {"ゲーム終了：ＥＳＣ", "Quit game:  ESC"},
    {"ゲーム速度アップ：１・２・３（テンキー不可）", "Game speed up:  1 / 2 / 3  (not the keypad)"},
    {"ゲーム速度ダウン：Ｑ・Ｗ・Ｅ", "Game speed down:  Q / W / E"},
    {"一時停止／解除：Ｃ", "Pause / resume:  C"},
    {"Ｎｏｗ　Ｌｏａｄｉｎｇ．．．", "Now Loading..."},
    // The option labels.
    {"難易度", "Difficulty"},
    {"プレイヤー数", "Players"},
    {"ステージ", "Stage"},
    {"パワーストック", "Power Stock"},
    // The speed correction, shown at the top left.
    {"補正 %f", "Speed +%f"},
    // Message boxes: captions, then texts.
    {"エラー発生", "Error"},
    {"おーぷんえらー", "Open error"},
    {"ハイスコアがロードできないよ～", "The high scores could not be loaded."},
    {"ハイスコアがセーブできないよ～", "The high scores could not be saved."},
    {"ダイレクトドローの初期化に失敗しました", "The display could not be started."},
    {"DirectSoundが生成できませんDirectSoundの使用が不可能です",
     "The sound device could not be opened. The game plays without sound."},
    {"ファイルオープンに失敗しました", "A file could not be opened."},
    {"サウンドバッファの生成に失敗しました", "A sound buffer could not be made."},
    {"ウエイブファイルが見つかりません", "The wave file was not found."},
    {"ウエイブフォーマットを読み込めません", "The wave format could not be read."},
    {"不正なウエイブフォーマットです", "The wave format is not valid."},
    {"ウエイブファイルにアクセスできません", "The wave file could not be read."},
    {"ウエイブファイルにデータがありません", "The wave file holds no sound data."},
    {"ウエイブデータ読み込みに失敗しました", "The wave data could not be read."},
    {"ジョイスティックを取得できません", "The joystick could not be opened."},
    {"ジョイスティックデータフォーマットを設定できません", "The joystick could not be set up."},
};

}  // namespace

const char* Lang_English(const char* ja) {
    if (!ja) return nullptr;
    for (const Pair& p : kTexts)
        if (!std::strcmp(p.ja, ja)) return p.en;
    return nullptr;
}

const char* Lang_Text(const char* ja) {
    if (GameLanguage != LANG_EN || !ja) return ja;
    const char* en = Lang_English(ja);
    return en ? en : ja;
}
