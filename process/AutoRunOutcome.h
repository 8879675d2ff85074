#pragma once

#include <optional>
#include <string_view>

#include "core/ConversionOutcome.h"

// One line for the calling program's log.
std::string_view Describe(ConversionOutcome outcome);

// The process's exit status for how the dialog ended: a run's outcome, and 1 for an end without
// one, which is never taken for success.
int ExitStatus(std::optional<ConversionOutcome> outcome);
