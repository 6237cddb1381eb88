// The game binary starts, runs, stops and is deterministic.
#include <gtest/gtest.h>

#include "harness.h"

using namespace e2e;

TEST(ShellE2E, RunsHeadlessAndStopsAfterTheFrames) {
    TempDir tmp;
    RunResult r = RunGame("--frames 100 --shot 100:" + (tmp / "a.png"), tmp);
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_FALSE(ReadFile(tmp / "a.png").empty());
}

TEST(ShellE2E, SameInputsGiveIdenticalPictures) {
    TempDir tmp;
    std::string script = tmp / "keys.txt";
    WriteFile(script, "# hold a few keys and change the speed\n"
                      "5 hold RIGHT SPACE\n"
                      "20 press 2\n"
                      "40 hold UP\n"
                      "60 press C\n");
    std::string shots;
    for (const char* run : {"a", "b"})
        for (int f : {1, 30, 90, 150})
            shots += " --shot " + std::to_string(f) + ":" + (tmp / (std::string(run) + std::to_string(f) + ".bmp"));
    RunResult r = RunGame("--frames 150 --script " + script + shots, tmp);
    ASSERT_EQ(r.exitCode, 0) << r.err;
    RunResult r2 = RunGame("--frames 150 --script " + script + shots, tmp);
    ASSERT_EQ(r2.exitCode, 0) << r2.err;
    for (int f : {1, 30, 90, 150}) {
        std::string a = ReadFile(tmp / ("a" + std::to_string(f) + ".bmp"));
        std::string b = ReadFile(tmp / ("b" + std::to_string(f) + ".bmp"));
        ASSERT_FALSE(a.empty());
        EXPECT_EQ(a, b) << "frame " << f;
    }
}

TEST(ShellE2E, BadArgumentsAndScriptsAreReportedClearly) {
    TempDir tmp;
    RunResult r = RunGame("--frames lots", tmp);
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_NE(r.err.find("--frames"), std::string::npos);

    WriteFile(tmp / "bad.txt", "10 hold RIGHT\n5 hold LEFT\n");
    r = RunGame("--frames 5 --script " + (tmp / "bad.txt"), tmp);
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_NE(r.err.find("line 2"), std::string::npos) << r.err;

    WriteFile(tmp / "bad2.txt", "10 hold JUMP\n");
    r = RunGame("--frames 5 --script " + (tmp / "bad2.txt"), tmp);
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_NE(r.err.find("JUMP"), std::string::npos) << r.err;

    r = RunGame("--frames 5 --script " + (tmp / "missing.txt"), tmp);
    EXPECT_EQ(r.exitCode, 2);
}

TEST(ShellE2E, EscapeEndsTheRun) {
    TempDir tmp;
    WriteFile(tmp / "esc.txt", "3 press ESC\n");
    RunResult r = RunGame("--frames 100000 --script " + (tmp / "esc.txt"), tmp);
    EXPECT_EQ(r.exitCode, 0) << r.err;
}
