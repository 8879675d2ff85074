#include "process/ProcessState.h"

std::filesystem::path g_documentsDir;
std::filesystem::path g_autoFileDir;
std::filesystem::path g_resultDir;
std::filesystem::path g_tempDir;

SharedWideString g_fileText = std::make_shared<const WideString>();
bool g_fileTextIsNumberList = true;

std::array<WideString, 2> g_settings;
std::array<char, kSettingsBufferSize> g_settingsBuffer{};

NumberLines g_numbers;
std::int32_t g_lineIndex;

std::atomic<std::int32_t> g_cancelRequested = 0;
WorkerState g_workerThread;

std::int32_t g_autoRunArmed = 0;
bool g_autoFileDirMadeHere = false;
