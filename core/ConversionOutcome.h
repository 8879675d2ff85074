#pragma once

// How converting a number list ended, from the stream that reads it up to the process that ran
// it unattended: each value is that process's exit status, which calling programs rely on.
enum class ConversionOutcome {
    Converted = 0,
    InputMissing = 2,
    InputEmpty = 3,
    NotDigits = 4,
    TooLarge = 5,
    InputUnreadable = 6,
    ResultNotWritten = 7,
    InputNotDeleted = 8,
};
