// Bitmap files: what decodes, what is refused, and never a crash.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/display.h"
#include "render/render.h"

namespace {

std::vector<unsigned char> ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<unsigned char>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace

TEST(Bitmap, DecodesCommonDepthsAndRefusesBrokenOnes) {
    auto ok24 = ReadAll(QS_SOURCE_DIR "/fuzz/corpus/bmp/small24.bmp");
    PlatSurface* s = Plat_SurfaceLoadBMPMem(ok24.data(), ok24.size());
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(Plat_SurfaceWidth(s), 4);
    EXPECT_EQ(Plat_SurfaceHeight(s), 3);
    // Bottom-up rows: the file's first row is the picture's last.
    EXPECT_EQ(Plat_SurfacePixels(s)[2 * 4 + 1], Plat_RGB565(200, 0, 60));
    Plat_SurfaceFree(s);

    auto pal = ReadAll(QS_SOURCE_DIR "/fuzz/corpus/bmp/pal8.bmp");
    s = Plat_SurfaceLoadBMPMem(pal.data(), pal.size());
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(Plat_SurfacePixels(s)[1], Plat_RGB565(255, 255, 255));  // top-down, palette entry 255
    Plat_SurfaceFree(s);

    // A header promising a picture of gigabytes is refused before decoding.
    auto huge = ReadAll(QS_SOURCE_DIR "/tests/data/bmp_huge_header.bmp");
    EXPECT_EQ(Plat_SurfaceLoadBMPMem(huge.data(), huge.size()), nullptr);
    // Rows missing from the end of the file.
    std::vector<unsigned char> cut(ok24.begin(), ok24.end() - 10);
    EXPECT_EQ(Plat_SurfaceLoadBMPMem(cut.data(), cut.size()), nullptr);
    std::vector<unsigned char> junk(100, 0x42);
    EXPECT_EQ(Plat_SurfaceLoadBMPMem(junk.data(), junk.size()), nullptr);
    EXPECT_EQ(Plat_SurfaceLoadBMPMem(junk.data(), 0), nullptr);
}

TEST(Bitmap, MissingFileLeavesTheSlotAsItWas) {
    SurfaceData slot = {};
    EXPECT_FALSE(DD_LoadBitmap(slot, "BMP\\no_such_picture.bmp"));
    EXPECT_EQ(slot.surface, nullptr);
}
