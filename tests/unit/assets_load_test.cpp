// The generated data as the game itself reads it: every bitmap through
// DD_LoadBitmap and the 16-bit conversion, every effect through DS_LoadWave,
// and every tune played through the mixer.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../../tools/assetgen/sheets.h"
#include "platform/meter.h"
#include "platform/msgbox.h"
#include "platform/time.h"
#include "render/render.h"
#include "sound/sound.h"

using namespace qsassets;

namespace {

// The game's own spelling of a path: '\' between folders.
std::string game_path(const char* file) {
    std::string s = file;
    for (char& c : s)
        if (c == '/') c = '\\';
    return s;
}

}  // namespace

TEST(AssetsInGame, EveryBitmapLoadsWithItsSizeAndColourKey) {
    ASSERT_TRUE(DD_INIT(nullptr));
    std::vector<std::string> paths;
    paths.reserve(kSheetCount);
    testing::internal::CaptureStderr();
    for (const SheetDef& s : kSheets) {
        SCOPED_TRACE(s.file);
        paths.push_back(game_path(s.file));
        SurfaceData& slot = Bitmap[s.slot];
        ASSERT_TRUE(DD_LoadBitmap(slot, paths.back().c_str()));
        EXPECT_EQ(slot.width, s.width);
        EXPECT_EQ(slot.height, s.height);
        // After the conversion to the display's 16 bits, key pixels (0) are
        // exactly the see-through ones.
        uint16_t* px = Plat_SurfacePixels(slot.surface);
        int pitch = Plat_SurfacePitch(slot.surface) / 2;
        long keyed = 0;
        for (int y = 0; y < s.height; ++y)
            for (int x = 0; x < s.width; ++x) keyed += px[y * pitch + x] == 0;
        if (s.kind == kOpaque) EXPECT_EQ(keyed, 0) << "holes in an opaque picture";
        else EXPECT_LT(keyed, (long)s.width * s.height) << "nothing visible";
    }
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    DD_END(nullptr);
}

TEST(AssetsInGame, EveryEffectLoadsWithoutAMessage) {
    Plat_SetHeadless(true);
    DS_INIT(nullptr);
    ASSERT_TRUE(DSObject);
    testing::internal::CaptureStderr();
    for (const SoundSpec& s : kSounds) {
        std::string p = game_path(s.file);
        PlatSound* buf = nullptr;
        EXPECT_TRUE(DS_LoadWave(buf, p.c_str())) << s.file;
        EXPECT_NE(buf, nullptr) << s.file;
        Plat_SoundFree(buf);
    }
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    DS_END(nullptr);
}

// Each tune for two seconds through the mixer: the output must be music,
// not silence (a wrong channel, program or velocity would leave it mute).
class TuneThroughMixer : public ::testing::TestWithParam<int> {};

TEST_P(TuneThroughMixer, IsAudible) {
    const TuneSpec& t = kTunes[GetParam()];
    Plat_SetHeadless(true);
    DS_INIT(nullptr);
    ASSERT_TRUE(DSObject);
    std::string p = game_path(t.file);
    Plat_MeterStart();
    MIDI_Play(p.c_str());
    ASSERT_TRUE(PlayFlg);
    double until = Plat_RealMs() + 15000;
    while (Plat_MeterFrames() < 2 * 44100 && Plat_RealMs() < until) Plat_SleepMs(20);
    double rms = Plat_MeterRms();
    long frames = Plat_MeterFrames();
    MIDI_Stop();
    Plat_MeterStop();
    DS_END(nullptr);
    ASSERT_GE(frames, 2 * 44100) << "the mixer did not run";
    EXPECT_GT(rms, 0.01) << t.file << " is silent";
    RecordProperty("rms", std::to_string(rms));
}

INSTANTIATE_TEST_SUITE_P(EveryTune, TuneThroughMixer, ::testing::Range(0, kTuneCount));
