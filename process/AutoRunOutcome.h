#pragma once

#include <optional>
#include <string_view>

#include "core/ConversionOutcome.h"

// How a start-up that the automatic run ended finishes, on every system: one line for the
// caller's log on standard error, and the exit status, the run's outcome; an end without one
// gives 1, which is never taken for success.
int ReportAutomaticRun(std::optional<ConversionOutcome> outcome);
