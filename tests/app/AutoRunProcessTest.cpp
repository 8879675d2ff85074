#include "tests/app/ProgramFixture.h"

namespace fs = std::filesystem;

namespace {

using AutoRunProcessTest = ProgramTest;

// What each input leads to is the dialog's, and tested there; the program passes the outcome on
// as its exit status, with a line for the caller's log.
TEST_F(AutoRunProcessTest, PassesTheOutcomeOnAsItsExitStatus) {
    WriteFileBytes(Input(), "5");
    const Finished converted = RunProgram();
    EXPECT_EQ(converted.status, 0);
    EXPECT_EQ(converted.stderrText,
              "Tallow: automatic run: converted Radix10Kan.tbin into Result/Radix2Result.tbin\n");
    EXPECT_EQ(ReadFileBytes(Result()), "101\r\n");
    EXPECT_FALSE(fs::exists(Input()));
    WriteFileBytes(Input(), "1\r\n2147483648\r\n");
    const Finished refused = RunProgram();
    EXPECT_EQ(refused.status, 5);
    EXPECT_EQ(refused.stderrText,
              "Tallow: automatic run: AutoFile/Radix10Kan.tbin holds a number above 2147483647\n");
}

// The old result stays whole, no temporary file is left and the input is kept. Every way a write
// fails ends in the same failed commit, which the file helpers' tests make in each way.
TEST_F(AutoRunProcessTest, KeepsTheInputWhenTheResultCannotBeWritten) {
    fs::create_directories(Result().parent_path());
    WriteFileBytes(Result(), "old");
    WriteFileBytes(Input(), "5\r\n3\r\n");
    EXPECT_EQ(RunProgram({.fileSizeLimit = 4}).status, 7);
    EXPECT_EQ(ReadFileBytes(Input()), "5\r\n3\r\n");
    EXPECT_EQ(ReadFileBytes(Result()), "old");
    EXPECT_EQ(std::distance(fs::directory_iterator(Result().parent_path()), {}), 1);
}

// A display that is named but gone (an ssh or cron session) is no display at all.
TEST_F(AutoRunProcessTest, WithoutADisplayTheAutomaticRunStillTakesPlace) {
    const struct {
        const char* what;
        std::vector<std::string> environment;
    } cases[] = {
        {"none named", {}},
        {"a named display that is gone", {"DISPLAY=:4711"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        fs::create_directories(AutoFile());
        WriteFileBytes(Input(), "5");
        const Finished converted = RunProgram({.environment = c.environment});
        EXPECT_EQ(converted.status, 0) << converted.stderrText;
        EXPECT_EQ(ReadFileBytes(Result()), "101\r\n");

        fs::remove_all(AutoFile());
        const Finished interactive = RunProgram({.environment = c.environment});
        EXPECT_EQ(interactive.status, 1);
        EXPECT_TRUE(interactive.stderrText.ends_with(
            "Tallow: no display could be opened to show the window on.\n"))
            << interactive.stderrText;
    }
}

TEST_F(AutoRunProcessTest, CommandLineArgumentsChangeNothing) {
    const std::vector<std::string> cases[] = {
        {"-platform", "nonexistent"}, {"-display", ":4711"}, {"-reverse"}, {"-style", "none"}};
    for (const auto& arguments : cases) {
        SCOPED_TRACE(arguments.front());
        WriteFileBytes(Input(), "6");
        const Finished finished = RunProgram({.arguments = arguments});
        EXPECT_EQ(finished.status, 0) << finished.stderrText;
        EXPECT_EQ(ReadFileBytes(Result()), "110\r\n");
    }
}

}  // namespace
