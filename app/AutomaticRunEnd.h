#pragma once

#include <optional>

#include "process/AutoRunOutcome.h"

// How a start-up that the automatic run ended finishes, on every system: one line for the
// caller's log on standard error, and the exit status, which without an outcome is never success.
int ReportAutomaticRun(std::optional<ConversionOutcome> outcome);
