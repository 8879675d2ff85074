#pragma once

// What a file run hands from the worker's thread to the window's, in order: the window's thread
// shows each, and holds them while the run is paused.

#include <cstdint>
#include <functional>
#include <memory>
#include <variant>

#include "core/SharedText.h"
#include "ui/LineIndex.h"

// The run has started: the window shows what a run shows.
struct RunStarted {};
struct BarRange {
    std::int32_t maximum;
};
struct BarPosition {
    std::int32_t position;
};
struct ProgressLine {
    WideString text;
};
// The result, with its line index made on the worker's thread.
struct ResultText {
    SharedText text;
    std::shared_ptr<const LineIndex> index;
};
// How the run ended: its last update.
enum class RunEnd { Done, TooLarge, Cancelled, OutOfMemory };

using RunUpdate = std::variant<RunStarted, BarRange, BarPosition, ProgressLine, ResultText, RunEnd>;
// Hands an update over and returns at once.
using RunPost = std::function<void(RunUpdate)>;
