// The language switch and the records page through the real binary.
#include <gtest/gtest.h>

#include <SDL_image.h>

#include <cstdint>
#include <cstring>

#include "harness.h"

using namespace e2e;

namespace {

// Pixels that differ between two pictures of the same size (-1 when they
// cannot be read).
int DifferingPixels(const std::string& a, const std::string& b, int l = 0, int t = 0, int r = 640, int bot = 480) {
    SDL_Surface* sa = IMG_Load(a.c_str());
    SDL_Surface* sb = IMG_Load(b.c_str());
    int n = -1;
    if (sa && sb) {
        SDL_Surface* ca = SDL_ConvertSurfaceFormat(sa, SDL_PIXELFORMAT_RGB24, 0);
        SDL_Surface* cb = SDL_ConvertSurfaceFormat(sb, SDL_PIXELFORMAT_RGB24, 0);
        n = 0;
        for (int y = t; y < bot; y++)
            n += 0 != std::memcmp(static_cast<Uint8*>(ca->pixels) + y * ca->pitch + l * 3,
                                  static_cast<Uint8*>(cb->pixels) + y * cb->pitch + l * 3, (size_t)(r - l) * 3);
        SDL_FreeSurface(ca);
        SDL_FreeSurface(cb);
    }
    if (sa) SDL_FreeSurface(sa);
    if (sb) SDL_FreeSurface(sb);
    return n;  // rows that differ, which is enough to tell
}

bool White(int r, int g, int b) { return r > 200 && g > 200 && b > 200; }
bool Red(int r, int g, int b) { return r > 200 && g < 60 && b < 60; }

bool HasNonAscii(const std::string& s) {
    for (unsigned char c : s)
        if (c >= 0x80) return true;
    return false;
}

// A record with something in every table, written as "score.dat".
void WriteRecord(const std::string& path) {
    std::string b(1088, '\0');
    auto put = [&](size_t off, int64_t v, int bytes) { std::memcpy(&b[off], &v, (size_t)bytes); };
    put(8, 98765432, 8);
    put(84, 42, 4);
    for (int k = 0; k < 5; k++) {
        put(328 + 8 * k, 1000000 + 111111 * k, 8);
        put(568 + 8 * k, 2000000 + 2222222 * k, 8);
        put(808 + 8 * k, 1900000 + 2000000 * k, 8);
        for (int j = 0; j < 5; j++) {
            put(468 + 20 * k + 4 * j, k * 10 + j, 4);
            put(708 + 20 * k + 4 * j, 100 + k * 10 + j, 4);
            put(948 + 20 * k + 4 * j, 200 + k * 10 + j, 4);
        }
    }
    put(1048, 3, 4);
    put(1052, 137, 4);
    put(1068, 1796668200, 4);
    WriteFile(path, b);
}

}  // namespace

// The first picture in English: the same seven white lines in the same
// bands and the red loading line, with other words than in Japanese; the
// Japanese picture is the one the game has always shown.
TEST(LanguageE2E, InstructionScreenFollowsTheLanguage) {
    TempDir tmp;
    for (const char* lang : {"en", "ja", ""}) {
        std::string args = std::string("--frames 1 --shot 1:") + (tmp / (std::string("f_") + lang + ".png"));
        if (*lang) args += std::string(" --lang ") + lang;
        RunResult r = RunGame(args, tmp);
        ASSERT_EQ(r.exitCode, 0) << r.err;
    }
    std::string en = tmp / "f_en.png", ja = tmp / "f_ja.png", plain = tmp / "f_.png";
    const int ys[] = {90, 115, 140, 165, 190, 215, 240};
    for (int y : ys) EXPECT_GT(CountPixels(en, 80, y, 640, y + 20, White), 50) << "line at y " << y;
    EXPECT_EQ(CountPixels(en, 0, 0, 640, 85, White), 0);
    EXPECT_EQ(CountPixels(en, 0, 0, 75, 480, White), 0);
    EXPECT_GT(CountPixels(en, 40, 320, 640, 350, Red), 100);
    EXPECT_EQ(CountPixels(en, 0, 0, 640, 315, Red), 0);
    for (int y : ys) EXPECT_GT(DifferingPixels(en, ja, 0, y, 640, y + 20), 0) << "line at y " << y;
    EXPECT_EQ(ReadFile(ja), ReadFile(plain));  // Japanese unless asked
}

// The option labels and the speed correction are in English too, at their
// places; the values (already in letters) stay.
TEST(LanguageE2E, OptionLabelsAndSpeedLabelFollowTheLanguage) {
    TempDir tmp;
    WriteFile(tmp / "keys.txt", "5 hold SPACE\n6 hold\n8 hold DOWN\n9 hold\n10 hold SPACE\n11 hold\n100 press 2\n");
    for (const char* lang : {"en", "ja"}) {
        RunResult r = RunGame(std::string("--frames 160 --lang ") + lang + " --script " + (tmp / "keys.txt") +
                                  " --shot 160:" + (tmp / (std::string("o_") + lang + ".png")),
                              tmp);
        ASSERT_EQ(r.exitCode, 0) << r.err;
    }
    std::string en = tmp / "o_en.png", ja = tmp / "o_ja.png";
    for (int y : {80, 180, 280, 380}) EXPECT_GT(DifferingPixels(en, ja, 220, y, 400, y + 20), 0) << "label at " << y;
    EXPECT_GT(DifferingPixels(en, ja, 0, 25, 260, 50), 0);          // the speed label
    EXPECT_EQ(DifferingPixels(en, ja, 0, 130, 640, 150), 0);        // the difficulty values
    EXPECT_GT(CountPixels(en, 0, 25, 260, 50, Red), 50);
}

// Message boxes (standard error when headless): the record that cannot be
// read or written, in each language; English has no Japanese left in it.
TEST(LanguageE2E, MessageBoxesFollowTheLanguage) {
    TempDir tmp;
    std::string missing = tmp / "no-such-folder";
    WriteFile(tmp / "keys.txt", "5 press ESC\n");
    RunResult en = RunGame("--lang en --home '" + missing + "' --frames 100 --script " + (tmp / "keys.txt"), tmp);
    ASSERT_EQ(en.exitCode, 0) << en.err;
    EXPECT_NE(en.err.find("[Open error] The high scores could not be loaded.\n"), std::string::npos) << en.err;
    EXPECT_NE(en.err.find("[Open error] The high scores could not be saved.\n"), std::string::npos) << en.err;
    EXPECT_FALSE(HasNonAscii(en.err)) << en.err;

    RunResult ja = RunGame("--lang ja --home '" + missing + "' --frames 100 --script " + (tmp / "keys.txt"), tmp);
    ASSERT_EQ(ja.exitCode, 0) << ja.err;
    EXPECT_NE(ja.err.find("[おーぷんえらー] ハイスコアがロードできないよ～\n"), std::string::npos) << ja.err;
    EXPECT_NE(ja.err.find("[おーぷんえらー] ハイスコアがセーブできないよ～\n"), std::string::npos) << ja.err;

    RunResult bad = RunGame("--lang fr --frames 1", tmp);
    EXPECT_EQ(bad.exitCode, 2);
    EXPECT_NE(bad.err.find("--lang"), std::string::npos) << bad.err;
}

// F2 on the title opens the records page over it; the page shows the
// record (a full record and an empty one give different pictures in every
// table), keeps the keys from the title (shot does not start a game), and Escape
// only closes it: the game runs on and a second Escape quits.
TEST(RecordsPageE2E, OpensOnTheTitleShowsTheRecordAndEscapeClosesIt) {
    TempDir full, empty;
    WriteRecord(full / "score.dat");
    WriteFile(empty / "score.dat", std::string(1088, '\0'));
    const std::string keys = "3 press F2\n5 hold SPACE\n6 hold\n20 press F2\n30 hold SPACE\n31 hold\n"
                             "50 press ESC\n60 hold SPACE\n61 hold\n";
    for (const TempDir* t : {&full, &empty}) {
        WriteFile(*t / "keys.txt", keys);
        RunResult r = RunGame("--frames 55 --script " + (*t / "keys.txt") + " --shot 4:" + (*t / "intro_f2.png") + " --shot 40:" + (*t / "page.png") +
                                  " --state-out " + (*t / "state.txt"),
                              *t);
        ASSERT_EQ(r.exitCode, 0) << r.err;
        std::string state = ReadFile(*t / "state.txt");
        // Still on the title after the shot on the page and the Escape.
        EXPECT_EQ(state.rfind("Frames=55 ", 0), 0u) << state;
        EXPECT_EQ(StateValue(state, "Scene"), 0) << state;
        EXPECT_EQ(StateValue(state, "PlayCount"), t == &full ? 42 : 0) << state;
    }
    // F2 during the intro opens nothing: the intro goes on as without it.
    RunResult plain = RunGame("--frames 4 --shot 4:" + (full / "intro.png"), full);
    ASSERT_EQ(plain.exitCode, 0) << plain.err;
    EXPECT_EQ(ReadFile(full / "intro.png"), ReadFile(full / "intro_f2.png"));
    // (Above the red speed correction, which the title draws at y 25.)
    EXPECT_EQ(CountPixels(full / "intro_f2.png", 30, 8, 200, 24, Red), 0);
    // The page: its red heading, and every table differs between the two records.
    EXPECT_GT(CountPixels(full / "page.png", 30, 8, 200, 24, Red), 30);
    EXPECT_GT(DifferingPixels(full / "page.png", empty / "page.png", 0, 46, 640, 92), 0);  // high score, counters
    for (int top : {122, 242, 362}) EXPECT_GT(DifferingPixels(full / "page.png", empty / "page.png", 0, top, 640, top + 95), 0);

    // After the page is closed the title takes the shot again and starts.
    WriteFile(full / "keys2.txt", keys);
    RunResult r = RunGame("--frames 70 --script " + (full / "keys2.txt") + " --state-out " + (full / "state2.txt"), full);
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(StateValue(ReadFile(full / "state2.txt"), "Scene"), 1);
}
