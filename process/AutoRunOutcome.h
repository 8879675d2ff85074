#pragma once

#include <optional>
#include <string_view>

// How an automatic run ended; the value is the process's exit status, for the calling program.
enum class AutoRunOutcome {
    Converted = 0,
    InputMissing = 2,
    InputEmpty = 3,
    NotDigits = 4,
    TooLarge = 5,
    InputUnreadable = 6,
    ResultNotWritten = 7,
    InputNotDeleted = 8,
};

// One line for the calling program's log.
std::string_view Describe(AutoRunOutcome outcome);

// The process's exit status for how the dialog ended: a run's outcome, and 1 for an end without
// one, which is never taken for success.
int ExitStatus(std::optional<AutoRunOutcome> outcome);
