#include "process/AutoRunOutcome.h"

std::string_view Describe(AutoRunOutcome outcome) {
    switch (outcome) {
        case AutoRunOutcome::Converted:
            return "converted Radix10Kan.tbin into Result/Radix2Result.tbin";
        case AutoRunOutcome::InputMissing:
            return "AutoFile/Radix10Kan.tbin is missing";
        case AutoRunOutcome::InputEmpty:
            return "AutoFile/Radix10Kan.tbin is empty";
        case AutoRunOutcome::NotDigits:
            return "AutoFile/Radix10Kan.tbin holds a character other than a digit or a line break";
        case AutoRunOutcome::TooLarge:
            return "AutoFile/Radix10Kan.tbin holds a number above 2147483647";
        case AutoRunOutcome::InputUnreadable:
            return "AutoFile/Radix10Kan.tbin cannot be read";
        case AutoRunOutcome::ResultNotWritten:
            return "Result/Radix2Result.tbin cannot be written; the input is kept";
        case AutoRunOutcome::InputNotDeleted:
            return "converted, but AutoFile/Radix10Kan.tbin cannot be deleted";
    }
    return "ended";
}

int ExitStatus(std::optional<AutoRunOutcome> outcome) {
    return outcome ? static_cast<int>(*outcome) : 1;
}
