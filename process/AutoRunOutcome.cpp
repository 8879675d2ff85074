#include "process/AutoRunOutcome.h"

#include <cstdio>

namespace {

std::string_view Describe(ConversionOutcome outcome) {
    switch (outcome) {
        case ConversionOutcome::Converted:
            return "converted Radix10Kan.tbin into Result/Radix2Result.tbin";
        case ConversionOutcome::InputMissing:
            return "AutoFile/Radix10Kan.tbin is missing";
        case ConversionOutcome::InputEmpty:
            return "AutoFile/Radix10Kan.tbin is empty";
        case ConversionOutcome::NotDigits:
            return "AutoFile/Radix10Kan.tbin holds a character other than a digit or a line break";
        case ConversionOutcome::TooLarge:
            return "AutoFile/Radix10Kan.tbin holds a number above 2147483647";
        case ConversionOutcome::InputUnreadable:
            return "AutoFile/Radix10Kan.tbin cannot be read";
        case ConversionOutcome::ResultNotWritten:
            return "Result/Radix2Result.tbin cannot be written; the input is kept";
        case ConversionOutcome::InputNotDeleted:
            return "converted, but AutoFile/Radix10Kan.tbin cannot be deleted";
    }
    return "ended";
}

}  // namespace

int ReportAutomaticRun(std::optional<ConversionOutcome> outcome) {
    std::fprintf(stderr, "Tallow: automatic run: %s\n",
                 outcome ? Describe(*outcome).data() : "ended before its outcome was known");
    std::fflush(stderr);
    return outcome ? static_cast<int>(*outcome) : 1;
}
