#pragma once

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
