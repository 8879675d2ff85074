#pragma once

// The state the dialog's handlers and the conversion worker share for the life of the process.

#include <array>
#include <atomic>
#include <cstdint>
#include <filesystem>

#include "core/NumberLines.h"
#include "core/TextTypes.h"
#include "process/WorkerState.h"

// Working folders, below the user's Documents folder.
extern std::filesystem::path g_documentsDir;
extern std::filesystem::path g_autoFileDir;
extern std::filesystem::path g_resultDir;
extern std::filesystem::path g_tempDir;

// The number list of the last loaded file, held once: the file-contents box shows the same text.
extern SharedWideString g_fileText;
// Whether g_fileText holds nothing but digits and line breaks, worked out as it was loaded: on the
// window's thread the check of a 230 MB text would stall it.
extern bool g_fileTextIsNumberList;

// The settings file's two lines (automatic mode, show messages), as read at start-up, and the
// buffer its bytes are read into, of the size the program always had.
inline constexpr std::size_t kSettingsBufferSize = 2'077'000;
extern std::array<WideString, 2> g_settings;
extern std::array<char, kSettingsBufferSize> g_settingsBuffer;

// The run's collected number lines and their count.
extern NumberLines g_numbers;
extern std::int32_t g_lineIndex;

// Set by Cancel, read by the worker at every poll point.
extern std::atomic<std::int32_t> g_cancelRequested;
extern WorkerState g_workerThread;

// 1 once the user ticked the automatic-mode box in this run, 0 once unticked.
extern std::int32_t g_autoRunArmed;
// Whether a tick in this run made the AutoFile folder. Only then may Exit remove it: another
// window or a calling program may have armed the mode meanwhile.
extern bool g_autoFileDirMadeHere;
