#include <gtest/gtest.h>

#include "app/AutomaticRunEnd.h"

namespace {

struct EndCase {
    std::optional<ConversionOutcome> outcome;
    int status;
    const char* line;
};

// Both programs end an automatic run through here; a caller trusts the status alone.
TEST(AutomaticRunEnd, GivesTheOutcomeAsStatusAndOneLineAndNeverSuccessWithoutAnOutcome) {
    const EndCase cases[] = {
        {ConversionOutcome::Converted, 0,
         "Tallow: automatic run: converted Radix10Kan.tbin into Result/Radix2Result.tbin\n"},
        {ConversionOutcome::InputNotDeleted, 8,
         "Tallow: automatic run: converted, but AutoFile/Radix10Kan.tbin cannot be deleted\n"},
        {ConversionOutcome::ResultNotWritten, 7,
         "Tallow: automatic run: Result/Radix2Result.tbin cannot be written; the input is kept\n"},
        {std::nullopt, 1, "Tallow: automatic run: ended before its outcome was known\n"},
    };
    for (const EndCase& c : cases) {
        testing::internal::CaptureStderr();
        EXPECT_EQ(ReportAutomaticRun(c.outcome), c.status);
        EXPECT_EQ(testing::internal::GetCapturedStderr(), c.line);
    }
}

}  // namespace
