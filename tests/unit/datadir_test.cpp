// Where the game looks for its data.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "config/datadir.h"

namespace {

using Dirs = std::vector<std::string>;

TEST(DataDirTest, BesideTheProgramThenShareNextToItThenTheDesktopsDataFolders) {
    const char* old = std::getenv("XDG_DATA_DIRS");
    std::string saved = old ? old : "";
    // Relative entries do not count; a folder already searched is not
    // searched twice.
    setenv("XDG_DATA_DIRS", "/a:/b/:relative:/opt/qs/share", 1);
    EXPECT_EQ(DataDir_Candidates("/opt/qs/games/"),
              (Dirs{"/opt/qs/games/", "/opt/qs/share/quellstorm/", "/a/quellstorm/", "/b/quellstorm/"}));
    unsetenv("XDG_DATA_DIRS");
    EXPECT_EQ(DataDir_Candidates("/usr/games/"),
              (Dirs{"/usr/games/", "/usr/share/quellstorm/", "/usr/local/share/quellstorm/"}));
    EXPECT_EQ(DataDir_Candidates("/"), (Dirs{"/", "/share/quellstorm/", "/usr/local/share/quellstorm/",
                                             "/usr/share/quellstorm/"}));
    if (old) setenv("XDG_DATA_DIRS", saved.c_str(), 1);
}

TEST(DataDirTest, AFolderHoldsTheDataOnlyWithItsFirstBitmap) {
    char tmpl[] = "/tmp/qs_data_XXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    std::string dir = std::string(tmpl) + "/";
    EXPECT_FALSE(DataDir_Holds(dir));
    std::filesystem::create_directories(dir + "BMP");
    EXPECT_FALSE(DataDir_Holds(dir));  // an empty BMP/ is no data
    std::ofstream(dir + "BMP/player.bmp") << "BM";
    EXPECT_TRUE(DataDir_Holds(dir));
    std::filesystem::remove_all(dir);
}

}  // namespace
