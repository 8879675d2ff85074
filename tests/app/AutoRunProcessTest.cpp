#include "tests/app/ProgramFixture.h"
#include "tests/support/TestBytes.h"

namespace fs = std::filesystem;

namespace {

using namespace std::literals;
using AutoRunProcessTest = ProgramTest;

// A converted input is deleted, even a read-only one, and its result replaces a longer old one; a
// refused input is kept with the old result whole. The run reads in blocks of 1 MiB; a line of
// zeros is the number 0, and places what follows it exactly.
TEST_F(AutoRunProcessTest, ConvertsOrRefusesEachInputAndTellsTheCallerWhy) {
    constexpr std::size_t kBlock = std::size_t{1} << 20;
    const auto zeros = [](std::size_t count) { return std::string(count, '0') + "\r\n"; };
    const struct {
        const char* what;
        std::optional<std::string> input;
        int status;
        std::string result = "";
    } cases[] = {
        {"UTF-16LE with mark", kUtf16LeMark + Utf16Le("5\r\n3\r\n"), 0, "101\r\n11\r\n"},
        {"UTF-8 with mark", kUtf8Mark + "5\r\n3", 0, "101\r\n11\r\n"},
        {"UTF-16LE without mark", Utf16Le("5\r\n3"), 0, "101\r\n11\r\n"},
        {"plain ASCII", "5\n3\n", 0, "101\r\n11\r\n"},
        {"a CR inside a line", "1\r2", 0, "1100\r\n"},
        {"blank lines, no final break", "\r\n1\r\n\r\n\r\n2", 0, "1\r\n10\r\n"},
        {"the largest number", "2147483647\r\n", 0, std::string(31, '1') + "\r\n"},
        {"only a mark", kUtf16LeMark, 0, ""},
        {"a number across a block's end", zeros(kBlock - 6) + "123456789\r\n" + zeros(kBlock) + "6",
         0, "0\r\n111010110111100110100010101\r\n0\r\n110\r\n"},
        {"CR LF across a block's end",
         kUtf16LeMark + Utf16Le(std::string(kBlock / 2 - 3, '0') + "5\r\n3\r\n"), 0,
         "101\r\n11\r\n"},
        {"missing input", std::nullopt, 2},
        {"empty input", "", 3},
        {"a letter", "12\r\nabc\r\n", 4},
        {"a zero byte", std::string("5\0\r\n"sv), 4},
        {"an unpaired surrogate", kUtf16LeMark + Utf16Le("5") + "\x00\xD8"s + Utf16Le("\r\n"), 4},
        {"malformed UTF-8", kUtf8Mark + "5\xC0\r\n", 4},
        {"a UTF-8 sequence across a block's end",
         kUtf8Mark + std::string(kBlock - 4, '0') + "\xE3\x81\x82\r\n", 4},
        {"a letter in the last block after a number too large",
         "2147483648\r\n" + zeros(kBlock + 10) + "x", 4},
        {"above the largest number", "5\r\n2147483648\r\n", 5},
        {"a number too large in the last block", zeros(kBlock + 10) + "2147483648\r\n", 5},
    };
    const std::string oldResult(4096, '0');
    fs::create_directories(Result().parent_path());
    fs::create_directories(Product() / "temp");
    WriteFileBytes(Product() / "temp" / "Radix2A.tmp", "0\r\n1");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        WriteFileBytes(Result(), oldResult);
        fs::remove(Input());
        if (c.input) {
            WriteFileBytes(Input(), *c.input);
            fs::permissions(Input(), fs::perms::owner_read);
        }
        const Finished finished = RunProgram();
        EXPECT_EQ(finished.status, c.status) << finished.stderrText;
        EXPECT_EQ(ReadFileBytes(Result()), c.status == 0 ? c.result : oldResult);
        EXPECT_EQ(ReadFileBytes(Input()), c.status == 0 ? "" : c.input.value_or(""));
        EXPECT_EQ(fs::exists(Input()), c.status != 0 && c.input);
        EXPECT_TRUE(fs::is_directory(AutoFile()));
        EXPECT_EQ(ReadFileBytes(Product() / "temp" / "Radix2A.tmp"), "0\r\n1");
        EXPECT_TRUE(finished.stderrText.starts_with("Tallow: automatic run: "))
            << finished.stderrText;
    }
    fs::remove(Input());
    WriteFileBytes(Input(), "5");
    EXPECT_EQ(RunProgram().stderrText,
              "Tallow: automatic run: converted Radix10Kan.tbin into Result/Radix2Result.tbin\n");
    fs::create_directory(Input());
    EXPECT_EQ(RunProgram().status, 2) << "a folder in the input's place";
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
