// The language in force and the English counterparts of the game's texts.
#include "core/lang.h"

#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <string>

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
    {"キーかボタンを押すと始まります", "Press a key or button to start"},
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

// The instruction lines that name keys, as the bindings make them.
struct Named {
    const char* ja;
    std::string en;
} sNamed[] = {
    {"ショット：スペース　or　Ｓｈｉｆｔ（Ａ）", ""}, {"ボム：Ｚ（Ｂ）　１ストック消費", ""},
    {"ゲーム終了：ＥＳＣ", ""},
    {"ゲーム速度アップ：１・２・３（テンキー不可）", ""},
    {"ゲーム速度ダウン：Ｑ・Ｗ・Ｅ", ""},
    {"一時停止／解除：Ｃ", ""},
};

}  // namespace

void Lang_NameKeys(const LangKeyNames& k) {
    auto pad = [](const char* b) { return b && *b && std::strcmp(b, "none") ? std::string("  (") + b + ")" : std::string(); };
    std::string fast = std::string(k.faster[0]) + " / " + k.faster[1] + " / " + k.faster[2];
    // The digits of the keypad are keys of their own: worth saying while
    // the speed keys are the main keyboard's digits.
    if (fast == "1 / 2 / 3") fast += "  (not the keypad)";
    sNamed[0].en = std::string("Shot:  ") + k.shot + "  or  " + k.shot2 + pad(k.padShot);
    sNamed[1].en = std::string("Bomb:  ") + k.bomb + pad(k.padBomb) + "   uses one stock";
    sNamed[2].en = std::string("Quit game:  ") + k.quit;
    sNamed[3].en = "Game speed up:  " + fast;
    sNamed[4].en = std::string("Game speed down:  ") + k.slower[0] + " / " + k.slower[1] + " / " + k.slower[2];
    sNamed[5].en = std::string("Pause / resume:  ") + k.pause;
}

const char* Lang_English(const char* ja) {
    if (!ja) return nullptr;
    for (const Named& n : sNamed)
        if (!n.en.empty() && !std::strcmp(n.ja, ja)) return n.en.c_str();
    for (const Pair& p : kTexts)
        if (!std::strcmp(p.ja, ja)) return p.en;
    return nullptr;
}

const char* Lang_Text(const char* ja) {
    if (GameLanguage != LANG_EN || !ja) return ja;
    const char* en = Lang_English(ja);
    return en ? en : ja;
}

int Lang_FromLocale() {
    for (const char* var : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* v = std::getenv(var);
        if (v && *v) return std::strncmp(v, "ja", 2) == 0 ? LANG_JA : LANG_EN;
    }
    return LANG_EN;
}
