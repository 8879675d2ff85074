// The automatic run on each kind of input: what it shows, what it leaves on disk, and the outcome
// the program passes on to its caller.
#include <gtest/gtest.h>

#ifdef __linux__
#include <dlfcn.h>
#endif

#include <array>
#include <functional>
#include <future>
#include <map>
#include <utility>

#include "core/NumberListStream.h"
#include "jobs/Messages.h"
#include "process/AutoRunOutcome.h"
#include "storage/ProcessLock.h"
#include "tests/support/DialogFixture.h"
#include "tests/support/Printing.h"
#include "tests/support/TestBytes.h"
#include "ui/HeadlessToolkit.h"

namespace fs = std::filesystem;

namespace {

using namespace std::literals;
using enum ConversionOutcome;

class AutoRunTest : public DialogTest {
  protected:
    AutoRunTest() { fs::create_directories(ProductFolder() / "AutoFile"); }
    fs::path Input() const { return ProductFolder() / "AutoFile" / "Radix10Kan.tbin"; }
    fs::path Result() const { return ProductFolder() / "Result" / "Radix2Result.tbin"; }
    fs::path Settings() const { return ProductFolder() / "temp" / "Radix2A.tmp"; }
};

// A converted input is deleted, even a read-only one, and its result replaces a longer old one; a
// refused input is kept with the old result whole. Messages show only through the gate, never
// while the run holds its lock, the settings file is never written, and a conversion ticks the
// automatic-mode box, unticking it once it succeeded. Whatever the outcome, what killed writers
// left beside the result and the settings goes. The list's rules are the stream's, and tested
// there; here each way in once. The run reads in blocks of 1 MiB; a line of zeros is the number 0,
// and places what follows it exactly.
TEST_F(AutoRunTest, ConvertsOrRefusesEachInputAndSaysWhy) {
    const auto zeros = [](std::size_t count) { return std::string(count, '0') + "\r\n"; };
    const struct {
        const char* what;
        std::optional<std::string> input;
        ConversionOutcome outcome;
        std::string result = "";
    } cases[] = {
        {"UTF-16LE with mark", kUtf16LeMark + Utf16Le("5\r\n3\r\n"), Converted, "101\r\n11\r\n"},
        {"UTF-8 with mark", kUtf8Mark + "5\r\n3", Converted, "101\r\n11\r\n"},
        {"UTF-16LE without mark", Utf16Le("5\r\n3"), Converted, "101\r\n11\r\n"},
        {"plain ASCII", "5\n3\n", Converted, "101\r\n11\r\n"},
        {"only a mark", kUtf16LeMark, Converted, ""},
        {"a number across a block's end",
         zeros(kStreamBlock - 6) + "123456789\r\n" + zeros(kStreamBlock) + "6", Converted,
         "0\r\n111010110111100110100010101\r\n0\r\n110\r\n"},
        {"missing input", std::nullopt, InputMissing},
        {"empty input", "", InputEmpty},
        {"a letter", "12\r\nabc\r\n", NotDigits},
        {"a zero byte", std::string("5\0\r\n"sv), NotDigits},
        {"malformed UTF-8", kUtf8Mark + "5\xC0\r\n", NotDigits},
        {"a letter in the last block after a number too large",
         "2147483648\r\n" + zeros(kStreamBlock + 10) + "x", NotDigits},
        {"above the largest number", "5\r\n2147483648\r\n", TooLarge},
    };
    const std::map<ConversionOutcome, std::u16string_view> messages = {
        {Converted, message::kDone},
        {InputMissing, message::kAutoInputMissing},
        {InputEmpty, message::kAutoInputEmpty},
        {NotDigits, message::kAutoInputNotDigits},
        {TooLarge, message::kTooLargeInList}};
    const std::string oldResult(4096, '0');
    fs::create_directories(Result().parent_path());
    fs::create_directories(Settings().parent_path());
    for (const std::string_view settings : {"1\r\n1"sv, "1\r\n0"sv, "0\r\n1"sv}) {
        const bool gateOpen = settings == "1\r\n1";
        WriteFileBytes(Settings(), settings);
        for (const auto& c : cases) {
            SCOPED_TRACE(std::string(c.what) + (gateOpen ? ", gate open" : ""));
            ResetProcessState();
            toolkit.Reset();
            WriteFileBytes(Result(), oldResult);
            const std::array leftovers = {LeaveAbandonedTemporary(Result().parent_path()),
                                          LeaveAbandonedTemporary(Settings().parent_path())};
            fs::remove(Input());
            if (c.input) {
                WriteFileBytes(Input(), *c.input);
            }
            const bool converted = c.outcome == Converted;
            if (converted) {
                fs::permissions(Input(), fs::perms::owner_read);
            }
            // A box may wait long for its user: by then another run can take the lock.
            bool lockFreeAtMessage = false;
            std::future<void> secondRun;
            toolkit.OnEvent([&](const Event& event) {
                if (event.kind == Event::Kind::Message) {
                    secondRun = std::async(std::launch::async, [&] {
                        const ProcessLock lock(Settings().parent_path() / "AutoRun.lock");
                    });
                    lockFreeAtMessage = secondRun.wait_for(5s) == std::future_status::ready;
                }
            });
            Start();
            toolkit.OnEvent(nullptr);
            EXPECT_EQ(lockFreeAtMessage, gateOpen);
            EXPECT_EQ(dialog.AutomaticOutcome(), c.outcome);
            EXPECT_TRUE(toolkit.Ended());
            EXPECT_EQ(toolkit.Beeps(), converted ? 1U : 0U);
            const auto shown = gateOpen ? std::vector{WideString(messages.at(c.outcome))}
                                        : std::vector<WideString>{};
            EXPECT_EQ(toolkit.MessageTexts(), shown);
            EXPECT_EQ(toolkit.WaitCursorDepth(), 0);
            const bool startsConversion = c.outcome != InputMissing && c.outcome != InputEmpty;
            EXPECT_EQ(toolkit.State(ControlId::AutoRun).checked,
                      !converted && (startsConversion || settings.starts_with('1')));
            EXPECT_EQ(ReadFileBytes(Result()), converted ? c.result : oldResult);
            EXPECT_EQ(ReadFileBytes(Input()), converted ? "" : c.input.value_or(""));
            EXPECT_EQ(fs::exists(Input()), !converted && c.input);
            EXPECT_TRUE(fs::is_directory(ProductFolder() / "AutoFile"));
            EXPECT_EQ(ReadFileBytes(Settings()), settings);
            EXPECT_FALSE(fs::exists(leftovers[0]) || fs::exists(leftovers[1]));
        }
    }
}

#if defined(__linux__) && !defined(__SANITIZE_ADDRESS__) && !defined(__SANITIZE_THREAD__)
// Told the name of each call below before it is made. The sanitizers put their own in the way.
std::function<void(std::string_view)> g_beforeCall;

}  // namespace

extern "C" int fsync(int descriptor) {
    using Sync = int (*)(int);
    static const auto real = reinterpret_cast<Sync>(dlsym(RTLD_NEXT, "fsync"));
    if (g_beforeCall) {
        g_beforeCall("fsync");
    }
    return real(descriptor);
}

extern "C" int rename(const char* from, const char* to) noexcept {
    using Rename = int (*)(const char*, const char*);
    static const auto real = reinterpret_cast<Rename>(dlsym(RTLD_NEXT, "rename"));
    if (g_beforeCall) {
        g_beforeCall("rename");
    }
    return real(from, to);
}

namespace {

// A caller that writes its next job over the input once the run has opened it keeps that job for
// the next run. Written during the read, it is not converted either; written once it was read, its
// result stands and the run says that its input was not deleted.
TEST_F(AutoRunTest, KeepsAJobWrittenOverTheInputOnceTheRunOpenedIt) {
    const struct {
        const char* when;
        std::string_view call;
        ConversionOutcome outcome;
        std::string_view result;
    } cases[] = {
        {"during the read", "tick", InputUnreadable, "old"},
        {"as the result is flushed", "fsync", InputNotDeleted, "101\r\n11\r\n"},
        {"as the result takes its place", "rename", InputNotDeleted, "101\r\n11\r\n"},
    };
    fs::create_directories(Result().parent_path());
    fs::create_directories(Settings().parent_path());
    // The automatic-mode box starts unticked, so that the run ticks it once the input is open.
    WriteFileBytes(Settings(), "0\r\n0");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.when);
        ResetProcessState();
        toolkit.Reset();
        WriteFileBytes(Result(), "old");
        WriteFileBytes(Input(), "5\r\n3\r\n");
        bool rewritten = false;
        g_beforeCall = [&](std::string_view call) {
            if (call == c.call && !std::exchange(rewritten, true)) {
                WriteFileBytes(Input(), "1000\r\n7\r\n");
            }
        };
        toolkit.OnEvent([&](const Event& event) {
            if (event.kind == Event::Kind::Checked && event.value != 0) {
                g_beforeCall("tick");
            }
        });
        Start();
        g_beforeCall = nullptr;
        toolkit.OnEvent(nullptr);
        EXPECT_TRUE(rewritten);
        EXPECT_EQ(dialog.AutomaticOutcome(), c.outcome);
        EXPECT_EQ(ReadFileBytes(Input()), "1000\r\n7\r\n");
        EXPECT_EQ(ReadFileBytes(Result()), c.result);
    }
}
#endif

// A run without a window keeps the boxes it asked for, for the program to show once it is over.
TEST_F(AutoRunTest, ARunWithoutAWindowKeepsItsBoxesForItsEnd) {
    fs::create_directories(Settings().parent_path());
    WriteFileBytes(Settings(), "1\r\n1");
    WriteFileBytes(Input(), "x");
    HeadlessToolkit headless(Documents(), {});
    CTallowDlg run(headless);
    run.OnInitDialog();
    EXPECT_EQ(run.AutomaticOutcome(), NotDigits);
    ASSERT_EQ(headless.Messages().size(), 1U);
    EXPECT_EQ(headless.Messages()[0].text, message::kAutoInputNotDigits);
    EXPECT_EQ(headless.Messages()[0].icon, MessageIcon::Error);
}

// A start-up that ended without an outcome never tells its caller it converted.
TEST(ReportAutomaticRun, NeverGivesSuccessWithoutAnOutcome) {
    testing::internal::CaptureStderr();
    EXPECT_EQ(ReportAutomaticRun(std::nullopt), 1);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "Tallow: automatic run: ended before its outcome was known\n");
}

}  // namespace
