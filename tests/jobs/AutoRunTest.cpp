// What the automatic run shows; what it does on disk is tested on the program itself.
#include <gtest/gtest.h>

#include "jobs/Messages.h"
#include "tests/support/DialogFixture.h"
#include "tests/support/Printing.h"

namespace fs = std::filesystem;

namespace {

using namespace std::string_view_literals;

class AutoRunTest : public DialogTest {
  protected:
    AutoRunTest() { fs::create_directories(ProductFolder() / "AutoFile"); }
    fs::path Input() const { return ProductFolder() / "AutoFile" / "Radix10Kan.tbin"; }
};

TEST_F(AutoRunTest, ShowsEachOutcomeOnlyThroughTheMessageGate) {
    const struct {
        std::optional<std::string_view> input;
        AutoRunOutcome outcome;
        std::u16string_view message;
        std::size_t beeps;
        // A conversion ticks the automatic-mode box, and unticks it once it succeeded.
        bool converts = true;
    } cases[] = {
        {"5\r\n3\r\n"sv, AutoRunOutcome::Converted, message::kDone, 1},
        {std::nullopt, AutoRunOutcome::InputMissing, message::kAutoInputMissing, 0, false},
        {""sv, AutoRunOutcome::InputEmpty, message::kAutoInputEmpty, 0, false},
        {"5\r\nx\r\n"sv, AutoRunOutcome::NotDigits, message::kAutoInputNotDigits, 0},
        {"2147483648"sv, AutoRunOutcome::TooLarge, message::kTooLargeInList, 0},
    };
    for (const std::string_view settings : {"1\r\n1"sv, "1\r\n0"sv, "0\r\n1"sv}) {
        const bool gateOpen = settings == "1\r\n1";
        fs::create_directories(ProductFolder() / "temp");
        WriteFileBytes(ProductFolder() / "temp" / "Radix2A.tmp", settings);
        for (const auto& c : cases) {
            SCOPED_TRACE(testing::PrintToString(c.message) + (gateOpen ? ", gate open" : ""));
            ResetProcessState();
            toolkit.Reset();
            fs::remove(Input());
            if (c.input) {
                WriteFileBytes(Input(), *c.input);
            }
            Start();
            EXPECT_EQ(dialog.AutomaticOutcome(), c.outcome);
            EXPECT_EQ(toolkit.EndResult(), -1);
            EXPECT_EQ(toolkit.Beeps(), c.beeps);
            const auto expected =
                gateOpen ? std::vector{WideString(c.message)} : std::vector<WideString>{};
            EXPECT_EQ(toolkit.MessageTexts(), expected);
            EXPECT_EQ(toolkit.WaitCursorDepth(), 0);
            const bool ticked =
                c.outcome != AutoRunOutcome::Converted && (c.converts || settings.starts_with('1'));
            EXPECT_EQ(toolkit.State(ControlId::AutoRun).checked, ticked);
        }
    }
}

}  // namespace
