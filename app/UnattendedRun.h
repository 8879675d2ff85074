#pragma once

#include <filesystem>
#include <optional>

#include "ui/HeadlessToolkit.h"

// The automatic run, with no window and no window toolkit: when the AutoFile folder below the
// toolkit's Documents is there, the run takes place and its exit status comes back, with the
// caller's log line written; nothing when the window is to open after all.
std::optional<int> RunUnattended(HeadlessToolkit& toolkit);

// Whether an automatic run would show its message boxes: a display is named and the settings
// let the boxes show.
bool AutomaticRunShowsBoxes(const std::filesystem::path& documents);
